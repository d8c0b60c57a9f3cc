// Backup and restore of the file set: one generation of copies in <data>\backup. Every copy goes
// to a temporary name first and is renamed over its target, so a failed copy never destroys the
// file it would have replaced.
#pragma once

#include <string>
#include <vector>

namespace vh::db {

struct CopyReport {
    std::vector<std::string> failed;  // file names (e.g. "club.dat") that exist but were not copied
    // The names of `failed` whose target still holds its earlier copy, untouched: for a backup
    // the previous backup copy, for a restore the data file. A failed file of a first backup is
    // not listed, since no earlier copy exists.
    std::vector<std::string> keptPrevious;
    // The first failed copy, for the message: the file copied, the copy it was to replace (as
    // the system names them) and the classic code of why it failed.
    std::string failedFrom, failedTo;
    int failedCode = 0;
};

// The backup directory of a data path ("" when the path is empty: no backup can exist there).
std::string BackupDirectory(const std::string& dataPath);
bool HasBackup(const std::string& dataPath);

// Creates the backup directory when needed and copies every file of the backup list that exists.
// Files missing from the data directory are skipped silently. A backup directory that is a file,
// or cannot be created, throws EDataError with a message naming it and saying what to do.
CopyReport Backup(const std::string& dataPath);
// Replaces each data file whose backup copy exists; files without a copy are left alone.
CopyReport Restore(const std::string& dataPath);

}  // namespace vh::db
