// The Stadiums mode: one stadium record on a plain panel.
#pragma once

#include "database/records/data_def.h"
#include "editor/pages/record_page.h"

namespace vh::ui {

class TStadiumPage : public TRecordPage<db::StadiumRecord> {
  public:
    TStadiumPage(PageContext& context, QWidget* parent);

    // By the stadium's name; with "Club" the stadium of the club of that name, with "Nation" the
    // national stadium of the nation of that name.
    void StadiumSearch(const QString& text, Radio radio) { Search(text, radio); }
    void ShowStadiumStats() { ShowRecord(); }
    void StadiumSave() { Save(); }

    db::StadiumRecord& StadiumRec = record_;  // the stadium on the page

  protected:
    std::optional<std::int64_t> Find(const QString& text, Radio radio) override;
};

}  // namespace vh::ui
