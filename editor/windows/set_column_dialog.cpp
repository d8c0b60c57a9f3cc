#include "editor/windows/set_column_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>

#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"
#include "editor/windows/table_model.h"

namespace vh::ui {

namespace {
constexpr std::size_t kRowsWorkedOutAtOnce = 2000;
constexpr std::chrono::milliseconds kTypingPause{250};
}  // namespace

TSetColumnDialog::TSetColumnDialog(QWidget* parent, TTableModel& model, int column,
                                   std::vector<int> rows)
    : QDialog(parent), model_(model), column_(column), rows_(std::move(rows)) {
    setObjectName(QStringLiteral("SetColumnDialog"));
    setWindowTitle(QStringLiteral("Set Column"));
    ApplyEditorTheme(this);
    const QString name = model_.headerData(column_, Qt::Horizontal, Qt::ToolTipRole).toString();

    auto* rowsLabel = new QLabel(
        QStringLiteral("%1 of the %2 rows %3:")
            .arg(name)
            .arg(rows_.size())
            .arg(static_cast<int>(rows_.size()) == model_.rowCount() ? QStringLiteral("shown")
                                                                     : QStringLiteral("selected")),
        this);
    rowsLabel->setObjectName(QStringLiteral("SetColumnRows"));
    auto* field = new QLabel(name + QStringLiteral(" ="), this);
    field->setObjectName(QStringLiteral("SetColumnField"));
    expression_ = new QLineEdit(this);
    expression_->setObjectName(QStringLiteral("SetColumnExpression"));
    expression_->setText(name);
    expression_->setMinimumWidth(360);
    expression_->setToolTip(QStringLiteral(
        "Numbers, the row's fields by the names in the columns' tooltips, + - * / and "
        "parentheses, min(a,b,...), max(a,b,...), clamp(x,lo,hi), round(x), and text in "
        "double quotes. Every row is worked out from its values before the change."));
    clamp_ = new QCheckBox(QStringLiteral("Bring numbers outside the field's range into it"), this);
    clamp_->setObjectName(QStringLiteral("SetColumnClamp"));
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("SetColumnPreview"));
    preview_->setWordWrap(true);
    preview_->setMinimumHeight(preview_->fontMetrics().height() * 3);
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("SetColumnOk"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("SetColumnCancel"));

    auto* line = new QHBoxLayout;
    line->addWidget(field);
    line->addWidget(expression_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rowsLabel);
    layout->addLayout(line);
    layout->addWidget(clamp_);
    layout->addWidget(preview_);
    layout->addWidget(buttons);

    connect(expression_, &QLineEdit::textChanged, this,
            [this] { Guarded(this, [this] { ExpressionChange(); }); });
    connect(clamp_, &QCheckBox::toggled, this,
            [this] { Guarded(this, [this] { ExpressionChange(); }); });
    connect(ok_, &QPushButton::clicked, this, [this] { Guarded(this, [this] { OkClick(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(kTypingPause);
    connect(pause_, &QTimer::timeout, this, [this] { Guarded(this, [this] { Preview(); }); });
    expression_->selectAll();
    Preview();
}

void TSetColumnDialog::ExpressionChange() {
    if (rows_.size() <= kRowsWorkedOutAtOnce) {
        Preview();
        return;
    }
    ok_->setEnabled(false);
    preview_->setText(QStringLiteral("Working it out when you stop typing..."));
    pause_->start();
}

void TSetColumnDialog::Preview() {
    pause_->stop();
    db::FormulaCells cells;
    try {
        cells = model_.EvaluateColumn(column_, expression_->text().toStdString(), rows_,
                                      clamp_->isChecked());
    } catch (const db::ETableError& e) {
        preview_->setText(FromUtf8(e.what()));
        ok_->setEnabled(false);
        return;
    }
    if (const QStringList reasons = model_.CheckCells(cells); !reasons.isEmpty()) {
        preview_->setText(QStringLiteral("%1 %2 refused; the first: %3")
                              .arg(reasons.size())
                              .arg(reasons.size() == 1 ? QStringLiteral("value is")
                                                       : QStringLiteral("values are"))
                              .arg(reasons.front()));
        ok_->setEnabled(false);
        return;
    }
    QString text = QStringLiteral("%1 of %2 %3 change")
                       .arg(cells.cells.size())
                       .arg(rows_.size())
                       .arg(rows_.size() == 1 ? QStringLiteral("cell") : QStringLiteral("cells"));
    if (cells.clamped)
        text += QStringLiteral("; %1 brought into the field's range").arg(cells.clamped);
    preview_->setText(text + QLatin1Char('.'));
    ok_->setEnabled(!cells.cells.empty());
}

void TSetColumnDialog::OkClick() {
    const db::FormulaCells cells = model_.EvaluateColumn(column_, expression_->text().toStdString(),
                                                         rows_, clamp_->isChecked());
    const QStringList refused = model_.EnterCells(cells);
    if (!refused.isEmpty()) {
        QString listed = refused.mid(0, 12).join(QLatin1Char('\n'));
        if (refused.size() > 12)
            listed += QStringLiteral("\n... and %1 more").arg(refused.size() - 12);
        ShowMessage(this, QStringLiteral("Set Column"),
                    QStringLiteral("Nothing was set:\n") + listed, Buttons::kOk, Icon::kWarning);
        return;
    }
    accept();
}

}  // namespace vh::ui
