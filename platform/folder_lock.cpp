#include "folder_lock.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include "windows_api.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vh::platform {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
using Handle = HANDLE;
const Handle kNoHandle = INVALID_HANDLE_VALUE;

int OpenLockFile(const fs::path& path, Handle& h) {
    h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)  // a read-only folder or medium: a lock file there is read only
        h = ::CreateFileW(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) return 0;
    switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        default:
            return EACCES;
    }
}
// 0, EWOULDBLOCK while another process holds it, or another errno.
int TryLock(Handle h) {
    OVERLAPPED at{};
    if (::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return 0;
    const DWORD e = ::GetLastError();
    return e == ERROR_LOCK_VIOLATION || e == ERROR_IO_PENDING ? EWOULDBLOCK : ENOLCK;
}
void CloseLockFile(Handle h) {
    OVERLAPPED at{};
    ::UnlockFileEx(h, 0, 1, 0, &at);
    ::CloseHandle(h);
}
#else
using Handle = int;
constexpr Handle kNoHandle = -1;

int OpenLockFile(const fs::path& path, Handle& fd) {
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    } while (fd < 0 && errno == EINTR);
    // A lock file that cannot be written (a folder of another user's) still takes the lock: flock
    // needs no write access.
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    return fd < 0 ? errno : 0;
}
int TryLock(Handle fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK || errno == EAGAIN ? EWOULDBLOCK : errno;
    }
    return 0;
}
void CloseLockFile(Handle fd) {
    ::close(fd);  // releases the lock
}
#endif

// The locks this process holds, by lock file, with how many holders each has.
struct Held {
    Handle handle = kNoHandle;
    int count = 0;
};
std::mutex& Mutex() {
    static std::mutex m;
    return m;
}
std::map<fs::path, Held>& Table() {
    static std::map<fs::path, Held> t;
    return t;
}

}  // namespace

int FolderLock::Acquire(const fs::path& lockFile, std::chrono::milliseconds wait) {
    Release();
    std::error_code ec;
    fs::path key = fs::weakly_canonical(lockFile, ec);
    if (ec) key = lockFile;
    {
        std::lock_guard<std::mutex> guard(Mutex());
        auto it = Table().find(key);
        if (it != Table().end()) {
            ++it->second.count;
            key_ = key;
            held_ = true;
            return 0;
        }
    }
    Handle h = kNoHandle;
    if (const int err = OpenLockFile(lockFile, h)) return err;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        const int err = TryLock(h);
        if (err == 0) break;
        // A file system without locks (some network shares) cannot keep writers apart; the plan's
        // check of the bytes it read still refuses a stale write.
        if (err == ENOLCK || err == EOPNOTSUPP || err == ENOSYS) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseLockFile(h);
            return EWOULDBLOCK;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    std::lock_guard<std::mutex> guard(Mutex());
    Table()[key] = {h, 1};
    key_ = key;
    held_ = true;
    return 0;
}

void FolderLock::Release() {
    if (!held_) return;
    held_ = false;
    std::lock_guard<std::mutex> guard(Mutex());
    auto it = Table().find(key_);
    if (it == Table().end()) return;
    if (--it->second.count == 0) {
        CloseLockFile(it->second.handle);
        Table().erase(it);
    }
}

}  // namespace vh::platform
