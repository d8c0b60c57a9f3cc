#include "database/tables/formula.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

#include "database/model/blocks.h"
#include "database/records/convert.h"

namespace vh::db {

struct Formula::Node {
    enum class Op {
        kNumber,
        kText,
        kField,
        kNegate,
        kAdd,
        kSubtract,
        kMultiply,
        kDivide,
        kMin,
        kMax,
        kClamp,
        kRound
    };
    Op op = Op::kNumber;
    double number = 0;
    std::string text;
    std::size_t column = 0;
    std::vector<std::size_t> args;  // nodes
    bool isText = false;
    std::size_t at = 0;  // the character it starts at, from 1
};

namespace {

using Node = Formula::Node;
using Op = Node::Op;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Edits (insert, delete, replace) that turn a into b, whatever the letter case.
std::size_t Distance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                               diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// "no field 'PLayerPase': the nearest are PLayerPace, PlayerPassing, PlayerPace"
std::string NoField(std::string_view name, std::span<const Column> columns) {
    std::vector<std::pair<std::size_t, std::size_t>> near;  // (distance, column)
    for (std::size_t c = 0; c < columns.size(); ++c)
        near.emplace_back(Distance(name, columns[c].name), c);
    std::stable_sort(near.begin(), near.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out = "no field '" + std::string(name) + "': the nearest are ";
    for (std::size_t k = 0; k < std::min<std::size_t>(3, near.size()); ++k)
        out += (k ? ", " : "") + columns[near[k].second].name;
    return out;
}

// Whether a column's cells are numbers to a formula; else they are text.
bool HoldsNumbers(const Column& c) {
    if (c.shows == Column::Shows::kRecord || c.shows == Column::Shows::kMonth) return true;
    if (c.shows == Column::Shows::kName) return false;
    switch (c.field->kind) {
        case Kind::kText:
        case Kind::kChoice:
        case Kind::kList:
            return false;
        default:
            return true;
    }
}

bool IsNameChar(char c, bool first) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           (!first && ((c >= '0' && c <= '9') || c == '.'));
}

struct Function {
    std::string_view name;
    Op op;
    std::size_t least, most;
    std::string_view takes;
};
constexpr std::array<Function, 4> kFunctions = {{
    {"min", Op::kMin, 2, SIZE_MAX, "two values or more"},
    {"max", Op::kMax, 2, SIZE_MAX, "two values or more"},
    {"clamp", Op::kClamp, 3, 3, "three values (x, lo, hi)"},
    {"round", Op::kRound, 1, 1, "one value"},
}};

class Parser {
  public:
    Parser(std::string_view text, std::span<const Column> columns, std::size_t offset,
           std::vector<Node>& nodes, std::vector<std::size_t>& reads)
        : s_(text), columns_(columns), offset_(offset), nodes_(nodes), reads_(reads) {}

    std::size_t Parse() {
        const std::size_t root = Sum();
        Blanks();
        if (at_ < s_.size()) Expected("an operator (+ - * /) or the end");
        return root;
    }

  private:
    [[noreturn]] void Fail(std::size_t at, const std::string& why) const {
        throw EFormulaError("character " + std::to_string(offset_ + at + 1) + ": " + why);
    }
    [[noreturn]] void Expected(std::string_view what) const {
        std::string found =
            at_ < s_.size() ? "found '" + std::string(1, s_[at_]) + "'" : "found the end";
        Fail(at_, "expected " + std::string(what) + ", " + found);
    }
    void Blanks() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t')) ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ < s_.size() && s_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    std::size_t Add(Node n) {
        nodes_.push_back(std::move(n));
        return nodes_.size() - 1;
    }
    // Arithmetic takes numbers only.
    void Number(std::size_t node) const {
        const Node& n = nodes_[node];
        if (!n.isText) return;
        Fail(n.at - 1, (n.op == Op::kField ? "'" + columns_[n.column].name + "' holds text"
                                           : std::string("a text")) +
                           ": + - * / and the functions take numbers");
    }

    std::size_t Sum() {
        std::size_t left = Product();
        for (;;) {
            const Op op = Take('+') ? Op::kAdd : Take('-') ? Op::kSubtract : Op::kNumber;
            if (op == Op::kNumber) return left;
            const std::size_t right = Product();
            Number(left);
            Number(right);
            left = Add({op, 0, {}, 0, {left, right}, false, nodes_[left].at});
        }
    }
    std::size_t Product() {
        std::size_t left = Unary();
        for (;;) {
            const Op op = Take('*') ? Op::kMultiply : Take('/') ? Op::kDivide : Op::kNumber;
            if (op == Op::kNumber) return left;
            const std::size_t right = Unary();
            Number(left);
            Number(right);
            left = Add({op, 0, {}, 0, {left, right}, false, nodes_[left].at});
        }
    }
    std::size_t Unary() {
        Blanks();
        const std::size_t at = at_;
        if (Take('-')) {
            const std::size_t operand = Unary();
            Number(operand);
            return Add({Op::kNegate, 0, {}, 0, {operand}, false, at + 1});
        }
        return Primary();
    }
    std::size_t Primary() {
        Blanks();
        const std::size_t at = at_;
        if (at_ >= s_.size()) Expected("a number, a field, a text in quotes or '('");
        const char c = s_[at_];
        if (c == '(') {
            ++at_;
            const std::size_t inner = Sum();
            if (!Take(')')) Expected("')'");
            return inner;
        }
        if ((c >= '0' && c <= '9') || c == '.') {
            std::size_t end = at_;
            while (end < s_.size() && ((s_[end] >= '0' && s_[end] <= '9') || s_[end] == '.')) ++end;
            double v = 0;
            const auto [p, ec] = std::from_chars(s_.data() + at_, s_.data() + end, v);
            if (ec != std::errc() || p != s_.data() + end)
                Fail(at, "'" + std::string(s_.substr(at_, end - at_)) + "' is no number");
            at_ = end;
            return Add({Op::kNumber, v, {}, 0, {}, false, at + 1});
        }
        if (c == '"') {
            std::string text;
            for (++at_;; ++at_) {
                if (at_ >= s_.size()) Fail(at, "the text in quotes is never closed");
                if (s_[at_] == '"') {
                    if (at_ + 1 < s_.size() && s_[at_ + 1] == '"') {
                        text += '"';
                        ++at_;
                        continue;
                    }
                    ++at_;
                    break;
                }
                text += s_[at_];
            }
            return Add({Op::kText, 0, std::move(text), 0, {}, true, at + 1});
        }
        if (!IsNameChar(c, true)) Expected("a number, a field, a text in quotes or '('");
        std::size_t end = at_;
        while (end < s_.size() && IsNameChar(s_[end], end == at_)) ++end;
        const std::string_view name = s_.substr(at_, end - at_);
        at_ = end;
        if (Take('(')) return Call(name, at);
        const auto column = std::find_if(columns_.begin(), columns_.end(),
                                         [&](const Column& col) { return col.name == name; });
        if (column == columns_.end()) Fail(at, NoField(name, columns_));
        const auto index = static_cast<std::size_t>(column - columns_.begin());
        if (std::find(reads_.begin(), reads_.end(), index) == reads_.end()) reads_.push_back(index);
        return Add({Op::kField, 0, {}, index, {}, !HoldsNumbers(*column), at + 1});
    }
    std::size_t Call(std::string_view name, std::size_t at) {
        std::string lower(name);
        for (char& ch : lower) ch = Lower(ch);
        const auto f = std::find_if(kFunctions.begin(), kFunctions.end(),
                                    [&](const Function& fn) { return fn.name == lower; });
        if (f == kFunctions.end())
            Fail(at, "no function '" + std::string(name) +
                         "': the functions are min, max, clamp and round");
        std::vector<std::size_t> args;
        if (!Take(')')) {
            do {
                args.push_back(Sum());
                Number(args.back());
            } while (Take(','));
            if (!Take(')')) Expected("',' or ')'");
        }
        if (args.size() < f->least || args.size() > f->most)
            Fail(at, std::string(f->name) + " takes " + std::string(f->takes) + ", not " +
                         std::to_string(args.size()));
        return Add({f->op, 0, {}, 0, std::move(args), false, at + 1});
    }

    std::string_view s_;
    std::span<const Column> columns_;
    std::size_t offset_;
    std::vector<Node>& nodes_;
    std::vector<std::size_t>& reads_;
    std::size_t at_ = 0;
};

struct EvalError {
    std::string why;
};

class Evaluator {
  public:
    Evaluator(const std::vector<Node>& nodes, const Formula::CellOf& cell)
        : nodes_(nodes), cell_(cell) {}

    double Number(std::size_t i) const {
        const Node& n = nodes_[i];
        auto arg = [&](std::size_t k) { return Number(n.args[k]); };
        switch (n.op) {
            case Op::kNumber:
                return n.number;
            case Op::kText:
                break;
            case Op::kField:
                return Field(n.column);
            case Op::kNegate:
                return -arg(0);
            case Op::kAdd:
                return arg(0) + arg(1);
            case Op::kSubtract:
                return arg(0) - arg(1);
            case Op::kMultiply:
                return arg(0) * arg(1);
            case Op::kDivide: {
                const double divisor = arg(1);
                if (divisor == 0) throw EvalError{"division by zero"};
                return arg(0) / divisor;
            }
            case Op::kMin:
            case Op::kMax: {
                double v = arg(0);
                for (std::size_t k = 1; k < n.args.size(); ++k)
                    v = n.op == Op::kMin ? std::min(v, arg(k)) : std::max(v, arg(k));
                return v;
            }
            case Op::kClamp: {
                const double x = arg(0), lo = arg(1), hi = arg(2);
                if (lo > hi)
                    throw EvalError{"clamp(x, lo, hi) with lo " + Shown(lo) + " above hi " +
                                    Shown(hi)};
                return std::min(std::max(x, lo), hi);
            }
            case Op::kRound:
                return std::round(arg(0));  // halves away from zero
        }
        return 0;
    }

    static std::string Shown(double v) {
        char buf[32];
        const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
        return ec == std::errc() ? std::string(buf, p) : std::string("?");
    }

  private:
    double Field(std::size_t column) const {
        const std::string text = cell_(column);
        double v = 0;
        const char* end = text.data() + text.size();
        const auto [p, ec] = std::from_chars(text.data(), end, v);
        if (text.empty() || ec != std::errc() || p != end)
            throw EvalError{text.empty() ? "no value" : "'" + text + "' is no number"};
        return v;
    }

    const std::vector<Node>& nodes_;
    const Formula::CellOf& cell_;
};

}  // namespace

Formula::Formula(std::string_view text, std::span<const Column> columns, std::size_t offset) {
    Parser parser(text, columns, offset, nodes_, reads_);
    const std::size_t root = parser.Parse();
    // The root last, where Evaluate starts.
    if (root + 1 != nodes_.size()) nodes_.push_back(nodes_[root]);
    text_ = nodes_.back().isText;
}

Formula::~Formula() = default;
Formula::Formula(Formula&&) noexcept = default;
Formula& Formula::operator=(Formula&&) noexcept = default;

bool Formula::IsText() const {
    return text_;
}

const std::vector<std::size_t>& Formula::Reads() const {
    return reads_;
}

Formula::Value Formula::Evaluate(const CellOf& cell) const {
    Value v;
    const Node& root = nodes_.back();
    if (root.op == Op::kText) {
        v.text = root.text;
        return v;
    }
    if (root.op == Op::kField && root.isText) {
        v.text = cell(root.column);
        return v;
    }
    try {
        v.number = Evaluator(nodes_, cell).Number(nodes_.size() - 1);
        if (!std::isfinite(v.number)) v.error = "the result is too large";
    } catch (const EvalError& e) {
        v.error = e.why;
    }
    return v;
}

bool RangeOf(const Column& c, std::int64_t& min, std::int64_t& max) {
    if (c.shows == Column::Shows::kMonth) {
        min = 1;
        max = 12;
        return true;
    }
    if (c.shows != Column::Shows::kValue) return false;
    if (c.field->kind == Kind::kDate) {
        min = 0;
        max = 31;
        return true;
    }
    if (c.field->kind != Kind::kNumber) return false;
    min = c.field->min;
    max = c.field->max;
    return true;
}

Assignment AssignTo(std::size_t column, std::string_view expression,
                    std::span<const Column> columns, std::size_t offset) {
    const Column& c = columns[column];
    if (c.shows == Column::Shows::kRecord) throw EFormulaError("the record number cannot be set");
    if (c.field->edit == Edit::kShownOnly)
        throw EFormulaError(c.name + " is only shown by its page: it cannot be set");
    Assignment a;
    a.column = column;
    if (c.shows == Column::Shows::kName) {
        // The name a reference shows: the reference is set.
        const std::string value = c.name.substr(0, c.name.size() - kNameSuffix.size());
        for (std::size_t k = 0; k < columns.size(); ++k)
            if (columns[k].name == value) a.column = k;
        a.byName = true;
    }
    a.formula = std::make_unique<Formula>(expression, columns, offset);
    const Field& f = *c.field;
    const bool text = a.formula->IsText();
    if (a.byName && !text) throw EFormulaError(c.name + " takes a name in quotes (\"Oslund\")");
    if (f.IsReference() && c.shows == Column::Shows::kValue) {
        if (text) a.byName = true;
        if (!text && f.kind == Kind::kList)
            throw EFormulaError(c.name + " is a list: give its names in quotes, separated by ';'");
    } else if (HoldsNumbers(c) && text) {
        throw EFormulaError(c.name + " holds numbers: it cannot take a text");
    } else if (!HoldsNumbers(c) && !text) {
        throw EFormulaError(c.name + " holds text: give a text in quotes (\"...\")");
    }
    return a;
}

Assignment ParseAssignment(std::string_view text, std::span<const Column> columns) {
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        throw EFormulaError("'" + std::string(text) + "' is no assignment: write FIELD=EXPR");
    std::string_view field = text.substr(0, eq);
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
    const auto column = std::find_if(columns.begin(), columns.end(),
                                     [&](const Column& col) { return col.name == field; });
    try {
        if (column == columns.end()) throw EFormulaError(NoField(field, columns));
        Assignment a = AssignTo(static_cast<std::size_t>(column - columns.begin()),
                                text.substr(eq + 1), columns, eq + 1);
        a.text = std::string(text);
        return a;
    } catch (const EFormulaError& e) {
        throw EFormulaError("'" + std::string(text) + "', " + e.what());
    }
}

FormulaCells EvaluateFormulas(const TableRows& rows, std::span<const std::size_t> chosen,
                              std::span<const Assignment> assignments, bool clamp,
                              const RowCellOf& cell) {
    FormulaCells out;
    const std::vector<Column>& columns = rows.Columns();
    // Where each assignment compares its result: its column, or the name its reference shows.
    std::vector<std::size_t> compared;
    for (const Assignment& a : assignments) {
        std::size_t at = a.column;
        if (a.byName)
            for (std::size_t k = 0; k < columns.size(); ++k)
                if (columns[k].name == columns[a.column].name + std::string(kNameSuffix)) at = k;
        compared.push_back(at);
    }
    for (const std::size_t index : chosen) {
        const RowRef& row = rows[index];
        const Formula::CellOf cellOf = [&](std::size_t column) {
            return cell ? cell(row, column) : rows.Cell(row, columns[column]);
        };
        for (std::size_t k = 0; k < assignments.size(); ++k) {
            const Assignment& a = assignments[k];
            const Column& c = columns[a.column];
            auto bad = [&](std::string value, std::string reason) {
                out.bad.push_back({0, std::to_string(row.record), c.name, std::move(value),
                                   std::move(reason), rows.Of().name});
            };
            Formula::Value v = a.formula->Evaluate(cellOf);
            if (!v.error.empty()) {
                // A person without his block record reads no value there.
                if (v.error == "no value")
                    v.error = rows.Of().id == TableId::kPlayers ? kNoPlayerRecord : kNoStaffRecord;
                bad("", v.error);
                continue;
            }
            std::string result;
            if (a.formula->IsText()) {
                result = std::move(v.text);
            } else if (c.shows == Column::Shows::kValue && c.field->kind == Kind::kCoordinate) {
                std::int64_t t = 0;
                if (!TryToDecimal4(v.number, t)) {
                    bad(Evaluator::Shown(v.number), "no decimal of four places holds it");
                    continue;
                }
                result = FormatDecimal4(t);
            } else {
                double r = std::round(v.number);  // halves away from zero
                std::int64_t min = 0, max = 0;
                if (RangeOf(c, min, max) &&
                    (r < static_cast<double>(min) || r > static_cast<double>(max))) {
                    if (!clamp) {
                        bad(Evaluator::Shown(r), "this value must be in the range " +
                                                     std::to_string(min) + " to " +
                                                     std::to_string(max));
                        continue;
                    }
                    r = std::clamp(r, static_cast<double>(min), static_cast<double>(max));
                    ++out.clamped;
                }
                if (std::fabs(r) > 9e15) {
                    bad(Evaluator::Shown(r), "too large for any field");
                    continue;
                }
                result = std::to_string(static_cast<std::int64_t>(r));
            }
            if (result == cellOf(compared[k])) continue;
            const bool numbers = c.field->IsReference() && !a.byName;
            out.cells.push_back({row.record, a.column, {std::move(result), numbers}});
        }
    }
    return out;
}

ImportPlan PlanFormulas(DataFiles& files, const TableRows& rows, const FormulaCells& cells,
                        std::string label) {
    const std::vector<Column>& columns = rows.Columns();
    CellTable table;
    table.columns.push_back(std::string(kRecordColumn));
    std::map<std::pair<std::size_t, bool>, std::size_t> place;  // (column, by name) -> cell
    for (const TableEdits::Entry& e : cells.cells) {
        const bool named = columns[e.column].field->IsReference() && !e.input.numbers;
        if (place.try_emplace({e.column, named}, table.columns.size()).second)
            table.columns.push_back(named ? columns[e.column].name + std::string(kNameSuffix)
                                          : columns[e.column].name);
    }
    for (const TableEdits::Entry& e : cells.cells) {
        if (table.rows.empty() || table.rows.back().cells[0] != std::to_string(e.record)) {
            CellTable::Row r;
            r.line = table.rows.size() + 1;
            r.cells.resize(table.columns.size());
            r.cells[0] = std::to_string(e.record);
            table.rows.push_back(std::move(r));
        }
        const bool named = columns[e.column].field->IsReference() && !e.input.numbers;
        table.rows.back().cells[place.at({e.column, named})] = e.input.text;
    }
    ImportPlan plan = PlanImport(files, rows.Of().id, table);
    for (BadCell& b : plan.bad) b.line = 0;  // the rows are no file's lines
    plan.writes.SetLabel(std::move(label));
    return plan;
}

}  // namespace vh::db
