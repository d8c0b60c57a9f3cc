// The list fillers and the filter shared by the main window's result list and the picker. The
// fillers read their file into a table and put its names into a list model; the filter narrows a
// list to the names that begin with the typed text, searching the table that the open picker's
// code names, or, with no picker open, the one of the main window's checked radio button.
#pragma once

#include <QString>
#include <functional>
#include <set>
#include <string>

#include "change_codes.h"
#include "database/model/session.h"
#include "name_list_model.h"

namespace vh::ui {

// The main window's radio buttons, which choose what its result list holds.
enum class Radio { kStadiumName, kClub, kNation, kCity, kPlayer, kStaff };

class ListSource {
  public:
    explicit ListSource(db::Session& session) : s_(session) {}

    // The code of the field the open picker serves; 0 when it is closed.
    int ChangeCode() const { return changeCode_; }
    void SetChangeCode(int code) { changeCode_ = code; }

    // Which radio button of the main window is checked (set by the main window).
    std::function<Radio()> checkedRadio = [] { return Radio::kPlayer; };
    // Says once per load which file had more records than its list can hold.
    std::function<void(const QString&)> notify;

    // Fillers. Before a load they leave the list as it is. The picker's lists start with
    // "<empty>" (withEmpty); the main window's result list never does.
    void StadiumLoad(NameListModel& m, bool withEmpty = false);
    void ClubLoad(NameListModel& m, bool withEmpty = false);
    void NationLoad(NameListModel& m, bool withEmpty = false);
    void ClubCompLoad(NameListModel& m, bool withEmpty = false);
    void CityLoad(NameListModel& m, bool withEmpty = false);
    void ContinentLoad(NameListModel& m, bool withEmpty = false);
    void LanguagesLoad(NameListModel& m, bool withEmpty = false);
    void FirstNameLoad(NameListModel& m, bool withEmpty = false);
    void SecondNameLoad(NameListModel& m, bool withEmpty = false);
    void CommonNameLoad(NameListModel& m, bool withEmpty = false);
    // People: the players' labels when the main window's "Player" button is checked, else the
    // staff labels.
    void StaffLoad(NameListModel& m, bool withEmpty = false);
    // The list a picker of that target offers.
    void Fill(db::Target target, NameListModel& m, bool withEmpty);

    // The filter: narrows the list to the entries of the table that `code` searches (a picker
    // code, or 0 for the main window's radio buttons). An empty text leaves the list as it is;
    // "<empty>" is never added.
    void EditChange(const QString& text, NameListModel& m, int code);

    // A new load: the notices may be given again.
    void NewLoad() { noticed_.clear(); }

    // The fixed table of language names.
    static const db::NamesPtr& Languages();

    // How the lines of a table name their records (defined with the fillers).
    struct TableIds;

  private:
    void Show(const db::NamesPtr& table, NameListModel& m, bool withEmpty, const TableIds& ids);
    void Notice(const char* file, const db::NameTable& t);
    // A filler of a table read from its file.
    void FromFile(void (*load)(db::FileSet&, db::ListTables&), db::NameTable db::ListTables::*table,
                  const char* file, NameListModel& m, bool withEmpty);

    db::Session& s_;
    int changeCode_ = 0;
    std::set<std::string> noticed_;
};

}  // namespace vh::ui
