// vhtool export: cells as the pages show them, CSV and JSON alike, and the --where filter.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "database/records/text.h"
#include "database/tables/table_io.h"
#include "planted_faults.h"
#include "run_vhtool.h"
#include "support/test_util.h"
#include "tools/cli.h"
#include "tools/sample.h"

namespace vh {
namespace {

using test::TempDir;

// The cell of a column in a row, as a file holds it.
std::string CellOf(const db::CellTable& t, std::size_t row, const std::string& column) {
    for (std::size_t c = 0; c < t.columns.size(); ++c)
        if (t.columns[c] == column) return t.rows.at(row).cells.at(c).value_or("<none>");
    return "<no column " + column + ">";
}

TEST(VhtoolExport, CsvAndJsonHoldTheSameCells) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    // A name that needs quoting in CSV and escaping in JSON, with a letter beyond ASCII.
    test::Edit<db::ClubRecord>(dir.Path(), "club.dat", 0, [](db::ClubRecord& c) {
        c.Set(db::ClubRecord::ShortName, std::string("Smith's \"Best\", F\xC7"));
        c.Set(db::ClubRecord::Nation, 3);
    });
    const Outcome csv = Vhtool({"export", dir.Str(), "clubs"});
    const Outcome json = Vhtool({"export", dir.Str(), "clubs", "--format", "json"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    ASSERT_EQ(json.status, 0) << json.err;
    const db::CellTable c = db::ReadCellTable(csv.out);
    const db::CellTable j = db::ReadCellTable(json.out);
    EXPECT_EQ(c.format, db::TableFormat::kCsv);
    EXPECT_EQ(j.format, db::TableFormat::kJson);
    EXPECT_EQ(c.columns, j.columns);
    ASSERT_EQ(c.rows.size(), j.rows.size());
    for (std::size_t r = 0; r < c.rows.size(); ++r) EXPECT_EQ(c.rows[r].cells, j.rows[r].cells);

    EXPECT_EQ(c.columns.front(), "Record");
    EXPECT_EQ(CellOf(c, 0, "ClubSName"), "Smith's \"Best\", F\u00C7");
    const auto nations = test::ReadRecords<db::NationRecord>(dir.Str() + "/nation.dat");
    EXPECT_EQ(CellOf(c, 0, "ClubNation"), "3");
    EXPECT_EQ(CellOf(c, 0, "ClubNation.name"),
              db::Cp1252ToUtf8(nations[3].Get(db::NationRecord::ShortName)));
    EXPECT_NE(json.out.find("\"ClubNation\":3,"), std::string::npos) << "numbers as numbers";
}

TEST(VhtoolExport, WhereKeepsTheRowsThatMeetEveryCondition) {
    TempDir dir;
    sample::SampleOptions options;
    options.sharedNames = true;  // two clubs named "Athletic"
    const auto s = sample::WriteSample(dir.Path(), options);
    db::DataFiles files(dir.Str());
    const db::TableRows players(files, db::TableId::kPlayers);
    const db::Column& pace = *players.FindColumn("PLayerPace");
    const db::Column& nation = *players.FindColumn("PlayerNation");
    std::size_t fast = 0, fastAndHome = 0;
    for (std::size_t i = 0; i < players.Size(); ++i) {
        const bool isFast = std::stoi(players.Cell(players[i], pace)) >= 18;
        fast += isFast;
        fastAndHome += isFast && players.Cell(players[i], nation) == "2";
    }
    ASSERT_GT(fast, fastAndHome);
    const std::string home =
        db::Cp1252ToUtf8(test::ReadRecords<db::NationRecord>(dir.Str() + "/nation.dat")[2].Get(
            db::NationRecord::ShortName));
    std::string upper = home;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));

    struct Case {
        std::vector<std::string> where;
        std::string table;
        std::size_t rows;
    };
    const Case cases[] = {
        {{"PLayerPace>=18"}, "players", fast},
        {{"PLayerPace >= 18", "PlayerNation=2"}, "players", fastAndHome},
        {{"PLayerPace>=18 AND PlayerNation=" + home}, "players", fastAndHome},  // by its name
        {{"PlayerNation~" + upper + " and PLayerPace>=18"}, "players", fastAndHome},
        {{"PlayerNation=<missing 7>"}, "players", 0},
        {{"ClubLName~ATHLETIC CLUB"}, "clubs", 2},  // contains, whatever the case
        {{"Record<5"}, "clubs", 5},                 // as numbers: 10 is not below 5
        {{"ClubSName=Athletic", "Record!=4"}, "clubs", 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"export", dir.Str(), c.table};
        for (const std::string& w : c.where) args.insert(args.end(), {"--where", w});
        const Outcome r = Vhtool(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(db::ReadCellTable(r.out).rows.size(), c.rows) << c.where.front();
    }
    (void)s;

    const Outcome unknown = Vhtool({"export", dir.Str(), "players", "--where", "Pace>3"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no field 'Pace'; the fields are: Record, PlayerFirstName"),
              std::string::npos)
        << unknown.err;
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(Vhtool({"export", dir.Str(), "players", "--where", "PLayerPace"}).status, 2);
    const Outcome word = Vhtool({"export", dir.Str(), "players", "--where", "PLayerPace>=fast"});
    EXPECT_EQ(word.status, 2);
    EXPECT_NE(word.err.find("'fast' is no number: PLayerPace holds numbers"), std::string::npos)
        << word.err;
    // "and" that starts no condition belongs to the value.
    const std::vector<db::Column> columns = db::ColumnsOf(db::TableOf(db::TableId::kClubs));
    const auto both = db::ParseFilter("ClubLName~Brighton and Hove and ClubCash>=5", columns);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].value, "Brighton and Hove");
    EXPECT_TRUE(db::ParseFilter("  ", columns).empty());
    EXPECT_NE(Vhtool({"export", dir.Str(), "teams"}).err.find("use one of stadiums cities"),
              std::string::npos);
}

}  // namespace
}  // namespace vh
