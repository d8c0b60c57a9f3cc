#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cerrno>

#ifdef _WIN32
#include "platform/windows_api.h"
#endif

#include "platform/fault.h"
#include "platform/files.h"
#include "platform/native_file.h"
#include "support/test_util.h"

namespace vh::platform {
namespace {

using test::Bytes;
using test::TempDir;

TEST(Paths, BackslashTextBecomesANativePath) {
#ifdef _WIN32
    EXPECT_EQ(NativePath("C:\\Game\\data\\stadium.dat").filename(), "stadium.dat");
    EXPECT_EQ(NativePath("C:\\Game\\data\\stadium.dat").parent_path().filename(), "data");
    EXPECT_EQ(NativeText("C:/Game/data"), "C:\\Game\\data");
#else
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
#ifdef _WIN32
    // The file system ignores letter case itself: the name as typed reaches the file.
    EXPECT_TRUE(Exists(ResolveCase(NativePath(dir.Str() + "\\stadium.dat"))));
#else
    EXPECT_EQ(ResolveCase(NativePath(dir.Str() + "\\stadium.dat")).filename(), "STADIUM.DAT");
#endif
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
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
#else
    ASSERT_EQ(::chmod(p.c_str(), 0444), 0);
#endif
    bool ro = false;
    ASSERT_EQ(GetReadOnly(p, ro), 0);
    EXPECT_TRUE(ro);
    ASSERT_EQ(ClearReadOnly(p), 0);
    ASSERT_EQ(GetReadOnly(p, ro), 0);
    EXPECT_FALSE(ro);
#ifdef _WIN32
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(GetFileAttributesW(p.c_str()) & kept, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
#else
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
#endif
    ASSERT_EQ(ClearReadOnly(p), 0);  // already writable: nothing to do
    EXPECT_EQ(GetReadOnly(dir / "missing.dat", ro), ENOENT);
    EXPECT_EQ(ClearReadOnly(dir / "missing.dat"), ENOENT);
}

// Every call of the file layer with names outside ASCII, as a user's data directory may have
// ("C:\Users\Jörg\Spiele"): the UTF-8 text the rest of the program uses reaches the disk and
// comes back unchanged.
TEST(Files, NamesOutsideAsciiWorkThroughEveryCall) {
    const std::string names[] = {"Spielstände Jörg", "Ελληνικά", "データ", "club ŒÉ€"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TempDir root;
        const std::string dirText = root.Str() + "\\" + name;
        const auto dir = NativePath(dirText);
        ASSERT_EQ(MakeDirectory(dir), 0);
        EXPECT_TRUE(IsDirectory(dir));
        const auto file = NativePath(dirText + "\\" + name + ".dat");
        {
            NativeFile f;
            ASSERT_EQ(f.Open(file, OpenMode::kCreateNew), 0);
            ASSERT_EQ(f.WriteAt("record", 6, 0), 0);
            ASSERT_EQ(f.Close(), 0);
        }
        std::vector<std::string> listed;
        ASSERT_EQ(ListDirectory(dir, listed), 0);
        EXPECT_EQ(listed, std::vector<std::string>{name + ".dat"});
        // A differently cased ASCII suffix still finds the file (POSIX: by its real name).
        const auto found = ResolveCase(NativePath(dirText + "\\" + name + ".DAT"));
        EXPECT_TRUE(Exists(found));
#ifndef _WIN32
        EXPECT_EQ(found, file);
#endif
        const auto copy = NativePath(dirText + "\\Kopie " + name);
        ASSERT_EQ(CopyFileTo(file, copy, false), 0);
        test::MakeReadOnly(copy);
        bool ro = false;
        ASSERT_EQ(GetReadOnly(copy, ro), 0);
        EXPECT_TRUE(ro);
        ASSERT_EQ(ClearReadOnly(copy), 0);
        ASSERT_EQ(RenameReplace(copy, file), 0);
        EXPECT_FALSE(Exists(copy));
        EXPECT_EQ(test::ReadFile(file), Bytes({'r', 'e', 'c', 'o', 'r', 'd'}));
        EXPECT_EQ(RemoveFile(file), 0);
        EXPECT_FALSE(Exists(file));
    }
}

TEST(Files, CopyKeepsContentsAndHonoursOverwrite) {
    TempDir dir;
    Bytes big(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    test::WriteFile(dir / "a", big);
    test::WriteFile(dir / "b", std::string("old"));
    EXPECT_EQ(CopyFileTo(dir / "a", dir / "b", false), EEXIST);
    EXPECT_EQ(test::ReadFile(dir / "b"), Bytes({'o', 'l', 'd'}));
    ASSERT_EQ(CopyFileTo(dir / "a", dir / "b", true), 0);
    EXPECT_EQ(test::ReadFile(dir / "b"), big);
    EXPECT_EQ(CopyFileTo(dir / "none", dir / "c", true), ENOENT);
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
