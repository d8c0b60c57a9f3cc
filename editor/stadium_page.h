// The Stadiums mode: one stadium record on a plain panel.
#pragma once

#include "bindings.h"
#include "database/data_def.h"
#include "page.h"

class QFrame;
class QLineEdit;

namespace vh::ui {

class TStadiumPage : public TPage {
  public:
    TStadiumPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio radio) override { StadiumSearch(text, radio); }
    void Save() override { StadiumSave(); }
    void Clear() override;
    std::optional<QString> SearchTextFor(std::int64_t record) override;

    // By the stadium's name; with "Club" the stadium of the club of that name, with "Nation" the
    // national stadium of the nation of that name.
    void StadiumSearch(const QString& text, Radio radio);
    void ShowStadiumStats();
    void StadiumSave();

    db::StadiumRecord StadiumRec;  // the stadium on the page

  private:
    QFrame* panel_;
    QLineEdit* stadId_;
    Binding binding_;
};

}  // namespace vh::ui
