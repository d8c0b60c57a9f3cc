#include "editor/pages/page_kit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "dialogs/NEdit.h"
#include "dialogs/theme.h"

namespace vh::ui {

PageGrid::PageGrid(QWidget* page, int pairs)
    : page_(page), grid_(new QGridLayout(page)), pairs_(pairs) {
    grid_->setContentsMargins(8, 8, 8, 8);
    grid_->setHorizontalSpacing(6);
    grid_->setVerticalSpacing(4);
    for (int i = 0; i < pairs; ++i) grid_->setColumnStretch(2 * i + 1, 1);
    grid_->setRowStretch(64, 1);  // everything stays at the top
}

void PageGrid::Advance(int span) {
    col_ += span;
    if (col_ >= pairs_) NextRow();
}

void PageGrid::NextRow() {
    if (col_ == 0) return;
    ++row_;
    col_ = 0;
}

void PageGrid::Add(const QString& caption, QWidget* field, int span) {
    if (col_ + span > pairs_) NextRow();
    auto* label = new QLabel(caption, page_);
    label->setObjectName(field->objectName() + QStringLiteral("Label"));
    label->setBuddy(field);
    grid_->addWidget(label, row_, 2 * col_, Qt::AlignRight | Qt::AlignVCenter);
    grid_->addWidget(field, row_, 2 * col_ + 1, 1, 2 * span - 1);
    Advance(span);
}

void PageGrid::AddAlone(QWidget* field, int span) {
    if (col_ + span > pairs_) NextRow();
    grid_->addWidget(field, row_, 2 * col_ + 1, 1, 2 * span - 1);
    Advance(span);
}

QLineEdit* MakeText(FieldLayout& g, const char* name, const char* caption, int maxLength,
                    int span) {
    auto* e = new QLineEdit(g.Page());
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    g.Add(QString::fromLatin1(caption), e, span);
    return e;
}

QLineEdit* MakeIdField(FieldLayout& g, const char* name, const char* caption) {
    auto* e = new QLineEdit(g.Page());
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setMaximumWidth(90);
    g.Add(QString::fromLatin1(caption), e);
    return e;
}

QPushButton* MakeChangeButton(QWidget* parent, const char* name, const QString& tip) {
    auto* b = new QPushButton(QStringLiteral("Change"), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 12);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QLineEdit* MakeReference(FieldLayout& g, const char* name, const char* caption, const char* button,
                         int span) {
    auto* box = new QWidget(g.Page());
    box->setObjectName(QString::fromLatin1(name) + QStringLiteral("Box"));
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    auto* e = new QLineEdit(box);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    auto* b = MakeChangeButton(
        box, button,
        QStringLiteral("Choose another %1").arg(QString::fromLatin1(caption).toLower()));
    h->addWidget(e, 1);
    h->addWidget(b);
    // A name wider than the field shows its beginning, not its end.
    QObject::connect(e, &QLineEdit::textChanged, e, [e] { e->setCursorPosition(0); });
    g.Add(QString::fromLatin1(caption), box, span);
    return e;
}

QComboBox* MakeCombo(FieldLayout& g, const char* name, const char* caption, int minimumChars) {
    auto* c = new QComboBox(g.Page());
    c->setObjectName(QString::fromLatin1(name));
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(minimumChars);
    c->setMaxVisibleItems(16);
    g.Add(QString::fromLatin1(caption), c);
    return c;
}

QListWidget* MakeList(FieldLayout& g, const char* name, const char* caption, const char* button,
                      int lines) {
    auto* box = new QWidget(g.Page());
    box->setObjectName(QString::fromLatin1(name) + QStringLiteral("Box"));
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* list = new QListWidget(box);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    const int line = list->fontMetrics().height() + 2;
    list->setFixedHeight(std::min(lines, 8) * line + 2 * list->frameWidth() + 2);
    v->addWidget(list);
    if (button)
        v->addWidget(MakeChangeButton(box, button,
                                      QStringLiteral("Choose another entry for the selected line")),
                     0, Qt::AlignLeft);
    g.Add(QString::fromLatin1(caption), box);
    return list;
}

char DecimalSeparator() {
    const QString p = QLocale::system().decimalPoint();
    return (p.size() == 1 && p[0].unicode() < 0x80) ? static_cast<char>(p[0].unicode()) : '.';
}

}  // namespace vh::ui

namespace vh::ui {

QFrame* MakePlainPanel(QWidget* parent, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::StyledPanel);
    return f;
}

QTabWidget* MakeTabPanel(QWidget* parent, const char* name) {
    auto* t = new QTabWidget(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setDocumentMode(false);
    return t;
}

void StyleTabPanel(QTabWidget* panel) {
    // Every caption in view at once, in a smaller font; dark captions on the light tabs, and the
    // pages in the window's black.
    QTabBar* bar = panel->tabBar();
    bar->setFont(EditorFont(7));
    bar->setUsesScrollButtons(false);
    bar->setElideMode(Qt::ElideRight);
    QPalette captions = bar->palette();
    captions.setColor(QPalette::WindowText, Qt::black);
    bar->setPalette(captions);
    for (int i = 0; i < panel->count(); ++i) {
        panel->widget(i)->setAutoFillBackground(true);
        panel->setTabToolTip(i, panel->tabText(i));
    }
}

}  // namespace vh::ui
