// The Clubs mode: one club record on the tabs of ClubPanel.
#pragma once

#include "database/data_def.h"
#include "page.h"

class QTabWidget;

namespace vh::ui {

class TClubPage : public TPage {
  public:
    TClubPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { ClubSearch(text); }
    void Save() override { ClubSave(); }
    void Clear() override;

    // By long or short name.
    void ClubSearch(const QString& text);
    void ShowClubStats();
    void ClubSave();

    db::ClubRecord ClubRec;  // the club on the page

  private:
    QTabWidget* panel_;
    std::int64_t number_ = -1;
};

}  // namespace vh::ui
