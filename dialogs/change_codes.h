// Every Change button of the editor pages, by the code it sets, and which control receives the
// choice. What the picker lists for it is the target of that control's field in the catalogue.
// Pages register their buttons and targets under these codes.
#pragma once

#include <array>
#include <string_view>

#include "database/records/reference.h"

namespace vh::ui {

struct ChangeCodeInfo {
    int code;
    std::string_view button;  // object name of the Change button
    std::string_view target;  // object name of the control that receives the choice
    // A target that only feeds a transfer (no record field): what its picker lists. A pick there
    // marks nothing changed.
    db::Target move = db::Target::kNone;

    bool FeedsAMove() const { return move != db::Target::kNone; }
    // What the picker lists: the target of the catalogue field the choice goes to, or the move's.
    db::Target PickTarget() const;
    // The choice replaces the selected line of a list.
    bool TargetIsList() const;
};

inline constexpr int kLastChangeCode = 39;

// Codes 1..39 in order (entry i is code i + 1).
inline constexpr std::array<ChangeCodeInfo, kLastChangeCode> kChangeCodes = {{
    {1, "ClubNationChange", "ClubNation"},
    {2, "CLubDivisoinChange", "ClubDivision"},
    {3, "ClubLDivisionChnage", "ClubLDivision"},
    {4, "ClubStadiumChange", "ClubStadium"},
    {5, "ClubRStadiumChange", "ClubRStadium"},
    {6, "FavStaffChange", "ClubFavStaff"},
    {7, "DisStaffChange", "ClubDisStaff"},
    {8, "RivalClubChange", "ClubRivalList"},
    {9, "Button2", "NearbyStad"},
    {10, "StadiumCityChange", "StadCity"},
    {11, "NationCCityChange", "NationCCity"},
    {12, "NationStadiumChange", "NationStadium"},
    {13, "NationContinentChange", "NationContinent"},
    {14, "NAtionRivalChange", "NationRivals"},
    {15, "Nation1LangChange", "Nation1Lang"},
    {16, "Nation2LangChange", "Nation2Lang"},
    {17, "Nation3LangChange", "Nation3Lang"},
    {18, "CityNationCHange", "CityNation"},
    {19, "PlayerNationChange", "PlayerNation"},
    {20, "PlayerSecondNationChange", "PlayerSecondNation"},
    {21, "PlayerNewClubChange", "PlayerNewClub", db::Target::kClub},
    {22, "FirstNameChange", "PlayerFirstName"},
    {23, "SecondNameCHange", "PlayerSecondName"},
    {24, "CommonNameCHange", "PlayerCommonName"},
    {25, "PlayerFavClubCHange", "PlayerFavClubs"},
    {26, "PLayerDisClubChange", "PlayerDisClubs"},
    {27, "PlayerFavStaffChange", "PlayerFavStaff"},
    {28, "PLayerDisStaffChange", "PlayerDisStaff"},
    {29, "NonPlayerFirstNameChange", "NonPlayerFirstName"},
    {30, "NonPlayerSecondNameChange", "NonPlayerSecondName"},
    {31, "NonPlayerCommonNameChange", "NonPlayerCommonName"},
    {32, "NonPlayerNationChange", "NonPlayerNation"},
    {33, "NonPlayerSecondNationChange", "NonPlayerSecondNation"},
    {34, "NonPlayerNewNationChange", "NonPlayerNewNation", db::Target::kNation},
    {35, "NonPlayerNewClubChange", "NonPlayerNewClub", db::Target::kClub},
    {36, "NonPLayerFavClubsChange", "NonPlayerFavClubs"},
    {37, "NonPLayerDisClubsChange", "NonPlayerDisClubs"},
    {38, "NonPLayerFavStaffChange", "NonPlayerFavStaff"},
    {39, "NonPLayerDisStaffChange", "NonPlayerDisStaff"},
}};

// nullptr for 0 and codes above 39.
inline const ChangeCodeInfo* ChangeCodeOf(int code) {
    if (code < 1 || code > kLastChangeCode) return nullptr;
    return &kChangeCodes[static_cast<std::size_t>(code - 1)];
}
// The code whose choice goes to that control; nullptr for none.
const ChangeCodeInfo* ChangeCodeFor(std::string_view target);

}  // namespace vh::ui
