// The City mode: one city record on a plain panel.
#pragma once

#include "database/records/data_def.h"
#include "editor/pages/record_page.h"

namespace vh::ui {

class TCityPage : public TRecordPage<db::CityRecord> {
  public:
    TCityPage(PageContext& context, QWidget* parent);

    void CitySearch(const QString& text) { Search(text, Radio::kCity); }
    void Showcitystats() { ShowRecord(); }
    void CitySave() { Save(); }

    db::CityRecord& CityRec = record_;  // the city on the page
};

}  // namespace vh::ui
