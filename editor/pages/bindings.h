// Binding rows: one per field a page shows, built from the field's entry in the catalogue
// (database/catalogue.h). A page names each field once: Make builds its control from the entry (a
// numeric field with its range, a text of its width, a reference with its Change button, a check
// box, a date's day and month, ...) with the caption, places it and binds it. Show fills every
// control from the records; Save converts and stores what the user changed.
//
// A row remembers what its show put on the page. On save, a row whose control still shows
// exactly that keeps the stored bytes (shared names, rounding and odd flag values never rewrite a
// record behind the user's back); a changed row is converted and stored. A save converts and
// looks up every changed row before it changes a byte of the record. Fields that only the
// transfer and appointment rules change, and fields the page only shows, are never stored.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "database/model/session.h"
#include "database/records/catalogue.h"
#include "database/records/reference.h"
#include "editor/pages/field_layout.h"

class QWidget;

namespace vh::ui {

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
    // Rows over fields of one table of the catalogue. Every control reports its edits to
    // `changed`.
    Binding(db::TableId table, std::function<void()> changed);
    ~Binding();
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    // The field of that name (or whose month field has that name); a name the table does not
    // have is a fault of the program: std::logic_error.
    const db::Field& Field(std::string_view name) const;

    // Makes the control of the field named so (a date's day or month field by its own name),
    // with the field's caption, on the layout, and binds it. A reference gets the Change button
    // of its picker code beside it, a list the button under it.
    QWidget* Make(FieldLayout& layout, std::string_view name, int span = 1);
    template <class W>
    W* Make(FieldLayout& layout, std::string_view name, int span = 1) {
        return static_cast<W*>(Make(layout, name, span));
    }
    // Binds a control the page made and placed itself (its object name is the field's name).
    void Add(std::string_view name, QWidget* control);

    // Reads every reference first, then fills the controls, so a record that cannot be shown
    // leaves the page as it was. A reference outside its file shows MissingText and is listed in
    // the context. `block` is a person's player or non-player record.
    void Show(const std::uint8_t* rec, const std::uint8_t* block, RowContext& ctx);
    void Show(const std::uint8_t* rec, RowContext& ctx) { Show(rec, nullptr, ctx); }
    // Converts and looks up every row the user changed, then writes them into the records; a
    // failure leaves them as they were and focuses the field at fault.
    void Save(std::uint8_t* rec, std::uint8_t* block, RowContext& ctx);
    void Save(std::uint8_t* rec, RowContext& ctx) { Save(rec, nullptr, ctx); }
    // After the records were written: the page now shows what the files hold, so the next save
    // compares against that.
    void Saved(const std::uint8_t* rec, const std::uint8_t* block = nullptr);
    // Empties every control.
    void Clear();

    class Row;

  private:
    Row& Bound(const db::Field& f, QWidget* control, bool month);
    const db::Table& table_;
    std::function<void()> changed_;
    std::vector<std::unique_ptr<Row>> rows_;
};

}  // namespace vh::ui
