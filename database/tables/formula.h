// Formulas over the rows of a table, as `vhtool set` and the table view's "Set Column..." take
// them: FIELD=EXPR, where EXPR is built from numbers (12, 0.9), quoted text ("Oslund", with ""
// for a quote inside), the fields of the row by the names export gives its columns, unary minus,
// + - * / with the usual precedence, parentheses, and min(a,b,...), max(a,b,...), clamp(x,lo,hi)
// and round(x). Arithmetic is done in double. A whole-number field takes the result rounded half
// away from zero (2.5 -> 3, -2.5 -> -3); a text field takes only text; a reference takes a record
// number, or text: the name it shows, found as import finds it. Every formula of a set reads the
// row as it was before any of them.
//
//     const db::Assignment a = db::ParseAssignment("PLayerPace=PLayerPace+2", rows.Columns());
//     db::FormulaCells cells = db::EvaluateFormulas(rows, chosen, {&a, 1}, false, cellOf);
//     db::ImportPlan plan = db::PlanFormulas(files, rows, cells, "Set of PLayerPace");
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/tables/table_data.h"
#include "database/tables/table_edits.h"
#include "database/tables/table_import.h"
#include "database/tables/where.h"

namespace vh::db {

// An expression or an assignment that cannot be taken; the message says where and why, or which
// names come nearest to a name that is no field.
class EFormulaError : public ETableError {
  public:
    using ETableError::ETableError;
};

// An expression over the cells of a row.
class Formula {
  public:
    // Throws EFormulaError: "character 12: expected a number, a field, a text in quotes or '(',
    // found '*'"; positions count from `offset` + 1 (where the text stands in an assignment).
    Formula(std::string_view text, std::span<const Column> columns, std::size_t offset = 0);
    ~Formula();
    Formula(Formula&&) noexcept;
    Formula& operator=(Formula&&) noexcept;

    // The result is text (a quoted text, or a field that holds text) rather than a number.
    bool IsText() const;
    // The columns the expression reads.
    const std::vector<std::size_t>& Reads() const;

    // A cell of the row being evaluated, as export writes it, by column.
    using CellOf = std::function<std::string(std::size_t column)>;
    struct Value {
        double number = 0;
        std::string text;
        std::string error;  // why there is no value ("division by zero"); empty when there is
    };
    Value Evaluate(const CellOf& cell) const;

    struct Node;

  private:
    std::vector<Node> nodes_;
    std::vector<std::size_t> reads_;
    bool text_ = false;
};

// FIELD=EXPR, with FIELD a column the formula may set.
struct Assignment {
    std::string text;        // as given
    std::size_t column = 0;  // the column set: a value or a month column
    bool byName = false;     // text given to a reference: the name it is to show
    std::unique_ptr<Formula> formula;
};

// Throws EFormulaError for a text without '=', a field that is no column (with the nearest
// names), a column no formula sets (the record number, a field the page only shows), a number
// for a text field, text for a number field, and an expression that does not parse.
Assignment ParseAssignment(std::string_view text, std::span<const Column> columns);
// The same for an expression given to a column (the table view's "Set Column..."); messages
// count positions in the expression from `offset` + 1.
Assignment AssignTo(std::size_t column, std::string_view expression,
                    std::span<const Column> columns, std::size_t offset = 0);

// The range a formula's result must fall in for a column, where it has one (a number's range, a
// day 0..31, a month 1..12); false for the other columns.
bool RangeOf(const Column& c, std::int64_t& min, std::int64_t& max);

// The cells the formulas give the rows, where they differ from what the rows hold.
struct FormulaCells {
    std::vector<TableEdits::Entry> cells;  // by row, then by assignment
    std::vector<BadCell> bad;              // results no field can take; line 0
    std::size_t clamped = 0;               // results brought into their range
};

// The cell of a row, by column of the rows, as the formulas read it.
using RowCellOf = std::function<std::string(const RowRef& row, std::size_t column)>;

// Evaluates every assignment on every row given (indices into `rows`). `clamp` brings numbers
// outside their range into it; else they are bad. `cell` reads the rows (the table view's cells
// with its edits not saved); nullptr reads them as stored.
FormulaCells EvaluateFormulas(const TableRows& rows, std::span<const std::size_t> chosen,
                              std::span<const Assignment> assignments, bool clamp,
                              const RowCellOf& cell = nullptr);

// The cells planned as an import plans them, with every rule of the page, as one write set.
ImportPlan PlanFormulas(DataFiles& files, const TableRows& rows, const FormulaCells& cells,
                        std::string label);

}  // namespace vh::db
