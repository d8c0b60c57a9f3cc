// Edit > Undo and Redo through the real window, and the recovery notice of "Load Data".
#include <QListWidget>

#include "database/write/journal.h"
#include "database/write/write_set.h"
#include "dialogs/qtext.h"
#include "editor/pages/club_page.h"
#include "editor/pages/page.h"
#include "editor_fixture.h"
#include "support/hostile_journals.h"

namespace vh::test {
namespace {

using State = std::vector<std::pair<std::string, Bytes>>;

class UndoRedo : public EditorTest {
  protected:
    // The data files; the editor's scratch files change with every search.
    State Data() {
        State s = Snapshot(dir.Path());
        std::erase_if(s, [](const auto& f) {
            return f.first == "index2.dat" || f.first == "player.dat" || f.first == "nonplayer.dat";
        });
        return s;
    }
    void ShowPlayer(std::int32_t id) {
        Find<QRadioButton>("PlayerRad")->click();
        Choose(Main().Players().GetStaffName(id));
    }
    void Transfer(const QString& club) {
        Edit("PlayerNewClub")->setText(club);
        Find<QPushButton>("TransferPlayer")->click();
    }
    QString Caption(const char* action) { return Action(action)->text(); }
};

// A save is named by the first of the names its search matches that is not empty.
TEST(SaveLabel, NamesTheRecordByItsFirstNonEmptySearchName) {
    db::NationRecord nation;
    nation.Set(db::NationRecord::ShortName, "Showland");
    EXPECT_EQ(ui::SaveLabel(db::TableOf(db::TableId::kNations), nation.data()),
              "Save of Nation Showland");
    nation.Set(db::NationRecord::LongName, "Republic of Showland");
    EXPECT_EQ(ui::SaveLabel(db::TableOf(db::TableId::kNations), nation.data()),
              "Save of Nation Republic of Showland");
    db::StadiumRecord stadium;
    stadium.Set(db::StadiumRecord::Name, "Central Park");
    EXPECT_EQ(ui::SaveLabel(db::TableOf(db::TableId::kStadiums), stadium.data()),
              "Save of Stadium Central Park");
    db::CityRecord city;
    EXPECT_EQ(ui::SaveLabel(db::TableOf(db::TableId::kCities), city.data()), "Save of City ");
}

TEST_F(UndoRedo, ATransferIsTakenBackAndWrittenAgainByteForByte) {
    Load();
    EXPECT_FALSE(Action("UndoMenu")->isEnabled());
    ShowPlayer(summary.player);
    const QString label = Main().Players().GetStaffName(summary.player);
    const QString home = Edit("PlayerCurrentClub")->text();
    const State before = Data();
    Transfer(QStringLiteral("Athletic"));
    const State after = Data();
    ASSERT_NE(before, after);
    EXPECT_EQ(Caption("UndoMenu"), "Undo Transfer of " + label);
    EXPECT_EQ(Action("UndoMenu")->shortcut(), QKeySequence(QKeySequence::Undo));
    EXPECT_FALSE(Action("RedoMenu")->isEnabled());

    Action("UndoMenu")->trigger();
    EXPECT_EQ(Data(), before);
    EXPECT_EQ(Edit("PlayerCurrentClub")->text(), home);  // the page reads the record again
    EXPECT_EQ(Caption("RedoMenu"), "Redo Transfer of " + label);
    EXPECT_FALSE(Action("UndoMenu")->isEnabled());

    Action("RedoMenu")->trigger();
    EXPECT_EQ(Data(), after);
    EXPECT_EQ(Edit("PlayerCurrentClub")->text(), "Athletic");
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
}

TEST_F(UndoRedo, AChangedRecordOrACancelledSaveChangesNothing) {
    Load();
    ShowPlayer(summary.player);
    Transfer(QStringLiteral("Athletic"));
    const QString undo = Caption("UndoMenu");

    // A pending edit is asked about first; Cancel keeps everything.
    Edit("PlayerWage")->setText("77");
    ASSERT_TRUE(Main().RecordChanged());
    const State transferred = Data();
    ui::seam::QueueAnswer(ui::Answer::kCancel);
    Action("UndoMenu")->trigger();
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Save Changes?");
    EXPECT_EQ(Data(), transferred);
    EXPECT_EQ(Caption("UndoMenu"), undo);
    ui::seam::QueueAnswer(ui::Answer::kNo);
    ShowPlayer(summary.player);

    // Another program changes the player's record: Undo says so and writes nothing.
    Bytes staff = ReadFile(File("staff.dat"));
    staff[static_cast<std::size_t>(summary.player) * 157 + 78] ^= 1;  // his wage
    WriteFile(File("staff.dat"), staff);
    const State changed = Data();
    ui::seam::Clear();
    Action("UndoMenu")->trigger();
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Undo");
    EXPECT_EQ(LastText(), undo + " is not possible: staff.dat record " +
                              QString::number(summary.player) +
                              " has been changed since, by another command or another program. "
                              "Nothing was changed.");
    EXPECT_EQ(Data(), changed);
    EXPECT_EQ(Caption("UndoMenu"), undo);
}

// Undoing a club save that renamed the club: the page and the result list have the old name.
TEST_F(UndoRedo, UndoOfARenameRefillsTheList) {
    Load();
    Action("ClubMenu")->trigger();
    const QString old = Main().ResultModel().Texts().front();
    Choose(old);
    ASSERT_EQ(Edit("ClubSName")->text(), old);
    const QString longName = Edit("ClubLName")->text();
    Edit("ClubSName")->setText("Renamed");
    Find<QPushButton>("Save")->click();
    EXPECT_EQ(Caption("UndoMenu"), "Undo Save of Club " + longName);
    Find<QRadioButton>("Clubrad")->click();
    ASSERT_TRUE(Main().ResultModel().Texts().contains("Renamed"));

    Action("UndoMenu")->trigger();
    EXPECT_EQ(Edit("ClubSName")->text(), old);
    EXPECT_TRUE(Main().ResultModel().Texts().contains(old));
    EXPECT_FALSE(Main().ResultModel().Texts().contains("Renamed"));
    EXPECT_FALSE(Main().RecordChanged());
}

// A journal the editor never wrote: "Load Data" obeys none of it, opens the files read-only and
// says what to do, in one message naming vhedit.journal.
TEST_F(UndoRedo, LoadDataObeysNoHostileJournal) {
    namespace fs = std::filesystem;
    // Copied file by file: Windows copies no folder into one that exists.
    auto copyInto = [](const fs::path& from, const fs::path& to) {
        for (const auto& e : fs::directory_iterator(from))
            fs::copy(e.path(), to / e.path().filename(), fs::copy_options::recursive);
    };
    TempDir pristine;
    copyInto(dir.Path(), pristine.Path());
    for (const HostileJournal& h : HostileJournals()) {
        SCOPED_TRACE(h.name);
        // The files the last load opened are closed first: Windows removes no open file.
        windows = ui::Windows{};
        for (const auto& e : fs::directory_iterator(dir.Path())) fs::remove_all(e.path());
        copyInto(pristine.Path(), dir.Path());
        TempDir outside;
        MakeVictims(outside.Path());
        h.make(dir.Path(), outside.Path());
        const auto before = Reachable(dir.Path(), outside.Path());
        windows = ui::CreateWindows(ui::StartOptions{QString::fromStdString(dir.Str())});
        ui::seam::Clear();
        Find<QPushButton>("Load")->click();
        ASSERT_FALSE(ui::seam::Log().empty());
        const QString notice = ui::seam::Log().front().text;
        EXPECT_TRUE(notice.contains("vhedit.journal, which this editor cannot have written"))
            << notice.toStdString();
        EXPECT_TRUE(notice.contains("move vhedit.journal out of the folder"));
        if (Main().DataLoaded()) {
            EXPECT_TRUE(Main().ReadOnly());
        }
        EXPECT_EQ(Reachable(dir.Path(), outside.Path()), before);
        fs::remove(dir.Str() + "_victim.dat");
    }
}

// Another program changes the club on the page after the page showed it: the save writes nothing,
// says which record, and the page shows the club as it is now.
TEST_F(UndoRedo, ASaveOverAnotherProgramsChangeWritesNothingAndShowsTheRecordAgain) {
    Load();
    Action("ClubMenu")->trigger();
    const QString name = Main().ResultModel().Texts().front();
    Choose(name);
    const std::int64_t club = Main().Clubs().RecordNumber();
    const QString longName = Edit("ClubLName")->text();
    Patch(club, [](db::ClubRecord& c) { c.Set(db::ClubRecord::Cash, 4321); });
    const State theirs = Data();
    Edit("ClubCash")->setText("1234");
    Find<QPushButton>("Save")->click();
    EXPECT_EQ(LastText(), "Club " + longName + " (club.dat record " + QString::number(club) +
                              ") was changed by another program since it was read. Nothing was "
                              "written.");
    EXPECT_EQ(Data(), theirs);
    EXPECT_EQ(Edit("ClubCash")->text(), "4321");
    EXPECT_FALSE(Main().RecordChanged());
}

// Scratch files of an editor that was killed while it ran: the next load removes them, and the
// data files stay as they were.
TEST_F(UndoRedo, LoadRemovesTheScratchFilesAKilledEditorLeft) {
    const State before = Data();
    for (const char* name : {"index2.dat", "PLAYER.DAT", "nonplayer.dat"})
        WriteFile(File(name), Bytes(40, 0x3C));
    Load();
    for (const char* name : {"index2.dat", "PLAYER.DAT", "nonplayer.dat"})
        EXPECT_FALSE(std::filesystem::exists(File(name))) << name;
    EXPECT_EQ(Data(), before);
}

// A journal left by a crash: "Load Data" rolls it back first and says which command it undid.
TEST_F(UndoRedo, LoadRollsBackAnInterruptedCommandAndSaysSo) {
    const State before = Data();
    Bytes club = ReadFile(File("club.dat"));
    db::Journal j{"Transfer of Berg, Tomas (12)",
                  {{"\\club.dat", static_cast<std::int64_t>(club.size()), 581,
                    Bytes(club.begin() + 581, club.begin() + 2 * 581)}}};
    std::fill(club.begin() + 581, club.begin() + 600, 0xEE);  // written before the crash
    WriteFile(File("club.dat"), club);
    WriteFile(File("vhedit.journal"), db::EncodeJournal(j));

    Load();
    EXPECT_EQ(Data(), before);
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Load Data");
    EXPECT_EQ(LastText(),
              "The last change to these files, \"Transfer of Berg, Tomas (12)\", was interrupted "
              "before it was complete. It has been undone: these records are as they were before "
              "it: club.dat record 1.");
}

}  // namespace
}  // namespace vh::test
