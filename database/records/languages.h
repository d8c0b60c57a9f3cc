// The 60 languages a nation's language fields number, held by the program (no file has them).
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace vh::db {

// LanguageNames: entry n - 1 is language n (1..60); "ALBANIAN" stands twice, as 1 and 34. A
// constant, in place before any page or picker needs it: nothing sets it up at run time.
extern const std::array<std::string_view, 60> kLanguageNames;

// Number to name: 1..60 give a name; 0 and anything above 60 give none.
std::optional<std::string_view> LanguageName(int number);
// Name to number: the first entry equal to the name (whole text, same case); 0 when none.
int LanguageNumber(std::string_view name);

}  // namespace vh::db
