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

// How a record file is opened. A read-only file can be searched and read like any other; every
// write through it (and a rewrite) is refused with "File access denied" before the file is touched.
enum class Access { kReadWrite, kReadOnly };

// Tells every open RecordFile that files changed on disk through another path (the write path's
// own handles): read-ahead buffers and cached sizes are dropped before their next use.
void NoteFilesChanged();

// How many records of this size a scan of `records` records reads at a time: enough bytes that
// each read goes straight into the scan's own buffer, not through the read-ahead buffer and a
// copy, but never more than there are (at least one).
std::int64_t ScanBatchRecords(int recordSize, std::int64_t records);

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

    // Opens the existing file at record 0; closes it first if open. Never creates a file.
    // The access given is kept for later resets without one, so the scans and reads that rewind
    // a file of a read-only load keep it read-only; a new object starts read-write.
    void Reset(int recordSize);
    void Reset(int recordSize, Access access);
    // Reset for a lookup: where an open file cannot be replaced under its path (Windows), the file
    // still open at the same path is read again from record 0 with this record size, its size
    // read again, without a new open, which costs there far more than the read (one per label
    // shown). Elsewhere, or not open, the same as Reset.
    void Rewind(int recordSize);
    Access GetAccess() const { return access_; }
    bool IsReadOnly() const { return access_ == Access::kReadOnly; }
    // Creates the file or empties it, open for reading and writing at record 0.
    // Refused (code 5) on an object set to read-only access.
    void Rewrite(int recordSize);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }

    void Seek(std::int64_t record);
    std::int64_t Position() const { return pos_; }
    // Whole records in the file; a partial record at the end does not count.
    std::int64_t RecordCount();
    bool AtEnd() { return pos_ >= RecordCount(); }
    int RecordSize() const { return recordSize_; }

    // Every EInOutError below names this file and, where one is concerned, the record: the
    // record read or written, the first one missing for a read past the end, the number asked
    // for by a negative seek. A file of record size 1 is read byte by byte, its "record" numbers
    // are byte offsets: its errors name the file only.

    // Reads `count` records at the position and advances past them. Throws code 100 (and leaves
    // the position) if any of them is not whole in the file.
    void Read(void* buffer, std::int64_t count = 1);
    // The game's data files are changed only through the write set (write_set.h), which journals
    // them; this serves the editor's own scratch files.
    // Writes `count` records at the position and advances. Writing at the end appends; a
    // position past the end is refused (code 100) rather than leaving a gap. The range is read
    // first (a failure there writes nothing); a write that fails part-way puts those previous
    // bytes back and cuts off what it appended, as far as the file lets it, then throws the
    // error of the write: no torn records.
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
    [[noreturn]] void Fail(int err, std::int64_t record = -1) const;
    [[noreturn]] void Throw(int code, std::int64_t record = -1) const;

    std::string pathText_;
    std::filesystem::path opened_;
    platform::NativeFile file_;
    int recordSize_ = 0;
    Access access_ = Access::kReadWrite;
    std::int64_t pos_ = 0;
    std::uint64_t size_ = 0;   // bytes, as last seen
    std::uint64_t epoch_ = 0;  // write epoch that size_ and the buffer belong to
    std::vector<std::uint8_t> buf_;
    std::uint64_t bufStart_ = 0;
    std::size_t bufLen_ = 0;
    // Where a read going on from the last one starts, and how far beyond it a read still counts
    // as going on (the first read after opening only at record 0).
    std::uint64_t nextRead_ = 0;
    std::uint64_t reach_ = 1;
};

}  // namespace vh::db
