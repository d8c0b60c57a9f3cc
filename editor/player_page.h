// The Players mode: one person with his player record, on the tabs of PlayerPanel.
#pragma once

#include "person_page.h"

class QTabWidget;

namespace vh::ui {

class TPlayerPage : public TPersonPage {
  public:
    TPlayerPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { PlayerSearch(text); }
    void Save() override { PlayerSave(); }
    void Clear() override;

    void PlayerSearch(const QString& text);
    void ShowPlayerStats();
    void PlayerSave();

    db::PlayerRecord PlayerRec;  // the player's attributes, from the player block
    db::BlockPlace PlayerPlace;  // where PlayerRec was read

  private:
    QTabWidget* panel_;
};

}  // namespace vh::ui
