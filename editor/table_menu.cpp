// View > "Table View": the grid of every record of a kind beside the main window, and what the
// shell tells it: that files were written, and which record to show on its page.
#include <QAction>

#include "stad.h"
#include "table_view.h"

namespace vh::ui {

namespace {

constexpr std::pair<Mode, db::TableId> kModeTables[] = {
    {Mode::kPlayers, db::TableId::kPlayers}, {Mode::kStaff, db::TableId::kStaff},
    {Mode::kClubs, db::TableId::kClubs},     {Mode::kStadiums, db::TableId::kStadiums},
    {Mode::kNation, db::TableId::kNations},  {Mode::kCity, db::TableId::kCities},
};

}  // namespace

TTableViewWindow* TVHEdit::TableViewWindow() const {
    return tableWindow_;
}

void TVHEdit::DataChanged() {
    UpdateUndoMenus();
    if (tableWindow_) tableWindow_->DataChanged();
}

void TVHEdit::TableViewMenuClick() {
    if (!s_.dataLoaded) return;
    if (!tableWindow_) {
        TableContext context{
            s_,
            [this] { return readOnly_; },
            [this] { return SaveCheck(); },
            // The pages would otherwise write the records they show back as they were.
            [this] { ShowRecordsAgain(); },
            [this](db::TableId table, std::int64_t record) {
                for (const auto& [mode, t] : kModeTables)
                    if (t == table && ShowRecord(mode, record)) {
                        raise();
                        activateWindow();
                    }
            },
        };
        tableWindow_ = new TTableViewWindow(this, std::move(context));
        tableWindow_->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    db::TableId table = db::TableId::kPlayers;
    for (const auto& [mode, t] : kModeTables)
        if (mode == mode_) table = t;
    const bool wasOpen = tableWindow_->isVisible();
    tableWindow_->show();
    tableWindow_->raise();
    tableWindow_->activateWindow();
    // A window already open keeps its table when the user cancels the switch.
    if (!tableWindow_->ShowTable(table) && !wasOpen) tableWindow_->close();
}

}  // namespace vh::ui
