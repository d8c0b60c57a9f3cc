#include "editor/pages/player_page.h"

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
#include <optional>
#include <string_view>

#include "database/model/squad.h"
#include "database/records/errors.h"
#include "dialogs/change.h"
#include "dialogs/change_codes.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "dialogs/theme.h"
#include "editor/pages/page_kit.h"

namespace vh::ui {

namespace {
using db::ClubRecord;
using db::PlayerRecord;
using db::StaffRecord;

const QString kFreeTransfer = QStringLiteral("Free Transfer");

// Caption-and-field pairs filled down columns of `rows` lines, so that each column holds one
// group of attributes and the captions of a column share their width.
class ColumnGrid : public FieldLayout {
  public:
    ColumnGrid(QWidget* page, int rows) : page_(page), grid_(new QGridLayout(page)), rows_(rows) {
        grid_->setContentsMargins(6, 6, 6, 6);
        grid_->setHorizontalSpacing(4);
        grid_->setVerticalSpacing(4);
        grid_->setRowStretch(rows, 1);
    }
    QWidget* Page() const override { return page_; }
    void Add(const QString& caption, QWidget* field, int) override {
        auto* label = new QLabel(caption, page_);
        label->setObjectName(field->objectName() + QStringLiteral("Label"));
        label->setBuddy(field);
        grid_->addWidget(label, row_, 2 * col_, Qt::AlignRight | Qt::AlignVCenter);
        grid_->addWidget(field, row_, 2 * col_ + 1);
        grid_->setColumnStretch(2 * col_ + 1, 1);
        if (++row_ == rows_) NextColumn();
    }
    void AddAlone(QWidget* field, int span) override { Add(QString(), field, span); }
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
    : TPersonPage(context, db::TableId::kPlayers), panel_(MakeTabPanel(parent, "PlayerPanel")) {
    panel_->addTab(BuildInfoTab(), QStringLiteral("Player Info"));
    panel_->addTab(BuildAttributesTab1(), QStringLiteral("Player Attributes 1"));
    panel_->addTab(BuildAttributesTab2(), QStringLiteral("Player Attributes 2"));
    panel_->addTab(BuildContractTab(), QStringLiteral("Player Contract And Transfer"));
    panel_->addTab(BuildFavouritesTab(), QStringLiteral("Favs and Dislikes"));

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
    for (const char* name :
         {"PlayerValue", "PlayerFirstName", "PlayerSecondName", "PlayerCommonName", "PlayerSquad",
          "PlayerNation", "PlayerSecondNation", "PlayerDayOB", "PLayerMonthOB", "PlayerYearOB"})
        rows_.Make(g, name);
    g.NextRow();
    rows_.Make(g, "PlayerIntCaps");
    rows_.Make(g, "PlayerIntGoals");
    AddFieldArea(tab);
    return tab;
}

// Abilities, positions, then personality: a column each, in the catalogue's order of the tab.
QWidget* TPlayerPage::BuildAttributesTab1() {
    QWidget* tab = NewTab("PlayerAttributes1Tab");
    ColumnGrid g(tab, 8);
    for (const db::Field& f : db::TableOf(db::TableId::kPlayers).fields) {
        if (std::string_view(f.tab) != "Player Attributes 1") continue;
        if (std::string_view(f.name) == "PlayerGoalkeeper" ||
            std::string_view(f.name) == "PlayerAdaptability")
            g.NextColumn();
        rows_.Make(g, f.name);
    }
    AddFieldArea(tab);
    return ScrollingTab(tab);
}

QWidget* TPlayerPage::BuildAttributesTab2() {
    QWidget* tab = NewTab("PlayerAttributes2Tab");
    ColumnGrid g(tab, 8);
    for (const db::Field& f : db::TableOf(db::TableId::kPlayers).fields)
        if (std::string_view(f.tab) == "Player Attributes 2") rows_.Make(g, f.name);
    AddFieldArea(tab);
    return ScrollingTab(tab);
}

QWidget* TPlayerPage::BuildContractTab() {
    QWidget* tab = NewTab("PlayerContractTab");
    PageGrid g(tab, 3);
    for (const char* name :
         {"PlayerDJoinedClub", "PlayerMJoinedCLub", "PlayerYJoinedClub", "PlayerDContractExp",
          "PlayerMContractExp", "PlayerYCOntractExp", "PlayerWage", "PlayerSquadNumber"})
        rows_.Make(g, name);
    g.NextRow();

    // The current club changes only through a transfer; the new club only feeds one.
    currentClub_ = rows_.Make<QLineEdit>(g, "PlayerCurrentClub", 2);
    currentClub_->setMaximumWidth(200);
    g.NextRow();
    auto* box = new QWidget(tab);
    box->setObjectName(QStringLiteral("PlayerNewClubBox"));
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    newClub_ = new QLineEdit(box);
    newClub_->setObjectName(QStringLiteral("PlayerNewClub"));
    newClub_->setMaxLength(static_cast<int>(ClubRecord::ShortName.width));
    h->addWidget(newClub_, 1);
    h->addWidget(MakeChangeButton(box, ChangeCodeFor("PlayerNewClub")->button.data(),
                                  QStringLiteral("Choose the club to transfer the player to")));
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
    for (const char* name :
         {"PlayerFavClubs", "PlayerDisClubs", "PlayerFavStaff", "PlayerDisStaff"})
        rows_.Make(g, name);
    AddFieldArea(tab);
    return tab;
}

QWidget* TPlayerPage::Panel() const {
    return panel_;
}

void TPlayerPage::Clear() {
    rows_.Clear();
    playerId_->clear();
    newClub_->clear();
    SetHasRecord(false);
}

void TPlayerPage::PlayerSearch(const QString& text) {
    SearchPerson(text, PlayerRec, PlayerPlace, &db::GetPlayerData, StaffRecord::PlayerIndex,
                 [this] { ShowPlayerStats(); });
}

void TPlayerPage::ShowPlayerStats() {
    // The rows read everything before they fill the first control.
    RowContext rows(Session());
    rows_.Show(StaffRec.data(), PlayerRec.data(), rows);
    // Transfers write at once: data loaded read-only offer none.
    for (QPushButton* b : {transferPlayer_, freeTransfer_}) b->setEnabled(!ctx_.readOnly());
    Shown(playerId_, rows.missing);
}

void TPlayerPage::PlayerSave() {
    if (!HasRecord() || ctx_.readOnly()) return;
    // Every field is converted and looked up into copies first; a failure changes nothing.
    RowContext rows(Session());
    StaffRecord staff = StaffRec;
    PlayerRecord player = PlayerRec;
    rows_.Save(staff.data(), player.data(), rows);

    SavePerson(staff, "Player", [&](db::WriteSet& set) {
        db::PutPlayerData(Session().dataPath, player, PlayerPlace, Session().scratch, set,
                          &PlayerRec);
    });
    PlayerRec = player;
    // What the page shows is now what the files hold: a field changed back is a change again.
    rows_.Saved(StaffRec.data(), PlayerRec.data());
}

void TPlayerPage::TransferPlayerClick(QPushButton* sender) {
    if (!HasRecord() || ctx_.readOnly()) return;
    const std::int32_t newClub =
        sender == freeTransfer_ ? -1 : MoveTarget(newClub_, Files().club, db::kClubShortName);

    // Every read and check comes before the first write, under the folder's lock.
    const db::WriteLock lock(Session().dataPath);
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
