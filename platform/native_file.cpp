#include "native_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

#include "fault.h"

namespace vh::platform {

namespace {

#ifdef _WIN32
// Windows has no pread/pwrite in its C runtime: seek, then transfer. One thread uses a file.
// _read and _write take an unsigned count and return an int: at most 1 GiB per call, and the
// callers loop until done.
unsigned Chunk(std::size_t n) {
    return static_cast<unsigned>(n < (1u << 30) ? n : (1u << 30));
}
long long RawPRead(int fd, void* buf, std::size_t n, std::uint64_t off) {
    if (_lseeki64(fd, static_cast<long long>(off), SEEK_SET) < 0) return -1;
    return _read(fd, buf, Chunk(n));
}
long long RawPWrite(int fd, const void* buf, std::size_t n, std::uint64_t off) {
    if (_lseeki64(fd, static_cast<long long>(off), SEEK_SET) < 0) return -1;
    return _write(fd, buf, Chunk(n));
}
#else
long long RawPRead(int fd, void* buf, std::size_t n, std::uint64_t off) {
    return ::pread(fd, buf, n, static_cast<off_t>(off));
}
long long RawPWrite(int fd, const void* buf, std::size_t n, std::uint64_t off) {
    return ::pwrite(fd, buf, n, static_cast<off_t>(off));
}
#endif

}  // namespace

NativeFile::~NativeFile() {
    Close();
}

NativeFile::NativeFile(NativeFile&& other) noexcept : fd_(other.fd_), readOnly_(other.readOnly_) {
    other.fd_ = -1;
}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        readOnly_ = other.readOnly_;
        other.fd_ = -1;
    }
    return *this;
}

int NativeFile::Open(const std::filesystem::path& path, OpenMode mode, unsigned createPerms) {
    Close();
    if (const auto f = fault::Check(fault::kOpen); f.err) return f.err;
    int flags = 0;
    switch (mode) {
        case OpenMode::kReadOnly:
            flags = O_RDONLY;
            break;
        case OpenMode::kReadRegular:
#ifdef _WIN32
            flags = O_RDONLY;
#else
            flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK;
#endif
            break;
        case OpenMode::kReadWrite:
            flags = O_RDWR;
            break;
        case OpenMode::kCreateTruncate:
            flags = O_RDWR | O_CREAT | O_TRUNC;
            break;
        case OpenMode::kCreateNew:
            flags = O_RDWR | O_CREAT | O_EXCL;
            break;
    }
#ifdef _WIN32
    int fd = -1;
    const errno_t e =
        _wsopen_s(&fd, path.c_str(), flags | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (e != 0) return e;
    (void)createPerms;
#else
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(createPerms));
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;
    struct stat st {};
    const bool stated = ::fstat(fd, &st) == 0;
    if (stated && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return EISDIR;
    }
    if (mode == OpenMode::kReadRegular && (!stated || !S_ISREG(st.st_mode))) {
        ::close(fd);
        return EINVAL;
    }
#endif
    fd_ = fd;
    readOnly_ = mode == OpenMode::kReadOnly || mode == OpenMode::kReadRegular;
    return 0;
}

int NativeFile::ReadAt(void* buffer, std::size_t size, std::uint64_t offset, std::size_t& got) {
    got = 0;
    if (fd_ < 0) return EBADF;
    auto* out = static_cast<unsigned char*>(buffer);
    while (got < size) {
        const auto f = fault::Check(fault::kRead);
        if (f.err) return f.err;
        std::size_t want = size - got;
        if (f.shortTransfer && want > 1) want /= 2;
        const long long n = RawPRead(fd_, out + got, want, offset + got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) break;  // end of file
        got += static_cast<std::size_t>(n);
    }
    return 0;
}

int NativeFile::WriteAt(const void* buffer, std::size_t size, std::uint64_t offset) {
    if (fd_ < 0) return EBADF;
    if (readOnly_) return EACCES;
    const auto* in = static_cast<const unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const auto f = fault::Check(fault::kWrite);
        if (f.err) return f.err;
        std::size_t want = size - done;
        if (f.shortTransfer && want > 1) want /= 2;
        const long long n = RawPWrite(fd_, in + done, want, offset + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int NativeFile::Size(std::uint64_t& size) {
    size = 0;
    if (fd_ < 0) return EBADF;
    if (const auto f = fault::Check(fault::kStat); f.err) return f.err;
#ifdef _WIN32
    struct _stat64 st {};
    if (_fstat64(fd_, &st) != 0) return errno;
#else
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return errno;
#endif
    size = static_cast<std::uint64_t>(st.st_size);
    return 0;
}

int NativeFile::Truncate(std::uint64_t size) {
    if (fd_ < 0) return EBADF;
    if (readOnly_) return EACCES;
    if (const auto f = fault::Check(fault::kWrite); f.err) return f.err;
#ifdef _WIN32
    return _chsize_s(fd_, static_cast<long long>(size));
#else
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? 0 : errno;
#endif
}

int NativeFile::Sync() {
    if (fd_ < 0) return EBADF;
    if (const auto f = fault::Check(fault::kSync); f.err) return f.err;
#ifdef _WIN32
    return _commit(fd_) == 0 ? 0 : errno;
#else
    return ::fsync(fd_) == 0 ? 0 : errno;
#endif
}

int NativeFile::Close() {
    if (fd_ < 0) return 0;
    const int fd = fd_;
    fd_ = -1;
    const auto f = fault::Check(fault::kClose);
#ifdef _WIN32
    const int rc = _close(fd);
#else
    const int rc = ::close(fd);
#endif
    if (f.err) return f.err;
    return rc == 0 ? 0 : errno;
}

int SyncDirectory(const std::filesystem::path& dir) {
    if (const auto f = fault::Check(fault::kSync); f.err) return f.err;
#ifdef _WIN32
    (void)dir;
    return 0;
#else
    int fd;
    do {
        fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;
    // Some file systems cannot sync a directory (EINVAL): there is nothing more to be done there.
    const int rc = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return rc;
#endif
}

}  // namespace vh::platform
