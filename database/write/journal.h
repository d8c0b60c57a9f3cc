// The rollback journal of the write path. Before a commit changes a byte of a data file, it
// writes the before-image of everything it will change into vhedit.journal in the data directory
// and syncs it; the journal is deleted once the new bytes are synced. A journal found later means
// a commit was interrupted: rolling it back puts every file as it was before that command.
//
// Format (integers little-endian):
//   magic "VHJOURNL" (8 bytes), format version u32 (1), entry count u32,
//   total length of the journal in bytes u64 (the checksum included),
//   label length u32, label bytes (what the command was, as Undo names it),
//   per entry: file name length u16, file name ("\staff.dat", as the file lists spell it),
//              the file's size before the command u64, byte offset u64,
//              before-image length u32, before-image bytes (shorter than the change, or empty,
//              where the command appended past the end of the file),
//   CRC-32 (IEEE) of every byte before it, u32.
// A journal whose length, magic or checksum is wrong was torn while it was written: no data file
// had been touched yet, so it is discarded. A journal is input like any other file: one that is
// not a plain file, is larger than any commit to the folder's files could write, names a file
// that is not one of the data set's (or is missing), or holds an image outside its file is not
// obeyed (Recovery::Outcome::kRefused): nothing is written, and the folder opens read-only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vh::db {

inline constexpr std::string_view kJournalFile = "\\vhedit.journal";
inline constexpr std::uint32_t kJournalVersion = 1;

struct JournalEntry {
    std::string file;
    std::int64_t sizeBefore = 0;  // rolled back to this size: appended bytes are cut off
    std::int64_t offset = 0;
    std::vector<std::uint8_t> before;
};

struct Journal {
    std::string label;
    std::vector<JournalEntry> entries;
};

std::vector<std::uint8_t> EncodeJournal(const Journal& journal);
enum class JournalState { kValid, kTorn, kNewerVersion };
JournalState DecodeJournal(std::span<const std::uint8_t> bytes, Journal& journal);

// The journal's path in a data directory (found in any letter case, as the data files are).
std::filesystem::path JournalPath(const std::string& dataPath);

// Writes every before-image back, newest first, cuts each file to its size before the command and
// syncs the files. Throws EInOutError naming the file that failed.
void RollBack(const std::string& dataPath, const Journal& journal);

// What the records of a set of entries are, for a notice: "club.dat record 12",
// "staff.dat player record 40", "colour.dat bytes 580-637". Each named once, in order.
std::vector<std::string> DescribeRecords(const std::string& dataPath,
                                         const std::vector<JournalEntry>& entries);

// The same for one range of a file: "club.dat record 12".
std::string DescribeRange(const std::string& dataPath, const std::string& file, std::int64_t offset,
                          std::size_t length);

struct Recovery {
    enum class Outcome {
        kNothing,     // no journal
        kRolledBack,  // an interrupted command was undone
        kTorn,        // a journal torn while it was written was discarded; no data file changed
        kReadOnly,    // a journal was found but the directory cannot be written: nothing changed
        kRefused,     // a journal this editor cannot have written: not obeyed, nothing changed
    };
    Outcome outcome = Outcome::kNothing;
    std::string problem;               // kRefused: what is wrong with the journal
    std::string label;                 // the interrupted command
    std::vector<std::string> records;  // the records it touched (DescribeRecords)
    // The one notice to show; "" when there is nothing to say (no journal, or a torn one).
    std::string Notice() const;
    // Whether the journal is still there and the folder must be opened for reading only.
    bool JournalLeft() const {
        return outcome == Outcome::kReadOnly || outcome == Outcome::kRefused;
    }
};

// What is wrong with a decoded journal for the data directory ("" when nothing is): names that
// are not the data set's files, files that are missing, images outside "size before", a size
// before that the file cannot have had.
std::string JournalProblem(const std::string& dataPath, const Journal& journal);

// Run before a data directory is read: rolls back a journal left by an interrupted commit and
// deletes it, holding the folder's write lock (a journal whose writer is still at work is waited
// for, and EBusyError thrown when it does not finish within LockWait()). A read-only directory
// (or journal) is left exactly as it is, and so is a journal that is refused. A journal of a newer
// format throws EDataError without touching anything; failed rollbacks throw EInOutError and keep
// the journal for the next attempt.
Recovery RecoverJournal(const std::string& dataPath);

}  // namespace vh::db
