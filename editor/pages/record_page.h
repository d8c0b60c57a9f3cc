// A page of one record found by its name: the stadium, city, club and nation pages. The search
// finds the first record one of whose names (the table's searchedBy) equals the text, the show
// fills the bound fields and the Id, the save stores what the user changed and applies the
// record's rules. A page builds its panel and binds its fields in tab order; what else it writes
// is its own.
#pragma once

#include <QLineEdit>
#include <QString>
#include <cstdint>
#include <optional>

#include "database/records/catalogue.h"
#include "editor/pages/bindings.h"
#include "editor/pages/page.h"

namespace vh::ui {

template <class R>
class TRecordPage : public TPage {
  public:
    QWidget* Panel() const override { return panel_; }
    void Search(const QString& text, Radio radio) override {
        MakeCurrent(File(), Find(text, radio), record_, [this] { ShowRecord(); });
    }
    // Stores what the user changed into the record the search found. Fields that only the
    // transfer and appointment rules change, or that the page only shows, keep their bytes.
    void Save() override;
    void Clear() override {
        binding_.Clear();
        id_->clear();
        SetHasRecord(false);
    }
    std::optional<QString> SearchTextFor(std::int64_t record) override {
        return ReachableName<R>(File(), record, table_.searchedBy);
    }

  protected:
    TRecordPage(PageContext& context, db::TableId table, QWidget* panel)
        : TPage(context),
          table_(db::TableOf(table)),
          binding_(table, ctx_.markChanged),
          panel_(panel) {}

    // The record the search text names: by default by the table's names.
    virtual std::optional<std::int64_t> Find(const QString& text, Radio) {
        return FindByName(File(), table_.recordSize, text, table_.searchedBy);
    }
    // Every reference is read before the first control changes: a record that cannot be shown
    // leaves the previous one on the page whole, not mixed with the new one for a save.
    void ShowRecord();
    db::RecordFile& File() { return *Files().Of(table_.target); }

    const db::Table& table_;
    R record_;  // the record on the page
    Binding binding_;
    QLineEdit* id_ = nullptr;  // the record's Id, shown only; made where the page places it

  private:
    QWidget* panel_;
};

template <class R>
void TRecordPage<R>::ShowRecord() {
    RowContext rows(Session());
    binding_.Show(record_.data(), rows);
    id_->setText(QString::number(record_.Get(R::Id)));
    SetHasRecord(true);
    ReportMissing(rows.missing);
}

template <class R>
void TRecordPage<R>::Save() {
    if (number_ < 0) return;
    RowContext rows(Session());
    // Read, changed and written under the folder's lock. The record as the page showed it is what
    // the file must still hold: another program's change since is not written over
    // (db::EStaleError), and the shell shows the record again as it is now.
    const db::WriteLock lock(Session().dataPath);
    R rec = ReadRecord<R>(File(), number_);
    binding_.Save(rec.data(), rows);
    // Never more seats than places, and the like; the field keeps what was typed.
    db::ApplyRecordRules(table_.id, rec.data());
    db::WriteSet set(SaveLabel(table_, rec.data()));
    std::string name = SaveLabel(table_, record_.data()).substr(8);  // "Club Oslund"
    set.PutRecord(FileNameIn(Session().dataPath, File()), number_, rec, record_, std::move(name));
    CommitSet(set);
    record_ = rec;
    // The page now shows what is stored: changing a field back after this save is a change.
    binding_.Saved(record_.data());
}

}  // namespace vh::ui
