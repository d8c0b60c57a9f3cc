#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "database/records/errors.h"
#include "database/records/record_file.h"
#include "platform/fault.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

using platform::fault::Kind;
using platform::fault::Scoped;
using test::Bytes;
using test::TempDir;

Bytes Counting(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i);
    return b;
}

int CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EInOutError& e) {
        return e.Code();
    }
    return 0;
}

TEST(RecordFile, ErrorsCarryTheClassicCodesAndMessages) {
    EXPECT_STREQ(EInOutError(2).what(), "File not found");
    EXPECT_STREQ(EInOutError(3).what(), "Invalid filename");
    EXPECT_STREQ(EInOutError(4).what(), "Too many open files");
    EXPECT_STREQ(EInOutError(5).what(), "File access denied");
    EXPECT_STREQ(EInOutError(100).what(), "Read beyond end of file");
    EXPECT_STREQ(EInOutError(101).what(), "Disk full");
    EXPECT_STREQ(EInOutError(106).what(), "Invalid numeric input");
    EXPECT_STREQ(EInOutError(1005).what(), "I/O error 1005");
    EXPECT_EQ(EInOutError::CodeFromErrno(ENOENT), 2);
    EXPECT_EQ(EInOutError::CodeFromErrno(EACCES), 5);
    EXPECT_EQ(EInOutError::CodeFromErrno(EMFILE), 4);
    EXPECT_EQ(EInOutError::CodeFromErrno(ENOSPC), 101);
    EXPECT_EQ(EInOutError::CodeFromErrno(EIO), 1000 + EIO);  // never mistaken for code 5
}

TEST(RecordFile, ResetNeverCreatesAFile) {
    TempDir dir;
    RecordFile f;
    f.Bind(dir.Str() + "\\stadium.dat");
    EXPECT_EQ(CodeOf([&] { f.Reset(78); }), 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "stadium.dat"));
    RecordFile unbound;
    EXPECT_EQ(CodeOf([&] { unbound.Reset(78); }), 3);
    EXPECT_EQ(CodeOf([&] { unbound.Seek(0); }), 103);
}

// A lookup's rewind reads what a new open would: from record 0 in the size asked, the file the
// path now names, records appended through another handle; a closed file is opened.
TEST(RecordFile, RewindReadsWhatAResetWould) {
    TempDir dir;
    test::WriteFile(dir / "a.dat", Counting(20));
    test::WriteFile(dir / "b.dat", Bytes(20, 0x77));
    struct Case {
        const char* what;
        std::function<void(RecordFile&)> between;
        int recordSize;
        std::int64_t records;
        std::uint8_t second;  // the first byte of record 1
    };
    const std::vector<Case> cases = {
        {"the same file", [](RecordFile&) {}, 10, 2, 10},
        {"another record size", [](RecordFile&) {}, 5, 4, 5},
        {"bound to another file", [&](RecordFile& f) { f.Bind(dir.Str() + "\\b.dat"); }, 10, 2,
         0x77},
        {"closed", [](RecordFile& f) { f.Close(); }, 10, 2, 10},
        {"appended to", [&](RecordFile&) { test::WriteFile(dir / "a.dat", Counting(30)); }, 10, 3,
         10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordFile f;
        f.Bind(dir.Str() + "\\a.dat");
        f.Reset(10);
        Bytes rec(10);
        f.Seek(1);
        f.Read(rec.data());  // fills the read-ahead buffer
        c.between(f);
        f.Rewind(c.recordSize);
        EXPECT_EQ(f.Position(), 0);
        EXPECT_EQ(f.RecordSize(), c.recordSize);
        EXPECT_EQ(f.RecordCount(), c.records);
        rec.resize(static_cast<std::size_t>(c.recordSize));
        f.Seek(1);
        f.Read(rec.data());
        EXPECT_EQ(rec[0], c.second);
    }
}

TEST(RecordFile, FailuresOfTheSystemBecomeTheirCodes) {
    TempDir dir;
    test::WriteFile(dir / "a.dat", Counting(20));
    RecordFile f;
    f.Bind(dir.Str() + "\\a.dat");
    {
        Scoped s({platform::fault::kOpen, 1, Kind::kError, EACCES});
        EXPECT_EQ(CodeOf([&] { f.Reset(10); }), 5);
    }
    {
        Scoped s({platform::fault::kOpen, 1, Kind::kError, EMFILE});
        EXPECT_EQ(CodeOf([&] { f.Reset(10); }), 4);
    }
    f.Reset(10);
    {
        Scoped s({platform::fault::kWrite, 1, Kind::kError, ENOSPC});
        const Bytes rec(10, 0xEE);
        EXPECT_EQ(CodeOf([&] { f.Write(rec.data()); }), 101);
    }
    {
        Scoped s({platform::fault::kRead, 1, Kind::kError, EIO});
        Bytes rec(10);
        EXPECT_EQ(CodeOf([&] { f.Read(rec.data()); }), 1000 + EIO);
    }
    EXPECT_EQ(test::ReadFile(dir / "a.dat"), Counting(20));
}

TEST(RecordFile, ReadOnlyFileCannotBeOpenedForWriting) {
    TempDir dir;
    if (!test::ReadOnlyIsEnforced(dir.Path()))
        GTEST_SKIP() << "this system opens a read-only file for writing anyway (run by root, "
                        "or Wine run by root: Wine keeps the attribute as the Unix mode)";
    test::WriteFile(dir / "city.dat", Counting(56));
    test::MakeReadOnly(dir / "city.dat");
    RecordFile f;
    f.Bind(dir.Str() + "\\city.dat");
    EXPECT_EQ(CodeOf([&] { f.Reset(56); }), 5);
}

TEST(RecordFile, PartialTailIsNotARecordAndReadingItFails) {
    TempDir dir;
    test::WriteFile(dir / "s.dat", Counting(25));  // two records of 10 and five bytes
    RecordFile f;
    f.Bind(dir.Str() + "\\s.dat");
    f.Reset(10);
    EXPECT_EQ(f.RecordCount(), 2);
    Bytes rec(10);
    f.Read(rec.data());
    f.Read(rec.data());
    EXPECT_EQ(rec[0], 10);
    EXPECT_TRUE(f.AtEnd());
    EXPECT_EQ(CodeOf([&] { f.Read(rec.data()); }), 100);
    f.Seek(5);
    EXPECT_EQ(CodeOf([&] { f.Read(rec.data()); }), 100);
    EXPECT_EQ(CodeOf([&] { f.Seek(-1); }), 131);
}

TEST(RecordFile, ResetRewindsAndSizeOneMakesByteOffsets) {
    TempDir dir;
    test::WriteFile(dir / "s.dat", Counting(30));
    RecordFile f;
    f.Bind(dir.Str() + "\\s.dat");
    f.Reset(10);
    Bytes rec(10);
    f.Seek(2);
    f.Read(rec.data());
    EXPECT_TRUE(f.AtEnd());
    f.Reset(10);
    EXPECT_EQ(f.Position(), 0);
    f.Read(rec.data());
    EXPECT_EQ(rec[0], 0);
    f.Reset(1);
    f.Seek(17);
    Bytes three(3);
    f.Read(three.data(), 3);
    EXPECT_EQ(three, Bytes({17, 18, 19}));
}

// An index.dat that holds only its header leaves an empty body to read: zero records into an
// empty vector, whose data() may be null, anywhere up to the end of the file.
TEST(RecordFile, ReadingNoRecordsReadsNothingAndStays) {
    TempDir dir;
    test::WriteFile(dir / "s.dat", Counting(30));
    RecordFile f;
    f.Bind(dir.Str() + "\\s.dat");
    f.Reset(10);
    Bytes none;
    for (std::int64_t at : {0, 1, 3}) {
        f.Seek(at);
        f.Read(none.data(), 0);
        EXPECT_EQ(f.Position(), at);
    }
    Bytes rec(10);
    f.Seek(1);
    f.Read(rec.data());
    EXPECT_EQ(rec[0], 10);
}

TEST(RecordFile, WriteReplacesOneRecordInPlace) {
    TempDir dir;
    test::WriteFile(dir / "s.dat", Counting(30));
    RecordFile f;
    f.Bind(dir.Str() + "\\s.dat");
    f.Reset(10);
    const Bytes rec(10, 0xAB);
    f.Seek(1);
    f.Write(rec.data());
    Bytes want = Counting(30);
    std::fill(want.begin() + 10, want.begin() + 20, 0xAB);
    EXPECT_EQ(test::ReadFile(dir / "s.dat"), want);
    // Writing at the end appends, a gap is refused.
    f.Seek(3);
    f.Write(rec.data());
    EXPECT_EQ(f.RecordCount(), 4);
    f.Seek(6);
    EXPECT_EQ(CodeOf([&] { f.Write(rec.data()); }), 100);
    EXPECT_EQ(test::ReadFile(dir / "s.dat").size(), 40u);
}

TEST(RecordFile, RewriteCreatesOrEmpties) {
    TempDir dir;
    test::WriteFile(dir / "player.dat", Counting(140));
    RecordFile f;
    f.Bind(dir.Str() + "\\player.dat");
    f.Rewrite(70);
    EXPECT_EQ(f.RecordCount(), 0);
    EXPECT_EQ(test::ReadFile(dir / "player.dat").size(), 0u);
    RecordFile g;
    g.Bind(dir.Str() + "\\new.dat");
    g.Rewrite(70);
    const Bytes rec(70, 1);
    g.Write(rec.data());
    g.Close();
    EXPECT_EQ(test::ReadFile(dir / "new.dat"), rec);
}

TEST(RecordFile, ScanIsBufferedButSeesWritesOfAnotherObject) {
    TempDir dir;
    test::WriteFile(dir / "s.dat", Counting(250 * 10));
    RecordFile reader, writer;
    reader.Bind(dir.Str() + "\\s.dat");
    writer.Bind(dir.Str() + "\\s.dat");
    reader.Reset(10);
    writer.Reset(1);
    Bytes rec(10);
    const auto before = platform::fault::TotalCalls();
    reader.Read(rec.data());
    for (int i = 1; i < 100; ++i) reader.Read(rec.data());
    EXPECT_LE(platform::fault::TotalCalls() - before, 3u)
        << "a scan must not read record by record";
    // Another object changes record 100; the reader must not serve its stale buffer.
    writer.Seek(1000);
    const std::uint8_t x = 0x77;
    writer.Write(&x);
    reader.Read(rec.data());
    EXPECT_EQ(rec[0], 0x77);
    // Nor one that skips records on its way.
    reader.Reset(10);
    const auto skipping = platform::fault::TotalCalls();
    for (int i = 0; i < 200; i += 7) {
        reader.Seek(i);
        reader.Read(rec.data());
    }
    EXPECT_LE(platform::fault::TotalCalls() - skipping, 4u);
}

TEST(RecordFile, ShortTransfersStillMoveWholeRecords) {
    TempDir dir;
    test::WriteFile(dir / "s.dat", Counting(100));
    RecordFile f;
    f.Bind(dir.Str() + "\\s.dat");
    f.Reset(10);
    const Bytes rec(10, 0x5A);
    {
        Scoped s({platform::fault::kWrite, 1, Kind::kShort, 0, true});
        f.Seek(4);
        f.Write(rec.data());
    }
    Bytes got(10);
    {
        Scoped s({platform::fault::kRead, 1, Kind::kShort, 0, true});
        f.Reset(10);
        f.Seek(4);
        f.Read(got.data());
    }
    EXPECT_EQ(got, rec);
}

TEST(RecordFile, OpensAFileWhoseNameDiffersInCase) {
    TempDir dir;
    test::WriteFile(dir / "CLUB.DAT", Counting(10));
    RecordFile f;
    f.Bind(dir.Str() + "\\club.dat");
    f.Reset(10);
    EXPECT_EQ(f.RecordCount(), 1);
#ifndef _WIN32  // Windows ignores letter case itself and opens the name as typed
    EXPECT_EQ(f.OpenedPath().filename(), "CLUB.DAT");
#endif
}

TEST(EInOutError, WhereNamesTheFileWithoutItsDirectoryAndTheRecord) {
    const std::vector<std::tuple<std::string, std::int64_t, std::string>> cases = {
        {"C:\\Game\\data\\city.dat", 12, "city.dat, record 12"},
        {"/srv/game/data\\club.dat", 0, "club.dat, record 0"},
        {"/srv/game/data/nation.dat", -1, "nation.dat"},
        {"city.dat", 3, "city.dat, record 3"},
        {"C:\\Game\\data\\backup\\", -1, "backup"},
        {"/tmp/x\\stadium.dat", -4, "stadium.dat, record -4"},
        {"", 7, ""},
    };
    for (const auto& [path, record, where] : cases) {
        const EInOutError e(100, path, record);
        EXPECT_EQ(e.Where(), where) << path;
        EXPECT_EQ(e.Record(), record);
        EXPECT_STREQ(e.what(), "Read beyond end of file");
    }
    EXPECT_EQ(EInOutError(2).Where(), "");
    EXPECT_EQ(EInOutError(2, "C:\\d\\city.dat").Record(), -1);
}

struct Failure {
    const char* what;
    std::function<void(RecordFile&)> op;
    int code;
    std::string where;
};

// Three 56-byte records; every failure names the file and, where there is one, the record.
TEST(RecordFile, EveryFailureSaysWhere) {
    TempDir dir;
    test::WriteFile(dir / "city.dat", Counting(3 * 56 + 10));
    const Bytes rec(2 * 56, 0xEE);
    Bytes buf(2 * 56);
    const std::vector<Failure> cases = {
        {"read past the end",
         [&](RecordFile& f) {
             f.Seek(5);
             f.Read(buf.data());
         },
         100, "city.dat, record 5"},
        {"read of the partial tail",
         [&](RecordFile& f) {
             f.Seek(3);
             f.Read(buf.data());
         },
         100, "city.dat, record 3"},
        {"batch read running out",
         [&](RecordFile& f) {
             f.Seek(2);
             f.Read(buf.data(), 2);
         },
         100, "city.dat, record 3"},
        {"write leaving a gap",
         [&](RecordFile& f) {
             f.Seek(5);
             f.Write(rec.data());
         },
         100, "city.dat, record 5"},
        {"negative seek", [&](RecordFile& f) { f.Seek(-4); }, 131, "city.dat, record -4"},
        {"failed read",
         [&](RecordFile& f) {
             f.Seek(2);
             Scoped s({platform::fault::kRead, 1, Kind::kError, EIO});
             f.Read(buf.data());
         },
         1000 + EIO, "city.dat, record 2"},
        {"failed write",
         [&](RecordFile& f) {
             f.Seek(1);
             Scoped s({platform::fault::kWrite, 1, Kind::kError, ENOSPC});
             f.Write(rec.data());
         },
         101, "city.dat, record 1"},
        {"write to a read-only file",
         [&](RecordFile& f) {
             f.Reset(56, Access::kReadOnly);
             f.Seek(1);
             f.Write(rec.data());
         },
         5, "city.dat, record 1"},
        {"failed open",
         [&](RecordFile& f) {
             Scoped s({platform::fault::kOpen, 1, Kind::kError, ENOENT});
             f.Reset(56);
         },
         2, "city.dat"},
        // Byte by byte, a record number would be a byte offset: the file alone is named.
        {"byte-wise read past the end",
         [&](RecordFile& f) {
             f.Reset(1);
             f.Seek(170);
             f.Read(buf.data(), 10);
         },
         100, "city.dat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordFile f;
        f.Bind(dir.Str() + "\\city.dat");
        f.Reset(56);
        try {
            c.op(f);
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_EQ(e.Where(), c.where);
        }
    }
    EXPECT_EQ(test::ReadFile(dir / "city.dat"), Counting(3 * 56 + 10));
}

struct TornWrite {
    const char* what;
    std::int64_t at;  // record
    std::int64_t count;
    Kind kind;
    int err;
    int code;
};

// A write that stops part-way puts the previous bytes back and cuts off what it appended.
TEST(RecordFile, FailedWriteLeavesTheFileByteIdentical) {
    const std::vector<TornWrite> cases = {
        {"short write inside the file", 1, 1, Kind::kShortThenError, ENOSPC, 101},
        {"short write of two records", 0, 2, Kind::kShortThenError, EIO, 1000 + EIO},
        {"short write appending", 3, 1, Kind::kShortThenError, ENOSPC, 101},
        {"short write half inside, half appended", 2, 2, Kind::kShortThenError, EFBIG, 101},
        {"write failing at once", 1, 1, Kind::kError, EIO, 1000 + EIO},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const Bytes before = Counting(30);
        test::WriteFile(dir / "s.dat", before);
        RecordFile f;
        f.Bind(dir.Str() + "\\s.dat");
        f.Reset(10);
        const Bytes rec(static_cast<std::size_t>(c.count) * 10, 0xEE);
        f.Seek(c.at);
        bool fired = false;
        try {
            Scoped s({platform::fault::kWrite, 1, c.kind, c.err});
            f.Write(rec.data(), c.count);
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            fired = platform::fault::Fired();
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_EQ(e.Record(), c.at);
        }
        EXPECT_TRUE(fired);
        EXPECT_EQ(test::ReadFile(dir / "s.dat"), before);
        // The object itself sees the file as it is, not as the failed write would have left it.
        EXPECT_EQ(f.RecordCount(), 3);
        Bytes got(10);
        f.Seek(c.at < 3 ? c.at : 2);
        f.Read(got.data());
        EXPECT_EQ(got[0], static_cast<std::uint8_t>((c.at < 3 ? c.at : 2) * 10));
    }
}

TEST(RecordFile, ReadOnlyAccessReadsButRefusesEveryWrite) {
    TempDir dir;
    test::WriteFile(dir / "city.dat", Counting(3 * 56));
    RecordFile f;
    f.Bind(dir.Str() + "\\city.dat");
    f.Reset(56, Access::kReadOnly);
    EXPECT_TRUE(f.IsReadOnly());
    Bytes rec(56);
    f.Seek(2);
    f.Read(rec.data());
    EXPECT_EQ(rec[0], 2 * 56);
    const Bytes other(56, 0xEE);
    // A reset without an access keeps the read-only one: scans rewind files that way.
    f.Reset(56);
    EXPECT_TRUE(f.IsReadOnly());
    EXPECT_EQ(CodeOf([&] { f.Write(other.data()); }), 5);
    f.Seek(3);  // appending is a write too
    EXPECT_EQ(CodeOf([&] { f.Write(other.data()); }), 5);
    EXPECT_EQ(CodeOf([&] { f.Rewrite(56); }), 5);
    EXPECT_EQ(test::ReadFile(dir / "city.dat"), Counting(3 * 56));
    // The read-only mode refuses by itself, also for users the permission bits do not stop.
    platform::NativeFile raw;
    ASSERT_EQ(raw.Open(dir / "city.dat", platform::OpenMode::kReadOnly), 0);
    EXPECT_EQ(raw.WriteAt(other.data(), 1, 0), EACCES);
    EXPECT_EQ(raw.Truncate(0), EACCES);
    EXPECT_EQ(test::ReadFile(dir / "city.dat"), Counting(3 * 56));

    f.Reset(56, Access::kReadWrite);
    f.Write(other.data());
    EXPECT_EQ(test::ReadFile(dir / "city.dat")[0], 0xEE);
}

}  // namespace
}  // namespace vh::db
