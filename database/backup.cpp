#include "backup.h"

#include "errors.h"
#include "file_set.h"
#include "platform/files.h"

namespace vh::db {

namespace fs = std::filesystem;

namespace {

fs::path Resolved(const std::string& text) {
    return platform::ResolveCase(platform::NativePath(text));
}

// Copies `from` over `to` by way of a temporary file beside `to`. Whole files replaced in one
// rename, not records changed in place: this is their own safety, and no journal is written (the
// backup directory never holds one).
bool SafeCopy(const fs::path& from, const fs::path& to) {
    fs::path tmp = to;
    tmp += ".vhtmp";
    if (platform::CopyFileTo(from, tmp, true) != 0 || platform::RenameReplace(tmp, to) != 0) {
        platform::RemoveFile(tmp);
        return false;
    }
    return true;
}

std::string Bare(std::string_view name) {
    return std::string(name.substr(1));
}

// A failed copy never replaces its target, so a target that exists now is the earlier copy.
void CopyOrReport(const fs::path& from, const fs::path& to, std::string_view name,
                  CopyReport& report) {
    if (SafeCopy(from, to)) return;
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
    CopyReport report;
    const fs::path dir = platform::NativePath(BackupDirectory(dataPath));
    if (!platform::IsDirectory(dir)) {
        if (const int e = platform::MakeDirectory(dir))
            throw EInOutError(EInOutError::CodeFromErrno(e), BackupDirectory(dataPath));
    }
    for (std::string_view name : kBackupList) {
        const fs::path from = Resolved(dataPath + std::string(name));
        if (!platform::Exists(from)) continue;
        const fs::path to = Resolved(dataPath + "/backup" + std::string(name));
        CopyOrReport(from, to, name, report);
    }
    return report;
}

CopyReport Restore(const std::string& dataPath) {
    CopyReport report;
    for (std::string_view name : kBackupList) {
        const fs::path from = Resolved(dataPath + "/backup" + std::string(name));
        if (!platform::Exists(from)) continue;
        const fs::path to = Resolved(dataPath + std::string(name));
        CopyOrReport(from, to, name, report);
    }
    return report;
}

}  // namespace vh::db
