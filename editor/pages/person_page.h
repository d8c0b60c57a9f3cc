// What the player and staff pages share: the person record (StaffRec) from staff.dat, reading and
// writing it, the labels that name people in every list, and the rows both pages show. Each page
// adds its own block record (the player's or the staff member's attributes) and its tabs.
#pragma once

#include <functional>
#include <optional>

#include "database/model/blocks.h"
#include "database/model/squad.h"
#include "database/records/data_def.h"
#include "editor/pages/bindings.h"
#include "editor/pages/page.h"

class QLineEdit;

namespace vh::ui {

class TPersonPage : public TPage {
  public:
    // `table` is the page's table of the catalogue: players or staff.
    TPersonPage(PageContext& context, db::TableId table);

    db::StaffRecord StaffRec;  // the person on the page

    // The label of the person with that Id ("Berg, Tomas (123)"), read from staff.dat into a
    // buffer of its own.
    QString GetStaffName(std::int32_t id);
    // The Id at the end of a label; "'<label>' is not a valid integer value" when it has none.
    static std::int32_t GetStaffIdFromName(const QString& label);
    // The label of the person with that Id, as the people lists write it.
    std::optional<QString> SearchTextFor(std::int64_t record) override;

  protected:
    // The person a list label names, read into a buffer of its own. A text that is no person's
    // label (nothing chosen, or an edited line) says "No Matches" and gives nullopt.
    std::optional<db::StaffRecord> ReadPerson(const QString& label);
    // Reads the person a label names and his block record (`get`, by the index `index` of his
    // person record) before either replaces the current one, then shows them: a person without
    // that block record, or a show that fails, leaves the previous person current and shown.
    template <class Block>
    void SearchPerson(const QString& label, Block& current, db::BlockPlace& place,
                      Block (*get)(const std::string&, std::int32_t, db::BlockPlace&,
                                   db::ScratchFiles&),
                      db::I32 index, const std::function<void()>& show);
    // After a show: the person's Id on the page, which person a save writes, the warning of
    // references outside their files.
    void Shown(QLineEdit* id, const QStringList& missing);
    // The person's label as the lists write it, for what Undo calls a command ("Berg, Tomas
    // (123)").
    std::string PersonName(const db::StaffRecord& person);
    // Commits `person` and, added to the same write set by `putBlock`, the person's block record
    // (the player's or the staff member's attributes): both are saved or neither is. Then `person`
    // is the current person. `kind` names the page for Undo ("Save of Player Berg, Tomas (123)").
    void SavePerson(const db::StaffRecord& person, const char* kind,
                    const std::function<void(db::WriteSet&)>& putBlock);
    // The club or nation a move goes to, from its target field: empty or "<empty>" is none; a pick
    // is the record picked; a typed name is looked up (the first record of that name).
    std::int32_t MoveTarget(QLineEdit* edit, db::RecordFile& file, const db::NameField& field);
    // The records a transfer or appointment needs, read before anything is written: the person
    // (a club outside club.dat holds nobody, so the person counts as having none), the club left
    // and the club joined (the same record when they are one club).
    struct MoveInput {
        db::StaffRecord person;
        std::optional<db::ClubRecord> left, joined;
        const db::ClubRecord* Left() const { return left ? &*left : nullptr; }
        const db::ClubRecord* Joined() const { return joined ? &*joined : Left(); }
    };
    MoveInput ReadMove(std::int32_t target);
    // Commits what the move returned as one write set labelled "<what> of <person>": the clubs that
    // changed, then the person as last read or saved with the move's changes (edits not yet saved
    // stay on the page for the next save). The person becomes StaffRec.
    void WriteMove(const db::MoveResult& move, const char* what);
    // The fields of the page's table: of the person record and of his block record.
    Binding rows_;
};

template <class Block>
void TPersonPage::SearchPerson(const QString& label, Block& current, db::BlockPlace& place,
                               Block (*get)(const std::string&, std::int32_t, db::BlockPlace&,
                                            db::ScratchFiles&),
                               db::I32 index, const std::function<void()>& show) {
    const std::optional<db::StaffRecord> person = ReadPerson(label);
    if (!person) return;
    db::BlockPlace found;
    const Block block = get(Session().dataPath, person->Get(index), found, Session().scratch);
    const db::StaffRecord previousPerson = StaffRec;
    const Block previousBlock = current;
    const db::BlockPlace previousPlace = place;
    StaffRec = *person;
    current = block;
    place = found;
    try {
        show();
    } catch (...) {
        StaffRec = previousPerson;
        current = previousBlock;
        place = previousPlace;
        throw;
    }
}

}  // namespace vh::ui
