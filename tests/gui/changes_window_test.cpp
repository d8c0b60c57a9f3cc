// File > "Changes Since Backup..." and "Apply Patch..." through the real window: the window says
// when there is no backup and makes one; it lists a saved change, opens its record, reverts it
// (one Undo step) to exactly the backup's bytes; a patch saved from it is applied to the backup's
// state again, and a second time changes nothing.
#include <QFileDialog>
#include <QLabel>
#include <QTreeWidget>

#include "database/tables/table_data.h"
#include "database/write/backup.h"
#include "editor/windows/changes_window.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using ui::Mode;

class Changes : public EditorTest {
  protected:
    ui::TChangesWindow* Open() {
        Action("ChangesMenu")->trigger();
        return Main().ChangesWindow();
    }
    QString Counts(ui::TChangesWindow* w) { return w->findChild<QLabel*>("ChangesCounts")->text(); }
    QPushButton* Button(ui::TChangesWindow* w, const char* name) {
        auto* b = w->findChild<QPushButton*>(name);
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    // The bytes of a person and of his player record, as the data directory holds them.
    Bytes PlayerBytes(const std::filesystem::path& dir, std::int32_t id) {
        db::DataFiles files(dir.string());
        const std::uint8_t* p = files.Person(id);
        Bytes b(p, p + 157);
        const std::uint8_t* rec = files.BlockRecord(p, db::Part::kPlayer);
        b.insert(b.end(), rec, rec + 70);
        return b;
    }
    void SavePlayer(const char* field, const char* value) {
        ASSERT_TRUE(Main().ShowRecord(Mode::kPlayers, summary.player));
        Edit(field)->setText(value);
        Find<QPushButton>("Save")->click();
    }
};

TEST_F(Changes, ListsASavedChangeOpensItsRecordAndRevertsItToTheBackup) {
    EXPECT_FALSE(Action("ChangesMenu")->isEnabled());
    Load();
    ui::TChangesWindow* w = Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), "ChangesWindow");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::NonModal);
    EXPECT_TRUE(Counts(w).contains("has no backup yet"));
    ASSERT_TRUE(Button(w, "ChangesBackupFiles")->isVisible());
    Button(w, "ChangesBackupFiles")->click();
    ASSERT_TRUE(db::HasBackup(dir.Str()));
    EXPECT_FALSE(Button(w, "ChangesBackupFiles")->isVisible());
    EXPECT_TRUE(Counts(w).contains("nothing has changed"));
    const Bytes backup = PlayerBytes(dir.Path(), summary.player);

    SavePlayer("PlayerWage", "123");
    SavePlayer("PLayerPace", "1");
    const Bytes edited = PlayerBytes(dir.Path(), summary.player);
    ASSERT_EQ(Open(), w);  // the same window, shown again
    QTreeWidgetItem* line = w->LineOf(db::TableId::kPlayers, summary.player);
    ASSERT_NE(line, nullptr);
    QStringList fields;
    for (int i = 0; i < line->childCount(); ++i)
        fields << line->child(i)->text(0) + "=" + line->child(i)->text(2);
    EXPECT_EQ(fields, QStringList({"PlayerWage=123", "PLayerPace=1"}));

    // A double click shows the record on its page.
    ASSERT_TRUE(Main().ShowRecord(Mode::kCity, 1));
    emit w->List()->itemDoubleClicked(line->child(0), 0);
    EXPECT_EQ(Main().CurrentMode(), Mode::kPlayers);
    EXPECT_EQ(Main().Players().StaffRec.Get(db::StaffRecord::Id), summary.player);

    // Revert, answered No, then Yes.
    w->List()->setCurrentItem(line);
    ASSERT_TRUE(Button(w, "RevertRecord")->isEnabled());
    ui::seam::Clear();
    Button(w, "RevertRecord")->click();
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Revert Record");
    EXPECT_TRUE(LastText().contains("Its player record goes back with it"))
        << LastText().toStdString();
    EXPECT_EQ(PlayerBytes(dir.Path(), summary.player), edited);
    ui::seam::QueueAnswer(ui::Answer::kYes);
    w->List()->setCurrentItem(w->LineOf(db::TableId::kPlayers, summary.player));
    Button(w, "RevertRecord")->click();
    EXPECT_EQ(PlayerBytes(dir.Path(), summary.player), backup);
    EXPECT_EQ(Edit("PlayerWage")->text(), QString::number(GetI32(backup, 78)));  // shown again
    EXPECT_TRUE(w->Diff().Empty());
    EXPECT_EQ(ui::seam::Unanswered(), 1);  // only the first question, answered No

    // One Undo step puts the edits back.
    EXPECT_TRUE(Action("UndoMenu")->text().startsWith("Undo Revert of player "));
    Action("UndoMenu")->trigger();
    EXPECT_EQ(PlayerBytes(dir.Path(), summary.player), edited);
    EXPECT_NE(w->LineOf(db::TableId::kPlayers, summary.player), nullptr);
}

TEST_F(Changes, APatchSavedFromTheWindowIsAppliedOnceAndRefusedWhereItDoesNotFit) {
    Load();
    Action("BackupMenu")->trigger();
    ASSERT_TRUE(Main().ShowRecord(Mode::kClubs, 2));
    const QString cash = Edit("ClubCash")->text();
    Edit("ClubCash")->setText("4321");
    Find<QPushButton>("Save")->click();
    ui::TChangesWindow* w = Open();
    ASSERT_TRUE(Button(w, "SaveAsPatch")->isEnabled());
    Button(w, "SaveAsPatch")->click();
    auto* dialog = w->findChild<QFileDialog*>("SavePatchDialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    dialog->close();
    const QString patch = QString::fromStdString((dir / "cash.json").string());
    Main().SavePatch(patch);
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();  // nothing left out

    Action("UndoMenu")->trigger();  // the club as the backup holds it
    const Bytes clubs = ReadFile(File("club.dat"));
    ui::seam::Clear();
    Main().ApplyPatchFile(patch);  // answered No
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Apply Patch");
    EXPECT_TRUE(LastText().contains("clubs 2 ClubCash: " + cash + " -> 4321"))
        << LastText().toStdString();
    EXPECT_EQ(ReadFile(File("club.dat")), clubs);
    ui::seam::QueueAnswer(ui::Answer::kYes);
    Main().ApplyPatchFile(patch);
    EXPECT_EQ(Edit("ClubCash")->text(), "4321");  // the page shows the record again
    EXPECT_TRUE(Action("UndoMenu")->text().startsWith("Undo Patch cash.json"));

    ui::seam::Clear();
    Main().ApplyPatchFile(patch);
    EXPECT_TRUE(LastText().contains("in the data already")) << LastText().toStdString();

    Edit("ClubCash")->setText("9");
    Find<QPushButton>("Save")->click();
    Action("UndoMenu")->trigger();
    Action("UndoMenu")->trigger();  // back to the backup's cash, then on to another one
    Edit("ClubCash")->setText("8");
    Find<QPushButton>("Save")->click();
    const Bytes other = ReadFile(File("club.dat"));
    ui::seam::Clear();
    Main().ApplyPatchFile(patch);
    EXPECT_TRUE(LastText().contains("does not fit")) << LastText().toStdString();
    EXPECT_TRUE(LastText().contains("ClubCash: expected " + cash + ", found 8"))
        << LastText().toStdString();
    EXPECT_EQ(ReadFile(File("club.dat")), other);
}

}  // namespace
}  // namespace vh::test
