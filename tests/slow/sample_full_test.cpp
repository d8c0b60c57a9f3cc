#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "support/test_util.h"
#include "tools/sample.h"
#include "tools/sample_check.h"

namespace vh {
namespace {

std::string Joined(const std::vector<std::string>& problems) {
    std::string out;
    for (const auto& p : problems) out += p + "\n";
    return out;
}

TEST(SampleFull, FillsEveryTableToItsCapacityConsistentlyInSeconds) {
    test::TempDir dir;
    sample::SampleOptions opt;
    opt.size = sample::SampleSize::kFull;
    const auto start = std::chrono::steady_clock::now();
    const auto s = sample::WriteSample(dir.Path(), opt);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "full sample written in " << seconds << " s\n";
    EXPECT_LT(seconds, 10.0);

    EXPECT_EQ(s.firstNames, 22001);
    EXPECT_EQ(s.secondNames, 60001);
    EXPECT_EQ(s.commonNames, 7001);
    EXPECT_EQ(s.stadiums, 9000);
    EXPECT_EQ(s.cities, 5000);
    EXPECT_EQ(s.clubs, 29998);
    EXPECT_EQ(s.nations, 600);
    EXPECT_EQ(s.competitions, 500);
    EXPECT_EQ(s.continents, 6);
    EXPECT_EQ(s.persons, 50000);
    EXPECT_EQ(s.players + s.nonPlayers, 50000);

    // The database checker finds the full sample consistent, well inside a second.
    const auto checkStart = std::chrono::steady_clock::now();
    const db::CheckReport report = db::CheckDataDirectory(dir.Str());
    const double checkSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - checkStart).count();
    std::cout << "full sample checked in " << checkSeconds << " s: " << report.Errors()
              << " errors, " << report.Warnings() << " warnings\n";
    EXPECT_EQ(report.Errors(), 0u);
    EXPECT_LT(checkSeconds, 1.0);
    EXPECT_EQ(Joined(test::CheckSampleDirectory(dir.Str())), "");

    const auto world = test::ReadSampleWorld(dir.Str());
    EXPECT_EQ(Joined(test::CheckSampleWorld(world)), "");
    EXPECT_EQ(Joined(test::CheckSampleFacts(world, s)), "");
}

}  // namespace
}  // namespace vh
