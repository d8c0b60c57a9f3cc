// The words the sample world is made of. Written here in UTF-8 for the reader; the generator turns
// them into the cp1252 bytes the files hold.
#pragma once

#include <span>
#include <string_view>

namespace vh::sample::words {

// Fixed heads of the tables: the sample's first records are always these, whatever the seed, so
// that the facts of SampleSummary sit at fixed places. Later records are made from syllables.
std::span<const std::string_view> FirstNames();
std::span<const std::string_view> SecondNames();
std::span<const std::string_view> CommonNames();
std::span<const std::string_view> Cities();
std::span<const std::string_view> Nations();
std::span<const std::string_view> Colours();
std::span<const std::string_view> Continents();

// Pieces of made-up names. Accented pieces never start a name, so that every made-up name starts
// with a capital letter.
std::span<const std::string_view> Syllables();
std::span<const std::string_view> AccentedSyllables();
std::span<const std::string_view> PlaceEndings();     // "by", "ford", ...
std::span<const std::string_view> ClubSuffixes();     // "Rovers", "United", ...
std::span<const std::string_view> StadiumPatterns();  // "% Park", "Estadio %", ...
std::span<const std::string_view> DivisionNames();    // "Premier Division", ...

}  // namespace vh::sample::words
