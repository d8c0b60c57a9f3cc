#include "database/changes/patch.h"

#include <algorithm>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <tuple>

#include "database/tables/table_data.h"

namespace vh::db {

namespace {

using Json = nlohmann::ordered_json;

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A column a patch may name: a value or a date's month, not a shown name.
const Column* PatchColumn(const std::vector<Column>& columns, std::string_view name) {
    for (const Column& c : columns)
        if (c.name == name)
            return c.shows == Column::Shows::kValue || c.shows == Column::Shows::kMonth ? &c
                                                                                        : nullptr;
    return nullptr;
}

std::string Text(const Json& object, const char* key, std::size_t n, bool required = true) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) {
        if (!required) return {};
        throw EPatchError("change " + std::to_string(n) + " has no \"" + key + "\"");
    }
    if (it->is_string()) return it->get<std::string>();
    if (it->is_number_integer()) return std::to_string(it->get<std::int64_t>());
    throw EPatchError("change " + std::to_string(n) + ": \"" + key + "\" is no text");
}

}  // namespace

std::string PatchLeftOut::Warning() const {
    if (!byteRuns && !records) return {};
    std::string out = "the patch leaves out ";
    if (byteRuns)
        out += Plural(byteRuns, "run of changed bytes", "runs of changed bytes") +
               " that no field shows";
    if (byteRuns && records) out += " and ";
    if (records) out += Plural(records, "record", "records") + " present on one side only";
    return out + ": a patch changes fields of records both sides have";
}

Patch MakePatch(const DirectoryDiff& diff, PatchLeftOut* leftOut) {
    Patch patch;
    PatchLeftOut left;
    for (const RecordChange& r : diff.records) {
        left.byteRuns += r.bytes.size();
        if (r.side != Side::kBoth) {
            ++left.records;
            continue;
        }
        if (!r.table) continue;
        for (const FieldChange& f : r.fields)
            patch.changes.push_back({*r.table, r.record, r.oldLabel,
                                     r.label != r.oldLabel ? r.label : std::string(), f.column,
                                     f.before, f.after});
    }
    if (leftOut) *leftOut = left;
    return patch;
}

std::string EncodePatch(const Patch& patch) {
    // One change per line, so that a patch reads (and compares) line by line.
    std::string out = "{\"format\": \"" + std::string(kPatchFormat) +
                      "\", \"version\": " + std::to_string(kPatchVersion) + ", \"changes\": [";
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        Json j;
        j["table"] = std::string(TableOf(c.table).name);
        j["record"] = c.record;
        j["label"] = c.label;
        if (!c.newLabel.empty()) j["newLabel"] = c.newLabel;
        j["field"] = c.field;
        j["old"] = c.before;
        j["new"] = c.after;
        out += (i ? ",\n  " : "\n  ") + j.dump(-1, ' ', false, Json::error_handler_t::replace);
    }
    return out + (patch.changes.empty() ? "]}\n" : "\n]}\n");
}

Patch DecodePatch(std::string_view text) {
    Json doc;
    try {
        doc = Json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        throw EPatchError("not a patch: the JSON does not parse (" + std::string(e.what()) + ")");
    }
    if (!doc.is_object() || doc.value("format", Json()) != Json(std::string(kPatchFormat)))
        throw EPatchError("not a patch: it has no \"format\": \"" + std::string(kPatchFormat) +
                          "\"");
    const Json version = doc.value("version", Json());
    if (!version.is_number_integer() || version.get<std::int64_t>() < 1)
        throw EPatchError("not a patch: it has no \"version\" of 1 or more");
    if (version.get<std::int64_t>() > kPatchVersion)
        throw EPatchError("the patch is of version " + std::to_string(version.get<std::int64_t>()) +
                          ", written by a later version of this program; this one reads version " +
                          std::to_string(kPatchVersion));
    const auto changes = doc.find("changes");
    if (changes == doc.end() || !changes->is_array())
        throw EPatchError("not a patch: it has no list of \"changes\"");

    Patch patch;
    std::map<TableId, std::vector<Column>> columns;
    std::set<std::tuple<TableId, std::int64_t, std::string>> seen;
    std::size_t n = 0;
    for (const Json& c : *changes) {
        ++n;
        if (!c.is_object()) throw EPatchError("change " + std::to_string(n) + " is no object");
        PatchChange pc;
        const std::string table = Text(c, "table", n);
        const Table* t = FindTable(table);
        if (!t)
            throw EPatchError("change " + std::to_string(n) + ": no table '" + table +
                              "'; the tables are: " + TableNames());
        pc.table = t->id;
        const auto record = c.find("record");
        if (record == c.end() || !record->is_number_integer() || record->get<std::int64_t>() < 0)
            throw EPatchError("change " + std::to_string(n) +
                              ": \"record\" is no record number (0 or more)");
        pc.record = record->get<std::int64_t>();
        pc.label = Text(c, "label", n);
        pc.newLabel = Text(c, "newLabel", n, false);
        pc.field = Text(c, "field", n);
        auto [at, added] = columns.try_emplace(pc.table);
        if (added) at->second = ColumnsOf(*t);
        if (!PatchColumn(at->second, pc.field))
            throw EPatchError("change " + std::to_string(n) + ": no field '" + pc.field + "' in " +
                              table);
        pc.before = Text(c, "old", n);
        pc.after = Text(c, "new", n);
        if (!seen.emplace(pc.table, pc.record, pc.field).second)
            throw EPatchError("change " + std::to_string(n) + ": " + table + " record " +
                              std::to_string(pc.record) + ", " + pc.field +
                              " is changed twice in the patch");
        patch.changes.push_back(std::move(pc));
    }
    return patch;
}

std::string Describe(const PatchConflict& c) {
    std::string out(TableOf(c.table).name);
    out += " record " + std::to_string(c.record) + " \"" + c.label + "\", " + c.field + ": ";
    if (c.field == kRecordColumn) return out + c.found;
    if (c.field == "label")
        return out + "expected \"" + c.expected + "\", found \"" + c.found + "\"";
    return out + "expected " + c.expected + ", found " + c.found;
}

std::string DescribeRefused(const BadCell& bad) {
    BadCell b = bad;
    b.line = 0;  // the line of a change in the patch says nothing a reader can use
    return std::string(bad.table) + " " + Describe(b);
}

PatchPlan PlanPatch(DataFiles& files, const Patch& patch, bool reverse, std::string label) {
    PatchPlan plan;
    // The changes of each record together, in the patch's order of records.
    std::vector<std::pair<TableId, std::int64_t>> order;
    std::map<std::pair<TableId, std::int64_t>, std::vector<std::size_t>> byRecord;
    for (std::size_t i = 0; i < patch.changes.size(); ++i) {
        const PatchChange& c = patch.changes[i];
        auto [at, added] = byRecord.try_emplace({c.table, c.record});
        if (added) order.push_back(at->first);
        at->second.push_back(i);
    }

    std::map<TableId, std::unique_ptr<TableRows>> rows;
    std::map<TableId, CellTable> cells;
    std::map<TableId, std::map<std::string, std::size_t>> columnOf;
    for (const auto& key : order) {
        const auto& [table, record] = key;
        const std::vector<std::size_t>& changes = byRecord[key];
        const PatchChange& first = patch.changes[changes.front()];
        auto [r, added] = rows.try_emplace(table);
        if (added) r->second = std::make_unique<TableRows>(files, table);
        const TableRows& t = *r->second;
        const RowRef* row = t.Find(record);
        if (!row) {
            plan.conflicts.push_back(
                {table, record, first.label, std::string(kRecordColumn), "",
                 "the directory has no such " + std::string(TableOf(table).what)});
            continue;
        }
        const std::string have = t.Label(*row);
        if (have != first.label && (first.newLabel.empty() || have != first.newLabel)) {
            // Either label of the patch: a change of the name itself may be applied already.
            plan.conflicts.push_back(
                {table, record, first.label, "label",
                 first.newLabel.empty() ? first.label : first.label + "\" or \"" + first.newLabel,
                 have});
            continue;
        }
        CellTable::Row* given = nullptr;
        for (std::size_t i : changes) {
            const PatchChange& c = patch.changes[i];
            const std::string& from = reverse ? c.after : c.before;
            const std::string& to = reverse ? c.before : c.after;
            const Column* column = t.FindColumn(c.field);
            if (!column) {  // only a patch built by hand; DecodePatch refuses such a field
                plan.conflicts.push_back({table, record, c.label, c.field, from, "no such field"});
                continue;
            }
            const std::string found = t.Cell(*row, *column);
            if (found == to && found != from) {
                ++plan.appliedBefore;
                continue;
            }
            if (found != from) {
                plan.conflicts.push_back({table, record, c.label, c.field, from, found});
                continue;
            }
            if (from == to) continue;
            CellTable& ct = cells[table];
            auto& columns = columnOf[table];
            if (ct.columns.empty()) {
                ct.columns.emplace_back(kRecordColumn);
                columns.emplace(kRecordColumn, 0);
            }
            const auto [col, newColumn] = columns.emplace(c.field, ct.columns.size());
            if (newColumn) {
                ct.columns.push_back(c.field);
                for (CellTable::Row& other : ct.rows) other.cells.resize(ct.columns.size());
            }
            if (!given) {
                // A row's line is its first change's number in the patch.
                ct.rows.push_back({i + 1, {}});
                given = &ct.rows.back();
                given->cells.resize(ct.columns.size());
                given->cells[0] = std::to_string(record);
            }
            given->cells.resize(ct.columns.size());
            given->cells[col->second] = to;
            ++plan.toApply;
        }
    }
    if (!plan.conflicts.empty() || !plan.toApply) return plan;

    // The persons first: the moves they ask for are what the clubs' lists show afterwards.
    std::vector<TableCells> tables;
    for (TableId id : {TableId::kPlayers, TableId::kStaff})
        if (cells.count(id)) tables.push_back({id, cells.at(id)});
    for (const auto& [id, ct] : cells)
        if (!TableOf(id).IsPersons()) tables.push_back({id, ct});
    plan.import = PlanImport(files, tables, std::move(label));
    return plan;
}

}  // namespace vh::db
