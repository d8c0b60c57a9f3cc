// A table model over a list of rows of one kind with a fixed number of columns, replaced whole:
// the base of the lists beside the main window (the check's findings, what points at a record).
// A subclass says what a cell shows (data) and what a column is called (headerData).
#pragma once

#include <QAbstractTableModel>
#include <cstddef>
#include <utility>
#include <vector>

namespace vh::ui {

template <class Row, int Columns>
class TRowsModel : public QAbstractTableModel {
  public:
    explicit TRowsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
    void SetRows(std::vector<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const Row& At(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : Columns;
    }

  protected:
    std::vector<Row> rows_;
};

}  // namespace vh::ui
