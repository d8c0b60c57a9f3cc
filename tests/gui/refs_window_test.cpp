// Edit > "What Points Here...": enabled with a record on the page, the window of what points at
// it, opening a line's record, and the list kept right after a commit and its Undo.
#include <QLabel>
#include <QTableView>

#include "database/tables/refs.h"
#include "editor/pages/staff_page.h"
#include "editor/windows/refs_window.h"
#include "editor_fixture.h"

namespace vh {
namespace {

using ui::Mode;

class WhatPointsHere : public test::EditorTest {
  protected:
    // The line of the window for this record and field caption; -1 when none.
    static int LineOf(ui::TWhatPointsHereWindow& w, db::TableId table, std::int64_t record,
                      const char* caption) {
        for (int row = 0; row < w.Model().rowCount(); ++row) {
            const db::Referrer& r = w.Model().At(row);
            if (r.table == table && r.record == record && std::string(r.field->caption) == caption)
                return row;
        }
        return -1;
    }
};

TEST_F(WhatPointsHere, ListsTheReferrersOpensOneAndFollowsCommits) {
    QAction* menu = Action("WhatPointsHereMenu");
    EXPECT_FALSE(menu->isEnabled());
    Load();
    EXPECT_FALSE(menu->isEnabled());  // no record on the page yet
    const std::int32_t club = summary.clubWithFullPosts, manager = summary.manager;
    ASSERT_TRUE(Main().ShowRecord(Mode::kClubs, club));
    ASSERT_TRUE(menu->isEnabled());
    EXPECT_EQ(menu->text(), "What Points Here...");

    menu->trigger();
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    ui::TWhatPointsHereWindow* w = Main().WhatPointsHereWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), "WhatPointsHereWindow");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->List(), w->findChild<QTableView*>("WhatPointsHereList"));
    const auto hits = db::WhatPointsHere(dir.Str()).Find(db::TableId::kClubs, club);
    EXPECT_EQ(w->List()->model()->rowCount(), static_cast<int>(hits.size()));
    const int line = LineOf(*w, db::TableId::kStaff, manager, "Current Club");
    ASSERT_GE(line, 0);
    EXPECT_EQ(w->List()->model()->index(line, ui::ReferrerModel::kLabel).data().toString(),
              QString::fromStdString(hits[static_cast<std::size_t>(line)].label));

    // A double click shows the manager on the staff page.
    emit w->List()->doubleClicked(w->List()->model()->index(line, 0));
    EXPECT_EQ(Main().CurrentMode(), Mode::kStaff);
    EXPECT_EQ(Main().Staff().StaffRec.Get(db::StaffRecord::Id), manager);
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();

    // His release is a commit: the list no longer holds him; its Undo brings him back.
    Find<QPushButton>("NonPlayerClubRelease")->click();
    EXPECT_EQ(LineOf(*w, db::TableId::kStaff, manager, "Current Club"), -1);
    EXPECT_EQ(w->List()->model()->rowCount(), static_cast<int>(hits.size()) - 1);
    Action("UndoMenu")->trigger();
    EXPECT_GE(LineOf(*w, db::TableId::kStaff, manager, "Current Club"), 0);
    EXPECT_EQ(w->List()->model()->rowCount(), static_cast<int>(hits.size()));
}

TEST_F(WhatPointsHere, SaysSoWhenNothingPointsAtTheRecord) {
    // A city no stadium is in and no nation has as its capital.
    Patch(0, [](db::CityRecord& c) { c.Set(db::CityRecord::Name, std::string("Nowhere")); });
    test::Bytes stadiums = test::ReadFile(File("stadium.dat"));
    test::Bytes nations = test::ReadFile(File("nation.dat"));
    for (std::size_t at = 0; at < stadiums.size(); at += db::StadiumRecord::kSize)
        if (test::GetI32(stadiums, at + db::StadiumRecord::City.offset) == 0)
            test::PutI32(stadiums, at + db::StadiumRecord::City.offset, 1);
    for (std::size_t at = 0; at < nations.size(); at += db::NationRecord::kSize)
        if (test::GetI32(nations, at + db::NationRecord::CapitalCity.offset) == 0)
            test::PutI32(nations, at + db::NationRecord::CapitalCity.offset, 1);
    test::WriteFile(File("stadium.dat"), stadiums);
    test::WriteFile(File("nation.dat"), nations);
    Load();
    ASSERT_TRUE(Main().ShowRecord(Mode::kCity, 0));
    Action("WhatPointsHereMenu")->trigger();
    ui::TWhatPointsHereWindow* w = Main().WhatPointsHereWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->List()->model()->rowCount(), 0);
    EXPECT_EQ(w->findChild<QLabel*>("WhatPointsHereSummary")->text(),
              "Nothing points at city \"Nowhere\" (record 0).");
}

}  // namespace
}  // namespace vh
