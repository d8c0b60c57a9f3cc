// Fields that refer to another record by its number. On a page they show the referenced record's
// name; on save the number is found again from the name, the first record with an equal name
// winning. What "none" is, what a reference outside its file shows, and the lookups by name live
// here, for the pages, the check, export and import alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/records/record_file.h"

namespace vh::db {

// Where a file keeps the name that references are shown and found by, and its Id.
struct NameField {
    int recordSize;
    std::size_t nameOffset;
    std::size_t nameWidth;
    std::size_t idOffset;
};

// What a reference points into: a file's records, or the languages the program holds.
enum class Target : std::uint8_t {
    kNone,
    kStadium,
    kCity,
    kClub,
    kCompetition,
    kNation,
    kContinent,
    kColour,
    kFirstName,
    kSecondName,
    kCommonName,
    kPerson,    // staff.dat, shown as the person's label
    kLanguage,  // 1..60 into the language names
};

// Which value of a reference stands for none. A save writes -1 for none (0 for a language).
enum class None : std::uint8_t {
    kNegative,     // any negative value
    kNotPositive,  // 0 too: a common name of 0, a language of 0
    kOutsideFile,  // any value that is no record of the target (rival clubs and nations, colours)
};
// `count` is the number of records the target has.
bool IsNone(None rule, std::int64_t value, std::int64_t count);

// What a reference to a record its file does not have shows: it names the number, and a save
// that leaves it untouched keeps it.
std::string MissingText(std::int64_t value);

// "<empty>" for a negative reference; else the name of that record, read into a buffer of its own.
std::string ShowReference(std::int32_t value, RecordFile& file, const NameField& field);

// -1 for "<empty>"; else the Id of the first record whose whole name field equals the text
// converted to the field's width. No match: EInOutError "Read beyond end of file" at the record
// just past the last one (the record count), after reading every record, so a save that needs
// the value stops before it writes anything.
std::int32_t LookupByName(std::string_view text, RecordFile& file, const NameField& field);
// LookupByName of several texts with one pass over the file: entry i is what
// LookupByName(texts[i], ...) returns, or nullopt where it finds no match. The pass stops at the
// record where the last text still wanted is found.
std::vector<std::optional<std::int32_t>> LookupAllByName(std::span<const std::string> texts,
                                                         RecordFile& file, const NameField& field);

// Names looked up together, one pass over each file for all the names wanted from it.
class BatchLookup {
  public:
    void Want(RecordFile& file, const NameField& field, std::string name);
    // Looks every name wanted since the last run up. A name no record has, or a file that cannot
    // be read, is left for the caller's own LookupByName to report, in its own order.
    void Run();
    // The record found for that name; nullopt when Run did not find it.
    std::optional<std::int32_t> Found(const RecordFile& file, const NameField& field,
                                      std::string_view name) const;

  private:
    struct Entry {
        RecordFile* file;
        NameField field;
        std::string name;
        std::optional<std::int32_t> id;
    };
    std::vector<Entry> entries_;
    std::size_t ran_ = 0;  // entries before this one have been looked up
};

// Resets the file and reads its records from record 0, calling `match` on each record's bytes
// until it answers true; returns that record's number, or nullopt at the end of the file.
// Reads through the file's read-ahead buffer, in batches.
std::optional<std::int64_t> FindFirst(RecordFile& file, int recordSize,
                                      const std::function<bool(const std::uint8_t*)>& match);

}  // namespace vh::db
