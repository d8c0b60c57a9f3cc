// The "Check Data" window: the findings of the database checker on the loaded directory, one line
// each, filtered by kind, with their counts. It stays open beside the main window; a double click
// on a finding about a club, nation, stadium, city, player or staff member asks the shell to show
// that record.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "database/model/check.h"
#include "editor/windows/rows_model.h"

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace vh::ui {

// The findings as a table: severity, kind, file, record, field, value, message.
class FindingModel : public TRowsModel<db::Finding, 7> {
    Q_OBJECT
  public:
    enum Column { kSeverity, kKind, kFile, kRecord, kField, kValue, kMessage, kColumnCount };
    using TRowsModel::TRowsModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
static_assert(FindingModel::kColumnCount == 7);

class TCheckWindow : public QWidget {
    Q_OBJECT
  public:
    // `open` shows the record a finding names.
    using OpenRecord = std::function<void(db::Subject, std::int64_t record)>;
    TCheckWindow(QWidget* parent, OpenRecord open);

    // Shows a report of the directory `dataPath`.
    void SetReport(const db::CheckReport& report, const QString& dataPath);
    // The filter: -1 for every kind, else a db::CheckKind.
    void SetKindFilter(int kind);
    // Opens the record of the finding on this line of the (filtered) list, as a double click does.
    void OpenLine(int row);

    QTableView* List() const { return list_; }
    FindingModel& Model() { return model_; }
    QSortFilterProxyModel* Filtered() const { return filtered_; }

  private:
    OpenRecord open_;
    FindingModel model_;
    QSortFilterProxyModel* filtered_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLabel* counts_ = nullptr;
    QTableView* list_ = nullptr;
};

}  // namespace vh::ui
