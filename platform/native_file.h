// An open file descriptor with positioned, loop-until-done reads and writes. The only code that
// reads or writes file contents. Every call returns 0 or an errno value; nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace vh::platform {

enum class OpenMode {
    kReadOnly,        // existing file, reading only
    kReadWrite,       // existing file, never created
    kCreateTruncate,  // created if absent, emptied if present
    kCreateNew,       // created; fails with EEXIST if present
    // An existing regular file, reading only; never waits on a pipe or a device and never
    // follows a symbolic link: anything but a plain file fails with EINVAL (ELOOP for a link).
    kReadRegular,
};

// Whether the system refuses to delete a file or rename another over it while a program holds it
// open (Windows: files are opened here without delete sharing), so that a file open stays the
// one its path names.
#ifdef _WIN32
inline constexpr bool kOpenFilesArePinned = true;
#else
inline constexpr bool kOpenFilesArePinned = false;
#endif

class NativeFile {
  public:
    NativeFile() = default;
    ~NativeFile();
    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // mode bits apply only when a file is created (POSIX permission bits).
    int Open(const std::filesystem::path& path, OpenMode mode, unsigned createPerms = 0644);
    bool IsOpen() const { return fd_ >= 0; }
    // Opened with kReadOnly: writes and truncations are refused with EACCES before any system
    // call, so a read-only file reports the same error on every system and for every user.
    bool IsReadOnly() const { return fd_ >= 0 && readOnly_; }
    // Reads up to `size` bytes at `offset`; `got` < size only at the end of the file.
    int ReadAt(void* buffer, std::size_t size, std::uint64_t offset, std::size_t& got);
    // Writes all `size` bytes at `offset`.
    int WriteAt(const void* buffer, std::size_t size, std::uint64_t offset);
    int Size(std::uint64_t& size);
    int Truncate(std::uint64_t size);
    int Sync();
    int Close();

  private:
    int fd_ = -1;
    bool readOnly_ = false;
};

// Makes the directory's entries (files created, renamed or deleted in it) durable. Does nothing
// where the system has no such call (Windows makes them durable with the file's own flush).
int SyncDirectory(const std::filesystem::path& dir);

}  // namespace vh::platform
