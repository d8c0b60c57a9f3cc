// The Clubs mode: one club record on the tabs of ClubPanel.
#pragma once

#include "bindings.h"
#include "database/data_def.h"
#include "page.h"

class QLineEdit;
class QTabWidget;

namespace vh::ui {

class TClubPage : public TPage {
  public:
    TClubPage(PageContext& context, QWidget* parent);

    QWidget* Panel() const override;
    void Search(const QString& text, Radio) override { ClubSearch(text); }
    void Save() override { ClubSave(); }
    void Clear() override;
    std::optional<QString> SearchTextFor(std::int64_t record) override;

    // By long or short name.
    void ClubSearch(const QString& text);
    void ShowClubStats();
    // Stores what the user changed into the record the search found. The staff posts, the squad,
    // the league position and the PLC byte are written back as the file holds them.
    void ClubSave();

    db::ClubRecord ClubRec;  // the club on the page

  private:
    // A tab whose fields are disabled while no club is on the page; it scrolls rather than clip.
    QWidget* AddTab(const char* title);

    QTabWidget* panel_;
    QLineEdit* clubId_ = nullptr;
    Binding binding_;
};

}  // namespace vh::ui
