#include "page_kit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <vector>

#include "database/convert.h"
#include "database/errors.h"
#include "dialogs/NEdit.h"
#include "stad.h"

namespace vh::ui {

long long IntField::Read(const std::uint8_t* rec) const {
    switch (width) {
        case 4:
            return db::I32{offset}.Read(rec);
        case 2:
            return db::I16{offset}.Read(rec);
        default:
            return db::U8{offset}.Read(rec);
    }
}

void IntField::Write(std::uint8_t* rec, long long value) const {
    switch (width) {
        case 4:
            db::I32{offset}.Write(rec, static_cast<std::int32_t>(value));
            break;
        case 2:
            db::I16{offset}.Write(rec,
                                  static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
            break;
        default:
            db::U8{offset}.Write(rec, static_cast<std::uint8_t>(value));
            break;
    }
}

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

QLineEdit* MakeText(TVHEdit* w, PageGrid& g, const char* name, const char* caption, int maxLength,
                    int span) {
    auto* e = new QLineEdit(g.Page());
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    w->BindChange(e);
    g.Add(QString::fromLatin1(caption), e, span);
    return e;
}

QLineEdit* MakeIdField(PageGrid& g, const char* name, const char* caption) {
    auto* e = new QLineEdit(g.Page());
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setMaximumWidth(90);
    g.Add(QString::fromLatin1(caption), e);
    return e;
}

TNEdit* MakeNumber(TVHEdit* w, PageGrid& g, const NumberRow& row) {
    auto* e = new TNEdit(g.Page());
    e->setObjectName(QString::fromLatin1(row.name));
    e->SetMinNo(row.min);
    e->SetMaxNo(row.max);
    e->setMaximumWidth(90);
    w->BindChange(e);
    g.Add(QString::fromLatin1(row.caption), e);
    return e;
}

QLineEdit* MakeReference(TVHEdit* w, PageGrid& g, const char* name, const char* caption,
                         const char* button, int span) {
    auto* box = new QWidget(g.Page());
    box->setObjectName(QString::fromLatin1(name) + QStringLiteral("Box"));
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    auto* e = new QLineEdit(box);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    auto* b = new QPushButton(QStringLiteral("Change"), box);
    b->setObjectName(QString::fromLatin1(button));
    b->setToolTip(QStringLiteral("Choose another %1").arg(QString::fromLatin1(caption).toLower()));
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 12);
    b->setFocusPolicy(Qt::TabFocus);
    h->addWidget(e, 1);
    h->addWidget(b);
    // A name wider than the field shows its beginning, not its end.
    QObject::connect(e, &QLineEdit::textChanged, e, [e] { e->setCursorPosition(0); });
    w->BindChange(e);
    g.Add(QString::fromLatin1(caption), box, span);
    return e;
}

QCheckBox* MakeCheck(TVHEdit* w, PageGrid& g, const char* name, const char* caption) {
    auto* c = new QCheckBox(QString::fromLatin1(caption), g.Page());
    c->setObjectName(QString::fromLatin1(name));
    w->BindChange(c);
    g.AddAlone(c);
    return c;
}

void ShowNumbers(QWidget* page, const std::uint8_t* rec, std::span<const NumberRow> rows) {
    for (const NumberRow& r : rows) {
        if (auto* e = page->findChild<QLineEdit*>(QString::fromLatin1(r.name)))
            e->setText(QString::number(r.field.Read(rec)));
    }
}

void SaveNumbers(QWidget* page, std::uint8_t* rec, std::span<const NumberRow> rows) {
    std::vector<std::int32_t> values;
    values.reserve(rows.size());
    for (const NumberRow& r : rows) {
        auto* e = page->findChild<QLineEdit*>(QString::fromLatin1(r.name));
        const std::int32_t v = db::StrToInt(e ? e->text().toStdString() : std::string());
        // The field checks its range when the focus leaves it; a save from the menu leaves the
        // focus where it is, so the range is checked here too rather than cutting the number
        // down to the bytes of its field.
        if (v < r.min || v > r.max)
            throw db::EConvertError(
                QStringLiteral("\"%1\": this value must be in the range %2 to %3")
                    .arg(QString::fromLatin1(r.caption))
                    .arg(r.min)
                    .arg(r.max)
                    .toStdString());
        values.push_back(v);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i].field.Write(rec, values[i]);
}

char DecimalSeparator() {
    const QString p = QLocale::system().decimalPoint();
    return (p.size() == 1 && p[0].unicode() < 0x80) ? static_cast<char>(p[0].unicode()) : '.';
}

}  // namespace vh::ui
