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
    PickList list;
    FilterTable filter;
    std::string_view target;  // object name of the control that receives the choice
    bool targetIsList;        // the choice replaces the selected line of a list
    bool feedsAMove = false;  // the target only feeds a transfer: a pick marks nothing changed
};

inline constexpr int kLastChangeCode = 39;

// Codes 1..39 in order (entry i is code i + 1).
inline constexpr std::array<ChangeCodeInfo, kLastChangeCode> kChangeCodes = {{
    {1, "ClubNationChange", PickList::kNations, FilterTable::kNation, "ClubNation", false},
    {2, "CLubDivisoinChange", PickList::kCompetitions, FilterTable::kCompetition,
     "ClubDivision", false},
    {3, "ClubLDivisionChnage", PickList::kCompetitions, FilterTable::kCompetition,
     "ClubLDivision", false},
    {4, "ClubStadiumChange", PickList::kStadiums, FilterTable::kStadium, "ClubStadium",
     false},
    {5, "ClubRStadiumChange", PickList::kStadiums, FilterTable::kStadium, "ClubRStadium",
     false},
    {6, "FavStaffChange", PickList::kPeople, FilterTable::kStaffThenPlayer, "ClubFavStaff",
     true},
    {7, "DisStaffChange", PickList::kPeople, FilterTable::kStaffThenPlayer, "ClubDisStaff",
     true},
    {8, "RivalClubChange", PickList::kClubs, FilterTable::kClub, "ClubRivalList", true},
    {9, "Button2", PickList::kStadiums, FilterTable::kStadium, "NearbyStad", false},
    {10, "StadiumCityChange", PickList::kCities, FilterTable::kCity, "StadCity", false},
    {11, "NationCCityChange", PickList::kCities, FilterTable::kCity, "NationCCity",
     false},
    {12, "NationStadiumChange", PickList::kStadiums, FilterTable::kStadium,
     "NationStadium", false},
    {13, "NationContinentChange", PickList::kContinents, FilterTable::kContinent,
     "NationContinent", false},
    {14, "NAtionRivalChange", PickList::kNations, FilterTable::kNation, "NationRivals",
     true},
    {15, "Nation1LangChange", PickList::kLanguages, FilterTable::kLanguage, "Nation1Lang",
     false},
    {16, "Nation2LangChange", PickList::kLanguages, FilterTable::kLanguage, "Nation2Lang",
     false},
    {17, "Nation3LangChange", PickList::kLanguages, FilterTable::kLanguage, "Nation3Lang",
     false},
    {18, "CityNationCHange", PickList::kNations, FilterTable::kNation, "CityNation", false},
    {19, "PlayerNationChange", PickList::kNations, FilterTable::kNation, "PlayerNation",
     false},
    {20, "PlayerSecondNationChange", PickList::kNations, FilterTable::kNation,
     "PlayerSecondNation", false},
    {21, "PlayerNewClubChange", PickList::kClubs, FilterTable::kClub, "PlayerNewClub",
     false, true},
    {22, "FirstNameChange", PickList::kFirstNames, FilterTable::kFirstName,
     "PlayerFirstName", false},
    {23, "SecondNameCHange", PickList::kSecondNames, FilterTable::kSecondName,
     "PlayerSecondName", false},
    {24, "CommonNameCHange", PickList::kCommonNames, FilterTable::kCommonName,
     "PlayerCommonName", false},
    {25, "PlayerFavClubCHange", PickList::kClubs, FilterTable::kClub, "PlayerFavClubs",
     true},
    {26, "PLayerDisClubChange", PickList::kClubs, FilterTable::kClub, "PlayerDisClubs",
     true},
    {27, "PlayerFavStaffChange", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "PlayerFavStaff", true},
    {28, "PLayerDisStaffChange", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "PlayerDisStaff", true},
    {29, "NonPlayerFirstNameChange", PickList::kFirstNames, FilterTable::kFirstName,
     "NonPlayerFirstName", false},
    {30, "NonPlayerSecondNameChange", PickList::kSecondNames, FilterTable::kSecondName,
     "NonPlayerSecondName", false},
    {31, "NonPlayerCommonNameChange", PickList::kCommonNames, FilterTable::kCommonName,
     "NonPlayerCommonName", false},
    {32, "NonPlayerNationChange", PickList::kNations, FilterTable::kNation,
     "NonPlayerNation", false},
    {33, "NonPlayerSecondNationChange", PickList::kNations, FilterTable::kNation,
     "NonPlayerSecondNation", false},
    {34, "NonPlayerNewNationChange", PickList::kNations, FilterTable::kNation,
     "NonPlayerNewNation", false, true},
    {35, "NonPlayerNewClubChange", PickList::kClubs, FilterTable::kClub,
     "NonPlayerNewClub", false, true},
    {36, "NonPLayerFavClubsChange", PickList::kClubs, FilterTable::kClub,
     "NonPlayerFavClubs", true},
    {37, "NonPLayerDisClubsChange", PickList::kClubs, FilterTable::kClub,
     "NonPlayerDisClubs", true},
    {38, "NonPLayerFavStaffChange", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "NonPlayerFavStaff", true},
    {39, "NonPLayerDisStaffChange", PickList::kPeople, FilterTable::kStaffThenPlayer,
     "NonPlayerDisStaff", true},
}};

// nullptr for 0 and codes above 39.
inline const ChangeCodeInfo* ChangeCodeOf(int code) {
    if (code < 1 || code > kLastChangeCode) return nullptr;
    return &kChangeCodes[static_cast<std::size_t>(code - 1)];
}

}  // namespace vh::ui
