// What a failed backup or restore reports: which files failed, and which of them still have their
// earlier copy, so that the message claims kept copies only where there are some.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "database/records/errors.h"
#include "database/write/backup.h"
#include "platform/fault.h"
#include "platform/files.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

namespace fault = platform::fault;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
using Names = std::vector<std::string>;

std::string Text(const test::Bytes& b) {
    return std::string(b.begin(), b.end());
}

// Each plan makes the copy of stadium.dat, the first file of the list, fail at another step.
const std::vector<fault::Plan> kFailures = {
    {fault::kRename, 1, fault::Kind::kError, EIO},
    {fault::kOpen, 1, fault::Kind::kError, EACCES},
    {fault::kWrite, 1, fault::Kind::kShortThenError, ENOSPC},
    {fault::kSync, 1, fault::Kind::kError, EIO},  // the copy's data may never reach the disk
};

TEST(Backup, AFailedFileKeepsItsPreviousCopyOnlyWhenThereWasOne) {
    for (const auto& plan : kFailures) {
        SCOPED_TRACE(plan.ops);
        TempDir dir;
        WriteFile(dir / "stadium.dat", std::string("S1"));
        WriteFile(dir / "club.dat", std::string("C1"));
        CopyReport first;
        {
            fault::Scoped f(plan);
            first = Backup(dir.Str());
        }
        EXPECT_EQ(first.failed, Names{"stadium.dat"});
        EXPECT_EQ(first.keptPrevious, Names{}) << "a first backup has no earlier copy";
        EXPECT_FALSE(std::filesystem::exists(dir / "backup" / "stadium.dat"));
        EXPECT_EQ(Text(ReadFile(dir / "backup" / "club.dat")), "C1");

        ASSERT_TRUE(Backup(dir.Str()).failed.empty());
        WriteFile(dir / "stadium.dat", std::string("S2"));
        CopyReport second;
        {
            fault::Scoped f(plan);
            second = Backup(dir.Str());
        }
        EXPECT_EQ(second.failed, Names{"stadium.dat"});
        EXPECT_EQ(second.keptPrevious, Names{"stadium.dat"});
        EXPECT_EQ(Text(ReadFile(dir / "backup" / "stadium.dat")), "S1");
        EXPECT_FALSE(std::filesystem::exists(dir / "backup" / "stadium.dat.vhtmp"));
    }
}

TEST(Restore, AFailedFileKeepsTheDataFileAsItWas) {
    for (const auto& plan : kFailures) {
        SCOPED_TRACE(plan.ops);
        TempDir dir;
        WriteFile(dir / "stadium.dat", std::string("S1"));
        WriteFile(dir / "club.dat", std::string("C1"));
        ASSERT_TRUE(Backup(dir.Str()).failed.empty());
        WriteFile(dir / "stadium.dat", std::string("S2"));
        WriteFile(dir / "club.dat", std::string("C2"));
        CopyReport report;
        {
            fault::Scoped f(plan);
            report = Restore(dir.Str());
        }
        EXPECT_EQ(report.failed, Names{"stadium.dat"});
        EXPECT_EQ(report.keptPrevious, Names{"stadium.dat"});
        EXPECT_EQ(Text(ReadFile(dir / "stadium.dat")), "S2");
        EXPECT_EQ(Text(ReadFile(dir / "club.dat")), "C1");
        EXPECT_FALSE(std::filesystem::exists(dir / "stadium.dat.vhtmp"));
    }
}
TEST(Restore, ACopyThatCannotBeLookedAtIsAFailureNotAMissingCopy) {
    TempDir dir;
    WriteFile(dir / "club.dat", std::string("C1"));
    ASSERT_TRUE(Backup(dir.Str()).failed.empty());
    WriteFile(dir / "club.dat", std::string("C2"));
    CopyReport report;
    {
        // A backup folder of another user: nothing in it can be looked at.
        fault::Scoped f({fault::kStat, 1, fault::Kind::kError, EACCES, true});
        report = Restore(dir.Str());
    }
    EXPECT_EQ(report.failed.size(), 12u);
    EXPECT_EQ(report.failedCode, kAccessDenied);
    EXPECT_EQ(Text(ReadFile(dir / "club.dat")), "C2");
}

using test::Bytes;

Bytes BytesOf(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// One generation of copies in <data>\backup, on the real file system, reached through the data
// path text as the user typed it; a second backup replaces each copy by a rename over it, even a
// copy someone made read-only.
TEST(Backup, ASecondBackupReplacesTheCopiesAndRestoreBringsThemBack) {
    for (const std::string name : {"data", "Spielstände Jörg"}) {
        SCOPED_TRACE(name);
        TempDir root;
        const std::string data = root.Str() + "\\" + name;
        const auto dir = test::Utf8Path(root.Path(), name);
        ASSERT_EQ(platform::MakeDirectory(dir), 0);
        test::WriteFile(dir / "club.dat", BytesOf("club 1"));
        test::WriteFile(dir / "staff.dat", BytesOf("staff 1"));

        EXPECT_FALSE(HasBackup(data));
        EXPECT_TRUE(Backup(data).failed.empty());
        EXPECT_TRUE(HasBackup(data));
        EXPECT_EQ(test::ReadFile(dir / "backup" / "club.dat"), BytesOf("club 1"));
        EXPECT_FALSE(platform::Exists(dir / "backup" / "nation.dat"));  // missing: skipped

        test::WriteFile(dir / "club.dat", BytesOf("club 2"));
        test::MakeReadOnly(dir / "backup" / "club.dat");
        EXPECT_TRUE(Backup(data).failed.empty());
        EXPECT_EQ(test::ReadFile(dir / "backup" / "club.dat"), BytesOf("club 2"));
        EXPECT_FALSE(platform::Exists(dir / "backup" / "club.dat.vhtmp"));

        test::WriteFile(dir / "club.dat", BytesOf("club 3"));
        test::WriteFile(dir / "staff.dat", BytesOf("staff 3"));
        EXPECT_TRUE(Restore(data).failed.empty());
        EXPECT_EQ(test::ReadFile(dir / "club.dat"), BytesOf("club 2"));
        EXPECT_EQ(test::ReadFile(dir / "staff.dat"), BytesOf("staff 1"));
    }
}

}  // namespace
}  // namespace vh::db
