// The one way a command writes data files: it collects every record it changes into a write set,
// then commits the set at once, all or nothing even across a crash: the before-images go to the
// rollback journal (journal.h), which is synced before the first byte is written in place. The
// committed set keeps its before- and after-images, so it can be written back (Undo) or again
// (Redo) as a commit of its own.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vh::db {

// New bytes for one range of one data file of the directory.
struct Change {
    std::string file;         // the file's name as the file lists spell it: "\\staff.dat"
    std::int64_t offset = 0;  // byte offset in the file
    std::vector<std::uint8_t> bytes;
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
    // A whole record at its record number.
    template <class R>
    void PutRecord(std::string_view file, std::int64_t number, const R& rec) {
        Put(file, number * static_cast<std::int64_t>(R::kSize), rec.bytes);
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
    std::string label_;
    std::vector<Change> changes_;
    std::vector<FileCut> cuts_;
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

inline constexpr const char* kPendingJournalMessage =
    "Another change to this data directory is being written, or one was interrupted and could not "
    "be undone (vhedit.journal). Nothing was written. Load the data again to put it right.";

}  // namespace vh::db
