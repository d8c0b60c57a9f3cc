#include "sample_words.h"

#include <array>

namespace vh::sample::words {

namespace {

using namespace std::string_view_literals;

// Record 0 of every names file is a real name; "Jan" and "Berg" stand twice.
constexpr std::array kFirstNames = {
    "Adam"sv,  "Tomas"sv, "Jan"sv,    "Pieter"sv, "Lars"sv,   "Erik"sv,  "Marco"sv,  "Luca"sv,
    "Paulo"sv, "Diego"sv, "Andrés"sv, "José"sv,   "Jürgen"sv, "Søren"sv, "Iñigo"sv,  "François"sv,
    "Loïc"sv,  "Ørjan"sv, "Mikael"sv, "Stefan"sv, "Hugo"sv,   "Björn"sv, "Rafael"sv, "Niklas"sv,
    "Oscar"sv, "Felix"sv, "Ivan"sv,   "Kenji"sv,  "Kofi"sv,   "Jan"sv,
};

// Surnames with a lower-case particle cannot be reached by typing in the list filter, which
// always capitalises the first letter; the sample has a few on purpose.
constexpr std::array kSecondNames = {
    "Berg"sv,      "Jensen"sv,   "Novak"sv,    "Rossi"sv,        "Silva"sv,    "Moreau"sv,
    "de Boer"sv,   "van Dijk"sv, "de Vries"sv, "van den Berg"sv, "da Costa"sv, "Müller"sv,
    "Pérez"sv,     "Muñoz"sv,    "Ødegård"sv,  "Schröder"sv,     "Kowalski"sv, "Nakamura"sv,
    "Okafor"sv,    "Hansen"sv,   "Berg"sv,     "Lindqvist"sv,    "Dubois"sv,   "García"sv,
    "Fernández"sv, "Åberg"sv,    "Lefèvre"sv,  "Johansson"sv,    "Horvat"sv,   "Petit"sv,
};

constexpr std::array kCommonNames = {
    "Tonito"sv, "Rufo"sv, "Lalo"sv,  "Paco"sv, "Chuchi"sv,   "Pipo"sv,
    "Tatu"sv,   "Biri"sv, "Zé Tó"sv, "Fofo"sv, "Nandinho"sv, "Tonhão"sv,
};

// "Halberg" stands twice (the second is drawn again unless the sample shares names).
constexpr std::array kCities = {
    "Arnford"sv,    "Belcastle"sv, "Corrin"sv,     "Halberg"sv,  "Dunmere"sv, "Eastwick"sv,
    "Sétubra"sv,    "Greyhaven"sv, "Holmwood"sv,   "Münsford"sv, "Jardale"sv, "Kelby"sv,
    "Lindholm"sv,   "Ålvik"sv,     "Northam"sv,    "Oakridge"sv, "Halberg"sv, "Port Elwin"sv,
    "Queensmoor"sv, "Ravensby"sv,  "São Lourel"sv, "Tornby"sv,   "Uxley"sv,   "Villaño"sv,
};

// Four short names begin with "Van", two of them with "Van D".
constexpr std::array kNations = {
    "Arvania"sv,   "Belmora"sv,  "Calderia"sv, "Dorvala"sv,    "Estmark"sv,     "Fenland"sv,
    "Galicor"sv,   "Hestria"sv,  "Ilvania"sv,  "Karsland"sv,   "Lomaria"sv,     "Morvenia"sv,
    "Nordhavn"sv,  "Ostrelia"sv, "Pelagia"sv,  "Quarmont"sv,   "Rovenia"sv,     "Sarnland"sv,
    "Tirmont"sv,   "Ulvaria"sv,  "Vandria"sv,  "Van Diemen"sv, "Van Dorland"sv, "Vanholm"sv,
    "Westmarch"sv, "Yselmoor"sv, "Zaravia"sv,  "Österland"sv,  "Écrina"sv,      "Brevalia"sv,
};

constexpr std::array kColours = {
    "White"sv,      "Black"sv,     "Red"sv,     "Blue"sv,       "Sky Blue"sv, "Navy Blue"sv,
    "Royal Blue"sv, "Claret"sv,    "Maroon"sv,  "Yellow"sv,     "Amber"sv,    "Gold"sv,
    "Orange"sv,     "Tangerine"sv, "Green"sv,   "Dark Green"sv, "Lime"sv,     "Emerald"sv,
    "Purple"sv,     "Violet"sv,    "Pink"sv,    "Magenta"sv,    "Grey"sv,     "Silver"sv,
    "Brown"sv,      "Beige"sv,     "Cream"sv,   "Turquoise"sv,  "Teal"sv,     "Cyan"sv,
    "Burgundy"sv,   "Scarlet"sv,   "Crimson"sv, "Lilac"sv,      "Olive"sv,    "Khaki"sv,
    "Bronze"sv,     "Mint"sv,      "Coral"sv,   "Ochre"sv,
};

constexpr std::array kContinents = {
    "Europe"sv, "Africa"sv, "Asia"sv, "North America"sv, "South America"sv, "Oceania"sv,
};

constexpr std::array kSyllables = {
    "al"sv,  "an"sv,  "ar"sv,  "bel"sv, "ben"sv, "bor"sv, "ca"sv,   "dal"sv, "del"sv, "dor"sv,
    "el"sv,  "en"sv,  "far"sv, "gar"sv, "hal"sv, "har"sv, "is"sv,   "ka"sv,  "kel"sv, "lan"sv,
    "lin"sv, "lo"sv,  "mar"sv, "mel"sv, "mor"sv, "na"sv,  "nor"sv,  "ol"sv,  "pa"sv,  "per"sv,
    "ra"sv,  "ren"sv, "ri"sv,  "ro"sv,  "sa"sv,  "sel"sv, "sten"sv, "ta"sv,  "tor"sv, "ul"sv,
    "va"sv,  "ven"sv, "wel"sv, "ya"sv,  "zan"sv, "zor"sv,
};

constexpr std::array kAccentedSyllables = {
    "lé"sv, "rü"sv, "nø"sv, "ño"sv, "çe"sv, "sä"sv, "bé"sv, "lö"sv, "då"sv, "mè"sv,
};

constexpr std::array kPlaceEndings = {
    "by"sv, "ford"sv, "ton"sv, "burg"sv, "stad"sv, "wick"sv, "holm"sv, "mere"sv, "vik"sv, "dale"sv,
};

constexpr std::array kClubSuffixes = {
    "Rovers"sv,    "United"sv,  "Athletic"sv, "Town"sv,     "City"sv,
    "Wanderers"sv, "Albion"sv,  "Rangers"sv,  "FC"sv,       "Sporting"sv,
    "Dynamo"sv,    "Olympic"sv, "Harriers"sv, "Victoria"sv, "Star"sv,
};

// '%' stands for the city's name.
constexpr std::array kStadiumPatterns = {
    "% Park"sv,    "% Arena"sv,  "% Road"sv, "Estadio %"sv,
    "Stadion %"sv, "% Ground"sv, "% Lane"sv, "% Stadium"sv,
};

constexpr std::array kDivisionNames = {
    "Premier Division"sv,
    "First Division"sv,
    "Second Division"sv,
};

}  // namespace

std::span<const std::string_view> FirstNames() {
    return kFirstNames;
}
std::span<const std::string_view> SecondNames() {
    return kSecondNames;
}
std::span<const std::string_view> CommonNames() {
    return kCommonNames;
}
std::span<const std::string_view> Cities() {
    return kCities;
}
std::span<const std::string_view> Nations() {
    return kNations;
}
std::span<const std::string_view> Colours() {
    return kColours;
}
std::span<const std::string_view> Continents() {
    return kContinents;
}
std::span<const std::string_view> Syllables() {
    return kSyllables;
}
std::span<const std::string_view> AccentedSyllables() {
    return kAccentedSyllables;
}
std::span<const std::string_view> PlaceEndings() {
    return kPlaceEndings;
}
std::span<const std::string_view> ClubSuffixes() {
    return kClubSuffixes;
}
std::span<const std::string_view> StadiumPatterns() {
    return kStadiumPatterns;
}
std::span<const std::string_view> DivisionNames() {
    return kDivisionNames;
}

}  // namespace vh::sample::words
