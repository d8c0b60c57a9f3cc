#include "list_source.h"

#include "database/model/lists.h"
#include "database/records/languages.h"
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

// How the lines of a table name their records.
struct ListSource::TableIds {
    NameListModel::Ids kind;
    std::int32_t first;  // the record of entry 0
    std::int32_t none;   // the record "<empty>" stands for
};

namespace {
constexpr ListSource::TableIds kRecordIds{NameListModel::Ids::kPlace, 0, -1};
constexpr ListSource::TableIds kLanguageIds{NameListModel::Ids::kPlace, 1, 0};
constexpr ListSource::TableIds kPeopleIds{NameListModel::Ids::kLabel, 0, -1};
}  // namespace

void ListSource::Show(const db::NamesPtr& table, NameListModel& m, bool withEmpty,
                      const TableIds& ids) {
    std::vector<const std::string*> lines;
    std::vector<std::int32_t> records;
    lines.reserve(table->size() + 1);
    if (withEmpty) lines.push_back(NameListModel::EmptyLine());
    for (const std::string& e : *table) lines.push_back(&e);
    // Only the picker's lists (the ones offering "<empty>") need to know the records behind
    // their lines: a pick stores the record picked, also among equal names.
    if (withEmpty && ids.kind == NameListModel::Ids::kPlace) {
        records.reserve(lines.size());
        records.push_back(ids.none);
        for (std::size_t i = 0; i < table->size(); ++i)
            records.push_back(ids.first + static_cast<std::int32_t>(i));
    }
    m.SetLines(std::move(lines), {table}, withEmpty ? ids.kind : NameListModel::Ids::kNone,
               std::move(records));
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
    Show((s_.lists.*table).entries, m, withEmpty, kRecordIds);
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
    Show(Languages(), m, withEmpty, kLanguageIds);
}

void ListSource::FirstNameLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    Show(s_.names.first.entries, m, withEmpty, kRecordIds);
}

void ListSource::SecondNameLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    Show(s_.names.second.entries, m, withEmpty, kRecordIds);
}

void ListSource::CommonNameLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    Show(s_.names.common.entries, m, withEmpty, kRecordIds);
}

void ListSource::StaffLoad(NameListModel& m, bool withEmpty) {
    if (!s_.dataLoaded) return;
    db::StaffLoad(s_.files, s_.dataPath, s_.names, s_.lists);
    Show(checkedRadio() == Radio::kPlayer ? s_.lists.player.entries : s_.lists.staff.entries, m,
         withEmpty, kPeopleIds);
    Notice("staff.dat", s_.lists.player);
}

void ListSource::Fill(db::Target target, NameListModel& m, bool withEmpty) {
    switch (target) {
        case db::Target::kNone:
            break;
        case db::Target::kNation:
            NationLoad(m, withEmpty);
            break;
        case db::Target::kCompetition:
            ClubCompLoad(m, withEmpty);
            break;
        case db::Target::kStadium:
            StadiumLoad(m, withEmpty);
            break;
        case db::Target::kPerson:
            StaffLoad(m, withEmpty);
            break;
        case db::Target::kClub:
            ClubLoad(m, withEmpty);
            break;
        case db::Target::kCity:
            CityLoad(m, withEmpty);
            break;
        case db::Target::kContinent:
            ContinentLoad(m, withEmpty);
            break;
        case db::Target::kLanguage:
            LanguagesLoad(m, withEmpty);
            break;
        case db::Target::kFirstName:
            FirstNameLoad(m, withEmpty);
            break;
        case db::Target::kSecondName:
            SecondNameLoad(m, withEmpty);
            break;
        case db::Target::kCommonName:
            CommonNameLoad(m, withEmpty);
            break;
        case db::Target::kColour:
            break;  // colours are chosen from their drop-down lists
    }
}

void ListSource::EditChange(const QString& text, NameListModel& m, int code) {
    if (text.isEmpty()) return;
    std::string typed;
    std::vector<const std::string*> lines;
    std::vector<std::int32_t> records;
    std::vector<db::NamesPtr> keep;
    NameListModel::Ids kind = NameListModel::Ids::kNone;
    if (TryToCp1252(text, typed)) {
        const std::string capitalised = db::CapitaliseForFilter(typed);
        auto search = [&](const db::NamesPtr& table, const TableIds& ids = kRecordIds) {
            const std::size_t from = lines.size();
            db::AppendMatching(*table, capitalised, typed, lines);
            keep.push_back(table);
            kind = ids.kind;
            if (code == 0 || ids.kind != NameListModel::Ids::kPlace) return;
            for (std::size_t i = from; i < lines.size(); ++i)
                records.push_back(ids.first + static_cast<std::int32_t>(lines[i] - table->data()));
        };
        const db::ListTables& t = s_.lists;
        const ChangeCodeInfo* info = ChangeCodeOf(code);
        if (info) {
            switch (info->PickTarget()) {
                case db::Target::kStadium:
                    search(t.stadium.entries);
                    break;
                case db::Target::kClub:
                    search(t.club.entries);
                    break;
                case db::Target::kNation:
                    search(t.nation.entries);
                    break;
                case db::Target::kPerson:
                    search(t.staff.entries, kPeopleIds);
                    search(t.player.entries, kPeopleIds);
                    break;
                case db::Target::kCompetition:
                    search(t.competition.entries);
                    break;
                case db::Target::kCity:
                    search(t.city.entries);
                    break;
                case db::Target::kFirstName:
                    search(s_.names.first.entries);
                    break;
                case db::Target::kSecondName:
                    search(s_.names.second.entries);
                    break;
                case db::Target::kCommonName:
                    search(s_.names.common.entries);
                    break;
                case db::Target::kLanguage:
                    search(Languages(), kLanguageIds);
                    break;
                case db::Target::kContinent:
                    search(t.continent.entries);
                    break;
                case db::Target::kNone:
                case db::Target::kColour:
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
    m.SetLines(std::move(lines), std::move(keep), code == 0 ? NameListModel::Ids::kNone : kind,
               std::move(records));
}

}  // namespace vh::ui
