// The Staff mode: one person with his staff record, on the five tabs of NonPLayerPanel, and the
// moves of the person between clubs and national sides.
#pragma once

#include "editor/pages/person_page.h"

class QLineEdit;
class QObject;
class QPushButton;
class QTabWidget;

namespace vh::ui {
class PageGrid;
}

namespace vh::ui {

class TStaffPage : public TPersonPage {
  public:
    TStaffPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { NonPlayerSearch(text); }
    void Save() override { NonPlayerSave(); }
    void Clear() override;

    // Reads the person a list label names and his staff record, then shows both. A person whose
    // NonPlayerIndex lies outside the non-player block is refused before anything changes.
    void NonPlayerSearch(const QString& text);
    void ShowNonPlayerStats();
    // Converts and looks up every field first; then writes StaffRec and NonPlayerRec.
    void NonPlayerSave();

    // "Transfer Staff" (to NonPlayerNewClub; empty releases) and "Release Staff From Club": the
    // appointment is checked before anything is released, and a refused one writes nothing.
    void NonPlayerClubTransferClick(QObject* sender);
    // "Transfer Staff" (to NonPlayerNewNation; empty releases) and "Release Staff From Nation".
    void NonPlayerNationTransferClick(QObject* sender);

    db::NonPlayerRecord NonPlayerRec;  // the staff member's attributes, from the non-player block
    db::BlockPlace NonPlayerPlace;     // where NonPlayerRec was read

  private:
    void BuildStaffInfo();
    void BuildAttributes1();
    void BuildAttributes2();
    void BuildContract();
    void BuildFavourites();
    QWidget* AddTab(const char* name, const char* caption);
    void MakeTab(PageGrid& g, const char* tab, const char* before, int width);
    // Where a move goes: none for an empty field, else the record picked (or found by name).
    bool CanMove() const;

    QTabWidget* panel_;
    QLineEdit* id_ = nullptr;
    QLineEdit* currentNation_ = nullptr;
    QLineEdit* currentClub_ = nullptr;
    QLineEdit* newNation_ = nullptr;
    QLineEdit* newClub_ = nullptr;
    QPushButton* nationTransfer_ = nullptr;
    QPushButton* nationRelease_ = nullptr;
    QPushButton* clubTransfer_ = nullptr;
    QPushButton* clubRelease_ = nullptr;
};

}  // namespace vh::ui
