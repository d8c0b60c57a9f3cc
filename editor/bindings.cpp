#include "bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVariant>
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "database/blocks.h"
#include "database/convert.h"
#include "database/dates.h"
#include "database/languages.h"
#include "database/person.h"
#include "dialogs/NEdit.h"
#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/qtext.h"

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
            db::I16{offset}.Write(rec, static_cast<std::int16_t>(value));
            break;
        default:
            db::U8{offset}.Write(rec, static_cast<std::uint8_t>(value));
            break;
    }
}

QString MissingText(std::int64_t value) {
    return QString::fromStdString(db::MissingText(value));
}

namespace {

const QString kEmpty =
    QString::fromLatin1(db::kEmptyMarker.data(), static_cast<qsizetype>(db::kEmptyMarker.size()));

template <class W>
W* Control(QWidget* panel, const char* name) {
    W* w = panel->findChild<W*>(QString::fromLatin1(name));
    if (!w) throw std::logic_error(std::string("the page has no control named ") + name);
    return w;
}

// A whole number as the user typed it. The text is quoted back exactly as typed.
std::int32_t ParseInt(QLineEdit* edit) {
    const QString text = edit->text();
    std::string bytes;
    std::int32_t v = 0;
    if (!TryToCp1252(text, bytes) || !db::TryStrToInt(bytes, v))
        throw EFieldError(edit, QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

db::RecordFile& FileOf(RefTarget t, db::Session& s) {
    return *s.files.Of(t);
}

// The name shown for a reference, read into a buffer of its own; nullopt when the number lies
// outside the file (for a person, outside the person records: block bytes are no person).
std::optional<QString> NameOf(std::int32_t value, RefTarget t, RowContext& ctx) {
    db::Session& s = ctx.session;
    db::RecordFile& file = FileOf(t, s);
    if (t == db::Target::kPerson) {
        if (!ctx.persons) ctx.persons = db::PersonRecordCount(file, s.dataPath);
        if (value >= *ctx.persons) return std::nullopt;
        return FromCp1252(db::GetStaffName(value, file, s.names));
    }
    const db::NameField& naming = db::InfoOf(t).naming;
    file.Reset(naming.recordSize);
    if (value >= file.RecordCount()) return std::nullopt;
    return FromCp1252(db::ShowReference(value, file, naming));
}

// The name of the file a target reads, for messages ("city.dat").
QString TargetFile(RefTarget t) {
    const std::string_view name = db::FileNameOf(t);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// A name that RecordOf below looks up in the target's file, when it looks one up.
void WantRecordOf(const QString& text, const QVariant& picked, RefTarget t, RowContext& ctx) {
    std::string bytes;
    if (picked.isValid() || text == kEmpty || t == db::Target::kPerson || !TryToCp1252(text, bytes))
        return;
    ctx.found.Want(FileOf(t, ctx.session), db::InfoOf(t).naming, std::move(bytes));
}

// The record a line or field names: a pick's record, else one found by its text.
std::int32_t RecordOf(const QString& text, const QVariant& picked, RefTarget t, RowContext& ctx,
                      QWidget* field) {
    if (picked.isValid()) return picked.toInt();
    if (text == kEmpty) return -1;
    if (t == db::Target::kPerson) {
        std::string bytes;
        if (!TryToCp1252(text, bytes))
            throw EFieldError(field, QStringLiteral("'%1' is not a valid integer value").arg(text));
        try {
            return db::GetStaffIdFromName(bytes);
        } catch (const db::EConvertError&) {
            throw EFieldError(field, QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
    const std::string bytes = ToCp1252(text);
    db::RecordFile& file = FileOf(t, ctx.session);
    const db::NameField& naming = db::InfoOf(t).naming;
    if (const auto id = ctx.found.Found(file, naming, bytes)) return *id;
    return db::LookupByName(bytes, file, naming);
}

}  // namespace

class Binding::Row {
  public:
    virtual ~Row() = default;
    // Reads what the show needs (may fail; nothing on the page changes yet).
    virtual void Prepare(const std::uint8_t* rec, RowContext& ctx) = 0;
    // Puts what Prepare read on the page and remembers it.
    virtual void Fill() = 0;
    // The names Collect will look up in their files (looked up together beforehand).
    virtual void Want(RowContext&) const {}
    // Converts what the user changed (may fail; the record is not touched yet).
    virtual void Collect(RowContext& ctx) = 0;
    // Writes what Collect found into the record.
    virtual void Apply(std::uint8_t* rec) const = 0;
    // The record was written: what the page shows now is what the file holds.
    virtual void Saved(const std::uint8_t* rec) = 0;
    virtual void Clear() = 0;
};

namespace {

// A read-only field that the picker fills: the text and record its show put there, and the
// record a pick put there since (kRecordProperty).
class PickedField {
  public:
    explicit PickedField(QLineEdit* edit) : edit_(edit) {}
    QLineEdit* Edit() const { return edit_; }
    void Fill(const QString& text, std::int32_t record) {
        edit_->setText(text);
        edit_->setCursorPosition(0);
        Saved(record);
    }
    QVariant Picked() const { return edit_->property(kRecordProperty); }
    // The text as shown, and nothing picked since but the record shown.
    bool Untouched() const {
        const QVariant picked = Picked();
        return edit_->text() == shown_ && (!picked.isValid() || picked.toInt() == shownRecord_);
    }
    void Saved(std::int32_t record) {
        shown_ = edit_->text();
        shownRecord_ = record;
        edit_->setProperty(kRecordProperty, QVariant());
    }
    void Clear() {
        edit_->clear();
        Saved(-1);
    }

  private:
    QLineEdit* edit_;
    QString shown_;
    std::int32_t shownRecord_ = -1;
};

// A row shown as the text of a line edit: a text as shown keeps the stored bytes; a changed text
// is converted by the row.
template <class RowType, class Value>
class EditBinding : public Binding::Row {
  public:
    EditBinding(const RowType& row, QLineEdit* edit) : row_(row), edit_(edit) {}
    void Fill() override {
        edit_->setText(next_);
        shown_ = edit_->text();
    }
    void Collect(RowContext&) override {
        value_.reset();
        if (edit_->text() != shown_) value_ = Convert();
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) row_.field.Write(rec, *value_);
    }
    void Saved(const std::uint8_t*) override { shown_ = edit_->text(); }
    void Clear() override {
        edit_->clear();
        shown_.clear();
    }

  protected:
    virtual Value Convert() const = 0;
    RowType row_;
    QLineEdit* edit_;
    QString next_;

  private:
    QString shown_;
    std::optional<Value> value_;
};

class NumberBinding : public EditBinding<NumberRow, std::int32_t> {
  public:
    using EditBinding::EditBinding;
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        next_ = QString::number(row_.field.Read(rec));
    }

  private:
    std::int32_t Convert() const override {
        const std::int32_t v = ParseInt(edit_);
        // The field checks its range when the focus leaves it; a save from the menu leaves the
        // focus where it is, so the range is checked here too rather than cutting the number
        // down to the bytes of its field.
        if (v < row_.min || v > row_.max)
            throw EFieldError(edit_,
                              QStringLiteral("\"%1\": this value must be in the range %2 to %3")
                                  .arg(QString::fromLatin1(row_.caption))
                                  .arg(row_.min)
                                  .arg(row_.max));
        return v;
    }
};

class TextBinding : public EditBinding<TextRow, std::string> {
  public:
    TextBinding(const TextRow& row, QLineEdit* edit) : EditBinding(row, edit) {
        edit_->setMaxLength(static_cast<int>(row.field.width));
    }
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        next_ = FromCp1252(row_.field.Read(rec));
    }

  private:
    std::string Convert() const override {
        try {
            return ToCp1252(edit_->text());  // names a character the files cannot hold
        } catch (const db::EConvertError& e) {
            throw EFieldError(edit_, QString::fromUtf8(e.what()));
        }
    }
};

class RefBinding : public Binding::Row {
  public:
    RefBinding(const RefRow& row, QLineEdit* edit) : row_(row), field_(edit) {}
    void Prepare(const std::uint8_t* rec, RowContext& ctx) override {
        const std::int32_t v = row_.field.Read(rec);
        nextRecord_ = v;
        if (v < 0 || (row_.zeroIsNone && v == 0)) {
            next_ = row_.noneText ? QString::fromLatin1(row_.noneText) : kEmpty;
            return;
        }
        if (std::optional<QString> name = NameOf(v, row_.target, ctx)) {
            next_ = *name;
            return;
        }
        next_ = MissingText(v);
        ctx.missing << QStringLiteral("%1: %2 has no record %3")
                           .arg(QString::fromLatin1(row_.caption), TargetFile(row_.target))
                           .arg(v);
    }
    void Fill() override { field_.Fill(next_, nextRecord_); }
    void Want(RowContext& ctx) const override {
        if (!field_.Untouched())
            WantRecordOf(field_.Edit()->text(), field_.Picked(), row_.target, ctx);
    }
    void Collect(RowContext& ctx) override {
        value_.reset();
        if (field_.Untouched()) return;
        value_ = RecordOf(field_.Edit()->text(), field_.Picked(), row_.target, ctx, field_.Edit());
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) row_.field.Write(rec, *value_);
    }
    void Saved(const std::uint8_t* rec) override { field_.Saved(row_.field.Read(rec)); }
    void Clear() override { field_.Clear(); }

  private:
    RefRow row_;
    PickedField field_;
    QString next_;
    std::int32_t nextRecord_ = -1;
    std::optional<std::int32_t> value_;
};

class CheckBinding : public Binding::Row {
  public:
    CheckBinding(const CheckRow& row, QCheckBox* box) : row_(row), box_(box) {}
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        const std::uint8_t v = row_.field.Read(rec);
        switch (row_.when) {
            case CheckRow::Checked::kWhenNonZero:
                next_ = v != 0;
                break;
            case CheckRow::Checked::kWhenZero:
                next_ = v == 0;
                break;
            case CheckRow::Checked::kUnlessOne:
                next_ = v != 1;
                break;
        }
    }
    void Fill() override {
        box_->setChecked(next_);
        shown_ = next_;
    }
    void Collect(RowContext&) override { changed_ = box_->isChecked() != shown_; }
    void Apply(std::uint8_t* rec) const override {
        if (changed_)
            row_.field.Write(rec, box_->isChecked() ? row_.checkedValue : row_.uncheckedValue);
    }
    void Saved(const std::uint8_t*) override { shown_ = box_->isChecked(); }
    void Clear() override {
        box_->setChecked(false);
        shown_ = false;
    }

  private:
    CheckRow row_;
    QCheckBox* box_;
    bool next_ = false, shown_ = false, changed_ = false;
};

class DateBinding : public Binding::Row {
  public:
    DateBinding(const DateRow& row, QLineEdit* day, QLineEdit* month)
        : row_(row), day_(day), month_(month) {}
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        int d = 0, m = 0;
        db::GetDate(row_.field.Read(rec), d, m);
        nextDay_ = QString::number(d);
        nextMonth_ = QString::number(m);
    }
    void Fill() override {
        day_->setText(nextDay_);
        month_->setText(nextMonth_);
        shownDay_ = nextDay_;
        shownMonth_ = nextMonth_;
    }
    void Collect(RowContext&) override {
        value_.reset();
        if (day_->text() == shownDay_ && month_->text() == shownMonth_) return;
        const std::int32_t d = ParseInt(day_);
        const std::int32_t m = ParseInt(month_);
        auto check = [](QLineEdit* e, const char* caption, std::int32_t v, int hi) {
            if (v < 0 || v > hi)
                throw EFieldError(e,
                                  QStringLiteral("\"%1\": this value must be in the range 0 to %2")
                                      .arg(QString::fromLatin1(caption))
                                      .arg(hi));
        };
        check(day_, row_.dayCaption, d, 31);
        check(month_, row_.monthCaption, m, 12);
        // A month of 0 gives no date: the stored day of the year stays.
        if (const std::optional<int> doy = db::MakeDate(d, m)) value_ = *doy;
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) row_.field.Write(rec, static_cast<std::int16_t>(*value_));
    }
    void Saved(const std::uint8_t*) override {
        shownDay_ = day_->text();
        shownMonth_ = month_->text();
    }
    void Clear() override {
        day_->clear();
        month_->clear();
        shownDay_.clear();
        shownMonth_.clear();
    }

  private:
    DateRow row_;
    QLineEdit* day_;
    QLineEdit* month_;
    QString nextDay_, nextMonth_, shownDay_, shownMonth_;
    std::optional<int> value_;
};

class ListBinding : public Binding::Row {
  public:
    ListBinding(const ListRow& row, QListWidget* list) : row_(row), list_(list) {}
    void Prepare(const std::uint8_t* rec, RowContext& ctx) override {
        next_.clear();
        for (std::size_t i = 0; i < row_.count; ++i) {
            const std::int32_t v = db::I32{row_.offset + 4 * i}.Read(rec);
            Line line{kEmpty, v, false};
            if (v >= 0) {
                if (std::optional<QString> name = NameOf(v, row_.target, ctx)) {
                    line.text = *name;
                } else if (row_.outsideIsEmpty) {
                    line.record = -1;
                    line.forced = true;  // saved as -1
                } else {
                    line.text = MissingText(v);
                    ctx.missing << QStringLiteral("%1, line %2: %3 has no record %4")
                                       .arg(QString::fromLatin1(row_.caption))
                                       .arg(i + 1)
                                       .arg(TargetFile(row_.target))
                                       .arg(v);
                }
            }
            next_.push_back(line);
        }
    }
    void Fill() override {
        list_->clear();
        for (const Line& l : next_) {
            auto* item = new QListWidgetItem(l.text, list_);
            item->setData(kRecordRole, QVariant());
        }
        shown_ = next_;
    }
    void Want(RowContext& ctx) const override {
        for (std::size_t i = 0; i < Lines(); ++i) {
            const QListWidgetItem* item = list_->item(static_cast<int>(i));
            if (!Untouched(i))
                WantRecordOf(item->text(), item->data(kRecordRole), row_.target, ctx);
        }
    }
    void Collect(RowContext& ctx) override {
        values_.assign(row_.count, std::nullopt);
        for (std::size_t i = 0; i < Lines(); ++i) {
            QListWidgetItem* item = list_->item(static_cast<int>(i));
            const Line& was = shown_[i];
            const bool untouched = Untouched(i);
            if (untouched && !was.forced) continue;
            values_[i] = untouched ? was.record
                                   : RecordOf(item->text(), item->data(kRecordRole), row_.target,
                                              ctx, list_);
        }
    }
    void Apply(std::uint8_t* rec) const override {
        for (std::size_t i = 0; i < values_.size(); ++i)
            if (values_[i]) db::I32{row_.offset + 4 * i}.Write(rec, *values_[i]);
    }
    void Saved(const std::uint8_t* rec) override {
        for (std::size_t i = 0; i < shown_.size() && i < static_cast<std::size_t>(list_->count());
             ++i) {
            QListWidgetItem* item = list_->item(static_cast<int>(i));
            shown_[i] = {item->text(), db::I32{row_.offset + 4 * i}.Read(rec), false};
            item->setData(kRecordRole, QVariant());
        }
    }
    void Clear() override {
        list_->clear();
        shown_.clear();
    }

  private:
    struct Line {
        QString text;
        std::int32_t record;
        bool forced;  // shown as "<empty>" for a number outside the file: saved as -1
    };
    // The lines a save reads: those shown, as far as the list and the record hold them.
    std::size_t Lines() const {
        return std::min({row_.count, static_cast<std::size_t>(list_->count()), shown_.size()});
    }
    // Line i shows the text its show put there, and nothing was picked since but that record.
    bool Untouched(std::size_t i) const {
        const QListWidgetItem* item = list_->item(static_cast<int>(i));
        const QVariant picked = item->data(kRecordRole);
        return item->text() == shown_[i].text &&
               (!picked.isValid() || picked.toInt() == shown_[i].record);
    }
    ListRow row_;
    QListWidget* list_;
    std::vector<Line> next_, shown_;
    std::vector<std::optional<std::int32_t>> values_;
};

class ComboBinding : public Binding::Row {
  public:
    ComboBinding(const ComboRow& row, QComboBox* box) : row_(row), box_(box) {
        if (box_->count() == 0)
            for (const char* item : row.items) box_->addItem(QString::fromLatin1(item));
    }
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        const int v = row_.field.Read(rec);
        next_ = v >= 1 && v <= static_cast<int>(row_.items.size()) ? v - 1 : -1;
    }
    void Fill() override {
        box_->setCurrentIndex(next_);
        shown_ = next_;
    }
    void Collect(RowContext&) override { changed_ = box_->currentIndex() != shown_; }
    void Apply(std::uint8_t* rec) const override {
        if (changed_) row_.field.Write(rec, static_cast<std::uint8_t>(box_->currentIndex() + 1));
    }
    void Saved(const std::uint8_t*) override { shown_ = box_->currentIndex(); }
    void Clear() override {
        box_->setCurrentIndex(-1);
        shown_ = -1;
    }

  private:
    ComboRow row_;
    QComboBox* box_;
    int next_ = -1, shown_ = -1;
    bool changed_ = false;
};

class ColourBinding : public Binding::Row {
  public:
    ColourBinding(const ColourRow& row, QComboBox* box) : row_(row), box_(box) {}
    void Prepare(const std::uint8_t* rec, RowContext& ctx) override {
        if (!ctx.colours) ctx.colours = SetColours(ctx.session.files.colour);
        names_ = *ctx.colours;
        const std::int32_t v = row_.field.Read(rec);
        next_ = v >= 0 && v < names_.size() ? v : -1;
    }
    void Fill() override {
        // Filling a list that already holds the colours replaces them in place.
        for (int i = 0; i < names_.size(); ++i) {
            if (i < box_->count())
                box_->setItemText(i, names_[i]);
            else
                box_->addItem(names_[i]);
        }
        while (box_->count() > names_.size()) box_->removeItem(box_->count() - 1);
        box_->setCurrentIndex(next_);
        shown_ = next_;
    }
    void Collect(RowContext&) override { changed_ = box_->currentIndex() != shown_; }
    void Apply(std::uint8_t* rec) const override {
        // With no item selected the stored colour stays.
        if (changed_ && box_->currentIndex() >= 0) row_.field.Write(rec, box_->currentIndex());
    }
    void Saved(const std::uint8_t*) override { shown_ = box_->currentIndex(); }
    void Clear() override {
        box_->setCurrentIndex(-1);
        shown_ = -1;
    }

  private:
    ColourRow row_;
    QComboBox* box_;
    QStringList names_;
    int next_ = -1, shown_ = -1;
    bool changed_ = false;
};

class LanguageBinding : public Binding::Row {
  public:
    LanguageBinding(const LanguageRow& row, QLineEdit* edit) : row_(row), field_(edit) {}
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        const int v = row_.field.Read(rec);
        nextRecord_ = v;
        if (v == 0)
            next_ = kEmpty;
        else if (const auto name = db::LanguageName(v))
            next_ = FromCp1252(*name);
        else
            next_ = QString::number(v);  // no such language: its number
    }
    void Fill() override { field_.Fill(next_, nextRecord_); }
    void Collect(RowContext&) override {
        value_.reset();
        if (field_.Untouched()) return;
        const QVariant picked = field_.Picked();
        const QString text = field_.Edit()->text();
        std::string bytes;
        if (picked.isValid())
            value_ = picked.toInt();
        else if (text == kEmpty)
            value_ = 0;
        else if (TryToCp1252(text, bytes))
            // A text that names no language keeps the stored number.
            if (const int n = db::LanguageNumber(bytes)) value_ = n;
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) row_.field.Write(rec, static_cast<std::uint8_t>(*value_));
    }
    void Saved(const std::uint8_t* rec) override { field_.Saved(row_.field.Read(rec)); }
    void Clear() override { field_.Clear(); }

  private:
    LanguageRow row_;
    PickedField field_;
    QString next_;
    int nextRecord_ = 0;
    std::optional<int> value_;
};

}  // namespace

QStringList SetColours(db::RecordFile& colours) {
    QStringList names;
    db::ColourRecord rec;
    colours.Reset(db::ColourRecord::kSize);
    while (!colours.AtEnd()) {
        colours.Read(rec.bytes);
        const std::int32_t id = rec.Get(db::ColourRecord::Id);
        const QString name = FromCp1252(rec.Get(db::ColourRecord::Name));
        if (id >= 0 && id < names.size())
            names[id] = name;
        else if (id == names.size())
            names.append(name);
        else
            throw db::EDataError("Unable to insert a line");
    }
    return names;
}

Binding::Binding() = default;
Binding::~Binding() = default;

void Binding::Resolve(QWidget* panel, const std::function<void()>& changed,
                      std::span<const NumberRow> numbers, std::span<const TextRow> texts,
                      std::span<const RefRow> refs, std::span<const CheckRow> checks,
                      std::span<const DateRow> dates, std::span<const ListRow> lists) {
    auto edits = [&](QLineEdit* e) {
        QObject::connect(e, &QLineEdit::textChanged, e, [changed] { changed(); });
        return e;
    };
    for (const NumberRow& r : numbers)
        rows_.push_back(std::make_unique<NumberBinding>(r, edits(Control<TNEdit>(panel, r.name))));
    for (const TextRow& r : texts)
        rows_.push_back(std::make_unique<TextBinding>(r, edits(Control<QLineEdit>(panel, r.name))));
    for (const RefRow& r : refs)
        rows_.push_back(std::make_unique<RefBinding>(r, edits(Control<QLineEdit>(panel, r.name))));
    for (const CheckRow& r : checks) {
        QCheckBox* box = Control<QCheckBox>(panel, r.name);
        QObject::connect(box, &QCheckBox::clicked, box, [changed] { changed(); });
        rows_.push_back(std::make_unique<CheckBinding>(r, box));
    }
    for (const DateRow& r : dates)
        rows_.push_back(std::make_unique<DateBinding>(r, edits(Control<TNEdit>(panel, r.dayName)),
                                                      edits(Control<TNEdit>(panel, r.monthName))));
    for (const ListRow& r : lists)
        rows_.push_back(std::make_unique<ListBinding>(r, Control<QListWidget>(panel, r.name)));
}

void Binding::Resolve(QWidget* panel, const std::function<void()>& changed,
                      std::span<const ComboRow> combos, std::span<const ColourRow> colours,
                      std::span<const LanguageRow> languages) {
    auto box = [&](const char* name) {
        QComboBox* b = Control<QComboBox>(panel, name);
        QObject::connect(b, &QComboBox::currentIndexChanged, b, [changed] { changed(); });
        return b;
    };
    for (const ComboRow& r : combos)
        rows_.push_back(std::make_unique<ComboBinding>(r, box(r.name)));
    for (const ColourRow& r : colours)
        rows_.push_back(std::make_unique<ColourBinding>(r, box(r.name)));
    for (const LanguageRow& r : languages) {
        QLineEdit* e = Control<QLineEdit>(panel, r.name);
        QObject::connect(e, &QLineEdit::textChanged, e, [changed] { changed(); });
        rows_.push_back(std::make_unique<LanguageBinding>(r, e));
    }
}

void Binding::Show(const std::uint8_t* rec, RowContext& ctx) {
    for (auto& r : rows_) r->Prepare(rec, ctx);
    for (auto& r : rows_) r->Fill();
}

void Binding::Save(std::uint8_t* rec, RowContext& ctx) {
    for (const auto& r : rows_) r->Want(ctx);
    ctx.found.Run();
    for (auto& r : rows_) r->Collect(ctx);
    for (auto& r : rows_) r->Apply(rec);
}

void Binding::Saved(const std::uint8_t* rec) {
    for (auto& r : rows_) r->Saved(rec);
}

void Binding::Clear() {
    for (auto& r : rows_) r->Clear();
}

}  // namespace vh::ui
