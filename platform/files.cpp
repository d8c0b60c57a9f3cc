#include "files.h"

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include "windows_api.h"
#else
#include <unistd.h>
#endif

#include "fault.h"
#include "native_file.h"

namespace vh::platform {

namespace fs = std::filesystem;

fs::path NativePath(std::string_view text) {
#ifdef _WIN32
    return Utf8Path(text);
#else
    std::string s(text);
    std::replace(s.begin(), s.end(), '\\', '/');
    return fs::path(s);
#endif
}

fs::path Utf8Path(std::string_view text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string NativeText(std::string_view text) {
    std::string s(text);
#ifdef _WIN32
    std::replace(s.begin(), s.end(), '/', '\\');
#else
    std::replace(s.begin(), s.end(), '\\', '/');
#endif
    return s;
}

namespace {

// A file name as UTF-8 text (Utf8Path goes back). On Windows a path built from a plain std::string
// is read in the C runtime's locale, not as UTF-8, so names found on the disk go through char8_t.
std::string NameText(const fs::path& name) {
    const std::u8string u8 = name.u8string();
    return std::string(u8.begin(), u8.end());
}

#ifdef _WIN32
// The errno value closest to a Windows error code of the calls below.
int ErrnoFromWin32(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return EEXIST;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EBUSY;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_INVALID_NAME:
            return EINVAL;
        default:
            return EACCES;
    }
}
#endif

int StatPath(const fs::path& path, bool& isDir, unsigned& mode, std::uint64_t* size = nullptr) {
    if (const auto f = fault::Check(fault::kStat); f.err) return f.err;
#ifdef _WIN32
    struct _stat64 st {};
    if (_wstat64(path.c_str(), &st) != 0) return errno;
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
#endif
    isDir = (st.st_mode & S_IFMT) == S_IFDIR;
    mode = static_cast<unsigned>(st.st_mode);
    if (size) *size = static_cast<std::uint64_t>(st.st_size);
    return 0;
}

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

fs::path ResolveCase(const fs::path& path) {
    if (Exists(path)) return path;
    fs::path dir = path.parent_path();
    const std::string want = NameText(path.filename());
    if (want.empty()) return path;
    std::vector<std::string> names;
    if (ListDirectory(dir.empty() ? fs::path(".") : dir, names) != 0) return path;
    std::sort(names.begin(), names.end());  // the same choice every time if several match
    for (const auto& n : names) {
        if (EqualNoCase(n, want)) return dir / Utf8Path(n);
    }
    return path;
}

bool Exists(const fs::path& path) {
    return LookUp(path) == 0;
}

int LookUp(const fs::path& path) {
    bool isDir = false;
    unsigned mode = 0;
    return StatPath(path, isDir, mode);
}

bool IsDirectory(const fs::path& path) {
    bool isDir = false;
    unsigned mode = 0;
    return StatPath(path, isDir, mode) == 0 && isDir;
}

int FileSize(const fs::path& path, std::uint64_t& size) {
    bool isDir = false;
    unsigned mode = 0;
    const int err = StatPath(path, isDir, mode, &size);
    return err ? err : isDir ? EISDIR : 0;
}

EntryKind KindOf(const fs::path& path) {
    if (const auto f = fault::Check(fault::kStat); f.err) return EntryKind::kMissing;
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (ec) return EntryKind::kMissing;
    switch (st.type()) {
        case fs::file_type::not_found:
        case fs::file_type::none:
            return EntryKind::kMissing;
        case fs::file_type::regular:
            return EntryKind::kFile;
        case fs::file_type::directory:
            return EntryKind::kDirectory;
        case fs::file_type::symlink:
            return EntryKind::kLink;
        default:
            return EntryKind::kOther;  // a pipe, a device, a socket
    }
}

int GetReadOnly(const fs::path& path, bool& readOnly) {
    readOnly = false;
    if (const auto f = fault::Check(fault::kAttr); f.err) return f.err;
#ifdef _WIN32
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return ErrnoFromWin32(GetLastError());
    readOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
    return 0;
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    readOnly = (st.st_mode & S_IWUSR) == 0;
    return 0;
#endif
}

int ClearReadOnly(const fs::path& path) {
    if (const auto f = fault::Check(fault::kAttr); f.err) return f.err;
#ifdef _WIN32
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return ErrnoFromWin32(GetLastError());
    if ((a & FILE_ATTRIBUTE_READONLY) == 0) return 0;
    // Only the read-only attribute: hidden, system and archive keep their values.
    if (!SetFileAttributesW(path.c_str(), a & ~FILE_ATTRIBUTE_READONLY))
        return ErrnoFromWin32(GetLastError());
    return 0;
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    // Only the owner's write bit: every other bit keeps its value.
    if (::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0) return errno;
    return 0;
#endif
}

int RemoveFile(const fs::path& path) {
    if (const auto f = fault::Check(fault::kRemove); f.err) return f.err;
#ifdef _WIN32
    return _wremove(path.c_str()) == 0 ? 0 : errno;
#else
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
#endif
}

int MakeDirectory(const fs::path& path) {
    if (const auto f = fault::Check(fault::kMakeDir); f.err) return f.err;
#ifdef _WIN32
    return _wmkdir(path.c_str()) == 0 ? 0 : errno;
#else
    return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
#endif
}

int CopyFileTo(const fs::path& from, const fs::path& to, bool overwrite) {
    bool isDir = false;
    unsigned mode = 0;
    if (int e = StatPath(from, isDir, mode)) return e;
    if (isDir) return EISDIR;
    NativeFile in;
    if (int e = in.Open(from, OpenMode::kReadOnly)) return e;
    NativeFile out;
    const OpenMode outMode = overwrite ? OpenMode::kCreateTruncate : OpenMode::kCreateNew;
    if (int e = out.Open(to, outMode, (mode & 0777) | 0600)) return e;
    std::vector<unsigned char> buf(1 << 20);
    std::uint64_t off = 0;
    for (;;) {
        std::size_t got = 0;
        if (int e = in.ReadAt(buf.data(), buf.size(), off, got)) return e;
        if (got == 0) break;
        if (int e = out.WriteAt(buf.data(), got, off)) return e;
        off += got;
        if (got < buf.size()) break;
    }
    if (int e = out.Sync()) return e;
    return out.Close();
}

int ReadWholeFile(const fs::path& path, std::string& bytes) {
    NativeFile f;
    int e = f.Open(path, OpenMode::kReadOnly);
    std::uint64_t size = 0;
    if (!e) e = f.Size(size);
    std::size_t got = 0;
    bytes.resize(e ? 0 : static_cast<std::size_t>(size));
    if (!e && size) e = f.ReadAt(bytes.data(), bytes.size(), 0, got);
    bytes.resize(got);
    if (f.IsOpen()) f.Close();
    return e;
}

int WriteWholeFile(const fs::path& path, std::string_view bytes) {
    NativeFile f;
    int e = f.Open(path, OpenMode::kCreateTruncate);
    if (!e) e = f.WriteAt(bytes.data(), bytes.size(), 0);
    const int closed = f.IsOpen() ? f.Close() : 0;
    return e ? e : closed;
}

int RenameReplace(const fs::path& from, const fs::path& to) {
    if (const auto f = fault::Check(fault::kRename); f.err) return f.err;
#ifdef _WIN32
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(from.c_str(), to.c_str(), flags)) return 0;
    DWORD error = GetLastError();
    // Windows refuses to replace a read-only file, POSIX does not: the target is going away, so
    // its attribute goes first (and comes back if the rename still fails).
    const DWORD a = GetFileAttributesW(to.c_str());
    if (error == ERROR_ACCESS_DENIED && a != INVALID_FILE_ATTRIBUTES &&
        (a & FILE_ATTRIBUTE_READONLY) != 0 && (a & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        SetFileAttributesW(to.c_str(), a & ~FILE_ATTRIBUTE_READONLY)) {
        if (MoveFileExW(from.c_str(), to.c_str(), flags)) return 0;
        error = GetLastError();
        SetFileAttributesW(to.c_str(), a);
    }
    return ErrnoFromWin32(error);
#else
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#endif
}

int ListDirectory(const fs::path& dir, std::vector<std::string>& names) {
    names.clear();
    if (const auto f = fault::Check(fault::kList); f.err) return f.err;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(NameText(it->path().filename()));
    }
    return ec ? ec.value() : 0;
}

}  // namespace vh::platform
