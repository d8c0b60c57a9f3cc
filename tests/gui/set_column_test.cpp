// The table view's "Set Column...": a formula over the rows shown, previewed as typed, taken as
// edits not saved, written by "Save Data" as one Undo step that Undo takes back byte for byte.
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

#include "editor/windows/set_column_dialog.h"
#include "editor/windows/table_view.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

class SetColumn : public EditorTest {
  protected:
    // The data files; the editor's scratch files change with every search.
    std::vector<std::pair<std::string, Bytes>> Data() {
        auto s = Snapshot(dir.Path());
        std::erase_if(s, [](const auto& f) {
            return f.first == "index2.dat" || f.first == "player.dat" || f.first == "nonplayer.dat";
        });
        return s;
    }
};

TEST_F(SetColumn, AFormulaOverTheRowsShownIsOneUndoStepThatTakesBackByteForByte) {
    Load();
    Action("PlayerMenu")->trigger();
    Action("TableViewMenu")->trigger();
    ui::TTableViewWindow& w = *Main().TableViewWindow();
    ui::TTableModel& model = w.Model();
    w.findChild<QLineEdit*>("TableFilter")->setText("PlayerNation=1");
    const int rows = model.rowCount();
    ASSERT_GE(rows, 3);
    int pace = 0;
    for (int c = 0; c < model.columnCount(); ++c)
        if (model.headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString() == "PLayerPace")
            pace = c;
    ASSERT_GT(pace, 1);
    std::vector<int> paces;
    for (int r = 0; r < rows; ++r) paces.push_back(model.index(r, pace).data().toInt());
    const int atTop = static_cast<int>(
        std::count_if(paces.begin(), paces.end(), [](int p) { return p + 2 > 20; }));

    // No cell chosen: nothing to set.
    w.Grid()->setCurrentIndex(QModelIndex());
    ui::seam::QueueAnswer(ui::Answer::kOk);
    w.SetColumnClick();
    EXPECT_EQ(LastText(), "Choose a cell of the column to set first.");
    w.Grid()->setCurrentIndex(model.index(0, pace));  // one cell: every row shown
    Find<QAction>("SetColumnMenu")->trigger();
    ui::TSetColumnDialog* d = w.SetColumnDialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->objectName(), "SetColumnDialog");
    auto* expression = d->findChild<QLineEdit*>("SetColumnExpression");
    auto* preview = d->findChild<QLabel*>("SetColumnPreview");
    auto* ok = d->findChild<QPushButton*>("SetColumnOk");
    EXPECT_EQ(expression->text(), "PLayerPace");
    EXPECT_EQ(preview->text(), QString("0 of %1 cells change.").arg(rows));
    EXPECT_FALSE(ok->isEnabled());

    // The preview follows the expression: a parse error, a value out of range, then clamped.
    expression->setText("PLayerPace+*2");
    EXPECT_EQ(preview->text(),
              "character 12: expected a number, a field, a text in quotes or '(', found '*'");
    EXPECT_FALSE(ok->isEnabled());
    expression->setText("PLayerPace+2");
    if (atTop) {
        EXPECT_TRUE(preview->text().contains("must be in the range 0 to 20"))
            << preview->text().toStdString();
        EXPECT_FALSE(ok->isEnabled());
        d->findChild<QCheckBox*>("SetColumnClamp")->setChecked(true);
    }
    const int changed =
        static_cast<int>(std::count_if(paces.begin(), paces.end(), [](int p) { return p < 20; }));
    EXPECT_TRUE(preview->text().startsWith(QString("%1 of %2 cells change").arg(changed).arg(rows)))
        << preview->text().toStdString();
    ASSERT_TRUE(ok->isEnabled());
    const auto before = Data();
    ok->click();
    EXPECT_TRUE(d->isHidden());
    EXPECT_EQ(Data(), before) << "nothing is written before Save Data";
    EXPECT_EQ(model.PendingRecords(), static_cast<std::size_t>(changed));
    for (int r = 0; r < rows; ++r)
        EXPECT_EQ(model.index(r, pace).data().toInt(), std::min(paces[r] + 2, 20));

    w.findChild<QPushButton*>("TableSave")->click();
    EXPECT_FALSE(model.HasPending());
    EXPECT_EQ(Action("UndoMenu")->text(), QString("Undo Table Edit of %1 records").arg(changed));
    EXPECT_NE(Data(), before);
    Action("UndoMenu")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Data(), before);
    EXPECT_FALSE(Action("UndoMenu")->isEnabled());
    for (int r = 0; r < rows; ++r) EXPECT_EQ(model.index(r, pace).data().toInt(), paces[r]);
    EXPECT_EQ(ui::seam::Unanswered(), 0);
}

}  // namespace
}  // namespace vh::test
