// "Save Data", "Backup Files", "Restore Backup", and the clean-up at exit.
#include <QLineEdit>

#include "database/records/errors.h"
#include "database/write/backup.h"
#include "database/write/write_set.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "editor/shell/stad.h"
#include "platform/files.h"

namespace vh::ui {

void TVHEdit::SaveClick() {
    if (!s_.dataLoaded || readOnly_ || !PageOf(mode_).HasRecord()) return;
    try {
        PageOf(mode_).Save();
    } catch (const db::EStaleError&) {
        // Another program changed the record since the page showed it: show it as it is now.
        const Mode shown = mode_;
        ShowRecordsAgain([shown](Mode m, std::int64_t) { return m == shown; }, false);
        throw;
    }
    SetRecordChanged(false);
}

namespace {
QString FileList(const std::vector<std::string>& names) {
    QStringList l;
    for (const auto& n : names) l << QString::fromStdString(n);
    return l.join(QStringLiteral(", "));
}

QString Folder(const std::string& path) {
    return QString::fromStdString(platform::NativeText(path));
}

// The first failed copy and why, then what to do.
QString FailedCopy(const db::CopyReport& r, const QString& advice) {
    return QStringLiteral("\n\nCopying %1 to %2 failed: %3. %4")
        .arg(QString::fromStdString(r.failedFrom), QString::fromStdString(r.failedTo),
             QString::fromStdString(db::EInOutError::MessageFor(r.failedCode)), advice);
}
}  // namespace

void TVHEdit::BackupMenuClick() {
    const std::string dataPath = path_->text().toStdString();
    if (dataPath.empty()) {
        ShowMessage(
            this, QStringLiteral("Backup Files"),
            QStringLiteral("Enter the data directory in \"VH Data Dir:\" before backing up."));
        return;
    }
    // A backup of files an interrupted command left half written would keep them so: the
    // command is rolled back first.
    Recover(dataPath, QStringLiteral("Backup Files"));
    const db::CopyReport report = db::Backup(dataPath);
    RefreshChanges();  // a new backup is what the changes are counted from
    if (report.failed.empty()) return;
    // Only a file that had a backup copy before keeps one; a first backup has none to keep.
    QString text =
        QStringLiteral("These files could not be backed up: %1.").arg(FileList(report.failed));
    if (!report.keptPrevious.empty())
        text += QStringLiteral(" The previous backup copies of %1 are kept.")
                    .arg(FileList(report.keptPrevious));
    if (report.keptPrevious.size() < report.failed.size())
        text += QStringLiteral(" The others have no backup copy yet.");
    text += FailedCopy(report, QStringLiteral("Check that the folder %1 can be written and the "
                                              "disk has room, then back up again.")
                                   .arg(Folder(db::BackupDirectory(dataPath))));
    ShowMessage(this, QStringLiteral("Backup Files"), text, Buttons::kOk, Icon::kWarning);
}

void TVHEdit::RestoreBackupMenuClick() {
    if (readOnly_) return;  // the files cannot be written (the menu item is disabled then)
    const std::string dataPath = path_->text().toStdString();
    if (!db::HasBackup(dataPath)) {
        ShowMessage(this, QStringLiteral("Restore Backup Error"),
                    QStringLiteral("You have never backed up before"));
        return;
    }
    if (ShowMessage(
            this, QStringLiteral("Restore Data"),
            QStringLiteral("This will delete all changes since you last backed up the data"),
            Buttons::kOkCancel, Icon::kWarning) != Answer::kOk)
        return;
    // A journal left by an interrupted command would roll its before-images over the restored
    // files at the next load: it is rolled back first. Nothing Undo holds fits the restored files.
    Recover(dataPath, QStringLiteral("Restore Backup"));
    s_.history.Clear();
    // The files in use are closed while they are replaced, then opened again.
    if (s_.dataLoaded) s_.files.CloseAll();
    const db::CopyReport report = db::Restore(dataPath);
    if (!report.failed.empty())
        ShowMessage(
            this, QStringLiteral("Restore Backup"),
            QStringLiteral("These files could not be restored and were left as they were: %1.")
                    .arg(FileList(report.failed)) +
                FailedCopy(report,
                           QStringLiteral("Check that the copies in %1 can be read, that the "
                                          "folder %2 can be written and the disk has room, then "
                                          "restore again.")
                               .arg(Folder(db::BackupDirectory(dataPath)), Folder(dataPath))),
            Buttons::kOk, Icon::kWarning);
    if (s_.dataLoaded) ReopenAfterRestore();
    RefreshChanges();
}

bool TVHEdit::ReopenAfterRestore() {
    const bool ok = Guarded(this, [this] {
        db::FileSet fresh;
        fresh.Open(s_.dataPath);
        s_.files = std::move(fresh);
    });
    if (!ok) {
        // Nothing is open any more: say so, rather than fail at every later step.
        s_.dataLoaded = false;
        ShowMessage(
            this, QStringLiteral("Restore Backup"),
            QStringLiteral(
                "The data files could not be opened again. Press \"Load Data\" to load them."));
        return false;
    }
    lists_.NewLoad();
    GetNameArrays();
    RefreshResultList();
    return true;
}

void TVHEdit::FormDestroy() {
    // Only the scratch files this run created, where it created them.
    s_.scratch.DeleteAll();
}

}  // namespace vh::ui
