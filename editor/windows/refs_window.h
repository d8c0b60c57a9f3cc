// The "What Points Here" window: every record of the loaded directory that points at one record
// (the one on the page when Edit > "What Points Here..." was chosen), one line per record and
// field: its table, record number, label and the field's caption. It stays open beside the main
// window, as "Check Data" does; a double click on a line asks the shell to show that record.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "database/tables/refs.h"
#include "editor/windows/rows_model.h"

class QLabel;
class QTableView;

namespace vh::ui {

class ReferrerModel : public TRowsModel<db::Referrer, 4> {
    Q_OBJECT
  public:
    enum Column { kTable, kRecord, kLabel, kField, kColumnCount };
    using TRowsModel::TRowsModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
static_assert(ReferrerModel::kColumnCount == 4);

class TWhatPointsHereWindow : public QWidget {
    Q_OBJECT
  public:
    using OpenRecord = std::function<void(db::TableId, std::int64_t record)>;
    TWhatPointsHereWindow(QWidget* parent, OpenRecord open);

    // Shows what points at record `record` of `table` (its label `label`) in `dataPath`.
    void SetReferrers(db::TableId table, std::int64_t record, const QString& label,
                      std::vector<db::Referrer> referrers, const QString& dataPath);
    // Says that the record is no longer in its file.
    void SetGone(db::TableId table, std::int64_t record, const QString& dataPath);
    // The record the window lists for, and the directory it is in.
    db::TableId Table() const { return table_; }
    std::int64_t Record() const { return record_; }
    const QString& DataPath() const { return dataPath_; }

    // Opens the record of this line, as a double click does.
    void OpenLine(int row);

    QTableView* List() const { return list_; }
    QLabel* Summary() const { return summary_; }
    ReferrerModel& Model() { return model_; }

  private:
    OpenRecord open_;
    ReferrerModel model_;
    db::TableId table_{};
    std::int64_t record_ = -1;
    QString dataPath_;
    QLabel* summary_ = nullptr;
    QTableView* list_ = nullptr;
};

}  // namespace vh::ui
