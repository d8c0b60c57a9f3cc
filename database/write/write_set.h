// The one way a command writes data files: it collects every record it changes into a write set,
// then commits the set at once, all or nothing even across a crash: the before-images go to the
// rollback journal (journal.h), which is synced before the first byte is written in place. The
// committed set keeps its before- and after-images, so it can be written back (Undo) or again
// (Redo) as a commit of its own.
//
// The rules the write path keeps, and where:
//  1. One writer at a time. A command holds the folder's lock (WriteLock, on vhedit.lock) from
//     its first read to the end of its commit; Commit takes it too. Another process's command
//     waits for it up to LockWait() and then writes nothing (EBusyError).
//  2. Nothing stale is written. A change may carry the bytes its plan read; Commit compares them
//     with the file under the lock and refuses the whole set when any differ (EStaleError).
//  3. The journal first. Commit writes every before-image to vhedit.journal, syncs it and then
//     the folder, before the first byte of a data file changes; a journal it could not finish
//     writing is deleted, since no data file was touched.
//  4. The data, then the journal's end. Commit writes and syncs every data file, and only then
//     deletes the journal and syncs the folder: from that moment the commit stands.
//  5. Only a lock holder rolls back. RecoverJournal takes the lock before it reads a journal: a
//     journal whose writer is alive is never taken for an interrupted one. A journal that is not
//     a plain file, or names a file that is not one of the data set's, or holds an image outside
//     its file, is not obeyed (journal.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "database/records/errors.h"
#include "platform/folder_lock.h"

namespace vh::db {

// New bytes for one range of one data file of the directory.
struct Change {
    std::string file;         // the file's name as the file lists spell it: "\\staff.dat"
    std::int64_t offset = 0;  // byte offset in the file
    std::vector<std::uint8_t> bytes;
    // What the plan read there, when it read it: the commit refuses when the file differs now.
    std::optional<std::vector<std::uint8_t>> read;
    std::string what;  // how a refusal names the record ("Club Oslund"); may be empty
};

// The writes of one command, in the order they are to be written.
class WriteSet {
  public:
    WriteSet() = default;
    // `label` says what the command was, as Undo and a recovery notice name it
    // ("Transfer of Novak, Tomas (1)").
    explicit WriteSet(std::string label) : label_(std::move(label)) {}

    const std::string& Label() const { return label_; }
    void SetLabel(std::string label) { label_ = std::move(label); }

    // Bytes at a byte offset of `file`. A later change of the same range replaces the earlier one.
    void Put(std::string_view file, std::int64_t offset, std::span<const std::uint8_t> bytes);
    // The same, for bytes planned from `read`, what the plan found there: the commit writes
    // nothing when the file no longer holds it. `what` names the record in that refusal.
    void Put(std::string_view file, std::int64_t offset, std::span<const std::uint8_t> bytes,
             std::span<const std::uint8_t> read, std::string what = {});
    // A whole record at its record number.
    template <class R>
    void PutRecord(std::string_view file, std::int64_t number, const R& rec) {
        Put(file, number * static_cast<std::int64_t>(R::kSize), rec.bytes);
    }
    template <class R>
    void PutRecord(std::string_view file, std::int64_t number, const R& rec, const R& read,
                   std::string what = {}) {
        Put(file, number * static_cast<std::int64_t>(R::kSize), rec.bytes, read.bytes,
            std::move(what));
    }

    // Cuts the file to `size` bytes once the changes are written (how Undo takes back an append).
    void Cut(std::string_view file, std::int64_t size);

    struct FileCut {
        std::string file;
        std::int64_t size = 0;
    };
    const std::vector<Change>& Changes() const { return changes_; }
    const std::vector<FileCut>& Cuts() const { return cuts_; }
    bool Empty() const { return changes_.empty() && cuts_.empty(); }

  private:
    // The change of that range, its bytes replaced; a new one when the set has none.
    Change& Replace(std::string_view file, std::int64_t offset,
                    std::span<const std::uint8_t> bytes);

    std::string label_;
    std::vector<Change> changes_;
    std::vector<FileCut> cuts_;
    // Where each range's change is in changes_, so that a set of many records is planned without
    // searching every change before it.
    std::map<std::tuple<std::string, std::int64_t, std::size_t>, std::size_t> places_;
};

// One change as it was committed: the bytes it replaced and the bytes it wrote.
struct CommittedChange {
    std::string file;
    std::int64_t offset = 0;
    std::vector<std::uint8_t> before;  // shorter than `after` where the change appended
    std::vector<std::uint8_t> after;
    std::int64_t fileSizeBefore = 0;  // the file's size before the commit
    bool cut = false;                 // a Cut: `before` is the tail cut off at `offset`
};

struct CommittedSet {
    std::string label;
    std::vector<CommittedChange> changes;
};

// Writes the set into the data directory as one transaction and returns what it replaced.
// Throws EInOutError (naming the file) when a change cannot be made; the files are then as they
// were before the commit (or, should even putting them back fail, the journal stays for the next
// load to finish the job). A change must start inside its file or at its end as the changes before
// it leave it (no gap). A journal already in the directory (another commit under way, or one that
// could not be rolled back) refuses the commit with EDataError before anything is written.
// An empty set writes nothing, not even a journal.
CommittedSet Commit(const std::string& dataPath, const WriteSet& set);

// Another process holds the folder's lock: nothing was written.
class EBusyError : public EDataError {
  public:
    using EDataError::EDataError;
};
// A plan's records changed on the disk since it read them: nothing was written.
class EStaleError : public EDataError {
  public:
    using EDataError::EDataError;
};

inline constexpr std::string_view kLockFile = "\\vhedit.lock";

// How long a command waits for another process's command to finish (about 2 seconds).
std::chrono::milliseconds LockWait();
void SetLockWait(std::chrono::milliseconds wait);  // for tests

// The folder's write lock, held from a command's first read to the end of its commit; re-entrant
// within the process. Throws EBusyError ("Another program is writing to <folder>. ...") when
// another process held it for all of LockWait(). A folder where no lock file can be made (a
// read-only medium) is not locked: nothing can be written there anyway.
class WriteLock {
  public:
    // `writing` false: a reader's wording of the refusal (a load, a check).
    explicit WriteLock(const std::string& dataPath, bool writing = true);

  private:
    platform::FolderLock lock_;
};

std::string BusyMessage(const std::string& dataPath, bool writing = true);

inline constexpr const char* kPendingJournalMessage =
    "Another change to this data directory is being written, or one was interrupted and could not "
    "be undone (vhedit.journal). Nothing was written. Load the data again to put it right.";

}  // namespace vh::db
