#include "database/tables/refs.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "database/model/blocks.h"
#include "database/records/names.h"
#include "database/records/person.h"
#include "database/records/reference.h"
#include "database/records/text.h"
#include "database/tables/table_data.h"

namespace vh::db {

std::vector<const Field*> FieldsPointingAt(const Table& table, Target target) {
    std::vector<const Field*> out;
    for (const Field& f : table.fields)
        if (f.IsReference() && f.target == target) out.push_back(&f);
    if (!table.IsPersons()) return out;
    const Table& other =
        TableOf(table.id == TableId::kPlayers ? TableId::kStaff : TableId::kPlayers);
    for (const Field& g : other.fields) {
        if (!g.IsReference() || g.target != target || g.part != Part::kRecord) continue;
        const bool shown = std::any_of(
            table.fields.begin(), table.fields.end(),
            [&](const Field& f) { return f.part == Part::kRecord && f.offset == g.offset; });
        if (!shown) out.push_back(&g);
    }
    return out;
}

namespace {

// Calls each(f) for every field of `fields` one of whose slots in the record holds `record`.
template <class Each>
void EachPointing(const std::vector<const Field*>& fields, const std::uint8_t* rec,
                  std::int64_t record, Each each) {
    for (const Field* f : fields)
        for (std::size_t k = 0; k < f->count; ++k)
            if (f->Read(rec, k) == record) {
                each(f);
                break;
            }
}

bool InBlockRecord(const std::vector<const Field*>& fields) {
    return std::any_of(fields.begin(), fields.end(),
                       [](const Field* f) { return f->part != Part::kRecord; });
}

}  // namespace

WhatPointsHere::WhatPointsHere(std::string dataPath) : path_(std::move(dataPath)) {}
WhatPointsHere::~WhatPointsHere() = default;

RecordFile& WhatPointsHere::File(std::string_view name) {
    auto it = files_.find(name);
    if (it == files_.end()) {
        auto file = std::make_unique<RecordFile>();
        file->Bind(path_ + std::string(name));
        file->Reset(1, Access::kReadOnly);  // later resets keep it read-only
        it = files_.emplace(std::string(name), std::move(file)).first;
    }
    return *it->second;
}

std::int64_t WhatPointsHere::Persons() {
    if (!persons_) persons_ = PersonRecordCount(File(kStaffFile), path_);
    return *persons_;
}

std::int64_t WhatPointsHere::Count(TableId table) {
    const Table& t = TableOf(table);
    if (t.IsPersons()) return Persons();
    RecordFile& file = File(t.file);
    file.Reset(t.recordSize);
    return file.RecordCount();
}

bool WhatPointsHere::IsRow(TableId table, std::int64_t record) {
    if (!TableOf(table).IsPersons()) return true;
    const StaffRecord person = ReadPersonRecord(File(kStaffFile), record);
    return IsPlayerJob(person.Get(StaffRecord::ClubJob)) == (table == TableId::kPlayers);
}

std::string WhatPointsHere::Label(TableId table, std::int64_t record) {
    if (TableOf(table).IsPersons()) {
        const StaffRecord person = ReadPersonRecord(File(kStaffFile), record);
        return PersonLabels({{person.bytes.begin(), person.bytes.end()}}).front();
    }
    const DataFileInfo& info = InfoOf(TargetOf(table));
    return Cp1252ToUtf8(
        ShowReference(static_cast<std::int32_t>(record), File(info.name), info.naming));
}

std::vector<std::string> WhatPointsHere::PersonLabels(
    const std::vector<std::vector<std::uint8_t>>& persons) {
    // The names tables as a load fills them (at most a table's capacity, each name cut to 50
    // characters), holding only the names these persons have.
    NameTables names;
    auto fill = [&](Target t, NameTable& table, const I32& field) {
        RecordFile& file = File(InfoOf(t).name);
        file.Reset(NamesRecord::kSize);
        const auto size = static_cast<std::int64_t>(
            std::min<std::size_t>(table.capacity, static_cast<std::size_t>(file.RecordCount())));
        auto entries = std::make_shared<Names>();
        for (const std::vector<std::uint8_t>& person : persons) {
            const std::int32_t n = field.Read(person.data());
            if (n < 1 || n >= size) continue;
            if (entries->size() <= static_cast<std::size_t>(n))
                entries->resize(static_cast<std::size_t>(n) + 1);
            std::string& name = (*entries)[static_cast<std::size_t>(n)];
            if (name.empty()) name = ShowReference(n, file, kPersonName).substr(0, kNameTableWidth);
        }
        table.entries = std::move(entries);
    };
    fill(Target::kFirstName, names.first, StaffRecord::FirstName);
    fill(Target::kSecondName, names.second, StaffRecord::SecondName);
    fill(Target::kCommonName, names.common, StaffRecord::CommonName);
    std::vector<std::string> labels;
    for (const std::vector<std::uint8_t>& bytes : persons) {
        StaffRecord person;
        std::copy_n(bytes.begin(), StaffRecord::kSize, person.bytes.begin());
        labels.push_back(Cp1252ToUtf8(PersonLabel(person, names)));
    }
    return labels;
}

std::vector<Referrer> WhatPointsHere::Find(TableId table, std::int64_t record) {
    const Target target = TargetOf(table);
    const std::int64_t targetCount = Count(table);
    std::array<std::vector<const Field*>, kTableCount> fields;
    for (const Table& t : Tables()) {
        std::vector<const Field*>& of = fields[static_cast<std::size_t>(t.id)];
        of = FieldsPointingAt(t, target);
        std::erase_if(of, [&](const Field* f) { return f->IsNone(record, targetCount); });
    }
    const std::vector<const Field*>& playerFields =
        fields[static_cast<std::size_t>(TableId::kPlayers)];
    const std::vector<const Field*>& staffFields =
        fields[static_cast<std::size_t>(TableId::kStaff)];
    std::optional<DataFiles> whole;  // only for a field in a person's player or staff record

    std::vector<Referrer> out;
    // The persons of both tables in one pass over staff.dat; each table's come in its place.
    std::array<std::vector<Referrer>, 2> personHits;
    std::vector<std::vector<std::uint8_t>> found;  // the persons found, for their labels
    std::vector<std::pair<std::size_t, std::size_t>> foundAt;  // their first hit, by table
    bool personsRead = false;
    // A kind with a field in its block records is read through its rows instead (below).
    const bool scanPlayers = !InBlockRecord(playerFields), scanStaff = !InBlockRecord(staffFields);
    auto readPersons = [&] {
        personsRead = true;
        if (playerFields.empty() && staffFields.empty()) return;
        const std::int64_t persons = Persons();
        std::int64_t id = 0;
        FindFirst(File(kStaffFile), StaffRecord::kSize, [&](const std::uint8_t* rec) {
            if (id >= persons) return true;
            const bool player = IsPlayerJob(StaffRecord::ClubJob.Read(rec));
            std::vector<Referrer>& hits = personHits[player ? 0 : 1];
            const std::size_t before = hits.size();
            if (player ? scanPlayers : scanStaff)
                EachPointing(player ? playerFields : staffFields, rec, record, [&](const Field* f) {
                    hits.push_back({player ? TableId::kPlayers : TableId::kStaff, id, {}, f});
                });
            if (hits.size() > before) {
                found.emplace_back(rec, rec + StaffRecord::kSize);
                foundAt.emplace_back(player ? 0 : 1, before);
            }
            ++id;
            return false;
        });
        const std::vector<std::string> labels = PersonLabels(found);
        for (std::size_t i = 0; i < found.size(); ++i) {
            std::vector<Referrer>& hits = personHits[foundAt[i].first];
            for (std::size_t k = foundAt[i].second;
                 k < hits.size() && hits[k].record == hits[foundAt[i].second].record; ++k)
                hits[k].label = labels[i];
        }
    };

    for (const Table& t : Tables()) {
        const std::vector<const Field*>& of = fields[static_cast<std::size_t>(t.id)];
        if (of.empty()) continue;
        if (InBlockRecord(of)) {
            // A person's player or non-player record is found through the blocks of staff.dat:
            // read through the rows of the table, the whole file at once.
            if (!whole) whole.emplace(path_);
            const TableRows rows(*whole, t.id);
            for (std::size_t i = 0; i < rows.Size(); ++i) {
                const RowRef& row = rows[i];
                std::string label;
                for (const Field* f : of) {
                    const std::uint8_t* rec = row.Of(*f);
                    if (!rec) continue;
                    EachPointing({f}, rec, record, [&](const Field*) {
                        if (label.empty()) label = rows.Label(row);
                        out.push_back({t.id, row.record, label, f});
                    });
                }
            }
            continue;
        }
        if (t.IsPersons()) {
            if (!personsRead) readPersons();
            std::vector<Referrer>& hits = personHits[t.id == TableId::kPlayers ? 0 : 1];
            std::move(hits.begin(), hits.end(), std::back_inserter(out));
            continue;
        }
        // Every record of the file through a buffer; the records found are read again for their
        // names.
        const std::size_t first = out.size();
        std::int64_t n = 0;
        FindFirst(File(t.file), t.recordSize, [&](const std::uint8_t* rec) {
            EachPointing(of, rec, record, [&](const Field* f) { out.push_back({t.id, n, {}, f}); });
            ++n;
            return false;
        });
        for (std::size_t i = first; i < out.size(); ++i)
            out[i].label = i > first && out[i - 1].record == out[i].record
                               ? out[i - 1].label
                               : Label(t.id, out[i].record);
    }
    return out;
}

}  // namespace vh::db
