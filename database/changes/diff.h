// What changed between two data directories, by default a data directory and its backup: file by
// file and record by record, each changed field by its name with its old and new value as export
// writes them. Bytes that no value tells apart (bytes no field names, or a field's bytes beyond
// what its value shows) are listed as bytes, never left out. A person's player or non-player
// record belongs to the person: it is found through the person's index on each side.
//
//     db::DirectoryDiff d = db::DiffDirectories(dataPath, db::BackupDirectory(dataPath));
//     for (const db::RecordChange& r : d.records) ...
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/records/catalogue.h"

namespace vh::db {

// One field whose value differs, as export writes it ("PLayerPace", "14", "17").
struct FieldChange {
    std::string column;
    std::string before, after;
    // What a reference points to on each side ("Oslund"); "" for other kinds.
    std::string beforeName, afterName;
    // A list of references: the slots that differ, with what they point to.
    struct Slot {
        std::size_t slot;
        std::string beforeName, afterName;
    };
    std::vector<Slot> changedSlots;
};

// Bytes that differ where no value shows it.
struct ByteChange {
    Part part = Part::kRecord;  // the person's player or non-player record, or the record itself
    std::int64_t offset = 0;    // in that record; in the file for bytes of no record
    std::vector<std::uint8_t> before, after;  // one is shorter where a file is
    std::string field;  // the field whose bytes they are, when its value is the same; else ""
};

// Where a record is.
enum class Side : std::uint8_t {
    kBoth,
    kOnlyNew,  // only in the directory compared (a longer file)
    kOnlyOld,  // only in the one it is compared against (a shorter file)
};

// A record that differs; or, with `record` -1, bytes of a file that lie in no record.
struct RecordChange {
    std::optional<TableId> table;  // none for clubcomp.dat, index.dat and bytes of no record
    std::string file;              // "club.dat"
    std::int64_t record = -1;      // the record number (a person's Id)
    std::string label;             // as the lists show it (UTF-8), on the new side if there
    std::string oldLabel;          // as the old side shows it
    Side side = Side::kBoth;
    std::vector<FieldChange> fields;
    std::vector<ByteChange> bytes;
};

struct DirectoryDiff {
    std::vector<RecordChange> records;
    bool Empty() const { return records.empty(); }
};

// Compares `dataPath` (new) with `otherPath` (old), reading both for reading only. The old side
// takes the new side's index.dat where it has none (a backup holds none). clubcomp.dat may be
// missing on both sides; any other file of the backup list that is missing or cannot be read
// throws EInOutError naming it.
DirectoryDiff DiffDirectories(const std::string& dataPath, const std::string& otherPath);

class DataFiles;
// Gives `old` the index.dat of `now` when it has none of its own: a backup holds no index.dat
// (the editor never writes it), so its staff.dat is placed by its data directory's.
void ShareIndex(DataFiles& old, DataFiles& now);

// "bytes 20-25" / "byte 61", with "player record " before it for a person's block record; for
// bytes of a record, followed by " (in no field)" or " (in ClubLName, same value)".
std::string DescribeBytes(const ByteChange& b, bool ofRecord = false);
// "00 0A FF"
std::string Hex(const std::vector<std::uint8_t>& bytes);
// The same for a line of text: at most 16 bytes, then how many there are; "(none)" for none.
std::string ShownHex(const std::vector<std::uint8_t>& bytes);

}  // namespace vh::db
