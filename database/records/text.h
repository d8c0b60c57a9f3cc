// Text inside records: the Windows ANSI code page (cp1252) and fixed-width string fields.
// The database layer keeps text as the bytes of the files (std::string of cp1252 bytes); the
// window and the command-line tool convert at their edges with the functions below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vh::db {

inline constexpr std::size_t kLongNameWidth = 51;
inline constexpr std::size_t kShortNameWidth = 26;
inline constexpr std::string_view kEmptyMarker = "<empty>";

// --- cp1252 -------------------------------------------------------------------------------
// Every byte has a code point: the five bytes cp1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the C1 controls of the same value, so any byte string survives a round trip.
char32_t Cp1252ToUnicode(std::uint8_t byte);
// The five bytes cp1252 leaves undefined: they survive a round trip, but name no character.
inline bool IsUndefinedCp1252(std::uint8_t b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}
// -1 when the code point has no byte in cp1252.
int UnicodeToCp1252(char32_t cp);
// Appends a code point encoded as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
std::string Cp1252ToUtf8(std::string_view bytes);
// nullopt when the text holds a character cp1252 cannot hold (or is not valid UTF-8);
// `bad` then receives that character.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8, char32_t* bad = nullptr);

// --- FixedString ------------------------------------------------------------------------------
// Reading: the bytes before the first zero byte, or all of them when none is zero.
std::string ReadFixed(std::span<const std::uint8_t> field);
// Writing: the text, then zero bytes up to the width; a text of exactly the width fills the field
// with no terminator; a longer text is cut at the width, never written past the field.
void WriteFixed(std::span<std::uint8_t> field, std::string_view text);

// ConvertTextToLongArray / ConvertTextToShortArray: a control's text as the field bytes.
std::string ConvertTextToArray(std::string_view text, std::size_t width);
inline std::string ConvertTextToLongArray(std::string_view t) {
    return ConvertTextToArray(t, kLongNameWidth);
}
inline std::string ConvertTextToShortArray(std::string_view t) {
    return ConvertTextToArray(t, kShortNameWidth);
}

}  // namespace vh::db
