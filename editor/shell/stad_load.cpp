// Choosing the data directory and loading the file set.
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

#include "database/model/blocks.h"
#include "database/records/file_set.h"
#include "database/records/names.h"
#include "dialogs/msgbox.h"
#include "editor/shell/stad.h"
#include "editor/windows/changes_window.h"
#include "editor/windows/check_window.h"
#include "editor/windows/table_view.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace vh::ui {

void TVHEdit::FormCreate() {
    // The game's install location (registry, or the Wine prefix), and its data subdirectory.
    const std::string location = platform::GameInstallLocation();
    path_->setText(QString::fromStdString(platform::NativeText(location + "\\data")));
    s_.dataLoaded = false;
}

QFileDialog* TVHEdit::OpenDialog1() {
    // Made when first asked for: the dialog's file-system model reads and watches its directory
    // from the moment it exists, at a cost to every later action that few sessions ever need.
    if (openDialog_) return openDialog_;
    openDialog_ = new QFileDialog(this, QStringLiteral("Select VH File"));
    openDialog_->setObjectName(QStringLiteral("OpenDialog1"));
    openDialog_->setOption(QFileDialog::DontUseNativeDialog, true);
    openDialog_->setFileMode(QFileDialog::ExistingFile);
    openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
    openDialog_->setNameFilter(QStringLiteral("Stadium File (stadium.dat)"));
    openDialog_->setWindowModality(Qt::WindowModal);
    connect(openDialog_, &QFileDialog::currentChanged, this,
            [this](const QString& f) { Handle([this, f] { OpenDialog1SelectionChange(f); }); });
    On(openDialog_, &QFileDialog::finished, &TVHEdit::OpenDialog1Close);
    return openDialog_;
}

void TVHEdit::Button1Click() {
    OpenDialog1()->setDirectory(path_->text());
    OpenDialog1()->open();
}

void TVHEdit::OpenDialog1SelectionChange(const QString& file) {
    // Only a chosen file names a directory; a highlighted folder is just being passed through.
    const QFileInfo info(file);
    if (file.isEmpty() || info.isDir()) return;
    path_->setText(QDir::toNativeSeparators(info.absolutePath()));
}

void TVHEdit::OpenDialog1Close() {
    if (ShowMessage(this, QStringLiteral("Load Data"),
                    QStringLiteral("Would you like to load VH Data Now?"), Buttons::kYesNo,
                    Icon::kQuestion) == Answer::kYes)
        LoadClick();
}

void TVHEdit::LoadClick() {
    // A load replaces the files a pending change would be saved into: ask first.
    if (!SaveCheck() || (tableWindow_ && !tableWindow_->SaveCheck())) return;
    const std::string dataPath = path_->text().toStdString();
    if (!db::HasStadiumFile(dataPath)) {
        // Not a data directory: let the user find its stadium.dat instead.
        OpenDialog1()->open();
        RefreshResultList();
        return;
    }
    UnReadOnlyClick();
    // A command interrupted by a crash is rolled back before anything is read. Where it cannot be
    // (a read-only directory) nothing is changed and the files are opened for reading only.
    const db::Recovery recovery = Recover(dataPath, QStringLiteral("Load Data"));
    const bool journalLeft = recovery.JournalLeft();
    // Open the whole new set first; only a complete set replaces the one in use, so a load that
    // fails part-way leaves the previous load exactly as it was.
    db::FileSet fresh;
    bool readOnly = true;
    if (journalLeft)
        fresh.Open(dataPath, db::Access::kReadOnly);
    else
        readOnly = fresh.OpenWritableOrReadOnly(dataPath) == db::Access::kReadOnly;
    s_.files.CloseAll();
    s_.files = std::move(fresh);
    // Files that cannot be made writable (another user's, a read-only medium) are still opened,
    // for reading: searching, browsing and Backup work, Save and Restore do not.
    readOnly_ = readOnly;
    s_.scratch.SetReadOnly(readOnly);
    if (!readOnly) db::RemoveLeftScratch(dataPath);
    restoreBackupMenu_->setEnabled(!readOnly);
    applyPatchMenu_->setEnabled(!readOnly);
    if (readOnly) SetRecordChanged(false);
    // Pages showing records of another directory are emptied, so that nothing of one data set
    // can be saved into the other.
    if (s_.dataLoaded && dataPath != s_.dataPath) {
        ClearPages();
        if (checkWindow_) checkWindow_->close();  // its findings are of the other directory
        if (changesWindow_) changesWindow_->close();
    } else if (recovery.outcome == db::Recovery::Outcome::kRolledBack) {
        ClearPages();  // the records they show may be the ones just put back
    }
    // What Undo holds belongs to the directory it was written in.
    if (dataPath != s_.dataPath) s_.history.Clear();
    s_.dataPath = dataPath;
    s_.dataLoaded = true;
    checkDataMenu_->setEnabled(true);
    exportTableMenu_->setEnabled(true);
    importTableMenu_->setEnabled(!readOnly);
    changesMenu_->setEnabled(true);
    tableViewMenu_->setEnabled(true);
    lists_.NewLoad();
    DataChanged();
    if (readOnly && !journalLeft)
        ShowMessage(this, QStringLiteral("Load Data"),
                    QStringLiteral("The files of this data directory cannot be written (they "
                                   "belong to another user, or the medium is read-only). They are "
                                   "open for reading only: you can search, browse and back them "
                                   "up, but not save changes or restore a backup."),
                    Buttons::kOk, Icon::kInformation);
    GetNameArrays();
    RefreshResultList();
}

void TVHEdit::UnReadOnlyClick() {
    db::UnReadOnly(path_->text().toStdString());
}

void TVHEdit::GetNameArrays() {
    db::LoadNameTable(s_.files.firstNames, s_.names.first);
    db::LoadNameTable(s_.files.secondNames, s_.names.second);
    db::LoadNameTable(s_.files.commonNames, s_.names.common);
    std::vector<db::LeftOut> leftOut;
    if (s_.names.first.leftOut) leftOut.push_back({"first_names.dat", s_.names.first.leftOut});
    if (s_.names.second.leftOut) leftOut.push_back({"second_names.dat", s_.names.second.leftOut});
    if (s_.names.common.leftOut) leftOut.push_back({"common_names.dat", s_.names.common.leftOut});
    if (!leftOut.empty()) ShowLeftOutNotice(QString::fromStdString(db::LeftOutMessage(leftOut)));
}

}  // namespace vh::ui
