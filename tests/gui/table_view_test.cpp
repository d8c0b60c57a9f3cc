// View > "Table View" through the real window: cells edited with the page's rules, a pasted
// column saved as one Undo step that changes only those bytes, and Undo giving the files back.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QTableView>

#include "database/records/text.h"
#include "database/tables/table_data.h"
#include "editor/windows/table_view.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

class TableView : public EditorTest {
  protected:
    ui::TTableViewWindow& Open(const char* modeMenu) {
        Load();
        Action(modeMenu)->trigger();
        Action("TableViewMenu")->trigger();
        ui::TTableViewWindow* w = Main().TableViewWindow();
        EXPECT_NE(w, nullptr);
        return *w;
    }
    ui::TTableModel& Model() { return Main().TableViewWindow()->Model(); }
    // The grid column of a field, by its name (the header's tooltip).
    int Column(const char* name) {
        for (int c = 0; c < Model().columnCount(); ++c)
            if (Model().headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString() ==
                QLatin1String(name))
                return c;
        ADD_FAILURE() << "no column " << name;
        return 0;
    }
    int RowOf(std::int64_t record) {
        for (int r = 0; r < Model().rowCount(); ++r)
            if (Model().RecordAt(r) == record) return r;
        ADD_FAILURE() << "no row of record " << record;
        return 0;
    }
    // The data files; the editor's scratch files change with every search.
    std::vector<std::pair<std::string, Bytes>> Data() {
        auto s = Snapshot(dir.Path());
        std::erase_if(s, [](const auto& f) {
            return f.first == "index2.dat" || f.first == "player.dat" || f.first == "nonplayer.dat";
        });
        return s;
    }
    // What a reference to record n of the target shows.
    std::string NameOf(db::Target t, std::int64_t n) {
        db::DataFiles files(dir.Str());
        return db::Cp1252ToUtf8(files.NameOf(t, n));
    }
};

TEST_F(TableView, ACellTakesWhatItsPageTakesAndRefusesTheRestWithThePageMessage) {
    Load();
    const std::string nation = NameOf(db::Target::kNation, 3);
    const std::string club0 = NameOf(db::Target::kClub, 0);
    struct Case {
        const char* menu;
        const char* column;
        std::string input;
        bool numbers;
        std::string shown;    // when taken: what the cell shows
        std::string refusal;  // else the start of the message
    };
    const Case cases[] = {
        {"PlayerMenu", "PLayerPace", "19", false, "19", ""},
        {"PlayerMenu", "PLayerPace", "21", false, "", "This value must be in the range 0 to 20"},
        {"PlayerMenu", "PLayerPace", "fast", false, "", "'fast' is not a valid integer value"},
        {"PlayerMenu", "PLayerMonthOB", "13", false, "", "This value must be in the range 0 to 12"},
        {"PlayerMenu", "PlayerDayOB", "30", false, "30", ""},
        {"PlayerMenu", "PlayerNation", nation, false, nation, ""},  // typed by its name
        {"PlayerMenu", "PlayerNation", "3", true, nation, ""},      // picked
        {"PlayerMenu", "PlayerNation", "Atlantis", false, "",
         "No record of nation.dat is named 'Atlantis'"},
        {"PlayerMenu", "PlayerNation", "999", true, "", "No record 999 in nation.dat"},
        {"PlayerMenu", "PlayerFavClubs", club0 + "; <empty>; <empty>", false,
         club0 + "; <empty>; <empty>", ""},
        {"PlayerMenu", "PlayerFavClubs", club0, false, "", "A list of 3"},
        {"PlayerMenu", "PlayerCurrentClub", club0, false, "",
         "Changed only by \"Transfer Player\""},
        {"ClubMenu", "ClubSName", "Neuer Verein \u00C9", false, "Neuer Verein \u00C9", ""},
        {"ClubMenu", "ClubSName", "Club \u03A9", false, "", "Holds the character '\u03A9'"},
        {"ClubMenu", "ClubSName", std::string(27, 'x'), false, "", "Longer than the 26 characters"},
        {"ClubMenu", "ClubStatus", "Amature", false, "Amature", ""},
        {"ClubMenu", "ClubStatus", "Pro", false, "", "One of: Professional, Semi - Pro"},
        {"ClubMenu", "ClubLPosition", "3", false, "", "The page only shows it"},
        {"CityMenu", "CityLatitude", "51.5", false, "51.5", ""},
        {"CityMenu", "CityLatitude", "north", false, "",
         "'north' is not a valid floating point value"},
        {"StadiumMenu", "Covered", "yes", false, "", "1 for checked, 0 for not"},
    };
    const auto before = Data();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " '" + c.input + "'");
        if (Main().TableViewWindow()) Model().DropPending();
        Action(c.menu)->trigger();
        Action("TableViewMenu")->trigger();
        ui::TTableModel& m = Model();
        const QModelIndex cell = m.index(2, Column(c.column));
        const QString was = cell.data().toString();
        const bool taken = m.setData(cell, QString::fromStdString(c.input),
                                     c.numbers ? ui::TTableModel::kNumbersRole : Qt::EditRole);
        EXPECT_EQ(taken, c.refusal.empty()) << m.LastRefusal().toStdString();
        EXPECT_EQ(m.IsPending(cell), c.refusal.empty());
        if (taken) {
            EXPECT_EQ(cell.data().toString().toStdString(), c.shown);
        } else {
            EXPECT_TRUE(m.LastRefusal().startsWith(QString::fromStdString(c.refusal)))
                << m.LastRefusal().toStdString();
            EXPECT_EQ(cell.data().toString(), was);
        }
    }
    // A value that is what is stored is no edit; a check box takes 1 and 0.
    ui::TTableModel& m = Model();
    const QModelIndex covered = m.index(1, Column("Covered"));
    EXPECT_TRUE(m.setData(covered, covered.data(Qt::CheckStateRole), Qt::CheckStateRole));
    EXPECT_FALSE(m.IsPending(covered));
    EXPECT_TRUE(m.setData(
        covered,
        covered.data(Qt::CheckStateRole).toInt() == Qt::Checked ? Qt::Unchecked : Qt::Checked,
        Qt::CheckStateRole));
    EXPECT_TRUE(m.IsPending(covered));
    EXPECT_EQ(Data(), before) << "an edit wrote before Save Data";
}

TEST_F(TableView, APastedColumnIsSavedAsOneUndoStepThatChangesOnlyItsBytes) {
    ui::TTableViewWindow& w = Open("PlayerMenu");
    QTableView* grid = w.Grid();
    EXPECT_EQ(w.objectName(), "TableViewWindow");
    EXPECT_EQ(w.findChild<QComboBox*>("TableChoice")->currentText(), "Players");

    // Sorted by pace, fastest first, and filtered.
    const int pace = Column("PLayerPace");
    grid->sortByColumn(pace, Qt::DescendingOrder);
    EXPECT_GE(Model().index(0, pace).data().toInt(), Model().index(1, pace).data().toInt());
    auto* filter = w.findChild<QLineEdit*>("TableFilter");
    filter->setText("Pace>=3");
    EXPECT_TRUE(w.findChild<QLabel*>("TableFilterMessage")
                    ->text()
                    .startsWith("no field 'Pace': the name of a field is in its column's tooltip"));
    EXPECT_EQ(Model().Matching(), Model().Total());
    filter->setText("PLayerPace>=5 and PlayerYearOB>=1960");
    EXPECT_TRUE(w.findChild<QLabel*>("TableFilterMessage")->isHidden());
    const int rows = Model().rowCount();
    ASSERT_GE(rows, 6);
    ASSERT_LT(static_cast<std::size_t>(rows), Model().Total());
    for (int r = 0; r < rows; ++r) {
        EXPECT_GE(Model().index(r, pace).data().toInt(), 5);
        EXPECT_GE(Model().index(r, Column("PlayerYearOB")).data().toInt(), 1960);
    }

    // Copy gives tab-separated text; a block with one bad cell is refused whole.
    const int wage = Column("PlayerWage");
    grid->selectionModel()->select(QItemSelection(Model().index(0, pace), Model().index(1, wage)),
                                   QItemSelectionModel::ClearAndSelect);
    w.CopyClick();
    const QStringList lines = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(lines.size(), 3);  // two rows and the last line's end
    EXPECT_EQ(lines[0].split('\t').size(), wage - pace + 1);
    EXPECT_EQ(lines[0].split('\t').front(), Model().index(0, pace).data().toString());
    QApplication::clipboard()->setText("500\n600\n100001\n");
    grid->selectionModel()->select(Model().index(0, wage), QItemSelectionModel::ClearAndSelect);
    w.PasteClick();
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_TRUE(LastText().contains("PlayerWage") || LastText().contains("Wages"));
    EXPECT_TRUE(LastText().contains("'100001': this value must be in the range 0 to 100000"))
        << LastText().toStdString();
    EXPECT_FALSE(Model().HasPending());

    // One column pasted into the first rows shown.
    const int pasted = rows - 2;
    QString column;
    std::vector<std::int64_t> records;
    for (int r = 0; r < pasted; ++r) {
        column += QString::number(40000 + r) + "\r\n";  // as a spreadsheet copies
        records.push_back(Model().RecordAt(r));
    }
    QApplication::clipboard()->setText(column);
    w.PasteClick();
    EXPECT_EQ(Model().PendingRecords(), static_cast<std::size_t>(pasted));
    EXPECT_EQ(Model().index(1, wage).data().toString(), "40001");

    // Switching table asks first; Cancel keeps it all.
    ui::seam::QueueAnswer(ui::Answer::kCancel);
    EXPECT_FALSE(w.ShowTable(db::TableId::kClubs));
    EXPECT_EQ(LastAsked()->caption, "Save Changes?");
    EXPECT_EQ(Model().PendingRecords(), static_cast<std::size_t>(pasted));

    const auto before = Data();
    w.findChild<QPushButton*>("TableSave")->click();
    EXPECT_FALSE(Model().HasPending());
    EXPECT_EQ(Action("UndoMenu")->text(), QString("Undo Table Edit of %1 records").arg(pasted));
    // Only the wage of those persons changed.
    const auto after = Data();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t f = 0; f < after.size(); ++f) {
        const Bytes& a = after[f].second;
        const Bytes& b = before[f].second;
        ASSERT_EQ(a.size(), b.size()) << after[f].first;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] == b[i]) continue;
            const std::int64_t record = static_cast<std::int64_t>(i / db::StaffRecord::kSize);
            const std::size_t at = i % db::StaffRecord::kSize;
            EXPECT_TRUE(after[f].first == "staff.dat" && at >= 78 && at < 82 &&
                        std::count(records.begin(), records.end(), record))
                << after[f].first << " byte " << i;
        }
    }
    const std::size_t staffFile = static_cast<std::size_t>(
        std::find_if(after.begin(), after.end(),
                     [](const auto& f) { return f.first == "staff.dat"; }) -
        after.begin());
    EXPECT_EQ(GetI32(after[staffFile].second,
                     static_cast<std::size_t>(records[1]) * db::StaffRecord::kSize + 78),
              40001);

    EXPECT_EQ(Model().index(RowOf(records[1]), wage).data().toString(), "40001");

    // Undo gives the files back byte for byte, and the grid reads them again.
    Action("UndoMenu")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Data(), before);
    EXPECT_EQ(
        Model().index(RowOf(records[1]), wage).data().toString().toStdString(),
        std::to_string(GetI32(before[staffFile].second,
                              static_cast<std::size_t>(records[1]) * db::StaffRecord::kSize + 78)));
    EXPECT_EQ(ui::seam::Unanswered(), 0);
}

}  // namespace
}  // namespace vh::test

namespace vh::test {
namespace {

TEST_F(TableView, TheChangeButtonOfACellPicksTheRecordAmongEqualNames) {
    Load();
    Action("ClubMenu")->trigger();
    Action("TableViewMenu")->trigger();
    ui::TTableViewWindow& w = *Main().TableViewWindow();
    // Two clubs share the short name "Athletic": the second one is picked, and kept.
    const QModelIndex cell = Model().index(0, Column("ClubRivalList"));
    w.Grid()->setCurrentIndex(cell);
    w.Grid()->edit(cell);
    auto* lines = w.Grid()->findChild<QListWidget*>("TableCellLines");
    ASSERT_NE(lines, nullptr);
    lines->setCurrentRow(1);
    w.Grid()->findChild<QPushButton*>("TableChange")->click();
    ui::TChangeForm& picker = *w.Picker();
    ASSERT_TRUE(picker.isVisible());
    EXPECT_EQ(picker.objectName(), "TableChangeForm");
    const QStringList names = picker.Model().Texts();
    const int second = static_cast<int>(names.lastIndexOf("Athletic"));
    ASSERT_GT(second, names.indexOf("Athletic"));
    picker.ChangeListBox()->setCurrentIndex(picker.Model().index(second));
    picker.ChangeListBoxDblClick();
    EXPECT_FALSE(picker.isVisible());
    w.Grid()->setCurrentIndex(Model().index(1, 0));  // leaving the cell takes the editor's lines
    EXPECT_TRUE(Model().IsPending(cell));
    EXPECT_EQ(Model().SlotValues(cell).at(1), *picker.Model().Record(second));
}

}  // namespace
}  // namespace vh::test

namespace vh::test {
namespace {

TEST_F(TableView, NumbersSortAsNumbersAndNamesByTheirLettersWhateverTheCase) {
    ui::TTableViewWindow& w = Open("PlayerMenu");
    ui::TTableModel& m = Model();
    struct Case {
        int column;
        Qt::SortOrder order;
        bool numbers;
    };
    const Case cases[] = {
        {Column("PlayerWage"), Qt::AscendingOrder, true},
        {Column("PLayerPace"), Qt::DescendingOrder, true},
        {ui::TTableModel::kLabelColumn, Qt::AscendingOrder, false},
        {Column("PlayerSecondName"), Qt::AscendingOrder, false},  // "de Vries" among the D's
        {Column("PlayerNation"), Qt::DescendingOrder, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(m.headerData(c.column, Qt::Horizontal).toString().toStdString());
        w.Grid()->sortByColumn(c.column, c.order);
        for (int r = 1; r < m.rowCount(); ++r) {
            const QString a = m.index(r - 1, c.column).data().toString();
            const QString b = m.index(r, c.column).data().toString();
            const int order =
                c.numbers ? (a.toLongLong() > b.toLongLong()) - (a.toLongLong() < b.toLongLong())
                          : a.compare(b, Qt::CaseInsensitive);
            const int wanted = c.order == Qt::AscendingOrder ? order : -order;
            ASSERT_LE(wanted, 0) << "row " << r << ": '" << a.toStdString() << "' before '"
                                 << b.toStdString() << "'";
            if (order == 0) {
                ASSERT_LT(m.RecordAt(r - 1), m.RecordAt(r)) << "equal keys by record";
            }
        }
    }
}

TEST_F(TableView, ASaveAsksAboutThePageFirstAndThePageShowsWhatTheTableWrote) {
    Load();
    const std::int32_t id = summary.player;
    Find<QRadioButton>("PlayerRad")->click();
    Choose(Main().Players().GetStaffName(id));
    ui::TTableViewWindow& w = Open("PlayerMenu");
    ASSERT_TRUE(
        Model().setData(Model().index(RowOf(id), Column("PlayerWage")), "4321", Qt::EditRole));
    Edit("PlayerWage")->setText("77");  // a change pending on the page
    ASSERT_TRUE(Main().RecordChanged());

    const auto before = Data();
    ui::seam::QueueAnswer(ui::Answer::kCancel);
    w.findChild<QPushButton*>("TableSave")->click();
    EXPECT_EQ(LastAsked()->caption, "Save Changes?");
    EXPECT_EQ(Data(), before);
    EXPECT_TRUE(Model().HasPending());

    ui::seam::QueueAnswer(ui::Answer::kNo);  // the page's change is dropped
    w.findChild<QPushButton*>("TableSave")->click();
    EXPECT_FALSE(Model().HasPending());
    // The page read the record again: its next save keeps the table's wage.
    EXPECT_EQ(Edit("PlayerWage")->text(), "4321");
    Edit("PLayerPace")->setText("3");
    Main().SaveClick();
    const auto staff = ReadFile(File("staff.dat"));
    EXPECT_EQ(GetI32(staff, static_cast<std::size_t>(id) * db::StaffRecord::kSize + 78), 4321);

    // The page's save is read by the table once it is done.
    QApplication::processEvents();
    EXPECT_EQ(Model().index(RowOf(id), Column("PLayerPace")).data().toString(), "3");
}

TEST_F(TableView, ClosingOrSwitchingWithEditsAsksAndColumnGroupsStayHidden) {
    ui::TTableViewWindow& w = Open("PlayerMenu");
    const QModelIndex cell = Model().index(0, Column("PlayerWage"));
    ASSERT_TRUE(Model().setData(cell, "12", Qt::EditRole));
    ui::seam::QueueAnswer(ui::Answer::kCancel);
    w.close();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(Model().IsPending(cell));
    // "Load Data" and Exit ask too; Cancel keeps everything.
    for (const char* stop : {"Load", "Exit"}) {
        ui::seam::Clear();
        ui::seam::QueueAnswer(ui::Answer::kCancel);
        if (std::string(stop) == "Load")
            Find<QPushButton>("Load")->click();
        else
            Action("Exit1")->trigger();
        ASSERT_EQ(ui::seam::Log().size(), 1u) << stop;
        EXPECT_EQ(LastText(),
                  "This will lose changes made in the table.  Would you like to save "
                  "data now?")
            << stop;
        EXPECT_TRUE(Model().IsPending(cell)) << stop;
    }
    ui::seam::QueueAnswer(ui::Answer::kNo);
    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(Model().IsOpen());

    // The columns of a tab hidden stay hidden for the session, table by table.
    Action("TableViewMenu")->trigger();
    EXPECT_FALSE(Model().HasPending());
    w.SetGroupShown("Player Attributes 2", false);
    EXPECT_TRUE(w.Grid()->isColumnHidden(Column("PLayerPace")));
    ASSERT_TRUE(w.ShowTable(db::TableId::kClubs));
    EXPECT_FALSE(w.Grid()->isColumnHidden(Column("ClubCash")));
    ASSERT_TRUE(w.ShowTable(db::TableId::kPlayers));
    EXPECT_TRUE(w.Grid()->isColumnHidden(Column("PLayerPace")));
    EXPECT_FALSE(w.Grid()->isColumnHidden(Column("PlayerWage")));

    // A double click on a label opens the record on its page.
    const std::int64_t record = Model().RecordAt(3);
    w.GridDoubleClick(Model().index(3, ui::TTableModel::kLabelColumn));
    EXPECT_EQ(Main().CurrentMode(), ui::Mode::kPlayers);
    EXPECT_EQ(Main().Players().RecordNumber(), record);
    EXPECT_EQ(ui::seam::Unanswered(), 0);
}

}  // namespace
}  // namespace vh::test
