#include "staff_page.h"

#include <QTabWidget>

#include "page_kit.h"

namespace vh::ui {

TStaffPage::TStaffPage(PageContext& context, QWidget* parent)
    : TPersonPage(context), panel_(MakeTabPanel(parent, "NonPLayerPanel")) {
    AddPendingNote(panel_, "staff");
}

QWidget* TStaffPage::Panel() const {
    return panel_;
}

void TStaffPage::Clear() {
    SetHasRecord(false);
}

// Both records of a person are read before either replaces the current one, so a person without
// a staff record never leaves the page showing one person while the buffers hold another.
void TStaffPage::NonPlayerSearch(const QString& text) {
    const std::optional<db::StaffRecord> person = ReadPerson(text);
    if (!person) return;
    db::BlockPlace place;
    const db::NonPlayerRecord staff = db::GetNonPlayerData(
        Session().dataPath, person->Get(db::StaffRecord::NonPlayerIndex), place, Session().scratch);
    StaffRec = *person;
    NonPlayerRec = staff;
    NonPlayerPlace = place;
    ShowNonPlayerStats();
}

void TStaffPage::ShowNonPlayerStats() {
    SetHasRecord(true);
}

void TStaffPage::NonPlayerSave() {}

}  // namespace vh::ui
