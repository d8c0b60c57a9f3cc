#include "staff_page.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVariant>
#include <cstring>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "database/reference.h"
#include "database/squad.h"
#include "dialogs/NEdit.h"
#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "page_kit.h"

namespace vh::ui {

namespace {
using db::ClubRecord;
using db::NationRecord;
using db::NonPlayerRecord;
using db::StaffRecord;

// "Staff Attributes 1": the skills of the non-player record, in the order of the form's captions.
constexpr NumberRow kSkills[] = {
    {"NonPlayerAttacking", "Attackingness", NonPlayerRecord::Attacking, 0, 20, 2},
    {"NonPlayerBusiness", "Business", NonPlayerRecord::Business, 0, 20, 2},
    {"NonPlayerInterference", "Interference", NonPlayerRecord::Interference, 0, 20, 2},
    {"NonPlayerCoachingPlayers", "Coaching Players", NonPlayerRecord::CoachingPlayers, 0, 20, 2},
    {"NonPlayerCoachingGoalKeepers", "Coaching Goalies", NonPlayerRecord::CoachingGoalkeepers, 0,
     20, 2},
    {"NonPlayerCoachingTechnique", "Coaching Skills", NonPlayerRecord::CoachingTechnique, 0, 20, 2},
    {"NonPlayerDirectness", "Directness", NonPlayerRecord::Directness, 0, 20, 2},
    {"NonPlayerDiscipline", "Discipline", NonPlayerRecord::Discipline, 0, 20, 2},
    {"NonPlayerCoachingFreeRoles", "Coaching Free Roles", NonPlayerRecord::CoachingFreeRoles, 0, 20,
     2},
    {"NonPlayerJudgement", "Judgement", NonPlayerRecord::Judgement, 0, 20, 2},
    {"NonPlayerMarking", "Marking", NonPlayerRecord::Marking, 0, 20, 2},
    {"NonPlayerOffside", "Offside", NonPlayerRecord::Offside, 0, 20, 2},
    {"NonPlayerPatience", "Patience", NonPlayerRecord::Patience, 0, 20, 2},
    {"NonPlayerPhysiotherapy", "Physiotherapy", NonPlayerRecord::Physiotherapy, 0, 20, 2},
    {"NonPlayerJudgingPotential", "Judging Potential", NonPlayerRecord::JudgingPotential, 0, 20, 2},
    {"NonPlayerManHandling", "Man Handling", NonPlayerRecord::ManHandling, 0, 20, 2},
    {"NonPlayerPressing", "Pressing", NonPlayerRecord::Pressing, 0, 20, 2},
    {"NonPlayerResources", "Resources", NonPlayerRecord::Resources, 0, 20, 2},
    {"NonPlayerTactics", "Tactics", NonPlayerRecord::Tactics, 0, 20, 2},
    {"NonPlayerYoungsters", "Youngsters", NonPlayerRecord::Youngsters, 0, 20, 2},
};
// "Staff Attrinutes 2": abilities and reputations, then the position ratings (four bytes each).
constexpr NumberRow kRatings[] = {
    {"NonPlayerCurrentAbility", "Current Ability", NonPlayerRecord::CurrentAbility, 0, 200},
    {"NonPlayerPotentialAbility", "Potential Ability", NonPlayerRecord::PotentialAbility, 0, 200},
    {"NonPlayerHomeReputation", "Home Reputation", NonPlayerRecord::HomeReputation, 0, 200},
    {"NonPlayerCurrentReputation", "Current Reputation", NonPlayerRecord::CurrentReputation, 0,
     200},
    {"NonPlayerWorldReputation", "World Reputation", NonPlayerRecord::WorldReputation, 0, 200},
    {"NonPlayerGoalkeeper", "GoalKeeper", NonPlayerRecord::Goalkeeper, 0, 20},
    {"NonPlayerSweeper", "Sweeper", NonPlayerRecord::Sweeper, 0, 20},
    {"NonPlayerDefender", "Defender", NonPlayerRecord::Defender, 0, 20},
    {"NonPlayerDefensiveMidfielder", "Defensive Midfielder", NonPlayerRecord::DefensiveMidfielder,
     0, 20},
    {"NonPlayerMidfielder", "Midfielder", NonPlayerRecord::Midfielder, 0, 20},
    {"NonPlayerAttackingMidfielder", "Attacking Midfielder", NonPlayerRecord::AttackingMidfielder,
     0, 20},
    {"NonPlayerAttacker", "Attacker", NonPlayerRecord::Attacker, 0, 20},
    {"NonPlayerWingBack", "Wingback", NonPlayerRecord::WingBack, 0, 20},
};

// The club display of a person without a club, as the show words it and as a release does.
const QString kNoClubShown = QStringLiteral("Free Transfer");
const QString kReleasedFromClub = QStringLiteral("Free Tansfer");

QString EmptyMarker() {
    return QString::fromLatin1(db::kEmptyMarker.data(),
                               static_cast<qsizetype>(db::kEmptyMarker.size()));
}

const NumberRow& PersonNumber(const char* name) {
    for (const NumberRow& r : kStaffPersonRows.numbers)
        if (std::strcmp(r.name, name) == 0) return r;
    throw std::logic_error(std::string("no person row named ") + name);
}

const DateRow& PersonDate(const char* dayName) {
    for (const DateRow& r : kStaffPersonRows.dates)
        if (std::strcmp(r.dayName, dayName) == 0) return r;
    throw std::logic_error(std::string("no person date named ") + dayName);
}

// The day or month field of a date (its row converts both together).
void MakeDatePart(PageGrid& g, const char* name, const char* caption, int max, int maxLength) {
    auto* e = new TNEdit(g.Page());
    e->setObjectName(QString::fromLatin1(name));
    e->SetMinNo(0);
    e->SetMaxNo(max);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setMaximumWidth(90);
    g.Add(QString::fromLatin1(caption), e);
}

// A date as its day and month fields, then its year field.
void MakeDate(PageGrid& g, const char* dayName, const char* yearName) {
    const DateRow& d = PersonDate(dayName);
    MakeDatePart(g, d.dayName, d.dayCaption, 31, d.maxLength);
    MakeDatePart(g, d.monthName, d.monthCaption, 12, d.maxLength);
    MakeNumber(g, PersonNumber(yearName));
}

// The short name of a club or nation for a read-only display; a number outside the file shows
// its placeholder and is listed for the warning.
QString EmployerName(std::int32_t value, db::RecordFile& file, const db::NameField& field,
                     const QString& none, const char* caption, const char* fileName,
                     QStringList& missing) {
    if (value < 0) return none;
    file.Reset(field.recordSize);
    if (value >= file.RecordCount()) {
        missing << QStringLiteral("%1: %2 has no record %3")
                       .arg(QString::fromLatin1(caption), QString::fromLatin1(fileName))
                       .arg(value);
        return MissingText(value);
    }
    return FromCp1252(db::ShowReference(value, file, field));
}

}  // namespace

TStaffPage::TStaffPage(PageContext& context, QWidget* parent)
    : TPersonPage(context), panel_(MakeTabPanel(parent, "NonPLayerPanel")) {
    BuildStaffInfo();
    BuildAttributes1();
    BuildAttributes2();
    BuildContract();
    BuildFavourites();
    BindPerson(panel_, kStaffPersonRows);
    // Every field marks the record changed when its text changes, typing included.
    attributes_.Resolve(panel_, ctx_.markChanged, kSkills);
    attributes_.Resolve(panel_, ctx_.markChanged, kRatings);

    auto guarded = [this](QPushButton* b, void (TStaffPage::*handler)(QObject*)) {
        QObject::connect(b, &QPushButton::clicked, b, [this, b, handler] {
            Guarded(ctx_.window, [this, b, handler] { (this->*handler)(b); });
        });
    };
    guarded(clubTransfer_, &TStaffPage::NonPlayerClubTransferClick);
    guarded(clubRelease_, &TStaffPage::NonPlayerClubTransferClick);
    guarded(nationTransfer_, &TStaffPage::NonPlayerNationTransferClick);
    guarded(nationRelease_, &TStaffPage::NonPlayerNationTransferClick);
}

QWidget* TStaffPage::AddTab(const char* name, const char* caption) {
    auto* page = new QWidget(panel_);
    page->setObjectName(QString::fromLatin1(name));
    panel_->addTab(page, QString::fromLatin1(caption));
    AddFieldArea(page);
    return page;
}

void TStaffPage::BuildStaffInfo() {
    PageGrid g(AddTab("NonPlayerInfoTab", "Staff Info"), 2);
    MakeReference(g, "NonPlayerFirstName", "First Name", "NonPlayerFirstNameChange");
    MakeReference(g, "NonPlayerSecondName", "Second Name", "NonPlayerSecondNameChange");
    MakeReference(g, "NonPlayerCommonName", "Common Name", "NonPlayerCommonNameChange");
    id_ = MakeIdField(g, "NonPlayerId1", "Id");
    MakeReference(g, "NonPlayerNation", "Nationality", "NonPlayerNationChange");
    MakeReference(g, "NonPlayerSecondNation", "Second Nationality", "NonPlayerSecondNationChange");
    MakeDate(g, "NonPlayerDayOB", "NonPlayerYearOB");
    MakeNumber(g, PersonNumber("NonPlayerIntCaps"));
    MakeNumber(g, PersonNumber("NonPlayerIntGoals"));
}

void TStaffPage::BuildAttributes1() {
    PageGrid g(AddTab("NonPlayerAttributes1Tab", "Staff Attributes 1"), 4);
    for (const char* name : {"NonPlayerAdaptability", "NonPlayerAmbition", "NonPlayerDetermination",
                             "NonPlayerLoyality", "NonPlayerPressure", "NonPlayerProfessionalism",
                             "NonPlayerSportsmanship", "NonPlayerTemperament"})
        MakeNumber(g, PersonNumber(name))->setMaximumWidth(34);
    for (const NumberRow& r : kSkills) MakeNumber(g, r)->setMaximumWidth(34);
}

void TStaffPage::BuildAttributes2() {
    PageGrid g(AddTab("NonPlayerAttributes2Tab", "Staff Attrinutes 2"), 3);
    for (std::size_t i = 0; i < std::size(kRatings); ++i) {
        if (i == 5) g.NextRow();  // the position ratings start a row of their own
        MakeNumber(g, kRatings[i]);
    }
}

// The contract fields down the left, the nation and club moves down the right.
void TStaffPage::BuildContract() {
    PageGrid g(AddTab("NonPlayerContractTab", "Staff Contract + Transfer"), 2);
    auto display = [&](const char* name, const char* caption) {
        QLineEdit* e = MakeText(g, name, caption, 32767);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        return e;
    };
    // Two move buttons side by side in the field column.
    auto buttons = [&](const char* transfer, const char* release, const char* releaseCaption) {
        auto* box = new QWidget(g.Page());
        box->setObjectName(QString::fromLatin1(release) + QStringLiteral("Box"));
        auto* h = new QHBoxLayout(box);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(4);
        auto* t = new QPushButton(QStringLiteral("Transfer Staff"), box);
        t->setObjectName(QString::fromLatin1(transfer));
        auto* r = new QPushButton(QString::fromLatin1(releaseCaption), box);
        r->setObjectName(QString::fromLatin1(release));
        h->addWidget(t);
        h->addWidget(r);
        h->addStretch(1);
        g.AddAlone(box);
        return std::pair{t, r};
    };
    const DateRow& contract = PersonDate("NonPlayerDayContractExp");
    const DateRow& joined = PersonDate("NonPlayerDayJoinedClub");

    MakeNumber(g, PersonNumber("NonPlayerWage"));
    currentNation_ = display("NonPlayerCurrentNation", "Current Nation");
    MakeDatePart(g, contract.dayName, contract.dayCaption, 31, contract.maxLength);
    newNation_ = MakeReference(g, "NonPlayerNewNation", "New Nation", "NonPlayerNewNationChange");
    MakeDatePart(g, contract.monthName, contract.monthCaption, 12, contract.maxLength);
    std::tie(nationTransfer_, nationRelease_) =
        buttons("NonPlayerNationTransfer", "NonPlayerNationRelease", "Release Staff From Nation");
    MakeNumber(g, PersonNumber("NonPlayerYearContractExp"));
    currentClub_ = display("NonPlayerCurrentClub", "Current Club");
    MakeDatePart(g, joined.dayName, joined.dayCaption, 31, joined.maxLength);
    newClub_ = MakeReference(g, "NonPlayerNewClub", "New Club", "NonPlayerNewClubChange");
    MakeDatePart(g, joined.monthName, joined.monthCaption, 12, joined.maxLength);
    std::tie(clubTransfer_, clubRelease_) =
        buttons("NonPlayerClubTransfer", "NonPlayerClubRelease", "Release Staff From Club");
    MakeNumber(g, PersonNumber("NonPlayerYearJoinedClub"));
}

void TStaffPage::BuildFavourites() {
    PageGrid g(AddTab("NonPlayerFavouritesTab", "Favs + Dislikes"), 2);
    MakeList(g, "NonPlayerFavStaff", "Favourite Staff", "NonPLayerFavStaffChange", 3);
    MakeList(g, "NonPlayerFavClubs", "Favourite Clubs", "NonPLayerFavClubsChange", 3);
    MakeList(g, "NonPlayerDisClubs", "Disliked Clubs", "NonPLayerDisClubsChange", 3);
    MakeList(g, "NonPlayerDisStaff", "Disliked Staff", "NonPLayerDisStaffChange", 3);
}

QWidget* TStaffPage::Panel() const {
    return panel_;
}

void TStaffPage::Clear() {
    person_.Clear();
    attributes_.Clear();
    for (QLineEdit* e : {id_, currentNation_, currentClub_, newNation_, newClub_}) {
        e->clear();
        e->setProperty(kRecordProperty, QVariant());
    }
    SetHasRecord(false);
}

// Both records of a person are read before either replaces the current one, so a person without
// a staff record never leaves the page showing one person while the buffers hold another.
void TStaffPage::NonPlayerSearch(const QString& text) {
    const std::optional<db::StaffRecord> person = ReadPerson(text);
    if (!person) return;
    db::BlockPlace place;
    const db::NonPlayerRecord staff = db::GetNonPlayerData(
        Session().dataPath, person->Get(db::StaffRecord::NonPlayerIndex), place, Session().scratch);
    const db::StaffRecord previousPerson = StaffRec;
    const db::NonPlayerRecord previousStaff = NonPlayerRec;
    const db::BlockPlace previousPlace = NonPlayerPlace;
    StaffRec = *person;
    NonPlayerRec = staff;
    NonPlayerPlace = place;
    try {
        ShowNonPlayerStats();
    } catch (...) {
        // The page still shows the previous person.
        StaffRec = previousPerson;
        NonPlayerRec = previousStaff;
        NonPlayerPlace = previousPlace;
        throw;
    }
}

void TStaffPage::ShowNonPlayerStats() {
    // The employers are read first; the rows read all they need before they fill a control.
    RowContext rows(Session());
    const QString nation = EmployerName(StaffRec.Get(StaffRecord::NationEmployer), Files().nation,
                                        db::kNationShortName, EmptyMarker(), "Current Nation",
                                        "nation.dat", rows.missing);
    const QString club =
        EmployerName(StaffRec.Get(StaffRecord::Club), Files().club, db::kClubShortName,
                     kNoClubShown, "Current Club", "club.dat", rows.missing);
    person_.Show(StaffRec.data(), rows);
    attributes_.Show(NonPlayerRec.data(), rows);
    id_->setText(QString::number(StaffRec.Get(StaffRecord::Id)));
    currentNation_->setText(nation);
    currentClub_->setText(club);
    for (QLineEdit* e : {currentNation_, currentClub_}) e->setCursorPosition(0);
    // Moves write at once: data loaded read-only offer none.
    for (QPushButton* b : {nationTransfer_, nationRelease_, clubTransfer_, clubRelease_})
        b->setEnabled(!ctx_.readOnly());
    SetHasRecord(true);
    number_ = StaffRec.Get(StaffRecord::Id);
    ReportMissing(rows.missing);
}

void TStaffPage::NonPlayerSave() {
    if (!HasRecord()) return;
    RowContext rows(Session());
    db::StaffRecord person = StaffRec;
    db::NonPlayerRecord staff = NonPlayerRec;
    person_.Save(person.data(), rows);
    attributes_.Save(staff.data(), rows);

    SavePerson(person, "Staff", [&](db::WriteSet& set) {
        db::PutNonPlayerData(Session().dataPath, staff, NonPlayerPlace, Session().scratch, set);
    });
    NonPlayerRec = staff;
    // What the page shows is now what the files hold: a field changed back is a change again.
    person_.Saved(StaffRec.data());
    attributes_.Saved(NonPlayerRec.data());
}

bool TStaffPage::CanMove() const {
    return HasRecord() && !ctx_.readOnly();
}

void TStaffPage::NonPlayerClubTransferClick(QObject* sender) {
    if (!CanMove()) return;
    db::RecordFile& clubs = Files().club;
    const std::int32_t target =
        sender == clubTransfer_ ? MoveTarget(newClub_, clubs, db::kClubShortName) : -1;

    // Every record the move needs is read before anything is written.
    const MoveInput in = ReadMove(target);
    const ClubRecord* targetRecord = target >= 0 ? in.Joined() : nullptr;
    const db::MoveResult moved = db::MoveStaffToClub(in.person, target, in.Left(), targetRecord);

    newClub_->clear();
    newClub_->setProperty(kRecordProperty, QVariant());
    if (moved.refusal) {
        ShowMessage(ctx_.window,
                    QString::fromLatin1(db::kPostTakenCaption.data(), db::kPostTakenCaption.size()),
                    QString::fromStdString(*moved.refusal));
        return;
    }
    WriteMove(moved, target >= 0 ? "Appointment" : "Release");
    currentClub_->setText(targetRecord ? FromCp1252(targetRecord->Get(ClubRecord::ShortName))
                                       : kReleasedFromClub);
    currentClub_->setCursorPosition(0);
}

void TStaffPage::NonPlayerNationTransferClick(QObject* sender) {
    if (!CanMove()) return;
    db::RecordFile& nations = Files().nation;
    const std::int32_t target =
        sender == nationTransfer_ ? MoveTarget(newNation_, nations, db::kNationShortName) : -1;
    QString shown = EmptyMarker();
    if (target >= 0)
        shown = FromCp1252(ReadRecord<NationRecord>(nations, target).Get(NationRecord::ShortName));

    db::MoveResult moved;
    moved.person = db::MoveStaffToNation(StaffRec, target);
    WriteMove(moved, target >= 0 ? "Nation appointment" : "Nation release");
    currentNation_->setText(shown);
    currentNation_->setCursorPosition(0);
    newNation_->clear();
    newNation_->setProperty(kRecordProperty, QVariant());
}

}  // namespace vh::ui
