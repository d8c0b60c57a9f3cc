#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "database/model/blocks.h"
#include "database/model/lists.h"
#include "database/records/file_set.h"
#include "planted_faults.h"
#include "real_shaped.h"
#include "run_vhtool.h"
#include "support/test_util.h"
#include "tools/cli.h"
#include "tools/sample.h"

namespace vh {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

std::vector<nlohmann::json> JsonLines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

TEST(VhtoolCheck, CleanSampleExitsZeroAndChangesNothing) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    // Read-only files stay read-only: the check opens nothing for writing.
    for (const auto& e : fs::directory_iterator(dir.Path()))
        fs::permissions(e.path(), fs::perms::owner_read | fs::perms::group_read);
    const auto before = test::Snapshot(dir.Path());
    const auto perms = fs::status(dir / "staff.dat").permissions();

    const Outcome r = Vhtool({"check", dir.Str()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find(": 0 errors, 0 warnings."), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
    EXPECT_EQ(fs::status(dir / "staff.dat").permissions(), perms);
    EXPECT_FALSE(fs::exists(dir / "index2.dat"));

    const Outcome j = Vhtool({"check", dir.Str(), "--json"});
    EXPECT_EQ(j.status, 0);
    EXPECT_EQ(j.out, "");
}

// Directories that differ from the sample wherever the documents leave the choice to the writer:
// the editor lists every person and finds the player records, and the check finds nothing.
TEST(VhtoolCheck, DirectoriesOfOtherGeneratorsCheckClean) {
    using namespace test;
    for (unsigned shapes :
         {unsigned{kIndexNoise}, kIndexOrder | kPersonsEntry, unsigned{kRecordNoise},
          unsigned{kEveryLetter}, unsigned{kNoCommonNames}, unsigned{kAllShapes}}) {
        SCOPED_TRACE(shapes);
        TempDir dir;
        const auto s = sample::WriteSample(dir.Path(), {});
        Reshape(dir.Path(), s, shapes);
        const Outcome r = Vhtool({"check", dir.Str()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(": 0 errors, 0 warnings."), std::string::npos) << r.out;

        db::FileSet files;
        files.Open(dir.Str());
        db::NameTables names;
        db::ListTables lists;
        db::StaffLoad(files, dir.Str(), names, lists);
        EXPECT_EQ(lists.player.entries->size() + lists.staff.entries->size(),
                  static_cast<std::size_t>(s.persons));
        db::ScratchFiles scratch;
        scratch.SetReadOnly(true);
        db::BlockPlace place;
        EXPECT_EQ(db::GetPlayerData(dir.Str(), 3, place, scratch).Get(db::PlayerRecord::Id), 3);
        EXPECT_EQ(place.blockOffset, s.playerBlockOffset);
    }
}

TEST(VhtoolCheck, EachPlantedFaultIsReportedWithItsExitStatus) {
    // In the sample, and in a directory shaped as another generator might write it.
    for (unsigned shapes : {0u, unsigned{test::kAllShapes}}) {
        SCOPED_TRACE(shapes);
        TempDir dir;
        const auto s = sample::WriteSample(dir.Path(), {});
        test::Reshape(dir.Path(), s, shapes);
        const auto good = test::Snapshot(dir.Path());
        const auto world = test::ReadSampleWorld(dir.Str());
        for (const test::PlantedFault& f : test::PlantedFaults(s, world, dir.Path())) {
            for (const auto& [name, bytes] : good) test::WriteFile(dir / name, bytes);
            f.plant(dir.Path());
            const Outcome r = Vhtool({"check", dir.Str(), "--json"});
            const auto findings = JsonLines(r.out);
            bool anyError = false, found = false;
            for (const auto& j : findings) {
                anyError |= j["severity"] == "error";
                found |= j["severity"] == db::SeverityName(f.expect.severity) &&
                         j["kind"] == db::KindName(f.expect.kind) && j["file"] == f.expect.file &&
                         j["record"] == f.expect.record && j["field"] == f.expect.field;
            }
            EXPECT_TRUE(found) << f.what << "\n" << r.out;
            EXPECT_EQ(r.status, anyError ? 1 : 0) << f.what;
            if (f.expect.severity == db::Severity::kError) {
                EXPECT_EQ(r.status, 1) << f.what;
            }
        }
    }
}

TEST(VhtoolCheck, ReportGroupsByKindWithASummary) {
    TempDir dir;
    const auto s = sample::WriteSample(dir.Path(), {});
    test::Edit<db::ClubRecord>(dir.Path(), "club.dat", 5 * 581,
                               [](db::ClubRecord& c) { c.Set(db::ClubRecord::Stadium, 99999); });
    test::Edit<db::StadiumRecord>(dir.Path(), "stadium.dat", 0, [](db::StadiumRecord& r) {
        r.Set(db::StadiumRecord::NearbyStadium, -7);
    });
    const Outcome r = Vhtool({"check", dir.Str()});
    EXPECT_EQ(r.status, 1);
    const auto group = r.out.find("references (2)\n");
    ASSERT_NE(group, std::string::npos) << r.out;
    const auto error = r.out.find("error   club.dat record 5 Stadium = 99999: no record 99999");
    const auto warning = r.out.find("warning stadium.dat record 0 NearbyStadium = -7");
    EXPECT_LT(group, error) << r.out;
    EXPECT_LT(error, warning) << r.out;  // errors first
    EXPECT_NE(r.out.find(": 1 error, "), std::string::npos) << r.out;
    (void)s;
}

TEST(VhtoolCheck, ADirectoryThatCannotBeReadIsNoFinding) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> spoil;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing club.dat", [](const fs::path& d) { fs::remove(d / "club.dat"); },
         "club.dat: File not found"},
        {"missing index.dat", [](const fs::path& d) { fs::remove(d / "index.dat"); },
         "index.dat: File not found"},
        {"no directory", [](const fs::path& d) { fs::remove_all(d); }, "File not found"},
        {"unreadable staff.dat",
         [](const fs::path& d) { fs::permissions(d / "staff.dat", fs::perms::none); },
         "staff.dat: File access denied"},
    };
    for (const Case& c : cases) {
        TempDir tmp;
        const fs::path dir = tmp / "data";
        sample::WriteSample(dir, {});
        c.spoil(dir);
        // Root (and Wine run by root) reads a file whatever its permissions say.
        if (std::string(c.what).starts_with("unreadable") && std::ifstream(dir / "staff.dat"))
            continue;
        const Outcome r = Vhtool({"check", dir.string(), "--json"});
        EXPECT_EQ(r.status, 2) << c.what;
        EXPECT_NE(r.err.find("vhtool: cannot check "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.what;
        if (fs::exists(dir / "staff.dat")) fs::permissions(dir / "staff.dat", fs::perms::owner_all);
    }
}

TEST(VhtoolCheck, BadArguments) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"check"}, "check needs the directory"},
        {{"check", "a", "b"}, "more than one directory"},
        {{"check", "a", "--jsn"}, "unknown option '--jsn'"},
        {{"check", "a", "--json=no"}, "--json takes no value"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome r = Vhtool(args);
        EXPECT_EQ(r.status, 2) << message;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    EXPECT_NE(Vhtool({"check", "--help"}).out.find("vhtool check DIR [--json]"), std::string::npos);
}

}  // namespace
}  // namespace vh
