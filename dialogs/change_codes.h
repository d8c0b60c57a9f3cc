// Every Change button of the editor pages, by the code it sets: which list the picker builds,
// which tables its filter searches, and which control receives the choice. This table is the
// one place that knows; pages register their buttons and targets under these codes.
#pragma once

#include <array>
#include <string_view>

namespace vh::ui {

enum class PickList {
    kNone,
    kNations,
    kCompetitions,
    kStadiums,
    kPeople,
    kClubs,
    kCities,
    kContinents,
    kLanguages,
    kFirstNames,
    kSecondNames,
    kCommonNames,
};

// Tables the filter searches, in the order it searches them.
enum class FilterTable {
    kStadium,
    kClub,
    kNation,
    kStaffThenPlayer,
    kCompetition,
    kCity,
    kFirstName,
    kSecondName,
    kCommonName,
    kLanguage,
    kContinent,
};

struct ChangeCodeInfo {
    int code;
    std::string_view button;  // object name of the Change button
    std::string_view page;    // "club", "stadium", "nation", "city", "player", "staff"
    PickList list;
    FilterTable filter;
    std::string_view target;  // object name of the control that receives the choice
    bool targetIsList;        // the choice replaces the selected line of a list
    bool feedsAMove = false;  // the target only feeds a transfer: a pick marks nothing changed
};

inline constexpr int kLastChangeCode = 39;

// Codes 1..39 in order (entry i is code i + 1).
inline constexpr std::array<ChangeCodeInfo, kLastChangeCode> kChangeCodes = {{
    {1, "ClubNationChange", "club", PickList::kNations, FilterTable::kNation, "ClubNation", false},
    {2, "CLubDivisoinChange", "club", PickList::kCompetitions, FilterTable::kCompetition,
     "ClubDivision", false},
    {3, "ClubLDivisionChnage", "club", PickList::kCompetitions, FilterTable::kCompetition,
     "ClubLDivision", false},
    {4, "ClubStadiumChange", "club", PickList::kStadiums, FilterTable::kStadium, "ClubStadium",
     false},
    {5, "ClubRStadiumChange", "club", PickList::kStadiums, FilterTable::kStadium, "ClubRStadium",
     false},
    {6, "FavStaffChange", "club", PickList::kPeople, FilterTable::kStaffThenPlayer, "ClubFavStaff",
     true},
    {7, "DisStaffChange", "club", PickList::kPeople, FilterTable::kStaffThenPlayer, "ClubDisStaff",
     true},
    {8, "RivalClubChange", "club", PickList::kClubs, FilterTable::kClub, "ClubRivalList", true},
    {9, "Button2", "stadium", PickList::kStadiums, FilterTable::kStadium, "NearbyStad", false},
    {10, "StadiumCityChange", "stadium", PickList::kCities, FilterTable::kCity, "StadCity", false},
    {11, "NationCCityChange", "nation", PickList::kCities, FilterTable::kCity, "NationCCity",
     false},
    {12, "NationStadiumChange", "nation", PickList::kStadiums, FilterTable::kStadium,
     "NationStadium", false},
    {13, "NationContinentChange", "nation", PickList::kContinents, FilterTable::kContinent,
     "NationContinent", false},
    {14, "NAtionRivalChange", "nation", PickList::kNations, FilterTable::kNation, "NationRivals",
     true},
    {15, "Nation1LangChange", "nation", PickList::kLanguages, FilterTable::kLanguage, "Nation1Lang",
     false},
    {16, "Nation2LangChange", "nation", PickList::kLanguages, FilterTable::kLanguage, "Nation2Lang",
     false},
    {17, "Nation3LangChange", "nation", PickList::kLanguages, FilterTable::kLanguage, "Nation3Lang",
     false},
    {18, "CityNationCHange", "city", PickList::kNations, FilterTable::kNation, "CityNation", false},
    {19, "PlayerNationChange", "player", PickList::kNations, FilterTable::kNation, "PlayerNation",
     false},
    {20, "PlayerSecondNationChange", "player", PickList::kNations, FilterTable::kNation,
     "PlayerSecondNation", false},
    {21, "PlayerNewClubChange", "player", PickList::kClubs, FilterTable::kClub, "PlayerNewClub",
     false, true},
    {22, "FirstNameChange", "player", PickList::kFirstNames, FilterTable::kFirstName,
     "PlayerFirstName", false},
    {23, "SecondNameCHange", "player", PickList::kSecondNames, FilterTable::kSecondName,
     "PlayerSecondName", false},
    {24, "CommonNameCHange", "player", PickList::kCommonNames, FilterTable::kCommonName,
     "PlayerCommonName", false},
    {25, "PlayerFavClubCHange", "player", PickList::kClubs, FilterTable::kClub, "PlayerFavClubs",
     true},
    {26, "PLayerDisClubChange", "player", PickList::kClubs, FilterTable::kClub, "PlayerDisClubs",
     true},
    {27, "PlayerFavStaffChange", "player", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "PlayerFavStaff", true},
    {28, "PLayerDisStaffChange", "player", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "PlayerDisStaff", true},
    {29, "NonPlayerFirstNameChange", "staff", PickList::kFirstNames, FilterTable::kFirstName,
     "NonPlayerFirstName", false},
    {30, "NonPlayerSecondNameChange", "staff", PickList::kSecondNames, FilterTable::kSecondName,
     "NonPlayerSecondName", false},
    {31, "NonPlayerCommonNameChange", "staff", PickList::kCommonNames, FilterTable::kCommonName,
     "NonPlayerCommonName", false},
    {32, "NonPlayerNationChange", "staff", PickList::kNations, FilterTable::kNation,
     "NonPlayerNation", false},
    {33, "NonPlayerSecondNationChange", "staff", PickList::kNations, FilterTable::kNation,
     "NonPlayerSecondNation", false},
    {34, "NonPlayerNewNationChange", "staff", PickList::kNations, FilterTable::kNation,
     "NonPlayerNewNation", false, true},
    {35, "NonPlayerNewClubChange", "staff", PickList::kClubs, FilterTable::kClub,
     "NonPlayerNewClub", false, true},
    {36, "NonPLayerFavClubsChange", "staff", PickList::kClubs, FilterTable::kClub,
     "NonPlayerFavClubs", true},
    {37, "NonPLayerDisClubsChange", "staff", PickList::kClubs, FilterTable::kClub,
     "NonPlayerDisClubs", true},
    {38, "NonPLayerFavStaffChange", "staff", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "NonPlayerFavStaff", true},
    {39, "NonPLayerDisStaffChange", "staff", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "NonPlayerDisStaff", true},
}};

// nullptr for 0 and codes above 39.
inline const ChangeCodeInfo* ChangeCodeOf(int code) {
    if (code < 1 || code > kLastChangeCode) return nullptr;
    return &kChangeCodes[static_cast<std::size_t>(code - 1)];
}

}  // namespace vh::ui
