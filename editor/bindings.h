// Binding tables: one row per field of a page, naming its control, its caption and the record
// field it shows. A page declares its rows as constant tables, resolves them against its panel
// once when it is built, and then shows and saves through them.
//
// A row remembers what its show put on the page. On save, a row whose control still shows
// exactly that keeps the stored bytes (shared names, rounding and odd flag values never rewrite a
// record behind the user's back); a changed row is converted and stored. A save converts and
// looks up every changed row before it changes a byte of the record.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "database/fields.h"
#include "database/reference.h"
#include "database/session.h"

class QWidget;

namespace vh::ui {

// --- what the tables are made of -------------------------------------------------------------

// A whole-number field of a record, whatever its width.
struct IntField {
    std::size_t offset;
    int width;
    bool isSigned;
    constexpr IntField(db::I32 f) : offset(f.offset), width(4), isSigned(true) {}
    constexpr IntField(db::I16 f) : offset(f.offset), width(2), isSigned(true) {}
    constexpr IntField(db::U8 f) : offset(f.offset), width(1), isSigned(false) {}
    constexpr long long Lowest() const { return isSigned ? -(1LL << (8 * width - 1)) : 0; }
    constexpr long long Highest() const {
        return isSigned ? (1LL << (8 * width - 1)) - 1 : (1LL << (8 * width)) - 1;
    }
    long long Read(const std::uint8_t* rec) const;
    void Write(std::uint8_t* rec, long long value) const;
};

namespace detail {
// Called only where a table is wrong: its use in a constant expression stops the compilation.
inline void RangeDoesNotFitItsField() {}
}  // namespace detail

// A numeric field: its range must fit the field's width, or the table does not compile.
struct NumberRow {
    const char* name;
    const char* caption;
    IntField field;
    int min;
    int max;
    int maxLength = 0;  // characters the field takes; 0 for no limit
    consteval NumberRow(const char* n, const char* c, IntField f, int lo, int hi, int len = 0)
        : name(n), caption(c), field(f), min(lo), max(hi), maxLength(len) {
        if (lo > hi || lo < f.Lowest() || hi > f.Highest()) detail::RangeDoesNotFitItsField();
    }
};

// A fixed-string field shown as text; at most its width is typed.
struct TextRow {
    const char* name;
    const char* caption;
    db::Str field;
};

// Which file a reference points into and how its records are named there.
using RefTarget = db::Target;
inline constexpr RefTarget kToStadium = db::Target::kStadium;
inline constexpr RefTarget kToCity = db::Target::kCity;
inline constexpr RefTarget kToClub = db::Target::kClub;
inline constexpr RefTarget kToCompetition = db::Target::kCompetition;
inline constexpr RefTarget kToNation = db::Target::kNation;
inline constexpr RefTarget kToContinent = db::Target::kContinent;
inline constexpr RefTarget kToFirstName = db::Target::kFirstName;
inline constexpr RefTarget kToSecondName = db::Target::kSecondName;
inline constexpr RefTarget kToCommonName = db::Target::kCommonName;
inline constexpr RefTarget kToPerson = db::Target::kPerson;

// A read-only field that shows the name of the record a reference points to; changed through
// the picker.
struct RefRow {
    const char* name;
    const char* caption;
    db::I32 field;
    RefTarget target;
    bool zeroIsNone = false;         // a common name of 0 is no name
    const char* noneText = nullptr;  // what none shows; "<empty>" when not set
};

// A check box over a flag byte: which stored values show as checked, and what a changed box
// stores.
struct CheckRow {
    enum class Checked { kWhenNonZero, kWhenZero, kUnlessOne };
    const char* name;
    const char* caption;
    db::U8 field;
    Checked when;
    std::uint8_t checkedValue;
    std::uint8_t uncheckedValue;
};

// A day-of-the-year date shown as a day field and a month field (the year is a number row).
struct DateRow {
    const char* dayName;
    const char* dayCaption;
    const char* monthName;
    const char* monthCaption;
    db::I16 field;
    int maxLength = 0;
};

// A list of record numbers shown as lines, one per slot.
struct ListRow {
    const char* name;
    const char* caption;
    std::size_t offset;  // the first slot; slots are consecutive int32 record numbers
    std::size_t count;
    RefTarget target;
    // A slot outside the file shows "<empty>" and is saved as -1 (rival clubs and nations),
    // rather than a placeholder that keeps the stored number.
    bool outsideIsEmpty = false;
    template <std::size_t N>
    constexpr ListRow(const char* n, const char* c, db::I32Array<N> first, RefTarget t,
                      bool outside = false)
        : name(n), caption(c), offset(first.offset), count(N), target(t), outsideIsEmpty(outside) {}
};

// A drop-down list of fixed items over a byte: item i stands for the value i + 1; a value that no
// item stands for selects nothing.
struct ComboRow {
    const char* name;
    const char* caption;
    db::U8 field;
    std::span<const char* const> items;
};

// A kit colour: a drop-down list of every colour of colour.dat, where an item's position is the
// colour's identifier (filled by SetColours).
struct ColourRow {
    const char* name;
    const char* caption;
    db::I32 field;
};

// A language of a nation: a read-only field showing the name of language n (1..60), "<empty>"
// for 0 and the number itself above 60; changed through the picker.
struct LanguageRow {
    const char* name;
    const char* caption;
    db::U8 field;
};

// --- a page's resolved table ------------------------------------------------------------------

// What rows read and report while they show and save.
struct RowContext {
    explicit RowContext(db::Session& s) : session(s) {}
    db::Session& session;
    QStringList missing;  // "City: city.dat has no record 9999", one line per such field
    std::optional<QStringList> colours;   // colour.dat's names, read once per show
    std::optional<std::int64_t> persons;  // staff.dat's person records, counted once per show
    // Names that a save looks up by text, found before the rows convert with one pass over each
    // file for all of them (Binding::Save); a row takes its record from here when it is listed.
    db::BatchLookup found;
};

// The names of colour.dat in the order of their identifiers: the entry at position Id of each
// record, in file order. A record whose Id would leave a gap cannot be placed and stops the fill
// with "Unable to insert a line".
QStringList SetColours(db::RecordFile& colours);

// The text a reference outside its file shows: it names the number, and an untouched save keeps
// it.
QString MissingText(std::int64_t value);

class Binding {
  public:
    Binding();
    ~Binding();
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    // Each row's control is found on the panel by its name; a row whose control is missing is a
    // fault of the program and throws std::logic_error when the page is built. Every control
    // reports its edits to `changed`.
    void Resolve(QWidget* panel, const std::function<void()>& changed,
                 std::span<const NumberRow> numbers, std::span<const TextRow> texts = {},
                 std::span<const RefRow> refs = {}, std::span<const CheckRow> checks = {},
                 std::span<const DateRow> dates = {}, std::span<const ListRow> lists = {});
    // Further kinds of rows, resolved the same way.
    void Resolve(QWidget* panel, const std::function<void()>& changed,
                 std::span<const ComboRow> combos, std::span<const ColourRow> colours = {},
                 std::span<const LanguageRow> languages = {});

    // Reads every reference first, then fills the controls, so a record that cannot be shown
    // leaves the page as it was. A reference outside its file shows MissingText and is listed in
    // the context.
    void Show(const std::uint8_t* rec, RowContext& ctx);
    // Converts and looks up every row the user changed, then writes them into rec; a failure
    // leaves rec as it was and focuses the field at fault.
    void Save(std::uint8_t* rec, RowContext& ctx);
    // After the record was written: the page now shows what the file holds, so the next save
    // compares against that.
    void Saved(const std::uint8_t* rec);
    // Empties every control.
    void Clear();

    class Row;

  private:
    std::vector<std::unique_ptr<Row>> rows_;
};

}  // namespace vh::ui
