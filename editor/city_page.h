// The City mode: one city record on a plain panel.
#pragma once

#include "bindings.h"
#include "database/data_def.h"
#include "page.h"

class QFrame;
class QLineEdit;

namespace vh::ui {

class TCityPage : public TPage {
  public:
    TCityPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { CitySearch(text); }
    void Save() override { CitySave(); }
    void Clear() override;
    std::optional<QString> SearchTextFor(std::int64_t record) override;

    void CitySearch(const QString& text);
    void Showcitystats();
    void CitySave();

    db::CityRecord CityRec;  // the city on the page

  private:
    QFrame* panel_;
    QLineEdit* cityId_;
    Binding binding_;
};

}  // namespace vh::ui
