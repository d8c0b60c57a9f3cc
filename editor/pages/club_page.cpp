#include "editor/pages/club_page.h"

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
#include <initializer_list>
#include <vector>

#include "dialogs/change_codes.h"
#include "editor/pages/page_kit.h"

namespace vh::ui {

namespace {

// Read-only fields that no button changes, side by side with their captions above them.
void MakeShownRow(QWidget* page, QBoxLayout* into, Binding& b,
                  std::initializer_list<const char*> names) {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(8, 6, 8, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    int col = 0;
    for (const char* name : names) {
        const db::Field& f = b.Field(name);
        auto* e = new QLineEdit(page);
        e->setObjectName(QString::fromLatin1(f.name));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        b.Add(f.name, e);
        auto* label = new QLabel(QString::fromLatin1(f.caption), page);
        label->setObjectName(e->objectName() + QStringLiteral("Label"));
        label->setBuddy(e);
        grid->addWidget(label, 0, col);
        grid->addWidget(e, 1, col);
        grid->setColumnStretch(col++, 1);
    }
    into->addLayout(grid);
}

// A list in `column`: its caption above it, `visible` lines tall (0: as tall as the column
// lets it be), and the small Change button of its picker code under it, if it has one.
QListWidget* MakeColumnList(QWidget* page, QVBoxLayout* column, Binding& b, const char* name,
                            int visible) {
    const db::Field& f = b.Field(name);
    const ChangeCodeInfo* change = ChangeCodeFor(name);
    auto* label = new QLabel(QString::fromLatin1(f.caption), page);
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
    if (change)
        column->addWidget(
            MakeChangeButton(page, change->button.data(),
                             QStringLiteral("Choose another entry for the selected line")),
            0, Qt::AlignLeft);
    b.Add(name, list);
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
    : TRecordPage(context, db::TableId::kClubs, MakeTabPanel(parent, "ClubPanel")),
      tabs_(static_cast<QTabWidget*>(Panel())) {
    {
        PageGrid g(AddTab("Club Info"), 2);
        binding_.Make(g, "ClubLName", 2);
        binding_.Make(g, "ClubSName");
        id_ = MakeIdField(g, "ClubID", "Id");
        binding_.Make(g, "ClubNation");
        binding_.Make(g, "ClubStatus");
        binding_.Make(g, "ClubDivision", 2);
        binding_.Make(g, "ClubLDivision", 2);
        binding_.Make(g, "ClubLPosition");
        binding_.Make(g, "ClubCash");
        binding_.Make(g, "ClubReputation");
        binding_.Make(g, "ClubTraining");
        binding_.Make(g, "ClubPLC");
    }
    {
        PageGrid g(AddTab("Stadium + Kit Info"), 2);
        binding_.Make(g, "ClubStadium", 2);
        binding_.Make(g, "ClubRStadium", 2);
        binding_.Make(g, "ClubOwnStadium");
        binding_.Make(g, "Clubmatchday");
        binding_.Make(g, "ClubAvgAtt");
        binding_.Make(g, "ClubMinAtt");
        binding_.Make(g, "ClubMaxAtt");
        g.NextRow();
        for (const char* colour : {"ClubHomeCl1", "ClubHomeCl2", "ClubAwayCl1", "ClubAwayCl2",
                                   "ClubThirdCl1", "ClubThirdCl2"})
            binding_.Make(g, colour);
    }
    {
        QWidget* page = AddTab("Club Staff");
        auto* v = new QVBoxLayout(page);
        v->setContentsMargins(0, 0, 0, 4);
        v->setSpacing(0);
        MakeShownRow(page, v, binding_, {"ClubChairman", "ClubManager", "ClubAManager"});
        const auto c = MakeColumns(v, {4, 3, 3, 3});
        MakeColumnList(page, c[0], binding_, "ClubPlayerList", 0);
        MakeColumnList(page, c[1], binding_, "ClubDirectorList", 3);
        c[1]->addSpacing(4);
        MakeColumnList(page, c[1], binding_, "ClubPhysioList", 5);
        MakeColumnList(page, c[2], binding_, "ClubCoachList", 5);
        MakeColumnList(page, c[3], binding_, "ClubScoutList", 7);
        for (int i = 1; i < 4; ++i) c[i]->addStretch(1);
    }
    {
        QWidget* page = AddTab("Favourites + Dislikes");
        auto* v = new QVBoxLayout(page);
        v->setContentsMargins(0, 4, 0, 0);
        const auto c = MakeColumns(v, {1, 1, 1});
        MakeColumnList(page, c[0], binding_, "ClubFavStaff", 3);
        MakeColumnList(page, c[1], binding_, "ClubDisStaff", 3);
        MakeColumnList(page, c[2], binding_, "ClubRivalList", 3);
        for (QVBoxLayout* col : c) col->addStretch(1);
    }
}

QWidget* TClubPage::AddTab(const char* title) {
    auto* scroll = new QScrollArea(tabs_);
    scroll->setObjectName(QStringLiteral("ClubTab%1").arg(tabs_->count() + 1));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* page = new QWidget;
    page->setObjectName(scroll->objectName() + QStringLiteral("Fields"));
    scroll->setWidget(page);
    tabs_->addTab(scroll, QString::fromLatin1(title));
    AddFieldArea(page);
    return page;
}

}  // namespace vh::ui
