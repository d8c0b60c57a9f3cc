#include "player_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVariant>
#include <cstring>
#include <optional>
#include <span>
#include <stdexcept>

#include "database/errors.h"
#include "database/squad.h"
#include "dialogs/NEdit.h"
#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"
#include "page_kit.h"

namespace vh::ui {

namespace {
using db::ClubRecord;
using db::PlayerRecord;
using db::StaffRecord;

// The player page's own fields of the person record; the shared ones are kPlayerPersonRows.
constexpr NumberRow kValueRows[] = {
    {"PlayerValue", "Value", StaffRecord::Value, 0, 50000000},
};
constexpr const char* kSquadItems[] = {"First Squad", "Reserve Squad"};
constexpr ComboRow kSquadRows[] = {{"PlayerSquad", "Squad", StaffRecord::Squad, kSquadItems}};

// The player record, by tab.
constexpr NumberRow kAbilityRows[] = {
    {"PlayerCurrentABility", "Current Ability", PlayerRecord::CurrentAbility, 0, 200},
    {"PlayerPotentialAbility", "Potential Ability", PlayerRecord::PotentialAbility, 0, 200},
    {"PlayerHomeReputation", "Home Reputation", PlayerRecord::HomeReputation, 0, 200},
    {"PlayerCurrentReputation", "Current Reputation", PlayerRecord::CurrentReputation, 0, 200},
    {"PlayerWorldReputation", "World Reputation", PlayerRecord::WorldReputation, 0, 200},
};
constexpr NumberRow kPositionRows[] = {
    {"PlayerGoalkeeper", "GoalKeeper", PlayerRecord::Goalkeeper, 0, 20},
    {"PlayerSweeper", "Sweeper", PlayerRecord::Sweeper, 0, 20},
    {"PlayerDefender", "Defender", PlayerRecord::Defender, 0, 20},
    {"PlayerDMidfielder", "Defensive Midfielder", PlayerRecord::DefensiveMidfielder, 0, 20},
    {"PlayerMidfielder", "Midfielder", PlayerRecord::Midfielder, 0, 20},
    {"PlayerAMidfielder", "Attacking Midfielder", PlayerRecord::AttackingMidfielder, 0, 20},
    {"PlayerAttacker", "Attacker", PlayerRecord::Attacker, 0, 20},
    {"PlayerWingBack", "Wing Back", PlayerRecord::WingBack, 0, 20},
    {"PlayerRightSide", "Right Sided", PlayerRecord::RightSide, 0, 20},
    {"PlayerLeftSide", "Left Sided", PlayerRecord::LeftSide, 0, 20},
    {"PlayerCentral", "Central", PlayerRecord::Central, 0, 20},
    {"PlayerFreeRole", "Free Role", PlayerRecord::FreeRole, 0, 20},
};
constexpr NumberRow kVisionRows[] = {
    {"PlayerVision", "Vision", PlayerRecord::Vision, 0, 20},
    {"PlayerWorkRate", "Workrate", PlayerRecord::WorkRate, 0, 20},
};
constexpr NumberRow kAttributeRows[] = {
    {"PlayerAcceleration", "Acceleration", PlayerRecord::Acceleration, 0, 20},
    {"PlayerAggression", "Aggression", PlayerRecord::Aggression, 0, 20},
    {"PlayerAgility", "Agility", PlayerRecord::Agility, 0, 20},
    {"PlayerAnticipation", "Anticipation", PlayerRecord::Anticipation, 0, 20},
    {"PlayerBalance", "Balance", PlayerRecord::Balance, 0, 20},
    {"PlayerBravery", "Bravery", PlayerRecord::Bravery, 0, 20},
    {"PlayerConsistency", "Consistency", PlayerRecord::Consistency, 0, 20},
    {"PlayerCorners", "Corners", PlayerRecord::Corners, 0, 20},
    {"PlayerCrossing", "Crossing", PlayerRecord::Crossing, 0, 20},
    {"PlayerDecisions", "Decisions", PlayerRecord::Decisions, 0, 20},
    {"PlayerDirtiness", "Dirtiness", PlayerRecord::Dirtiness, 0, 20},
    {"PlayerDribbling", "Dribbling", PlayerRecord::Dribbling, 0, 20},
    {"PlayerFinishing", "Finishing", PlayerRecord::Finishing, 0, 20},
    {"PlayerFlair", "Flair", PlayerRecord::Flair, 0, 20},
    {"PlayerFreeKicks", "Free Kicks", PlayerRecord::FreeKicks, 0, 20},
    {"PlayerHandling", "Handling", PlayerRecord::Handling, 0, 20},
    {"PlayerHeading", "Heading", PlayerRecord::Heading, 0, 20},
    {"PLayerImpMatches", "Important Matches", PlayerRecord::ImportantMatches, 0, 20},
    {"PlayerInjProneness", "Injury Proneness", PlayerRecord::InjuryProneness, 0, 20},
    {"PlayerJumping", "Jumping", PlayerRecord::Jumping, 0, 20},
    {"PLayerLeadership", "Leadership", PlayerRecord::Leadership, 0, 20},
    {"PlayerLeftFoot", "Left Foot", PlayerRecord::LeftFoot, 0, 20},
    {"PlayerLongSHots", "Long Shots", PlayerRecord::LongShots, 0, 20},
    {"PlayerMarking", "Marking", PlayerRecord::Marking, 0, 20},
    {"PlayerMovement", "Movement", PlayerRecord::Movement, 0, 20},
    {"PlayerFitness", "Fitness", PlayerRecord::NaturalFitness, 0, 20},
    {"PlayerOneOnOnes", "1 on 1's", PlayerRecord::OneOnOnes, 0, 20},
    {"PLayerPace", "Pace", PlayerRecord::Pace, 0, 20},
    {"PlayerPassing", "Passing", PlayerRecord::Passing, 0, 20},
    {"PlayerPenalties", "Penalties", PlayerRecord::Penalties, 0, 20},
    {"PlayerPositioning", "Positioning", PlayerRecord::Positioning, 0, 20},
    {"PlayerReflexes", "Reflexes", PlayerRecord::Reflexes, 0, 20},
    {"PlayerRightFoot", "Right Foot", PlayerRecord::RightFoot, 0, 20},
    {"PlayerStamina", "Stamina", PlayerRecord::Stamina, 0, 20},
    {"PLayerStrength", "Strength", PlayerRecord::Strength, 0, 20},
    {"PLayerTackling", "Tackling", PlayerRecord::Tackling, 0, 20},
    {"PLayerTeamWork", "Team Work", PlayerRecord::Teamwork, 0, 20},
    {"PLayerTechnique", "Technique", PlayerRecord::Technique, 0, 20},
    {"PLayerThrowins", "Throw Ins", PlayerRecord::ThrowIns, 0, 20},
    {"PLayerVersatility", "Versatility", PlayerRecord::Versatility, 0, 20},
};
static_assert(std::size(kAttributeRows) == 40);
constexpr NumberRow kSquadNumberRows[] = {
    {"PlayerSquadNumber", "Squad Number", PlayerRecord::SquadNumber, 1, 50},
};

const QString kFreeTransfer = QStringLiteral("Free Transfer");

// The shared person rows, placed on this page's tabs by their names.
template <class Row>
const Row& ByName(std::span<const Row> rows, const char* name) {
    for (const Row& r : rows)
        if (std::strcmp(r.name, name) == 0) return r;
    throw std::logic_error(std::string("no person row named ") + name);
}
const NumberRow& PersonNumber(const char* name) {
    return ByName(kPlayerPersonRows.numbers, name);
}
const RefRow& PersonRef(const char* name) {
    return ByName(kPlayerPersonRows.refs, name);
}
const ListRow& PersonList(const char* name) {
    return ByName(kPlayerPersonRows.lists, name);
}
const DateRow& PersonDate(const char* dayName) {
    for (const DateRow& r : kPlayerPersonRows.dates)
        if (std::strcmp(r.dayName, dayName) == 0) return r;
    throw std::logic_error(std::string("no person date named ") + dayName);
}

TNEdit* NumberField(QWidget* parent, const char* name, int min, int max, int maxLength) {
    auto* e = new TNEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->SetMinNo(min);
    e->SetMaxNo(max);
    if (maxLength > 0) e->setMaxLength(maxLength);
    e->setMaximumWidth(90);
    return e;
}
TNEdit* MakeRange(PageGrid& g, const char* name, const char* caption, int min, int max,
                  int maxLength) {
    TNEdit* e = NumberField(g.Page(), name, min, max, maxLength);
    g.Add(QString::fromLatin1(caption), e);
    return e;
}
// A date's day (0..31) and month (0..12) fields.
void MakeDate(PageGrid& g, const DateRow& d) {
    MakeRange(g, d.dayName, d.dayCaption, 0, 31, d.maxLength);
    MakeRange(g, d.monthName, d.monthCaption, 0, 12, d.maxLength);
}

// Caption-and-number pairs filled down columns of `rows` lines, so that each column holds one
// group of attributes and the captions of a column share their width.
class ColumnGrid {
  public:
    ColumnGrid(QWidget* page, int rows) : page_(page), grid_(new QGridLayout(page)), rows_(rows) {
        grid_->setContentsMargins(6, 6, 6, 6);
        grid_->setHorizontalSpacing(4);
        grid_->setVerticalSpacing(4);
        grid_->setRowStretch(rows, 1);
    }
    void Add(const NumberRow& row) {
        TNEdit* e = NumberField(page_, row.name, row.min, row.max, row.maxLength);
        auto* label = new QLabel(QString::fromLatin1(row.caption), page_);
        label->setObjectName(e->objectName() + QStringLiteral("Label"));
        label->setBuddy(e);
        grid_->addWidget(label, row_, 2 * col_, Qt::AlignRight | Qt::AlignVCenter);
        grid_->addWidget(e, row_, 2 * col_ + 1);
        grid_->setColumnStretch(2 * col_ + 1, 1);
        if (++row_ == rows_) NextColumn();
    }
    void Add(std::span<const NumberRow> rows) {
        for (const NumberRow& r : rows) Add(r);
    }
    void NextColumn() {
        if (row_ == 0) return;
        row_ = 0;
        ++col_;
    }

  private:
    QWidget* page_;
    QGridLayout* grid_;
    int rows_;
    int row_ = 0;
    int col_ = 0;
};

// A tab whose grid scrolls rather than being cut where the window's font is wider than planned.
QWidget* ScrollingTab(QWidget* content) {
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

// A tab page in the window's colours.
QWidget* NewTab(const char* name) {
    auto* tab = new QWidget;
    tab->setObjectName(QString::fromLatin1(name));
    tab->setAutoFillBackground(true);
    return tab;
}

QString ShortNameOf(const ClubRecord& club) {
    return FromCp1252(club.Get(ClubRecord::ShortName));
}

}  // namespace

TPlayerPage::TPlayerPage(PageContext& context, QWidget* parent)
    : TPersonPage(context), panel_(MakeTabPanel(parent, "PlayerPanel")) {
    panel_->addTab(BuildInfoTab(), QStringLiteral("Player Info"));
    panel_->addTab(BuildAttributesTab1(), QStringLiteral("Player Attributes 1"));
    panel_->addTab(BuildAttributesTab2(), QStringLiteral("Player Attributes 2"));
    panel_->addTab(BuildContractTab(), QStringLiteral("Player Contract And Transfer"));
    panel_->addTab(BuildFavouritesTab(), QStringLiteral("Favs and Dislikes"));
    BindPerson(panel_, kPlayerPersonRows);
    staff_.Resolve(panel_, ctx_.markChanged, kValueRows);
    staff_.Resolve(panel_, ctx_.markChanged, std::span<const ComboRow>(kSquadRows));
    for (std::span<const NumberRow> rows :
         {std::span<const NumberRow>(kSquadNumberRows), std::span<const NumberRow>(kAbilityRows),
          std::span<const NumberRow>(kPositionRows), std::span<const NumberRow>(kVisionRows),
          std::span<const NumberRow>(kAttributeRows)})
        player_.Resolve(panel_, ctx_.markChanged, rows);

    // A typed club is looked up by its name; only a pick that the text still shows is used.
    QObject::connect(newClub_, &QLineEdit::textChanged, newClub_,
                     [this] { newClub_->setProperty(kRecordProperty, QVariant()); });
    for (QPushButton* b : {transferPlayer_, freeTransfer_})
        QObject::connect(b, &QPushButton::clicked, b, [this, b] {
            Guarded(ctx_.window, [this, b] { TransferPlayerClick(b); });
        });
}

QWidget* TPlayerPage::BuildInfoTab() {
    QWidget* tab = NewTab("PlayerInfoTab");
    PageGrid g(tab, 2);
    playerId_ = MakeIdField(g, "PlayerId1", "Id");
    MakeNumber(g, kValueRows[0]);
    MakeReference(g, "PlayerFirstName", PersonRef("PlayerFirstName").caption, "FirstNameChange");
    MakeReference(g, "PlayerSecondName", PersonRef("PlayerSecondName").caption, "SecondNameCHange");
    MakeReference(g, "PlayerCommonName", PersonRef("PlayerCommonName").caption, "CommonNameCHange");
    auto* squad = new QComboBox(tab);
    squad->setObjectName(QString::fromLatin1(kSquadRows[0].name));
    for (const char* item : kSquadItems) squad->addItem(QString::fromLatin1(item));
    squad->setMaximumWidth(160);
    g.Add(QString::fromLatin1(kSquadRows[0].caption), squad);
    MakeReference(g, "PlayerNation", PersonRef("PlayerNation").caption, "PlayerNationChange");
    MakeReference(g, "PlayerSecondNation", PersonRef("PlayerSecondNation").caption,
                  "PlayerSecondNationChange");
    MakeDate(g, PersonDate("PlayerDayOB"));
    MakeNumber(g, PersonNumber("PlayerYearOB"));
    g.NextRow();
    MakeNumber(g, PersonNumber("PlayerIntCaps"));
    MakeNumber(g, PersonNumber("PlayerIntGoals"));
    AddFieldArea(tab);
    return tab;
}

QWidget* TPlayerPage::BuildAttributesTab1() {
    QWidget* tab = NewTab("PlayerAttributes1Tab");
    // Abilities, positions, then personality: a column each.
    ColumnGrid g(tab, 8);
    g.Add(kAbilityRows);
    g.NextColumn();
    g.Add(kPositionRows);
    g.Add(kVisionRows);
    g.NextColumn();
    for (const char* name :
         {"PlayerAdaptability", "PlayerAmbition", "PlayerDetermination", "PlayerLoyalty",
          "PlayerPressure", "PlayerProfessionalism", "PlayerSportsmanship", "PlayerTemperament"})
        g.Add(PersonNumber(name));
    AddFieldArea(tab);
    return ScrollingTab(tab);
}

QWidget* TPlayerPage::BuildAttributesTab2() {
    QWidget* tab = NewTab("PlayerAttributes2Tab");
    ColumnGrid g(tab, 8);
    g.Add(kAttributeRows);
    AddFieldArea(tab);
    return ScrollingTab(tab);
}

QWidget* TPlayerPage::BuildContractTab() {
    QWidget* tab = NewTab("PlayerContractTab");
    PageGrid g(tab, 3);
    MakeDate(g, PersonDate("PlayerDJoinedClub"));
    MakeNumber(g, PersonNumber("PlayerYJoinedClub"));
    MakeDate(g, PersonDate("PlayerDContractExp"));
    MakeNumber(g, PersonNumber("PlayerYCOntractExp"));
    MakeNumber(g, PersonNumber("PlayerWage"));
    MakeNumber(g, kSquadNumberRows[0]);
    g.NextRow();

    // The current club changes only through a transfer; the new club only feeds one.
    currentClub_ = new QLineEdit(tab);
    currentClub_->setObjectName(QStringLiteral("PlayerCurrentClub"));
    currentClub_->setReadOnly(true);
    currentClub_->setMaximumWidth(200);
    g.Add(QStringLiteral("Current Club"), currentClub_, 2);
    g.NextRow();
    auto* box = new QWidget(tab);
    box->setObjectName(QStringLiteral("PlayerNewClubBox"));
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    newClub_ = new QLineEdit(box);
    newClub_->setObjectName(QStringLiteral("PlayerNewClub"));
    newClub_->setMaxLength(static_cast<int>(ClubRecord::ShortName.width));
    auto* change = new QPushButton(QStringLiteral("Change"), box);
    change->setObjectName(QStringLiteral("PlayerNewClubChange"));
    change->setToolTip(QStringLiteral("Choose the club to transfer the player to"));
    change->setFixedWidth(change->fontMetrics().horizontalAdvance(change->text()) + 12);
    change->setFocusPolicy(Qt::TabFocus);
    h->addWidget(newClub_, 1);
    h->addWidget(change);
    box->setMaximumWidth(260);
    g.Add(QStringLiteral("NewClub"), box, 2);
    g.NextRow();

    auto* buttons = new QWidget(tab);
    buttons->setObjectName(QStringLiteral("PlayerTransferButtonsBox"));
    auto* hb = new QHBoxLayout(buttons);
    hb->setContentsMargins(0, 0, 0, 0);
    transferPlayer_ = new QPushButton(QStringLiteral("Transfer Player"), buttons);
    transferPlayer_->setObjectName(QStringLiteral("TransferPlayer"));
    freeTransfer_ = new QPushButton(QStringLiteral("Make Free Agent"), buttons);
    freeTransfer_->setObjectName(QStringLiteral("FreeTransfer"));
    hb->addWidget(transferPlayer_);
    hb->addWidget(freeTransfer_);
    hb->addStretch(1);
    g.AddAlone(buttons, 2);
    AddFieldArea(tab);
    return tab;
}

QWidget* TPlayerPage::BuildFavouritesTab() {
    QWidget* tab = NewTab("PlayerFavouritesTab");
    PageGrid g(tab, 2);
    struct ListPart {
        const char* name;
        const char* button;
    };
    for (const ListPart& l : {ListPart{"PlayerFavClubs", "PlayerFavClubCHange"},
                              ListPart{"PlayerDisClubs", "PLayerDisClubChange"},
                              ListPart{"PlayerFavStaff", "PlayerFavStaffChange"},
                              ListPart{"PlayerDisStaff", "PLayerDisStaffChange"}}) {
        const ListRow& row = PersonList(l.name);
        MakeList(g, row.name, row.caption, l.button, static_cast<int>(row.count));
    }
    AddFieldArea(tab);
    return tab;
}

QWidget* TPlayerPage::Panel() const {
    return panel_;
}

void TPlayerPage::Clear() {
    person_.Clear();
    staff_.Clear();
    player_.Clear();
    playerId_->clear();
    currentClub_->clear();
    newClub_->clear();
    SetHasRecord(false);
}

// Both records of a person are read before either replaces the current one, so a person without
// a player record never leaves the page showing one person while the buffers hold another.
void TPlayerPage::PlayerSearch(const QString& text) {
    const std::optional<db::StaffRecord> person = ReadPerson(text);
    if (!person) return;
    db::BlockPlace place;
    const db::PlayerRecord player = db::GetPlayerData(
        Session().dataPath, person->Get(db::StaffRecord::PlayerIndex), place, Session().scratch);
    const db::StaffRecord previousStaff = StaffRec;
    const db::PlayerRecord previousPlayer = PlayerRec;
    StaffRec = *person;
    PlayerRec = player;
    try {
        ShowPlayerStats();
    } catch (...) {
        // The page still shows the previous player.
        StaffRec = previousStaff;
        PlayerRec = previousPlayer;
        throw;
    }
    PlayerPlace = place;
}

void TPlayerPage::ShowPlayerStats() {
    RowContext rows(Session());
    // Every read comes before the first control changes: the current club, then the rows (whose
    // Show reads everything before it fills anything; the page's own rows read no file).
    const std::int32_t club = StaffRec.Get(StaffRecord::Club);
    QString clubText = kFreeTransfer;
    if (club >= 0) {
        db::RecordFile& clubs = Files().club;
        clubs.Reset(ClubRecord::kSize);
        if (club < clubs.RecordCount()) {
            clubText = ShortNameOf(ReadRecord<ClubRecord>(clubs, club));
        } else {
            clubText = MissingText(club);
            rows.missing << QStringLiteral("Current Club: club.dat has no record %1").arg(club);
        }
    }
    person_.Show(StaffRec.data(), rows);
    staff_.Show(StaffRec.data(), rows);
    player_.Show(PlayerRec.data(), rows);
    playerId_->setText(QString::number(StaffRec.Get(StaffRecord::Id)));
    currentClub_->setText(clubText);
    currentClub_->setCursorPosition(0);
    // Transfers write at once: data loaded read-only offer none.
    for (QPushButton* b : {transferPlayer_, freeTransfer_}) b->setEnabled(!ctx_.readOnly());
    SetHasRecord(true);
    number_ = StaffRec.Get(StaffRecord::Id);
    ReportMissing(rows.missing);
}

void TPlayerPage::PlayerSave() {
    if (!HasRecord() || ctx_.readOnly()) return;
    // Every field is converted and looked up into copies first; a failure changes nothing.
    RowContext rows(Session());
    StaffRecord staff = StaffRec;
    PlayerRecord player = PlayerRec;
    person_.Save(staff.data(), rows);
    staff_.Save(staff.data(), rows);
    player_.Save(player.data(), rows);

    SavePerson(staff, "Player", [&](db::WriteSet& set) {
        db::PutPlayerData(Session().dataPath, player, PlayerPlace, Session().scratch, set);
    });
    PlayerRec = player;
    // What the page shows is now what the files hold: a field changed back is a change again.
    person_.Saved(StaffRec.data());
    staff_.Saved(StaffRec.data());
    player_.Saved(PlayerRec.data());
}

void TPlayerPage::TransferPlayerClick(QPushButton* sender) {
    if (!HasRecord() || ctx_.readOnly()) return;
    const std::int32_t newClub =
        sender == freeTransfer_ ? -1 : MoveTarget(newClub_, Files().club, db::kClubShortName);

    // Every read and check comes before the first write.
    const MoveInput in = ReadMove(newClub);
    const db::MoveResult move =
        db::TransferPlayer(in.person, newClub, in.Left(), in.joined ? &*in.joined : nullptr);
    if (move.refusal) {
        ShowMessage(ctx_.window, QStringLiteral("Transfer Player"),
                    QString::fromStdString(*move.refusal), Buttons::kOk, Icon::kWarning);
        return;
    }
    const QString shown = newClub >= 0 ? ShortNameOf(*in.Joined()) : kFreeTransfer;
    WriteMove(move, newClub >= 0 ? "Transfer" : "Release");
    currentClub_->setText(shown);
    currentClub_->setCursorPosition(0);
    newClub_->clear();
}

}  // namespace vh::ui
