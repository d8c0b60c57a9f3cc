// The tables of the catalogue as rows of cells, read from a data directory: what export writes,
// what import compares a file with, what a table view shows and a diff prints. A cell is text
// (UTF-8) exactly as export writes it. The files are read whole, for reading only, on first use.
//
//     db::DataFiles files(dataPath);
//     db::TableRows clubs(files, db::TableId::kClubs);
//     for (std::size_t i = 0; i < clubs.Size(); ++i)
//         for (const db::Column& c : clubs.Columns()) use(c.name, clubs.Cell(clubs[i], c));
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "database/model/blocks.h"
#include "database/records/catalogue.h"
#include "database/records/names.h"
#include "database/write/write_set.h"

namespace vh::db {

inline constexpr std::string_view kRecordColumn = "Record";
inline constexpr std::string_view kNameSuffix = ".name";
inline constexpr char kListSeparator = ';';

// One column of a table.
struct Column {
    enum class Shows : std::uint8_t {
        kRecord,  // the record number (a person's Id)
        kValue,   // the field's value; a date's day
        kMonth,   // a date's month
        kName,    // the name a reference points to; read-only
    };
    Shows shows = Shows::kRecord;
    const Field* field = nullptr;  // nullptr for the record number
    std::string name;              // "Record", "ClubCash", "PLayerMonthOB", "ClubNation.name"

    // The cell is always a whole number (JSON writes it as a number).
    bool IsWholeNumber() const;
};

// Record first; then, in the order of the page's tabs, one column per control (a date is its day
// and its month column), and beside each reference and list of references a ".name" column.
std::vector<Column> ColumnsOf(const Table& table);

// The files of one data directory, each read whole and for reading only when first needed, and
// what the tables need from them: the persons, the blocks of staff.dat, the names references show.
class DataFiles {
  public:
    explicit DataFiles(std::string dataPath);
    const std::string& Path() const { return path_; }

    // The bytes of a file of the directory ("\\club.dat"). A file that cannot be read throws
    // EInOutError naming it.
    const std::vector<std::uint8_t>& Bytes(std::string_view file);
    // Whole records of that size.
    std::int64_t Count(std::string_view file, int recordSize);
    // Whether the directory has the file (in any letter case), or was given its bytes.
    bool Has(std::string_view file) const;
    // Takes these bytes as the file's. A backup directory holds no index.dat: its staff.dat is
    // placed by the index.dat of its data directory, which the editor never writes.
    void Use(std::string_view file, std::vector<std::uint8_t> bytes);

    // The person records at the start of staff.dat (the blocks follow them).
    std::int64_t PersonCount();
    const std::uint8_t* Person(std::int64_t id);
    // The block records of staff.dat; nullopt when index.dat lists no such block.
    const std::optional<BlockPlace>& PlayerBlock();
    const std::optional<BlockPlace>& NonPlayerBlock();
    // A person's player or non-player record (by the index in the person record); nullptr when
    // the block does not hold it.
    const std::uint8_t* BlockRecord(const std::uint8_t* person, Part part);
    // Where that block record lies in staff.dat; -1 when it lies in no block.
    std::int64_t BlockOffset(const std::uint8_t* person, Part part);

    // The numbers a reference of that target may hold as records: below this.
    std::int64_t CountOf(Target t);
    // The name (cp1252) a reference to record v shows: a name, a person's label, a language.
    // v must be a record of the target (0 <= v < CountOf(t)).
    std::string NameOf(Target t, std::int64_t v);
    // The record a reference finds by the name (cp1252) it shows, as a save finds it: the first
    // record of that name; a person by the Id in his label, when the label is his. nullopt for
    // none.
    std::optional<std::int64_t> FindName(Target t, std::string_view name);

    // Brings the bytes read so far up to the state a set just committed left the files in, so
    // that the rows read from them stay where they are. False, changing nothing, when the set
    // changes a file's size: then only reading the files again will do.
    bool Apply(const WriteSet& set);

  private:
    const std::vector<std::string>& Names(Target t);
    const NameTables& PersonNames();

    std::string path_;
    std::map<std::string, std::vector<std::uint8_t>, std::less<>> files_;
    std::optional<std::int64_t> persons_;
    std::optional<std::optional<BlockPlace>> player_, nonPlayer_;
    std::map<Target, std::vector<std::string>> names_;
    std::map<Target, std::int64_t> counts_;
    std::map<Target, std::unordered_map<std::string, std::int64_t>> firstOfName_;
    std::optional<NameTables> personNames_;
};

// One row of a table: a record, and for a person his block record of the table's kind.
struct RowRef {
    std::int64_t record = -1;             // the record number in its file (a person's Id)
    const std::uint8_t* rec = nullptr;    // the table's own record
    const std::uint8_t* block = nullptr;  // a person's player or non-player record, if he has one

    // The record a field of this row lies in; nullptr for a block record the person has not.
    const std::uint8_t* Of(const Field& f) const { return f.part == Part::kRecord ? rec : block; }
};

class TableRows {
  public:
    // Every record of the table's file; for players and staff, the persons the people lists class
    // so (by their club job).
    TableRows(DataFiles& files, TableId table);

    const Table& Of() const { return table_; }
    const std::vector<Column>& Columns() const { return columns_; }
    std::size_t Size() const { return rows_.size(); }
    const RowRef& operator[](std::size_t i) const { return rows_[i]; }
    // The row of a record; nullptr when the table has none (outside the file, or a person of the
    // other kind).
    const RowRef* Find(std::int64_t record) const;
    // The column of that name; nullptr for none.
    const Column* FindColumn(std::string_view name) const;

    std::string Cell(const RowRef& row, const Column& c) const;
    // The label the lists show for the row (UTF-8): a person's label, else the name references
    // to the record show ("Oslund" for a club: its short name).
    std::string Label(const RowRef& row) const;

  private:
    DataFiles& files_;
    const Table& table_;
    std::vector<Column> columns_;
    std::vector<RowRef> rows_;
    std::vector<std::int32_t> rowOfRecord_;  // -1 where a record has no row
};

// A cell as export writes it, from the record the column's field lies in (nullptr: a block
// record the person has not, which gives an empty cell).
std::string FormatCell(const Column& c, const std::uint8_t* rec, DataFiles& files);
std::string FormatCell(Column::Shows shows, const Field& f, const std::uint8_t* rec,
                       DataFiles& files);
// The name a value v of a reference field shows (UTF-8): "<empty>" for none, "<missing 9999>".
std::string ReferenceName(const Field& f, std::int64_t v, DataFiles& files);

// "Record, StadName, StadCap, ..." for a message that lists the columns of a table.
std::string ColumnList(std::span<const Column> columns);

}  // namespace vh::db
