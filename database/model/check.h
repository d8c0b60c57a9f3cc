// The integrity check of a data directory: every file is read once, for reading only, and what
// the game or the editor would stumble over comes back as findings. Nothing is written, not even
// a file attribute. Used by `vhtool check`, by the editor's "Check Data" window and by the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vh::db {

enum class Severity { kError, kWarning };

// What a finding is about; the report groups by it.
enum class CheckKind {
    kSize,       // a file that is not a whole number of records
    kId,         // a record whose own Id is not its record number
    kReference,  // a reference to a record its file does not have, or an odd "none"
    kSquad,      // squads and staff posts that disagree with the persons' clubs and jobs
    kBlock,      // the player and non-player blocks of staff.dat and the persons' indexes
    kText,       // bytes in a name that cp1252 leaves undefined
    kDuplicate,  // a name a search or pick cannot reach because an earlier record has it
    kRange,      // a value outside what the page that shows it accepts
};
inline constexpr std::size_t kCheckKindCount = 8;

// The kind of record a finding names, so that a window can open it.
enum class Subject { kOther, kStadium, kCity, kClub, kNation, kPlayer, kStaff };

struct Finding {
    Severity severity = Severity::kError;
    CheckKind kind = CheckKind::kReference;
    std::string file;          // "club.dat"
    std::int64_t record = -1;  // record number in that file; -1 for the file as a whole
    std::string field;         // "Players[3]"; "" for the record or file as a whole
    std::string value;         // the value found, as text (UTF-8)
    std::string message;       // what is wrong, in a sentence
    Subject subject = Subject::kOther;
};

struct CheckReport {
    std::vector<Finding> findings;
    std::size_t omitted = 0;  // findings beyond kMaxFindings, counted but not kept
    std::size_t omittedErrors = 0;
    // Both count the omitted findings too.
    std::size_t Errors() const;
    std::size_t Warnings() const;
};

inline constexpr std::size_t kMaxFindings = 100000;

std::string_view KindName(CheckKind kind);  // "sizes", "references", ...
std::string_view SeverityName(Severity s);  // "error", "warning"
std::string_view SubjectName(Subject s);    // "club", "player", ... "" for kOther

// Checks the data directory (Windows-style text, as the editor keeps it). A file of the set that
// is missing or cannot be read throws EInOutError naming it: a directory that cannot be read is
// not a finding.
CheckReport CheckDataDirectory(const std::string& dataPath);

}  // namespace vh::db
