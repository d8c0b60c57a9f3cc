#include "database/records/convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "database/records/errors.h"
#include "database/records/text.h"

namespace vh::db {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Shown(std::string_view text) {
    return Cp1252ToUtf8(text);
}

[[noreturn]] void NotFloat(std::string_view text) {
    throw EConvertError("'" + Shown(text) + "' is not a valid floating point value");
}
constexpr std::int64_t kMaxDecimal4 = 9'000'000'000'000'000'000LL / 1000;  // 9e15 ten-thousandths
}  // namespace

bool TryStrToInt(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size()) return false;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1)
            return false;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

std::int32_t StrToInt(std::string_view text) {
    std::int32_t v = 0;
    if (!TryStrToInt(text, v))
        throw EConvertError("'" + Shown(text) + "' is not a valid integer value");
    return v;
}

std::int64_t ParseDecimal4(std::string_view text, char sep) {
    std::string_view s = text;
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t whole = 0;
    int digits = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits) {
        whole = whole * 10 + (s[i] - '0');
        if (whole > kMaxDecimal4 / 10000) NotFloat(text);
    }
    std::int64_t frac = 0;  // ten-thousandths
    int places = 0;
    bool restNonZero = false;  // digits after the fifth decimal
    int fifth = -1;
    if (i < s.size() && (s[i] == sep || s[i] == '.')) {
        ++i;
        for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++digits) {
            const int d = s[i] - '0';
            if (places < 4) {
                frac = frac * 10 + d;
                ++places;
            } else if (fifth < 0) {
                fifth = d;
            } else if (d != 0) {
                restNonZero = true;
            }
        }
    }
    if (digits == 0 || i != s.size()) NotFloat(text);
    for (; places < 4; ++places) frac *= 10;
    std::int64_t v = whole * 10000 + frac;
    // Halves to even: above a half rounds up, exactly a half rounds to the even neighbour.
    if (fifth > 5 || (fifth == 5 && (restNonZero || (v % 2) != 0))) ++v;
    if (negative) v = -v;
    // Only what the page can show again as this very decimal may be stored.
    std::int64_t back = 0;
    if (!TryToDecimal4(static_cast<double>(v) / 10000.0, back) || back != v) NotFloat(text);
    return v;
}

double ParseCoordinate(std::string_view text, char sep) {
    return static_cast<double>(ParseDecimal4(text, sep)) / 10000.0;
}

bool TryToDecimal4(double value, std::int64_t& tenThousandths) {
    if (!std::isfinite(value)) return false;
    const double scaled = value * 10000.0;
    if (std::fabs(scaled) > static_cast<double>(kMaxDecimal4)) return false;
    tenThousandths = static_cast<std::int64_t>(std::nearbyint(scaled));  // halves to even
    return true;
}

std::int64_t ToDecimal4(double value) {
    if (!std::isfinite(value)) throw EConvertError("The stored number is not a valid value");
    std::int64_t t = 0;
    if (!TryToDecimal4(value, t)) throw EConvertError("The stored number is too large to show");
    return t;
}

std::string FormatCoordinate(double stored, char sep) {
    std::int64_t t = 0;
    if (TryToDecimal4(stored, t)) return FormatDecimal4(t, sep);
    if (std::isnan(stored)) return "NaN";
    if (std::isinf(stored)) return stored < 0 ? "-Infinity" : "Infinity";
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, stored).ptr;
    std::string text(buf, end);
    std::replace(text.begin(), text.end(), '.', sep);
    return text;
}

std::string FormatDecimal4(std::int64_t t, char sep) {
    std::string out;
    if (t < 0) out += '-';
    const std::uint64_t a =
        t < 0 ? static_cast<std::uint64_t>(-(t + 1)) + 1 : static_cast<std::uint64_t>(t);
    out += std::to_string(a / 10000);
    std::uint64_t frac = a % 10000;
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (!f.empty() && f.back() == '0') f.pop_back();
        out += sep;
        out += f;
    }
    return out;
}

}  // namespace vh::db
