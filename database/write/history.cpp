#include "database/write/history.h"

#include <algorithm>
#include <map>

#include "database/records/errors.h"
#include "database/write/journal.h"
#include "platform/files.h"
#include "platform/native_file.h"

namespace vh::db {

namespace {

// The size each file of the set had before and after it.
struct Sizes {
    std::int64_t before = 0, after = 0;
};
std::map<std::string, Sizes> FileSizes(const CommittedSet& set) {
    std::map<std::string, Sizes> sizes;
    for (const CommittedChange& c : set.changes) {
        auto [it, added] = sizes.try_emplace(c.file, Sizes{c.fileSizeBefore, c.fileSizeBefore});
        Sizes& s = it->second;
        if (c.cut)
            s.after = std::min(s.after, c.offset);
        else
            s.after = std::max(s.after, c.offset + static_cast<std::int64_t>(c.after.size()));
    }
    return sizes;
}

// Compares what the files hold with what the set should find there: its after-images (undo) or
// its before-images (redo). The first record that differs refuses the step.
void RequireState(const std::string& dataPath, const CommittedSet& set, bool after,
                  const std::string& step) {
    const std::map<std::string, Sizes> sizes = FileSizes(set);
    std::map<std::string, platform::NativeFile> files;
    auto refuse = [&](const CommittedChange& c, std::size_t length) {
        throw EDataError(step +
                         " is not possible: " + DescribeRange(dataPath, c.file, c.offset, length) +
                         " has been changed since, by another command or another program. "
                         "Nothing was changed.");
    };
    for (const CommittedChange& c : set.changes) {
        auto [it, added] = files.try_emplace(c.file);
        std::uint64_t size = 0;
        if (added) {
            const auto path = platform::ResolveCase(platform::NativePath(dataPath + c.file));
            if (const int err = it->second.Open(path, platform::OpenMode::kReadOnly))
                throw EInOutError(EInOutError::CodeFromErrno(err), dataPath + c.file);
        }
        if (const int err = it->second.Size(size))
            throw EInOutError(EInOutError::CodeFromErrno(err), dataPath + c.file);
        // A file that grew or shrank must have exactly the size the set left it with: cutting or
        // extending it would otherwise take someone else's records with it.
        const Sizes& s = sizes.at(c.file);
        if (s.before != s.after && static_cast<std::int64_t>(size) != (after ? s.after : s.before))
            refuse(c, std::max(c.before.size(), c.after.size()));
        const std::vector<std::uint8_t>& want = after ? c.after : c.before;
        if (c.cut && after) continue;  // nothing of a cut tail is left to compare
        std::vector<std::uint8_t> have(want.size());
        std::size_t got = 0;
        if (const int err = it->second.ReadAt(have.data(), have.size(),
                                              static_cast<std::uint64_t>(c.offset), got))
            throw EInOutError(EInOutError::CodeFromErrno(err), dataPath + c.file);
        if (got != want.size() || have != want) refuse(c, want.size());
    }
}

}  // namespace

const CommittedSet& WriteHistory::Commit(const std::string& dataPath, const WriteSet& set) {
    Push(committer_ ? committer_(dataPath, set) : db::Commit(dataPath, set));
    return done_.back();
}

void WriteHistory::Push(CommittedSet set) {
    undone_.clear();
    done_.push_back(std::move(set));
    Changed();
}

const std::string& WriteHistory::UndoLabel() const {
    static const std::string none;
    return done_.empty() ? none : done_.back().label;
}

const std::string& WriteHistory::RedoLabel() const {
    static const std::string none;
    return undone_.empty() ? none : undone_.back().label;
}

const CommittedSet& WriteHistory::Undo(const std::string& dataPath) {
    if (done_.empty()) throw EDataError("There is nothing to undo.");
    const CommittedSet& last = done_.back();
    const std::string step = "Undo " + last.label;
    const WriteLock lock(dataPath);  // what is compared is what is written over
    RequireState(dataPath, last, true, step);
    WriteSet back(step);
    for (auto c = last.changes.rbegin(); c != last.changes.rend(); ++c)
        if (!c->before.empty()) back.Put(c->file, c->offset, c->before);
    for (const auto& [file, s] : FileSizes(last))
        if (s.after > s.before) back.Cut(file, s.before);
    db::Commit(dataPath, back);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    Changed();
    return undone_.back();
}

const CommittedSet& WriteHistory::Redo(const std::string& dataPath) {
    if (undone_.empty()) throw EDataError("There is nothing to redo.");
    const CommittedSet& next = undone_.back();
    const std::string step = "Redo " + next.label;
    const WriteLock lock(dataPath);
    RequireState(dataPath, next, false, step);
    WriteSet again(step);
    for (const CommittedChange& c : next.changes)
        if (c.cut)
            again.Cut(c.file, c.offset);
        else
            again.Put(c.file, c.offset, c.after);
    db::Commit(dataPath, again);
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    Changed();
    return done_.back();
}

void WriteHistory::Clear() {
    done_.clear();
    undone_.clear();
    Changed();
}

}  // namespace vh::db
