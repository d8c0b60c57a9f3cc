// Every record layout of the game's data directory, byte for byte. One table per file; the
// offsets are the documentation. Bytes between and after the named fields belong to the game and
// are carried unchanged by every save.
#pragma once

#include "database/records/fields.h"

namespace vh::db {

// first_names.dat, second_names.dat, common_names.dat
struct NamesRecord : Record<60> {
    static constexpr Str Name{0, 51};
    static constexpr I32 Id{51};  // the name's identifier, equal to its record number
    // 55..59 not used by the editor
};

// stadium.dat
struct StadiumRecord : Record<78> {
    static constexpr I32 Id{0};
    static constexpr Str Name{4, 51};
    // 55 kept
    static constexpr I32 City{56};
    static constexpr I32 Capacity{60};
    static constexpr I32 Seating{64};
    // 68..71 kept
    static constexpr I32 NearbyStadium{72};
    static constexpr U8 Covered{76};
    static constexpr U8 Undersoil{77};
};

// city.dat
struct CityRecord : Record<56> {
    static constexpr I32 Id{0};
    static constexpr Str Name{4, 26};
    // 30 kept
    static constexpr I32 Nation{31};
    static constexpr F64 Longitude{35};
    static constexpr F64 Latitude{43};
    static constexpr U8 Attraction{51};
    // 52..55 kept
};

// club.dat
struct ClubRecord : Record<581> {
    static constexpr I32 Id{0};
    static constexpr Str LongName{4, 51};
    // 55 not interpreted
    static constexpr Str ShortName{56, 26};
    // 82 not interpreted
    static constexpr I32 Nation{83};
    static constexpr I32 Division{87};
    static constexpr I32 LastDivision{91};
    static constexpr U8 LastPosition{95};
    // 96..99 not interpreted
    static constexpr U8 Status{100};
    static constexpr I32 Cash{101};
    static constexpr I32 Stadium{105};
    static constexpr U8 OwnStadium{109};
    static constexpr I32 ReserveStadium{110};
    static constexpr U8 ReserveMatchDay{114};
    static constexpr I32 AverageAttendance{115};
    static constexpr I32 MinimumAttendance{119};
    static constexpr I32 MaximumAttendance{123};
    static constexpr U8 Training{127};
    static constexpr I16 Reputation{128};
    static constexpr U8 Plc{130};
    static constexpr I32 HomeColour1{131};
    static constexpr I32 HomeColour2{135};
    static constexpr I32 AwayColour1{139};
    static constexpr I32 AwayColour2{143};
    static constexpr I32 ThirdColour1{147};
    static constexpr I32 ThirdColour2{151};
    static constexpr I32Array<3> FavouriteStaff{155};
    static constexpr I32Array<3> DislikedStaff{167};
    static constexpr I32Array<3> RivalClubs{179};
    static constexpr I32 Chairman{191};
    static constexpr I32Array<3> Directors{195};
    static constexpr I32 Manager{207};
    static constexpr I32 AssistantManager{211};
    static constexpr I32Array<50> Players{215};
    static constexpr I32Array<5> Coaches{415};
    static constexpr I32Array<7> Scouts{435};
    static constexpr I32Array<5> Physios{463};
    // 483..580 not interpreted
};

// club_comp.dat
struct ClubCompRecord : Record<107> {
    static constexpr I32 Id{0};
    static constexpr Str Name{4, 51};
    // 55..106 not interpreted
};

// colour.dat
struct ColourRecord : Record<58> {
    static constexpr I32 Id{0};
    static constexpr Str Name{4, 51};
    // 55..57 not interpreted
};

// nation.dat
struct NationRecord : Record<290> {
    static constexpr I32 Id{0};
    static constexpr Str LongName{4, 51};
    // 55 not interpreted
    static constexpr Str ShortName{56, 26};
    // 82 not interpreted
    static constexpr Str ThreeLetterName{83, 4};  // shown whole; only 3 bytes are ever written
    static constexpr Str NationalityName{87, 26};
    static constexpr I32 Continent{113};
    static constexpr U8 Region{117};
    // 118 not interpreted
    static constexpr U8 Language1{119};
    static constexpr U8 Language2{120};
    static constexpr U8 Language3{121};
    static constexpr I32 CapitalCity{122};
    static constexpr U8 StateOfDevelopment{126};
    static constexpr U8 Eec{127};
    static constexpr I32 NationalStadium{128};
    static constexpr U8 GameImportance{132};
    static constexpr U8 LeagueStandard{133};
    // 134..141 not interpreted
    static constexpr I16 Reputation{142};
    static constexpr I32 HomeColour1{144};
    static constexpr I32 HomeColour2{148};
    static constexpr I32 AwayColour1{152};
    static constexpr I32 AwayColour2{156};
    static constexpr I32 ThirdColour1{160};
    static constexpr I32 ThirdColour2{164};
    // 168..271 not interpreted
    static constexpr I32Array<3> RivalNations{272};
    // 284..289 not interpreted
};

// continent.dat
struct ContinentRecord : Record<198> {
    static constexpr I32 Id{0};
    static constexpr Str Name{4, 26};
    // 30..197 not interpreted
};

// staff.dat: one per person, player or not
struct StaffRecord : Record<157> {
    static constexpr I32 Id{0};
    static constexpr I32 FirstName{4};
    static constexpr I32 SecondName{8};
    static constexpr I32 CommonName{12};
    static constexpr I16 BirthDay{16};
    static constexpr I16 BirthYear{18};
    // 20..25 kept
    static constexpr I32 Nation{26};
    static constexpr I32 SecondNation{30};
    static constexpr U8 InternationalCaps{34};
    static constexpr U8 InternationalGoals{35};
    static constexpr I32 NationEmployer{36};
    static constexpr U8 NationJob{40};
    // 41..56 kept
    static constexpr I32 Club{57};
    static constexpr U8 ClubJob{61};
    static constexpr I16 JoinedDay{62};
    static constexpr I16 JoinedYear{64};
    // 66..69 kept
    static constexpr I16 ContractDay{70};
    static constexpr I16 ContractYear{72};
    // 74..77 kept
    static constexpr I32 Wage{78};
    static constexpr I32 Value{82};
    static constexpr U8 Adaptability{86};
    static constexpr U8 Ambition{87};
    static constexpr U8 Determination{88};
    static constexpr U8 Loyalty{89};
    static constexpr U8 Pressure{90};
    static constexpr U8 Professionalism{91};
    static constexpr U8 Sportsmanship{92};
    static constexpr U8 Temperament{93};
    static constexpr U8 Squad{94};
    // 95..96 kept
    static constexpr I32Array<3> FavouriteClubs{97};
    static constexpr I32Array<3> DislikedClubs{109};
    static constexpr I32Array<3> FavouriteStaff{121};
    static constexpr I32Array<3> DislikedStaff{133};
    static constexpr I32 PlayerIndex{145};
    // 149..152 kept
    static constexpr I32 NonPlayerIndex{153};
};

// A player's attributes, in the player block of staff.dat
struct PlayerRecord : Record<70> {
    static constexpr I32 Id{0};
    static constexpr U8 SquadNumber{4};
    static constexpr I16 CurrentAbility{5};
    static constexpr I16 PotentialAbility{7};
    static constexpr I16 HomeReputation{9};
    static constexpr I16 CurrentReputation{11};
    static constexpr I16 WorldReputation{13};
    static constexpr U8 Goalkeeper{15};
    static constexpr U8 Sweeper{16};
    static constexpr U8 Defender{17};
    static constexpr U8 DefensiveMidfielder{18};
    static constexpr U8 Midfielder{19};
    static constexpr U8 AttackingMidfielder{20};
    static constexpr U8 Attacker{21};
    static constexpr U8 WingBack{22};
    static constexpr U8 RightSide{23};
    static constexpr U8 LeftSide{24};
    static constexpr U8 Central{25};
    static constexpr U8 FreeRole{26};
    static constexpr U8 Acceleration{27};
    static constexpr U8 Aggression{28};
    static constexpr U8 Agility{29};
    static constexpr U8 Anticipation{30};
    static constexpr U8 Balance{31};
    static constexpr U8 Bravery{32};
    static constexpr U8 Consistency{33};
    static constexpr U8 Corners{34};
    static constexpr U8 Crossing{35};
    static constexpr U8 Decisions{36};
    static constexpr U8 Dirtiness{37};
    static constexpr U8 Dribbling{38};
    static constexpr U8 Finishing{39};
    static constexpr U8 Flair{40};
    static constexpr U8 FreeKicks{41};
    static constexpr U8 Handling{42};
    static constexpr U8 Heading{43};
    static constexpr U8 ImportantMatches{44};
    static constexpr U8 InjuryProneness{45};
    static constexpr U8 Jumping{46};
    static constexpr U8 Leadership{47};
    static constexpr U8 LeftFoot{48};
    static constexpr U8 LongShots{49};
    static constexpr U8 Marking{50};
    static constexpr U8 Movement{51};
    static constexpr U8 NaturalFitness{52};
    static constexpr U8 OneOnOnes{53};
    static constexpr U8 Pace{54};
    static constexpr U8 Passing{55};
    static constexpr U8 Penalties{56};
    static constexpr U8 Positioning{57};
    static constexpr U8 Reflexes{58};
    static constexpr U8 RightFoot{59};
    static constexpr U8 Stamina{60};
    static constexpr U8 Strength{61};
    static constexpr U8 Tackling{62};
    static constexpr U8 Teamwork{63};
    static constexpr U8 Technique{64};
    static constexpr U8 ThrowIns{65};
    static constexpr U8 Versatility{66};
    static constexpr U8 Vision{67};
    static constexpr U8 WorkRate{68};
    // 69 kept
};

// A staff member's attributes, in the non-player block of staff.dat
struct NonPlayerRecord : Record<68> {
    static constexpr I32 Id{0};
    static constexpr I16 CurrentAbility{4};
    static constexpr I16 PotentialAbility{6};
    static constexpr I16 HomeReputation{8};
    static constexpr I16 CurrentReputation{10};
    static constexpr I16 WorldReputation{12};
    static constexpr U8 Attacking{14};
    static constexpr U8 Business{15};
    static constexpr U8 CoachingPlayers{16};
    static constexpr U8 CoachingGoalkeepers{17};
    static constexpr U8 CoachingTechnique{18};
    static constexpr U8 Directness{19};
    static constexpr U8 Discipline{20};
    static constexpr U8 CoachingFreeRoles{21};
    static constexpr U8 Interference{22};
    static constexpr U8 Judgement{23};
    static constexpr U8 JudgingPotential{24};
    static constexpr U8 ManHandling{25};
    static constexpr U8 Marking{26};
    // 27 kept
    static constexpr U8 Offside{28};
    static constexpr U8 Patience{29};
    static constexpr U8 Physiotherapy{30};
    static constexpr U8 Pressing{31};
    static constexpr U8 Resources{32};
    static constexpr U8 Tactics{33};
    static constexpr U8 Youngsters{34};
    static constexpr I32 Goalkeeper{35};
    static constexpr I32 Sweeper{39};
    static constexpr I32 Defender{43};
    static constexpr I32 DefensiveMidfielder{47};
    static constexpr I32 Midfielder{51};
    static constexpr I32 AttackingMidfielder{55};
    static constexpr I32 Attacker{59};
    static constexpr I32 WingBack{63};
    // 67 kept
};

// index.dat, after its 8-byte header: one entry per block kept inside staff.dat
struct IndexEntry : Record<67> {
    // 0..50 not read
    static constexpr I32 BlockType{51};
    // 55..58 not read
    static constexpr I32 BlockOffset{59};
    // 63..66 not read
};

inline constexpr int kIndexHeaderSize = 8;
inline constexpr int kPlayerBlockType = 10;
inline constexpr int kNonPlayerBlockType = 8;

// A record is its bytes and nothing more.
static_assert(sizeof(NamesRecord) == NamesRecord::kSize);
static_assert(sizeof(StadiumRecord) == StadiumRecord::kSize);
static_assert(sizeof(CityRecord) == CityRecord::kSize);
static_assert(sizeof(ClubRecord) == ClubRecord::kSize);
static_assert(sizeof(ClubCompRecord) == ClubCompRecord::kSize);
static_assert(sizeof(ColourRecord) == ColourRecord::kSize);
static_assert(sizeof(NationRecord) == NationRecord::kSize);
static_assert(sizeof(ContinentRecord) == ContinentRecord::kSize);
static_assert(sizeof(StaffRecord) == StaffRecord::kSize);
static_assert(sizeof(PlayerRecord) == PlayerRecord::kSize);
static_assert(sizeof(NonPlayerRecord) == NonPlayerRecord::kSize);
static_assert(sizeof(IndexEntry) == IndexEntry::kSize);

}  // namespace vh::db
