#include "club_page.h"

#include <QTabWidget>

#include "page_kit.h"

namespace vh::ui {

using db::ClubRecord;

TClubPage::TClubPage(PageContext& context, QWidget* parent)
    : TPage(context), panel_(MakeTabPanel(parent, "ClubPanel")) {
    AddPendingNote(panel_, "club");
}

QWidget* TClubPage::Panel() const {
    return panel_;
}

void TClubPage::Clear() {
    number_ = -1;
    SetHasRecord(false);
}

void TClubPage::ClubSearch(const QString& text) {
    const std::optional<std::int64_t> found = FindByName(
        Files().club, ClubRecord::kSize, text, {ClubRecord::LongName, ClubRecord::ShortName});
    if (!found) {
        NoMatches();
        return;
    }
    ClubRec = ReadRecord<ClubRecord>(Files().club, *found);
    number_ = *found;
    ShowClubStats();
}

void TClubPage::ShowClubStats() {
    SetHasRecord(true);
}

void TClubPage::ClubSave() {}

}  // namespace vh::ui
