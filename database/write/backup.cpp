#include "database/write/backup.h"

#include <cerrno>

#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/write/write_set.h"
#include "platform/files.h"

namespace vh::db {

namespace fs = std::filesystem;

namespace {

fs::path Resolved(const std::string& text) {
    return platform::ResolveCase(platform::NativePath(text));
}

// Copies `from` over `to` by way of a temporary file beside `to`; 0 or the errno of the step that
// failed. Whole files replaced in one rename, not records changed in place: this is their own
// safety, and no journal is written (the backup directory never holds one).
int SafeCopy(const fs::path& from, const fs::path& to) {
    fs::path tmp = to;
    tmp += ".vhtmp";
    int e = platform::CopyFileTo(from, tmp, true);
    if (e == 0) e = platform::RenameReplace(tmp, to);
    if (e != 0) platform::RemoveFile(tmp);
    return e;
}

std::string Shown(const fs::path& p) {
    const std::u8string u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

std::string Bare(std::string_view name) {
    return std::string(name.substr(1));
}

// A failed copy never replaces its target, so a target that exists now is the earlier copy.
// `lookUp` is the error of looking for `from`, reported as the copy's own.
void CopyOrReport(const fs::path& from, const fs::path& to, std::string_view name,
                  CopyReport& report, int lookUp = 0) {
    const int e = lookUp ? lookUp : SafeCopy(from, to);
    if (e == 0) return;
    if (report.failed.empty()) {
        report.failedFrom = Shown(from);
        report.failedTo = Shown(to);
        report.failedCode = EInOutError::CodeFromErrno(e);
    }
    report.failed.push_back(Bare(name));
    if (platform::Exists(to)) report.keptPrevious.push_back(Bare(name));
}

}  // namespace

std::string BackupDirectory(const std::string& dataPath) {
    if (dataPath.empty()) return {};
    return dataPath + "\\backup";
}

bool HasBackup(const std::string& dataPath) {
    return !dataPath.empty() &&
           platform::IsDirectory(platform::NativePath(BackupDirectory(dataPath)));
}

CopyReport Backup(const std::string& dataPath) {
    const WriteLock lock(dataPath, false);  // no commit half made while the copies are taken
    CopyReport report;
    const fs::path dir = platform::NativePath(BackupDirectory(dataPath));
    if (!platform::IsDirectory(dir)) {
        if (platform::Exists(dir))
            throw EDataError(Shown(dir) +
                             " is a file, but the backup copies go into a folder of that name. "
                             "Rename or move that file, then back up again.");
        if (const int e = platform::MakeDirectory(dir))
            throw EDataError("The backup folder " + Shown(dir) + " could not be created: " +
                             EInOutError::MessageFor(EInOutError::CodeFromErrno(e)) +
                             ". Check that the data folder can be written, then back up again.");
    }
    for (std::string_view name : kBackupList) {
        const fs::path from = Resolved(dataPath + std::string(name));
        if (!platform::Exists(from)) continue;
        const fs::path to = Resolved(BackupDirectory(dataPath) + std::string(name));
        CopyOrReport(from, to, name, report);
    }
    return report;
}

CopyReport Restore(const std::string& dataPath) {
    const WriteLock lock(dataPath);
    CopyReport report;
    for (std::string_view name : kBackupList) {
        const fs::path from = Resolved(BackupDirectory(dataPath) + std::string(name));
        // A copy that cannot be looked at (a backup folder of another user) is no missing copy:
        // skipping it would report a restore that restored nothing as done.
        const int lookUp = platform::LookUp(from);
        if (lookUp == ENOENT || lookUp == ENOTDIR) continue;
        const fs::path to = Resolved(dataPath + std::string(name));
        CopyOrReport(from, to, name, report, lookUp);
    }
    return report;
}

}  // namespace vh::db
