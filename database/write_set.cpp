#include "write_set.h"

#include <algorithm>

#include "errors.h"
#include "record_file.h"

namespace vh::db {

void WriteSet::Put(std::string_view file, std::int64_t offset,
                   std::span<const std::uint8_t> bytes) {
    for (Change& c : changes_)
        if (c.file == file && c.offset == offset && c.bytes.size() == bytes.size()) {
            c.bytes.assign(bytes.begin(), bytes.end());
            return;
        }
    changes_.push_back({std::string(file), offset, {bytes.begin(), bytes.end()}});
}

namespace {
void WriteAt(RecordFile& f, std::int64_t offset, const std::vector<std::uint8_t>& bytes) {
    f.Seek(offset);
    f.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}
}  // namespace

CommittedSet Commit(const std::string& dataPath, const WriteSet& set) {
    CommittedSet done{set.Label(), {}};
    done.changes.reserve(set.Changes().size());
    // Every before-image first: a change that cannot be read writes nothing.
    for (const Change& c : set.Changes()) {
        RecordFile f;
        f.Bind(dataPath + c.file);
        f.Reset(1);
        CommittedChange cc{c.file, c.offset, std::vector<std::uint8_t>(c.bytes.size()), c.bytes};
        const std::int64_t size = f.RecordCount();
        if (c.offset < 0 || c.offset > size) throw EInOutError(kReadBeyondEnd, f.PathText());
        const std::int64_t have = std::min<std::int64_t>(size - c.offset, c.bytes.size());
        cc.before.resize(static_cast<std::size_t>(have));
        f.Seek(c.offset);
        f.Read(cc.before.data(), have);
        done.changes.push_back(std::move(cc));
    }
    std::size_t written = 0;
    try {
        for (; written < done.changes.size(); ++written) {
            const CommittedChange& c = done.changes[written];
            RecordFile f;
            f.Bind(dataPath + c.file);
            f.Reset(1);
            WriteAt(f, c.offset, c.after);
        }
    } catch (...) {
        // Put back what was written, newest first; the error of the write is the one to report.
        for (std::size_t i = written; i-- > 0;) {
            try {
                const CommittedChange& c = done.changes[i];
                RecordFile f;
                f.Bind(dataPath + c.file);
                f.Reset(1);
                WriteAt(f, c.offset, c.before);
            } catch (...) {
            }
        }
        throw;
    }
    return done;
}

}  // namespace vh::db
