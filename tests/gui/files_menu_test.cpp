#include <cerrno>

#include "database/records/data_def.h"
#include "editor_fixture.h"
#include "platform/fault.h"

namespace vh::test {
namespace {

using platform::fault::Kind;
using platform::fault::Scoped;
using ui::Answer;

class FilesMenu : public EditorTest {
  protected:
    std::filesystem::path Backup(const char* name) const { return dir.Path() / "backup" / name; }
    void Touch(const char* name, std::uint8_t value) {
        Bytes b = ReadFile(File(name));
        b[b.size() / 2] = value;
        WriteFile(File(name), b);
    }
};

TEST_F(FilesMenu, BackupCopiesTheFileSetAndASecondBackupReplacesIt) {
    Action("BackupMenu")->trigger();
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    for (std::string_view n : db::kBackupList) {
        const std::string name(n.substr(1));
        EXPECT_EQ(ReadFile(Backup(name.c_str())), ReadFile(File(name.c_str()))) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(Backup("index.dat")));
    Touch("club.dat", 0x5A);
    Touch("staff.dat", 0xA5);
    Action("BackupMenu")->trigger();
    EXPECT_EQ(ReadFile(Backup("club.dat")), ReadFile(File("club.dat")));
    EXPECT_EQ(ReadFile(Backup("staff.dat")), ReadFile(File("staff.dat")));
}

TEST_F(FilesMenu, BackupSkipsAMissingFileSilently) {
    std::filesystem::remove(File("clubcomp.dat"));
    Action("BackupMenu")->trigger();
    EXPECT_TRUE(ui::seam::Log().empty());
    EXPECT_FALSE(std::filesystem::exists(Backup("clubcomp.dat")));
    int copies = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir / "backup"))
        copies += e.is_regular_file();
    EXPECT_EQ(copies, 11);
}

TEST_F(FilesMenu, AFailedCopyKeepsThePreviousCopyAndIsNamedWithWhatToDo) {
    // club.dat is the second file copied; each plan makes its copy fail at another step.
    const struct {
        const char* menu;
        platform::fault::Plan plan;
        const char* reason;
    } cases[] = {
        {"BackupMenu", {platform::fault::kRename, 2, Kind::kError, EIO}, "I/O error"},
        {"BackupMenu", {platform::fault::kSync, 2, Kind::kError, EIO}, "I/O error"},
        // The second file's temporary copy: a backup folder that cannot be written.
        {"BackupMenu", {platform::fault::kOpen, 4, Kind::kError, EACCES}, "File access denied"},
        {"RestoreBackupMenu", {platform::fault::kSync, 2, Kind::kError, EIO}, "I/O error"},
    };
    std::uint8_t touch = 0x70;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.menu) + " " + std::to_string(c.plan.ops));
        const bool restore = std::string_view(c.menu) == "RestoreBackupMenu";
        Action("BackupMenu")->trigger();
        Touch("club.dat", ++touch);  // the copy and the file differ
        const std::filesystem::path kept = restore ? File("club.dat") : Backup("club.dat");
        const Bytes keptBytes = ReadFile(kept);
        ui::seam::Clear();
        if (restore) ui::seam::QueueAnswer(Answer::kOk);
        {
            Scoped fail(c.plan);
            Action(c.menu)->trigger();
        }
        ASSERT_NE(LastAsked(), nullptr);
        EXPECT_EQ(LastAsked()->caption, restore ? "Restore Backup" : "Backup Files");
        const std::filesystem::path to = restore ? dir.Path() : dir / "backup";
        const QString folder = QString::fromStdString(to.string());
        for (const QString& part :
             {QStringLiteral("could not be %1: club.dat.")
                  .arg(restore ? "restored and were left as they were" : "backed up"),
              QStringLiteral(" to %1 failed: %2")
                  .arg(QString::fromStdString((to / "club.dat").string()), c.reason),
              QStringLiteral("that the folder %1 can be written").arg(folder)})
            EXPECT_TRUE(LastText().contains(part)) << LastText().toStdString() << "\n"
                                                   << part.toStdString();
        EXPECT_FALSE(LastText().contains("stadium.dat"));
        EXPECT_EQ(ReadFile(kept), keptBytes);
        EXPECT_EQ(ReadFile(Backup("staff.dat")), ReadFile(File("staff.dat")));
        for (const auto& e : std::filesystem::directory_iterator(kept.parent_path()))
            EXPECT_NE(e.path().extension(), ".vhtmp") << "no temporary file is left behind";
    }
}

TEST_F(FilesMenu, BackupRefusesAnEmptyPathAndReportsAnUncreatableDirectory) {
    Edit("Path")->setText("");
    Action("BackupMenu")->trigger();
    EXPECT_EQ(LastAsked()->caption, "Backup Files");
    EXPECT_TRUE(LastText().contains("VH Data Dir:"));
    EXPECT_FALSE(std::filesystem::exists("/backup"));

    Edit("Path")->setText(QString::fromStdString(dir.Str()));
    const auto before = Snapshot(dir.Path());
    const QString folder = QString::fromStdString((dir / "backup").string());
    {
        Scoped fail({platform::fault::kMakeDir, 1, Kind::kError, EACCES});
        Action("BackupMenu")->trigger();
    }
    EXPECT_EQ(LastText(), "The backup folder " + folder +
                              " could not be created: File access denied. Check that the data "
                              "folder can be written, then back up again.");
    EXPECT_EQ(Snapshot(dir.Path()), before);

    WriteFile(dir / "backup", std::string("not a folder"));
    Action("BackupMenu")->trigger();
    EXPECT_EQ(LastText(), folder +
                              " is a file, but the backup copies go into a folder of that "
                              "name. Rename or move that file, then back up again.");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "backup"));
}

TEST_F(FilesMenu, RestoreWithoutABackupOrWithAnEmptyPath) {
    Action("RestoreBackupMenu")->trigger();
    EXPECT_EQ(LastAsked()->caption, "Restore Backup Error");
    EXPECT_EQ(LastText(), "You have never backed up before");
    Edit("Path")->setText("");
    Action("RestoreBackupMenu")->trigger();
    EXPECT_EQ(LastText(), "You have never backed up before");
    EXPECT_EQ(ui::seam::Log().size(), 2u);
}

TEST_F(FilesMenu, CancelledRestoreChangesNothing) {
    Action("BackupMenu")->trigger();
    Touch("nation.dat", 0x11);
    const auto before = Snapshot(dir.Path());
    ui::seam::QueueAnswer(Answer::kCancel);
    Action("RestoreBackupMenu")->trigger();
    EXPECT_EQ(LastAsked()->caption, "Restore Data");
    EXPECT_EQ(LastText(), "This will delete all changes since you last backed up the data");
    EXPECT_EQ(LastAsked()->buttons, ui::Buttons::kOkCancel);
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(FilesMenu, RestoreBringsBackTheCopiesAndTheEditorReadsThem) {
    Load();
    Action("BackupMenu")->trigger();
    const Bytes city = ReadFile(File("city.dat"));
    const Bytes index = ReadFile(File("index.dat"));
    // Change a city's name on disk, and lose the backup copy of colour.dat.
    Bytes changed = city;
    changed[4] = 'Q';
    WriteFile(File("city.dat"), changed);
    std::filesystem::remove(Backup("colour.dat"));
    Touch("colour.dat", 0x42);
    const Bytes colour = ReadFile(File("colour.dat"));
    Action("CityMenu")->trigger();
    ASSERT_EQ(Main().ResultModel().LineText(0).front(), 'Q');

    ui::seam::QueueAnswer(Answer::kOk);
    Action("RestoreBackupMenu")->trigger();
    EXPECT_EQ(ReadFile(File("city.dat")), city);
    EXPECT_EQ(ReadFile(File("colour.dat")), colour) << "a file without a copy is left alone";
    EXPECT_EQ(ReadFile(File("index.dat")), index);
    // The files were opened again and the list refilled from them.
    EXPECT_TRUE(Main().DataLoaded());
    EXPECT_NE(Main().ResultModel().LineText(0).front(), 'Q');
    Choose(Main().ResultModel().LineText(0));
    EXPECT_EQ(Edit("CityId")->text(), "0");
}

TEST_F(FilesMenu, ExitDeletesTheScratchFilesThisRunCreatedAndNothingElse) {
    WriteFile(File("nonplayer.dat"), std::string("not ours"));
    Load();
    Choose(Main().Players().GetStaffName(summary.player));
    EXPECT_TRUE(std::filesystem::exists(File("index2.dat")));
    EXPECT_TRUE(std::filesystem::exists(File("player.dat")));
    auto before = Snapshot(dir.Path());
    windows = ui::Windows{};
    auto after = Snapshot(dir.Path());
    std::erase_if(before,
                  [](const auto& f) { return f.first == "index2.dat" || f.first == "player.dat"; });
    EXPECT_EQ(after, before);
}

TEST(FilesMenuWithoutData, ExitWithoutADataDirectoryDeletesNothing) {
    TempDir cwd;
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());
    WriteFile(cwd / "player.dat", std::string("x"));
    { ui::Windows w = ui::CreateWindows(ui::StartOptions{QStringLiteral("")}); }
    EXPECT_TRUE(std::filesystem::exists(cwd / "player.dat"));
    std::filesystem::current_path(old);
}

}  // namespace
}  // namespace vh::test
