// The Nation mode: one nation record on the tabs of NationPanel.
#pragma once

#include "database/records/data_def.h"
#include "editor/pages/record_page.h"

namespace vh::ui {

class TNationPage : public TRecordPage<db::NationRecord> {
  public:
    TNationPage(PageContext& context, QWidget* parent);

    // By long or short name.
    void NationSearch(const QString& text) { Search(text, Radio::kNation); }
    void ShowNationStats() { ShowRecord(); }
    void NationSave() { Save(); }

    db::NationRecord& NationRec = record_;  // the nation on the page
};

}  // namespace vh::ui
