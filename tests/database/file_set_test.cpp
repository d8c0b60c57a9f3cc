// Opening the file set of a data directory read-write, or read-only where it cannot be written.
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "platform/fault.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

namespace fault = platform::fault;
using test::Bytes;
using test::TempDir;

// Two records of its size in every file of the load list, each byte telling its file.
struct DataDir {
    TempDir dir;
    DataDir() {
        for (std::size_t i = 0; i < kLoadList.size(); ++i) {
            const auto size = static_cast<std::size_t>(kLoadList[i].recordSize);
            test::WriteFile(dir / std::string(kLoadList[i].name.substr(1)),
                            Bytes(2 * size, static_cast<std::uint8_t>(i + 1)));
        }
    }
};

TEST(FileSet, ReadOnlySetReadsEveryFileAndRefusesEveryWrite) {
    DataDir d;
    const auto before = test::Snapshot(d.dir.Path());
    FileSet set;
    set.Open(d.dir.Str(), Access::kReadOnly);
    EXPECT_TRUE(set.IsReadOnly());
    const auto files = set.InLoadOrder();
    for (std::size_t i = 0; i < files.size(); ++i) {
        RecordFile& f = *files[i];
        const std::string name(kLoadList[i].name.substr(1));
        SCOPED_TRACE(name);
        EXPECT_TRUE(f.IsReadOnly());
        Bytes rec(static_cast<std::size_t>(f.RecordSize()));
        f.Reset(f.RecordSize());  // the way every scan rewinds
        f.Seek(1);
        f.Read(rec.data());
        EXPECT_EQ(rec[0], i + 1);
        f.Seek(1);
        try {
            f.Write(rec.data());
            ADD_FAILURE() << "written";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Code(), kAccessDenied);
            EXPECT_STREQ(e.what(), "File access denied");
            EXPECT_EQ(e.Where(), name + ", record 1");
        }
    }
    EXPECT_EQ(test::Snapshot(d.dir.Path()), before);
    set.Open(d.dir.Str());
    EXPECT_FALSE(set.IsReadOnly());
    EXPECT_FALSE(set.continent.IsReadOnly());
}

// The system refuses writing at the third file (club.dat): the whole set falls back to read-only;
// other failures still stop the load.
TEST(FileSet, OpensReadOnlyOnlyWhenWritingIsDenied) {
    struct Case {
        int err;  // 0: no failure
        std::optional<Access> access;
        int code;  // when the load stops
    };
    const std::vector<Case> cases = {
        {0, Access::kReadWrite, 0},
        {EACCES, Access::kReadOnly, 0},
        {EROFS, Access::kReadOnly, 0},
        {EPERM, Access::kReadOnly, 0},
        {ENOENT, std::nullopt, kFileNotFound},
        {EMFILE, std::nullopt, kTooManyOpenFiles},
    };
    DataDir d;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        FileSet set;
        std::optional<Access> got;
        int code = 0;
        {
            std::optional<fault::Scoped> f;
            if (c.err) f.emplace(fault::Plan{fault::kOpen, 3, fault::Kind::kError, c.err});
            try {
                got = set.OpenWritableOrReadOnly(d.dir.Str());
            } catch (const EInOutError& e) {
                code = e.Code();
            }
            if (c.err) {
                EXPECT_TRUE(fault::Fired());
            }
        }
        EXPECT_EQ(got, c.access);
        EXPECT_EQ(code, c.code);
        if (got) {
            EXPECT_EQ(set.access, *got);
            for (RecordFile* f : set.InLoadOrder()) EXPECT_EQ(f->GetAccess(), *got);
        }
    }
}

TEST(FileSet, ReadOnlyFilesOfTheSystemLoadReadOnly) {
    DataDir d;
    if (!test::ReadOnlyIsEnforced(d.dir.Path()))
        GTEST_SKIP() << "root may write files without write permission; the fall-back itself is "
                        "tested through the fault seam (OpensReadOnlyOnlyWhenWritingIsDenied)";
    test::MakeReadOnly(d.dir / "city.dat");
    FileSet set;
    EXPECT_EQ(set.OpenWritableOrReadOnly(d.dir.Str()), Access::kReadOnly);
    Bytes rec(56);
    set.city.Read(rec.data());
    EXPECT_EQ(rec[0], 2);
}

}  // namespace
}  // namespace vh::db
