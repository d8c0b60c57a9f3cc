// "Check Data...": the menu item, the window of findings and its filter, opening the record of a
// finding through the shell, and a sequence of edits through the real window that leaves a
// consistent directory consistent.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSortFilterProxyModel>
#include <QTableView>

#include "database/model/check.h"
#include "database/records/data_def.h"
#include "editor/pages/staff_page.h"
#include "editor/windows/check_window.h"
#include "editor_fixture.h"

namespace vh {
namespace {

using db::Subject;
using ui::Mode;

class CheckData : public test::EditorTest {
  protected:
    ui::TCheckWindow* RunCheck() {
        Action("CheckDataMenu")->trigger();
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        return Main().CheckWindow();
    }
    // The line of the filtered list with this finding; -1 when none.
    int LineOf(ui::TCheckWindow& w, Subject s, std::int64_t record, const std::string& field) {
        QSortFilterProxyModel* m = w.Filtered();
        for (int row = 0; row < m->rowCount(); ++row) {
            const auto& f = w.Model().At(m->mapToSource(m->index(row, 0)).row());
            if (f.subject == s && f.record == record && f.field == field) return row;
        }
        return -1;
    }
    void Press(const char* button) { Find<QPushButton>(button)->click(); }
    // The record on the page of the mode; the person pages keep the person's Id.
    std::int64_t RecordOn(Mode m) {
        if (m == Mode::kPlayers) return Main().Players().StaffRec.Get(db::StaffRecord::Id);
        if (m == Mode::kStaff) return Main().Staff().StaffRec.Get(db::StaffRecord::Id);
        return Main().PageOf(m).RecordNumber();
    }
};

TEST_F(CheckData, ListsTheFindingsOfTheLoadedDirectoryBesideTheMainWindow) {
    Patch(5, [](db::ClubRecord& c) { c.Set(db::ClubRecord::Stadium, 99999); });
    EXPECT_FALSE(Action("CheckDataMenu")->isEnabled());
    Load();
    ASSERT_TRUE(Action("CheckDataMenu")->isEnabled());
    EXPECT_EQ(Action("CheckDataMenu")->text(), "Check Data...");
    ui::TCheckWindow* w = RunCheck();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), "CheckDataWindow");
    EXPECT_EQ(w->windowTitle(), "Check Data");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->windowModality(), Qt::NonModal);

    // The sample's duplicate names (warnings) and the planted reference.
    const db::CheckReport report = db::CheckDataDirectory(dir.Str());
    EXPECT_EQ(report.Errors(), 1u);
    EXPECT_EQ(w->List()->model()->rowCount(), static_cast<int>(report.findings.size()));
    EXPECT_TRUE(w->findChild<QLabel*>("CheckDataCounts")->text().contains(": 1 error, "));
    EXPECT_GE(LineOf(*w, Subject::kClub, 5, "Stadium"), 0);

    // The filter keeps one kind; "All kinds" brings every line back.
    QComboBox* kind = w->findChild<QComboBox*>("CheckDataKind");
    ASSERT_NE(kind, nullptr);
    const int references = kind->findText("references (1)");
    ASSERT_GE(references, 0);
    kind->setCurrentIndex(references);
    EXPECT_EQ(w->List()->model()->rowCount(), 1);
    kind->setCurrentIndex(0);
    EXPECT_EQ(w->List()->model()->rowCount(), static_cast<int>(report.findings.size()));

    // Running it again refreshes the same window.
    Patch(5, [](db::ClubRecord& c) { c.Set(db::ClubRecord::Stadium, -1); });
    EXPECT_EQ(RunCheck(), w);
    EXPECT_TRUE(w->findChild<QLabel*>("CheckDataCounts")->text().contains(": 0 errors, "));
}

TEST_F(CheckData, ADoubleClickShowsTheRecordOfItsMode) {
    const std::int32_t player = summary.player, manager = summary.manager;
    Patch(5, [](db::ClubRecord& c) { c.Set(db::ClubRecord::Stadium, 99999); });
    Patch(1, [](db::NationRecord& n) { n.Set(db::NationRecord::Continent, 999); });
    Patch(3, [](db::StadiumRecord& s) { s.Set(db::StadiumRecord::City, -5); });
    Patch(4, [](db::CityRecord& c) { c.Set(db::CityRecord::Nation, 9999); });
    Patch(player, [](db::StaffRecord& p) { p.Set(db::StaffRecord::FavouriteClubs[0], 999999); });
    Patch(manager, [](db::StaffRecord& p) { p.Set(db::StaffRecord::DislikedClubs[1], 999999); });
    Load();
    ui::TCheckWindow* w = RunCheck();
    ASSERT_NE(w, nullptr);
    struct Case {
        Subject subject;
        std::int64_t record;
        const char* field;
        Mode mode;
    };
    const Case cases[] = {
        {Subject::kClub, 5, "Stadium", Mode::kClubs},
        {Subject::kNation, 1, "Continent", Mode::kNation},
        {Subject::kStadium, 3, "City", Mode::kStadiums},
        {Subject::kCity, 4, "Nation", Mode::kCity},
        {Subject::kPlayer, player, "FavouriteClubs[0]", Mode::kPlayers},
        {Subject::kStaff, manager, "DislikedClubs[1]", Mode::kStaff},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const int line = LineOf(*w, c.subject, c.record, c.field);
        ASSERT_GE(line, 0);
        ui::seam::Clear();
        emit w->List()->doubleClicked(w->List()->model()->index(line, 0));
        EXPECT_EQ(Main().CurrentMode(), c.mode);
        EXPECT_EQ(RecordOn(c.mode), c.record);
        // The page says which references point nowhere; nothing else is asked.
        for (const auto& asked : ui::seam::Log()) EXPECT_EQ(asked.caption, "Missing Records");
    }

    // The later of two stadiums of one name cannot be reached by it: said, nothing changes.
    const std::int32_t second = summary.stadiumsSharingName.second;
    ui::seam::Clear();
    EXPECT_FALSE(Main().ShowRecord(Mode::kStadiums, second));
    EXPECT_EQ(LastAsked() ? LastAsked()->caption : QString(), "Check Data");
    EXPECT_EQ(RecordOn(Mode::kStadiums), 3);
}

TEST_F(CheckData, OpeningARecordAsksToSaveAPendingChangeFirst) {
    Load();
    ASSERT_TRUE(Main().ShowRecord(Mode::kClubs, 2));
    Edit("ClubCash")->setText("4321");
    ASSERT_TRUE(Main().RecordChanged());
    const test::Bytes clubs = test::ReadFile(File("club.dat"));

    ui::seam::Clear();
    ui::seam::QueueAnswer(ui::Answer::kCancel);
    EXPECT_FALSE(Main().ShowRecord(Mode::kCity, 1));
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Save Changes?");
    EXPECT_EQ(Main().CurrentMode(), Mode::kClubs);
    EXPECT_EQ(RecordOn(Mode::kClubs), 2);
    EXPECT_TRUE(Main().RecordChanged());

    ui::seam::QueueAnswer(ui::Answer::kNo);
    EXPECT_TRUE(Main().ShowRecord(Mode::kCity, 1));
    EXPECT_EQ(Main().CurrentMode(), Mode::kCity);
    EXPECT_EQ(test::ReadFile(File("club.dat")), clubs);
}

TEST_F(CheckData, EditsTransfersAppointmentsAndReleasesKeepTheDirectoryClean) {
    const auto before = db::CheckDataDirectory(dir.Str());
    ASSERT_EQ(before.Errors(), 0u);
    Load();
    auto save = [&] {
        ASSERT_TRUE(Main().RecordChanged());
        Press("Save");
        EXPECT_FALSE(Main().RecordChanged());
    };
    auto person = [&](Mode m, std::int32_t id) {
        ASSERT_TRUE(Main().ShowRecord(m, id));
        ASSERT_EQ(RecordOn(m), id);
    };
    // Saves of every page, with a reference picked on the way.
    person(Mode::kPlayers, summary.player);
    Edit("PlayerWage")->setText("123");
    save();
    ASSERT_TRUE(Main().ShowRecord(Mode::kClubs, summary.clubWithGaps));
    Edit("ClubCash")->setText("777");
    Pick("ClubNationChange", Line::Of(2));
    save();
    ASSERT_TRUE(Main().ShowRecord(Mode::kStadiums, 0));
    Edit("StadCap")->setText("500000");
    save();
    ASSERT_TRUE(Main().ShowRecord(Mode::kCity, 0));
    Edit("CityAttraction")->setText("7");
    save();
    ASSERT_TRUE(Main().ShowRecord(Mode::kNation, 0));
    Edit("NationReputation")->setText("99");
    save();

    // Transfers: into a club without a squad, to another club, and out as a free agent.
    person(Mode::kPlayers, summary.player);
    Pick("PlayerNewClubChange", Line::Of(summary.clubWithoutSquad));
    Press("TransferPlayer");
    person(Mode::kPlayers, summary.freePlayer);
    Pick("PlayerNewClubChange", Line::Of(summary.clubWithGaps));
    Press("TransferPlayer");
    person(Mode::kPlayers, summary.commonNamePlayer);
    Press("FreeTransfer");

    // Appointments and releases of staff, at clubs and at a national side.
    person(Mode::kStaff, summary.manager);
    Pick("NonPlayerNewClubChange", Line::Of(summary.clubWithoutManager));
    Press("NonPlayerClubTransfer");
    person(Mode::kStaff, summary.noPostStaff);
    Press("NonPlayerClubRelease");
    person(Mode::kStaff, summary.freeStaff);
    Pick("NonPlayerNewNationChange", Line::Of(3));
    Press("NonPlayerNationTransfer");
    person(Mode::kStaff, summary.nationalManager);
    Press("NonPlayerNationRelease");
    for (const auto& asked : ui::seam::Log())
        ADD_FAILURE() << "asked: " << asked.caption.toStdString() << ": "
                      << asked.text.toStdString();

    const db::CheckReport after = db::CheckDataDirectory(dir.Str());
    std::string listed;
    for (const auto& f : after.findings)
        if (f.kind != db::CheckKind::kDuplicate)
            listed += f.file + " " + f.field + ": " + f.message + "\n";
    EXPECT_EQ(listed, "");
    EXPECT_EQ(after.findings.size(), before.findings.size());
    // The moves happened.
    EXPECT_EQ(db::CheckDataDirectory(dir.Str()).Errors(), 0u);
    const test::Bytes staff = test::ReadFile(File("staff.dat"));
    EXPECT_EQ(test::GetI32(staff, summary.player * 157 + 57), summary.clubWithoutSquad);
    EXPECT_EQ(test::GetI32(staff, summary.manager * 157 + 57), summary.clubWithoutManager);
    EXPECT_EQ(test::GetI32(staff, summary.noPostStaff * 157 + 57), -1);
    EXPECT_EQ(test::GetI32(staff, summary.freeStaff * 157 + 36), 3);
}

}  // namespace
}  // namespace vh
