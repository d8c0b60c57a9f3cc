// The Nation mode: one nation record on the tabs of NationPanel.
#pragma once

#include "database/data_def.h"
#include "page.h"

class QTabWidget;

namespace vh::ui {

class TNationPage : public TPage {
  public:
    TNationPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { NationSearch(text); }
    void Save() override { NationSave(); }
    void Clear() override;

    // By long or short name.
    void NationSearch(const QString& text);
    void ShowNationStats();
    void NationSave();

    db::NationRecord NationRec;  // the nation on the page

  private:
    QTabWidget* panel_;
    std::int64_t number_ = -1;
};

}  // namespace vh::ui
