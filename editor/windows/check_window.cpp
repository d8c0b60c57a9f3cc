#include "editor/windows/check_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/guard.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"

namespace vh::ui {

namespace {

// Keeps the lines of one kind (-1: all).
class KindFilter : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetKind(int kind) {
        kind_ = kind;
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        const auto* m = static_cast<const FindingModel*>(sourceModel());
        return kind_ < 0 || static_cast<int>(m->At(row).kind) == kind_;
    }

  private:
    int kind_ = -1;
};

}  // namespace

QVariant FindingModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const db::Finding& f = At(index.row());
    if (role == Qt::ToolTipRole) return FromUtf8(f.message);  // the column may cut it
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case kSeverity:
            return FromUtf8(db::SeverityName(f.severity));
        case kKind:
            return FromUtf8(db::KindName(f.kind));
        case kFile:
            return FromUtf8(f.file);
        case kRecord:
            return f.record < 0 ? QVariant() : QVariant(static_cast<qlonglong>(f.record));
        case kField:
            return FromUtf8(f.field);
        case kValue:
            return FromUtf8(f.value);
        case kMessage:
            return FromUtf8(f.message);
        default:
            return {};
    }
}

TCheckWindow::TCheckWindow(QWidget* parent, OpenRecord open)
    : QWidget(parent, Qt::Window),
      open_(std::move(open)),
      model_({"Severity", "Kind", "File", "Record", "Field", "Value", "Finding"}, this) {
    setObjectName(QStringLiteral("CheckDataWindow"));
    setWindowTitle(QStringLiteral("Check Data"));
    ApplyEditorTheme(this);

    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("CheckDataCounts"));
    counts_->setWordWrap(true);
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("CheckDataKind"));
    auto* filter = new KindFilter(this);
    filter->setSourceModel(&model_);
    filtered_ = filter;
    list_ = MakeRowsView(this, QStringLiteral("CheckDataList"), filtered_);

    auto* top = new QHBoxLayout;
    auto* kindLabel = new QLabel(QStringLiteral("Show:"), this);
    kindLabel->setBuddy(kind_);
    top->addWidget(kindLabel);
    top->addWidget(kind_);
    top->addWidget(counts_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list_, 1);

    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0) SetKindFilter(kind_->itemData(i).toInt());
    });
    connect(list_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { Guarded(this, [this, i] { OpenLine(i.row()); }); });
    resize(900, 380);
}

void TCheckWindow::SetReport(const db::CheckReport& report, const QString& dataPath) {
    // Errors first, each severity in the checker's order.
    std::vector<db::Finding> findings = report.findings;
    std::stable_partition(findings.begin(), findings.end(),
                          [](const db::Finding& f) { return f.severity == db::Severity::kError; });
    model_.SetRows(std::move(findings));

    // One entry per kind found, with its count.
    const QSignalBlocker block(kind_);
    kind_->clear();
    kind_->addItem(QStringLiteral("All kinds (%1)").arg(report.findings.size()), -1);
    for (std::size_t k = 0; k < db::kCheckKindCount; ++k) {
        const auto kind = static_cast<db::CheckKind>(k);
        const auto n = std::count_if(report.findings.begin(), report.findings.end(),
                                     [&](const db::Finding& f) { return f.kind == kind; });
        if (n)
            kind_->addItem(QStringLiteral("%1 (%2)").arg(FromUtf8(db::KindName(kind))).arg(n),
                           static_cast<int>(k));
    }
    kind_->setCurrentIndex(0);
    static_cast<KindFilter*>(filtered_)->SetKind(-1);

    auto count = [](std::size_t n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    QString counts = QStringLiteral("%1: %2, %3")
                         .arg(dataPath, count(report.Errors(), "error", "errors"),
                              count(report.Warnings(), "warning", "warnings"));
    if (report.omitted) counts += QStringLiteral(" (%1 of them not listed)").arg(report.omitted);
    if (report.findings.empty()) counts += QStringLiteral(": the data are consistent");
    counts_->setText(counts + QLatin1Char('.'));
    list_->resizeColumnsToContents();
}

void TCheckWindow::SetKindFilter(int kind) {
    static_cast<KindFilter*>(filtered_)->SetKind(kind);
    const int at = kind_->findData(kind);
    if (at >= 0 && at != kind_->currentIndex()) {
        const QSignalBlocker block(kind_);
        kind_->setCurrentIndex(at);
    }
}

void TCheckWindow::OpenLine(int row) {
    const QModelIndex source = filtered_->mapToSource(filtered_->index(row, 0));
    if (!source.isValid()) return;
    const db::Finding& f = model_.At(source.row());
    if (f.subject == db::Subject::kOther || f.record < 0 || !open_) return;
    open_(f.subject, f.record);
}

}  // namespace vh::ui
