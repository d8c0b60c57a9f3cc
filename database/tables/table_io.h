// The files export writes and import reads: CSV (RFC 4180, UTF-8, a header line) and JSON (an
// array of objects with the same keys). A file read is told apart by its content: JSON starts with
// "[", anything else is read as CSV.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/tables/table_data.h"
#include "database/tables/where.h"

namespace vh::db {

enum class TableFormat { kCsv, kJson };

// Appends the rows of the table that meet every condition, header first; returns how many rows
// were written. CSV lines end with CR LF; `byteOrderMark` starts the text with the UTF-8 mark that
// spreadsheets need to open it as UTF-8 (a file, not a pipe). JSON writes whole-number columns
// as numbers and everything else as strings.
std::size_t WriteTable(const TableRows& rows, TableFormat format, std::span<const Condition> where,
                       bool byteOrderMark, std::string& out);

// A file of rows of cells, as read, before it is held against a table.
struct CellTable {
    TableFormat format = TableFormat::kCsv;
    std::vector<std::string> columns;  // in the order first met
    struct Row {
        std::size_t line = 0;  // CSV: the line the row starts on; JSON: the object's number
        std::vector<std::optional<std::string>> cells;  // per column; nullopt where not given
    };
    std::vector<Row> rows;
};

// The cells as a CSV file, header first (a cell not given is empty).
std::string CsvOf(const CellTable& table);

// Throws ETableError saying what is wrong: an empty file, bytes that are not UTF-8 text, a quoted
// CSV field never closed, a row with more cells than the header, JSON that does not parse or is
// not an array of objects, a JSON value that is a list or an object.
CellTable ReadCellTable(std::string_view bytes);

}  // namespace vh::db
