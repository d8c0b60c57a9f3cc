#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <limits>

#include "database/model/blocks.h"
#include "database/model/check.h"
#include "database/records/file_set.h"
#include "database/records/names.h"
#include "database/records/person.h"
#include "planted_faults.h"
#include "sample_check.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh {
namespace {

using sample::SampleOptions;
using test::TempDir;

std::string Joined(const std::vector<std::string>& problems) {
    std::string out;
    for (const auto& p : problems) out += p + "\n";
    return out;
}

TEST(Sample, SmallSampleIsConsistentAndKeepsItsPromises) {
    TempDir dir;
    const auto summary = sample::WriteSample(dir.Path(), {});
    const auto world = test::ReadSampleWorld(dir.Str());
    EXPECT_EQ(Joined(test::CheckSampleDirectory(dir.Str())), "");
    EXPECT_EQ(Joined(test::CheckSampleWorld(world)), "");
    EXPECT_EQ(Joined(test::CheckSampleFacts(world, summary)), "");
    EXPECT_GT(summary.persons, 200);
    EXPECT_LT(summary.persons, 1000);
    EXPECT_EQ(summary.continents, 6);

    // The editor opens the set and reads the named player the way its pages do.
    db::FileSet files;
    files.Open(dir.Str());
    db::NameTables names;
    db::LoadNameTable(files.firstNames, names.first);
    db::LoadNameTable(files.secondNames, names.second);
    db::LoadNameTable(files.commonNames, names.common);
    const auto& player = world.persons[static_cast<std::size_t>(summary.player)];
    EXPECT_EQ(db::GetStaffName(summary.player, files.staff, names),
              names.second.At(player.Get(db::StaffRecord::SecondName)) + ", " +
                  names.first.At(player.Get(db::StaffRecord::FirstName)) + " (" +
                  std::to_string(summary.player) + ")");
    db::ScratchFiles scratch;
    db::BlockPlace place;
    const auto rec =
        db::GetPlayerData(dir.Str(), player.Get(db::StaffRecord::PlayerIndex), place, scratch);
    EXPECT_EQ(rec.Get(db::PlayerRecord::Id), player.Get(db::StaffRecord::PlayerIndex));
    files.CloseAll();
    scratch.DeleteAll();
}

TEST(Sample, CheckerFindsBrokenWorlds) {
    // The checker is what the consistency promise rests on: each fault planted in a copy of the
    // sample must be reported at its file, record and field.
    TempDir dir;
    const auto s = sample::WriteSample(dir.Path(), {});
    const auto good = test::Snapshot(dir.Path());
    const auto world = test::ReadSampleWorld(dir.Str());
    using namespace db;

    for (const test::PlantedFault& f : test::PlantedFaults(s, world, dir.Path())) {
        for (const auto& [name, bytes] : good) test::WriteFile(dir / name, bytes);
        f.plant(dir.Path());
        const CheckReport report = CheckDataDirectory(dir.Str());
        EXPECT_TRUE(test::HasFinding(report, f.expect)) << f.what << "\n" << test::Listed(report);
    }
}

TEST(Sample, SameSeedSameBytesOtherSeedOtherWorldSamePromises) {
    const auto a = sample::BuildSample({});
    const auto b = sample::BuildSample({});
    ASSERT_EQ(a.files.size(), 13u);
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        EXPECT_EQ(a.files[i].name, b.files[i].name);
        EXPECT_TRUE(a.files[i].bytes == b.files[i].bytes) << a.files[i].name;
    }

    // What is written is exactly what was built.
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    for (const auto& f : a.files) EXPECT_TRUE(test::ReadFile(dir / f.name) == f.bytes) << f.name;

    for (std::uint64_t seed :
         {std::uint64_t{2}, std::uint64_t{987654321}, std::numeric_limits<std::uint64_t>::max()}) {
        SampleOptions opt;
        opt.seed = seed;
        const auto other = sample::BuildSample(opt);
        for (const char* name : {"staff.dat", "club.dat", "stadium.dat", "clubcomp.dat"}) {
            const auto find = [&](const sample::SampleData& d) {
                return std::find_if(d.files.begin(), d.files.end(),
                                    [&](const auto& f) { return f.name == name; })
                    ->bytes;
            };
            EXPECT_FALSE(find(other) == find(a)) << name << " seed " << seed;
        }
        TempDir otherDir;
        const auto summary = sample::WriteSample(otherDir.Path(), opt);
        const auto world = test::ReadSampleWorld(otherDir.Str());
        EXPECT_EQ(Joined(test::CheckSampleDirectory(otherDir.Str())), "") << "seed " << seed;
        EXPECT_EQ(Joined(test::CheckSampleWorld(world)), "") << "seed " << seed;
        EXPECT_EQ(Joined(test::CheckSampleFacts(world, summary)), "") << "seed " << seed;
    }
}

TEST(Sample, NamesAreSharedOnlyByThePairsAskedFor) {
    SampleOptions opt;
    opt.sharedNames = true;
    TempDir dir;
    const auto s = sample::WriteSample(dir.Path(), opt);
    EXPECT_EQ(Joined(test::CheckSampleFacts(test::ReadSampleWorld(dir.Str()), s)), "");
    // The check warns about each pair, and about nothing else.
    std::vector<std::string> found;
    for (const db::Finding& f : db::CheckDataDirectory(dir.Str()).findings)
        found.push_back(f.file + " " + std::to_string(f.record) + " " + f.field);
    EXPECT_EQ(found,
              (std::vector<std::string>{
                  "stadium.dat " + std::to_string(s.stadiumsSharingName.second) + " Name",
                  "city.dat " + std::to_string(s.citiesSharingName.second) + " Name",
                  "club.dat " + std::to_string(s.clubsSharingShortName.second) + " ShortName"}));
    // The pairs change names only: the persons are those of the sample without them.
    for (const auto& f : sample::BuildSample({}).files) {
        if (f.name == "staff.dat") {
            EXPECT_TRUE(test::ReadFile(dir / f.name) == f.bytes);
        }
    }
}

TEST(Sample, ClubcompCanBeLeftOut) {
    TempDir with, without;
    sample::WriteSample(with.Path(), {});
    SampleOptions opt;
    opt.clubcomp = false;
    sample::WriteSample(without.Path(), opt);
    EXPECT_FALSE(std::filesystem::exists(without / "clubcomp.dat"));
    auto a = test::Snapshot(with.Path());
    std::erase_if(a, [](const auto& f) { return f.first == "clubcomp.dat"; });
    EXPECT_TRUE(a == test::Snapshot(without.Path()));
}

TEST(Sample, RefusesADirectoryHoldingDataUnlessTold) {
    for (const char* existing : {"stadium.dat", "STADIUM.DAT", "staff.dat", "index.dat"}) {
        TempDir dir;
        test::WriteFile(dir / existing, std::string("user data"));
        const auto before = test::Snapshot(dir.Path());
        EXPECT_THROW(sample::WriteSample(dir.Path(), {}), sample::SampleError) << existing;
        EXPECT_TRUE(test::Snapshot(dir.Path()) == before) << existing;
#ifdef _WIN32  // the file system ignores letter case, so the name may come back as asked for
        std::string found = sample::ExistingDataFile(dir.Path()).value_or(""), want = existing;
        for (std::string* t : {&found, &want})
            for (char& c : *t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        ASSERT_EQ(found, want);
#else
        ASSERT_EQ(sample::ExistingDataFile(dir.Path()).value_or(""), existing);
#endif
    }

    // Told to, it writes over the file in its own letter case instead of beside it.
    TempDir dir;
    test::WriteFile(dir / "STADIUM.DAT", std::string("user data"));
    SampleOptions opt;
    opt.overwrite = true;
    const auto s = sample::WriteSample(dir.Path(), opt);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(std::count(names.begin(), names.end(), "STADIUM.DAT"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "stadium.dat"), 0);
    EXPECT_EQ(test::ReadFile(dir / "STADIUM.DAT").size(),
              static_cast<std::size_t>(s.stadiums) * db::StadiumRecord::kSize);
}

}  // namespace
}  // namespace vh
