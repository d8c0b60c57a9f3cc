// The player and non-player blocks of staff.dat, on a data directory written byte by byte:
// three person records, then the player block (three records), the non-player block (two) and
// a block of another kind, listed in index.dat out of offset order.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "database/model/blocks.h"
#include "database/records/errors.h"
#include "platform/fault.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

namespace fs = std::filesystem;
namespace fault = platform::fault;
using test::Bytes;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr std::int32_t kPlayerBlock = 471;     // after three 157-byte person records
constexpr std::int32_t kNonPlayerBlock = 681;  // after three 70-byte player records
constexpr std::int32_t kOtherBlock = 817;      // after two 68-byte non-player records
constexpr std::size_t kStaffSize = 917;        // the other block holds 100 bytes

Bytes Pattern(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 13 + seed);
    return b;
}

// Every record of a block starts with its own number, as in consistent data.
Bytes StaffFile() {
    Bytes b = Pattern(kStaffSize, 7);
    for (std::int32_t n = 0; n < 3; ++n) test::PutI32(b, static_cast<std::size_t>(n) * 157, n);
    for (std::int32_t n = 0; n < 3; ++n) test::PutI32(b, kPlayerBlock + n * 70, n);
    for (std::int32_t n = 0; n < 2; ++n) test::PutI32(b, kNonPlayerBlock + n * 68, n);
    return b;
}

// index.dat: an 8-byte header, then 67-byte entries with BlockType at 51 and BlockOffset at 59.
Bytes IndexFile(const std::vector<std::pair<std::int32_t, std::int32_t>>& typeAndOffset) {
    Bytes b = {0xDE, 0xAD, 0xBE, 0xEF, 10, 8, 10, 8};
    for (const auto& [type, offset] : typeAndOffset) {
        Bytes e = Pattern(67, static_cast<unsigned>(type * 31));
        test::PutI32(e, 51, type);
        test::PutI32(e, 59, offset);
        b.insert(b.end(), e.begin(), e.end());
    }
    return b;
}

const std::vector<std::pair<std::int32_t, std::int32_t>> kAllBlocks = {
    {8, kNonPlayerBlock}, {3, kOtherBlock}, {10, kPlayerBlock}};

Bytes Slice(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
                 b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

struct DataDir {
    TempDir dir;
    Bytes staff = StaffFile();
    Bytes index = IndexFile(kAllBlocks);
    DataDir() { Write(); }
    void Write() {
        WriteFile(dir / "staff.dat", staff);
        WriteFile(dir / "index.dat", index);
    }
    std::string Path() const { return dir.Str(); }
    Bytes Read(const char* name) const { return ReadFile(dir / name); }
    Bytes IndexBody() const { return Slice(index, 8, index.size() - 8); }
};

struct PlayerBlock {
    using Record = PlayerRecord;
    static constexpr std::size_t kSize = 70;
    static constexpr std::int32_t kOffset = kPlayerBlock;
    static constexpr std::int32_t kCount = 3;
    static constexpr const char* kScratch = "player.dat";
    static constexpr const char* kRefusal = "This person has no player record";
    static Record Get(const std::string& path, std::int32_t index, BlockPlace& place,
                      ScratchFiles& scratch) {
        return GetPlayerData(path, index, place, scratch);
    }
    static void Put(const std::string& path, const Record& rec, const BlockPlace& place,
                    ScratchFiles& scratch) {
        PutPlayerData(path, rec, place, scratch);
    }
};

struct NonPlayerBlock {
    using Record = NonPlayerRecord;
    static constexpr std::size_t kSize = 68;
    static constexpr std::int32_t kOffset = kNonPlayerBlock;
    static constexpr std::int32_t kCount = 2;
    static constexpr const char* kScratch = "nonplayer.dat";
    static constexpr const char* kRefusal = "This person has no staff record";
    static Record Get(const std::string& path, std::int32_t index, BlockPlace& place,
                      ScratchFiles& scratch) {
        return GetNonPlayerData(path, index, place, scratch);
    }
    static void Put(const std::string& path, const Record& rec, const BlockPlace& place,
                    ScratchFiles& scratch) {
        PutNonPlayerData(path, rec, place, scratch);
    }
};

template <class B>
Bytes RecordAt(const Bytes& staff, std::int32_t index) {
    return Slice(staff, static_cast<std::size_t>(B::kOffset + index * std::int32_t{B::kSize}),
                 B::kSize);
}

template <class R>
Bytes BytesOf(const R& rec) {
    return Bytes(rec.bytes.begin(), rec.bytes.end());
}

// What an editor does before saving: every byte after the Id changed.
template <class R>
R Edited(R rec) {
    for (std::size_t i = 4; i < rec.bytes.size(); ++i) rec.bytes[i] ^= 0xFF;
    return rec;
}

// The calls that move data; a failed look-up of a name's case only falls back to the name.
constexpr unsigned kFileIo = fault::kOpen | fault::kRead | fault::kWrite | fault::kClose;

template <class B>
class Blocks : public ::testing::Test {};
using BlockKinds = ::testing::Types<PlayerBlock, NonPlayerBlock>;
TYPED_TEST_SUITE(Blocks, BlockKinds);

TEST(FindBlock, BlockEndsWhereTheNextBlockByOffsetStartsOrAtTheEndOfStaff) {
    DataDir d;
    ScratchFiles scratch;
    const std::vector<std::tuple<int, std::int32_t, std::int64_t>> cases = {
        {10, kPlayerBlock, kNonPlayerBlock},
        {8, kNonPlayerBlock, kOtherBlock},
        {3, kOtherBlock, static_cast<std::int64_t>(kStaffSize)}};
    for (const auto& [type, offset, end] : cases) {
        const BlockPlace place = FindBlock(d.Path(), type, scratch);
        EXPECT_EQ(place.blockOffset, offset) << "type " << type;
        EXPECT_EQ(place.blockEnd, end) << "type " << type;
        EXPECT_EQ(d.Read("index2.dat"), d.IndexBody());
    }
}

TYPED_TEST(Blocks, StagingHoldsExactlyTheBlockBytesAndIsRedoneOnEveryLoad) {
    using B = TypeParam;
    DataDir d;
    ScratchFiles scratch;
    for (std::int32_t index = B::kCount - 1; index >= 0; --index) {
        SCOPED_TRACE(index);
        // Whatever a previous load left, shorter, longer or as long, the next one rebuilds both
        // scratch files.
        const std::size_t indexSize = index % 2 ? 5 : d.IndexBody().size();
        WriteFile(d.dir / "index2.dat", Bytes(indexSize, 0xEE));
        WriteFile(d.dir / B::kScratch, Bytes(B::kSize + (index % 3 ? 3 : 0), 0xEE));
        BlockPlace place;
        const auto rec = B::Get(d.Path(), index, place, scratch);
        EXPECT_EQ(BytesOf(rec), RecordAt<B>(d.staff, index));
        EXPECT_EQ(d.Read(B::kScratch), RecordAt<B>(d.staff, index));
        EXPECT_EQ(d.Read("index2.dat"), d.IndexBody());
        EXPECT_EQ(place.blockOffset, B::kOffset);
        EXPECT_EQ(place.index, index);
    }
    EXPECT_EQ(d.Read("staff.dat"), d.staff);
    EXPECT_EQ(d.Read("index.dat"), d.index);
}

TYPED_TEST(Blocks, WriteBackReplacesOnlyTheRecordWhereItWasRead) {
    using B = TypeParam;
    DataDir d;
    // Record 0 names itself 1: inconsistent data, still written back at the owner's place.
    test::PutI32(d.staff, B::kOffset, 1);
    d.Write();
    ScratchFiles scratch;
    for (const std::int32_t index : {B::kCount - 1, 0}) {
        SCOPED_TRACE(index);
        BlockPlace place;
        const auto rec = Edited(B::Get(d.Path(), index, place, scratch));
        B::Put(d.Path(), rec, place, scratch);
        Bytes want = d.staff;
        std::copy(rec.bytes.begin(), rec.bytes.end(),
                  want.begin() + B::kOffset + index * std::int32_t{B::kSize});
        EXPECT_EQ(d.Read("staff.dat"), want);
        EXPECT_EQ(d.Read(B::kScratch), BytesOf(rec));
        EXPECT_EQ(d.Read("index.dat"), d.index);
        d.staff = want;
    }
}

TYPED_TEST(Blocks, IndexOutsideTheBlockIsRefusedAndChangesNothing) {
    using B = TypeParam;
    DataDir d;
    ScratchFiles scratch;
    BlockPlace place;
    const auto rec = B::Get(d.Path(), 0, place, scratch);
    const auto before = test::Snapshot(d.dir.Path());
    // B::kCount is the first record of the next block: inside staff.dat, outside this block.
    for (const std::int32_t index : {-1, std::numeric_limits<std::int32_t>::min(), B::kCount,
                                     std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(index);
        BlockPlace kept = place;
        try {
            B::Get(d.Path(), index, kept, scratch);
            ADD_FAILURE() << "loaded";
        } catch (const EDataError& e) {
            EXPECT_STREQ(e.what(), B::kRefusal);
        }
        EXPECT_EQ(kept.index, 0);
        BlockPlace bad = place;
        bad.index = index;
        try {
            B::Put(d.Path(), rec, bad, scratch);
            ADD_FAILURE() << "written";
        } catch (const EDataError& e) {
            EXPECT_STREQ(e.what(), B::kRefusal);
        }
        EXPECT_EQ(test::Snapshot(d.dir.Path()), before);
    }
    // A place never filled by a load is refused too.
    EXPECT_THROW(B::Put(d.Path(), rec, BlockPlace{}, scratch), EDataError);
    EXPECT_EQ(test::Snapshot(d.dir.Path()), before);
}

TEST(Blocks, LastBlockEndsAtTheEndOfStaff) {
    DataDir d;
    d.index = IndexFile({{8, kNonPlayerBlock}, {10, kPlayerBlock}});
    d.Write();
    ScratchFiles scratch;
    BlockPlace place;
    // Record 2 lies in the bytes that used to be the other block, record 3 runs past the end.
    EXPECT_EQ(BytesOf(GetNonPlayerData(d.Path(), 2, place, scratch)),
              RecordAt<NonPlayerBlock>(d.staff, 2));
    EXPECT_EQ(place.blockEnd, static_cast<std::int64_t>(kStaffSize));
    EXPECT_THROW(GetNonPlayerData(d.Path(), 3, place, scratch), EDataError);
}

// A block said to start before staff.dat would put its first records over the person records.
TEST(Blocks, BlockStartingBeforeStaffHoldsNoRecord) {
    DataDir d;
    d.index = IndexFile({{8, kNonPlayerBlock}, {10, -70}});
    d.Write();
    ScratchFiles scratch;
    BlockPlace place;
    EXPECT_THROW(GetPlayerData(d.Path(), 1, place, scratch), EDataError);
    place = FindBlock(d.Path(), 10, scratch);
    place.index = 1;
    EXPECT_THROW(PutPlayerData(d.Path(), PlayerRecord{}, place, scratch), EDataError);
    EXPECT_EQ(d.Read("staff.dat"), d.staff);
}

TYPED_TEST(Blocks, NoEntryOfTheTypeReadsBeyondTheEndOfTheIndex) {
    using B = TypeParam;
    DataDir d;
    d.index = IndexFile({{3, kOtherBlock}});
    d.Write();
    ScratchFiles scratch;
    BlockPlace place;
    try {
        B::Get(d.Path(), 0, place, scratch);
        ADD_FAILURE() << "loaded";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code(), 100);
        EXPECT_STREQ(e.what(), "Read beyond end of file");
        EXPECT_EQ(e.Where(), "index.dat");
    }
    EXPECT_FALSE(fs::exists(d.dir / B::kScratch));
    EXPECT_EQ(d.Read("staff.dat"), d.staff);

    fs::remove(d.dir / "index.dat");
    try {
        B::Get(d.Path(), 0, place, scratch);
        ADD_FAILURE() << "loaded";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code(), 2);
    }
}

// A failure at any file operation of a save leaves staff.dat as it was or wholly written, never
// a torn record; a failure at any operation of a load leaves the caller's place as it was.
TYPED_TEST(Blocks, FailuresNeverTearTheRecordInStaff) {
    using B = TypeParam;
    DataDir d;
    ScratchFiles scratch;
    BlockPlace loaded;
    const auto rec = Edited(B::Get(d.Path(), 1, loaded, scratch));
    Bytes written = d.staff;
    std::copy(rec.bytes.begin(), rec.bytes.end(),
              written.begin() + B::kOffset + std::int32_t{B::kSize});

    // A disk that fills up in the middle of the record (short, then an error) included.
    bool fired = true;
    for (const fault::Kind kind : {fault::Kind::kError, fault::Kind::kShortThenError}) {
        fired = true;
        for (int nth = 1; fired; ++nth) {
            SCOPED_TRACE(nth);
            d.Write();
            bool failed = false;
            {
                fault::Scoped f({kFileIo, nth, kind, EIO});
                try {
                    B::Put(d.Path(), rec, loaded, scratch);
                } catch (const EInOutError&) {
                    failed = true;
                }
                fired = fault::Fired();
            }
            const Bytes staff = d.Read("staff.dat");
            EXPECT_TRUE(staff == d.staff || staff == written);
            // A save that reports success has written the record.
            if (!failed) {
                EXPECT_EQ(staff, written);
            }
        }
    }

    fired = true;
    for (int nth = 1; fired; ++nth) {
        SCOPED_TRACE(nth);
        BlockPlace place;
        place.index = 77;
        fault::Scoped f({kFileIo, nth, fault::Kind::kError, EIO});
        try {
            B::Get(d.Path(), 1, place, scratch);
            EXPECT_EQ(place.index, 1);
        } catch (const EInOutError&) {
            EXPECT_EQ(place.index, 77);
        }
        fired = fault::Fired();
    }
}

// A read-only data directory: the same records and refusals, read straight from staff.dat and
// index.dat; no scratch file is created and nothing is written.
TYPED_TEST(Blocks, ReadOnlyLoadsTheSameRecordsAndCreatesNothing) {
    using B = TypeParam;
    DataDir d;
    const auto before = test::Snapshot(d.dir.Path());
    ScratchFiles scratch;
    scratch.SetReadOnly(true);
    for (std::int32_t index = 0; index < B::kCount; ++index) {
        SCOPED_TRACE(index);
        BlockPlace place;
        const auto rec = B::Get(d.Path(), index, place, scratch);
        EXPECT_EQ(BytesOf(rec), RecordAt<B>(d.staff, index));
        EXPECT_EQ(place.blockOffset, B::kOffset);
        EXPECT_EQ(place.index, index);
        EXPECT_EQ(place.blockEnd,
                  FindBlock(d.Path(), B::kOffset == kPlayerBlock ? 10 : 8, scratch).blockEnd);
        try {
            B::Put(d.Path(), Edited(rec), place, scratch);
            ADD_FAILURE() << "written";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Code(), kAccessDenied);
            EXPECT_EQ(e.Where(), "staff.dat");
        }
    }
    for (const std::int32_t index : {-1, B::kCount}) {
        BlockPlace place;
        try {
            B::Get(d.Path(), index, place, scratch);
            ADD_FAILURE() << "loaded " << index;
        } catch (const EDataError& e) {
            EXPECT_STREQ(e.what(), B::kRefusal);
        }
    }
    d.index = IndexFile({{3, kOtherBlock}});
    d.Write();
    BlockPlace place;
    try {
        B::Get(d.Path(), 0, place, scratch);
        ADD_FAILURE() << "loaded";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code(), 100);
        EXPECT_EQ(e.Where(), "index.dat");
    }
    d.index = IndexFile(kAllBlocks);
    d.Write();
    EXPECT_TRUE(scratch.All().empty());
    EXPECT_EQ(test::Snapshot(d.dir.Path()), before);
}

// Files and directory the system will not let us write: the loads only ever open them to read.
TEST(Blocks, ReadOnlyDirectoryOfTheSystemStillLoadsRecords) {
    if (test::RunningAsRoot())
        GTEST_SKIP() << "root may write without write permission; the read-only loads are tested "
                        "without it (ReadOnlyLoadsTheSameRecordsAndCreatesNothing)";
    DataDir d;
    const auto mode = fs::perms::owner_read | fs::perms::owner_exec;
    fs::permissions(d.dir / "staff.dat", fs::perms::owner_read);
    fs::permissions(d.dir / "index.dat", fs::perms::owner_read);
    fs::permissions(d.dir.Path(), mode);
    struct Writable {  // so that the directory can be removed whatever happens below
        const fs::path& dir;
        ~Writable() { fs::permissions(dir, fs::perms::owner_all); }
    } restore{d.dir.Path()};
    ScratchFiles scratch;
    scratch.SetReadOnly(true);
    BlockPlace place;
    EXPECT_EQ(BytesOf(GetPlayerData(d.Path(), 2, place, scratch)),
              RecordAt<PlayerBlock>(d.staff, 2));
    EXPECT_EQ(BytesOf(GetNonPlayerData(d.Path(), 1, place, scratch)),
              RecordAt<NonPlayerBlock>(d.staff, 1));
}

TEST(ScratchFiles, DeleteAllRemovesExactlyTheFilesCreated) {
    DataDir d;
    WriteFile(d.dir / "nonplayer.dat", Bytes(68, 1));  // left by someone else
    ScratchFiles scratch;
    BlockPlace place;
    GetPlayerData(d.Path(), 0, place, scratch);
    EXPECT_EQ(scratch.All().size(), 2u);
    fs::remove(d.dir / "player.dat");  // already gone is not a failure
    EXPECT_EQ(scratch.DeleteAll(), 0);
    EXPECT_TRUE(scratch.All().empty());
    EXPECT_FALSE(fs::exists(d.dir / "index2.dat"));
    EXPECT_TRUE(fs::exists(d.dir / "nonplayer.dat"));
    EXPECT_EQ(d.Read("staff.dat"), d.staff);
    EXPECT_EQ(d.Read("index.dat"), d.index);
}

}  // namespace
}  // namespace vh::db
