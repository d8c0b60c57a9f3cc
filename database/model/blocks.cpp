#include "database/model/blocks.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/records/record_file.h"
#include "platform/files.h"

namespace vh::db {

int ScratchFiles::DeleteAll() {
    int failed = 0;
    for (const auto& p : created_) {
        if (platform::Exists(p) && platform::RemoveFile(p) != 0) ++failed;
    }
    created_.clear();
    return failed;
}

void RemoveLeftScratch(const std::string& dataPath) {
    for (std::string_view name : {kIndex2File, kPlayerScratch, kNonPlayerScratch}) {
        const auto path = platform::ResolveCase(platform::NativePath(dataPath + std::string(name)));
        if (platform::KindOf(path) == platform::EntryKind::kFile) (void)platform::RemoveFile(path);
    }
}

namespace {

RecordFile Bound(const std::string& dataPath, std::string_view name) {
    RecordFile f;
    f.Bind(dataPath + std::string(name));
    return f;
}

// Opens a scratch file (the editor's own, never game data, so written directly rather than through
// the write set) that is then written with `size` bytes from its start, leaving it as a
// rewrite would: created when missing, holding exactly those bytes. One that already holds `size`
// bytes is written over in place rather than emptied first: emptying a file whose previous bytes
// are still being written out makes the file system wait for them, milliseconds on every search.
void CreateScratch(RecordFile& f, int recordSize, std::uint64_t size, ScratchFiles& scratch) {
    bool sameSize = false;
    try {
        f.Reset(1);
        sameSize = static_cast<std::uint64_t>(f.RecordCount()) == size;
    } catch (const EInOutError&) {
        sameSize = false;  // missing, or not to be opened for writing: the rewrite says why
    }
    if (sameSize)
        f.Reset(recordSize);
    else
        f.Rewrite(recordSize);
    scratch.Created(f.OpenedPath());
}

void CheckIndex(const BlockPlace& place, int recordSize, const char* refusal) {
    if (!InBlock(place, place.index, recordSize)) throw EDataError(refusal);
}

template <class R>
R Stage(const std::string& dataPath, std::string_view scratchName, const BlockPlace& place,
        ScratchFiles& scratch) {
    RecordFile staff = Bound(dataPath, kStaffFile);
    staff.Reset(1, Access::kReadOnly);
    staff.Seek(place.ByteOffset(static_cast<int>(R::kSize)));
    R rec;
    staff.Read(rec.bytes.data(), static_cast<std::int64_t>(R::kSize));
    staff.Close();
    if (scratch.IsReadOnly()) return rec;

    RecordFile stage = Bound(dataPath, scratchName);
    CreateScratch(stage, static_cast<int>(R::kSize), R::kSize, scratch);
    stage.Write(rec.bytes);
    stage.Reset(static_cast<int>(R::kSize));
    R staged;
    stage.Read(staged.bytes);
    stage.Close();
    return staged;
}

template <class R>
void WriteBack(const std::string& dataPath, std::string_view scratchName, const R& rec,
               const BlockPlace& place, const char* refusal, ScratchFiles& scratch, WriteSet& set,
               const R* read) {
    CheckIndex(place, static_cast<int>(R::kSize), refusal);
    if (scratch.IsReadOnly()) throw EInOutError(kAccessDenied, dataPath + std::string(kStaffFile));
    // The scratch copy is the editor's own file, not game data: it is written directly. staff.dat
    // changes only through the write set.
    RecordFile stage = Bound(dataPath, scratchName);
    CreateScratch(stage, static_cast<int>(R::kSize), R::kSize, scratch);
    stage.Write(rec.bytes);
    stage.Reset(1);
    R staged;
    stage.Read(staged.bytes.data(), static_cast<std::int64_t>(R::kSize));
    stage.Close();
    const std::int64_t at = place.ByteOffset(static_cast<int>(R::kSize));
    if (read)
        set.Put(kStaffFile, at, staged.bytes, read->bytes);
    else
        set.Put(kStaffFile, at, staged.bytes);
}

}  // namespace

std::optional<BlockPlace> LocateBlock(std::span<const std::uint8_t> entries, std::int64_t staffSize,
                                      int blockType) {
    // A partial entry at the end is no entry.
    std::vector<std::int32_t> offsets;
    std::optional<std::int32_t> found;
    for (std::size_t at = 0; at + IndexEntry::kSize <= entries.size(); at += IndexEntry::kSize) {
        offsets.push_back(IndexEntry::BlockOffset.Read(entries.data() + at));
        if (!found && IndexEntry::BlockType.Read(entries.data() + at) == blockType)
            found = offsets.back();
    }
    if (!found) return std::nullopt;
    BlockPlace place;
    place.blockOffset = *found;
    place.blockEnd = staffSize;
    for (std::int32_t o : offsets)
        if (o > place.blockOffset) place.blockEnd = std::min<std::int64_t>(place.blockEnd, o);
    return place;
}

bool InBlock(const BlockPlace& block, std::int64_t index, int recordSize) {
    return index >= 0 && block.blockOffset >= 0 &&
           block.blockOffset + index * recordSize + recordSize <= block.blockEnd;
}

std::int64_t PersonRecordsEnd(std::span<const std::uint8_t> entries) {
    std::int64_t end = -1;
    for (std::size_t at = 0; at + IndexEntry::kSize <= entries.size(); at += IndexEntry::kSize) {
        const std::int32_t offset = IndexEntry::BlockOffset.Read(entries.data() + at);
        if (offset > 0 && (end < 0 || offset < end)) end = offset;
    }
    return end;
}

std::int64_t PersonRecordsEnd(const std::string& dataPath) {
    try {
        return PersonRecordsEnd(ReadIndexEntries(dataPath));
    } catch (const EInOutError& e) {
        if (e.Code() == kFileNotFound || e.Code() == kReadBeyondEnd) return -1;
        throw;
    }
}

std::int64_t PersonRecordCount(std::int64_t staffBytes, std::int64_t end) {
    return (end < 0 ? staffBytes : std::min(staffBytes, end)) /
           static_cast<std::int64_t>(StaffRecord::kSize);
}

std::int64_t PersonRecordCount(RecordFile& staff, const std::string& dataPath) {
    const std::int64_t end = PersonRecordsEnd(dataPath);
    staff.Reset(StaffRecord::kSize);
    return PersonRecordCount(staff.RecordCount() * static_cast<std::int64_t>(StaffRecord::kSize),
                             end);
}

BlockPlace FindBlock(const std::string& dataPath, int blockType, ScratchFiles& scratch) {
    const std::vector<std::uint8_t> body = ReadIndexEntries(dataPath);
    if (!scratch.IsReadOnly()) {
        // index2.dat = index.dat without its header, so that it reads as whole entries. A scratch
        // file of the editor's own, not game data: written directly.
        RecordFile index2 = Bound(dataPath, kIndex2File);
        CreateScratch(index2, 1, body.size(), scratch);
        index2.Write(body.data(), static_cast<std::int64_t>(body.size()));
        index2.Close();
    }

    // The entries are walked from memory in both modes, so a read-only load finds the same
    // block.
    RecordFile staff = Bound(dataPath, kStaffFile);
    staff.Reset(1, Access::kReadOnly);
    const std::int64_t staffSize = staff.RecordCount();
    staff.Close();
    const std::optional<BlockPlace> place = LocateBlock(body, staffSize, blockType);
    // Named after the file the user has, not the scratch copy.
    if (!place) throw EInOutError(kReadBeyondEnd, dataPath + std::string(kIndexFile));
    return *place;
}

PlayerRecord GetPlayerData(const std::string& dataPath, std::int32_t playerIndex, BlockPlace& place,
                           ScratchFiles& scratch) {
    BlockPlace p = FindBlock(dataPath, kPlayerBlockType, scratch);
    p.index = playerIndex;
    CheckIndex(p, PlayerRecord::kSize, kNoPlayerRecord);
    PlayerRecord rec = Stage<PlayerRecord>(dataPath, kPlayerScratch, p, scratch);
    place = p;
    return rec;
}

NonPlayerRecord GetNonPlayerData(const std::string& dataPath, std::int32_t nonPlayerIndex,
                                 BlockPlace& place, ScratchFiles& scratch) {
    BlockPlace p = FindBlock(dataPath, kNonPlayerBlockType, scratch);
    p.index = nonPlayerIndex;
    CheckIndex(p, NonPlayerRecord::kSize, kNoStaffRecord);
    NonPlayerRecord rec = Stage<NonPlayerRecord>(dataPath, kNonPlayerScratch, p, scratch);
    place = p;
    return rec;
}

void PutPlayerData(const std::string& dataPath, const PlayerRecord& rec, const BlockPlace& place,
                   ScratchFiles& scratch, WriteSet& set, const PlayerRecord* read) {
    WriteBack(dataPath, kPlayerScratch, rec, place, kNoPlayerRecord, scratch, set, read);
}

void PutNonPlayerData(const std::string& dataPath, const NonPlayerRecord& rec,
                      const BlockPlace& place, ScratchFiles& scratch, WriteSet& set,
                      const NonPlayerRecord* read) {
    WriteBack(dataPath, kNonPlayerScratch, rec, place, kNoStaffRecord, scratch, set, read);
}

void PutPlayerData(const std::string& dataPath, const PlayerRecord& rec, const BlockPlace& place,
                   ScratchFiles& scratch) {
    WriteSet set("Save of a player record");
    PutPlayerData(dataPath, rec, place, scratch, set);
    Commit(dataPath, set);
}

void PutNonPlayerData(const std::string& dataPath, const NonPlayerRecord& rec,
                      const BlockPlace& place, ScratchFiles& scratch) {
    WriteSet set("Save of a non-player record");
    PutNonPlayerData(dataPath, rec, place, scratch, set);
    Commit(dataPath, set);
}

}  // namespace vh::db
