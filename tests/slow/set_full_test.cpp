// vhtool set on the full-size sample: two points of pace for every player of one nation change
// exactly those bytes and no other, in one commit well inside a second.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "database/tables/table_data.h"
#include "support/test_util.h"
#include "tools/cli.h"
#include "tools/sample.h"

namespace vh {
namespace {

TEST(SetFull, TwoPointsOfPaceForEveryPlayerOfANationChangeOnlyThoseBytes) {
    test::TempDir dir;
    sample::SampleOptions opt;
    opt.size = sample::SampleSize::kFull;
    sample::WriteSample(dir.Path(), opt);
    const auto before = test::Snapshot(dir.Path());

    // What the files must hold after: the pace byte of each player of nation 7 two higher
    // (those at 19 or 20 are left out by the condition, or the set would be refused whole).
    auto expected = before;
    std::size_t players = 0;
    {
        db::DataFiles files(dir.Str());
        const db::TableRows rows(files, db::TableId::kPlayers);
        const db::Column& nation = *rows.FindColumn("PlayerNation");
        const db::Field& pace = *rows.FindColumn("PLayerPace")->field;
        auto staff = std::find_if(expected.begin(), expected.end(),
                                  [](const auto& f) { return f.first == "staff.dat"; });
        ASSERT_NE(staff, expected.end());
        for (std::size_t i = 0; i < rows.Size(); ++i) {
            if (rows.Cell(rows[i], nation) != "7" || pace.Read(rows[i].block) > 18) continue;
            const auto at =
                static_cast<std::size_t>(files.BlockOffset(rows[i].rec, pace.part)) + pace.offset;
            ASSERT_EQ(pace.width, 1);
            staff->second[at] = static_cast<std::uint8_t>(staff->second[at] + 2);
            ++players;
        }
    }
    ASSERT_GT(players, 10u);

    std::ostringstream out, err;
    const auto start = std::chrono::steady_clock::now();
    const int status = cli::RunVhtool({"set", dir.Str(), "players", "--where", "PlayerNation=7",
                                       "--where", "PLayerPace<=18", "PLayerPace=PLayerPace+2"},
                                      out, err);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "set of " << players << " paces in " << seconds << " s\n";
    ASSERT_EQ(status, 0) << err.str();
    EXPECT_EQ(out.str(), "Changed " + std::to_string(players) + " fields of " +
                             std::to_string(players) + " records in " + dir.Str() + ".\n");
    EXPECT_TRUE(test::Snapshot(dir.Path()) == expected);
    EXPECT_LT(seconds, 1.0);
}

}  // namespace
}  // namespace vh
