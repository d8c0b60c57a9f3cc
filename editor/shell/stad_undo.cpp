// Edit > "Undo" and "Redo": the session's history of committed write sets (database/history.h),
// and the recovery of a journal an interrupted command left behind.
#include <QAction>
#include <QLineEdit>
#include <QRadioButton>

#include "database/records/errors.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "editor/shell/stad.h"

namespace vh::ui {

void TVHEdit::UndoMenuClick() {
    UndoOrRedo(true);
}

void TVHEdit::RedoMenuClick() {
    UndoOrRedo(false);
}

void TVHEdit::UpdateUndoMenus() {
    const db::WriteHistory& h = s_.history;
    const bool writable = s_.dataLoaded && !readOnly_;
    undoMenu_->setEnabled(writable && h.CanUndo());
    redoMenu_->setEnabled(writable && h.CanRedo());
    undoMenu_->setText(h.CanUndo() ? QStringLiteral("Undo ") + FromCp1252(h.UndoLabel())
                                   : QStringLiteral("Undo"));
    redoMenu_->setText(h.CanRedo() ? QStringLiteral("Redo ") + FromCp1252(h.RedoLabel())
                                   : QStringLiteral("Redo"));
}

void TVHEdit::UndoOrRedo(bool undo) {
    db::WriteHistory& h = s_.history;
    auto can = [&] { return s_.dataLoaded && !readOnly_ && (undo ? h.CanUndo() : h.CanRedo()); };
    if (!can()) return;
    const std::string label = undo ? h.UndoLabel() : h.RedoLabel();
    // A pending change is asked about first. Saving it is a command of its own, which Undo would
    // take back next: the step the user chose is no longer the one on offer, so none is taken.
    if (!SaveCheck() || !can() || label != (undo ? h.UndoLabel() : h.RedoLabel())) return;
    try {
        if (undo)
            h.Undo(s_.dataPath);
        else
            h.Redo(s_.dataPath);
    } catch (const db::EDataError& e) {
        // The refusals of the history name its labels, in the files' code page; the write path's
        // own (another program writing, a stale record) are UTF-8, as they name the folder.
        const bool utf8 =
            dynamic_cast<const db::EBusyError*>(&e) || dynamic_cast<const db::EStaleError*>(&e);
        ShowMessage(this, undo ? QStringLiteral("Undo") : QStringLiteral("Redo"),
                    utf8 ? QString::fromUtf8(e.what()) : FromCp1252(e.what()), Buttons::kOk,
                    Icon::kWarning);
        return;
    }
    ShowRecordsAgain();
}

void TVHEdit::ShowRecordsAgain() {
    ShowRecordsAgain([](Mode, std::int64_t) { return true; }, true);
}

void TVHEdit::ShowRecordsAgain(const std::function<bool(Mode, std::int64_t)>& written, bool lists) {
    // Every page, shown or not: a page keeping the record as it was would write it back whole
    // with its next save or move.
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        TPage& page = *pages_[i];
        if (!page.HasRecord() || !written(static_cast<Mode>(i), page.RecordNumber())) continue;
        const std::optional<QString> text = page.SearchTextFor(page.RecordNumber());
        if (!text) {
            page.Clear();  // no longer to be found by its name: nothing stale stays on it
            continue;
        }
        QRadioButton* own = modes_[i].radios.front();
        Radio kind = Radio::kPlayer;
        for (const RadioPart& r : radios_)
            if (r.button == own) kind = r.kind;
        page.Search(*text, kind);
    }
    SetRecordChanged(false);
    if (lists) {
        // Names may have changed back: the list is filled again, filtered as it was.
        RefreshResultList();
        if (!searchEdit_->text().isEmpty()) SearchEditChange();
    }
    RefreshChanges();
}

db::Recovery TVHEdit::Recover(const std::string& dataPath, const QString& caption) {
    const db::Recovery r = db::RecoverJournal(dataPath);
    const std::string notice = r.Notice();
    if (!notice.empty())
        ShowMessage(this, caption, FromCp1252(notice), Buttons::kOk,
                    r.JournalLeft() ? Icon::kWarning : Icon::kInformation);
    return r;
}

}  // namespace vh::ui
