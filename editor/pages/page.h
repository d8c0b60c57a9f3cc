// An editing page: the panel of one mode, with its own widgets, its record buffer, its binding
// tables and its documented routines. The shell reaches every page through this interface and a
// table indexed by mode; a page knows a small context, not the main window.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

#include "database/model/session.h"
#include "database/records/catalogue.h"
#include "database/records/data_def.h"
#include "database/records/fields.h"
#include "database/records/record_file.h"
#include "database/write/write_set.h"
#include "dialogs/list_source.h"
#include "dialogs/qtext.h"

class QWidget;

namespace vh::ui {

// The first record of the file one of whose name fields equals the text exactly (whole text, same
// letter case); nullopt when none does, or when the text holds a character the files cannot.
std::optional<std::int64_t> FindByName(db::RecordFile& file, int recordSize, const QString& text,
                                       std::span<const db::Str> fields);
inline std::optional<std::int64_t> FindByName(db::RecordFile& file, int recordSize,
                                              const QString& text,
                                              std::initializer_list<db::Str> fields) {
    return FindByName(file, recordSize, text, std::span(fields.begin(), fields.size()));
}

// What a page may use of the window.
struct PageContext {
    db::Session& session;               // the open file set, the name and list tables
    ListSource& lists;                  // the list fillers (the people lists)
    QWidget* window;                    // owner of the page's message boxes
    std::function<void()> markChanged;  // an edit on the page: "Save Data" becomes enabled
    std::function<bool()> readOnly;     // the data were loaded read-only: nothing is written
    std::function<void()> recordShown;  // a record came onto a page or left it
};

class TPage {
  public:
    explicit TPage(PageContext& context) : ctx_(context) {}
    virtual ~TPage() = default;
    TPage(const TPage&) = delete;
    TPage& operator=(const TPage&) = delete;

    // The panel of the mode, carrying its documented name (StadiumPanel, PlayerPanel, ...).
    virtual QWidget* Panel() const = 0;
    // Makes the record that the search text names current and shows it. Finding nothing says
    // "No Matches" and leaves the page as it was.
    virtual void Search(const QString& text, Radio radio) = 0;
    // Writes the page back: every conversion and lookup first, then the writes.
    virtual void Save() = 0;
    // Empties the page: no record is on it, its fields are disabled.
    virtual void Clear() = 0;
    // The text this page's search finds `record` by (a name, a person's label); nullopt when no
    // search can: the record is outside its file, or an earlier record has the same name.
    virtual std::optional<QString> SearchTextFor(std::int64_t record) = 0;
    // Whether a record is on the page; only then can it be changed and saved.
    bool HasRecord() const { return hasRecord_; }
    // Where the search found the record on the page (its saves go there); -1 for none.
    std::int64_t RecordNumber() const { return number_; }

  protected:
    db::Session& Session() { return ctx_.session; }
    db::FileSet& Files() { return ctx_.session.files; }
    // The areas that hold the page's fields: enabled only while a record is on the page.
    void AddFieldArea(QWidget* area);
    void SetHasRecord(bool has);
    // Says once which references of the record just shown point outside their files.
    void ReportMissing(const QStringList& missing);
    void NoMatches();
    // Makes the record a search found current: reads it into `buffer` and runs `show`. Nothing
    // found says "No Matches"; a show that fails leaves the previous record in the buffer (the
    // page still shows it). False when no record became current.
    template <class R, class Show>
    bool MakeCurrent(db::RecordFile& file, std::optional<std::int64_t> found, R& buffer,
                     Show&& show);

    // The first of the record's names that a search by these fields finds this record by.
    template <class R>
    std::optional<QString> ReachableName(db::RecordFile& file, std::int64_t record,
                                         std::span<const db::Str> fields);

    // Commits the set through the write path (journal, then the records in place) and keeps it
    // for Undo.
    void CommitSet(const db::WriteSet& set);

    PageContext& ctx_;
    std::int64_t number_ = -1;

  private:
    std::vector<QWidget*> fieldAreas_;
    bool hasRecord_ = false;
};

// The message of a search that found nothing.
void ShowNoMatches(QWidget* parent);

// What Undo calls a save of a record of the table: "Save of Club Oslund", by the first of the
// names a search matches that is not empty.
std::string SaveLabel(const db::Table& table, const std::uint8_t* rec);
// The name of a data file as the file lists spell it ("\\club.dat"), from a file of the session's
// set (bound to the data path followed by that name).
std::string FileNameIn(const std::string& dataPath, const db::RecordFile& file);

// Reads record `number` into a buffer of its own.
template <class R>
R ReadRecord(db::RecordFile& file, std::int64_t number) {
    R rec;
    file.Reset(static_cast<int>(R::kSize));
    file.Seek(number);
    file.Read(rec.bytes);
    return rec;
}

template <class R, class Show>
bool TPage::MakeCurrent(db::RecordFile& file, std::optional<std::int64_t> found, R& buffer,
                        Show&& show) {
    if (!found) {
        NoMatches();
        return false;
    }
    const R previous = buffer;
    buffer = ReadRecord<R>(file, *found);
    try {
        show();
    } catch (...) {
        buffer = previous;
        throw;
    }
    number_ = *found;
    return true;
}

template <class R>
std::optional<QString> TPage::ReachableName(db::RecordFile& file, std::int64_t record,
                                            std::span<const db::Str> fields) {
    file.Reset(static_cast<int>(R::kSize));
    if (record < 0 || record >= file.RecordCount()) return std::nullopt;
    const R rec = ReadRecord<R>(file, record);
    for (const db::Str& f : fields) {
        const QString name = FromCp1252(rec.Get(f));
        if (!name.isEmpty() && FindByName(file, static_cast<int>(R::kSize), name, fields) == record)
            return name;
    }
    return std::nullopt;
}

}  // namespace vh::ui
