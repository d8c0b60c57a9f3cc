#include "database/tables/table_io.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>
#include <unordered_map>

namespace vh::db {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// --- writing -------------------------------------------------------------------------------------

void CsvCell(std::string& out, std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void JsonString(std::string& out, std::string_view s) {
    out += '"';
    for (char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static constexpr char kHex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += kHex[(c >> 4) & 15];
                    out += kHex[c & 15];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

}  // namespace

std::size_t WriteTable(const TableRows& rows, TableFormat format, std::span<const Condition> where,
                       bool byteOrderMark, std::string& out) {
    const std::vector<Column>& columns = rows.Columns();
    const bool csv = format == TableFormat::kCsv;
    if (csv) {
        if (byteOrderMark) out += kByteOrderMark;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i) out += ',';
            CsvCell(out, columns[i].name);
        }
        out += "\r\n";
    } else {
        out += "[";
    }
    std::size_t written = 0;
    std::vector<std::string> cells(columns.size());
    for (std::size_t r = 0; r < rows.Size(); ++r) {
        const RowRef& row = rows[r];
        bool keep = true;
        for (const Condition& c : where)
            keep = keep && Matches(c, rows.Cell(row, columns[c.column]));
        if (!keep) continue;
        for (std::size_t i = 0; i < columns.size(); ++i) cells[i] = rows.Cell(row, columns[i]);
        if (csv) {
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (i) out += ',';
                CsvCell(out, cells[i]);
            }
            out += "\r\n";
        } else {
            out += written ? ",\n{" : "\n{";
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (i) out += ',';
                JsonString(out, columns[i].name);
                out += ':';
                if (!columns[i].IsWholeNumber())
                    JsonString(out, cells[i]);
                else
                    out += cells[i].empty() ? "null" : cells[i];
            }
            out += '}';
        }
        ++written;
    }
    if (!csv) out += "\n]\n";
    return written;
}

std::string CsvOf(const CellTable& table) {
    std::string out;
    auto line = [&](auto cells, auto text) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) out += ',';
            CsvCell(out, text(cells[i]));
        }
        out += "\r\n";
    };
    line(std::span(table.columns), [](const std::string& c) -> std::string_view { return c; });
    for (const CellTable::Row& row : table.rows)
        line(std::span(row.cells), [](const std::optional<std::string>& c) {
            return c ? std::string_view(*c) : std::string_view();
        });
    return out;
}

// --- reading -------------------------------------------------------------------------------------

namespace {

// The offset of the first byte that is not UTF-8 text (a zero byte counts), or npos.
std::size_t NotText(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        if (b == 0) return i;
        if (b < 0x80)
            n = 1;
        else if ((b & 0xE0) == 0xC0 && b >= 0xC2)
            n = 2;
        else if ((b & 0xF0) == 0xE0)
            n = 3;
        else if ((b & 0xF8) == 0xF0 && b <= 0xF4)
            n = 4;
        else
            return i;
        if (i + n > s.size()) return i;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return i;
        i += n;
    }
    return std::string_view::npos;
}

std::size_t LineAt(std::string_view s, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < s.size(); ++i) line += s[i] == '\n';
    return line;
}

CellTable ReadCsv(std::string_view s) {
    CellTable t;
    t.format = TableFormat::kCsv;
    std::size_t i = 0, line = 1;
    // One record: its cells, and the line it starts on.
    auto record = [&](std::vector<std::string>& cells) {
        cells.clear();
        std::string cell;
        for (;;) {
            if (i < s.size() && s[i] == '"') {
                const std::size_t opened = line;
                ++i;
                for (;;) {
                    const std::size_t quote = s.find('"', i);
                    if (quote == std::string_view::npos)
                        throw ETableError("line " + std::to_string(opened) +
                                          ": a quoted field is never closed");
                    const std::string_view part = s.substr(i, quote - i);
                    line += static_cast<std::size_t>(std::count(part.begin(), part.end(), '\n'));
                    cell.append(part);
                    i = quote + 1;
                    if (i < s.size() && s[i] == '"') {
                        cell += '"';
                        ++i;
                        continue;
                    }
                    break;
                }
                if (i < s.size() && s[i] != ',' && s[i] != '\r' && s[i] != '\n')
                    throw ETableError("line " + std::to_string(line) +
                                      ": text after the closing quote of a field");
            } else {
                const std::size_t end = std::min(s.find_first_of(",\r\n", i), s.size());
                cell.append(s.substr(i, end - i));
                i = end;
            }
            cells.push_back(std::move(cell));
            cell.clear();
            if (i < s.size() && s[i] == ',') {
                ++i;
                continue;
            }
            if (i < s.size() && s[i] == '\r') ++i;
            if (i < s.size() && s[i] == '\n') ++i;
            ++line;
            return;
        }
    };
    std::vector<std::string> cells;
    record(t.columns);
    while (i < s.size()) {
        const std::size_t at = line;
        record(cells);
        if (cells.size() == 1 && cells[0].empty()) continue;  // an empty line
        if (cells.size() > t.columns.size())
            throw ETableError("line " + std::to_string(at) + " has " +
                              std::to_string(cells.size()) + " cells, the header " +
                              std::to_string(t.columns.size()));
        CellTable::Row row{at, {}};
        row.cells.reserve(t.columns.size());
        for (std::string& c : cells) row.cells.emplace_back(std::move(c));
        row.cells.resize(t.columns.size());
        t.rows.push_back(std::move(row));
    }
    return t;
}

std::string JsonCell(const nlohmann::ordered_json& v, std::size_t object, const std::string& key) {
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number_integer()) return std::to_string(v.get<std::int64_t>());
    if (v.is_number_unsigned()) return std::to_string(v.get<std::uint64_t>());
    if (v.is_number_float()) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v.get<double>());
        return std::string(buf, r.ptr);
    }
    if (v.is_boolean()) return v.get<bool>() ? "1" : "0";
    if (v.is_null()) return {};
    throw ETableError("object " + std::to_string(object) + ", " + key +
                      ": a list or an object is no cell");
}

CellTable ReadJson(std::string_view s) {
    nlohmann::ordered_json doc;
    try {
        doc = nlohmann::ordered_json::parse(s);
    } catch (const nlohmann::json::parse_error& e) {
        throw ETableError("not JSON: at line " + std::to_string(LineAt(s, e.byte - 1)) +
                          ", the text does not parse");
    }
    if (!doc.is_array()) throw ETableError("the JSON file holds no array of objects");
    CellTable t;
    t.format = TableFormat::kJson;
    std::size_t number = 0;
    std::unordered_map<std::string, std::size_t> columnOf;
    for (const auto& object : doc) {
        ++number;
        if (!object.is_object())
            throw ETableError("the JSON file holds no array of objects: element " +
                              std::to_string(number) + " is no object");
        CellTable::Row row{number, std::vector<std::optional<std::string>>(t.columns.size())};
        for (const auto& [key, value] : object.items()) {
            const auto [at, added] = columnOf.emplace(key, t.columns.size());
            const std::size_t c = at->second;
            if (added) {
                t.columns.push_back(key);
                row.cells.resize(t.columns.size());
            }
            row.cells[c] = JsonCell(value, number, key);
        }
        t.rows.push_back(std::move(row));
    }
    for (CellTable::Row& row : t.rows) row.cells.resize(t.columns.size());
    return t;
}

}  // namespace

CellTable ReadCellTable(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    if (const std::size_t bad = NotText(bytes); bad != std::string_view::npos)
        throw ETableError("not a CSV or JSON file: byte " + std::to_string(bad) +
                          " is no UTF-8 text");
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) throw ETableError("the file is empty");
    CellTable t = bytes[first] == '[' || bytes[first] == '{' ? ReadJson(bytes) : ReadCsv(bytes);
    if (!t.columns.empty()) {
        std::string& head = t.columns.front();
        // A spreadsheet may keep the mark inside the first cell.
        if (head.starts_with(kByteOrderMark)) head.erase(0, kByteOrderMark.size());
        // The mark read as three Latin-1 letters: every other letter beyond ASCII was read wrongly
        // too, and would come back changed.
        if (head.starts_with("\xC3\xAF\xC2\xBB\xC2\xBF"))
            throw ETableError(
                "the file was read as another character set than UTF-8 before it was saved (its "
                "first cell begins with \"\xC3\xAF\xC2\xBB\xC2\xBF\"): open the exported file as "
                "UTF-8 and save it again");
    }
    return t;
}

}  // namespace vh::db
