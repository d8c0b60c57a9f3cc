// The table view's pending edits without a window: each checked with the import's rules as it is
// entered, all or nothing, an edit back to the stored value no edit, and one write set at Save.
#include <gtest/gtest.h>

#include "database/tables/table_edits.h"
#include "database/write/write_set.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh::db {
namespace {

class Edits : public ::testing::Test {
  protected:
    void SetUp() override { summary = sample::WriteSample(dir.Path(), {}); }
    std::size_t ColumnOf(const TableRows& rows, std::string_view name) {
        const db::Column* c = rows.FindColumn(name);
        EXPECT_NE(c, nullptr) << name;
        return static_cast<std::size_t>(c - rows.Columns().data());
    }
    std::string Cell(DataFiles& files, std::int64_t record, std::string_view column) {
        const TableRows rows(files, TableId::kClubs);
        return rows.Cell(*rows.Find(record), *rows.FindColumn(column));
    }
    test::TempDir dir;
    sample::SampleSummary summary;
};

TEST_F(Edits, EachIsCheckedAsEnteredAndAllOrNothingIsKept) {
    DataFiles files(dir.Str());
    const TableRows rows(files, TableId::kClubs);
    const std::size_t cash = ColumnOf(rows, "ClubCash");
    const std::size_t reputation = ColumnOf(rows, "ClubReputation");
    const std::int64_t club = summary.clubWithFullPosts;
    const std::string stored = rows.Cell(*rows.Find(club), rows.Columns()[cash]);
    TableEdits edits;

    // Refused with the import's reason; nothing is kept.
    ImportPlan plan = edits.Enter(files, rows, {{club, cash, {"50000001"}}});
    ASSERT_EQ(plan.bad.size(), 1u);
    EXPECT_NE(plan.bad[0].reason.find("50000000"), std::string::npos) << plan.bad[0].reason;
    EXPECT_TRUE(edits.Empty());

    // Taken, with what it writes.
    EXPECT_TRUE(edits.Enter(files, rows, {{club, cash, {"1234"}}}).bad.empty());
    ASSERT_NE(edits.Find(club, cash), nullptr);
    EXPECT_EQ(edits.Find(club, cash)->after, "1234");

    // Two cells, one bad: neither is taken, the first edit stays as it was.
    plan = edits.Enter(files, rows, {{club, cash, {"99"}}, {club, reputation, {"10001"}}});
    EXPECT_EQ(plan.bad.size(), 1u);
    EXPECT_EQ(edits.Find(club, cash)->after, "1234");
    EXPECT_EQ(edits.Find(club, reputation), nullptr);

    // Back to the stored value: no edit, and the record has none left.
    EXPECT_TRUE(edits.Enter(files, rows, {{club, cash, {stored}}}).bad.empty());
    EXPECT_TRUE(edits.Empty());
}

TEST_F(Edits, SaveIsOneWriteSetAndAnEditTheFilesNowHoldGoesOnRecheck) {
    const std::int64_t club = summary.clubWithFullPosts;
    const std::int64_t other = summary.clubWithGaps;
    TableEdits edits;
    {
        DataFiles files(dir.Str());
        const TableRows rows(files, TableId::kClubs);
        const std::size_t cash = ColumnOf(rows, "ClubCash");
        const std::size_t stadium = ColumnOf(rows, "ClubStadium");
        // A reference picked by its record number, another cell typed.
        ASSERT_TRUE(edits.Enter(files, rows, {{club, stadium, {"0", true}}, {other, cash, {"77"}}})
                        .bad.empty());
        EXPECT_EQ(edits.Records(), 2u);
        const ImportPlan plan = edits.Plan(files, rows);
        ASSERT_TRUE(plan.bad.empty());
        EXPECT_EQ(plan.writes.Label(), "Table Edit of 2 records");
        EXPECT_EQ(plan.records, 2u);
        Commit(dir.Str(), plan.writes);
    }
    DataFiles files(dir.Str());
    EXPECT_EQ(Cell(files, other, "ClubCash"), "77");
    EXPECT_EQ(Cell(files, club, "ClubStadium"), "0");
    const TableRows rows(files, TableId::kClubs);
    edits.Recheck(files, rows);
    EXPECT_TRUE(edits.Empty());
}

}  // namespace
}  // namespace vh::db
