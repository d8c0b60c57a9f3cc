// File > "Export Table..." and "Import Table...": the current mode's table through a file the
// user chooses, the question before an import writes, and the import as one step of Undo.
#include <QAction>
#include <QLineEdit>

#include "database/tables/table_io.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

class TableMenu : public EditorTest {
  protected:
    // The data files, without the file exported and the scratch files the pages make.
    std::vector<std::pair<std::string, Bytes>> DataFiles() {
        auto files = Snapshot(dir.Path());
        std::erase_if(files, [](const auto& f) {
            return f.first == "players.csv" || f.first == "index2.dat" || f.first == "player.dat" ||
                   f.first == "nonplayer.dat";
        });
        return files;
    }
    // The CSV file exported, with one cell of the row of `record` changed.
    void EditCell(const std::filesystem::path& file, std::int32_t record, const std::string& column,
                  const std::string& value) {
        const Bytes bytes = ReadFile(file);
        db::CellTable cells = db::ReadCellTable(std::string(bytes.begin(), bytes.end()));
        std::size_t c = 0;
        while (cells.columns[c] != column) ++c;
        for (auto& row : cells.rows)
            if (row.cells[0] == std::to_string(record)) row.cells[c] = value;
        WriteFile(file, db::CsvOf(cells));
    }
};

TEST_F(TableMenu, ExportEditImportAndUndo) {
    Load();
    Action("PlayerMenu")->trigger();
    const std::int32_t id = summary.player;
    Find<QRadioButton>("PlayerRad")->click();
    Choose(Main().Players().GetStaffName(id));
    const auto csv = dir / "players.csv";
    const auto before = DataFiles();

    ui::seam::QueueFileName(QString::fromStdString(csv.string()));
    Action("ExportTableMenu")->trigger();
    ASSERT_NE(LastText().indexOf(QStringLiteral("Wrote the %1 players").arg(summary.players)), -1)
        << LastText().toStdString();
    ASSERT_EQ(ui::seam::Log().front().text, "players.csv") << "the name proposed";

    // Unchanged: nothing to change, no question.
    ui::seam::Clear();
    ui::seam::QueueFileName(QString::fromStdString(csv.string()));
    Action("ImportTableMenu")->trigger();
    EXPECT_NE(LastText().indexOf("Nothing to change"), -1) << LastText().toStdString();

    // A bad cell: listed, nothing written.
    EditCell(csv, id, "PLayerPace", "25");
    ui::seam::Clear();
    ui::seam::QueueFileName(QString::fromStdString(csv.string()));
    Action("ImportTableMenu")->trigger();
    EXPECT_NE(LastText().indexOf(QStringLiteral("record %1, PLayerPace '25': this value must be "
                                                "in the range 0 to 20")
                                     .arg(id)),
              -1)
        << LastText().toStdString();

    // Asked, answered No: nothing written; Yes: written, shown again, one step of Undo.
    EditCell(csv, id, "PLayerPace", "3");
    EditCell(csv, id, "PlayerWage", "4321");
    for (const ui::Answer answer : {ui::Answer::kNo, ui::Answer::kYes}) {
        ui::seam::Clear();
        ui::seam::QueueFileName(QString::fromStdString(csv.string()));
        ui::seam::QueueAnswer(answer);
        Action("ImportTableMenu")->trigger();
        EXPECT_NE(LastText().indexOf("Change 2 fields of 1 record?"), -1)
            << LastText().toStdString();
        if (answer == ui::Answer::kNo) {
            EXPECT_TRUE(DataFiles() == before);
        }
    }
    EXPECT_EQ(Edit("PLayerPace")->text(), "3");
    EXPECT_EQ(Edit("PlayerWage")->text(), "4321");
    EXPECT_FALSE(Main().RecordChanged());
    EXPECT_EQ(Action("UndoMenu")->text(), "Undo Import of players");

    ui::seam::Clear();
    Action("UndoMenu")->trigger();
    EXPECT_EQ(Edit("PlayerWage")->text(),
              QString::number(Record<db::StaffRecord>(id).Get(db::StaffRecord::Wage)));
    EXPECT_TRUE(DataFiles() == before);
}

}  // namespace
}  // namespace vh::test
