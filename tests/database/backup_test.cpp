#include <gtest/gtest.h>

#include "database/backup.h"
#include "platform/files.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

using test::Bytes;
using test::TempDir;

Bytes Text(const std::string& s) {
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
        test::WriteFile(dir / "club.dat", Text("club 1"));
        test::WriteFile(dir / "staff.dat", Text("staff 1"));

        EXPECT_FALSE(HasBackup(data));
        EXPECT_TRUE(Backup(data).failed.empty());
        EXPECT_TRUE(HasBackup(data));
        EXPECT_EQ(test::ReadFile(dir / "backup" / "club.dat"), Text("club 1"));
        EXPECT_FALSE(platform::Exists(dir / "backup" / "nation.dat"));  // missing: skipped

        test::WriteFile(dir / "club.dat", Text("club 2"));
        test::MakeReadOnly(dir / "backup" / "club.dat");
        EXPECT_TRUE(Backup(data).failed.empty());
        EXPECT_EQ(test::ReadFile(dir / "backup" / "club.dat"), Text("club 2"));
        EXPECT_FALSE(platform::Exists(dir / "backup" / "club.dat.vhtmp"));

        test::WriteFile(dir / "club.dat", Text("club 3"));
        test::WriteFile(dir / "staff.dat", Text("staff 3"));
        EXPECT_TRUE(Restore(data).failed.empty());
        EXPECT_EQ(test::ReadFile(dir / "club.dat"), Text("club 2"));
        EXPECT_EQ(test::ReadFile(dir / "staff.dat"), Text("staff 1"));
    }
}

}  // namespace
}  // namespace vh::db
