#include "editor/pages/staff_page.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVariant>
#include <tuple>
#include <utility>

#include "database/model/squad.h"
#include "database/records/reference.h"
#include "dialogs/change.h"
#include "dialogs/change_codes.h"
#include "dialogs/guard.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "editor/pages/page_kit.h"

namespace vh::ui {

namespace {
using db::ClubRecord;
using db::NationRecord;
using db::StaffRecord;

// The club display after a release, as the release words it.
const QString kReleasedFromClub = QStringLiteral("Free Tansfer");

QString EmptyMarker() {
    return QString::fromLatin1(db::kEmptyMarker.data(),
                               static_cast<qsizetype>(db::kEmptyMarker.size()));
}

}  // namespace

TStaffPage::TStaffPage(PageContext& context, QWidget* parent)
    : TPersonPage(context, db::TableId::kStaff), panel_(MakeTabPanel(parent, "NonPLayerPanel")) {
    BuildStaffInfo();
    BuildAttributes1();
    BuildAttributes2();
    BuildContract();
    BuildFavourites();

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
    rows_.Make(g, "NonPlayerFirstName");
    rows_.Make(g, "NonPlayerSecondName");
    rows_.Make(g, "NonPlayerCommonName");
    id_ = MakeIdField(g, "NonPlayerId1", "Id");
    for (const char* name :
         {"NonPlayerNation", "NonPlayerSecondNation", "NonPlayerDayOB", "NonPlayerMonthOB",
          "NonPlayerYearOB", "NonPlayerIntCaps", "NonPlayerIntGoals"})
        rows_.Make(g, name);
}

// The fields of a tab in the catalogue's order; `before` starts a row of its own.
void TStaffPage::MakeTab(PageGrid& g, const char* tab, const char* before, int width) {
    for (const db::Field& f : db::TableOf(db::TableId::kStaff).fields) {
        if (std::string_view(f.tab) != tab) continue;
        if (before && std::string_view(f.name) == before) g.NextRow();
        QWidget* field = rows_.Make(g, f.name);
        if (width) field->setMaximumWidth(width);
    }
}

void TStaffPage::BuildAttributes1() {
    PageGrid g(AddTab("NonPlayerAttributes1Tab", "Staff Attributes 1"), 4);
    MakeTab(g, "Staff Attributes 1", nullptr, 34);
}

void TStaffPage::BuildAttributes2() {
    PageGrid g(AddTab("NonPlayerAttributes2Tab", "Staff Attrinutes 2"), 3);
    MakeTab(g, "Staff Attrinutes 2", "NonPlayerGoalkeeper", 0);
}

// The contract fields down the left, the nation and club moves down the right.
void TStaffPage::BuildContract() {
    PageGrid g(AddTab("NonPlayerContractTab", "Staff Contract + Transfer"), 2);
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
    // What a move goes to: a field of its own, changed through the picker or typed.
    auto target = [&](const char* name, const char* caption) {
        return MakeReference(g, name, caption, ChangeCodeFor(name)->button.data());
    };

    rows_.Make(g, "NonPlayerWage");
    currentNation_ = rows_.Make<QLineEdit>(g, "NonPlayerCurrentNation");
    rows_.Make(g, "NonPlayerDayContractExp");
    newNation_ = target("NonPlayerNewNation", "New Nation");
    rows_.Make(g, "NonPlayerMonthContractExp");
    std::tie(nationTransfer_, nationRelease_) =
        buttons("NonPlayerNationTransfer", "NonPlayerNationRelease", "Release Staff From Nation");
    rows_.Make(g, "NonPlayerYearContractExp");
    currentClub_ = rows_.Make<QLineEdit>(g, "NonPlayerCurrentClub");
    rows_.Make(g, "NonPlayerDayJoinedClub");
    newClub_ = target("NonPlayerNewClub", "New Club");
    rows_.Make(g, "NonPlayerMonthJoinedClub");
    std::tie(clubTransfer_, clubRelease_) =
        buttons("NonPlayerClubTransfer", "NonPlayerClubRelease", "Release Staff From Club");
    rows_.Make(g, "NonPlayerYearJoinedClub");
}

void TStaffPage::BuildFavourites() {
    PageGrid g(AddTab("NonPlayerFavouritesTab", "Favs + Dislikes"), 2);
    for (const char* name :
         {"NonPlayerFavStaff", "NonPlayerFavClubs", "NonPlayerDisClubs", "NonPlayerDisStaff"})
        rows_.Make(g, name);
}

QWidget* TStaffPage::Panel() const {
    return panel_;
}

void TStaffPage::Clear() {
    rows_.Clear();
    for (QLineEdit* e : {id_, newNation_, newClub_}) {
        e->clear();
        e->setProperty(kRecordProperty, QVariant());
    }
    SetHasRecord(false);
}

void TStaffPage::NonPlayerSearch(const QString& text) {
    SearchPerson(text, NonPlayerRec, NonPlayerPlace, &db::GetNonPlayerData,
                 StaffRecord::NonPlayerIndex, [this] { ShowNonPlayerStats(); });
}

void TStaffPage::ShowNonPlayerStats() {
    // The rows read everything before they fill the first control.
    RowContext rows(Session());
    rows_.Show(StaffRec.data(), NonPlayerRec.data(), rows);
    // Moves write at once: data loaded read-only offer none.
    for (QPushButton* b : {nationTransfer_, nationRelease_, clubTransfer_, clubRelease_})
        b->setEnabled(!ctx_.readOnly());
    Shown(id_, rows.missing);
}

void TStaffPage::NonPlayerSave() {
    if (!HasRecord()) return;
    RowContext rows(Session());
    db::StaffRecord person = StaffRec;
    db::NonPlayerRecord staff = NonPlayerRec;
    rows_.Save(person.data(), staff.data(), rows);

    SavePerson(person, "Staff", [&](db::WriteSet& set) {
        db::PutNonPlayerData(Session().dataPath, staff, NonPlayerPlace, Session().scratch, set,
                             &NonPlayerRec);
    });
    NonPlayerRec = staff;
    // What the page shows is now what the files hold: a field changed back is a change again.
    rows_.Saved(StaffRec.data(), NonPlayerRec.data());
}

bool TStaffPage::CanMove() const {
    return HasRecord() && !ctx_.readOnly();
}

void TStaffPage::NonPlayerClubTransferClick(QObject* sender) {
    if (!CanMove()) return;
    db::RecordFile& clubs = Files().club;
    const std::int32_t target =
        sender == clubTransfer_ ? MoveTarget(newClub_, clubs, db::kClubShortName) : -1;

    // Every record the move needs is read before anything is written, under the folder's lock.
    const db::WriteLock lock(Session().dataPath);
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
