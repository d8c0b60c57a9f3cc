// A file of rows applied to a table, as `vhtool import` and the editor's "Import Table..." do it.
// Rows are matched by their Record cell; a cell is applied only where it differs from what is
// stored, after it passed the rules its page applies; a person's club, a club's squad and its
// posts change through the transfer and appointment rules. The plan is made first, with every bad
// cell listed, and written as one write set only when there is none.
//
//     db::DataFiles files(dir);
//     db::ImportPlan plan = db::PlanImport(files, db::TableId::kPlayers, db::ReadCellTable(text));
//     if (plan.bad.empty()) db::Commit(dir, plan.writes);
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/tables/table_data.h"
#include "database/tables/table_io.h"
#include "database/write/write_set.h"

namespace vh::db {

struct BadCell {
    std::size_t line = 0;  // where the row starts in the file; 0 for the file as a whole
    std::string record;    // the row's Record cell as given
    std::string column;
    std::string value;  // as given
    std::string reason;
    std::string_view table;  // the table whose cells the row gave ("players")
};

// One cell a plan changes, before and after, as export writes them; the records the transfer
// and appointment rules change besides are listed too.
struct CellChange {
    TableId table;
    std::int64_t record;
    std::string column;
    std::string before, after;
};

struct ImportPlan {
    std::vector<BadCell> bad;  // when any, nothing is to be written
    WriteSet writes;
    std::vector<CellChange> changes;
    std::size_t records = 0;  // records the writes change
};

// Holds every row of `input` against the table in `files` and plans the writes; writes nothing.
ImportPlan PlanImport(DataFiles& files, TableId table, const CellTable& input);

// The cells of several tables planned into one write set (a patch). Each table's cells are read
// against the files as they are; then the moves of every table are made in the order given, each
// seeing the records the ones before it changed, so that a transfer given as the person's club
// and as the squads of both clubs is made once. Where the moves leave a club's list with the
// persons asked for but in other slots, the slots are set as given.
struct TableCells {
    TableId table;
    const CellTable& cells;
};
ImportPlan PlanImport(DataFiles& files, std::span<const TableCells> tables, std::string label);

// "line 4, record 12, PLayerPace '25': this value must be in the range 0 to 20"
std::string Describe(const BadCell& bad);

}  // namespace vh::db
