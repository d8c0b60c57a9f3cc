// A table model over a list of rows of one kind with a fixed number of columns, replaced whole:
// the base of the lists beside the main window (the check's findings, what points at a record).
// A subclass says what a cell shows (data); the columns' titles are given to the constructor.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <cstddef>
#include <utility>
#include <vector>

class QTableView;

namespace vh::ui {

template <class Row, int Columns>
class TRowsModel : public QAbstractTableModel {
  public:
    TRowsModel(std::array<const char*, Columns> titles, QObject* parent)
        : QAbstractTableModel(parent), titles_(titles) {}
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
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns)
            return {};
        return QString::fromLatin1(titles_[static_cast<std::size_t>(section)]);
    }

  protected:
    std::vector<Row> rows_;

  private:
    std::array<const char*, Columns> titles_;
};

// The read-only list of whole rows such a model is shown in, one line per row, named `name`.
QTableView* MakeRowsView(QWidget* parent, const QString& name, QAbstractItemModel* model);

}  // namespace vh::ui
