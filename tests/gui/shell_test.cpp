#include <QFileDialog>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <cstdlib>

#include "database/records/data_def.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using ui::Answer;
using ui::Mode;

class Shell : public EditorTest {};

TEST_F(Shell, StartsInPlayersModeWithEveryPartNamed) {
    // As a user meets it: shown, and left idle while the pages not shown yet are prepared.
    Main().show();
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    EXPECT_EQ(Main().findChild<QFileDialog*>(), nullptr) << "made only when first used";
    EXPECT_EQ(Main().windowTitle(), "VH Quorrel Editor - V2.5");
    for (const char* n :
         {"Image1",       "RichTextb",   "Label9",         "Path",      "Button1",
          "Load",         "SearchEdit",  "SearchButton",   "ListBox2",  "Stadrad",
          "Clubrad",      "NationRad",   "CityRad",        "PlayerRad", "NonPlayerRad",
          "Save",         "PlayerPanel", "NonPLayerPanel", "ClubPanel", "NationPanel",
          "StadiumPanel", "CityPanel",   "HiddenEdit",     "RUrllabel1"})
        EXPECT_NE(Main().findChild<QWidget*>(n), nullptr) << n;
    for (const char* n :
         {"LoadStadiumData1", "SaveMenu", "BackupMenu", "RestoreBackupMenu", "Exit1", "PlayerMenu",
          "NonPlayerMenu", "ClubMenu", "StadiumMenu", "NationMenu", "CityMenu", "About1"})
        EXPECT_NE(Main().findChild<QAction*>(n), nullptr) << n;
    EXPECT_EQ(windows.change->objectName(), "ChangeForm");
    EXPECT_FALSE(windows.change->isVisible());
    EXPECT_FALSE(windows.about->isVisible());

    EXPECT_TRUE(Action("PlayerMenu")->isChecked());
    for (const char* n : {"NonPlayerMenu", "ClubMenu", "StadiumMenu", "NationMenu", "CityMenu"})
        EXPECT_FALSE(Action(n)->isChecked()) << n;
    EXPECT_FALSE(Find<QWidget>("PlayerPanel")->isHidden());
    for (const char* n :
         {"NonPLayerPanel", "ClubPanel", "NationPanel", "StadiumPanel", "CityPanel"})
        EXPECT_TRUE(Find<QWidget>(n)->isHidden()) << n;
    EXPECT_FALSE(Find<QRadioButton>("PlayerRad")->isHidden());
    EXPECT_TRUE(Find<QRadioButton>("PlayerRad")->isChecked());
    for (const char* n : {"Stadrad", "Clubrad", "NationRad", "CityRad", "NonPlayerRad"})
        EXPECT_TRUE(Find<QWidget>(n)->isHidden()) << n;
    EXPECT_FALSE(Find<QPushButton>("Save")->isEnabled());
    EXPECT_FALSE(Action("SaveMenu")->isEnabled());
    EXPECT_EQ(Main().ResultModel().Count(), 0);
    EXPECT_EQ(Edit("Path")->text().toStdString(), dir.Str());
    EXPECT_TRUE(Find<QLineEdit>("HiddenEdit")->isHidden());
}

#ifndef _WIN32
// Creates the windows with HOME and WINEPREFIX pointing at `prefix`.
ui::Windows WindowsWithPrefix(const std::filesystem::path& prefix) {
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    ui::Windows w = ui::CreateWindows();
    ::unsetenv("WINEPREFIX");
    return w;
}

TEST(StartUp, ProposesTheGamesDataDirectoryOrBackslashData) {
    TempDir prefix;
    {
        ui::Windows w = WindowsWithPrefix(prefix.Path());
        EXPECT_EQ(w.main->findChild<QLineEdit*>("Path")->text(), "/data");
        EXPECT_FALSE(w.main->DataLoaded());
    }
    WriteFile(prefix / "system.reg",
              std::string("WINE REGISTRY Version 2\n[Software\\\\Brellan Ltd\\\\Varnholt 00-01] 1\n"
                          "\"Location\"=\"C:\\\\Games\\\\Varnholt\"\n"));
    ui::Windows w = WindowsWithPrefix(prefix.Path());
    EXPECT_EQ(w.main->findChild<QLineEdit*>("Path")->text().toStdString(),
              prefix.Str() + "/drive_c/Games/Varnholt/data");
}
#else
// The set-up of the Windows run writes the game's key with `reg add` and names the value; the
// proposal comes from the registry through the Windows API.
TEST(StartUp, ProposesTheDataFolderOfTheInstalledGame) {
    const QString location = qEnvironmentVariable("VH_TEST_GAME_LOCATION");
    if (location.isEmpty()) GTEST_SKIP() << "VH_TEST_GAME_LOCATION is not set";
    ui::Windows w = ui::CreateWindows();
    EXPECT_EQ(w.main->findChild<QLineEdit*>("Path")->text(), location + QStringLiteral("\\data"));
    EXPECT_FALSE(w.main->DataLoaded());
}
#endif

TEST(StartUp, DataArgument) {
    ui::StartOptions o;
    QString error;
    EXPECT_TRUE(ui::ParseArguments({"vhstad", "--data", "/srv/vh"}, o, error));
    EXPECT_EQ(o.dataDirectory, "/srv/vh");
    EXPECT_FALSE(ui::ParseArguments({"vhstad", "--data"}, o, error));
    EXPECT_FALSE(ui::ParseArguments({"vhstad", "--bogus"}, o, error));
    EXPECT_TRUE(error.contains("--bogus"));
}

TEST(StartUp, VersionAndHelpAnswerOnTheTerminalAlone) {
    EXPECT_TRUE(ui::TerminalText({"vhstad", "--version"}).startsWith("vhstad (VH Editor) "));
    EXPECT_TRUE(ui::TerminalText({"vhstad", "--data", "/srv/vh", "--help"}).contains("--data DIR"));
    // These open the window: a directory named like an option, and arguments that only
    // QApplication can judge (it takes its own out before the second look).
    for (const QStringList& args :
         {QStringList{"vhstad"}, QStringList{"vhstad", "--data", "/srv/vh"},
          QStringList{"vhstad", "--data", "--version"},
          QStringList{"vhstad", "-platform", "offscreen", "--version"}})
        EXPECT_TRUE(ui::TerminalText(args).isEmpty()) << args.join(' ').toStdString();
}

TEST_F(Shell, DialogSelectionSetsTheDirectoryAndClosingOffersToLoad) {
    TempDir other;
    sample::WriteSample(other.Path(), {});
    Find<QPushButton>("Button1")->click();
    QFileDialog* dlg = Main().OpenDialog1();
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(QDir::toNativeSeparators(dlg->directory().absolutePath()).toStdString(), dir.Str());
    EXPECT_TRUE(dlg->testOption(QFileDialog::DontUseNativeDialog));
    emit dlg->currentChanged(QString::fromStdString((other / "stadium.dat").string()));
    EXPECT_EQ(Edit("Path")->text().toStdString(), other.Str());
    // Cancelled: the text stays and the question is still asked; No loads nothing.
    ui::seam::QueueAnswer(Answer::kNo);
    dlg->reject();
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Load Data");
    EXPECT_EQ(LastText(), "Would you like to load VH Data Now?");
    EXPECT_EQ(LastAsked()->buttons, ui::Buttons::kYesNo);
    EXPECT_EQ(Edit("Path")->text().toStdString(), other.Str());
    EXPECT_FALSE(Main().DataLoaded());
    // Yes loads the chosen directory.
    Find<QPushButton>("Button1")->click();
    ui::seam::QueueAnswer(Answer::kYes);
    dlg->reject();
    EXPECT_TRUE(Main().DataLoaded());
    EXPECT_EQ(Main().DataPath(), other.Str());
}

TEST_F(Shell, LoadWithoutStadiumFileOpensTheDialogInstead) {
    TempDir empty;
    Edit("Path")->setText(QString::fromStdString(empty.Str()));
    Find<QPushButton>("Load")->click();
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_TRUE(Main().OpenDialog1()->isVisible());
    EXPECT_FALSE(Main().DataLoaded());
}

TEST_F(Shell, FailedLoadLeavesThePreviousLoadIntact) {
    Load();
    const std::string first = Main().DataPath();
    TempDir second;
    sample::WriteSample(second.Path(), {});
    std::filesystem::remove(second / "continent.dat");
    Edit("Path")->setText(QString::fromStdString(second.Str()));
    Find<QPushButton>("Load")->click();
    EXPECT_EQ(LastText(), "File not found\ncontinent.dat");
    EXPECT_TRUE(Main().DataLoaded());
    EXPECT_EQ(Main().DataPath(), first);
    // Every file of the set still reads from the first directory.
    for (db::RecordFile* f : Main().Session().files.InLoadOrder())
        EXPECT_EQ(f->OpenedPath().parent_path().string(), first);
    // And before any load a failed load leaves the data unloaded.
    ui::Windows fresh = ui::CreateWindows(ui::StartOptions{QString::fromStdString(second.Str())});
    fresh.main->findChild<QPushButton*>("Load")->click();
    EXPECT_FALSE(fresh.main->DataLoaded());
}

TEST_F(Shell, LoadMakesFilesWritableAndMissingClubcompIsSilent) {
    std::filesystem::remove(File("clubcomp.dat"));
    MakeReadOnly(File("city.dat"));
    Load();
    const auto perms = std::filesystem::status(File("city.dat")).permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_write, std::filesystem::perms::none);
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_GT(Main().Session().names.second.Count(), 0u);
    EXPECT_EQ(Main().ResultModel().Count(),
              static_cast<int>(Main().Session().lists.player.Count()));
}

TEST_F(Shell, ModeSwitchShowsItsPageRadioButtonsAndList) {
    Load();
    Action("StadiumMenu")->trigger();
    EXPECT_EQ(Main().CurrentMode(), Mode::kStadiums);
    EXPECT_TRUE(Action("StadiumMenu")->isChecked());
    EXPECT_FALSE(Action("PlayerMenu")->isChecked());
    EXPECT_FALSE(Find<QWidget>("StadiumPanel")->isHidden());
    EXPECT_TRUE(Find<QWidget>("PlayerPanel")->isHidden());
    for (const char* n : {"Stadrad", "Clubrad", "NationRad"})
        EXPECT_FALSE(Find<QWidget>(n)->isHidden()) << n;
    EXPECT_TRUE(Find<QWidget>("PlayerRad")->isHidden());
    EXPECT_TRUE(Find<QRadioButton>("Stadrad")->isChecked());
    EXPECT_EQ(Main().ResultModel().Count(), summary.stadiums);
    EXPECT_EQ(Main().ResultModel().LineText(0).toStdString(), Main().Session().lists.stadium.At(0));

    // The same mode again keeps the list as it is (here: filtered by the search box).
    Edit("SearchEdit")->setText("C");
    const QStringList filtered = Main().ResultModel().Texts();
    Action("StadiumMenu")->trigger();
    EXPECT_TRUE(Action("StadiumMenu")->isChecked());
    EXPECT_EQ(Main().ResultModel().Texts(), filtered);

    // Each radio button fills the list from its own table.
    Find<QRadioButton>("Clubrad")->click();
    EXPECT_EQ(Main().ResultModel().Count(), summary.clubs);
    Find<QRadioButton>("NationRad")->click();
    EXPECT_EQ(Main().ResultModel().Count(), summary.nations);
    Action("CityMenu")->trigger();
    EXPECT_EQ(Main().ResultModel().Count(), summary.cities);
    Action("NonPlayerMenu")->trigger();
    EXPECT_EQ(Main().ResultModel().Count(), static_cast<int>(Main().Session().lists.staff.Count()));
}

TEST_F(Shell, ChangedRecordIsGuardedBySaveCheck) {
    Load();
    Action("StadiumMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(3)));
    EXPECT_FALSE(Main().RecordChanged()) << "a record just shown is unchanged";
    Edit("StadName")->setText("Renamed Ground");
    EXPECT_TRUE(Find<QPushButton>("Save")->isEnabled());
    EXPECT_TRUE(Action("SaveMenu")->isEnabled());

    ui::seam::QueueAnswer(Answer::kCancel);
    Action("CityMenu")->trigger();
    EXPECT_EQ(LastAsked()->caption, "Save Changes?");
    EXPECT_EQ(
        LastText(),
        "This will lose changes made on the current record.  Would you like to save data now?");
    EXPECT_EQ(LastAsked()->buttons, ui::Buttons::kYesNoCancel);
    EXPECT_EQ(Main().CurrentMode(), Mode::kStadiums);
    EXPECT_TRUE(Action("StadiumMenu")->isChecked());
    EXPECT_FALSE(Action("CityMenu")->isChecked());
    EXPECT_TRUE(Main().RecordChanged());

    const auto before = Snapshot(dir.Path());
    ui::seam::QueueAnswer(Answer::kNo);
    Action("CityMenu")->trigger();
    EXPECT_EQ(Main().CurrentMode(), Mode::kCity);
    EXPECT_FALSE(Main().RecordChanged());
    EXPECT_FALSE(Action("SaveMenu")->isEnabled());
    EXPECT_EQ(Snapshot(dir.Path()), before) << "No drops the change";
}

TEST_F(Shell, YesWhoseSaveFailsKeepsTheChangeAndTheMode) {
    Load();
    Action("StadiumMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(2)));
    Edit("StadCity")->setText("No Such City");  // as if picked, then renamed elsewhere
    ASSERT_TRUE(Main().RecordChanged());
    const auto before = Snapshot(dir.Path());
    ui::seam::QueueAnswer(Answer::kYes);
    Action("ClubMenu")->trigger();
    EXPECT_EQ(LastText(),
              QStringLiteral("Read beyond end of file\ncity.dat, record %1").arg(summary.cities));
    EXPECT_EQ(Main().CurrentMode(), Mode::kStadiums);
    EXPECT_TRUE(Main().RecordChanged());
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(Shell, SearchBeforeLoadOffersToLoad) {
    ui::seam::QueueAnswer(Answer::kNo);
    Find<QPushButton>("SearchButton")->click();
    EXPECT_EQ(LastAsked()->caption, "Data Loaded");
    EXPECT_EQ(LastText(),
              "You have not yet loaded the stadium data.  Would you like to do that now?");
    EXPECT_FALSE(Main().DataLoaded());
    ui::seam::QueueAnswer(Answer::kYes);
    Find<QPushButton>("SearchButton")->click();
    EXPECT_TRUE(Main().DataLoaded());
}

TEST_F(Shell, SearchUsesTheClickedEntryNotTheTypedText) {
    Load();
    Action("CityMenu")->trigger();
    const QString first = QString::fromStdString(Main().Session().lists.city.At(4));
    Choose(first);
    EXPECT_EQ(Edit("CityName")->text(), first);
    EXPECT_EQ(Edit("SearchEdit")->text(), first);
    Edit("SearchEdit")->setText("Zz");
    Find<QPushButton>("SearchButton")->click();
    EXPECT_EQ(Main().SearchText(), first);
    EXPECT_EQ(Edit("SearchEdit")->text(), first);
    EXPECT_EQ(Edit("CityId")->text(), "4");
}

TEST_F(Shell, NoMatchesKeepsThePage) {
    Load();
    Action("CityMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.city.At(1)));
    // The city is renamed on disk after the list was filled.
    db::RecordFile& city = Main().Session().files.city;
    db::CityRecord rec;
    city.Reset(rec.kSize);
    city.Seek(1);
    city.Read(rec.bytes);
    rec.Set(db::CityRecord::Name, std::string("Elsewhere"));
    city.Seek(1);
    city.Write(rec.bytes);
    Find<QPushButton>("SearchButton")->click();
    EXPECT_EQ(LastAsked()->caption, "No Matches");
    EXPECT_EQ(LastText(), "There were no matches to your seach.  Please try again.");
    EXPECT_EQ(Edit("CityId")->text(), "1");
}

TEST_F(Shell, ClosingTheWindowAsksLikeExit) {
    Load();
    Action("CityMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.city.At(0)));
    Edit("CityName")->setText("Changed");
    ui::seam::QueueAnswer(Answer::kCancel);
    EXPECT_FALSE(Main().close());
    EXPECT_EQ(LastAsked()->caption, "Save Changes?");
    ui::seam::QueueAnswer(Answer::kCancel);
    Action("Exit1")->trigger();
    EXPECT_EQ(ui::seam::Log().size(), 2u);
    ui::seam::QueueAnswer(Answer::kNo);
    EXPECT_TRUE(Main().close());
}

TEST_F(Shell, AboutShowsTheBoxWithoutBlocking) {
    Action("About1")->trigger();
    EXPECT_TRUE(windows.about->isVisible());
    EXPECT_FALSE(windows.about->isModal());
}

}  // namespace
}  // namespace vh::test

namespace vh::test {
namespace {

TEST_F(Shell, LoadingAnotherDirectoryAsksFirstAndEmptiesThePages) {
    Load();
    Action("StadiumMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(1)));
    Edit("StadName")->setText("Edited");
    TempDir other;
    sample::WriteSample(other.Path(), sample::SampleOptions{sample::SampleSize::kSmall, 7});
    Edit("Path")->setText(QString::fromStdString(other.Str()));
    ui::seam::QueueAnswer(ui::Answer::kCancel);
    Find<QPushButton>("Load")->click();
    EXPECT_EQ(LastAsked()->caption, "Save Changes?");
    EXPECT_EQ(Main().DataPath(), dir.Str()) << "Cancel keeps the load in use";
    EXPECT_EQ(Edit("StadName")->text(), "Edited");

    ui::seam::QueueAnswer(ui::Answer::kNo);
    const auto before = Snapshot(other.Path());
    Find<QPushButton>("Load")->click();
    EXPECT_EQ(Main().DataPath(), other.Str());
    EXPECT_EQ(Edit("StadName")->text(), "");
    EXPECT_EQ(Edit("StadId")->text(), "");
    EXPECT_FALSE(Main().RecordChanged());
    EXPECT_EQ(Snapshot(other.Path()), before);
}

}  // namespace
}  // namespace vh::test

namespace vh::test {
namespace {

TEST_F(Shell, APersonWithoutAPlayerRecordIsRefusedAndTheCurrentOneStays) {
    Load();
    Choose(Main().Players().GetStaffName(summary.player));
    const db::StaffRecord shown = Main().Players().StaffRec;
    ASSERT_EQ(shown.Get(db::StaffRecord::Id), summary.player);
    // Another player whose record points outside the player block.
    const std::int32_t other = summary.commonNamePlayer;
    db::RecordFile& staff = Main().Session().files.staff;
    db::StaffRecord rec;
    staff.Reset(rec.kSize);
    staff.Seek(other);
    staff.Read(rec.bytes);
    rec.Set(db::StaffRecord::PlayerIndex, -1);
    staff.Seek(other);
    staff.Write(rec.bytes);
    ui::seam::Clear();
    Find<QRadioButton>("PlayerRad")->click();  // the whole list again
    Choose(Main().Players().GetStaffName(other));
    EXPECT_EQ(LastText(), "This person has no player record");
    EXPECT_EQ(Main().Players().StaffRec, shown);
}

TEST_F(Shell, WindowsOfTheEditorOpenBesideItWithinTheScreen) {
    Main().show();  // a shown window has its frame, which the others are placed by
    Load();
    const QRect room = Main().screen()->availableGeometry();
    for (const char* menu : {"CheckDataMenu", "ChangesMenu", "TableViewMenu"}) {
        Action(menu)->trigger();
        QWidget* window = QApplication::activeWindow();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &Main() && w->isVisible() && w->objectName().endsWith("Window")) window = w;
        ASSERT_NE(window, nullptr) << menu;
        EXPECT_TRUE(room.contains(window->frameGeometry()))
            << menu << ": a window at " << window->x() << "," << window->y() << " of "
            << window->frameGeometry().width() << "x" << window->frameGeometry().height()
            << " on a screen of " << room.width() << "x" << room.height();
        window->close();
    }
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
}

}  // namespace
}  // namespace vh::test
