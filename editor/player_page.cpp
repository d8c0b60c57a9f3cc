#include "player_page.h"

#include <QTabWidget>

#include "page_kit.h"

namespace vh::ui {

TPlayerPage::TPlayerPage(PageContext& context, QWidget* parent)
    : TPersonPage(context), panel_(MakeTabPanel(parent, "PlayerPanel")) {
    AddPendingNote(panel_, "player");
}

QWidget* TPlayerPage::Panel() const {
    return panel_;
}

void TPlayerPage::Clear() {
    SetHasRecord(false);
}

// Both records of a person are read before either replaces the current one, so a person without
// a player record never leaves the page showing one person while the buffers hold another.
void TPlayerPage::PlayerSearch(const QString& text) {
    const std::optional<db::StaffRecord> person = ReadPerson(text);
    if (!person) return;
    db::BlockPlace place;
    const db::PlayerRecord player = db::GetPlayerData(
        Session().dataPath, person->Get(db::StaffRecord::PlayerIndex), place, Session().scratch);
    StaffRec = *person;
    PlayerRec = player;
    PlayerPlace = place;
    ShowPlayerStats();
}

void TPlayerPage::ShowPlayerStats() {
    SetHasRecord(true);
}

void TPlayerPage::PlayerSave() {}

}  // namespace vh::ui
