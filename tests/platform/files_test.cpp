#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cerrno>

#include "platform/fault.h"
#include "platform/files.h"
#include "platform/native_file.h"
#include "support/test_util.h"

namespace vh::platform {
namespace {

using test::Bytes;
using test::TempDir;

TEST(Paths, BackslashTextBecomesANativePath) {
#ifndef _WIN32
    EXPECT_EQ(NativePath("/srv/game/data\\stadium.dat"),
              std::filesystem::path("/srv/game/data/stadium.dat"));
    EXPECT_EQ(NativePath("/srv/data/backup\\club.dat").filename(), "club.dat");
    EXPECT_EQ(NativeText("\\data"), "/data");
#endif
}

TEST(Paths, DataFileIsFoundWhateverItsLetterCase) {
    TempDir dir;
    test::WriteFile(dir / "STADIUM.DAT", std::string("x"));
    test::WriteFile(dir / "city.dat", std::string("y"));
    EXPECT_EQ(ResolveCase(NativePath(dir.Str() + "\\stadium.dat")).filename(), "STADIUM.DAT");
    // The exact name wins when it exists.
    EXPECT_EQ(ResolveCase(NativePath(dir.Str() + "\\city.dat")).filename(), "city.dat");
    // Nothing matches: the path comes back unchanged.
    EXPECT_EQ(ResolveCase(NativePath(dir.Str() + "\\club.dat")).filename(), "club.dat");
    // Only the file name is matched loosely, not a longer name that starts the same.
    test::WriteFile(dir / "NATION.DAT.OLD", std::string("z"));
    EXPECT_FALSE(Exists(ResolveCase(NativePath(dir.Str() + "\\nation.dat"))));
}

TEST(Files, ReadOnlyAttributeIsClearedAndNothingElseChanges) {
    TempDir dir;
    const auto p = dir / "city.dat";
    test::WriteFile(p, std::string("abc"));
    ASSERT_EQ(::chmod(p.c_str(), 0444), 0);
    bool ro = false;
    ASSERT_EQ(GetReadOnly(p, ro), 0);
    EXPECT_TRUE(ro);
    ASSERT_EQ(ClearReadOnly(p), 0);
    ASSERT_EQ(GetReadOnly(p, ro), 0);
    EXPECT_FALSE(ro);
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(GetReadOnly(dir / "missing.dat", ro), ENOENT);
}

TEST(Files, CopyKeepsContentsAndHonoursOverwrite) {
    TempDir dir;
    Bytes big(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    test::WriteFile(dir / "a", big);
    test::WriteFile(dir / "b", std::string("old"));
    EXPECT_EQ(CopyFile(dir / "a", dir / "b", false), EEXIST);
    EXPECT_EQ(test::ReadFile(dir / "b"), Bytes({'o', 'l', 'd'}));
    ASSERT_EQ(CopyFile(dir / "a", dir / "b", true), 0);
    EXPECT_EQ(test::ReadFile(dir / "b"), big);
    EXPECT_EQ(CopyFile(dir / "none", dir / "c", true), ENOENT);
    EXPECT_FALSE(Exists(dir / "c"));
}

TEST(Files, DirectoriesRenameAndRemove) {
    TempDir dir;
    EXPECT_FALSE(IsDirectory(dir / "backup"));
    ASSERT_EQ(MakeDirectory(dir / "backup"), 0);
    EXPECT_TRUE(IsDirectory(dir / "backup"));
    EXPECT_EQ(MakeDirectory(dir / "backup"), EEXIST);
    test::WriteFile(dir / "x.tmp", std::string("new"));
    test::WriteFile(dir / "x", std::string("old"));
    ASSERT_EQ(RenameReplace(dir / "x.tmp", dir / "x"), 0);
    EXPECT_EQ(test::ReadFile(dir / "x"), Bytes({'n', 'e', 'w'}));
    EXPECT_FALSE(Exists(dir / "x.tmp"));
    EXPECT_EQ(RemoveFile(dir / "x"), 0);
    EXPECT_EQ(RemoveFile(dir / "x"), ENOENT);
}

TEST(FaultSeam, FailsTheNthMatchingCallOnly) {
    TempDir dir;
    test::WriteFile(dir / "f", std::string("0123456789"));
    NativeFile f;
    ASSERT_EQ(f.Open(dir / "f", OpenMode::kReadWrite), 0);
    char buf[10];
    std::size_t got = 0;
    {
        fault::Scoped s({fault::kRead, 2, fault::Kind::kError, EIO});
        EXPECT_EQ(f.ReadAt(buf, 4, 0, got), 0);
        EXPECT_EQ(f.ReadAt(buf, 4, 0, got), EIO);
        EXPECT_EQ(f.ReadAt(buf, 4, 0, got), 0);
        EXPECT_TRUE(fault::Fired());
    }
    {
        fault::Scoped s({fault::kWrite, 1, fault::Kind::kError, ENOSPC, true});
        EXPECT_EQ(f.WriteAt("ab", 2, 0), ENOSPC);
        EXPECT_EQ(f.WriteAt("ab", 2, 0), ENOSPC);
    }
    EXPECT_EQ(f.WriteAt("ab", 2, 0), 0);
}

TEST(FaultSeam, ShortTransfersAreCompletedByTheFileLayer) {
    TempDir dir;
    test::WriteFile(dir / "f", std::string("0123456789"));
    NativeFile f;
    ASSERT_EQ(f.Open(dir / "f", OpenMode::kReadWrite), 0);
    {
        fault::Scoped s({fault::kWrite, 1, fault::Kind::kShort, 0, true});
        ASSERT_EQ(f.WriteAt("ABCDEFGH", 8, 1), 0);
    }
    char buf[10];
    std::size_t got = 0;
    {
        fault::Scoped s({fault::kRead, 1, fault::Kind::kShort, 0, true});
        ASSERT_EQ(f.ReadAt(buf, 10, 0, got), 0);
    }
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(std::string(buf, 10), "0ABCDEFGH9");
}

// A disk that fills up in the middle of a write: part of the bytes land, then the error.
TEST(FaultSeam, ShortThenErrorTearsTheTransfer) {
    TempDir dir;
    test::WriteFile(dir / "f", std::string("0123456789"));
    NativeFile f;
    ASSERT_EQ(f.Open(dir / "f", OpenMode::kReadWrite), 0);
    {
        fault::Scoped s({fault::kWrite, 1, fault::Kind::kShortThenError, ENOSPC});
        EXPECT_EQ(f.WriteAt("ABCDEFGH", 8, 1), ENOSPC);
        EXPECT_EQ(f.WriteAt("xy", 2, 0), 0) << "only the rest of that transfer fails";
    }
    EXPECT_EQ(test::ReadFile(dir / "f"), Bytes({'x', 'y', 'B', 'C', 'D', '5', '6', '7', '8', '9'}));
}

}  // namespace
}  // namespace vh::platform
