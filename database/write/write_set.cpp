#include "database/write/write_set.h"

#include <algorithm>
#include <cerrno>
#include <map>

#include "database/records/errors.h"
#include "database/records/record_file.h"
#include "database/records/text.h"
#include "database/write/journal.h"
#include "platform/files.h"
#include "platform/native_file.h"

namespace vh::db {

namespace fs = std::filesystem;

Change& WriteSet::Replace(std::string_view file, std::int64_t offset,
                          std::span<const std::uint8_t> bytes) {
    const auto [at, added] =
        places_.try_emplace({std::string(file), offset, bytes.size()}, changes_.size());
    if (!added) {
        Change& c = changes_[at->second];
        c.bytes.assign(bytes.begin(), bytes.end());
        return c;
    }
    return changes_.emplace_back(
        Change{std::string(file), offset, {bytes.begin(), bytes.end()}, std::nullopt, {}});
}

void WriteSet::Put(std::string_view file, std::int64_t offset,
                   std::span<const std::uint8_t> bytes) {
    Replace(file, offset, bytes);
}

void WriteSet::Put(std::string_view file, std::int64_t offset, std::span<const std::uint8_t> bytes,
                   std::span<const std::uint8_t> read, std::string what) {
    Change& c = Replace(file, offset, bytes);
    if (c.read) return;  // what was read first is what the disk must still hold
    c.read.emplace(read.begin(), read.end());
    c.what = std::move(what);
}

namespace {
std::chrono::milliseconds lockWait{2000};
}

std::chrono::milliseconds LockWait() {
    return lockWait;
}

void SetLockWait(std::chrono::milliseconds wait) {
    lockWait = wait;
}

std::string BusyMessage(const std::string& dataPath, bool writing) {
    const std::string folder = platform::NativeText(dataPath);
    if (writing)
        return "Another program is writing to " + folder +
               ". Nothing was written; try again when it has finished.";
    return "Another program is writing to " + folder + "; try again when it has finished.";
}

WriteLock::WriteLock(const std::string& dataPath, bool writing) {
    const fs::path path = platform::NativePath(dataPath + std::string(kLockFile));
    if (lock_.Acquire(path, LockWait()) == EWOULDBLOCK)
        throw EBusyError(BusyMessage(dataPath, writing));
    // Any other failure: the folder cannot take a lock file (read-only, missing); the command
    // goes on and meets the real error where it reads or writes.
}

void WriteSet::Cut(std::string_view file, std::int64_t size) {
    cuts_.push_back({std::string(file), size});
}

namespace {

// A data file of the set, opened once for the whole commit.
struct OpenFile {
    platform::NativeFile file;
    std::int64_t size = 0;     // before the commit
    std::int64_t planned = 0;  // as the changes so far leave it
};

class Files {
  public:
    explicit Files(const std::string& dataPath) : dataPath_(dataPath) {}
    OpenFile& Get(const std::string& name) {
        auto [it, added] = open_.try_emplace(name);
        if (added) {
            OpenFile& f = it->second;
            const fs::path path = platform::ResolveCase(platform::NativePath(dataPath_ + name));
            std::uint64_t size = 0;
            int err = f.file.Open(path, platform::OpenMode::kReadWrite);
            if (!err) err = f.file.Size(size);
            if (err) {
                open_.erase(it);
                Fail(err, name);
            }
            f.size = f.planned = static_cast<std::int64_t>(size);
        }
        return it->second;
    }
    std::map<std::string, OpenFile>& All() { return open_; }
    [[noreturn]] void Fail(int err, const std::string& name) const {
        throw EInOutError(EInOutError::CodeFromErrno(err), dataPath_ + name);
    }

  private:
    const std::string& dataPath_;
    std::map<std::string, OpenFile> open_;
};

std::vector<std::uint8_t> ReadRange(Files& files, const std::string& name, std::int64_t from,
                                    std::int64_t to) {
    OpenFile& f = files.Get(name);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)));
    std::size_t got = 0;
    if (const int err =
            f.file.ReadAt(bytes.data(), bytes.size(), static_cast<std::uint64_t>(from), got))
        files.Fail(err, name);
    bytes.resize(got);
    return bytes;
}

// Once the journal is gone the commit stands; the directory's sync only makes that durable
// sooner, so its failure is no reason to take the commit back.
void RemoveJournal(const fs::path& path, const std::string& pathText) {
    if (const int err = platform::RemoveFile(path))
        throw EInOutError(EInOutError::CodeFromErrno(err), pathText);
    (void)platform::SyncDirectory(path.parent_path());
}

// The refusal of a plan whose records changed on the disk since it read them.
[[noreturn]] void Stale(const std::string& dataPath, const Change& c) {
    const std::string where = DescribeRange(dataPath, c.file, c.offset, c.bytes.size());
    // The record's name is in the files' code page; the message, like the folder's name in the
    // others of the write path, is UTF-8.
    throw EStaleError((c.what.empty() ? where : Cp1252ToUtf8(c.what) + " (" + where + ")") +
                      " was changed by another program since it was read. Nothing was written.");
}

}  // namespace

CommittedSet Commit(const std::string& dataPath, const WriteSet& set) {
    CommittedSet done{set.Label(), {}};
    if (set.Empty()) return done;
    // Held until the journal is gone: no other process reads a half-made commit as interrupted.
    const WriteLock lock(dataPath);
    Files files(dataPath);
    Journal journal{set.Label(), {}};

    // Every before-image first, from the files as they are: a change that cannot be read, or that
    // would leave a gap, writes nothing.
    for (const Change& c : set.Changes()) {
        OpenFile& f = files.Get(c.file);
        const auto end = c.offset + static_cast<std::int64_t>(c.bytes.size());
        if (c.offset < 0 || c.offset > f.planned)
            throw EInOutError(kReadBeyondEnd, dataPath + c.file);
        CommittedChange cc{
            c.file,  c.offset, ReadRange(files, c.file, c.offset, std::min(end, f.size)),
            c.bytes, f.size,   false};
        if (c.read && cc.before != *c.read) Stale(dataPath, c);
        journal.entries.push_back({c.file, f.size, c.offset, cc.before});
        done.changes.push_back(std::move(cc));
        f.planned = std::max(f.planned, end);
    }
    for (const WriteSet::FileCut& c : set.Cuts()) {
        OpenFile& f = files.Get(c.file);
        if (c.size < 0) throw EInOutError(kNegativeSeek, dataPath + c.file);
        if (c.size >= f.planned) continue;
        CommittedChange cc{c.file, c.size, ReadRange(files, c.file, c.size, f.size),
                           {},     f.size, true};
        journal.entries.push_back({c.file, f.size, c.size, cc.before});
        done.changes.push_back(std::move(cc));
        f.planned = c.size;
    }

    // The journal, synced with its directory entry, before the first byte of a data file changes.
    const fs::path journalPath = JournalPath(dataPath);
    const std::string journalText = dataPath + std::string(kJournalFile);
    {
        const std::vector<std::uint8_t> bytes = EncodeJournal(journal);
        platform::NativeFile j;
        int err = j.Open(journalPath, platform::OpenMode::kCreateNew);
        if (err == EEXIST) throw EDataError(kPendingJournalMessage);
        if (!err) err = j.WriteAt(bytes.data(), bytes.size(), 0);
        if (!err) err = j.Sync();
        const int closeErr = j.IsOpen() ? j.Close() : 0;
        if (!err) err = closeErr;
        if (!err) err = platform::SyncDirectory(journalPath.parent_path());
        if (err) {
            // No data file was touched: the journal (whatever of it was written) goes.
            (void)platform::RemoveFile(journalPath);
            throw EInOutError(EInOutError::CodeFromErrno(err), journalText);
        }
    }

    try {
        NoteFilesChanged();
        for (const CommittedChange& c : done.changes) {
            if (c.cut) continue;
            OpenFile& f = files.Get(c.file);
            if (const int err = f.file.WriteAt(c.after.data(), c.after.size(),
                                               static_cast<std::uint64_t>(c.offset)))
                files.Fail(err, c.file);
        }
        for (const CommittedChange& c : done.changes)
            if (c.cut) {
                if (const int err =
                        files.Get(c.file).file.Truncate(static_cast<std::uint64_t>(c.offset)))
                    files.Fail(err, c.file);
            }
        for (auto& [name, f] : files.All()) {
            int err = f.file.Sync();
            if (!err) err = f.file.Close();
            if (err) files.Fail(err, name);
        }
        NoteFilesChanged();
        RemoveJournal(journalPath, journalText);
    } catch (...) {
        NoteFilesChanged();
        try {
            files.All().clear();  // the rollback opens the files afresh
            RollBack(dataPath, journal);
            RemoveJournal(journalPath, journalText);
        } catch (...) {
            // The journal stays: the next load rolls it back. The first error is the one to show.
        }
        throw;
    }
    return done;
}

}  // namespace vh::db
