#include "nation_page.h"

#include <QTabWidget>

#include "page_kit.h"

namespace vh::ui {

using db::NationRecord;

TNationPage::TNationPage(PageContext& context, QWidget* parent)
    : TPage(context), panel_(MakeTabPanel(parent, "NationPanel")) {
    AddPendingNote(panel_, "nation");
}

QWidget* TNationPage::Panel() const {
    return panel_;
}

void TNationPage::Clear() {
    number_ = -1;
    SetHasRecord(false);
}

void TNationPage::NationSearch(const QString& text) {
    const std::optional<std::int64_t> found =
        FindByName(Files().nation, NationRecord::kSize, text,
                   {NationRecord::LongName, NationRecord::ShortName});
    if (!found) {
        NoMatches();
        return;
    }
    NationRec = ReadRecord<NationRecord>(Files().nation, *found);
    number_ = *found;
    ShowNationStats();
}

void TNationPage::ShowNationStats() {
    SetHasRecord(true);
}

void TNationPage::NationSave() {}

}  // namespace vh::ui
