#include "database/write/journal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <map>

#include "database/records/data_def.h"
#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/records/index_file.h"
#include "database/records/record_file.h"
#include "database/write/write_set.h"
#include "platform/files.h"
#include "platform/native_file.h"

namespace vh::db {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'V', 'H', 'J', 'O', 'U', 'R', 'N', 'L'};
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 8 + 4;

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

template <class T>
void Append(std::vector<std::uint8_t>& out, T v) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
}

// Reads little-endian values off the front of a span; every read is bounds-checked.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> b) : b_(b) {}
    template <class T>
    bool Get(T& v) {
        if (b_.size() - at_ < sizeof(T)) return false;
        std::uint64_t x = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) x |= std::uint64_t{b_[at_ + i]} << (8 * i);
        v = static_cast<T>(x);
        at_ += sizeof(T);
        return true;
    }
    bool Bytes(std::size_t n, std::span<const std::uint8_t>& out) {
        if (b_.size() - at_ < n) return false;
        out = b_.subspan(at_, n);
        at_ += n;
        return true;
    }
    std::size_t At() const { return at_; }

  private:
    std::span<const std::uint8_t> b_;
    std::size_t at_ = 0;
};

fs::path DataFile(const std::string& dataPath, std::string_view name) {
    return platform::ResolveCase(platform::NativePath(dataPath + std::string(name)));
}

[[noreturn]] void Fail(int err, const std::string& pathText) {
    throw EInOutError(EInOutError::CodeFromErrno(err), pathText);
}

bool IsReadOnlyError(int err) {
    return err == EACCES || err == EPERM || err == EROFS;
}

std::string Bare(std::string_view name) {
    return std::string(!name.empty() && name.front() == '\\' ? name.substr(1) : name);
}

}  // namespace

std::vector<std::uint8_t> EncodeJournal(const Journal& journal) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    Append<std::uint32_t>(out, kJournalVersion);
    Append<std::uint32_t>(out, static_cast<std::uint32_t>(journal.entries.size()));
    const std::size_t lengthAt = out.size();
    Append<std::uint64_t>(out, 0);  // filled in below
    Append<std::uint32_t>(out, static_cast<std::uint32_t>(journal.label.size()));
    out.insert(out.end(), journal.label.begin(), journal.label.end());
    for (const JournalEntry& e : journal.entries) {
        Append<std::uint16_t>(out, static_cast<std::uint16_t>(e.file.size()));
        out.insert(out.end(), e.file.begin(), e.file.end());
        Append<std::uint64_t>(out, static_cast<std::uint64_t>(e.sizeBefore));
        Append<std::uint64_t>(out, static_cast<std::uint64_t>(e.offset));
        Append<std::uint32_t>(out, static_cast<std::uint32_t>(e.before.size()));
        out.insert(out.end(), e.before.begin(), e.before.end());
    }
    const std::uint64_t total = out.size() + 4;
    for (std::size_t i = 0; i < 8; ++i)
        out[lengthAt + i] = static_cast<std::uint8_t>(total >> (8 * i));
    Append<std::uint32_t>(out, Crc32(out));
    return out;
}

JournalState DecodeJournal(std::span<const std::uint8_t> bytes, Journal& journal) {
    journal = {};
    if (bytes.size() < kHeaderSize + 4 || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin()))
        return JournalState::kTorn;
    Reader r(bytes.subspan(kMagic.size()));
    std::uint32_t version = 0, count = 0, labelSize = 0;
    std::uint64_t total = 0;
    r.Get(version);
    r.Get(count);
    r.Get(total);
    if (total != bytes.size()) return JournalState::kTorn;
    std::uint32_t crc = 0;
    Reader(bytes.last(4)).Get(crc);
    if (Crc32(bytes.first(bytes.size() - 4)) != crc) return JournalState::kTorn;
    if (version != kJournalVersion) return JournalState::kNewerVersion;

    Reader body(bytes.first(bytes.size() - 4).subspan(kMagic.size() + 16));
    std::span<const std::uint8_t> text;
    if (!body.Get(labelSize) || !body.Bytes(labelSize, text)) return JournalState::kTorn;
    journal.label.assign(text.begin(), text.end());
    for (std::uint32_t i = 0; i < count; ++i) {
        JournalEntry e;
        std::uint16_t nameSize = 0;
        std::uint64_t sizeBefore = 0, offset = 0;
        std::uint32_t beforeSize = 0;
        std::span<const std::uint8_t> name, before;
        if (!body.Get(nameSize) || !body.Bytes(nameSize, name) || !body.Get(sizeBefore) ||
            !body.Get(offset) || !body.Get(beforeSize) || !body.Bytes(beforeSize, before))
            return JournalState::kTorn;
        e.file.assign(name.begin(), name.end());
        e.sizeBefore = static_cast<std::int64_t>(sizeBefore);
        e.offset = static_cast<std::int64_t>(offset);
        e.before.assign(before.begin(), before.end());
        journal.entries.push_back(std::move(e));
    }
    return JournalState::kValid;
}

fs::path JournalPath(const std::string& dataPath) {
    return DataFile(dataPath, kJournalFile);
}

void RollBack(const std::string& dataPath, const Journal& journal) {
    // One handle per file; the smallest size a file had before the command is the one it returns
    // to.
    std::map<std::string, std::pair<platform::NativeFile, std::int64_t>> files;
    for (const JournalEntry& e : journal.entries) {
        auto [it, added] = files.try_emplace(e.file);
        if (added) {
            it->second.second = e.sizeBefore;
            if (const int err = it->second.first.Open(DataFile(dataPath, e.file),
                                                      platform::OpenMode::kReadWrite))
                Fail(err, dataPath + e.file);
        }
        it->second.second = std::min(it->second.second, e.sizeBefore);
    }
    NoteFilesChanged();
    for (auto e = journal.entries.rbegin(); e != journal.entries.rend(); ++e) {
        if (e->before.empty()) continue;
        if (const int err = files[e->file].first.WriteAt(e->before.data(), e->before.size(),
                                                         static_cast<std::uint64_t>(e->offset)))
            Fail(err, dataPath + e->file);
    }
    for (auto& [name, f] : files) {
        std::uint64_t size = 0;
        int err = f.first.Size(size);
        if (!err && size > static_cast<std::uint64_t>(f.second))
            err = f.first.Truncate(static_cast<std::uint64_t>(f.second));
        if (!err) err = f.first.Sync();
        if (!err) err = f.first.Close();
        if (err) Fail(err, dataPath + name);
    }
    NoteFilesChanged();
}

std::vector<std::string> DescribeRecords(const std::string& dataPath,
                                         const std::vector<JournalEntry>& entries) {
    // The blocks of staff.dat, so that a player's or staff member's attributes are named as such.
    struct Block {
        std::int64_t from, to;
        int size;
        const char* what;
    };
    std::vector<Block> blocks;
    try {
        const std::vector<std::uint8_t> body = ReadIndexEntries(dataPath);
        std::vector<std::int64_t> starts;
        IndexEntry entry;
        for (std::size_t at = 0; at + IndexEntry::kSize <= body.size(); at += IndexEntry::kSize) {
            std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(at), IndexEntry::kSize,
                        entry.bytes.begin());
            starts.push_back(entry.Get(IndexEntry::BlockOffset));
            const int type = entry.Get(IndexEntry::BlockType);
            if (type == kPlayerBlockType)
                blocks.push_back({starts.back(), 0, PlayerRecord::kSize, "player record"});
            else if (type == kNonPlayerBlockType)
                blocks.push_back({starts.back(), 0, NonPlayerRecord::kSize, "non-player record"});
        }
        for (Block& b : blocks) {
            b.to = INT64_MAX;
            for (std::int64_t s : starts)
                if (s > b.from) b.to = std::min(b.to, s);
        }
    } catch (const std::exception&) {
        blocks.clear();  // no index.dat to go by: staff.dat is named by its person records
    }

    std::vector<std::string> out;
    auto add = [&](std::string text) {
        if (std::find(out.begin(), out.end(), text) == out.end()) out.push_back(std::move(text));
    };
    for (const JournalEntry& e : entries) {
        const std::string name = Bare(e.file);
        const std::int64_t length =
            std::max<std::int64_t>(static_cast<std::int64_t>(e.before.size()), 1);
        bool named = false;
        if (e.file == kStaffFile) {
            for (const Block& b : blocks)
                if (e.offset >= b.from && e.offset < b.to && (e.offset - b.from) % b.size == 0) {
                    add(name + " " + b.what + " " + std::to_string((e.offset - b.from) / b.size));
                    named = true;
                }
        }
        if (named) continue;
        int recordSize = 0;
        for (const DataFileInfo& f : kDataFiles)
            if (f.name == e.file) recordSize = f.recordSize;
        if (recordSize > 0 && e.offset % recordSize == 0 && length <= recordSize)
            add(name + " record " + std::to_string(e.offset / recordSize));
        else
            add(name + " bytes " + std::to_string(e.offset) + "-" +
                std::to_string(e.offset + length - 1));
    }
    return out;
}

std::string DescribeRange(const std::string& dataPath, const std::string& file, std::int64_t offset,
                          std::size_t length) {
    const std::vector<std::string> names =
        DescribeRecords(dataPath, {{file, 0, offset, std::vector<std::uint8_t>(length)}});
    return names.empty() ? Bare(file) : names.front();
}

std::string Recovery::Notice() const {
    std::string list;
    for (std::size_t i = 0; i < records.size(); ++i) list += (i ? ", " : "") + records[i];
    const std::string what = label.empty() ? std::string("a change") : "\"" + label + "\"";
    switch (outcome) {
        case Outcome::kRolledBack:
            return "The last change to these files, " + what +
                   ", was interrupted before it was complete. It has been undone: these records "
                   "are as they were before it: " +
                   list + ".";
        case Outcome::kReadOnly:
            return "The last change to these files, " + what +
                   ", was interrupted before it was complete, and it cannot be undone because the "
                   "data directory cannot be written. Nothing was changed; the files are open for "
                   "reading only and may show that change half made (" +
                   list + ").";
        case Outcome::kRefused:
            return "The data directory holds " + Bare(kJournalFile) +
                   ", which this editor cannot have written: " + problem +
                   ". It was not obeyed and nothing was changed; the files are open for reading "
                   "only. If you did not make it (it may have come with files from elsewhere), "
                   "move " +
                   Bare(kJournalFile) + " out of the folder, then load the data again.";
        case Outcome::kNothing:
        case Outcome::kTorn:
            break;
    }
    return {};
}

namespace {

// The longest journal a commit to the folder's files could write: every byte of every data file
// as a before-image, twice over, and room for the names and the label. A journal longer than that
// (or saying so) is not read at all.
std::uint64_t JournalBound(const std::string& dataPath) {
    std::uint64_t total = 0;
    for (std::string_view name : kAttributeList) {
        std::uint64_t size = 0;
        if (!platform::FileSize(DataFile(dataPath, name), size)) total += size;
    }
    return 2 * total + (1u << 20);
}

// A name as a notice can show it: printable ASCII kept, anything else as '?'.
std::string Shown(std::string_view name) {
    std::string out;
    for (char ch : name.substr(0, 80)) out += ch >= 0x20 && ch < 0x7F ? ch : '?';
    return out;
}

// The data set's name of an entry's file ("\staff.dat"), or "" when it names anything else: a
// path, a parent, a drive, a file outside the data set.
std::string_view DataSetName(std::string_view entry) {
    if (entry.size() < 2 || entry.front() != '\\') return {};
    const std::string_view plain = entry.substr(1);
    if (plain.find_first_of("\\/:") != std::string_view::npos) return {};
    for (std::string_view name : kAttributeList)
        if (platform::EqualNoCase(name.substr(1), plain)) return name;
    return {};
}

}  // namespace

std::string JournalProblem(const std::string& dataPath, const Journal& journal) {
    struct FileState {
        std::int64_t sizeNow = 0, sizeBefore = 0;
        bool restored = false;  // an image reaches the size before from inside the file now
    };
    std::map<std::string, FileState> files;
    for (const JournalEntry& e : journal.entries) {
        const std::string_view name = DataSetName(e.file);
        if (name.empty())
            return "it names \"" + Shown(e.file) + "\", which is not one of the data files";
        const std::string bare = Bare(name);
        auto [it, added] = files.try_emplace(e.file);
        FileState& f = it->second;
        if (added) {
            const fs::path path = DataFile(dataPath, name);
            if (platform::KindOf(path) == platform::EntryKind::kMissing)
                return "it names " + bare + ", which is not in the folder";
            std::uint64_t size = 0;
            if (platform::FileSize(path, size))
                return "it names " + bare + ", which cannot be read";
            f.sizeNow = static_cast<std::int64_t>(size);
            f.sizeBefore = e.sizeBefore;
        }
        const auto length = static_cast<std::int64_t>(e.before.size());
        if (e.sizeBefore < 0 || e.offset < 0 || e.offset > e.sizeBefore - length)
            return "it holds bytes of " + bare + " at " +
                   std::to_string(static_cast<std::uint64_t>(e.offset)) +
                   ", past the size it gives that file before the change (" +
                   std::to_string(static_cast<std::uint64_t>(e.sizeBefore)) + " bytes)";
        if (e.sizeBefore != f.sizeBefore)
            return "it gives " + bare + " two different sizes before the change";
        if (e.offset > f.sizeNow)
            return "it holds bytes of " + bare + " at " + std::to_string(e.offset) +
                   ", past the end of the file (" + std::to_string(f.sizeNow) + " bytes)";
        if (e.offset + length == e.sizeBefore) f.restored = true;
    }
    for (const auto& [file, f] : files) {
        if (f.sizeBefore == 0 && f.sizeNow > 0) return "it would empty " + Bare(file);
        // A file smaller now than before the change is one whose end the change cut off; the
        // journal must then hold that end, or putting the size back would make up bytes.
        if (f.sizeBefore > f.sizeNow && !f.restored)
            return "it gives " + Bare(file) + " a size of " + std::to_string(f.sizeBefore) +
                   " bytes before the change, but the file has only " + std::to_string(f.sizeNow) +
                   " and the journal does not hold the rest";
    }
    return {};
}

Recovery RecoverJournal(const std::string& dataPath) {
    Recovery r;
    const fs::path path = JournalPath(dataPath);
    if (platform::KindOf(path) == platform::EntryKind::kMissing) return r;
    // Only the lock's holder may roll back: a journal of a commit still under way is not an
    // interrupted one. Once the lock is ours, the writer has finished or died.
    const WriteLock lock(dataPath, false);
    const platform::EntryKind kind = platform::KindOf(path);
    if (kind == platform::EntryKind::kMissing) return r;
    const std::string pathText = dataPath + std::string(kJournalFile);
    auto refuse = [&r](std::string problem) {
        r.outcome = Recovery::Outcome::kRefused;
        r.problem = std::move(problem);
        return r;
    };
    if (kind == platform::EntryKind::kDirectory) return refuse("it is a folder, not a file");
    if (kind == platform::EntryKind::kLink) return refuse("it is a link to another file");
    if (kind == platform::EntryKind::kOther)
        return refuse("it is not a plain file (a pipe or a device)");

    std::vector<std::uint8_t> bytes;
    JournalState state = JournalState::kTorn;
    Journal journal;
    {
        platform::NativeFile f;
        std::uint64_t size = 0;
        if (int err = f.Open(path, platform::OpenMode::kReadRegular)) {
            if (err == EINVAL || err == ELOOP) return refuse("it is not a plain file");
            Fail(err, pathText);
        }
        if (int err = f.Size(size)) Fail(err, pathText);
        const std::uint64_t bound = JournalBound(dataPath);
        if (size > bound)
            return refuse("it is " + std::to_string(size) +
                          " bytes long, more than any change to these files could write");
        // The header first: a length other than the file's is a torn journal, judged without
        // reading the rest.
        std::array<std::uint8_t, kHeaderSize> head{};
        std::size_t got = 0;
        if (int err = f.ReadAt(head.data(), head.size(), 0, got)) Fail(err, pathText);
        std::uint64_t stated = 0;
        Reader(std::span(head).subspan(16)).Get(stated);
        const bool magic =
            got == head.size() && std::equal(kMagic.begin(), kMagic.end(), head.begin());
        if (magic && stated > bound)
            return refuse("it says it is " + std::to_string(stated) +
                          " bytes long, more than any change to these files could write");
        if (magic && stated == size) {
            bytes.resize(static_cast<std::size_t>(size));
            if (int err = f.ReadAt(bytes.data(), bytes.size(), 0, got)) Fail(err, pathText);
            bytes.resize(got);
            state = DecodeJournal(bytes, journal);
        }
    }
    if (state == JournalState::kNewerVersion)
        throw EDataError("The data directory holds " + Bare(kJournalFile) +
                         " from a newer version of the editor: an interrupted change that this "
                         "version cannot undo. Nothing was changed; open the directory with the "
                         "newer version first.");
    if (state == JournalState::kValid) {
        r.label = journal.label;
        std::string problem = JournalProblem(dataPath, journal);
        if (!problem.empty()) return refuse(std::move(problem));
        r.records = DescribeRecords(dataPath, journal.entries);
    }

    // Whether every file can be written, before anything is: a read-only directory stays as it is.
    bool readOnly = false;
    {
        platform::NativeFile probe;
        int err = probe.Open(path, platform::OpenMode::kReadWrite);
        for (std::size_t i = 0; !err && i < journal.entries.size(); ++i)
            err = probe.Open(DataFile(dataPath, journal.entries[i].file),
                             platform::OpenMode::kReadWrite);
        if (err && IsReadOnlyError(err)) readOnly = true;
    }
    if (readOnly) {
        r.outcome = state == JournalState::kTorn ? Recovery::Outcome::kNothing
                                                 : Recovery::Outcome::kReadOnly;
        return r;
    }

    if (state == JournalState::kValid) RollBack(dataPath, journal);
    // A directory whose files can be written but whose entries cannot: an empty journal is a torn
    // one, which the next load discards, so emptying it does as well as deleting it.
    if (int err = platform::RemoveFile(path)) {
        platform::NativeFile f;
        if (!f.Open(path, platform::OpenMode::kReadWrite)) err = f.Truncate(0);
        if (!err) err = f.Sync();
        if (err) Fail(err, pathText);
    }
    (void)platform::SyncDirectory(path.parent_path());
    r.outcome =
        state == JournalState::kValid ? Recovery::Outcome::kRolledBack : Recovery::Outcome::kTorn;
    return r;
}

}  // namespace vh::db
