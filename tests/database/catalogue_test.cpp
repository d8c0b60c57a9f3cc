// The catalogue against the documented layouts, typed here independently: for every table and
// each record of its rows, the bytes that no field of that table may touch (the bytes every save
// keeps, and the fields its page does not show), with every other byte covered by exactly one
// field. A field at a wrong offset or width, two fields over one value, or a field left out all
// break the tiling. A few fields of each kind are then checked against the documents by name.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/records/catalogue.h"

namespace vh::db {
namespace {

struct Untouched {
    TableId table;
    Part part;
    int size;
    std::vector<std::pair<int, int>> ranges;  // inclusive
};

const std::vector<Untouched> kLayouts = {
    {TableId::kStadiums, Part::kRecord, 78, {{0, 3}, {55, 55}, {68, 71}}},
    {TableId::kCities, Part::kRecord, 56, {{0, 3}, {30, 30}, {52, 55}}},
    {TableId::kClubs, Part::kRecord, 581, {{0, 3}, {55, 55}, {82, 82}, {96, 99}, {483, 580}}},
    {TableId::kNations,
     Part::kRecord,
     290,
     {{0, 3}, {55, 55}, {82, 82}, {118, 118}, {134, 141}, {168, 271}, {284, 289}}},
    // The player page shows no nation post, club job or block index.
    {TableId::kPlayers,
     Part::kRecord,
     157,
     {{0, 3}, {20, 25}, {36, 56}, {61, 61}, {66, 69}, {74, 77}, {95, 96}, {145, 156}}},
    {TableId::kPlayers, Part::kPlayer, 70, {{0, 3}, {69, 69}}},
    // The staff page shows the national side but not the value or the squad.
    {TableId::kStaff,
     Part::kRecord,
     157,
     {{0, 3}, {20, 25}, {40, 56}, {61, 61}, {66, 69}, {74, 77}, {82, 85}, {94, 96}, {145, 156}}},
    {TableId::kStaff, Part::kNonPlayer, 68, {{0, 3}, {27, 27}, {67, 67}}},
    {TableId::kCompetitions, Part::kRecord, 107, {{0, 3}, {55, 106}}},
    {TableId::kColours, Part::kRecord, 58, {{0, 3}, {55, 57}}},
    {TableId::kContinents, Part::kRecord, 198, {{0, 3}, {30, 197}}},
    {TableId::kFirstNames, Part::kRecord, 60, {{51, 59}}},
    {TableId::kSecondNames, Part::kRecord, 60, {{51, 59}}},
    {TableId::kCommonNames, Part::kRecord, 60, {{51, 59}}},
};

TEST(Catalogue, FieldsTileTheDocumentedLayouts) {
    for (const Untouched& layout : kLayouts) {
        const Table& t = TableOf(layout.table);
        SCOPED_TRACE(std::string(t.name) + " part " + std::to_string(int(layout.part)));
        if (layout.part == Part::kRecord) {
            EXPECT_EQ(t.recordSize, layout.size);
        }
        std::vector<int> cover(static_cast<std::size_t>(layout.size), 0);
        for (const Field& f : t.fields) {
            if (f.part != layout.part) continue;
            for (int b = f.offset; b < f.offset + f.width * f.count; ++b) {
                ASSERT_LT(b, layout.size) << f.name;
                ++cover[static_cast<std::size_t>(b)];
            }
        }
        std::vector<bool> kept(cover.size(), false);
        for (auto [from, to] : layout.ranges)
            for (int b = from; b <= to; ++b) kept[static_cast<std::size_t>(b)] = true;
        for (std::size_t b = 0; b < cover.size(); ++b)
            EXPECT_EQ(cover[b], kept[b] ? 0 : 1) << "byte " << b;
    }
}

// The files a load opens, in its order, each with its record size and the name field that
// references into it are shown and found by.
TEST(Catalogue, FilesAndTheirNameFieldsAsDocumented) {
    struct Want {
        std::string_view file;
        int size;
        Target target;
        std::size_t nameOffset, nameWidth, idOffset;
    };
    const Want want[] = {
        {"\\stadium.dat", 78, Target::kStadium, 4, 51, 0},
        {"\\city.dat", 56, Target::kCity, 4, 26, 0},
        {"\\club.dat", 581, Target::kClub, 56, 26, 0},
        {"\\club_comp.dat", 107, Target::kCompetition, 4, 51, 0},
        {"\\nation.dat", 290, Target::kNation, 56, 26, 0},
        {"\\staff.dat", 157, Target::kPerson, 0, 0, 0},  // by the person's label
        {"\\first_names.dat", 60, Target::kFirstName, 0, 51, 51},
        {"\\second_names.dat", 60, Target::kSecondName, 0, 51, 51},
        {"\\common_names.dat", 60, Target::kCommonName, 0, 51, 51},
        {"\\colour.dat", 58, Target::kColour, 4, 51, 0},
        {"\\continent.dat", 198, Target::kContinent, 4, 26, 0},
    };
    ASSERT_EQ(kDataFiles.size(), std::size(want));
    for (std::size_t i = 0; i < kDataFiles.size(); ++i) {
        const DataFileInfo& f = kDataFiles[i];
        const Want& w = want[i];
        SCOPED_TRACE(std::string(w.file));
        EXPECT_EQ(f.name, w.file);
        EXPECT_EQ(f.recordSize, w.size);
        EXPECT_EQ(f.target, w.target);
        EXPECT_EQ(f.naming.recordSize, w.size);
        EXPECT_EQ(f.naming.nameOffset, w.nameOffset);
        EXPECT_EQ(f.naming.nameWidth, w.nameWidth);
        EXPECT_EQ(f.naming.idOffset, w.idOffset);
        EXPECT_EQ(InfoOf(w.target).recordSize, w.size);
        EXPECT_EQ(FileNameOf(w.target), w.file.substr(1));
    }
    for (Target none : {Target::kNone, Target::kLanguage}) EXPECT_EQ(FileNameOf(none), "");
}

TEST(Catalogue, FieldsOfEachKindAsDocumented) {
    struct Expect {
        TableId table;
        const char* name;
        Part part;
        int offset;
        Kind kind;
        int min, max;  // a number's range; a text's characters written
        Target target;
    };
    const Expect cases[] = {
        {TableId::kStadiums, "StadCap", Part::kRecord, 60, Kind::kNumber, 0, 500000, Target::kNone},
        {TableId::kStadiums, "NearbyStad", Part::kRecord, 72, Kind::kReference, 0, 0,
         Target::kStadium},
        {TableId::kCities, "CityLongditude", Part::kRecord, 35, Kind::kCoordinate, 0, 0,
         Target::kNone},
        {TableId::kClubs, "ClubCash", Part::kRecord, 101, Kind::kNumber, 0, 50000000,
         Target::kNone},
        {TableId::kClubs, "ClubSName", Part::kRecord, 56, Kind::kText, 0, 26, Target::kNone},
        {TableId::kClubs, "ClubDivision", Part::kRecord, 87, Kind::kReference, 0, 0,
         Target::kCompetition},
        {TableId::kClubs, "ClubAwayCl2", Part::kRecord, 143, Kind::kReference, 0, 0,
         Target::kColour},
        {TableId::kClubs, "ClubScoutList", Part::kRecord, 435, Kind::kList, 0, 0, Target::kPerson},
        {TableId::kNations, "Nation3LName", Part::kRecord, 83, Kind::kText, 0, 3, Target::kNone},
        {TableId::kNations, "Nation2Lang", Part::kRecord, 120, Kind::kReference, 0, 0,
         Target::kLanguage},
        {TableId::kNations, "NationEEC", Part::kRecord, 127, Kind::kCheck, 0, 0, Target::kNone},
        {TableId::kPlayers, "PLayerPace", Part::kPlayer, 54, Kind::kNumber, 0, 20, Target::kNone},
        {TableId::kPlayers, "PlayerFitness", Part::kPlayer, 52, Kind::kNumber, 0, 20,
         Target::kNone},
        {TableId::kPlayers, "PlayerSquadNumber", Part::kPlayer, 4, Kind::kNumber, 1, 50,
         Target::kNone},
        {TableId::kPlayers, "PlayerDayOB", Part::kRecord, 16, Kind::kDate, 0, 31, Target::kNone},
        {TableId::kPlayers, "PlayerYearOB", Part::kRecord, 18, Kind::kNumber, 0, 2003,
         Target::kNone},
        {TableId::kPlayers, "PlayerSquad", Part::kRecord, 94, Kind::kChoice, 1, 2, Target::kNone},
        {TableId::kPlayers, "PlayerCommonName", Part::kRecord, 12, Kind::kReference, 0, 0,
         Target::kCommonName},
        {TableId::kStaff, "NonPlayerYearOB", Part::kRecord, 18, Kind::kNumber, 0, 2000,
         Target::kNone},
        {TableId::kStaff, "NonPlayerYearContractExp", Part::kRecord, 72, Kind::kNumber, 0, 2008,
         Target::kNone},
        {TableId::kStaff, "NonPlayerLoyality", Part::kRecord, 89, Kind::kNumber, 0, 20,
         Target::kNone},
        {TableId::kStaff, "NonPlayerWingBack", Part::kNonPlayer, 63, Kind::kNumber, 0, 20,
         Target::kNone},
        {TableId::kStaff, "NonPlayerCurrentNation", Part::kRecord, 36, Kind::kReference, 0, 0,
         Target::kNation},
        {TableId::kStaff, "NonPlayerDisClubs", Part::kRecord, 109, Kind::kList, 0, 0,
         Target::kClub},
    };
    for (const Expect& e : cases) {
        const Field* f = TableOf(e.table).Find(e.name);
        ASSERT_NE(f, nullptr) << e.name;
        EXPECT_EQ(f->part, e.part) << e.name;
        EXPECT_EQ(f->offset, e.offset) << e.name;
        EXPECT_EQ(f->kind, e.kind) << e.name;
        EXPECT_EQ(f->target, e.target) << e.name;
        if (e.kind == Kind::kNumber || e.kind == Kind::kChoice || e.kind == Kind::kText ||
            e.kind == Kind::kDate) {
            EXPECT_EQ(f->min, e.min) << e.name;
            EXPECT_EQ(f->max, e.max) << e.name;
        }
    }
    // What none is, per field: a common name of 0, a rival outside the file, any negative.
    const Field& common = *TableOf(TableId::kStaff).Find("NonPlayerCommonName");
    const Field& rivals = *TableOf(TableId::kClubs).Find("ClubRivalList");
    const Field& nation = *TableOf(TableId::kClubs).Find("ClubNation");
    EXPECT_TRUE(common.IsNone(0, 10));
    EXPECT_FALSE(nation.IsNone(0, 10));
    EXPECT_TRUE(nation.IsNone(-5, 10));
    EXPECT_FALSE(nation.IsNone(10, 10));
    EXPECT_TRUE(rivals.IsNone(10, 10));
}

}  // namespace
}  // namespace vh::db
