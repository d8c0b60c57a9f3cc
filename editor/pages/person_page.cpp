#include "editor/pages/person_page.h"

#include <QLineEdit>
#include <QVariant>
#include "database/model/lists.h"
#include "database/records/errors.h"
#include "database/records/person.h"

#include "dialogs/change.h"
#include "dialogs/guard.h"
#include "dialogs/qtext.h"

namespace vh::ui {

using db::StaffRecord;

TPersonPage::TPersonPage(PageContext& context, db::TableId table)
    : TPage(context), rows_(table, ctx_.markChanged) {}

QString TPersonPage::GetStaffName(std::int32_t id) {
    return FromCp1252(db::GetStaffName(id, Files().staff, Session().names));
}

std::int32_t TPersonPage::GetStaffIdFromName(const QString& label) {
    std::string bytes;
    if (!TryToCp1252(label, bytes))
        throw db::EConvertError("'" + label.toStdString() + "' is not a valid integer value");
    return db::GetStaffIdFromName(bytes);
}

std::optional<db::StaffRecord> TPersonPage::ReadPerson(const QString& label) {
    std::string bytes;
    std::int32_t id = -1;
    if (TryToCp1252(label, bytes)) {
        try {
            id = db::GetStaffIdFromName(bytes);
        } catch (const db::EConvertError&) {
            id = -1;
        }
    }
    db::RecordFile& staff = Files().staff;
    if (id >= 0) {
        if (id < db::PersonRecordCount(staff, Session().dataPath)) {
            StaffRecord person = ReadRecord<StaffRecord>(staff, id);
            // The label must be this person's, as the lists write it.
            std::string own = db::PersonLabel(person, Session().names);
            if (own.size() > db::kPersonLabelWidth) own.resize(db::kPersonLabelWidth);
            if (own == bytes) return person;
        }
    }
    NoMatches();
    return std::nullopt;
}

std::string TPersonPage::PersonName(const db::StaffRecord& person) {
    return db::PersonLabel(person, Session().names);
}

void TPersonPage::SavePerson(const db::StaffRecord& person, const char* kind,
                             const std::function<void(db::WriteSet&)>& putBlock) {
    const db::WriteLock lock(Session().dataPath);
    const std::string name = std::string(kind) + " " + PersonName(StaffRec);
    db::WriteSet set("Save of " + std::string(kind) + " " + PersonName(person));
    // Planned from the records as the page showed them: written only while the files hold them.
    set.PutRecord(db::kStaffFile, person.Get(StaffRecord::Id), person, StaffRec, name);
    putBlock(set);
    CommitSet(set);
    StaffRec = person;
}

std::int32_t TPersonPage::MoveTarget(QLineEdit* edit, db::RecordFile& file,
                                     const db::NameField& field) {
    const QString text = edit->text();
    if (text.isEmpty()) return -1;
    const QVariant picked = edit->property(kRecordProperty);
    if (picked.isValid()) return picked.toInt() < 0 ? -1 : picked.toInt();
    if (text == QLatin1String(db::kEmptyMarker.data(), db::kEmptyMarker.size())) return -1;
    std::string bytes;
    try {
        bytes = ToCp1252(text);  // names a character the files cannot hold
    } catch (const db::EConvertError& e) {
        throw EFieldError(edit, QString::fromUtf8(e.what()));
    }
    return db::LookupByName(bytes, file, field);
}

TPersonPage::MoveInput TPersonPage::ReadMove(std::int32_t target) {
    MoveInput in{StaffRec, {}, {}};
    db::RecordFile& clubs = Files().club;
    clubs.Reset(db::ClubRecord::kSize);
    const std::int32_t old = in.person.Get(StaffRecord::Club);
    if (old >= clubs.RecordCount())
        in.person.Set(StaffRecord::Club, -1);
    else if (old >= 0)
        in.left = ReadRecord<db::ClubRecord>(clubs, old);
    if (target >= 0 && target != in.person.Get(StaffRecord::Club))
        in.joined = ReadRecord<db::ClubRecord>(clubs, target);
    return in;
}

void TPersonPage::WriteMove(const db::MoveResult& move, const char* what) {
    db::WriteSet set(std::string(what) + " of " + PersonName(move.person));
    db::PutMove(move, set, &StaffRec, PersonName(StaffRec));
    CommitSet(set);
    StaffRec = move.person;
}

void TPersonPage::Shown(QLineEdit* id, const QStringList& missing) {
    id->setText(QString::number(StaffRec.Get(StaffRecord::Id)));
    SetHasRecord(true);
    number_ = StaffRec.Get(StaffRecord::Id);
    ReportMissing(missing);
}

std::optional<QString> TPersonPage::SearchTextFor(std::int64_t record) {
    db::RecordFile& staff = Files().staff;
    if (record < 0 || record >= db::PersonRecordCount(staff, Session().dataPath))
        return std::nullopt;
    std::string label = db::GetStaffName(static_cast<std::int32_t>(record), staff, Session().names);
    if (label.size() > db::kPersonLabelWidth) label.resize(db::kPersonLabelWidth);
    return FromCp1252(label);
}

}  // namespace vh::ui
