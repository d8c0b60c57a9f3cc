#include "person_page.h"

#include <QLineEdit>
#include <QVariant>
#include "database/errors.h"
#include "database/lists.h"
#include "database/person.h"

#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/qtext.h"

namespace vh::ui {

namespace {
using db::StaffRecord;

// The player page's names, as the form spells them.
constexpr NumberRow kPlayerNumbers[] = {
    {"PlayerYearOB", "Year Of Birth", StaffRecord::BirthYear, 0, 2003, 4},
    // One byte each: 0..255, so that nothing is stored modulo 256.
    {"PlayerIntCaps", "International Caps", StaffRecord::InternationalCaps, 0, 255},
    {"PlayerIntGoals", "International Goals", StaffRecord::InternationalGoals, 0, 255},
    {"PlayerYJoinedClub", "Year Joined Club", StaffRecord::JoinedYear, 0, 2003},
    {"PlayerYCOntractExp", "Year of Contract Expiry", StaffRecord::ContractYear, 0, 2003},
    {"PlayerWage", "Wages", StaffRecord::Wage, 0, 100000},
    {"PlayerAdaptability", "Adaptability", StaffRecord::Adaptability, 0, 20},
    {"PlayerAmbition", "Ambition", StaffRecord::Ambition, 0, 20},
    {"PlayerDetermination", "Determination", StaffRecord::Determination, 0, 20},
    {"PlayerLoyalty", "Loyalty", StaffRecord::Loyalty, 0, 20},
    {"PlayerPressure", "Pressure", StaffRecord::Pressure, 0, 20},
    {"PlayerProfessionalism", "Professionalism", StaffRecord::Professionalism, 0, 20},
    {"PlayerSportsmanship", "Sportsanship", StaffRecord::Sportsmanship, 0, 20},
    {"PlayerTemperament", "Temperament", StaffRecord::Temperament, 0, 20},
};
constexpr RefRow kPlayerRefs[] = {
    {"PlayerFirstName", "First Name", StaffRecord::FirstName, kToFirstName},
    {"PlayerSecondName", "Second Name", StaffRecord::SecondName, kToSecondName},
    {"PlayerCommonName", "NickName", StaffRecord::CommonName, kToCommonName, true},
    {"PlayerNation", "Nationality", StaffRecord::Nation, kToNation},
    {"PlayerSecondNation", "Second Nationality", StaffRecord::SecondNation, kToNation},
};
constexpr DateRow kPlayerDates[] = {
    {"PlayerDayOB", "Day of Birth", "PLayerMonthOB", "Month of Birth", StaffRecord::BirthDay, 2},
    {"PlayerDJoinedClub", "Day Joined Club", "PlayerMJoinedCLub", "Month Joined Club",
     StaffRecord::JoinedDay},
    {"PlayerDContractExp", "Day of Contract Expiry", "PlayerMContractExp",
     "Month of Contract Expiry", StaffRecord::ContractDay},
};
constexpr ListRow kPlayerLists[] = {
    {"PlayerFavClubs", "Favourite Clubs", StaffRecord::FavouriteClubs, kToClub},
    {"PlayerDisClubs", "Disliked Clubs", StaffRecord::DislikedClubs, kToClub},
    {"PlayerFavStaff", "Favourite Staff", StaffRecord::FavouriteStaff, kToPerson},
    {"PlayerDisStaff", "Disliked Staff", StaffRecord::DislikedStaff, kToPerson},
};

// The staff page's names, as the form spells them.
constexpr NumberRow kStaffNumbers[] = {
    {"NonPlayerYearOB", "Year Of Birth", StaffRecord::BirthYear, 0, 2000},
    {"NonPlayerIntCaps", "International Caps", StaffRecord::InternationalCaps, 0, 255},
    {"NonPlayerIntGoals", "International Goals", StaffRecord::InternationalGoals, 0, 255},
    {"NonPlayerYearJoinedClub", "Year Joined Club", StaffRecord::JoinedYear, 0, 2003},
    {"NonPlayerYearContractExp", "Year Contract Expires", StaffRecord::ContractYear, 0, 2008},
    {"NonPlayerWage", "Wage", StaffRecord::Wage, 0, 100000},
    {"NonPlayerAdaptability", "Adaptability", StaffRecord::Adaptability, 0, 20, 2},
    {"NonPlayerAmbition", "Ambition", StaffRecord::Ambition, 0, 20, 2},
    {"NonPlayerDetermination", "Determination", StaffRecord::Determination, 0, 20, 2},
    {"NonPlayerLoyality", "Loyality", StaffRecord::Loyalty, 0, 20, 2},
    {"NonPlayerPressure", "Pressure", StaffRecord::Pressure, 0, 20, 2},
    {"NonPlayerProfessionalism", "Professionalism", StaffRecord::Professionalism, 0, 20, 2},
    {"NonPlayerSportsmanship", "Sportsmanship", StaffRecord::Sportsmanship, 0, 20, 2},
    {"NonPlayerTemperament", "Temperament", StaffRecord::Temperament, 0, 20, 2},
};
constexpr RefRow kStaffRefs[] = {
    {"NonPlayerFirstName", "First Name", StaffRecord::FirstName, kToFirstName},
    {"NonPlayerSecondName", "Second Name", StaffRecord::SecondName, kToSecondName},
    {"NonPlayerCommonName", "Common Name", StaffRecord::CommonName, kToCommonName, true},
    {"NonPlayerNation", "Nationality", StaffRecord::Nation, kToNation},
    {"NonPlayerSecondNation", "Second Nationality", StaffRecord::SecondNation, kToNation},
};
constexpr DateRow kStaffDates[] = {
    {"NonPlayerDayOB", "Day Of Birth", "NonPlayerMonthOB", "Month Of Birth", StaffRecord::BirthDay},
    {"NonPlayerDayContractExp", "Day Contract Expires", "NonPlayerMonthContractExp",
     "Month Contract Expires", StaffRecord::ContractDay},
    {"NonPlayerDayJoinedClub", "Day Joined Club", "NonPlayerMonthJoinedClub", "Month Joined Club",
     StaffRecord::JoinedDay},
};
constexpr ListRow kStaffLists[] = {
    {"NonPlayerFavClubs", "Favourite Clubs", StaffRecord::FavouriteClubs, kToClub},
    {"NonPlayerDisClubs", "Disliked Clubs", StaffRecord::DislikedClubs, kToClub},
    {"NonPlayerFavStaff", "Favourite Staff", StaffRecord::FavouriteStaff, kToPerson},
    {"NonPlayerDisStaff", "Disliked Staff", StaffRecord::DislikedStaff, kToPerson},
};
}  // namespace

const PersonRows kPlayerPersonRows{kPlayerNumbers, kPlayerRefs, kPlayerDates, kPlayerLists};
const PersonRows kStaffPersonRows{kStaffNumbers, kStaffRefs, kStaffDates, kStaffLists};

QString TPersonPage::GetStaffName(std::int32_t id) {
    return FromCp1252(db::GetStaffName(id, Files().staff, Session().names));
}

std::int32_t TPersonPage::GetStaffIdFromName(const QString& label) {
    std::string bytes;
    if (!TryToCp1252(label, bytes))
        throw db::EConvertError("'" + label.toStdString() + "' is not a valid integer value");
    return db::GetStaffIdFromName(bytes);
}

std::optional<db::StaffRecord> TPersonPage::ReadPerson(const QString& label) {
    std::string bytes;
    std::int32_t id = -1;
    if (TryToCp1252(label, bytes)) {
        try {
            id = db::GetStaffIdFromName(bytes);
        } catch (const db::EConvertError&) {
            id = -1;
        }
    }
    db::RecordFile& staff = Files().staff;
    if (id >= 0) {
        if (id < db::PersonRecordCount(staff, Session().dataPath)) {
            StaffRecord person = ReadRecord<StaffRecord>(staff, id);
            // The label must be this person's, as the lists write it.
            std::string own = db::PersonLabel(person, Session().names);
            if (own.size() > db::kPersonLabelWidth) own.resize(db::kPersonLabelWidth);
            if (own == bytes) return person;
        }
    }
    NoMatches();
    return std::nullopt;
}

std::string TPersonPage::PersonName(const db::StaffRecord& person) {
    return db::PersonLabel(person, Session().names);
}

void TPersonPage::SavePerson(const db::StaffRecord& person, const char* kind,
                             const std::function<void(db::WriteSet&)>& putBlock) {
    db::WriteSet set(std::string("Save of ") + kind + " " + PersonName(person));
    set.PutRecord(db::kStaffFile, person.Get(StaffRecord::Id), person);
    putBlock(set);
    CommitSet(set);
    StaffRec = person;
}

std::int32_t TPersonPage::MoveTarget(QLineEdit* edit, db::RecordFile& file,
                                     const db::NameField& field) {
    const QString text = edit->text();
    if (text.isEmpty()) return -1;
    const QVariant picked = edit->property(kRecordProperty);
    if (picked.isValid()) return picked.toInt() < 0 ? -1 : picked.toInt();
    if (text == QLatin1String(db::kEmptyMarker.data(), db::kEmptyMarker.size())) return -1;
    std::string bytes;
    try {
        bytes = ToCp1252(text);  // names a character the files cannot hold
    } catch (const db::EConvertError& e) {
        throw EFieldError(edit, QString::fromUtf8(e.what()));
    }
    return db::LookupByName(bytes, file, field);
}

TPersonPage::MoveInput TPersonPage::ReadMove(std::int32_t target) {
    MoveInput in{StaffRec, {}, {}};
    db::RecordFile& clubs = Files().club;
    clubs.Reset(db::ClubRecord::kSize);
    const std::int32_t old = in.person.Get(StaffRecord::Club);
    if (old >= clubs.RecordCount())
        in.person.Set(StaffRecord::Club, -1);
    else if (old >= 0)
        in.left = ReadRecord<db::ClubRecord>(clubs, old);
    if (target >= 0 && target != in.person.Get(StaffRecord::Club))
        in.joined = ReadRecord<db::ClubRecord>(clubs, target);
    return in;
}

void TPersonPage::WriteMove(const db::MoveResult& move, const char* what) {
    db::WriteSet set(std::string(what) + " of " + PersonName(move.person));
    db::PutMove(move, set);
    CommitSet(set);
    StaffRec = move.person;
}

void TPersonPage::BindPerson(QWidget* panel, const PersonRows& rows) {
    person_.Resolve(panel, ctx_.markChanged, rows.numbers, {}, rows.refs, {}, rows.dates,
                    rows.lists);
}

std::optional<QString> TPersonPage::SearchTextFor(std::int64_t record) {
    db::RecordFile& staff = Files().staff;
    if (record < 0 || record >= db::PersonRecordCount(staff, Session().dataPath))
        return std::nullopt;
    std::string label = db::GetStaffName(static_cast<std::int32_t>(record), staff, Session().names);
    if (label.size() > db::kPersonLabelWidth) label.resize(db::kPersonLabelWidth);
    return FromCp1252(label);
}

}  // namespace vh::ui
