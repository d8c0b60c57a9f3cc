// An exclusive lock between processes on one folder: the operating system's own file lock
// (flock on POSIX, LockFileEx on Windows) on a lock file in the folder. A process that dies
// releases it with its handles, so a lock never outlives its holder. Within one process the lock
// is re-entrant: a command that holds it may call code that takes it again.
#pragma once

#include <chrono>
#include <filesystem>

namespace vh::platform {

class FolderLock {
  public:
    FolderLock() = default;
    ~FolderLock() { Release(); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock on `lockFile` (created if absent), trying again until `wait` has passed.
    // 0 when held; EWOULDBLOCK when another process held it all that time; another errno when the
    // lock file can be neither created nor opened (a read-only folder: see Held()).
    int Acquire(const std::filesystem::path& lockFile, std::chrono::milliseconds wait);
    void Release();
    bool Held() const { return held_; }

  private:
    std::filesystem::path key_;
    bool held_ = false;
};

}  // namespace vh::platform
