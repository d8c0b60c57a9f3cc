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

// Latitude and longitude pass through a fixed-point decimal with exactly four places.
// ParseDecimal4 reads an optional sign, digits and a decimal separator (`sep`, or '.') with any
// number of decimals, rounding beyond the fourth with halves to even; blanks around the text are
// allowed. It returns ten-thousandths and throws "'%s' is not a valid floating point value".
std::int64_t ParseDecimal4(std::string_view text, char sep = '.');
// A stored real as ten-thousandths, rounded with halves to even; throws for values that no
// decimal of this kind can hold (NaN, infinities, magnitudes beyond 9e14).
std::int64_t ToDecimal4(double value);
// Ten-thousandths as text: no trailing zeros, no separator for a whole number, '-' for negatives.
std::string FormatDecimal4(std::int64_t tenThousandths, char sep = '.');

}  // namespace vh::db
