// The Staff mode: one person with his staff record, on the tabs of NonPLayerPanel.
#pragma once

#include "person_page.h"

class QTabWidget;

namespace vh::ui {

class TStaffPage : public TPersonPage {
  public:
    TStaffPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { NonPlayerSearch(text); }
    void Save() override { NonPlayerSave(); }
    void Clear() override;

    void NonPlayerSearch(const QString& text);
    void ShowNonPlayerStats();
    void NonPlayerSave();

    db::NonPlayerRecord NonPlayerRec;  // the staff member's attributes, from the non-player block
    db::BlockPlace NonPlayerPlace;     // where NonPlayerRec was read

  private:
    QTabWidget* panel_;
};

}  // namespace vh::ui
