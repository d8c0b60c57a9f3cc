// The rows of one table (players, clubs, ...) for the table view: every record of the kind read in
// bulk from the data directory, one column per field of the page, sorted and filtered through an
// index vector, and the edits the user made that are not saved yet (db::TableEdits, which checks
// them with the import's rules and plans their write set). Cells are drawn from the record bytes
// as the view asks for them: no text is kept per cell.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "database/tables/formula.h"
#include "database/tables/table_data.h"
#include "database/tables/table_edits.h"
#include "database/tables/table_import.h"
#include "database/tables/where.h"

namespace vh::ui {

using db::CellInput;

class TTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kRecordColumn = 0;
    static constexpr int kLabelColumn = 1;
    // setData: a reference picked, as CellInput::numbers.
    static constexpr int kNumbersRole = Qt::UserRole + 10;

    explicit TTableModel(QObject* parent = nullptr);
    ~TTableModel() override;

    // Reads every row of the table; edits not saved are dropped.
    void Open(const std::string& dataPath, db::TableId table);
    // Reads the rows again, after another command wrote the files: the edits that still change
    // something, the order and the filter stay.
    void Reread();
    // Lets go of the rows and the files read (the window was closed).
    void Release();
    bool IsOpen() const { return rows_ != nullptr; }
    db::TableId Table() const { return table_; }
    const std::string& DataPath() const { return dataPath_; }
    // Data loaded read-only: nothing is editable.
    void SetReadOnly(bool readOnly);

    // --- filter and order -------------------------------------------------------------------
    // Conditions as the export's --where takes them, joined with "and". Throws db::ETableError
    // for a bad one; the filter in force is then left as it was.
    void SetWhere(const QString& line);
    void ClearWhere();
    // Rows whose label contains the text, whatever the letter case.
    void SetLabelFilter(const QString& text);
    std::size_t Total() const;
    std::size_t Matching() const { return shown_.size(); }

    // --- columns ----------------------------------------------------------------------------
    // The field of a column; nullptr for the record number and the label.
    const db::Field* FieldOf(int column) const;
    // The group the column is shown and hidden with: its page tab, or, on a page without tabs,
    // its field. "" for the record number and the label, which always show.
    QString GroupOf(int column) const;
    std::int64_t RecordAt(int row) const;
    // Why the cell cannot be edited ("" when it can).
    QString ReadOnlyReason(const QModelIndex& index) const;
    // The cell as copied: what it shows, a check box as 1 or 0.
    QString CopyText(const QModelIndex& index) const;
    // The record numbers a reference cell holds (or will once saved), for its editor.
    std::vector<std::int64_t> SlotValues(const QModelIndex& index) const;
    // What a reference of the field holding v shows.
    QString ReferenceText(const db::Field& f, std::int64_t v) const;
    // The entries a cell chooses among: a choice's items, or "<empty>" and the colours.
    QStringList Choices(const QModelIndex& index) const;

    // --- edits --------------------------------------------------------------------------------
    // Checks the cell with the page's rules and keeps it until saved. "" when it is taken (a
    // value that is what is stored is no edit), else why it is refused: then nothing changes.
    QString Edit(const QModelIndex& index, const CellInput& input);
    // Every cell or none: the reasons of the cells refused ("Record 12, Pace '25': ..."), empty
    // when all were taken.
    QStringList EditAll(const std::vector<std::pair<QModelIndex, CellInput>>& cells);
    // The reason the last setData was refused.
    const QString& LastRefusal() const { return lastRefusal_; }
    bool HasPending() const { return !edits_.Empty(); }
    std::size_t PendingRecords() const { return edits_.Records(); }
    bool IsPending(const QModelIndex& index) const;
    void DropPending();
    // Every record edited, planned as one write set labelled "Table Edit of N records".
    db::ImportPlan Plan();
    // The bad cells of a plan, one line each: "Record 12, Pace '25': ...".
    QStringList Reasons(const db::ImportPlan& plan) const;
    // The plan's writes were committed: the rows take them in and the edits go.
    void Committed(const db::WriteSet& writes);

    // --- formulas ("Set Column...") -------------------------------------------------------------
    // The cells a formula gives one column in these rows (grid rows), reading each row as the
    // grid shows it, edits not saved included. Throws db::EFormulaError for an expression that
    // cannot be taken.
    db::FormulaCells EvaluateColumn(int column, const std::string& expression,
                                    const std::vector<int>& rows, bool clamp) const;
    // The reasons the cells would be refused, taking nothing (the edits not saved aside).
    QStringList CheckCells(const db::FormulaCells& cells);
    // Takes the cells as edits not saved, all or none: the reasons of the cells refused.
    QStringList EnterCells(const db::FormulaCells& cells);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  signals:
    // The number of rows shown, of the rows, or of the records edited changed.
    void CountsChanged();

  private:
    void Read();
    void Reload();
    const db::RowRef& Row(int row) const;
    const db::Column* ColumnOf(int column) const;
    std::size_t ColumnIndexOf(int column) const;
    QString Shown(const db::Column& c, const db::RowRef& row) const;
    QString ShownAfter(const db::Column& c, const std::string& after) const;
    const db::TableEdits::Cell* PendingAt(const QModelIndex& index) const;
    const std::vector<std::string>& Labels() const;
    void SortRows();
    void FilterWhere();
    void FilterLabels();
    void Show();

    std::string dataPath_;
    db::TableId table_ = db::TableId::kPlayers;
    bool readOnly_ = false;
    std::unique_ptr<db::DataFiles> files_;
    std::unique_ptr<db::TableRows> rows_;
    std::vector<int> columns_;  // per grid column from 2 on: its column of the table's rows
    mutable std::vector<std::string> labels_;
    mutable std::vector<std::string> foldedLabels_;

    std::vector<db::Condition> where_;
    std::string labelFilter_;  // folded
    int sortColumn_ = kRecordColumn;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::vector<std::int32_t> sorted_;     // every row, in the order of the sort
    std::vector<char> whereOk_, labelOk_;  // per row
    std::vector<std::int32_t> shown_;      // the rows that match, sorted
    db::TableEdits edits_;
    QString lastRefusal_;
};

}  // namespace vh::ui
