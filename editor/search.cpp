// The result list and the search that makes one record current.
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>

#include "database/errors.h"
#include "database/person.h"
#include "database/reference.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "stad.h"

namespace vh::ui {

void TVHEdit::StadradClick() {
    lists_.StadiumLoad(resultModel_);
}
void TVHEdit::ClubradClick() {
    lists_.ClubLoad(resultModel_);
}
void TVHEdit::NationRadClick() {
    lists_.NationLoad(resultModel_);
}
void TVHEdit::CityRadClick() {
    lists_.CityLoad(resultModel_);
}
void TVHEdit::PlayerradClick() {
    if (s_.dataLoaded) lists_.StaffLoad(resultModel_);
}

void TVHEdit::SearchEditChange() {
    // The result list always follows its own radio buttons, also while the picker is open.
    lists_.EditChange(searchEdit_->text(), resultModel_, 0);
}

void TVHEdit::ListBox2Click() {
    const QModelIndex i = listBox2_->currentIndex();
    if (i.isValid() && i.row() < resultModel_.Count()) searchText_ = resultModel_.LineText(i.row());
}

void TVHEdit::ListBox2DblClick() {
    ListBox2Click();
    SearchButtonClick();
}

void TVHEdit::SearchButtonClick() {
    struct ShowSearchText {  // in every case, even when the search stops with an error
        TVHEdit* w;
        ~ShowSearchText() { w->searchEdit_->setText(w->searchText_); }
    } showAtEnd{this};

    if (!s_.dataLoaded) {
        if (ShowMessage(
                this, QStringLiteral("Data Loaded"),
                QStringLiteral(
                    "You have not yet loaded the stadium data.  Would you like to do that now?"),
                Buttons::kYesNo, Icon::kQuestion) == Answer::kYes)
            LoadClick();
        return;
    }
    if (!SaveCheck()) return;
    switch (mode_) {
        case Mode::kStadiums:
            StadiumSearch();
            break;
        case Mode::kClubs:
            ClubSearch();
            break;
        case Mode::kNation:
            NationSearch();
            break;
        case Mode::kCity:
            CitySearch();
            break;
        case Mode::kPlayers:
        case Mode::kStaff:
            if (playerRad_->isChecked())
                PlayerSearch();
            else if (nonPlayerRad_->isChecked())
                NonPlayerSearch();
            break;
    }
    // Filling the page marked it changed through its change events; a record just shown is not.
    SetRecordChanged(false);
}

void TVHEdit::NoMatches() {
    ShowMessage(this, QStringLiteral("No Matches"),
                QStringLiteral("There were no matches to your seach.  Please try again."));
}

// Reads the file from record 0 and stops at the first record one of whose fields equals the
// search text exactly; that record goes into `buffer`. False (and "No Matches") when none does.
template <class R>
bool TVHEdit::NameSearch(db::RecordFile& file, R& buffer, std::initializer_list<db::Str> fields) {
    std::string want;
    std::optional<std::int64_t> found;
    if (TryToCp1252(searchText_, want)) {
        found = db::FindFirst(file, static_cast<int>(R::kSize), [&](const std::uint8_t* rec) {
            for (const db::Str& f : fields)
                if (f.Read(rec) == want) return true;
            return false;
        });
    }
    if (!found) {
        NoMatches();
        return false;
    }
    file.Reset(static_cast<int>(R::kSize));
    file.Seek(*found);
    file.Read(buffer.bytes);
    return true;
}

namespace {
// The first stadium whose Id equals the reference; nullopt when none does.
std::optional<std::int64_t> StadiumWithId(db::RecordFile& stadiums, std::int32_t id) {
    if (id < 0) return std::nullopt;
    return db::FindFirst(stadiums, db::StadiumRecord::kSize, [id](const std::uint8_t* rec) {
        return db::StadiumRecord::Id.Read(rec) == id;
    });
}
}  // namespace

void TVHEdit::StadiumSearch() {
    db::FileSet& f = s_.files;
    std::optional<std::int64_t> stadium;
    if (stadrad_->isChecked()) {
        if (!NameSearch(f.stadium, StadiumRec, {db::StadiumRecord::Name})) return;
        ShowStadiumStats();
        return;
    }
    if (clubrad_->isChecked()) {
        db::ClubRecord club;
        if (!NameSearch(f.club, club, {db::ClubRecord::LongName, db::ClubRecord::ShortName}))
            return;
        stadium = StadiumWithId(f.stadium, club.Get(db::ClubRecord::Stadium));
    } else if (nationRad_->isChecked()) {
        // A nation's national stadium.
        db::NationRecord nation;
        if (!NameSearch(f.nation, nation,
                        {db::NationRecord::LongName, db::NationRecord::ShortName}))
            return;
        stadium = StadiumWithId(f.stadium, nation.Get(db::NationRecord::NationalStadium));
    }
    if (!stadium) {
        NoMatches();
        return;
    }
    f.stadium.Reset(db::StadiumRecord::kSize);
    f.stadium.Seek(*stadium);
    f.stadium.Read(StadiumRec.bytes);
    ShowStadiumStats();
}

void TVHEdit::ClubSearch() {
    if (!NameSearch(s_.files.club, ClubRec, {db::ClubRecord::LongName, db::ClubRecord::ShortName}))
        return;
    if (Routines(Mode::kClubs).show) Routines(Mode::kClubs).show();
}

void TVHEdit::NationSearch() {
    if (!NameSearch(s_.files.nation, NationRec,
                    {db::NationRecord::LongName, db::NationRecord::ShortName}))
        return;
    if (Routines(Mode::kNation).show) Routines(Mode::kNation).show();
}

void TVHEdit::CitySearch() {
    if (!NameSearch(s_.files.city, CityRec, {db::CityRecord::Name})) return;
    Showcitystats();
}

namespace {
// The person named by a result-list label.
db::StaffRecord ReadPerson(db::RecordFile& staff, const QString& label) {
    const std::int32_t id = TVHEdit::GetStaffIdFromName(label);
    db::StaffRecord person;
    staff.Reset(db::StaffRecord::kSize);
    staff.Seek(id);
    staff.Read(person.bytes);
    return person;
}
}  // namespace

// Both records of a person are read before either replaces the current one, so a person without
// a player (or staff) record never leaves the page showing one person while the buffers hold
// another.
void TVHEdit::PlayerSearch() {
    const db::StaffRecord person = ReadPerson(s_.files.staff, searchText_);
    db::BlockPlace place;
    const db::PlayerRecord player =
        db::GetPlayerData(s_.dataPath, person.Get(db::StaffRecord::PlayerIndex), place, s_.scratch);
    StaffRec = person;
    PlayerRec = player;
    PlayerPlace = place;
    if (Routines(Mode::kPlayers).show) Routines(Mode::kPlayers).show();
}

void TVHEdit::NonPlayerSearch() {
    const db::StaffRecord person = ReadPerson(s_.files.staff, searchText_);
    db::BlockPlace place;
    const db::NonPlayerRecord staff = db::GetNonPlayerData(
        s_.dataPath, person.Get(db::StaffRecord::NonPlayerIndex), place, s_.scratch);
    StaffRec = person;
    NonPlayerRec = staff;
    NonPlayerPlace = place;
    if (Routines(Mode::kStaff).show) Routines(Mode::kStaff).show();
}

QString TVHEdit::GetStaffName(std::int32_t id) {
    return FromCp1252(db::GetStaffName(id, s_.files.staff, s_.names));
}

std::int32_t TVHEdit::GetStaffIdFromName(const QString& label) {
    std::string bytes;
    if (!TryToCp1252(label, bytes))
        throw db::EConvertError("'" + label.toStdString() + "' is not a valid integer value");
    return db::GetStaffIdFromName(bytes);
}

void TVHEdit::GetPlayerData(std::int32_t playerIndex) {
    PlayerRec = db::GetPlayerData(s_.dataPath, playerIndex, PlayerPlace, s_.scratch);
}

void TVHEdit::GetNonPlayerData(std::int32_t nonPlayerIndex) {
    NonPlayerRec = db::GetNonPlayerData(s_.dataPath, nonPlayerIndex, NonPlayerPlace, s_.scratch);
}

QString TVHEdit::ShowReference(std::int32_t value, db::RecordFile& file,
                               const db::NameField& field) {
    return FromCp1252(db::ShowReference(value, file, field));
}

std::int32_t TVHEdit::LookupByName(const QString& text, db::RecordFile& file,
                                   const db::NameField& field) {
    return db::LookupByName(ToCp1252(text), file, field);
}

}  // namespace vh::ui
