// Driving the real window as a user does, by the documented names of its controls: shared by the
// benchmarks and the probes of a first action in a fresh process (first_actions.h).
#pragma once

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QRadioButton>
#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include "database/model/lists.h"
#include "database/records/data_def.h"

#include "database/records/person.h"
#include "database/records/record_file.h"
#include "dialogs/qtext.h"
#include "editor/shell/stad.h"
#include "editor/shell/startup.h"
#include "full_sample.h"

namespace vh::bench {
// The windows the benchmarks drive: the warm session's, loaded on first use, or those of a probe
// in a fresh process.
inline ui::Windows g_windows;
// What a user who lets the window be for a moment finds: the hidden pages prepared.
inline void UntilPagesPrepared() {
    // The preparation's own timer wakes each wait.
    for (int i = 0; i < 1000 && !g_windows.main->PagesPrepared(); ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}
inline ui::Windows& W() {
    if (!g_windows.main) {
        g_windows = ui::CreateWindows(ui::StartOptions{QString::fromStdString(Full().Path())});
        g_windows.main->show();
        g_windows.main->LoadClick();
        UntilPagesPrepared();
    }
    return g_windows;
}
inline ui::TVHEdit& Main() {
    return *W().main;
}
inline db::Session& S() {
    return Main().Session();
}
template <class T = QLineEdit>
inline T* Find(const char* name) {
    T* w = Main().findChild<T*>(QString::fromLatin1(name));
    if (!w) throw std::logic_error(std::string("no control named ") + name);
    return w;
}

// --- choosing the records and the names that cost the most ------------------------------------

// Names in the order of their first occurrence, latest first: a lookup of the first one reads the
// most records of its file before it finds it.
inline std::vector<std::string> LatestFirst(const db::Names& table) {
    std::unordered_map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < table.size(); ++i) first.emplace(table[i], i);
    std::vector<std::pair<std::size_t, std::string>> order;
    for (const auto& [name, at] : first)
        if (!name.empty()) order.emplace_back(at, name);
    std::sort(order.rbegin(), order.rend());
    std::vector<std::string> out;
    for (auto& o : order) out.push_back(std::move(o.second));
    return out;
}

struct LateNames {
    std::vector<std::string> first, second, common, nation, club, stadium, competition;
};
inline const LateNames& Late() {
    static const LateNames n = [] {
        db::ListTables t;
        db::NationLoad(S().files, t);
        db::ClubLoad(S().files, t);
        db::StadiumLoad(S().files, t);
        db::ClubCompLoad(S().files, t);
        return LateNames{
            LatestFirst(*S().names.first.entries),  LatestFirst(*S().names.second.entries),
            LatestFirst(*S().names.common.entries), LatestFirst(*t.nation.entries),
            LatestFirst(*t.club.entries),           LatestFirst(*t.stadium.entries),
            LatestFirst(*t.competition.entries)};
    }();
    return n;
}
inline QString Q(const std::string& cp1252) {
    return ui::FromCp1252(cp1252);
}

inline db::ClubRecord ClubAt(std::int64_t n) {
    db::RecordFile& f = S().files.club;
    f.Reset(db::ClubRecord::kSize);
    f.Seek(n);
    db::ClubRecord r;
    f.Read(r.bytes);
    return r;
}

// --- driving the window ----------------------------------------------------------------------

inline void Choose(int row) {
    auto* list = Find<QListView>("ListBox2");
    list->setCurrentIndex(Main().ResultModel().index(row));
    Main().ListBox2Click();
}
// A mode with its list filled, the last line chosen; returns its text.
inline QString ChooseLast(const char* menu, const char* radio) {
    Find<QAction>(menu)->trigger();
    Find<QRadioButton>(radio)->click();
    Choose(Main().ResultModel().Count() - 1);
    return Main().SearchText();
}
inline void Show() {
    Main().SearchButtonClick();
    Main().SetRecordChanged(false);
}
inline void SetItems(const char* list, const QString& text) {
    auto* l = Find<QListWidget>(list);
    for (int i = 0; i < l->count(); ++i) l->item(i)->setText(text);
}

// The two person pages, by the names of their controls.
struct PersonPage {
    const char* menu;
    const char* radio;
    const char* prefix;      // "Player" or "NonPlayer": the names the pages share after it
    const char* attribute;   // one number of the page's own record
    const char* moveButton;  // "Transfer Player" / the club "Transfer Staff"
    const char* moveTarget;
};
constexpr PersonPage kPlayers{"PlayerMenu",    "PlayerRad",      "Player",
                              "PlayerPassing", "TransferPlayer", "PlayerNewClub"};
constexpr PersonPage kStaff{"NonPlayerMenu",    "NonPlayerRad",          "NonPlayer",
                            "NonPlayerTactics", "NonPlayerClubTransfer", "NonPlayerNewClub"};

inline QString Named(const PersonPage& p, const char* field) {
    return QString::fromLatin1(p.prefix) + QString::fromLatin1(field);
}

// A save in which every reference is typed rather than picked: each is looked up by name, with the
// names that lie latest in their files (two, alternating, so that every save finds them changed).
// Types every reference of the person shown (k = 0 or 1: two sets of names, alternating).
inline void TypeEveryReference(const PersonPage& p, std::size_t k) {
    const LateNames& n = Late();
    auto field = [&](const char* name) { return Main().findChild<QLineEdit*>(Named(p, name)); };
    field("FirstName")->setText(Q(n.first[k]));
    field("SecondName")->setText(Q(n.second[k]));
    field("CommonName")->setText(Q(n.common[k]));
    field("Nation")->setText(Q(n.nation[k]));
    field("SecondNation")->setText(Q(n.nation[1 - k]));
    SetItems(Named(p, "FavClubs").toLatin1().constData(), Q(n.club[k]));
    SetItems(Named(p, "DisClubs").toLatin1().constData(), Q(n.club[1 - k]));
    field("Wage")->setText(QString::number(1000 + k));
    Find(p.attribute)->setText(QString::number(10 + k));
}
constexpr std::initializer_list<const char*> kPersonSaveFiles = {
    "first_names.dat", "second_names.dat", "common_names.dat",
    "nation.dat",      "club.dat",         "staff.dat"};

// The club shown: the last one that a search by its short name finds where it is (the search
// reads club.dat up to it), given, in this copy of the sample, a full squad of 50 players and
// every staff slot filled, so that its show reads every label it can hold.
inline QString FullClub() {
    const db::Names& names = *S().lists.club.entries;
    std::unordered_map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < names.size(); ++i) first.emplace(names[i], i);
    std::size_t club = names.size() - 1;
    while (first[names[club]] != club) --club;
    std::vector<std::int32_t> players, staff;
    for (const std::string& l : *S().lists.player.entries)
        players.push_back(db::GetStaffIdFromName(l));
    for (const std::string& l : *S().lists.staff.entries)
        staff.push_back(db::GetStaffIdFromName(l));
    db::ClubRecord c = ClubAt(static_cast<std::int64_t>(club));
    for (std::size_t i = 0; i < db::ClubRecord::Players.kCount; ++i)
        c.Set(db::ClubRecord::Players[i], players.at(i));
    // Every person slot from the favourite staff to the last physio; the rivals are clubs.
    auto inside = [](std::size_t off, std::size_t from, std::size_t count) {
        return off >= from && off < from + 4 * count;
    };
    std::size_t k = 0;
    for (std::size_t off = db::ClubRecord::FavouriteStaff.offset;
         off < db::ClubRecord::Physios.offset + 4 * db::ClubRecord::Physios.kCount; off += 4)
        if (!inside(off, db::ClubRecord::Players.offset, db::ClubRecord::Players.kCount) &&
            !inside(off, db::ClubRecord::RivalClubs.offset, db::ClubRecord::RivalClubs.kCount))
            db::I32{off}.Write(c.data(), staff.at(k++));
    db::RecordFile& f = S().files.club;
    f.Reset(db::ClubRecord::kSize);
    f.Seek(static_cast<std::int64_t>(club));
    f.Write(c.bytes);
    return Q(names[club]);
}
inline void ChooseClub() {
    Find<QAction>("ClubMenu")->trigger();
    Find<QRadioButton>("Clubrad")->click();
    static const QString club = FullClub();
    const QStringList lines = Main().ResultModel().Texts();
    Choose(static_cast<int>(lines.indexOf(club)));
}

// The files the players table reads: the persons and their blocks, the names of their labels, and
// what the references of the rows on screen name.
const std::initializer_list<const char*> kTableFiles = {
    "staff.dat",        "index.dat",  "first_names.dat", "second_names.dat",
    "common_names.dat", "nation.dat", "club.dat"};

}  // namespace vh::bench
