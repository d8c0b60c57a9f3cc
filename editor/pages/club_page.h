// The Clubs mode: one club record on the tabs of ClubPanel.
#pragma once

#include "database/records/data_def.h"
#include "editor/pages/record_page.h"

class QTabWidget;

namespace vh::ui {

class TClubPage : public TRecordPage<db::ClubRecord> {
  public:
    TClubPage(PageContext& context, QWidget* parent);

    // By long or short name.
    void ClubSearch(const QString& text) { Search(text, Radio::kClub); }
    void ShowClubStats() { ShowRecord(); }
    // The staff posts, the squad, the league position and the PLC byte are written back as the
    // file holds them: the posts and the squad change only by appointments and transfers.
    void ClubSave() { Save(); }

    db::ClubRecord& ClubRec = record_;  // the club on the page

  private:
    // A tab whose fields are disabled while no club is on the page; it scrolls rather than clip.
    QWidget* AddTab(const char* title);

    QTabWidget* tabs_;
};

}  // namespace vh::ui
