// The Nation mode: one nation record on the tabs of NationPanel.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "bindings.h"
#include "database/data_def.h"
#include "page.h"

class QLineEdit;
class QTabWidget;

namespace vh::ui {

class TNationPage : public TPage {
  public:
    TNationPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { NationSearch(text); }
    void Save() override { NationSave(); }
    void Clear() override;
    std::optional<QString> SearchTextFor(std::int64_t record) override;

    // By long or short name.
    void NationSearch(const QString& text);
    void ShowNationStats();
    void NationSave();
    // Sets up LanguageNames, the 60 languages a nation's language fields number.
    void InitialiseNationArrtibuteArrays();

    db::NationRecord NationRec;                         // the nation on the page
    std::span<const std::string_view> LanguageNames{};  // entry n - 1 is language n

  private:
    QTabWidget* panel_;
    QLineEdit* nationId_;
    Binding binding_;
};

}  // namespace vh::ui
