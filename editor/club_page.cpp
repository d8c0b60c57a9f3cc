#include "club_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "page_kit.h"

namespace vh::ui {

namespace {
using db::ClubRecord;

constexpr TextRow kTexts[] = {
    {"ClubLName", "Long Name", ClubRecord::LongName},
    {"ClubSName", "Short Name", ClubRecord::ShortName},
};
constexpr NumberRow kNumbers[] = {
    {"ClubCash", "Cash", ClubRecord::Cash, 0, 50000000},
    {"ClubReputation", "Reputation", ClubRecord::Reputation, 0, 10000},
    {"ClubTraining", "Training", ClubRecord::Training, 0, 20},
    {"ClubAvgAtt", "Average Attendance", ClubRecord::AverageAttendance, 0, 5000000},
    {"ClubMinAtt", "Minimum Attendance", ClubRecord::MinimumAttendance, 0, 5000000},
    {"ClubMaxAtt", "Maximum Attendance", ClubRecord::MaximumAttendance, 0, 5000000},
};
constexpr RefRow kRefs[] = {
    {"ClubNation", "Nation", ClubRecord::Nation, kToNation},
    {"ClubDivision", "Division", ClubRecord::Division, kToCompetition},
    {"ClubLDivision", "Last Division", ClubRecord::LastDivision, kToCompetition},
    {"ClubStadium", "Stadium", ClubRecord::Stadium, kToStadium},
    {"ClubRStadium", "Reserve Stadium", ClubRecord::ReserveStadium, kToStadium},
};
// Shown only: appointments change the posts.
constexpr RefRow kPosts[] = {
    {"ClubChairman", "Chairman", ClubRecord::Chairman, kToPerson},
    {"ClubManager", "Manager", ClubRecord::Manager, kToPerson},
    {"ClubAManager", "Assistant Manager", ClubRecord::AssistantManager, kToPerson},
};
// Checked stores 0. Unchecked stores 1, and only when the box was checked: an owner byte of any
// other non-zero value stays as it is.
constexpr CheckRow kChecks[] = {
    {"ClubOwnStadium", "Own Stadium", ClubRecord::OwnStadium, CheckRow::Checked::kWhenZero, 0, 1},
};
// Resolved first, so that a save looks the rivals up before anything else. A rival outside
// club.dat is no rival: it shows "<empty>" and is saved as -1.
constexpr ListRow kRivals[] = {
    {"ClubRivalList", "Rival Clubs", ClubRecord::RivalClubs, kToClub, true},
};
constexpr ListRow kLists[] = {
    {"ClubFavStaff", "Favourite Staff", ClubRecord::FavouriteStaff, kToPerson},
    {"ClubDisStaff", "Disliked Staff", ClubRecord::DislikedStaff, kToPerson},
    // Shown only: transfers and appointments change the squad and the posts.
    {"ClubPlayerList", "Players", ClubRecord::Players, kToPerson},
    {"ClubScoutList", "Scouts", ClubRecord::Scouts, kToPerson},
    {"ClubCoachList", "Coaches", ClubRecord::Coaches, kToPerson},
    {"ClubDirectorList", "Directors", ClubRecord::Directors, kToPerson},
    {"ClubPhysioList", "Physios", ClubRecord::Physios, kToPerson},
};
constexpr const char* kStatuses[] = {"Professional", "Semi - Pro", "Amature"};
constexpr const char* kMatchDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr ComboRow kCombos[] = {
    {"ClubStatus", "Status", ClubRecord::Status, kStatuses},
    {"Clubmatchday", "Reserve Match Day", ClubRecord::ReserveMatchDay, kMatchDays},
};
constexpr ColourRow kColours[] = {
    {"ClubHomeCl1", "Club Home Colour 1", ClubRecord::HomeColour1},
    {"ClubHomeCl2", "Club Home Colour 2", ClubRecord::HomeColour2},
    {"ClubAwayCl1", "Club Away Colour 1", ClubRecord::AwayColour1},
    {"ClubAwayCl2", "Club Away Colour 2", ClubRecord::AwayColour2},
    {"ClubThirdCl1", "Club 3rd Colour 1", ClubRecord::ThirdColour1},
    {"ClubThirdCl2", "Club 3rd Colour 2", ClubRecord::ThirdColour2},
};

// The bytes a club save never changes: the posts and the squad, from the chairman to the last
// physio. Only appointments and transfers write them.
constexpr std::size_t kStaffFrom = ClubRecord::Chairman.offset;
constexpr std::size_t kStaffTo = ClubRecord::Physios.offset + 4 * ClubRecord::Physios.kCount;
static_assert(kStaffFrom == 191 && kStaffTo == 483);

const NumberRow& Number(std::string_view name) {
    for (const NumberRow& r : kNumbers)
        if (name == r.name) return r;
    throw std::logic_error("no number row of that name");
}

// Read-only fields that no button changes, side by side with their captions above them.
void MakeShownRow(QWidget* page, QBoxLayout* into, std::span<const RefRow> rows) {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(8, 6, 8, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    int col = 0;
    for (const RefRow& r : rows) {
        auto* e = new QLineEdit(page);
        e->setObjectName(QString::fromLatin1(r.name));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        auto* label = new QLabel(QString::fromLatin1(r.caption), page);
        label->setObjectName(e->objectName() + QStringLiteral("Label"));
        label->setBuddy(e);
        grid->addWidget(label, 0, col);
        grid->addWidget(e, 1, col);
        grid->setColumnStretch(col++, 1);
    }
    into->addLayout(grid);
}

// A list in `column`: its caption above it, `visible` lines tall (0: as tall as the column
// lets it be), and a small Change button under it when `button` is set.
QListWidget* MakeColumnList(QWidget* page, QVBoxLayout* column, const char* name,
                            const char* caption, int visible, const char* button = nullptr) {
    auto* label = new QLabel(QString::fromLatin1(caption), page);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    auto* list = new QListWidget(page);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    // A long label loses its middle, not the Id at its end.
    list->setTextElideMode(Qt::ElideMiddle);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    label->setBuddy(list);
    const int line = list->fontMetrics().height() + 2;
    if (visible > 0)
        list->setFixedHeight(visible * line + 2 * list->frameWidth() + 2);
    else
        list->setMinimumHeight(3 * line);
    column->addWidget(label);
    column->addWidget(list, visible > 0 ? 0 : 1);
    if (button) {
        auto* b = new QPushButton(QStringLiteral("Change"), page);
        b->setObjectName(QString::fromLatin1(button));
        b->setToolTip(QStringLiteral("Choose another entry for the selected line"));
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 12);
        b->setFocusPolicy(Qt::TabFocus);
        column->addWidget(b, 0, Qt::AlignLeft);
    }
    return list;
}

// Columns side by side, `stretches` giving their shares of the width.
std::vector<QVBoxLayout*> MakeColumns(QBoxLayout* into, std::initializer_list<int> stretches) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(8);
    std::vector<QVBoxLayout*> columns;
    for (int stretch : stretches) {
        auto* c = new QVBoxLayout;
        c->setSpacing(2);
        row->addLayout(c, stretch);
        columns.push_back(c);
    }
    into->addLayout(row, 1);
    return columns;
}

}  // namespace

TClubPage::TClubPage(PageContext& context, QWidget* parent)
    : TPage(context), panel_(MakeTabPanel(parent, "ClubPanel")) {
    {
        PageGrid g(AddTab("Club Info"), 2);
        MakeText(g, kTexts[0], 2);
        MakeText(g, kTexts[1]);
        clubId_ = MakeIdField(g, "ClubID", "Id");
        MakeReference(g, "ClubNation", "Nation", "ClubNationChange");
        MakeCombo(g, kCombos[0]);
        MakeReference(g, "ClubDivision", "Division", "CLubDivisoinChange", 2);
        MakeReference(g, "ClubLDivision", "Last Division", "ClubLDivisionChnage", 2);
        // Shown only: no save stores it, and the documented range of 0..0 would turn any stored
        // position into 0.
        lastPosition_ = MakeIdField(g, "ClubLPosition", "Last Position");
        MakeNumber(g, Number("ClubCash"));
        MakeNumber(g, Number("ClubReputation"));
        MakeNumber(g, Number("ClubTraining"));
        // Which byte a checked box would stand for is unknown: shown only, the byte stays.
        plc_ = new QCheckBox(QStringLiteral("PLC"), g.Page());
        plc_->setObjectName(QStringLiteral("ClubPLC"));
        plc_->setEnabled(false);
        g.AddAlone(plc_);
    }
    {
        PageGrid g(AddTab("Stadium + Kit Info"), 2);
        MakeReference(g, "ClubStadium", "Stadium", "ClubStadiumChange", 2);
        MakeReference(g, "ClubRStadium", "Reserve Stadium", "ClubRStadiumChange", 2);
        MakeCheck(g, kChecks[0]);
        MakeCombo(g, kCombos[1]);
        MakeNumber(g, Number("ClubAvgAtt"));
        MakeNumber(g, Number("ClubMinAtt"));
        MakeNumber(g, Number("ClubMaxAtt"));
        g.NextRow();
        for (const ColourRow& r : kColours) MakeCombo(g, r.name, r.caption);
    }
    {
        QWidget* page = AddTab("Club Staff");
        auto* v = new QVBoxLayout(page);
        v->setContentsMargins(0, 0, 0, 4);
        v->setSpacing(0);
        MakeShownRow(page, v, kPosts);
        const auto c = MakeColumns(v, {4, 3, 3, 3});
        MakeColumnList(page, c[0], "ClubPlayerList", "Players", 0);
        MakeColumnList(page, c[1], "ClubDirectorList", "Directors", 3);
        c[1]->addSpacing(4);
        MakeColumnList(page, c[1], "ClubPhysioList", "Physios", 5);
        MakeColumnList(page, c[2], "ClubCoachList", "Coaches", 5);
        MakeColumnList(page, c[3], "ClubScoutList", "Scouts", 7);
        for (int i = 1; i < 4; ++i) c[i]->addStretch(1);
    }
    {
        QWidget* page = AddTab("Favourites + Dislikes");
        auto* v = new QVBoxLayout(page);
        v->setContentsMargins(0, 4, 0, 0);
        const auto c = MakeColumns(v, {1, 1, 1});
        MakeColumnList(page, c[0], "ClubFavStaff", "Favourite Staff", 3, "FavStaffChange");
        MakeColumnList(page, c[1], "ClubDisStaff", "Disliked Staff", 3, "DisStaffChange");
        MakeColumnList(page, c[2], "ClubRivalList", "Rival Clubs", 3, "RivalClubChange");
        for (QVBoxLayout* col : c) col->addStretch(1);
    }
    // One binding for every row, so that a show reads everything before the first control
    // changes.
    binding_.Resolve(panel_, ctx_.markChanged, {}, {}, {}, {}, {}, kRivals);
    binding_.Resolve(panel_, ctx_.markChanged, kNumbers, kTexts, kRefs, kChecks, {}, kLists);
    binding_.Resolve(panel_, ctx_.markChanged, {}, {}, kPosts);
    binding_.Resolve(panel_, ctx_.markChanged, kCombos, kColours);
}

QWidget* TClubPage::AddTab(const char* title) {
    auto* scroll = new QScrollArea(panel_);
    scroll->setObjectName(QStringLiteral("ClubTab%1").arg(panel_->count() + 1));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* page = new QWidget;
    page->setObjectName(scroll->objectName() + QStringLiteral("Fields"));
    scroll->setWidget(page);
    panel_->addTab(scroll, QString::fromLatin1(title));
    AddFieldArea(page);
    return page;
}

QWidget* TClubPage::Panel() const {
    return panel_;
}

void TClubPage::Clear() {
    binding_.Clear();
    clubId_->clear();
    lastPosition_->clear();
    plc_->setChecked(false);
    SetHasRecord(false);
}

void TClubPage::ClubSearch(const QString& text) {
    const std::optional<std::int64_t> found = FindByName(
        Files().club, ClubRecord::kSize, text, {ClubRecord::LongName, ClubRecord::ShortName});
    MakeCurrent(Files().club, found, ClubRec, [this] { ShowClubStats(); });
}

void TClubPage::ShowClubStats() {
    // The binding reads every reference, the colours and the rivals before the first control
    // changes: a club that cannot be shown leaves the previous one on the page whole.
    RowContext rows(Session());
    binding_.Show(ClubRec.data(), rows);
    clubId_->setText(QString::number(ClubRec.Get(ClubRecord::Id)));
    lastPosition_->setText(QString::number(ClubRec.Get(ClubRecord::LastPosition)));
    plc_->setChecked(ClubRec.Get(ClubRecord::Plc) > 32);
    SetHasRecord(true);
    ReportMissing(rows.missing);
}

void TClubPage::ClubSave() {
    if (number_ < 0) return;
    RowContext rows(Session());
    ClubRec = ReadModifyWrite<ClubRecord>(Files().club, number_, [&](ClubRecord& rec) {
        const ClubRecord stored = rec;
        binding_.Save(rec.data(), rows);
        std::copy(stored.bytes.begin() + kStaffFrom, stored.bytes.begin() + kStaffTo,
                  rec.bytes.begin() + kStaffFrom);
    });
    binding_.Saved(ClubRec.data());
}

std::optional<QString> TClubPage::SearchTextFor(std::int64_t record) {
    return ReachableName<db::ClubRecord>(Files().club, record,
                                         {db::ClubRecord::LongName, db::ClubRecord::ShortName});
}

}  // namespace vh::ui
