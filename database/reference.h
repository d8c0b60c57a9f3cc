// Fields that refer to another record by its number. On a page they show the referenced record's
// name; on save the number is found again from the name, the first record with an equal name
// winning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "record_file.h"

namespace vh::db {

// Where a file keeps the name that references are shown and found by, and its Id.
struct NameField {
    int recordSize;
    std::size_t nameOffset;
    std::size_t nameWidth;
    std::size_t idOffset;
};

inline constexpr NameField kStadiumName{78, 4, 51, 0};
inline constexpr NameField kCityName{56, 4, 26, 0};
inline constexpr NameField kClubLongName{581, 4, 51, 0};
inline constexpr NameField kClubShortName{581, 56, 26, 0};
inline constexpr NameField kCompetitionName{107, 4, 51, 0};
inline constexpr NameField kColourName{58, 4, 51, 0};
inline constexpr NameField kNationLongName{290, 4, 51, 0};
inline constexpr NameField kNationShortName{290, 56, 26, 0};
inline constexpr NameField kContinentName{198, 4, 26, 0};
inline constexpr NameField kPersonName{60, 0, 51, 51};  // the three names files

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

// Resets the file and reads its records from record 0, calling `match` on each record's bytes
// until it answers true; returns that record's number, or nullopt at the end of the file.
// Reads through the file's read-ahead buffer, in batches.
std::optional<std::int64_t> FindFirst(RecordFile& file, int recordSize,
                                      const std::function<bool(const std::uint8_t*)>& match);

}  // namespace vh::db
