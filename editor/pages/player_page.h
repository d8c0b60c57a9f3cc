// The Players mode: one person with his player record, on the five tabs of PlayerPanel, and the
// transfer that moves him between clubs.
#pragma once

#include "editor/pages/person_page.h"

class QLineEdit;
class QPushButton;
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
    // "Transfer Player" (to the club in PlayerNewClub; none releases him) and "Make Free Agent".
    // Writes the clubs and the person at once, without "Save Data".
    void TransferPlayerClick(QPushButton* sender);

    db::PlayerRecord PlayerRec;  // the player's attributes, from the player block
    db::BlockPlace PlayerPlace;  // where PlayerRec was read

  private:
    QWidget* BuildInfoTab();
    QWidget* BuildAttributesTab1();
    QWidget* BuildAttributesTab2();
    QWidget* BuildContractTab();
    QWidget* BuildFavouritesTab();

    QTabWidget* panel_;
    QLineEdit* playerId_ = nullptr;
    QLineEdit* currentClub_ = nullptr;
    QLineEdit* newClub_ = nullptr;
    QPushButton* transferPlayer_ = nullptr;
    QPushButton* freeTransfer_ = nullptr;
};

}  // namespace vh::ui
