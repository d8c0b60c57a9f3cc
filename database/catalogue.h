// What the editor knows about every field a user edits, written once. Per table (a kind of record
// a user edits) its file, its record size and what names a record; per field its documented name,
// where it lies, its kind, the range its page accepts, its caption and tab, and what it refers to.
// The pages, the integrity check, the sample generator, export and import all walk these tables.
//
//     const db::Table& clubs = db::TableOf(db::TableId::kClubs);
//     for (const db::Field& f : clubs.fields) ...
//     const db::Field* cash = clubs.Find("ClubCash");   // 0..50000000, caption "Cash"
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "fields.h"
#include "reference.h"

namespace vh::db {

// The tables of export and import, one per kind of record; `players` and `staff` are the persons
// of staff.dat that the people lists class as players and as staff.
enum class TableId : std::uint8_t {
    kStadiums,
    kCities,
    kClubs,
    kNations,
    kPlayers,
    kStaff,
    kCompetitions,
    kColours,
    kContinents,
    kFirstNames,
    kSecondNames,
    kCommonNames,
};
inline constexpr std::size_t kTableCount = 12;

// Which record of a row a field lies in: a person is a staff.dat record and a block record.
enum class Part : std::uint8_t { kRecord, kPlayer, kNonPlayer };

enum class Kind : std::uint8_t {
    kNumber,      // a whole number; the page accepts min..max
    kText,        // cp1252 text of `width` bytes, of which at most `max` are written
    kDate,        // a day of the year, shown as a day field (name) and a month field (monthName)
    kCoordinate,  // a double shown as a decimal of four places
    kReference,   // a record number of the target (or a language number)
    kList,        // `count` consecutive references
    kCheck,       // a flag byte shown as a check box
    kChoice,      // a byte shown as a list of fixed items: item i stands for i + 1
};

// How a field changes.
enum class Edit : std::uint8_t {
    kStored,     // a save and an import store it
    kShownOnly,  // shown, never written
    kMove,       // only through the transfer and appointment rules (a person's club, squads, posts)
};

// Which stored values a check box shows as checked.
enum class Checked : std::uint8_t { kWhenNonZero, kWhenZero, kUnlessOne, kAboveThirtyTwo };

struct Field {
    const char* name;     // the documented control name ("ClubCash"), else the record field's
    const char* caption;  // the page's caption ("Cash")
    const char* tab;      // the page's tab ("Club Info"); "" on a page without tabs
    const char* member;   // the record field as the layouts name it ("Cash")
    Part part = Part::kRecord;
    Kind kind = Kind::kNumber;
    Edit edit = Edit::kStored;
    std::uint16_t offset = 0;
    std::uint8_t width = 4;  // bytes of one value; of the whole field for a text
    std::uint8_t count = 1;  // slots of a list
    bool isSigned = true;
    std::int32_t min = 0;  // numbers: the range the page accepts
    std::int32_t max = 0;  // texts: the characters written
    int maxLength = 0;     // characters its control takes; 0 for no limit beyond the range
    Target target = Target::kNone;
    None none = None::kNegative;
    const char* noneText = nullptr;   // what none shows; "<empty>" when not set
    const char* monthName = nullptr;  // a date's month field
    const char* monthCaption = nullptr;
    Checked checked = Checked::kWhenNonZero;
    std::uint8_t checkedValue = 1;  // what a box changed to checked or unchecked stores
    std::uint8_t uncheckedValue = 0;
    std::span<const char* const> items{};  // a choice's items

    // The whole number at the field (slot `slot` of a list), as its width and sign read it.
    std::int64_t Read(const std::uint8_t* rec, std::size_t slot = 0) const;
    // Stores v in the field's width (the caller has checked it fits).
    void Write(std::uint8_t* rec, std::int64_t v, std::size_t slot = 0) const;
    // A text field: its bytes up to the first zero; writes at most `max` bytes, zero padded.
    std::string ReadText(const std::uint8_t* rec) const;
    void WriteText(std::uint8_t* rec, std::string_view cp1252) const;
    double ReadDouble(const std::uint8_t* rec) const;
    void WriteDouble(std::uint8_t* rec, double v) const;

    bool IsInteger() const { return kind != Kind::kText && kind != Kind::kCoordinate; }
    bool IsReference() const { return kind == Kind::kReference || kind == Kind::kList; }
    // The value a page writes for none.
    std::int64_t NoneValue() const { return target == Target::kLanguage ? 0 : -1; }
    // Whether v stands for none; `count` is the number of records of the target.
    bool IsNone(std::int64_t v, std::int64_t count) const { return db::IsNone(none, v, count); }
    const char* NoneText() const { return noneText ? noneText : "<empty>"; }
    // A check box's state for a stored value.
    bool IsChecked(std::int64_t v) const;
};

struct Table {
    TableId id;
    std::string_view name;  // "clubs", as export and import spell it
    std::string_view what;  // "club", as messages speak of a record
    std::string_view file;  // "\\club.dat"
    int recordSize;
    // How a reference to a record of this table is shown and found again ("<file>" for persons:
    // by their label). Names tables, competitions, colours and continents are only ever picked.
    NameField naming;
    std::span<const Str> searchedBy;  // the names a search by the user matches
    std::span<const Field> fields;    // in the order of the page's tabs

    // nullptr when the table has no field of that name.
    const Field* Find(std::string_view name) const;
    // The field over that member of the layouts ("Wage"), in that part of a row; nullptr for none.
    const Field* FindMember(Part part, std::string_view member) const;
    // The persons of a row kind: players or staff; false for the other tables.
    bool IsPersons() const { return id == TableId::kPlayers || id == TableId::kStaff; }
};

std::span<const Table> Tables();
const Table& TableOf(TableId id);
// nullptr for a name that is no table.
const Table* FindTable(std::string_view name);
// What a reference to a record of the table points at: its records are shown and found that way.
Target TargetOf(TableId id);
// "stadiums cities clubs ...", for messages.
std::string TableNames();

// The first field of every table whose name is `name` (control names are unique across pages).
const Field* FindAnyField(std::string_view name);

// A rule of a whole record that the page applies after its fields: a stadium never has more seats
// than places.
void ApplyRecordRules(TableId table, std::uint8_t* rec);

}  // namespace vh::db
