// Every table of the full-size sample exported and imported back unchanged: no byte changes.
#include <gtest/gtest.h>

#include "database/tables/table_import.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh {
namespace {

TEST(TablesFull, AnUnchangedExportOfEveryTableImportsWithoutAChange) {
    test::TempDir dir;
    sample::SampleOptions opt;
    opt.size = sample::SampleSize::kFull;
    sample::WriteSample(dir.Path(), opt);
    const auto before = test::Snapshot(dir.Path());
    for (const db::Table& t : db::Tables()) {
        // JSON reads the same cells: once, for the largest table.
        const bool json = t.id == db::TableId::kPlayers;
        for (const auto format : {db::TableFormat::kCsv, db::TableFormat::kJson}) {
            if (format == db::TableFormat::kJson && !json) continue;
            db::DataFiles files(dir.Str());
            std::string text;
            db::WriteTable(db::TableRows(files, t.id), format, {}, true, text);
            const db::ImportPlan plan = db::PlanImport(files, t.id, db::ReadCellTable(text));
            EXPECT_TRUE(plan.bad.empty()) << t.name << ": " << db::Describe(plan.bad.front());
            EXPECT_TRUE(plan.writes.Empty()) << t.name;
        }
    }
    EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
}

}  // namespace
}  // namespace vh
