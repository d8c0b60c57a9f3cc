#include "database/records/catalogue.h"

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>

#include "database/records/data_def.h"

namespace vh::db {

namespace {

// --- how the tables are written ------------------------------------------------------------------

// Called only where a table is wrong: its use in a constant expression stops the compilation.
void RangeDoesNotFitItsField() {}

template <class R>
constexpr Part PartOf() {
    if constexpr (std::is_same_v<R, PlayerRecord>)
        return Part::kPlayer;
    else if constexpr (std::is_same_v<R, NonPlayerRecord>)
        return Part::kNonPlayer;
    else
        return Part::kRecord;
}

// A field of a layout with the name the layout gives it, so that neither is typed twice.
template <class F>
struct At {
    F field;
    const char* member;
    Part part;
};
template <class R, class F>
consteval At<F> MakeAt(F field, const char* member) {
    return {field, member, PartOf<R>()};
}
#define AT(Record, Member) MakeAt<Record>(Record::Member, #Member)

template <class T>
consteval Field Base(const char* name, const char* caption, const char* tab, At<Scalar<T>> at) {
    Field f{name, caption, tab, at.member};
    f.part = at.part;
    f.offset = static_cast<std::uint16_t>(at.field.offset);
    f.width = sizeof(T);
    f.isSigned = std::is_signed_v<T>;
    return f;
}

consteval void CheckRange(const Field& f, std::int64_t lo, std::int64_t hi) {
    const std::int64_t lowest = f.isSigned ? -(std::int64_t{1} << (8 * f.width - 1)) : 0;
    const std::int64_t highest = f.isSigned ? (std::int64_t{1} << (8 * f.width - 1)) - 1
                                            : (std::int64_t{1} << (8 * f.width)) - 1;
    if (lo > hi || lo < lowest || hi > highest) RangeDoesNotFitItsField();
}

// A whole number the page accepts from lo to hi; a range its field cannot hold does not build.
template <class T>
consteval Field Number(const char* name, const char* caption, const char* tab, At<Scalar<T>> at,
                       std::int32_t lo, std::int32_t hi, int maxLength = 0) {
    Field f = Base(name, caption, tab, at);
    f.kind = Kind::kNumber;
    f.min = lo;
    f.max = hi;
    f.maxLength = maxLength;
    CheckRange(f, lo, hi);
    return f;
}

consteval Field Text(const char* name, const char* caption, const char* tab, At<Str> at,
                     int written = 0) {
    Field f{name, caption, tab, at.member};
    f.part = at.part;
    f.kind = Kind::kText;
    f.offset = static_cast<std::uint16_t>(at.field.offset);
    f.width = static_cast<std::uint8_t>(at.field.width);
    f.min = 0;
    f.max = written ? written : static_cast<std::int32_t>(at.field.width);
    if (f.max > f.width) RangeDoesNotFitItsField();
    return f;
}

template <class T>
consteval Field Ref(const char* name, const char* caption, const char* tab, At<Scalar<T>> at,
                    Target target, None none = None::kNegative, const char* noneText = nullptr) {
    Field f = Base(name, caption, tab, at);
    f.kind = Kind::kReference;
    f.target = target;
    f.none = none;
    f.noneText = noneText;
    // The languages are numbered in a byte; every other reference is a signed record number.
    if (target == Target::kLanguage ? f.width != 1 : (f.width != 4 || !f.isSigned))
        RangeDoesNotFitItsField();
    return f;
}

consteval Field Colour(const char* name, const char* caption, const char* tab, At<I32> at) {
    return Ref(name, caption, tab, at, Target::kColour, None::kOutsideFile);
}

consteval Field Language(const char* name, const char* caption, const char* tab, At<U8> at) {
    return Ref(name, caption, tab, at, Target::kLanguage, None::kNotPositive);
}

template <std::size_t N>
consteval Field List(const char* name, const char* caption, const char* tab, At<I32Array<N>> at,
                     Target target, None none = None::kNegative) {
    Field f{name, caption, tab, at.member};
    f.part = at.part;
    f.kind = Kind::kList;
    f.offset = static_cast<std::uint16_t>(at.field.offset);
    f.width = 4;
    f.count = static_cast<std::uint8_t>(N);
    f.target = target;
    f.none = none;
    return f;
}

// A day of the year shown as a day field (0..31) and a month field (0..12).
consteval Field Date(const char* dayName, const char* dayCaption, const char* monthName,
                     const char* monthCaption, const char* tab, At<I16> at, int maxLength = 0) {
    Field f = Base(dayName, dayCaption, tab, at);
    f.kind = Kind::kDate;
    f.monthName = monthName;
    f.monthCaption = monthCaption;
    f.min = 0;
    f.max = 31;
    f.maxLength = maxLength;
    return f;
}

consteval Field Coordinate(const char* name, const char* caption, const char* tab, At<F64> at) {
    Field f = Base(name, caption, tab, at);
    f.kind = Kind::kCoordinate;
    return f;
}

consteval Field Check(const char* name, const char* caption, const char* tab, At<U8> at,
                      Checked when, std::uint8_t checkedValue, std::uint8_t uncheckedValue) {
    Field f = Base(name, caption, tab, at);
    f.kind = Kind::kCheck;
    f.checked = when;
    f.checkedValue = checkedValue;
    f.uncheckedValue = uncheckedValue;
    return f;
}

consteval Field Choice(const char* name, const char* caption, const char* tab, At<U8> at,
                       std::span<const char* const> items) {
    Field f = Base(name, caption, tab, at);
    f.kind = Kind::kChoice;
    f.items = items;
    f.min = 1;
    f.max = static_cast<std::int32_t>(items.size());
    CheckRange(f, f.min, f.max);
    return f;
}

consteval Field ShownOnly(Field f) {
    f.edit = Edit::kShownOnly;
    return f;
}

// Changed only through the transfer and appointment rules, so that persons and clubs agree.
consteval Field Moved(Field f) {
    f.edit = Edit::kMove;
    return f;
}

using C = ClubRecord;
using N = NationRecord;
using S = StaffRecord;
using P = PlayerRecord;
using NP = NonPlayerRecord;

// --- stadiums and cities -------------------------------------------------------------------------

constexpr Field kStadiumFields[] = {
    Text("StadName", "Stadium Name", "", AT(StadiumRecord, Name)),
    Number("StadCap", "Capacity", "", AT(StadiumRecord, Capacity), 0, 500000),
    Number("StadSeat", "Seating", "", AT(StadiumRecord, Seating), 0, 500000),
    Ref("StadCity", "City", "", AT(StadiumRecord, City), Target::kCity),
    Ref("NearbyStad", "Nearby Stadium", "", AT(StadiumRecord, NearbyStadium), Target::kStadium),
    Check("Undersoil", "Under-Soil Heating", "", AT(StadiumRecord, Undersoil),
          Checked::kWhenNonZero, 1, 0),
    Check("Covered", "Covered", "", AT(StadiumRecord, Covered), Checked::kWhenNonZero, 1, 0),
};

constexpr Field kCityFields[] = {
    Text("CityName", "Name", "", AT(CityRecord, Name)),
    Ref("CityNation", "Nation", "", AT(CityRecord, Nation), Target::kNation),
    Coordinate("CityLatitude", "Latitude", "", AT(CityRecord, Latitude)),
    Coordinate("CityLongditude", "Longditude", "", AT(CityRecord, Longitude)),
    Number("CityAttraction", "Attraction", "", AT(CityRecord, Attraction), 0, 20),
};

// --- clubs ---------------------------------------------------------------------------------------

constexpr const char* kStatuses[] = {"Professional", "Semi - Pro", "Amature"};
constexpr const char* kMatchDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};

constexpr const char* kClubInfo = "Club Info";
constexpr const char* kClubKit = "Stadium + Kit Info";
constexpr const char* kClubStaff = "Club Staff";
constexpr const char* kClubFavourites = "Favourites + Dislikes";

constexpr Field kClubFields[] = {
    Text("ClubLName", "Long Name", kClubInfo, AT(C, LongName)),
    Text("ClubSName", "Short Name", kClubInfo, AT(C, ShortName)),
    Ref("ClubNation", "Nation", kClubInfo, AT(C, Nation), Target::kNation),
    Ref("ClubDivision", "Division", kClubInfo, AT(C, Division), Target::kCompetition),
    Ref("ClubLDivision", "Last Division", kClubInfo, AT(C, LastDivision), Target::kCompetition),
    // Shown only: no save stores it, and the documented range of 0..0 would turn any stored
    // position into 0.
    ShownOnly(Number("ClubLPosition", "Last Position", kClubInfo, AT(C, LastPosition), 0, 0)),
    Number("ClubCash", "Cash", kClubInfo, AT(C, Cash), 0, 50000000),
    Choice("ClubStatus", "Status", kClubInfo, AT(C, Status), kStatuses),
    Number("ClubReputation", "Reputation", kClubInfo, AT(C, Reputation), 0, 10000),
    Number("ClubTraining", "Training", kClubInfo, AT(C, Training), 0, 20),
    // Which byte a checked box would stand for is unknown: shown only, the byte stays.
    ShownOnly(Check("ClubPLC", "PLC", kClubInfo, AT(C, Plc), Checked::kAboveThirtyTwo, 33, 0)),
    Ref("ClubStadium", "Stadium", kClubKit, AT(C, Stadium), Target::kStadium),
    // Checked stores 0. Unchecked stores 1, and only when the box was checked: an owner byte of
    // any other non-zero value stays as it is.
    Check("ClubOwnStadium", "Own Stadium", kClubKit, AT(C, OwnStadium), Checked::kWhenZero, 0, 1),
    Ref("ClubRStadium", "Reserve Stadium", kClubKit, AT(C, ReserveStadium), Target::kStadium),
    Number("ClubAvgAtt", "Average Attendance", kClubKit, AT(C, AverageAttendance), 0, 5000000),
    Number("ClubMinAtt", "Minimum Attendance", kClubKit, AT(C, MinimumAttendance), 0, 5000000),
    Number("ClubMaxAtt", "Maximum Attendance", kClubKit, AT(C, MaximumAttendance), 0, 5000000),
    Choice("Clubmatchday", "Reserve Match Day", kClubKit, AT(C, ReserveMatchDay), kMatchDays),
    Colour("ClubHomeCl1", "Club Home Colour 1", kClubKit, AT(C, HomeColour1)),
    Colour("ClubHomeCl2", "Club Home Colour 2", kClubKit, AT(C, HomeColour2)),
    Colour("ClubAwayCl1", "Club Away Colour 1", kClubKit, AT(C, AwayColour1)),
    Colour("ClubAwayCl2", "Club Away Colour 2", kClubKit, AT(C, AwayColour2)),
    Colour("ClubThirdCl1", "Club 3rd Colour 1", kClubKit, AT(C, ThirdColour1)),
    Colour("ClubThirdCl2", "Club 3rd Colour 2", kClubKit, AT(C, ThirdColour2)),
    // The squad and the posts change only through transfers and appointments.
    Moved(List("ClubPlayerList", "Players", kClubStaff, AT(C, Players), Target::kPerson)),
    Moved(Ref("ClubChairman", "Chairman", kClubStaff, AT(C, Chairman), Target::kPerson)),
    Moved(Ref("ClubManager", "Manager", kClubStaff, AT(C, Manager), Target::kPerson)),
    Moved(Ref("ClubAManager", "Assistant Manager", kClubStaff, AT(C, AssistantManager),
              Target::kPerson)),
    Moved(List("ClubDirectorList", "Directors", kClubStaff, AT(C, Directors), Target::kPerson)),
    Moved(List("ClubCoachList", "Coaches", kClubStaff, AT(C, Coaches), Target::kPerson)),
    Moved(List("ClubScoutList", "Scouts", kClubStaff, AT(C, Scouts), Target::kPerson)),
    Moved(List("ClubPhysioList", "Physios", kClubStaff, AT(C, Physios), Target::kPerson)),
    List("ClubFavStaff", "Favourite Staff", kClubFavourites, AT(C, FavouriteStaff),
         Target::kPerson),
    List("ClubDisStaff", "Disliked Staff", kClubFavourites, AT(C, DislikedStaff), Target::kPerson),
    // A rival outside club.dat is no rival: it shows "<empty>" and a save stores -1.
    List("ClubRivalList", "Rival Clubs", kClubFavourites, AT(C, RivalClubs), Target::kClub,
         None::kOutsideFile),
};

// --- nations -------------------------------------------------------------------------------------

constexpr const char* kNationInfo = "Nation Info";
constexpr const char* kNationTeam = "National Team Info";

constexpr Field kNationFields[] = {
    Text("NationLName", "Long Name", kNationInfo, AT(N, LongName)),
    Text("NationSName", "Short Name", kNationInfo, AT(N, ShortName)),
    // The whole four bytes are shown; only the first three are ever written.
    Text("Nation3LName", "3 Letter Name", kNationInfo, AT(N, ThreeLetterName), 3),
    Text("NationNameNat", "Name Nationality", kNationInfo, AT(N, NationalityName)),
    Ref("NationContinent", "Continent", kNationInfo, AT(N, Continent), Target::kContinent),
    Language("Nation1Lang", "1st Language", kNationInfo, AT(N, Language1)),
    Language("Nation2Lang", "2nd Language", kNationInfo, AT(N, Language2)),
    Language("Nation3Lang", "3rd Language", kNationInfo, AT(N, Language3)),
    Ref("NationCCity", "Capital City", kNationInfo, AT(N, CapitalCity), Target::kCity),
    // A single byte: a number above 255 would be cut down to its low byte.
    Number("NationSOD", "State Of Development", kNationInfo, AT(N, StateOfDevelopment), 0, 255),
    ShownOnly(Number("NationRegion", "Region", kNationInfo, AT(N, Region), 0, 255)),
    Ref("NationStadium", "National Stadium", kNationTeam, AT(N, NationalStadium), Target::kStadium),
    // 1 is "not a member"; any other stored value shows as a member.
    Check("NationEEC", "EEC", kNationTeam, AT(N, Eec), Checked::kUnlessOne, 2, 1),
    // A single byte, although the form's field allows 1000.
    Number("NationGImp", "Game Importance", kNationTeam, AT(N, GameImportance), 0, 255),
    Number("NationLStandard", "League Standard", kNationTeam, AT(N, LeagueStandard), 0, 20),
    Number("NationReputation", "Reputation", kNationTeam, AT(N, Reputation), 0, 10000),
    Colour("NationHomeC1", "Nation Home Colour 1", kNationTeam, AT(N, HomeColour1)),
    Colour("NationHomeC2", "Nation Home Colour 2", kNationTeam, AT(N, HomeColour2)),
    Colour("NationAwayC1", "Nation Away Colour 1", kNationTeam, AT(N, AwayColour1)),
    Colour("NationAwayC2", "Nation Away Colour 2", kNationTeam, AT(N, AwayColour2)),
    Colour("Nation3C1", "Nation 3rd Colour 1", kNationTeam, AT(N, ThirdColour1)),
    Colour("Nation3C2", "Nation 3rd Colour 2", kNationTeam, AT(N, ThirdColour2)),
    List("NationRivals", "Rival Nations", kNationTeam, AT(N, RivalNations), Target::kNation,
         None::kOutsideFile),
};

// --- persons -------------------------------------------------------------------------------------
// The player page and the staff page show the same person fields under names of their own, and
// give two years ranges of their own: the staff page's year of birth ends at 2000 and its contract
// expiry at 2008, where every other year field of both pages ends at 2003.

constexpr const char* kPlayerInfo = "Player Info";
constexpr const char* kPlayerAttributes1 = "Player Attributes 1";
constexpr const char* kPlayerAttributes2 = "Player Attributes 2";
constexpr const char* kPlayerContract = "Player Contract And Transfer";
constexpr const char* kPlayerFavourites = "Favs and Dislikes";
constexpr const char* kSquads[] = {"First Squad", "Reserve Squad"};
constexpr const char* kFreeTransfer = "Free Transfer";

constexpr Field kPlayerFields[] = {
    Ref("PlayerFirstName", "First Name", kPlayerInfo, AT(S, FirstName), Target::kFirstName),
    Ref("PlayerSecondName", "Second Name", kPlayerInfo, AT(S, SecondName), Target::kSecondName),
    Ref("PlayerCommonName", "NickName", kPlayerInfo, AT(S, CommonName), Target::kCommonName,
        None::kNotPositive),
    Date("PlayerDayOB", "Day of Birth", "PLayerMonthOB", "Month of Birth", kPlayerInfo,
         AT(S, BirthDay), 2),
    Number("PlayerYearOB", "Year Of Birth", kPlayerInfo, AT(S, BirthYear), 0, 2003, 4),
    Ref("PlayerNation", "Nationality", kPlayerInfo, AT(S, Nation), Target::kNation),
    Ref("PlayerSecondNation", "Second Nationality", kPlayerInfo, AT(S, SecondNation),
        Target::kNation),
    // One byte each: 0..255, so that nothing is stored modulo 256.
    Number("PlayerIntCaps", "International Caps", kPlayerInfo, AT(S, InternationalCaps), 0, 255),
    Number("PlayerIntGoals", "International Goals", kPlayerInfo, AT(S, InternationalGoals), 0, 255),
    Number("PlayerValue", "Value", kPlayerInfo, AT(S, Value), 0, 50000000),
    Choice("PlayerSquad", "Squad", kPlayerInfo, AT(S, Squad), kSquads),

    Number("PlayerCurrentABility", "Current Ability", kPlayerAttributes1, AT(P, CurrentAbility), 0,
           200),
    Number("PlayerPotentialAbility", "Potential Ability", kPlayerAttributes1,
           AT(P, PotentialAbility), 0, 200),
    Number("PlayerHomeReputation", "Home Reputation", kPlayerAttributes1, AT(P, HomeReputation), 0,
           200),
    Number("PlayerCurrentReputation", "Current Reputation", kPlayerAttributes1,
           AT(P, CurrentReputation), 0, 200),
    Number("PlayerWorldReputation", "World Reputation", kPlayerAttributes1, AT(P, WorldReputation),
           0, 200),
    Number("PlayerGoalkeeper", "GoalKeeper", kPlayerAttributes1, AT(P, Goalkeeper), 0, 20),
    Number("PlayerSweeper", "Sweeper", kPlayerAttributes1, AT(P, Sweeper), 0, 20),
    Number("PlayerDefender", "Defender", kPlayerAttributes1, AT(P, Defender), 0, 20),
    Number("PlayerDMidfielder", "Defensive Midfielder", kPlayerAttributes1,
           AT(P, DefensiveMidfielder), 0, 20),
    Number("PlayerMidfielder", "Midfielder", kPlayerAttributes1, AT(P, Midfielder), 0, 20),
    Number("PlayerAMidfielder", "Attacking Midfielder", kPlayerAttributes1,
           AT(P, AttackingMidfielder), 0, 20),
    Number("PlayerAttacker", "Attacker", kPlayerAttributes1, AT(P, Attacker), 0, 20),
    Number("PlayerWingBack", "Wing Back", kPlayerAttributes1, AT(P, WingBack), 0, 20),
    Number("PlayerRightSide", "Right Sided", kPlayerAttributes1, AT(P, RightSide), 0, 20),
    Number("PlayerLeftSide", "Left Sided", kPlayerAttributes1, AT(P, LeftSide), 0, 20),
    Number("PlayerCentral", "Central", kPlayerAttributes1, AT(P, Central), 0, 20),
    Number("PlayerFreeRole", "Free Role", kPlayerAttributes1, AT(P, FreeRole), 0, 20),
    Number("PlayerVision", "Vision", kPlayerAttributes1, AT(P, Vision), 0, 20),
    Number("PlayerWorkRate", "Workrate", kPlayerAttributes1, AT(P, WorkRate), 0, 20),
    Number("PlayerAdaptability", "Adaptability", kPlayerAttributes1, AT(S, Adaptability), 0, 20),
    Number("PlayerAmbition", "Ambition", kPlayerAttributes1, AT(S, Ambition), 0, 20),
    Number("PlayerDetermination", "Determination", kPlayerAttributes1, AT(S, Determination), 0, 20),
    Number("PlayerLoyalty", "Loyalty", kPlayerAttributes1, AT(S, Loyalty), 0, 20),
    Number("PlayerPressure", "Pressure", kPlayerAttributes1, AT(S, Pressure), 0, 20),
    Number("PlayerProfessionalism", "Professionalism", kPlayerAttributes1, AT(S, Professionalism),
           0, 20),
    Number("PlayerSportsmanship", "Sportsanship", kPlayerAttributes1, AT(S, Sportsmanship), 0, 20),
    Number("PlayerTemperament", "Temperament", kPlayerAttributes1, AT(S, Temperament), 0, 20),

    Number("PlayerAcceleration", "Acceleration", kPlayerAttributes2, AT(P, Acceleration), 0, 20),
    Number("PlayerAggression", "Aggression", kPlayerAttributes2, AT(P, Aggression), 0, 20),
    Number("PlayerAgility", "Agility", kPlayerAttributes2, AT(P, Agility), 0, 20),
    Number("PlayerAnticipation", "Anticipation", kPlayerAttributes2, AT(P, Anticipation), 0, 20),
    Number("PlayerBalance", "Balance", kPlayerAttributes2, AT(P, Balance), 0, 20),
    Number("PlayerBravery", "Bravery", kPlayerAttributes2, AT(P, Bravery), 0, 20),
    Number("PlayerConsistency", "Consistency", kPlayerAttributes2, AT(P, Consistency), 0, 20),
    Number("PlayerCorners", "Corners", kPlayerAttributes2, AT(P, Corners), 0, 20),
    Number("PlayerCrossing", "Crossing", kPlayerAttributes2, AT(P, Crossing), 0, 20),
    Number("PlayerDecisions", "Decisions", kPlayerAttributes2, AT(P, Decisions), 0, 20),
    Number("PlayerDirtiness", "Dirtiness", kPlayerAttributes2, AT(P, Dirtiness), 0, 20),
    Number("PlayerDribbling", "Dribbling", kPlayerAttributes2, AT(P, Dribbling), 0, 20),
    Number("PlayerFinishing", "Finishing", kPlayerAttributes2, AT(P, Finishing), 0, 20),
    Number("PlayerFlair", "Flair", kPlayerAttributes2, AT(P, Flair), 0, 20),
    Number("PlayerFreeKicks", "Free Kicks", kPlayerAttributes2, AT(P, FreeKicks), 0, 20),
    Number("PlayerHandling", "Handling", kPlayerAttributes2, AT(P, Handling), 0, 20),
    Number("PlayerHeading", "Heading", kPlayerAttributes2, AT(P, Heading), 0, 20),
    Number("PLayerImpMatches", "Important Matches", kPlayerAttributes2, AT(P, ImportantMatches), 0,
           20),
    Number("PlayerInjProneness", "Injury Proneness", kPlayerAttributes2, AT(P, InjuryProneness), 0,
           20),
    Number("PlayerJumping", "Jumping", kPlayerAttributes2, AT(P, Jumping), 0, 20),
    Number("PLayerLeadership", "Leadership", kPlayerAttributes2, AT(P, Leadership), 0, 20),
    Number("PlayerLeftFoot", "Left Foot", kPlayerAttributes2, AT(P, LeftFoot), 0, 20),
    Number("PlayerLongSHots", "Long Shots", kPlayerAttributes2, AT(P, LongShots), 0, 20),
    Number("PlayerMarking", "Marking", kPlayerAttributes2, AT(P, Marking), 0, 20),
    Number("PlayerMovement", "Movement", kPlayerAttributes2, AT(P, Movement), 0, 20),
    Number("PlayerFitness", "Fitness", kPlayerAttributes2, AT(P, NaturalFitness), 0, 20),
    Number("PlayerOneOnOnes", "1 on 1's", kPlayerAttributes2, AT(P, OneOnOnes), 0, 20),
    Number("PLayerPace", "Pace", kPlayerAttributes2, AT(P, Pace), 0, 20),
    Number("PlayerPassing", "Passing", kPlayerAttributes2, AT(P, Passing), 0, 20),
    Number("PlayerPenalties", "Penalties", kPlayerAttributes2, AT(P, Penalties), 0, 20),
    Number("PlayerPositioning", "Positioning", kPlayerAttributes2, AT(P, Positioning), 0, 20),
    Number("PlayerReflexes", "Reflexes", kPlayerAttributes2, AT(P, Reflexes), 0, 20),
    Number("PlayerRightFoot", "Right Foot", kPlayerAttributes2, AT(P, RightFoot), 0, 20),
    Number("PlayerStamina", "Stamina", kPlayerAttributes2, AT(P, Stamina), 0, 20),
    Number("PLayerStrength", "Strength", kPlayerAttributes2, AT(P, Strength), 0, 20),
    Number("PLayerTackling", "Tackling", kPlayerAttributes2, AT(P, Tackling), 0, 20),
    Number("PLayerTeamWork", "Team Work", kPlayerAttributes2, AT(P, Teamwork), 0, 20),
    Number("PLayerTechnique", "Technique", kPlayerAttributes2, AT(P, Technique), 0, 20),
    Number("PLayerThrowins", "Throw Ins", kPlayerAttributes2, AT(P, ThrowIns), 0, 20),
    Number("PLayerVersatility", "Versatility", kPlayerAttributes2, AT(P, Versatility), 0, 20),

    Date("PlayerDJoinedClub", "Day Joined Club", "PlayerMJoinedCLub", "Month Joined Club",
         kPlayerContract, AT(S, JoinedDay)),
    Number("PlayerYJoinedClub", "Year Joined Club", kPlayerContract, AT(S, JoinedYear), 0, 2003),
    Date("PlayerDContractExp", "Day of Contract Expiry", "PlayerMContractExp",
         "Month of Contract Expiry", kPlayerContract, AT(S, ContractDay)),
    Number("PlayerYCOntractExp", "Year of Contract Expiry", kPlayerContract, AT(S, ContractYear), 0,
           2003),
    Number("PlayerWage", "Wages", kPlayerContract, AT(S, Wage), 0, 100000),
    Number("PlayerSquadNumber", "Squad Number", kPlayerContract, AT(P, SquadNumber), 1, 50),
    Moved(Ref("PlayerCurrentClub", "Current Club", kPlayerContract, AT(S, Club), Target::kClub,
              None::kNegative, kFreeTransfer)),

    List("PlayerFavClubs", "Favourite Clubs", kPlayerFavourites, AT(S, FavouriteClubs),
         Target::kClub),
    List("PlayerDisClubs", "Disliked Clubs", kPlayerFavourites, AT(S, DislikedClubs),
         Target::kClub),
    List("PlayerFavStaff", "Favourite Staff", kPlayerFavourites, AT(S, FavouriteStaff),
         Target::kPerson),
    List("PlayerDisStaff", "Disliked Staff", kPlayerFavourites, AT(S, DislikedStaff),
         Target::kPerson),
};

constexpr const char* kStaffInfo = "Staff Info";
constexpr const char* kStaffAttributes1 = "Staff Attributes 1";
constexpr const char* kStaffAttributes2 = "Staff Attrinutes 2";
constexpr const char* kStaffContract = "Staff Contract + Transfer";
constexpr const char* kStaffFavourites = "Favs + Dislikes";

constexpr Field kStaffFields[] = {
    Ref("NonPlayerFirstName", "First Name", kStaffInfo, AT(S, FirstName), Target::kFirstName),
    Ref("NonPlayerSecondName", "Second Name", kStaffInfo, AT(S, SecondName), Target::kSecondName),
    Ref("NonPlayerCommonName", "Common Name", kStaffInfo, AT(S, CommonName), Target::kCommonName,
        None::kNotPositive),
    Date("NonPlayerDayOB", "Day Of Birth", "NonPlayerMonthOB", "Month Of Birth", kStaffInfo,
         AT(S, BirthDay)),
    Number("NonPlayerYearOB", "Year Of Birth", kStaffInfo, AT(S, BirthYear), 0, 2000),
    Ref("NonPlayerNation", "Nationality", kStaffInfo, AT(S, Nation), Target::kNation),
    Ref("NonPlayerSecondNation", "Second Nationality", kStaffInfo, AT(S, SecondNation),
        Target::kNation),
    Number("NonPlayerIntCaps", "International Caps", kStaffInfo, AT(S, InternationalCaps), 0, 255),
    Number("NonPlayerIntGoals", "International Goals", kStaffInfo, AT(S, InternationalGoals), 0,
           255),

    Number("NonPlayerAdaptability", "Adaptability", kStaffAttributes1, AT(S, Adaptability), 0, 20,
           2),
    Number("NonPlayerAmbition", "Ambition", kStaffAttributes1, AT(S, Ambition), 0, 20, 2),
    Number("NonPlayerDetermination", "Determination", kStaffAttributes1, AT(S, Determination), 0,
           20, 2),
    Number("NonPlayerLoyality", "Loyality", kStaffAttributes1, AT(S, Loyalty), 0, 20, 2),
    Number("NonPlayerPressure", "Pressure", kStaffAttributes1, AT(S, Pressure), 0, 20, 2),
    Number("NonPlayerProfessionalism", "Professionalism", kStaffAttributes1, AT(S, Professionalism),
           0, 20, 2),
    Number("NonPlayerSportsmanship", "Sportsmanship", kStaffAttributes1, AT(S, Sportsmanship), 0,
           20, 2),
    Number("NonPlayerTemperament", "Temperament", kStaffAttributes1, AT(S, Temperament), 0, 20, 2),
    Number("NonPlayerAttacking", "Attackingness", kStaffAttributes1, AT(NP, Attacking), 0, 20, 2),
    Number("NonPlayerBusiness", "Business", kStaffAttributes1, AT(NP, Business), 0, 20, 2),
    Number("NonPlayerInterference", "Interference", kStaffAttributes1, AT(NP, Interference), 0, 20,
           2),
    Number("NonPlayerCoachingPlayers", "Coaching Players", kStaffAttributes1,
           AT(NP, CoachingPlayers), 0, 20, 2),
    Number("NonPlayerCoachingGoalKeepers", "Coaching Goalies", kStaffAttributes1,
           AT(NP, CoachingGoalkeepers), 0, 20, 2),
    Number("NonPlayerCoachingTechnique", "Coaching Skills", kStaffAttributes1,
           AT(NP, CoachingTechnique), 0, 20, 2),
    Number("NonPlayerDirectness", "Directness", kStaffAttributes1, AT(NP, Directness), 0, 20, 2),
    Number("NonPlayerDiscipline", "Discipline", kStaffAttributes1, AT(NP, Discipline), 0, 20, 2),
    Number("NonPlayerCoachingFreeRoles", "Coaching Free Roles", kStaffAttributes1,
           AT(NP, CoachingFreeRoles), 0, 20, 2),
    Number("NonPlayerJudgement", "Judgement", kStaffAttributes1, AT(NP, Judgement), 0, 20, 2),
    Number("NonPlayerMarking", "Marking", kStaffAttributes1, AT(NP, Marking), 0, 20, 2),
    Number("NonPlayerOffside", "Offside", kStaffAttributes1, AT(NP, Offside), 0, 20, 2),
    Number("NonPlayerPatience", "Patience", kStaffAttributes1, AT(NP, Patience), 0, 20, 2),
    Number("NonPlayerPhysiotherapy", "Physiotherapy", kStaffAttributes1, AT(NP, Physiotherapy), 0,
           20, 2),
    Number("NonPlayerJudgingPotential", "Judging Potential", kStaffAttributes1,
           AT(NP, JudgingPotential), 0, 20, 2),
    Number("NonPlayerManHandling", "Man Handling", kStaffAttributes1, AT(NP, ManHandling), 0, 20,
           2),
    Number("NonPlayerPressing", "Pressing", kStaffAttributes1, AT(NP, Pressing), 0, 20, 2),
    Number("NonPlayerResources", "Resources", kStaffAttributes1, AT(NP, Resources), 0, 20, 2),
    Number("NonPlayerTactics", "Tactics", kStaffAttributes1, AT(NP, Tactics), 0, 20, 2),
    Number("NonPlayerYoungsters", "Youngsters", kStaffAttributes1, AT(NP, Youngsters), 0, 20, 2),

    Number("NonPlayerCurrentAbility", "Current Ability", kStaffAttributes2, AT(NP, CurrentAbility),
           0, 200),
    Number("NonPlayerPotentialAbility", "Potential Ability", kStaffAttributes2,
           AT(NP, PotentialAbility), 0, 200),
    Number("NonPlayerHomeReputation", "Home Reputation", kStaffAttributes2, AT(NP, HomeReputation),
           0, 200),
    Number("NonPlayerCurrentReputation", "Current Reputation", kStaffAttributes2,
           AT(NP, CurrentReputation), 0, 200),
    Number("NonPlayerWorldReputation", "World Reputation", kStaffAttributes2,
           AT(NP, WorldReputation), 0, 200),
    // Four bytes each here, although their range is that of the player's one-byte ratings.
    Number("NonPlayerGoalkeeper", "GoalKeeper", kStaffAttributes2, AT(NP, Goalkeeper), 0, 20),
    Number("NonPlayerSweeper", "Sweeper", kStaffAttributes2, AT(NP, Sweeper), 0, 20),
    Number("NonPlayerDefender", "Defender", kStaffAttributes2, AT(NP, Defender), 0, 20),
    Number("NonPlayerDefensiveMidfielder", "Defensive Midfielder", kStaffAttributes2,
           AT(NP, DefensiveMidfielder), 0, 20),
    Number("NonPlayerMidfielder", "Midfielder", kStaffAttributes2, AT(NP, Midfielder), 0, 20),
    Number("NonPlayerAttackingMidfielder", "Attacking Midfielder", kStaffAttributes2,
           AT(NP, AttackingMidfielder), 0, 20),
    Number("NonPlayerAttacker", "Attacker", kStaffAttributes2, AT(NP, Attacker), 0, 20),
    Number("NonPlayerWingBack", "Wingback", kStaffAttributes2, AT(NP, WingBack), 0, 20),

    Number("NonPlayerWage", "Wage", kStaffContract, AT(S, Wage), 0, 100000),
    Date("NonPlayerDayContractExp", "Day Contract Expires", "NonPlayerMonthContractExp",
         "Month Contract Expires", kStaffContract, AT(S, ContractDay)),
    Number("NonPlayerYearContractExp", "Year Contract Expires", kStaffContract, AT(S, ContractYear),
           0, 2008),
    Date("NonPlayerDayJoinedClub", "Day Joined Club", "NonPlayerMonthJoinedClub",
         "Month Joined Club", kStaffContract, AT(S, JoinedDay)),
    Number("NonPlayerYearJoinedClub", "Year Joined Club", kStaffContract, AT(S, JoinedYear), 0,
           2003),
    Moved(Ref("NonPlayerCurrentNation", "Current Nation", kStaffContract, AT(S, NationEmployer),
              Target::kNation)),
    Moved(Ref("NonPlayerCurrentClub", "Current Club", kStaffContract, AT(S, Club), Target::kClub,
              None::kNegative, kFreeTransfer)),

    List("NonPlayerFavStaff", "Favourite Staff", kStaffFavourites, AT(S, FavouriteStaff),
         Target::kPerson),
    List("NonPlayerFavClubs", "Favourite Clubs", kStaffFavourites, AT(S, FavouriteClubs),
         Target::kClub),
    List("NonPlayerDisClubs", "Disliked Clubs", kStaffFavourites, AT(S, DislikedClubs),
         Target::kClub),
    List("NonPlayerDisStaff", "Disliked Staff", kStaffFavourites, AT(S, DislikedStaff),
         Target::kPerson),
};

// --- the tables no page edits: only their names
// ----------------------------------------------------

constexpr Field kCompetitionFields[] = {Text("Name", "Name", "", AT(ClubCompRecord, Name))};
constexpr Field kColourFields[] = {Text("Name", "Name", "", AT(ColourRecord, Name))};
constexpr Field kContinentFields[] = {Text("Name", "Name", "", AT(ContinentRecord, Name))};
constexpr Field kNameFields[] = {Text("Name", "Name", "", AT(NamesRecord, Name))};

#undef AT

constexpr Str kStadiumSearch[] = {StadiumRecord::Name};
constexpr Str kCitySearch[] = {CityRecord::Name};
constexpr Str kClubSearch[] = {ClubRecord::LongName, ClubRecord::ShortName};
constexpr Str kNationSearch[] = {NationRecord::LongName, NationRecord::ShortName};

// The file a reference of that target points into; an empty entry for none and the languages.
constexpr DataFileInfo FileFor(Target target) {
    for (const DataFileInfo& f : kDataFiles)
        if (f.target == target) return f;
    return {"", 0, target, {}};
}

consteval Table MakeTable(TableId id, std::string_view name, std::string_view what, Target target,
                          std::span<const Str> searchedBy, std::span<const Field> fields) {
    const DataFileInfo file = FileFor(target);
    return {id, name, what, target, file.name, file.recordSize, file.naming, searchedBy, fields};
}

// In the order of TableId.
constexpr std::array<Table, kTableCount> kTables = {
    MakeTable(TableId::kStadiums, "stadiums", "stadium", Target::kStadium, kStadiumSearch,
              kStadiumFields),
    MakeTable(TableId::kCities, "cities", "city", Target::kCity, kCitySearch, kCityFields),
    MakeTable(TableId::kClubs, "clubs", "club", Target::kClub, kClubSearch, kClubFields),
    MakeTable(TableId::kNations, "nations", "nation", Target::kNation, kNationSearch,
              kNationFields),
    MakeTable(TableId::kPlayers, "players", "player", Target::kPerson, {}, kPlayerFields),
    MakeTable(TableId::kStaff, "staff", "staff member", Target::kPerson, {}, kStaffFields),
    MakeTable(TableId::kCompetitions, "competitions", "competition", Target::kCompetition, {},
              kCompetitionFields),
    MakeTable(TableId::kColours, "colours", "colour", Target::kColour, {}, kColourFields),
    MakeTable(TableId::kContinents, "continents", "continent", Target::kContinent, {},
              kContinentFields),
    MakeTable(TableId::kFirstNames, "first-names", "first name", Target::kFirstName, {},
              kNameFields),
    MakeTable(TableId::kSecondNames, "second-names", "second name", Target::kSecondName, {},
              kNameFields),
    MakeTable(TableId::kCommonNames, "common-names", "common name", Target::kCommonName, {},
              kNameFields),
};

// By target: the file a reference of that target points into.
constexpr auto kTargetFiles = [] {
    std::array<DataFileInfo, static_cast<std::size_t>(Target::kLanguage) + 1> out{};
    for (std::size_t t = 0; t < out.size(); ++t) out[t] = FileFor(static_cast<Target>(t));
    return out;
}();

// Every field lies inside its record, and every name is a table's only field of that name.
consteval bool FieldsFit() {
    for (const Table& t : kTables) {
        for (const Field& f : t.fields) {
            const int size = f.part == Part::kPlayer      ? static_cast<int>(PlayerRecord::kSize)
                             : f.part == Part::kNonPlayer ? static_cast<int>(NonPlayerRecord::kSize)
                                                          : t.recordSize;
            if (f.offset + f.width * f.count > size) return false;
            for (const Field& g : t.fields)
                if (&f != &g && std::string_view(f.name) == g.name) return false;
        }
    }
    return true;
}
static_assert(FieldsFit());

}  // namespace

std::int64_t Field::Read(const std::uint8_t* rec, std::size_t slot) const {
    const std::size_t at = offset + slot * width;
    switch (width) {
        case 4:
            return isSigned ? std::int64_t{I32{at}.Read(rec)}
                            : std::int64_t{Scalar<std::uint32_t>{at}.Read(rec)};
        case 2:
            return isSigned ? std::int64_t{I16{at}.Read(rec)}
                            : std::int64_t{Scalar<std::uint16_t>{at}.Read(rec)};
        default:
            return isSigned ? std::int64_t{Scalar<std::int8_t>{at}.Read(rec)}
                            : std::int64_t{U8{at}.Read(rec)};
    }
}

void Field::Write(std::uint8_t* rec, std::int64_t v, std::size_t slot) const {
    const std::size_t at = offset + slot * width;
    switch (width) {
        case 4:
            I32{at}.Write(rec, static_cast<std::int32_t>(v));
            break;
        case 2:
            I16{at}.Write(rec, static_cast<std::int16_t>(v));
            break;
        default:
            U8{at}.Write(rec, static_cast<std::uint8_t>(v));
            break;
    }
}

std::string Field::ReadText(const std::uint8_t* rec) const {
    return Str{offset, width}.Read(rec);
}

void Field::WriteText(std::uint8_t* rec, std::string_view cp1252) const {
    Str{offset, static_cast<std::size_t>(max)}.Write(rec, cp1252);
}

double Field::ReadDouble(const std::uint8_t* rec) const {
    return F64{offset}.Read(rec);
}

void Field::WriteDouble(std::uint8_t* rec, double v) const {
    F64{offset}.Write(rec, v);
}

bool Field::IsChecked(std::int64_t v) const {
    switch (checked) {
        case Checked::kWhenNonZero:
            return v != 0;
        case Checked::kWhenZero:
            return v == 0;
        case Checked::kUnlessOne:
            return v != 1;
        case Checked::kAboveThirtyTwo:
            return v > 32;
    }
    return false;
}

const Field* Table::Find(std::string_view name) const {
    for (const Field& f : fields)
        if (name == f.name) return &f;
    return nullptr;
}

const Field* Table::FindMember(Part part, std::string_view member) const {
    for (const Field& f : fields)
        if (f.part == part && member == f.member) return &f;
    return nullptr;
}

std::span<const Table> Tables() {
    return kTables;
}

const Table& TableOf(TableId id) {
    return kTables[static_cast<std::size_t>(id)];
}

const Table* FindTable(std::string_view name) {
    for (const Table& t : kTables)
        if (t.name == name) return &t;
    return nullptr;
}

std::string TableNames() {
    std::string out;
    for (const Table& t : kTables) {
        if (!out.empty()) out += ' ';
        out += t.name;
    }
    return out;
}

const Field* FindAnyField(std::string_view name) {
    for (const Table& t : kTables)
        if (const Field* f = t.Find(name)) return f;
    return nullptr;
}

const DataFileInfo& InfoOf(Target t) {
    return kTargetFiles[static_cast<std::size_t>(t)];
}

std::string_view FileNameOf(Target t) {
    const std::string_view file = InfoOf(t).name;
    return file.empty() ? file : file.substr(1);
}

std::optional<std::int64_t> BoundIn(TableId table, const Field& f, const std::uint8_t* rec) {
    // Never more seats than places.
    if (table == TableId::kStadiums && f.part == Part::kRecord &&
        f.offset == StadiumRecord::Seating.offset)
        return StadiumRecord::Capacity.Read(rec);
    return std::nullopt;
}

void ApplyRecordRules(TableId table, std::uint8_t* rec) {
    for (const Field& f : TableOf(table).fields)
        if (const auto bound = BoundIn(table, f, rec); bound && f.Read(rec) > *bound)
            f.Write(rec, *bound);
}

Target TargetOf(TableId id) {
    return TableOf(id).target;
}

}  // namespace vh::db
