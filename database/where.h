// Conditions on the cells of a table, as `vhtool export --where` takes them and a table view
// filters with: FIELD OP VALUE, with OP one of = != < <= > >= and ~ (contains, whatever the
// letter case). Two numbers compare as numbers, anything else as text.
//
//     const db::Condition c = db::ParseWhere("PLayerPace>=18", rows.Columns());
//     if (db::Matches(c, rows.Cell(row, rows.Columns()[c.column]))) ...
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "table_data.h"

namespace vh::db {

// A condition, a file or an argument the tables cannot take; the message is for the user.
class ETableError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class CompareOp {
    kEqual,
    kNotEqual,
    kLess,
    kLessOrEqual,
    kGreater,
    kGreaterOrEqual,
    kContains
};

struct Condition {
    std::size_t column = 0;  // index into the columns it was parsed against
    CompareOp op = CompareOp::kEqual;
    std::string value;  // UTF-8, as typed
};

// Throws ETableError for an expression without an operator, and for a field that is no column
// (the message then lists the table's columns).
Condition ParseWhere(std::string_view expression, std::span<const Column> columns);
bool Matches(const Condition& c, std::string_view cell);

}  // namespace vh::db
