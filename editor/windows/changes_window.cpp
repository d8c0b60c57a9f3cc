#include "editor/windows/changes_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/guard.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"

namespace vh::ui {

namespace {

// Where the line's record is in the diff.
constexpr int kRecordRole = Qt::UserRole;
QString Valued(const std::string& value, const std::string& name) {
    return name.empty() ? FromUtf8(value)
                        : FromUtf8(value) + QStringLiteral(" (") + FromUtf8(name) + ')';
}

QString Title(const db::RecordChange& r) {
    QString title = r.table ? QStringLiteral("%1 %2 \"%3\"")
                                  .arg(FromUtf8(db::TableOf(*r.table).what))
                                  .arg(r.record)
                                  .arg(FromUtf8(r.label))
                            : FromUtf8(r.file) + (r.side == db::Side::kBoth
                                                      ? QStringLiteral(", bytes in no record")
                                                      : QString());
    if (r.side == db::Side::kOnlyNew) title += QStringLiteral(": only in the data directory");
    if (r.side == db::Side::kOnlyOld) title += QStringLiteral(": only in the backup");
    if (r.side == db::Side::kBoth && r.table && r.oldLabel != r.label)
        title += QStringLiteral(" (was \"%1\")").arg(FromUtf8(r.oldLabel));
    return title;
}

}  // namespace

TChangesWindow::TChangesWindow(QWidget* parent, Actions actions)
    : QWidget(parent, Qt::Window), actions_(std::move(actions)) {
    setObjectName(QStringLiteral("ChangesWindow"));
    setWindowTitle(QStringLiteral("Changes Since Backup"));
    ApplyEditorTheme(this);

    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("ChangesCounts"));
    counts_->setWordWrap(true);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ChangesList"));
    list_->setColumnCount(3);
    list_->setHeaderLabels(
        {QStringLiteral("Record / field"), QStringLiteral("Old"), QStringLiteral("New")});
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformRowHeights(true);
    list_->header()->setStretchLastSection(true);
    revert_ = new QPushButton(QStringLiteral("Revert Record"), this);
    revert_->setObjectName(QStringLiteral("RevertRecord"));
    savePatch_ = new QPushButton(QStringLiteral("Save As Patch..."), this);
    savePatch_->setObjectName(QStringLiteral("SaveAsPatch"));
    backup_ = new QPushButton(QStringLiteral("Backup Files"), this);
    backup_->setObjectName(QStringLiteral("ChangesBackupFiles"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(revert_);
    buttons->addWidget(savePatch_);
    buttons->addWidget(backup_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(counts_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { Guarded(this, [this, item] { OpenLine(item); }); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(revert_, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { RevertSelected(); }); });
    connect(savePatch_, &QPushButton::clicked, this, [this] {
        Guarded(this, [this] {
            if (actions_.savePatch) actions_.savePatch();
        });
    });
    connect(backup_, &QPushButton::clicked, this, [this] {
        Guarded(this, [this] {
            if (actions_.backup) actions_.backup();
        });
    });
    resize(760, 420);
    SetNoBackup({});
}

void TChangesWindow::SetDiff(db::DirectoryDiff diff, const QString& dataPath) {
    diff_ = std::move(diff);
    hasBackup_ = true;
    list_->clear();
    std::size_t fields = 0, runs = 0;
    QList<QTreeWidgetItem*> lines;
    for (std::size_t i = 0; i < diff_.records.size(); ++i) {
        const db::RecordChange& r = diff_.records[i];
        auto* line = new QTreeWidgetItem({Title(r)});
        line->setData(0, kRecordRole, static_cast<qulonglong>(i));
        for (const db::FieldChange& f : r.fields) {
            auto* field = new QTreeWidgetItem(
                line,
                {FromUtf8(f.column), Valued(f.before, f.beforeName), Valued(f.after, f.afterName)});
            for (int c = 1; c < 3; ++c) field->setToolTip(c, field->text(c));
            for (const db::FieldChange::Slot& s : f.changedSlots)
                new QTreeWidgetItem(field,
                                    {QStringLiteral("%1[%2]").arg(FromUtf8(f.column)).arg(s.slot),
                                     FromUtf8(s.beforeName), FromUtf8(s.afterName)});
        }
        for (const db::ByteChange& b : r.bytes) {
            // A line shows the first bytes of a long run; its tool tip shows them all.
            auto* bytes = new QTreeWidgetItem(
                line, {FromUtf8(db::DescribeBytes(b, r.table.has_value())),
                       FromUtf8(db::ShownHex(b.before)), FromUtf8(db::ShownHex(b.after))});
            bytes->setToolTip(1, FromUtf8(db::Hex(b.before)));
            bytes->setToolTip(2, FromUtf8(db::Hex(b.after)));
        }
        fields += r.fields.size();
        runs += r.bytes.size();
        lines.push_back(line);
    }
    list_->addTopLevelItems(lines);
    list_->expandToDepth(0);
    list_->resizeColumnToContents(0);

    auto count = [](std::size_t n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    counts_->setText(
        diff_.Empty()
            ? QStringLiteral("%1: nothing has changed since the last backup.").arg(dataPath)
            : QStringLiteral("%1 against its backup: %2 (%3, %4).")
                  .arg(dataPath, count(diff_.records.size(), "record differs", "records differ"),
                       count(fields, "field", "fields"),
                       count(runs, "run of bytes no field shows", "runs of bytes no field shows")));
    UpdateButtons();
}

void TChangesWindow::SetNoBackup(const QString& dataPath) {
    diff_ = {};
    hasBackup_ = false;
    list_->clear();
    counts_->setText(dataPath.isEmpty()
                         ? QString()
                         : QStringLiteral("%1 has no backup yet, so there is nothing to compare "
                                          "it with. \"Backup Files\" makes one: the changes "
                                          "made from then on are listed here.")
                               .arg(dataPath));
    UpdateButtons();
}

void TChangesWindow::SetWritable(bool writable) {
    writable_ = writable;
    UpdateButtons();
}

const db::RecordChange* TChangesWindow::RecordOf(const QTreeWidgetItem* item) const {
    while (item && item->parent()) item = item->parent();
    if (!item) return nullptr;
    const auto i = static_cast<std::size_t>(item->data(0, kRecordRole).toULongLong());
    return i < diff_.records.size() ? &diff_.records[i] : nullptr;
}

QTreeWidgetItem* TChangesWindow::LineOf(db::TableId table, std::int64_t record) const {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* line = list_->topLevelItem(i);
        const db::RecordChange* r = RecordOf(line);
        if (r && r->table == table && r->record == record) return line;
    }
    return nullptr;
}

void TChangesWindow::OpenLine(const QTreeWidgetItem* item) {
    const db::RecordChange* r = RecordOf(item);
    if (r && r->table && r->side != db::Side::kOnlyOld && actions_.open)
        actions_.open(*r->table, r->record);
}

void TChangesWindow::RevertSelected() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    const db::RecordChange* r = selected.isEmpty() ? nullptr : RecordOf(selected.front());
    if (!r || !r->table || r->side != db::Side::kBoth || !writable_ || !actions_.revert) return;
    // The action refreshes the list: nothing of `r` is used after it.
    actions_.revert(*r->table, r->record);
}

void TChangesWindow::UpdateButtons() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    const db::RecordChange* r = selected.isEmpty() ? nullptr : RecordOf(selected.front());
    revert_->setEnabled(writable_ && r && r->table && r->side == db::Side::kBoth);
    bool anyField = false;
    for (const db::RecordChange& c : diff_.records) anyField = anyField || !c.fields.empty();
    savePatch_->setEnabled(hasBackup_ && anyField);
    backup_->setVisible(!hasBackup_);
}

}  // namespace vh::ui
