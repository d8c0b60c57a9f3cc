// View > "Table View": the grid of every record of a kind beside the main window, and what the
// shell tells it: that files were written, and which record to show on its page.
#include <QAction>
#include <set>

#include "editor/shell/stad.h"
#include "editor/windows/table_view.h"

namespace vh::ui {

TTableViewWindow* TVHEdit::TableViewWindow() const {
    return tableWindow_;
}

void TVHEdit::DataChanged() {
    UpdateUndoMenus();
    if (tableWindow_) tableWindow_->DataChanged();
    RefreshWhatPointsHere();
}

void TVHEdit::TableWritten(const std::vector<db::CellChange>& changes) {
    // A page keeping a record the table changed would write it back as it was. The lists show
    // names: they are filled again only when a name may have changed.
    std::set<std::pair<db::TableId, std::int64_t>> written;
    bool names = false;
    for (const db::CellChange& c : changes) {
        written.emplace(c.table, c.record);
        const db::Field* f = db::TableOf(c.table).Find(c.column);
        names = names || (f && (f->kind == db::Kind::kText || db::IsPersonName(f->target)));
    }
    ShowRecordsAgain(
        [&](Mode m, std::int64_t record) {
            return written.count({TableOfMode(m), record}) > 0;
        },
        names);
}

void TVHEdit::TableViewMenuClick() {
    if (!s_.dataLoaded) return;
    if (!tableWindow_) {
        TableContext context{
            s_,
            [this] { return readOnly_; },
            [this] { return SaveCheck(); },
            [this](const std::vector<db::CellChange>& changes) { TableWritten(changes); },
            [this](db::TableId table, std::int64_t record) {
                if (const auto m = ModeOfTable(table); m && ShowRecord(*m, record)) {
                    raise();
                    activateWindow();
                }
            },
        };
        tableWindow_ = new TTableViewWindow(this, std::move(context));
        PlaceBeside(tableWindow_, QPoint(8, 0));
    }
    const db::TableId table = TableOfMode(mode_);
    const bool wasOpen = tableWindow_->isVisible();
    tableWindow_->show();
    tableWindow_->raise();
    tableWindow_->activateWindow();
    // A window already open keeps its table when the user cancels the switch.
    if (!tableWindow_->ShowTable(table) && !wasOpen) tableWindow_->close();
}

}  // namespace vh::ui
