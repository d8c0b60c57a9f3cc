// The edits of one table that the table view holds until they are saved: per record, per column
// of the table's rows, the cell as the user gave it and what it writes. An edit is checked as it
// is entered, with the import's rules and together with its record's other edits; one that writes
// what is stored already is no edit. Save plans every edit once, as one write set.
//
//     db::TableEdits edits;
//     const db::ImportPlan entered = edits.Enter(files, rows, {{12, paceColumn, {"18"}}});
//     if (entered.bad.empty()) ... later: db::Commit(dir, edits.Plan(files, rows).writes);
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "database/tables/table_data.h"
#include "database/tables/table_import.h"

namespace vh::db {

// A cell as the user gives it: the text the grid shows (the name for a reference, UTF-8), or,
// for a reference picked, the record numbers its slots take, separated by ';'.
struct CellInput {
    std::string text;
    bool numbers = false;
};

class TableEdits {
  public:
    struct Cell {
        CellInput input;
        std::string after;  // the cell as the plan writes it, as export writes it
    };
    using Row = std::map<std::size_t, Cell>;  // by column of the table's rows

    // A cell given for a record, in a column of the table's rows.
    struct Entry {
        std::int64_t record;
        std::size_t column;
        CellInput input;
    };

    // Checks the entries, each record's with the edits it has, and keeps what they write. When
    // the plan has bad cells nothing changes; its bad cells say why.
    ImportPlan Enter(DataFiles& files, const TableRows& rows, const std::vector<Entry>& entries);
    // Checks the edits again after the files changed: those that now write what is stored go.
    void Recheck(DataFiles& files, const TableRows& rows);
    // Every edit, planned as one write set labelled "Table Edit of N records".
    ImportPlan Plan(DataFiles& files, const TableRows& rows) const;

    // nullptr when the cell is not edited.
    const Cell* Find(std::int64_t record, std::size_t column) const;
    bool Empty() const { return edits_.empty(); }
    std::size_t Records() const { return edits_.size(); }
    const std::map<std::int64_t, Row>& ByRecord() const { return edits_; }
    void Clear() { edits_.clear(); }

  private:
    ImportPlan Check(DataFiles& files, const TableRows& rows, std::map<std::int64_t, Row> edits,
                     bool keep);
    std::map<std::int64_t, Row> edits_;  // by record
};

}  // namespace vh::db
