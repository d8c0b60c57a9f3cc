// The player and non-player blocks inside staff.dat. index.dat (after its 8-byte header) lists
// the blocks: BlockType 10 is the player block (of PlayerRecords), 8 the non-player block (of
// NonPlayerRecords).
// The editor stages the record it edits in scratch files of the data directory (index2.dat,
// player.dat, nonplayer.dat) that users and the exit clean-up see; the copies are made with bulk
// reads and writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "database/records/data_def.h"
#include "database/records/index_file.h"
#include "database/records/record_file.h"
#include "database/write/write_set.h"

namespace vh::db {

// The scratch files this run created, so that the exit clean-up deletes exactly those.
class ScratchFiles {
  public:
    void Created(const std::filesystem::path& p) { created_.insert(p); }
    const std::set<std::filesystem::path>& All() const { return created_; }
    // Deletes every scratch file created that still exists; returns how many could not be deleted.
    int DeleteAll();

    // For a data directory loaded read-only, where no scratch file can be created: the loads
    // read index.dat and the record straight into memory (the same records, the same refusals)
    // and create nothing; the write-backs are refused with "File access denied" (staff.dat).
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool IsReadOnly() const { return readOnly_; }

  private:
    std::set<std::filesystem::path> created_;
    bool readOnly_ = false;
};

// Removes the scratch files an editor that was killed left in the data directory (each is made
// afresh whenever it is needed). Failures are left for the next load.
void RemoveLeftScratch(const std::string& dataPath);

// Where one record of a block lies in staff.dat.
struct BlockPlace {
    std::int32_t blockOffset = 0;  // BlockOffset of the block's index entry
    std::int64_t blockEnd = 0;     // first byte after the block
    std::int32_t index = -1;       // record number within the block
    std::int64_t ByteOffset(int recordSize) const {
        return static_cast<std::int64_t>(blockOffset) +
               static_cast<std::int64_t>(index) * recordSize;
    }
};

// The block of that type as index.dat's entries (without the header) place it in a staff.dat of
// `staffSize` bytes: at the offset of the first entry of that type, ending where the next block
// (by offset) starts or at the end of the file. nullopt when no whole entry has that type.
std::optional<BlockPlace> LocateBlock(std::span<const std::uint8_t> entries, std::int64_t staffSize,
                                      int blockType);
// Whether record `index` of `recordSize` bytes lies inside the block, and the block inside the
// file: a damaged index.dat that puts a block before the file's start must not aim at the
// person records.
bool InBlock(const BlockPlace& block, std::int64_t index, int recordSize);

// Where the person records of staff.dat end, by the entries of index.dat (without its header):
// at the lowest BlockOffset above 0 that an entry names, whatever its type. An entry at offset 0
// ends nothing (another generator may describe the person records themselves so); a partial
// entry at the end is no entry. -1 when no entry names an offset above 0: the persons fill the
// file.
std::int64_t PersonRecordsEnd(std::span<const std::uint8_t> entries);
// The same, read from the data directory's index.dat; -1 also when index.dat is missing or
// shorter than its header.
std::int64_t PersonRecordsEnd(const std::string& dataPath);
// The whole person records of a staff.dat of `staffBytes` bytes whose persons end at `end`
// (-1: at the end of the file).
std::int64_t PersonRecordCount(std::int64_t staffBytes, std::int64_t end);
// The whole person records of the data directory's staff.dat, open in `staff` (reset to person
// records on return), by its index.dat.
std::int64_t PersonRecordCount(RecordFile& staff, const std::string& dataPath);

// Rebuilds index2.dat from index.dat (not when `scratch` is read-only) and finds the block of
// that type; no such entry throws "Read beyond end of file" naming index.dat. The block ends
// where the next block (by offset) starts, or at the end of staff.dat.
BlockPlace FindBlock(const std::string& dataPath, int blockType, ScratchFiles& scratch);

// Loads the owner's record of a block: locates the block, refuses an index outside it
// (EDataError "This person has no player record" / "... no staff record"), stages the record's
// bytes in player.dat / nonplayer.dat and reads it from there.
PlayerRecord GetPlayerData(const std::string& dataPath, std::int32_t playerIndex, BlockPlace& place,
                           ScratchFiles& scratch);
NonPlayerRecord GetNonPlayerData(const std::string& dataPath, std::int32_t nonPlayerIndex,
                                 BlockPlace& place, ScratchFiles& scratch);

// Stages the record in its scratch file and adds its bytes, at the place it was read from (the
// owner's index, whatever the record's own Id says), to `set`: the person's save commits them
// together with the person record. Nothing else of staff.dat changes. `read`, when given, is the
// record as it was read: the commit writes nothing when staff.dat no longer holds it.
void PutPlayerData(const std::string& dataPath, const PlayerRecord& rec, const BlockPlace& place,
                   ScratchFiles& scratch, WriteSet& set, const PlayerRecord* read = nullptr);
void PutNonPlayerData(const std::string& dataPath, const NonPlayerRecord& rec,
                      const BlockPlace& place, ScratchFiles& scratch, WriteSet& set,
                      const NonPlayerRecord* read = nullptr);
// The same, committed on its own.
void PutPlayerData(const std::string& dataPath, const PlayerRecord& rec, const BlockPlace& place,
                   ScratchFiles& scratch);
void PutNonPlayerData(const std::string& dataPath, const NonPlayerRecord& rec,
                      const BlockPlace& place, ScratchFiles& scratch);

inline constexpr const char* kNoPlayerRecord = "This person has no player record";
inline constexpr const char* kNoStaffRecord = "This person has no staff record";

}  // namespace vh::db
