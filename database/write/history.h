// What Undo and Redo take back: every set committed in this session, with its before- and
// after-images. Undo writes a set's before-images back as a new commit through the journal, Redo
// its after-images; either is refused, writing nothing, when a record no longer holds what it
// would take back. Nothing of the history is written anywhere.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "database/write/write_set.h"

namespace vh::db {

class WriteHistory {
  public:
    // Commits the set and keeps it for Undo. Any commit clears what Redo holds.
    const CommittedSet& Commit(const std::string& dataPath, const WriteSet& set);
    // Keeps a set committed elsewhere.
    void Push(CommittedSet set);

    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    // The label of the set Undo / Redo would take back ("Transfer of Novak, Tomas (1)").
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;

    // Takes the last set back (or puts the last undone one again) and returns it. Throws
    // EDataError saying which record changed since, when one no longer holds the bytes the set
    // left there (or, for Redo, found there); nothing is written then. I/O errors throw as Commit.
    const CommittedSet& Undo(const std::string& dataPath);
    const CommittedSet& Redo(const std::string& dataPath);

    void Clear();

    // Called after every change of what Undo and Redo hold (a window updates its menu items).
    void SetOnChange(std::function<void()> f) { onChange_ = std::move(f); }

    // How Commit above commits a set: db::Commit, unless replaced. Only the benchmarks replace it,
    // to time the same actions with the records written without the journal.
    using Committer = std::function<CommittedSet(const std::string&, const WriteSet&)>;
    void SetCommitter(Committer c) { committer_ = std::move(c); }

  private:
    void Changed() const {
        if (onChange_) onChange_();
    }
    std::function<void()> onChange_;
    Committer committer_;
    std::vector<CommittedSet> done_;
    std::vector<CommittedSet> undone_;
};

}  // namespace vh::db
