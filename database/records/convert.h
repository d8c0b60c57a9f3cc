// Text to number, the way the editor reads its fields. Failures throw EConvertError with the
// message the user sees ("'12a' is not a valid integer value").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vh::db {

// Optional blanks, an optional sign and decimal digits, within the signed 32-bit range.
std::int32_t StrToInt(std::string_view text);
// The same without throwing; false when the text is not such a number.
bool TryStrToInt(std::string_view text, std::int32_t& value);

// Latitude and longitude pass through a fixed-point decimal with exactly four places; the real
// stored for ten-thousandths t is t / 10000.0.
// ParseDecimal4 reads an optional sign, digits and a decimal separator (`sep`, or '.') with any
// number of decimals, rounding beyond the fourth with halves to even; blanks around the text are
// allowed. It returns ten-thousandths and throws "'%s' is not a valid floating point value",
// also for a number whose stored real would not show back as the same four-place decimal (one
// beyond the range of ToDecimal4, or too large for a real to keep four places), so nothing is
// ever stored that the page cannot show again.
std::int64_t ParseDecimal4(std::string_view text, char sep = '.');
// ParseDecimal4 as the real to store.
double ParseCoordinate(std::string_view text, char sep = '.');
// A stored real as ten-thousandths, rounded with halves to even; throws for values that no
// decimal of this kind can hold (NaN, infinities, magnitudes beyond 9e11).
std::int64_t ToDecimal4(double value);
// The same without throwing; false for the values ToDecimal4 refuses.
bool TryToDecimal4(double value, std::int64_t& tenThousandths);
// Any stored real as text for a page: the four-place decimal where ToDecimal4 holds it, else a
// text that names the value: "NaN", "Infinity", "-Infinity", or the shortest decimal that reads
// back as the same real ("900000000000.5", "1e+300"), with `sep` as its separator.
std::string FormatCoordinate(double stored, char sep = '.');
// Ten-thousandths as text: no trailing zeros, no separator for a whole number, '-' for negatives.
std::string FormatDecimal4(std::int64_t tenThousandths, char sep = '.');

}  // namespace vh::db
