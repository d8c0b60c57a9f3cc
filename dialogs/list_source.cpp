#include "list_source.h"

#include "database/languages.h"
#include "database/lists.h"
#include "qtext.h"

namespace vh::ui {

const db::NamesPtr& ListSource::Languages() {
    static const db::NamesPtr kTable = [] {
        auto t = std::make_shared<db::Names>();
        for (std::string_view n : db::kLanguageNames) t->emplace_back(n);
        return db::NamesPtr(t);
    }();
    return kTable;
}

void ListSource::Show(const db::NamesPtr& table, NameListModel& m, bool withEmpty) {
    std::vector<const std::string*> lines;
    lines.reserve(table->size() + 1);
    if (withEmpty) lines.push_back(NameListModel::EmptyLine());
    for (const std::string& e : *table) lines.push_back(&e);
    m.SetLines(std::move(lines), {table});
}

void ListSource::Notice(const char* file, const db::NameTable& t) {
    if (t.leftOut == 0 || !notify || noticed_.count(file)) return;
    noticed_.insert(file);
    notify(QString::fromStdString(db::LeftOutMessage({{file, t.leftOut}})));
}

void ListSource::FromFile(void (*load)(db::FileSet&, db::ListTables&),
                          db::NameTable db::ListTables::*table, const char* file, NameListModel& m,
                          bool withEmpty) {
    if (!s_.dataLoaded) return;
    load(s_.files, s_.lists);
    Show((s_.lists.*table).entries, m, withEmpty);
    Notice(file, s_.lists.*table);
}

void ListSource::StadiumLoad(NameListModel& m, bool withEmpty) {
    FromFile(db::StadiumLoad, &db::ListTables::stadium, "stadium.dat", m, withEmpty);
}

void ListSource::ClubLoad(NameListModel& m, bool withEmpty) {
    FromFile(db::ClubLoad, &db::ListTables::club, "club.dat", m, withEmpty);
}

void ListSource::NationLoad(NameListModel& m, bool withEmpty) {
    FromFile(db::NationLoad, &db::ListTables::nation, "nation.dat", m, withEmpty);
}

void ListSource::ClubCompLoad(NameListModel& m, bool withEmpty) {
    FromFile(db::ClubCompLoad, &db::ListTables::competition, "club_comp.dat", m, withEmpty);
}

void ListSource::CityLoad(NameListModel& m, bool withEmpty) {
    FromFile(db::CityLoad, &db::ListTables::city, "city.dat", m, withEmpty);
}

void ListSource::ContinentLoad(NameListModel& m, bool withEmpty) {
    FromFile(db::ContinentLoad, &db::ListTables::continent, "continent.dat", m, withEmpty);
}

void ListSource::LanguagesLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    Show(Languages(), m, withEmpty);
}

void ListSource::FirstNameLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    Show(s_.names.first.entries, m, withEmpty);
}

void ListSource::SecondNameLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    Show(s_.names.second.entries, m, withEmpty);
}

void ListSource::CommonNameLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    Show(s_.names.common.entries, m, withEmpty);
}

void ListSource::StaffLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    db::StaffLoad(s_.files, s_.dataPath, s_.names, s_.lists);
    Show(checkedRadio() == Radio::kPlayer ? s_.lists.player.entries : s_.lists.staff.entries, m,
         withEmpty);
    Notice("staff.dat", s_.lists.player);
}

void ListSource::Fill(PickList list, NameListModel& m, bool withEmpty) {
    switch (list) {
        case PickList::kNone:
            break;
        case PickList::kNations:
            NationLoad(m, withEmpty);
            break;
        case PickList::kCompetitions:
            ClubCompLoad(m, withEmpty);
            break;
        case PickList::kStadiums:
            StadiumLoad(m, withEmpty);
            break;
        case PickList::kPeople:
            StaffLoad(m, withEmpty);
            break;
        case PickList::kClubs:
            ClubLoad(m, withEmpty);
            break;
        case PickList::kCities:
            CityLoad(m, withEmpty);
            break;
        case PickList::kContinents:
            ContinentLoad(m, withEmpty);
            break;
        case PickList::kLanguages:
            LanguagesLoad(m, withEmpty);
            break;
        case PickList::kFirstNames:
            FirstNameLoad(m, withEmpty);
            break;
        case PickList::kSecondNames:
            SecondNameLoad(m, withEmpty);
            break;
        case PickList::kCommonNames:
            CommonNameLoad(m, withEmpty);
            break;
    }
}

void ListSource::EditChange(const QString& text, NameListModel& m, int code) {
    if (text.isEmpty()) return;
    std::string typed;
    std::vector<const std::string*> lines;
    std::vector<db::NamesPtr> keep;
    if (TryToCp1252(text, typed)) {
        const std::string capitalised = db::CapitaliseForFilter(typed);
        auto search = [&](const db::NamesPtr& table) {
            db::AppendMatching(*table, capitalised, typed, lines);
            keep.push_back(table);
        };
        const db::ListTables& t = s_.lists;
        const ChangeCodeInfo* info = ChangeCodeOf(code);
        if (info) {
            switch (info->filter) {
                case FilterTable::kStadium:
                    search(t.stadium.entries);
                    break;
                case FilterTable::kClub:
                    search(t.club.entries);
                    break;
                case FilterTable::kNation:
                    search(t.nation.entries);
                    break;
                case FilterTable::kStaffThenPlayer:
                    search(t.staff.entries);
                    search(t.player.entries);
                    break;
                case FilterTable::kCompetition:
                    search(t.competition.entries);
                    break;
                case FilterTable::kCity:
                    search(t.city.entries);
                    break;
                case FilterTable::kFirstName:
                    search(s_.names.first.entries);
                    break;
                case FilterTable::kSecondName:
                    search(s_.names.second.entries);
                    break;
                case FilterTable::kCommonName:
                    search(s_.names.common.entries);
                    break;
                case FilterTable::kLanguage:
                    search(Languages());
                    break;
                case FilterTable::kContinent:
                    search(t.continent.entries);
                    break;
            }
        } else if (code == 0) {
            switch (checkedRadio()) {
                case Radio::kStadiumName:
                    search(t.stadium.entries);
                    break;
                case Radio::kClub:
                    search(t.club.entries);
                    break;
                case Radio::kNation:
                    search(t.nation.entries);
                    break;
                case Radio::kPlayer:
                    search(t.player.entries);
                    break;
                case Radio::kStaff:
                    search(t.staff.entries);
                    break;
                case Radio::kCity:
                    search(t.city.entries);
                    break;
            }
        }
    }
    m.SetLines(std::move(lines), std::move(keep));
}

}  // namespace vh::ui
