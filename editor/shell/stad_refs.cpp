// Edit > "What Points Here...": the records that point at the record on the page, listed in a
// window of their own, and opening them. The list is read from the files at every change of them.
#include <QAction>

#include "database/tables/refs.h"
#include "dialogs/qtext.h"
#include "editor/shell/stad.h"
#include "editor/windows/refs_window.h"

namespace vh::ui {

TWhatPointsHereWindow* TVHEdit::WhatPointsHereWindow() const {
    return refsWindow_;
}

void TVHEdit::UpdateWhatPointsHereMenu() {
    if (whatPointsHereMenu_)
        whatPointsHereMenu_->setEnabled(s_.dataLoaded && PageOf(mode_).HasRecord());
}

void TVHEdit::WhatPointsHereMenuClick() {
    if (!s_.dataLoaded || !PageOf(mode_).HasRecord()) return;
    if (!refsWindow_) {
        refsWindow_ = new TWhatPointsHereWindow(this, [this](db::TableId t, std::int64_t r) {
            if (const auto m = ModeOfTable(t);
                m && ShowRecord(*m, r, QStringLiteral("What Points Here"))) {
                raise();
                activateWindow();
            }
        });
        PlaceBeside(refsWindow_, QPoint(16, 24));
    }
    FillWhatPointsHere(TableOfMode(mode_), PageOf(mode_).RecordNumber());
    refsWindow_->show();
    refsWindow_->raise();
}

void TVHEdit::FillWhatPointsHere(db::TableId table, std::int64_t record) {
    db::WhatPointsHere refs(s_.dataPath);
    const QString path = QString::fromStdString(s_.dataPath);
    if (record < 0 || record >= refs.Count(table)) {
        refsWindow_->SetGone(table, record, path);
        return;
    }
    const QString label = FromUtf8(refs.Label(table, record));
    refsWindow_->SetReferrers(table, record, label, refs.Find(table, record), path);
}

void TVHEdit::RefreshWhatPointsHere() {
    if (!refsWindow_ || !refsWindow_->isVisible()) return;
    // Another directory was loaded: its records are not the ones listed.
    if (!s_.dataLoaded || refsWindow_->DataPath() != QString::fromStdString(s_.dataPath)) {
        refsWindow_->close();
        return;
    }
    // After a commit that succeeded: a failure to read the files again is not the commit's, and
    // the window is not left showing what they held before.
    try {
        FillWhatPointsHere(refsWindow_->Table(), refsWindow_->Record());
    } catch (...) {
        refsWindow_->close();
    }
}

}  // namespace vh::ui
