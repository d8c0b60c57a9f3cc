// vhtool set: bad input and bad results are refused whole with a clear message and the right
// exit status; --clamp counts what it brought into range; every formula reads the row as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "database/records/text.h"
#include "database/tables/table_data.h"
#include "run_vhtool.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh {
namespace {

using test::TempDir;

// Record -> cell of a column of the table, as export writes it.
std::map<std::int64_t, std::string> Cells(const std::string& dir, db::TableId id,
                                          const std::string& column) {
    db::DataFiles files(dir);
    const db::TableRows rows(files, id);
    std::map<std::int64_t, std::string> out;
    for (std::size_t i = 0; i < rows.Size(); ++i)
        out[rows[i].record] = rows.Cell(rows[i], *rows.FindColumn(column));
    return out;
}

std::string NationName(const std::string& dir, std::int64_t n) {
    db::DataFiles files(dir);
    return db::Cp1252ToUtf8(files.NameOf(db::Target::kNation, n));
}

TEST(VhtoolSet, BadInputAndBadResultsAreRefusedWholeAndSaySo) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    const std::string d = dir.Str();
    const std::string nation = "--where=PlayerNation=" + NationName(d, 1);
    struct Case {
        std::vector<std::string> args;  // after "set DIR"
        int status;
        std::string out, err;  // each found in its stream
    };
    const Case cases[] = {
        {{"players", nation, "PLayerPace=PLayerPace+25"},
         1,
         "PLayerPace '",
         "results refused; nothing was written."},
        {{"players", nation, "PLayerPace=PLayerPace+25"},
         1,
         "': this value must be in the range 0 to 20",
         ""},
        {{"players", "PLayerPace=PLayerPace/(PlayerWage-PlayerWage)"},
         1,
         ", PLayerPace: division by zero",
         ""},
        {{"players", nation, "PlayerNation=\"Nowhere\""},
         1,
         "PlayerNation.name 'Nowhere': no record of nation.dat is named 'Nowhere'",
         ""},
        {{"players", "--where", "PLayerPace>99", "PLayerPace=1"},
         3,
         "",
         "no row of players meets the conditions; nothing was written."},
        {{"players", "PLayerPace=PLayerPace+*2"},
         2,
         "",
         "'PLayerPace=PLayerPace+*2', character 23: expected a number"},
        {{"players", "PLayerPase=2"}, 2, "", "the nearest are PLayerPace"},
        {{"players", "PLayerPace=1", "PLayerPace=2"}, 2, "", "PLayerPace is set twice"},
        {{"clubs", "ClubLName=1"}, 2, "", "ClubLName holds text"},
        {{"players", "--where", "Pace>1", "PLayerPace=1"}, 2, "", "no field 'Pace'"},
        {{"teams", "PLayerPace=1"}, 2, "", "unknown table 'teams'"},
        {{"players"}, 2, "", "set needs the directory, the table and at least one FIELD=EXPR"},
        {{"players", nation, "PLayerPace=PLayerPace+1", "--dry-run"}, 0, "Would change ", ""},
    };
    const auto before = test::Snapshot(dir.Path());
    for (const Case& c : cases) {
        std::vector<std::string> args = {"set", d};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.args.back());
        const Outcome o = Vhtool(args);
        EXPECT_EQ(o.status, c.status) << o.err;
        EXPECT_NE(o.out.find(c.out), std::string::npos) << o.out;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
        EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
    }
}

TEST(VhtoolSet, ClampCountsAndEveryFormulaReadsTheRowAsItWas) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    const std::string d = dir.Str();
    const auto pace = Cells(d, db::TableId::kPlayers, "PLayerPace");
    const auto stamina = Cells(d, db::TableId::kPlayers, "PlayerStamina");
    const auto nations = Cells(d, db::TableId::kPlayers, "PlayerNation");

    // Pace and stamina swapped, and pace raised by 5, at most to 20, for one nation.
    const Outcome o =
        Vhtool({"set", d, "players", "--where", "PlayerNation=1", "--clamp",
                "PLayerPace=PlayerStamina+5", "PlayerStamina=PLayerPace", "--verbose"});
    ASSERT_EQ(o.status, 0) << o.err;
    std::size_t clamped = 0, chosen = 0;
    for (const auto& [record, nation] : nations)
        if (nation == "1") {
            ++chosen;
            clamped += std::stoi(stamina.at(record)) + 5 > 20;
        }
    ASSERT_GT(clamped, 0u);
    ASSERT_LT(clamped, chosen);
    EXPECT_NE(o.out.find("; " + std::to_string(clamped) +
                         " results were clamped into the field's range.\n"),
              std::string::npos)
        << o.out;
    const auto paceAfter = Cells(d, db::TableId::kPlayers, "PLayerPace");
    const auto staminaAfter = Cells(d, db::TableId::kPlayers, "PlayerStamina");
    for (const auto& [record, nation] : nations) {
        SCOPED_TRACE(record);
        const bool set = nation == "1";
        EXPECT_EQ(paceAfter.at(record),
                  set ? std::to_string(std::min(std::stoi(stamina.at(record)) + 5, 20))
                      : pace.at(record));
        EXPECT_EQ(staminaAfter.at(record), set ? pace.at(record) : stamina.at(record));
    }

    // A reference set by the name it shows; run again, nothing is left to change.
    const std::string to = NationName(d, 2);
    const std::vector<std::string> move = {
        "set", d, "players", "--where", "PlayerNation=1", "PlayerNation=\"" + to + "\""};
    const Outcome moved = Vhtool(move);
    ASSERT_EQ(moved.status, 0) << moved.err;
    EXPECT_NE(moved.out.find("Changed " + std::to_string(chosen) + " fields of "),
              std::string::npos)
        << moved.out;
    const Outcome again =
        Vhtool({"set", d, "players", "--where", "PlayerNation=2", "PlayerNation=\"" + to + "\""});
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("Nothing to change"), std::string::npos) << again.out;
}

}  // namespace
}  // namespace vh
