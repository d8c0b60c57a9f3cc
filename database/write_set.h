// The one way a command writes data files: it collects every record it changes into a write set,
// then commits the set at once. A commit reads what each change replaces (its before-image), so
// the committed set can be written back (Undo) or again (Redo) as a commit of its own.
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

    const std::vector<Change>& Changes() const { return changes_; }
    bool Empty() const { return changes_.empty(); }

  private:
    std::string label_;
    std::vector<Change> changes_;
};

// One change as it was committed: the bytes it replaced and the bytes it wrote.
struct CommittedChange {
    std::string file;
    std::int64_t offset = 0;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
};

struct CommittedSet {
    std::string label;
    std::vector<CommittedChange> changes;
};

// Writes the set into the data directory as one transaction and returns what it replaced.
// Throws EInOutError (naming the file) when a change cannot be made; the files are then as they
// were before the commit. A change must lie inside its file or end it exactly (no gap).
CommittedSet Commit(const std::string& dataPath, const WriteSet& set);

}  // namespace vh::db
