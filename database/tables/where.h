// Conditions on the cells of a table, as `vhtool export --where` takes them and a table view
// filters with: FIELD OP VALUE, with OP one of = != < <= > >= and ~ (contains, whatever the
// letter case), several joined with "and". Two numbers compare as numbers, anything else as
// text. A reference may be given by number or by the name it shows (PlayerNation=Norland).
//
//     const std::vector<db::Condition> all = db::ParseFilter("PLayerPace>=18 and ...", columns);
//     const db::Condition c = db::ParseWhere("PLayerPace>=18", rows.Columns());
//     if (db::Matches(c, rows.Cell(row, rows.Columns()[c.column]))) ...
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "database/tables/table_data.h"

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

// Throws ETableError for an expression without an operator, for a field that is no column (the
// message then lists the table's columns) and for a value that is no number where the column
// holds numbers. A value of a reference that is no number is held against the name it shows.
Condition ParseWhere(std::string_view expression, std::span<const Column> columns);
// Conditions joined with "and" (any letter case, blanks around it); an empty line gives none.
// "and" followed by anything but FIELD OP stays in the value ("ClubLName~Brighton and Hove").
std::vector<Condition> ParseFilter(std::string_view line, std::span<const Column> columns);
bool Matches(const Condition& c, std::string_view cell);

// The text with the letters of the Windows code page in lower case ("É" as "é"), in that code
// page: how conditions compare without regard to case, and a table view sorts names.
std::string Folded(std::string_view utf8);

}  // namespace vh::db
