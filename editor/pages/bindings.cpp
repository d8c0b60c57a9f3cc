#include "editor/pages/bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVariant>
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "database/model/blocks.h"
#include "database/records/convert.h"
#include "database/records/dates.h"
#include "database/records/languages.h"
#include "database/records/person.h"
#include "dialogs/NEdit.h"
#include "dialogs/change.h"
#include "dialogs/change_codes.h"
#include "dialogs/guard.h"
#include "dialogs/qtext.h"
#include "editor/pages/page_kit.h"

namespace vh::ui {

QString MissingText(std::int64_t value) {
    return QString::fromStdString(db::MissingText(value));
}

namespace {

using db::Kind;

const QString kEmpty =
    QString::fromLatin1(db::kEmptyMarker.data(), static_cast<qsizetype>(db::kEmptyMarker.size()));

QString Latin(const char* s) {
    return QString::fromLatin1(s);
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

// The number must lie in the range its field accepts. The field checks it when the focus leaves
// it; a save from the menu leaves the focus where it is, so the range is checked here too rather
// than cutting the number down to the bytes of its field.
void CheckRange(QLineEdit* edit, const char* caption, std::int32_t v, int lo, int hi) {
    if (v < lo || v > hi)
        throw EFieldError(edit, QStringLiteral("\"%1\": this value must be in the range %2 to %3")
                                    .arg(Latin(caption))
                                    .arg(lo)
                                    .arg(hi));
}

db::RecordFile& FileOf(db::Target t, db::Session& s) {
    return *s.files.Of(t);
}

// The records the target's file holds: for staff.dat, its person records (the blocks after them
// hold no person), counted once per show.
std::int64_t CountOf(db::Target t, RowContext& ctx) {
    db::Session& s = ctx.session;
    db::RecordFile& file = FileOf(t, s);
    if (t == db::Target::kPerson) {
        if (!ctx.persons) ctx.persons = db::PersonRecordCount(file, s.dataPath);
        return *ctx.persons;
    }
    file.Rewind(db::InfoOf(t).naming.recordSize);
    return file.RecordCount();
}

// The name shown for record `value` of the target (inside its file), read into a buffer of its
// own.
QString NameOf(std::int32_t value, db::Target t, db::Session& s) {
    db::RecordFile& file = FileOf(t, s);
    if (t == db::Target::kPerson) return FromCp1252(db::GetStaffName(value, file, s.names));
    return FromCp1252(db::ShowReference(value, file, db::InfoOf(t).naming));
}

// The name of the file a target reads, for messages ("city.dat").
QString TargetFile(db::Target t) {
    const std::string_view name = db::FileNameOf(t);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// A name that RecordOf below looks up in the target's file, when it looks one up.
void WantRecordOf(const QString& text, const QVariant& picked, db::Target t, RowContext& ctx) {
    std::string bytes;
    if (picked.isValid() || text == kEmpty || t == db::Target::kPerson || !TryToCp1252(text, bytes))
        return;
    ctx.found.Want(FileOf(t, ctx.session), db::InfoOf(t).naming, std::move(bytes));
}

// The record a line or field names: a pick's record, else one found by its text.
std::int32_t RecordOf(const QString& text, const QVariant& picked, db::Target t, RowContext& ctx,
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

// A reference as a page shows it: the none text, the name of its record, or the placeholder of
// a number outside its file (listed for the warning). `record` is what a save keeps for it.
struct Shown {
    QString text;
    std::int32_t record;
    bool forced = false;  // a number outside the file that counts as none: saved as -1
};
Shown ShowReference(const db::Field& f, std::int32_t v, RowContext& ctx, const QString& where) {
    const std::int64_t count = CountOf(f.target, ctx);
    if (f.IsNone(v, count))
        return {Latin(f.NoneText()), v, v >= 0 && f.none == db::None::kOutsideFile};
    if (v >= count) {
        ctx.missing
            << QStringLiteral("%1: %2 has no record %3").arg(where, TargetFile(f.target)).arg(v);
        return {MissingText(v), v};
    }
    return {NameOf(v, f.target, ctx.session), v};
}

}  // namespace

class Binding::Row {
  public:
    explicit Row(const db::Field& f) : f_(f) {}
    virtual ~Row() = default;
    const db::Field& field() const { return f_; }
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
    // A date's month field, made after its day field.
    virtual bool TakeMonth(QLineEdit*) { return false; }
    virtual bool Complete() const { return true; }

  protected:
    const db::Field& f_;
};

namespace {

using Row = Binding::Row;

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
template <class Value>
class EditRow : public Row {
  public:
    EditRow(const db::Field& f, QLineEdit* edit) : Row(f), edit_(edit) {}
    void Prepare(const std::uint8_t* rec, RowContext&) override { next_ = Show(rec); }
    void Fill() override {
        edit_->setText(next_);
        shown_ = edit_->text();
    }
    void Collect(RowContext&) override {
        value_.reset();
        if (edit_->text() != shown_) value_ = Convert();
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) Store(rec, *value_);
    }
    void Saved(const std::uint8_t*) override { shown_ = edit_->text(); }
    void Clear() override {
        edit_->clear();
        shown_.clear();
    }

  protected:
    virtual QString Show(const std::uint8_t* rec) const = 0;
    virtual Value Convert() const = 0;
    virtual void Store(std::uint8_t* rec, const Value& v) const = 0;
    QLineEdit* edit_;

  private:
    QString next_, shown_;
    std::optional<Value> value_;
};

class NumberRow : public EditRow<std::int32_t> {
  public:
    using EditRow::EditRow;

  private:
    QString Show(const std::uint8_t* rec) const override { return QString::number(f_.Read(rec)); }
    std::int32_t Convert() const override {
        const std::int32_t v = ParseInt(edit_);
        CheckRange(edit_, f_.caption, v, f_.min, f_.max);
        return v;
    }
    void Store(std::uint8_t* rec, const std::int32_t& v) const override { f_.Write(rec, v); }
};

class TextRow : public EditRow<std::string> {
  public:
    using EditRow::EditRow;

  private:
    QString Show(const std::uint8_t* rec) const override { return FromCp1252(f_.ReadText(rec)); }
    std::string Convert() const override {
        try {
            return ToCp1252(edit_->text());  // names a character the files cannot hold
        } catch (const db::EConvertError& e) {
            throw EFieldError(edit_, QString::fromUtf8(e.what()));
        }
    }
    // At most the characters the field writes (a nation's three letters of its four bytes).
    void Store(std::uint8_t* rec, const std::string& v) const override { f_.WriteText(rec, v); }
};

// A real as a decimal of four places. Every stored real can be shown, whatever it holds; an
// untouched one keeps its bytes (no rounding, and -0.0 stays -0.0).
class CoordinateRow : public EditRow<double> {
  public:
    using EditRow::EditRow;

  private:
    QString Show(const std::uint8_t* rec) const override {
        return QString::fromStdString(db::FormatCoordinate(f_.ReadDouble(rec), DecimalSeparator()));
    }
    // Only text that can be shown back is taken.
    double Convert() const override {
        const QString text = edit_->text();
        std::string bytes;
        try {
            if (TryToCp1252(text, bytes)) return db::ParseCoordinate(bytes, DecimalSeparator());
        } catch (const db::EConvertError&) {
        }
        throw EFieldError(edit_,
                          QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
    void Store(std::uint8_t* rec, const double& v) const override { f_.WriteDouble(rec, v); }
};

class RefRow : public Row {
  public:
    RefRow(const db::Field& f, QLineEdit* edit) : Row(f), field_(edit) {}
    void Prepare(const std::uint8_t* rec, RowContext& ctx) override {
        next_ = ShowReference(f_, static_cast<std::int32_t>(f_.Read(rec)), ctx, Latin(f_.caption));
    }
    void Fill() override { field_.Fill(next_.text, next_.record); }
    void Want(RowContext& ctx) const override {
        if (!field_.Untouched())
            WantRecordOf(field_.Edit()->text(), field_.Picked(), f_.target, ctx);
    }
    void Collect(RowContext& ctx) override {
        value_.reset();
        if (field_.Untouched()) return;
        value_ = RecordOf(field_.Edit()->text(), field_.Picked(), f_.target, ctx, field_.Edit());
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) f_.Write(rec, *value_);
    }
    void Saved(const std::uint8_t* rec) override {
        field_.Saved(static_cast<std::int32_t>(f_.Read(rec)));
    }
    void Clear() override { field_.Clear(); }

  private:
    PickedField field_;
    Shown next_;
    std::optional<std::int32_t> value_;
};

class CheckRow : public Row {
  public:
    CheckRow(const db::Field& f, QCheckBox* box) : Row(f), box_(box) {}
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        next_ = f_.IsChecked(f_.Read(rec));
    }
    void Fill() override {
        box_->setChecked(next_);
        shown_ = next_;
    }
    void Collect(RowContext&) override { changed_ = box_->isChecked() != shown_; }
    void Apply(std::uint8_t* rec) const override {
        if (changed_) f_.Write(rec, box_->isChecked() ? f_.checkedValue : f_.uncheckedValue);
    }
    void Saved(const std::uint8_t*) override { shown_ = box_->isChecked(); }
    void Clear() override {
        box_->setChecked(false);
        shown_ = false;
    }

  private:
    QCheckBox* box_;
    bool next_ = false, shown_ = false, changed_ = false;
};

// A day of the year shown as a day field and a month field.
class DateRow : public Row {
  public:
    DateRow(const db::Field& f, QLineEdit* day) : Row(f), day_(day) {}
    bool TakeMonth(QLineEdit* month) override {
        month_ = month;
        return true;
    }
    bool Complete() const override { return day_ && month_; }
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        int d = 0, m = 0;
        db::GetDate(static_cast<int>(f_.Read(rec)), d, m);
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
        CheckRange(day_, f_.caption, d, 0, 31);
        CheckRange(month_, f_.monthCaption, m, 0, 12);
        // A month of 0 gives no date: the stored day of the year stays.
        if (const std::optional<int> doy = db::MakeDate(d, m)) value_ = *doy;
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) f_.Write(rec, *value_);
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
    QLineEdit* day_;
    QLineEdit* month_ = nullptr;
    QString nextDay_, nextMonth_, shownDay_, shownMonth_;
    std::optional<int> value_;
};

// A list of references shown as lines, one per slot.
class ListRow : public Row {
  public:
    ListRow(const db::Field& f, QListWidget* list) : Row(f), list_(list) {}
    void Prepare(const std::uint8_t* rec, RowContext& ctx) override {
        next_.clear();
        for (std::size_t i = 0; i < f_.count; ++i)
            next_.push_back(
                ShowReference(f_, static_cast<std::int32_t>(f_.Read(rec, i)), ctx,
                              QStringLiteral("%1, line %2").arg(Latin(f_.caption)).arg(i + 1)));
    }
    void Fill() override {
        list_->clear();
        for (const Shown& l : next_) {
            auto* item = new QListWidgetItem(l.text, list_);
            item->setData(kRecordRole, QVariant());
        }
        shown_ = next_;
    }
    void Want(RowContext& ctx) const override {
        for (std::size_t i = 0; i < Lines(); ++i) {
            const QListWidgetItem* item = list_->item(static_cast<int>(i));
            if (!Untouched(i)) WantRecordOf(item->text(), item->data(kRecordRole), f_.target, ctx);
        }
    }
    void Collect(RowContext& ctx) override {
        values_.assign(f_.count, std::nullopt);
        for (std::size_t i = 0; i < Lines(); ++i) {
            QListWidgetItem* item = list_->item(static_cast<int>(i));
            const Shown& was = shown_[i];
            const bool untouched = Untouched(i);
            if (untouched && !was.forced) continue;
            values_[i] =
                untouched ? -1
                          : RecordOf(item->text(), item->data(kRecordRole), f_.target, ctx, list_);
        }
    }
    void Apply(std::uint8_t* rec) const override {
        for (std::size_t i = 0; i < values_.size(); ++i)
            if (values_[i]) f_.Write(rec, *values_[i], i);
    }
    void Saved(const std::uint8_t* rec) override {
        for (std::size_t i = 0; i < shown_.size() && i < static_cast<std::size_t>(list_->count());
             ++i) {
            QListWidgetItem* item = list_->item(static_cast<int>(i));
            shown_[i] = {item->text(), static_cast<std::int32_t>(f_.Read(rec, i))};
            item->setData(kRecordRole, QVariant());
        }
    }
    void Clear() override {
        list_->clear();
        shown_.clear();
    }

  private:
    // The lines a save reads: those shown, as far as the list and the record hold them.
    std::size_t Lines() const {
        return std::min(
            {std::size_t{f_.count}, static_cast<std::size_t>(list_->count()), shown_.size()});
    }
    // Line i shows the text its show put there, and nothing was picked since but that record.
    bool Untouched(std::size_t i) const {
        const QListWidgetItem* item = list_->item(static_cast<int>(i));
        const QVariant picked = item->data(kRecordRole);
        return item->text() == shown_[i].text &&
               (!picked.isValid() || picked.toInt() == shown_[i].record);
    }
    QListWidget* list_;
    std::vector<Shown> next_, shown_;
    std::vector<std::optional<std::int32_t>> values_;
};

// A drop-down list of fixed items over a byte: item i stands for the value i + 1; a value that no
// item stands for selects nothing.
class ChoiceRow : public Row {
  public:
    ChoiceRow(const db::Field& f, QComboBox* box) : Row(f), box_(box) {}
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        const std::int64_t v = f_.Read(rec);
        next_ = v >= 1 && v <= static_cast<std::int64_t>(f_.items.size()) ? static_cast<int>(v - 1)
                                                                          : -1;
    }
    void Fill() override {
        box_->setCurrentIndex(next_);
        shown_ = next_;
    }
    void Collect(RowContext&) override { changed_ = box_->currentIndex() != shown_; }
    void Apply(std::uint8_t* rec) const override {
        if (changed_) f_.Write(rec, box_->currentIndex() + 1);
    }
    void Saved(const std::uint8_t*) override { shown_ = box_->currentIndex(); }
    void Clear() override {
        box_->setCurrentIndex(-1);
        shown_ = -1;
    }

  private:
    QComboBox* box_;
    int next_ = -1, shown_ = -1;
    bool changed_ = false;
};

// A kit colour: a drop-down list of every colour of colour.dat, where an item's position is the
// colour's identifier (filled by SetColours).
class ColourRow : public Row {
  public:
    ColourRow(const db::Field& f, QComboBox* box) : Row(f), box_(box) {}
    void Prepare(const std::uint8_t* rec, RowContext& ctx) override {
        if (!ctx.colours) ctx.colours = SetColours(ctx.session.files.colour);
        names_ = *ctx.colours;
        const std::int64_t v = f_.Read(rec);
        next_ = f_.IsNone(v, names_.size()) ? -1 : static_cast<int>(v);
    }
    void Fill() override {
        // Filling a list that already holds the colours replaces only the names that differ;
        // an empty list takes them all in one insertion.
        if (box_->count() == 0) {
            box_->addItems(names_);
        } else {
            for (int i = 0; i < names_.size(); ++i) {
                if (i >= box_->count())
                    box_->addItem(names_[i]);
                else if (box_->itemText(i) != names_[i])
                    box_->setItemText(i, names_[i]);
            }
            while (box_->count() > names_.size()) box_->removeItem(box_->count() - 1);
        }
        box_->setCurrentIndex(next_);
        shown_ = next_;
    }
    void Collect(RowContext&) override { changed_ = box_->currentIndex() != shown_; }
    void Apply(std::uint8_t* rec) const override {
        // With no item selected the stored colour stays.
        if (changed_ && box_->currentIndex() >= 0) f_.Write(rec, box_->currentIndex());
    }
    void Saved(const std::uint8_t*) override { shown_ = box_->currentIndex(); }
    void Clear() override {
        box_->setCurrentIndex(-1);
        shown_ = -1;
    }

  private:
    QComboBox* box_;
    QStringList names_;
    int next_ = -1, shown_ = -1;
    bool changed_ = false;
};

// A language of a nation: a read-only field showing the name of language n (1..60), "<empty>"
// for 0 and the number itself above 60; changed through the picker.
class LanguageRow : public Row {
  public:
    LanguageRow(const db::Field& f, QLineEdit* edit) : Row(f), field_(edit) {}
    void Prepare(const std::uint8_t* rec, RowContext&) override {
        const int v = static_cast<int>(f_.Read(rec));
        nextRecord_ = v;
        if (f_.IsNone(v, 0))
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
            value_ = static_cast<int>(f_.NoneValue());
        else if (TryToCp1252(text, bytes))
            // A text that names no language keeps the stored number.
            if (const int n = db::LanguageNumber(bytes)) value_ = n;
    }
    void Apply(std::uint8_t* rec) const override {
        if (value_) f_.Write(rec, *value_);
    }
    void Saved(const std::uint8_t* rec) override {
        field_.Saved(static_cast<std::int32_t>(f_.Read(rec)));
    }
    void Clear() override { field_.Clear(); }

  private:
    PickedField field_;
    QString next_;
    int nextRecord_ = 0;
    std::optional<int> value_;
};

template <class W>
W* As(QWidget* control, const db::Field& f) {
    W* w = qobject_cast<W*>(control);
    if (!w) throw std::logic_error(std::string("the control of ") + f.name + " is of another kind");
    return w;
}

}  // namespace

QStringList SetColours(db::RecordFile& colours) {
    QStringList names;
    db::ColourRecord rec;
    colours.Rewind(db::ColourRecord::kSize);
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

Binding::Binding(db::TableId table, std::function<void()> changed)
    : table_(db::TableOf(table)), changed_(std::move(changed)) {}
Binding::~Binding() = default;

const db::Field& Binding::Field(std::string_view name) const {
    for (const db::Field& f : table_.fields)
        if (name == f.name || (f.monthName && name == f.monthName)) return f;
    throw std::logic_error("the catalogue has no field " + std::string(name) + " in " +
                           std::string(table_.name));
}

QWidget* Binding::Make(FieldLayout& layout, std::string_view name, int span) {
    const db::Field& f = Field(name);
    const bool month = f.kind == Kind::kDate && name == f.monthName;
    QWidget* page = layout.Page();
    const QString objectName =
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    const QString caption = Latin(month ? f.monthCaption : f.caption);
    const bool stored = f.edit == db::Edit::kStored;
    const ChangeCodeInfo* change = stored ? ChangeCodeFor(f.name) : nullptr;
    QWidget* control = nullptr;
    auto number = [&](int lo, int hi) {
        auto* e = new TNEdit(page);
        e->setObjectName(objectName);
        e->SetMinNo(lo);
        e->SetMaxNo(hi);
        if (f.maxLength > 0) e->setMaxLength(f.maxLength);
        e->setMaximumWidth(90);
        layout.Add(caption, e, span);
        return e;
    };
    switch (f.kind) {
        case Kind::kNumber:
            control = stored ? static_cast<QWidget*>(number(f.min, f.max))
                             : MakeIdField(layout, f.name, f.caption);
            break;
        case Kind::kDate:
            control = month ? number(0, 12) : number(f.min, f.max);
            break;
        case Kind::kText:
            control = MakeText(layout, f.name, f.caption, f.width, span);
            break;
        case Kind::kCoordinate:
            control = MakeText(layout, f.name, f.caption, 32, span);
            break;
        case Kind::kReference:
            if (f.target == db::Target::kColour) {
                control = MakeCombo(layout, f.name, f.caption);
            } else if (change) {
                control = MakeReference(layout, f.name, f.caption, change->button.data(), span);
            } else {
                auto* e = MakeText(layout, f.name, f.caption, 32767, span);
                e->setReadOnly(true);
                e->setFocusPolicy(Qt::ClickFocus);
                control = e;
            }
            break;
        case Kind::kList:
            control = MakeList(layout, f.name, f.caption, change ? change->button.data() : nullptr,
                               f.count);
            break;
        case Kind::kCheck: {
            auto* c = new QCheckBox(caption, page);
            c->setObjectName(objectName);
            c->setEnabled(stored);
            layout.AddAlone(c, span);
            control = c;
            break;
        }
        case Kind::kChoice: {
            auto* c = MakeCombo(layout, f.name, f.caption);
            for (const char* item : f.items) c->addItem(Latin(item));
            c->setCurrentIndex(-1);
            control = c;
            break;
        }
    }
    Bound(f, control, month);
    return control;
}

void Binding::Add(std::string_view name, QWidget* control) {
    const db::Field& f = Field(name);
    Bound(f, control, f.kind == Kind::kDate && name == f.monthName);
}

Binding::Row& Binding::Bound(const db::Field& f, QWidget* control, bool month) {
    auto changed = changed_;
    const bool stored = f.edit == db::Edit::kStored;
    auto edits = [&](QLineEdit* e) {
        if (stored) QObject::connect(e, &QLineEdit::textChanged, e, [changed] { changed(); });
        return e;
    };
    auto box = [&](QComboBox* b) {
        if (stored)
            QObject::connect(b, &QComboBox::currentIndexChanged, b, [changed] { changed(); });
        return b;
    };
    if (month) {
        for (auto& r : rows_)
            if (&r->field() == &f && r->TakeMonth(edits(As<QLineEdit>(control, f)))) return *r;
        throw std::logic_error(std::string("the month of ") + f.name + " before its day");
    }
    std::unique_ptr<Row> row;
    switch (f.kind) {
        case Kind::kNumber:
            row = std::make_unique<NumberRow>(f, edits(As<QLineEdit>(control, f)));
            break;
        case Kind::kText:
            row = std::make_unique<TextRow>(f, edits(As<QLineEdit>(control, f)));
            break;
        case Kind::kCoordinate:
            row = std::make_unique<CoordinateRow>(f, edits(As<QLineEdit>(control, f)));
            break;
        case Kind::kDate:
            row = std::make_unique<DateRow>(f, edits(As<QLineEdit>(control, f)));
            break;
        case Kind::kReference:
            if (f.target == db::Target::kColour)
                row = std::make_unique<ColourRow>(f, box(As<QComboBox>(control, f)));
            else if (f.target == db::Target::kLanguage)
                row = std::make_unique<LanguageRow>(f, edits(As<QLineEdit>(control, f)));
            else
                row = std::make_unique<RefRow>(f, edits(As<QLineEdit>(control, f)));
            break;
        case Kind::kList:
            row = std::make_unique<ListRow>(f, As<QListWidget>(control, f));
            break;
        case Kind::kCheck: {
            QCheckBox* c = As<QCheckBox>(control, f);
            if (stored) QObject::connect(c, &QCheckBox::clicked, c, [changed] { changed(); });
            row = std::make_unique<CheckRow>(f, c);
            break;
        }
        case Kind::kChoice:
            row = std::make_unique<ChoiceRow>(f, box(As<QComboBox>(control, f)));
            break;
    }
    rows_.push_back(std::move(row));
    return *rows_.back();
}

namespace {
// The record a field of a row lies in.
template <class P>
P RecordOf(const db::Field& f, P rec, P block) {
    if (f.part != db::Part::kRecord && !block)
        throw std::logic_error(std::string("no block record for ") + f.name);
    return f.part == db::Part::kRecord ? rec : block;
}
}  // namespace

void Binding::Show(const std::uint8_t* rec, const std::uint8_t* block, RowContext& ctx) {
    for (auto& r : rows_) {
        if (!r->Complete())
            throw std::logic_error(std::string("the page has no month field of ") +
                                   r->field().name);
        r->Prepare(RecordOf(r->field(), rec, block), ctx);
    }
    for (auto& r : rows_) r->Fill();
}

void Binding::Save(std::uint8_t* rec, std::uint8_t* block, RowContext& ctx) {
    // What a page only shows, and what only a transfer or an appointment changes, stays.
    auto stored = [](const std::unique_ptr<Row>& r) {
        return r->field().edit == db::Edit::kStored;
    };
    for (const auto& r : rows_)
        if (stored(r)) r->Want(ctx);
    ctx.found.Run();
    for (auto& r : rows_)
        if (stored(r)) r->Collect(ctx);
    for (auto& r : rows_)
        if (stored(r)) r->Apply(RecordOf(r->field(), rec, block));
}

void Binding::Saved(const std::uint8_t* rec, const std::uint8_t* block) {
    for (auto& r : rows_) r->Saved(RecordOf(r->field(), rec, block));
}

void Binding::Clear() {
    for (auto& r : rows_) r->Clear();
}

}  // namespace vh::ui
