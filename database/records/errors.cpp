#include "database/records/errors.h"

#include <cerrno>
#include <string_view>

namespace vh::db {

EInOutError::EInOutError(int code) : std::runtime_error(MessageFor(code)), code_(code) {}

EInOutError::EInOutError(int code, const std::string& path, std::int64_t record)
    : std::runtime_error(MessageFor(code)), code_(code), path_(path), record_(record) {}

std::string EInOutError::Where() const {
    // The path is Windows text ("C:\Game\data" + "\city.dat") or a native one: either
    // separator ends a directory. Trailing separators name no file of their own.
    std::string_view p = path_;
    while (!p.empty() && (p.back() == '\\' || p.back() == '/')) p.remove_suffix(1);
    const std::size_t cut = p.find_last_of("\\/");
    if (cut != std::string_view::npos) p.remove_prefix(cut + 1);
    if (p.empty()) return {};
    std::string where(p);
    if (record_ != -1) where += ", record " + std::to_string(record_);
    return where;
}

std::string EInOutError::MessageFor(int code) {
    switch (code) {
        case kFileNotFound:
            return "File not found";
        case kInvalidFilename:
            return "Invalid filename";
        case kTooManyOpenFiles:
            return "Too many open files";
        case kAccessDenied:
            return "File access denied";
        case kReadBeyondEnd:
            return "Read beyond end of file";
        case kDiskFull:
            return "Disk full";
        case kInvalidNumericInput:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

int EInOutError::CodeFromErrno(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return kFileNotFound;
        case ENAMETOOLONG:
        case EINVAL:
#ifdef ELOOP
        case ELOOP:
#endif
            return kInvalidFilename;
        case EMFILE:
        case ENFILE:
            return kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EEXIST:
        case EBUSY:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            return kAccessDenied;
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
        case EFBIG:
            return kDiskFull;
        default:
            return 1000 + err;
    }
}

}  // namespace vh::db
