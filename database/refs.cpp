#include "refs.h"

#include <algorithm>

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

std::vector<Referrer> FindReferrers(DataFiles& files, TableId table, std::int64_t record) {
    const Target target = TargetOf(table);
    const std::int64_t targetCount = files.CountOf(target);
    std::vector<Referrer> out;
    for (const Table& t : Tables()) {
        std::vector<const Field*> fields = FieldsPointingAt(t, target);
        std::erase_if(fields, [&](const Field* f) { return f->IsNone(record, targetCount); });
        if (fields.empty()) continue;
        const TableRows rows(files, t.id);
        for (std::size_t i = 0; i < rows.Size(); ++i) {
            const RowRef& row = rows[i];
            std::string label;  // read once, for the row's first hit
            for (const Field* f : fields) {
                const std::uint8_t* rec = row.Of(*f);
                if (!rec) continue;
                for (std::size_t k = 0; k < f->count; ++k) {
                    if (f->Read(rec, k) != record) continue;
                    if (label.empty()) label = rows.Label(row);
                    out.push_back({t.id, row.record, label, f});
                    break;
                }
            }
        }
    }
    return out;
}

}  // namespace vh::db
