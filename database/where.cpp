#include "where.h"

#include <array>
#include <charconv>
#include <optional>
#include <utility>

#include "text.h"

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

}  // namespace

Condition ParseWhere(std::string_view expression, std::span<const Column> columns) {
    // The field is the text before the first operator character.
    const std::size_t at = expression.find_first_of("!=<>~");
    if (at == std::string_view::npos)
        throw ETableError("'" + std::string(expression) +
                          "' is no condition: write FIELD OP VALUE, with OP one of = != < <= > "
                          ">= ~");
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
        throw ETableError("'" + std::string(expression) +
                          "' is no condition: write FIELD OP VALUE, with OP one of = != < <= > "
                          ">= ~");
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == field) {
            c.column = i;
            return c;
        }
    throw ETableError("no field '" + std::string(field) +
                      "'; the fields are: " + ColumnList(columns));
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
