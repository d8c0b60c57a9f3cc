#include "editor/windows/refs_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "dialogs/guard.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"

namespace vh::ui {

namespace {

QString WhatOf(db::TableId table) {
    return FromUtf8(db::TableOf(table).what);
}

}  // namespace

QVariant ReferrerModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    const db::Referrer& r = At(index.row());
    switch (index.column()) {
        case kTable:
            return FromUtf8(db::TableOf(r.table).name);
        case kRecord:
            return static_cast<qlonglong>(r.record);
        case kLabel:
            return FromUtf8(r.label);
        case kField:
            return QString::fromLatin1(r.field->caption);
        default:
            return {};
    }
}

TWhatPointsHereWindow::TWhatPointsHereWindow(QWidget* parent, OpenRecord open)
    : QWidget(parent, Qt::Window),
      open_(std::move(open)),
      model_({"Table", "Record", "Name", "Field"}, this) {
    setObjectName(QStringLiteral("WhatPointsHereWindow"));
    setWindowTitle(QStringLiteral("What Points Here"));
    ApplyEditorTheme(this);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("WhatPointsHereSummary"));
    summary_->setWordWrap(true);
    list_ = MakeRowsView(this, QStringLiteral("WhatPointsHereList"), &model_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(list_, 1);

    connect(list_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { Guarded(this, [this, i] { OpenLine(i.row()); }); });
    resize(560, 380);
}

void TWhatPointsHereWindow::SetReferrers(db::TableId table, std::int64_t record,
                                         const QString& label, std::vector<db::Referrer> referrers,
                                         const QString& dataPath) {
    table_ = table;
    record_ = record;
    dataPath_ = dataPath;
    const QString subject =
        QStringLiteral("%1 \"%2\" (record %3)").arg(WhatOf(table), label).arg(record);
    setWindowTitle(QStringLiteral("What Points Here: %1").arg(label));
    std::size_t records = 0;
    for (std::size_t i = 0; i < referrers.size(); ++i)
        records += i == 0 || referrers[i].table != referrers[i - 1].table ||
                   referrers[i].record != referrers[i - 1].record;
    if (referrers.empty())
        summary_->setText(QStringLiteral("Nothing points at %1.").arg(subject));
    else
        summary_->setText(
            QStringLiteral("%1: %2 %3 from %4 %5. Double-click a line to open "
                           "that record.")
                .arg(subject)
                .arg(referrers.size())
                .arg(referrers.size() == 1 ? QStringLiteral("reference")
                                           : QStringLiteral("references"))
                .arg(records)
                .arg(records == 1 ? QStringLiteral("record") : QStringLiteral("records")));
    model_.SetRows(std::move(referrers));
    list_->resizeColumnsToContents();
}

void TWhatPointsHereWindow::SetGone(db::TableId table, std::int64_t record,
                                    const QString& dataPath) {
    table_ = table;
    record_ = record;
    dataPath_ = dataPath;
    setWindowTitle(QStringLiteral("What Points Here"));
    summary_->setText(QStringLiteral("The %1 of record %2 is no longer in its file.")
                          .arg(WhatOf(table))
                          .arg(record));
    model_.SetRows({});
}

void TWhatPointsHereWindow::OpenLine(int row) {
    if (row < 0 || row >= model_.rowCount() || !open_) return;
    const db::Referrer& r = model_.At(row);
    open_(r.table, r.record);
}

}  // namespace vh::ui
