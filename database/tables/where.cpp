#include "database/tables/where.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <utility>

#include "database/records/text.h"

namespace vh::db {

namespace {

// Longest first, so that "<=" is not read as "<".
constexpr std::array<std::pair<std::string_view, CompareOp>, 7> kOps = {{
    {"!=", CompareOp::kNotEqual},
    {"<=", CompareOp::kLessOrEqual},
    {">=", CompareOp::kGreaterOrEqual},
    {"=", CompareOp::kEqual},
    {"<", CompareOp::kLess},
    {">", CompareOp::kGreater},
    {"~", CompareOp::kContains},
}};

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::optional<double> Number(std::string_view s) {
    s = Trimmed(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

constexpr std::string_view kNoCondition =
    "' is no condition: write FIELD OP VALUE, with OP one of = != < <= > >= ~";

// A number, or numbers separated by ';' (a list of references).
bool AllNumbers(std::string_view s) {
    for (;;) {
        const std::size_t end = s.find(kListSeparator);
        if (!Number(s.substr(0, end))) return false;
        if (end == std::string_view::npos) return true;
        s.remove_prefix(end + 1);
    }
}

// Whether the text starts as a condition does: a field name, then an operator.
bool StartsCondition(std::string_view s) {
    const std::size_t at = s.find_first_of("!=<>~");
    if (at == std::string_view::npos) return false;
    const std::string_view field = Trimmed(s.substr(0, at));
    return !field.empty() && std::all_of(field.begin(), field.end(), [](char ch) {
        return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '.';
    });
}

// Where " and " (any case, blanks around it) stands in the text from `from` on; npos for nowhere.
std::size_t FindAnd(std::string_view s, std::size_t from) {
    for (std::size_t i = from; i + 5 <= s.size(); ++i) {
        if (s[i] != ' ' && s[i] != '\t') continue;
        const std::string_view word = s.substr(i + 1, 3);
        const std::size_t after = i + 4;
        if (after < s.size() && (s[after] == ' ' || s[after] == '\t') && (word[0] | 0x20) == 'a' &&
            (word[1] | 0x20) == 'n' && (word[2] | 0x20) == 'd')
            return i;
    }
    return std::string_view::npos;
}

}  // namespace

// Letters of the Windows code page in lower case, so that "é" contains "É".
std::string Folded(std::string_view utf8) {
    std::string bytes = Utf8ToCp1252(utf8).value_or(std::string(utf8));
    for (char& ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            ch = static_cast<char>(b + 32);
        else if (b == 0x8A || b == 0x8C || b == 0x8E)  // Š Œ Ž
            ch = static_cast<char>(b + 16);
        else if (b == 0x9F)  // Ÿ
            ch = static_cast<char>(0xFF);
    }
    return bytes;
}

Condition ParseWhere(std::string_view expression, std::span<const Column> columns) {
    // The field is the text before the first operator character.
    const std::size_t at = expression.find_first_of("!=<>~");
    if (at == std::string_view::npos)
        throw ETableError("'" + std::string(expression) + std::string(kNoCondition));
    const std::string_view field = Trimmed(expression.substr(0, at));
    Condition c;
    bool found = false;
    for (const auto& [text, op] : kOps)
        if (expression.substr(at).starts_with(text)) {
            c.op = op;
            c.value = std::string(Trimmed(expression.substr(at + text.size())));
            found = true;
            break;
        }
    if (!found || field.empty())
        throw ETableError("'" + std::string(expression) + std::string(kNoCondition));
    const auto named = [&](std::string_view name) {
        return std::find_if(columns.begin(), columns.end(),
                            [&](const Column& col) { return col.name == name; });
    };
    auto column = named(field);
    if (column == columns.end())
        throw ETableError("no field '" + std::string(field) +
                          "'; the fields are: " + ColumnList(columns));
    if (column->shows == Column::Shows::kValue && column->field->IsReference() &&
        !AllNumbers(c.value)) {
        // A name: held against the name the reference shows.
        column = named(std::string(field) + std::string(kNameSuffix));
    } else if (c.op != CompareOp::kContains && !Number(c.value) &&
               (column->IsWholeNumber() || (column->shows == Column::Shows::kValue &&
                                            column->field->kind == Kind::kCoordinate))) {
        throw ETableError("'" + c.value + "' is no number: " + std::string(field) +
                          " holds numbers");
    }
    c.column = static_cast<std::size_t>(column - columns.begin());
    return c;
}

std::vector<Condition> ParseFilter(std::string_view line, std::span<const Column> columns) {
    std::vector<Condition> out;
    line = Trimmed(line);
    if (line.empty()) return out;
    std::size_t start = 0;
    for (std::size_t at = FindAnd(line, 0); at != std::string_view::npos;
         at = FindAnd(line, at + 1)) {
        if (!StartsCondition(line.substr(at + 5))) continue;
        out.push_back(ParseWhere(line.substr(start, at - start), columns));
        start = at + 5;
    }
    out.push_back(ParseWhere(line.substr(start), columns));
    return out;
}

bool Matches(const Condition& c, std::string_view cell) {
    if (c.op == CompareOp::kContains)
        return Folded(cell).find(Folded(c.value)) != std::string::npos;
    int order = 0;
    const std::optional<double> a = Number(cell), b = Number(c.value);
    if (a && b)
        order = *a < *b ? -1 : (*a > *b ? 1 : 0);
    else
        order = cell.compare(c.value) < 0 ? -1 : (cell.compare(c.value) > 0 ? 1 : 0);
    switch (c.op) {
        case CompareOp::kEqual:
            return order == 0;
        case CompareOp::kNotEqual:
            return order != 0;
        case CompareOp::kLess:
            return order < 0;
        case CompareOp::kLessOrEqual:
            return order <= 0;
        case CompareOp::kGreater:
            return order > 0;
        case CompareOp::kGreaterOrEqual:
            return order >= 0;
        case CompareOp::kContains:
            break;
    }
    return false;
}

}  // namespace vh::db
