// A file of fixed-size records, bound to a path and used the way the game's own tools used
// typed files: bind, reset (reopen at record 0), seek, read, write, at end, rewrite, close.
// Every failure throws EInOutError. Sequential reads go through a read-ahead buffer, so a scan of
// a whole file costs a handful of system calls; a record is written with one positioned write.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/native_file.h"

namespace vh::db {

inline constexpr int kFileNotOpen = 103;

class RecordFile {
  public:
    RecordFile() = default;
    ~RecordFile() = default;
    RecordFile(RecordFile&&) noexcept = default;
    RecordFile& operator=(RecordFile&&) noexcept = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Associates the object with a path given as Windows-style text; no file access. A file that
    // is open stays open until the next reset, rewrite or close.
    void Bind(std::string pathText);
    const std::string& PathText() const { return pathText_; }
    // The file actually opened (after the case-insensitive lookup); empty before the first open.
    const std::filesystem::path& OpenedPath() const { return opened_; }

    // Opens the existing file for reading and writing at record 0; closes it first if open.
    // Never creates a file.
    void Reset(int recordSize);
    // Creates the file or empties it, open for reading and writing at record 0.
    void Rewrite(int recordSize);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }

    void Seek(std::int64_t record);
    std::int64_t Position() const { return pos_; }
    // Whole records in the file; a partial record at the end does not count.
    std::int64_t RecordCount();
    bool AtEnd() { return pos_ >= RecordCount(); }
    int RecordSize() const { return recordSize_; }

    // Reads `count` records at the position and advances past them. Throws code 100 (and leaves
    // the position) if any of them is not whole in the file.
    void Read(void* buffer, std::int64_t count = 1);
    // Writes `count` records at the position and advances. Writing at the end appends; a
    // position past the end is refused (code 100) rather than leaving a gap.
    void Write(const void* buffer, std::int64_t count = 1);

    template <std::size_t N>
    void Read(std::array<std::uint8_t, N>& rec) {
        CheckSize(N);
        Read(rec.data());
    }
    template <std::size_t N>
    void Write(const std::array<std::uint8_t, N>& rec) {
        CheckSize(N);
        Write(rec.data());
    }

  private:
    void Open(int recordSize, bool create);
    void RequireOpen() const;
    void CheckSize(std::size_t n) const;
    void Revalidate();
    [[noreturn]] void Fail(int err) const;

    std::string pathText_;
    std::filesystem::path opened_;
    platform::NativeFile file_;
    int recordSize_ = 0;
    std::int64_t pos_ = 0;
    std::uint64_t size_ = 0;   // bytes, as last seen
    std::uint64_t epoch_ = 0;  // write epoch that size_ and the buffer belong to
    std::vector<std::uint8_t> buf_;
    std::uint64_t bufStart_ = 0;
    std::size_t bufLen_ = 0;
};

}  // namespace vh::db
