#include "database/tables/table_edits.h"

#include <string_view>
#include <utility>

namespace vh::db {

namespace {

// The edits as the cells of an import: one row per record, one column per column edited (a
// reference given by name in its ".name" column).
CellTable Cells(const std::vector<Column>& columns,
                const std::map<std::int64_t, TableEdits::Row>& edits) {
    CellTable cells;
    cells.columns.push_back(std::string(kRecordColumn));
    std::map<std::pair<std::size_t, bool>, std::size_t> place;  // (column, by name) -> cell
    auto byName = [&](std::size_t column, const TableEdits::Cell& c) {
        return columns[column].field->IsReference() && !c.input.numbers;
    };
    for (const auto& [record, row] : edits)
        for (const auto& [column, c] : row) {
            const bool named = byName(column, c);
            if (place.try_emplace({column, named}, cells.columns.size()).second)
                cells.columns.push_back(named ? columns[column].name + std::string(kNameSuffix)
                                              : columns[column].name);
        }
    for (const auto& [record, row] : edits) {
        CellTable::Row r;
        r.line = cells.rows.size() + 1;
        r.cells.resize(cells.columns.size());
        r.cells[0] = std::to_string(record);
        for (const auto& [column, c] : row)
            r.cells[place.at({column, byName(column, c)})] = c.input.text;
        cells.rows.push_back(std::move(r));
    }
    return cells;
}

}  // namespace

ImportPlan TableEdits::Check(DataFiles& files, const TableRows& rows,
                             std::map<std::int64_t, Row> edits, bool keep) {
    const std::vector<Column>& columns = rows.Columns();
    const TableId table = rows.Of().id;
    ImportPlan plan = PlanImport(files, table, Cells(columns, edits));
    if (!keep || !plan.bad.empty()) return plan;
    // What each cell writes; a cell that writes nothing is no edit.
    std::map<std::pair<std::int64_t, std::string_view>, const std::string*> after;
    for (const CellChange& c : plan.changes)
        if (c.table == table)
            after.emplace(std::pair{c.record, std::string_view(c.column)}, &c.after);
    for (auto& [record, row] : edits) {
        Row kept;
        for (auto& [column, c] : row) {
            const auto it = after.find({record, columns[column].name});
            if (it == after.end()) continue;
            c.after = *it->second;
            kept.emplace(column, std::move(c));
        }
        if (kept.empty())
            edits_.erase(record);
        else
            edits_[record] = std::move(kept);
    }
    return plan;
}

ImportPlan TableEdits::Enter(DataFiles& files, const TableRows& rows,
                             const std::vector<Entry>& entries) {
    std::map<std::int64_t, Row> edits;
    for (const Entry& e : entries) {
        auto [at, added] = edits.try_emplace(e.record);
        if (added)
            if (const auto it = edits_.find(e.record); it != edits_.end()) at->second = it->second;
        at->second[e.column] = Cell{e.input, {}};
    }
    if (edits.empty()) return {};
    return Check(files, rows, std::move(edits), true);
}

void TableEdits::Recheck(DataFiles& files, const TableRows& rows) {
    if (!edits_.empty()) Check(files, rows, edits_, true);
}

ImportPlan TableEdits::Plan(DataFiles& files, const TableRows& rows) const {
    ImportPlan plan = PlanImport(files, rows.Of().id, Cells(rows.Columns(), edits_));
    plan.writes.SetLabel("Table Edit of " + std::to_string(plan.records) +
                         (plan.records == 1 ? " record" : " records"));
    return plan;
}

const TableEdits::Cell* TableEdits::Find(std::int64_t record, std::size_t column) const {
    const auto row = edits_.find(record);
    if (row == edits_.end()) return nullptr;
    const auto cell = row->second.find(column);
    return cell == row->second.end() ? nullptr : &cell->second;
}

}  // namespace vh::db
