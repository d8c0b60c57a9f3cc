#include "database/records/record_file.h"

#include <algorithm>
#include <cstring>

#include "database/records/errors.h"
#include "platform/files.h"

namespace vh::db {

namespace {
// Bumped by every write through any RecordFile, so that a read-ahead buffer or a cached size
// never outlives a change made through another object on the same file (staff.dat is opened as
// a file of person records and, for its blocks, byte by byte).
std::uint64_t g_writeEpoch = 1;
constexpr std::size_t kReadAhead = 256 * 1024;
}  // namespace

void NoteFilesChanged() {
    ++g_writeEpoch;
}

std::int64_t ScanBatchRecords(int recordSize, std::int64_t records) {
    const auto rs = static_cast<std::int64_t>(std::max(recordSize, 1));
    const std::int64_t direct = (static_cast<std::int64_t>(kReadAhead) + rs - 1) / rs;
    return std::clamp<std::int64_t>(records, 1, direct);
}

void RecordFile::Bind(std::string pathText) {
    pathText_ = std::move(pathText);
}

[[noreturn]] void RecordFile::Throw(int code, std::int64_t record) const {
    // In a file read byte by byte a "record" is a byte offset, which would only mislead.
    throw EInOutError(code, pathText_, recordSize_ > 1 ? record : -1);
}

[[noreturn]] void RecordFile::Fail(int err, std::int64_t record) const {
    Throw(EInOutError::CodeFromErrno(err), record);
}

void RecordFile::RequireOpen() const {
    if (!file_.IsOpen()) throw EInOutError(kFileNotOpen, pathText_);
}

void RecordFile::CheckSize(std::size_t n) const {
    RequireOpen();
    if (static_cast<int>(n) != recordSize_)
        throw std::logic_error("record buffer of " + std::to_string(n) + " bytes for a file of " +
                               std::to_string(recordSize_) + "-byte records");
}

void RecordFile::Open(int recordSize, bool create) {
    if (recordSize <= 0) throw std::logic_error("record size must be positive");
    if (create && access_ == Access::kReadOnly) throw EInOutError(kAccessDenied, pathText_);
    file_.Close();
    bufLen_ = 0;
    pos_ = 0;
    nextRead_ = 0;
    reach_ = 1;  // a scan starts at record 0
    if (pathText_.empty()) throw EInOutError(kInvalidFilename, pathText_);
    const std::filesystem::path path = platform::ResolveCase(platform::NativePath(pathText_));
    const platform::OpenMode mode = create ? platform::OpenMode::kCreateTruncate
                                    : access_ == Access::kReadOnly ? platform::OpenMode::kReadOnly
                                                                   : platform::OpenMode::kReadWrite;
    const int err = file_.Open(path, mode);
    if (err) Fail(err);
    recordSize_ = recordSize;
    opened_ = path;
    if (create) ++g_writeEpoch;
    epoch_ = g_writeEpoch;
    if (const int e = file_.Size(size_)) {
        file_.Close();
        Fail(e);
    }
}

void RecordFile::Reset(int recordSize) {
    Open(recordSize, false);
}
void RecordFile::Reset(int recordSize, Access access) {
    access_ = access;
    Open(recordSize, false);
}
void RecordFile::Rewind(int recordSize) {
    if (!platform::kOpenFilesArePinned || !file_.IsOpen() || recordSize <= 0 ||
        opened_ != platform::NativePath(pathText_))
        return Open(recordSize, false);
    bufLen_ = 0;
    pos_ = 0;
    nextRead_ = 0;
    reach_ = 1;
    recordSize_ = recordSize;
    epoch_ = g_writeEpoch;
    if (const int e = file_.Size(size_)) {
        file_.Close();
        Fail(e);
    }
}
void RecordFile::Rewrite(int recordSize) {
    Open(recordSize, true);
}

void RecordFile::Close() {
    bufLen_ = 0;
    if (const int err = file_.Close()) Fail(err);
}

void RecordFile::Seek(std::int64_t record) {
    RequireOpen();
    if (record < 0) Throw(kNegativeSeek, record);
    pos_ = record;
}

void RecordFile::Revalidate() {
    if (epoch_ == g_writeEpoch) return;
    bufLen_ = 0;
    if (const int e = file_.Size(size_)) Fail(e);
    epoch_ = g_writeEpoch;
}

std::int64_t RecordFile::RecordCount() {
    RequireOpen();
    Revalidate();
    return static_cast<std::int64_t>(size_ / static_cast<std::uint64_t>(recordSize_));
}

void RecordFile::Read(void* buffer, std::int64_t count) {
    RequireOpen();
    Revalidate();
    const std::uint64_t rs = static_cast<std::uint64_t>(recordSize_);
    const std::uint64_t offset = static_cast<std::uint64_t>(pos_) * rs;
    const std::uint64_t need = static_cast<std::uint64_t>(count) * rs;
    if (count < 0 || offset + need > size_) {
        // The record it failed at: the first one that is not whole in the file.
        const auto whole = static_cast<std::int64_t>(size_ / rs);
        Throw(kReadBeyondEnd, std::max(pos_, whole));
    }
    if (need == 0) return;  // nothing to read; the buffer may be null (an empty vector's data())
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (offset >= bufStart_ && offset + need <= bufStart_ + bufLen_) {
        std::memcpy(out, buf_.data() + (offset - bufStart_), need);
    } else if (need >= kReadAhead) {
        std::size_t got = 0;
        if (const int e = file_.ReadAt(out, need, offset, got)) Fail(e, pos_);
        if (got < need) Throw(kReadBeyondEnd, pos_ + static_cast<std::int64_t>(got / rs));
    } else {
        // Read ahead in whole records, but never past the size we know of, and only where the
        // read goes on from the last one or a little beyond it (a scan, maybe with gaps): a
        // record looked up by number far from the last is read alone.
        const bool onward = offset >= nextRead_ && offset - nextRead_ < reach_;
        std::uint64_t chunk = onward ? std::max<std::uint64_t>(need, kReadAhead / rs * rs) : need;
        chunk = std::min(chunk, size_ - offset);
        buf_.resize(chunk);
        std::size_t got = 0;
        bufLen_ = 0;
        if (const int e = file_.ReadAt(buf_.data(), chunk, offset, got)) Fail(e, pos_);
        bufStart_ = offset;
        bufLen_ = got;
        if (got < need) Throw(kReadBeyondEnd, pos_ + static_cast<std::int64_t>(got / rs));
        std::memcpy(out, buf_.data(), need);
    }
    pos_ += count;
    nextRead_ = offset + need;
    reach_ = kReadAhead;
}

void RecordFile::Write(const void* buffer, std::int64_t count) {
    RequireOpen();
    Revalidate();
    if (access_ == Access::kReadOnly) Throw(kAccessDenied, pos_);
    const std::uint64_t rs = static_cast<std::uint64_t>(recordSize_);
    const std::uint64_t offset = static_cast<std::uint64_t>(pos_) * rs;
    const std::uint64_t n = static_cast<std::uint64_t>(count) * rs;
    if (count < 0 || offset > size_) Throw(kReadBeyondEnd, pos_);
    ++g_writeEpoch;  // other objects on this file drop what they buffered
    bufLen_ = 0;
    // What the range holds now, to put back if the write stops part-way. `kept` < n means the
    // file ended inside the range: its size was offset + kept.
    std::vector<std::uint8_t> previous(static_cast<std::size_t>(n));
    std::size_t kept = 0;
    if (const int e = file_.ReadAt(previous.data(), previous.size(), offset, kept)) Fail(e, pos_);
    // Whatever happens, the size on disk may have changed: learn it again next time.
    if (const int err = file_.WriteAt(buffer, static_cast<std::size_t>(n), offset)) {
        // Best effort: the error of the write is the one to report, whatever happens here.
        if (kept > 0) (void)file_.WriteAt(previous.data(), kept, offset);
        if (kept < n) (void)file_.Truncate(offset + kept);
        Fail(err, pos_);
    }
    size_ = std::max(size_, offset + n);
    epoch_ = g_writeEpoch;
    pos_ += count;
}

}  // namespace vh::db
