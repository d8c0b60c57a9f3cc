// "Changes Since Backup..." with "Revert Record" and "Save As Patch...", and "Apply Patch...":
// the loaded directory against its backup, and patches passed between directories. Every write
// is one commit through the session's history, so Undo takes it back.
#include <QFileDialog>
#include <QFileInfo>
#include <optional>
#include <system_error>

#include "database/changes/patch.h"
#include "database/changes/revert.h"
#include "database/records/errors.h"
#include "database/records/text.h"
#include "database/tables/table_data.h"
#include "database/write/backup.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "editor/shell/stad.h"
#include "editor/windows/changes_window.h"
#include "platform/files.h"

namespace vh::ui {

namespace {

// A message box lists at most this many lines, each at most kLineWidth characters long.
constexpr qsizetype kListedLines = 20;
constexpr qsizetype kLineWidth = 110;

QString Listed(const QStringList& lines) {
    QStringList out;
    for (qsizetype i = 0; i < lines.size() && i < kListedLines; ++i)
        out << (lines[i].size() > kLineWidth ? lines[i].left(kLineWidth - 3) + QStringLiteral("...")
                                             : lines[i]);
    if (lines.size() > kListedLines)
        out << QStringLiteral("... and %1 more").arg(lines.size() - kListedLines);
    return out.join(QLatin1Char('\n'));
}

QString Why(int err) {
    return FromUtf8(db::EInOutError::MessageFor(db::EInOutError::CodeFromErrno(err)));
}

QFileDialog* PatchDialog(QWidget* parent, const char* name, const QString& caption,
                         QFileDialog::AcceptMode mode) {
    auto* d = new QFileDialog(parent, caption);
    d->setObjectName(QString::fromLatin1(name));
    d->setOption(QFileDialog::DontUseNativeDialog);
    d->setAcceptMode(mode);
    d->setNameFilters({QStringLiteral("Patches (*.json)"), QStringLiteral("All files (*)")});
    d->setDefaultSuffix(QStringLiteral("json"));
    d->setAttribute(Qt::WA_DeleteOnClose);
    return d;
}

}  // namespace

TChangesWindow* TVHEdit::ChangesWindow() const {
    return changesWindow_;
}

void TVHEdit::ChangesMenuClick() {
    if (!s_.dataLoaded) return;
    if (!changesWindow_) {
        TChangesWindow::Actions a;
        a.open = [this](db::TableId t, std::int64_t record) {
            if (const auto m = ModeOfTable(t);
                m && ShowRecord(*m, record, QStringLiteral("Changes Since Backup"))) {
                raise();
                activateWindow();
            }
        };
        a.revert = [this](db::TableId t, std::int64_t record) { RevertRecord(t, record); };
        a.savePatch = [this] {
            QFileDialog* d = PatchDialog(changesWindow_, "SavePatchDialog",
                                         QStringLiteral("Save As Patch"), QFileDialog::AcceptSave);
            connect(d, &QFileDialog::fileSelected, this,
                    [this](const QString& f) { Handle([this, f] { SavePatch(f); }); });
            d->open();
        };
        a.backup = [this] { BackupMenuClick(); };
        changesWindow_ = new TChangesWindow(this, std::move(a));
        // Beside the main window, not over it (nor over "Check Data").
        PlaceBeside(changesWindow_, QPoint(8, 40));
    }
    changesWindow_->show();
    RefreshChanges();
    changesWindow_->raise();
}

void TVHEdit::RefreshChanges() {
    // A closed window is brought up to date when it is opened again.
    if (!changesWindow_ || !changesWindow_->isVisible() || !s_.dataLoaded) return;
    const QString path = QString::fromStdString(s_.dataPath);
    changesWindow_->SetWritable(!readOnly_);
    if (!db::HasBackup(s_.dataPath)) {
        changesWindow_->SetNoBackup(path);
        return;
    }
    changesWindow_->SetDiff(db::DiffDirectories(s_.dataPath, db::BackupDirectory(s_.dataPath)),
                            path);
}

void TVHEdit::RevertRecord(db::TableId table, std::int64_t record) {
    const QString caption = QStringLiteral("Revert Record");
    if (!s_.dataLoaded || readOnly_ || !SaveCheck()) return;
    db::RevertPlan plan;
    try {
        plan = db::PlanRevert(s_.dataPath, table, record);
    } catch (const db::EDataError& e) {
        ShowMessage(this, caption, FromCp1252(e.what()), Buttons::kOk, Icon::kWarning);
        RefreshChanges();
        return;
    }
    auto named = [](const db::RevertedRecord& r) {
        return QStringLiteral("%1 %2 \"%3\"")
            .arg(FromUtf8(std::string(db::TableOf(r.table).what)))
            .arg(r.record)
            .arg(FromUtf8(r.label));
    };
    const db::RevertedRecord& first = plan.records.front();
    QString text = QStringLiteral("Write %1 back as the backup holds it?").arg(named(first));
    if (db::TableOf(first.table).IsPersons())
        text += first.table == db::TableId::kPlayers
                    ? QStringLiteral(" Its player record goes back with it.")
                    : QStringLiteral(" Its staff record goes back with it.");
    if (plan.records.size() > 1) {
        QStringList others;
        for (std::size_t i = 1; i < plan.records.size(); ++i) others << named(plan.records[i]);
        text += QStringLiteral(
                    "\n\nA transfer or appointment since the backup ties these records "
                    "to it. They go back with it, so that persons and clubs agree:\n") +
                Listed(others);
    }
    text += QStringLiteral(
                "\n\nEvery change of %1 since the backup is undone. Edit > Undo takes "
                "the revert back.")
                .arg(plan.records.size() > 1 ? QStringLiteral("these records")
                                             : QStringLiteral("this record"));
    if (ShowMessage(this, caption, text, Buttons::kYesNo, Icon::kQuestion) != Answer::kYes) return;
    s_.history.Commit(s_.dataPath, plan.writes);
    ShowRecordsAgain();
    // The record itself, as it is now, on its page.
    if (const auto m = ModeOfTable(first.table)) ShowRecord(*m, first.record, caption);
}

void TVHEdit::SavePatch(const QString& file) {
    const QString caption = QStringLiteral("Save As Patch");
    if (!s_.dataLoaded) return;
    if (!db::HasBackup(s_.dataPath)) {
        ShowMessage(this, caption,
                    QStringLiteral("There is no backup to compare with: nothing was written."));
        return;
    }
    // What the data directory holds now, which the window is brought up to date with.
    db::DirectoryDiff diff = db::DiffDirectories(s_.dataPath, db::BackupDirectory(s_.dataPath));
    db::PatchLeftOut left;
    const db::Patch patch = db::MakePatch(diff, &left);
    if (changesWindow_)
        changesWindow_->SetDiff(std::move(diff), QString::fromStdString(s_.dataPath));
    if (patch.changes.empty()) {
        ShowMessage(this, caption,
                    QStringLiteral("No field has changed since the backup: there is nothing to "
                                   "write into a patch."));
        return;
    }
    if (const int e = platform::WriteWholeFile(platform::Utf8Path(file.toStdString()),
                                               db::EncodePatch(patch))) {
        ShowMessage(this, caption,
                    QStringLiteral("%1 could not be written: %2. Choose another folder or name.")
                        .arg(file, Why(e)),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    if (const std::string warning = left.Warning(); !warning.empty())
        ShowMessage(this, caption,
                    QStringLiteral("Wrote %1 changes to %2. Note: %3.")
                        .arg(patch.changes.size())
                        .arg(file, FromUtf8(warning)),
                    Buttons::kOk, Icon::kInformation);
}

void TVHEdit::ApplyPatchMenuClick() {
    if (!s_.dataLoaded || readOnly_) return;
    QFileDialog* d = PatchDialog(this, "ApplyPatchDialog", QStringLiteral("Apply Patch"),
                                 QFileDialog::AcceptOpen);
    d->setFileMode(QFileDialog::ExistingFile);
    connect(d, &QFileDialog::fileSelected, this,
            [this](const QString& f) { Handle([this, f] { ApplyPatchFile(f); }); });
    d->open();
}

void TVHEdit::ApplyPatchFile(const QString& file) {
    const QString caption = QStringLiteral("Apply Patch");
    if (!s_.dataLoaded || readOnly_ || !SaveCheck()) return;
    std::string text;
    if (const int e = platform::ReadWholeFile(platform::Utf8Path(file.toStdString()), text)) {
        ShowMessage(this, caption, QStringLiteral("%1 could not be read: %2.").arg(file, Why(e)),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    db::PatchPlan plan;
    try {
        const db::Patch patch = db::DecodePatch(text);
        db::DataFiles files(s_.dataPath);
        const std::string name = QFileInfo(file).fileName().toStdString();
        plan =
            db::PlanPatch(files, patch, false, "Patch " + db::Utf8ToCp1252(name).value_or("file"));
    } catch (const db::EPatchError& e) {
        ShowMessage(this, caption,
                    QStringLiteral("%1 cannot be applied: %2. Nothing was changed.")
                        .arg(file, FromUtf8(e.what())),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    QStringList lines;
    if (!plan.conflicts.empty()) {
        for (const db::PatchConflict& c : plan.conflicts) lines << FromUtf8(db::Describe(c));
        ShowMessage(this, caption,
                    QStringLiteral("The patch does not fit this data directory: %1 of its changes "
                                   "find neither the old value nor the new one, or a record of "
                                   "another name. Nothing was changed.\n\n")
                            .arg(plan.conflicts.size()) +
                        Listed(lines),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    if (!plan.import.bad.empty()) {
        for (const db::BadCell& b : plan.import.bad) lines << FromUtf8(db::DescribeRefused(b));
        ShowMessage(this, caption,
                    QStringLiteral("The editor's rules refuse %1 of the patch's changes. Nothing "
                                   "was changed.\n\n")
                            .arg(plan.import.bad.size()) +
                        Listed(lines),
                    Buttons::kOk, Icon::kWarning);
        return;
    }
    if (plan.import.writes.Empty()) {
        ShowMessage(this, caption,
                    QStringLiteral("Every change of this patch is in the data already: there is "
                                   "nothing to change."));
        return;
    }
    for (const db::CellChange& c : plan.import.changes)
        lines << QStringLiteral("%1 %2 %3: %4 -> %5")
                     .arg(FromUtf8(std::string(db::TableOf(c.table).name)))
                     .arg(c.record)
                     .arg(FromUtf8(c.column), FromUtf8(c.before), FromUtf8(c.after));
    QString question = QStringLiteral("Apply %1? It changes %2 fields of %3 records")
                           .arg(file)
                           .arg(plan.import.changes.size())
                           .arg(plan.import.records);
    if (plan.appliedBefore)
        question +=
            QStringLiteral(" (%1 of its changes are in the data already)").arg(plan.appliedBefore);
    question += QStringLiteral(":\n\n") + Listed(lines);
    if (ShowMessage(this, caption, question, Buttons::kYesNo, Icon::kQuestion) != Answer::kYes)
        return;
    s_.history.Commit(s_.dataPath, plan.import.writes);
    ShowRecordsAgain();
}

}  // namespace vh::ui
