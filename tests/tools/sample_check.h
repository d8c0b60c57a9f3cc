// Reads a generated data directory back through the database layer and checks it: the database
// checker for consistency (CheckSampleDirectory), the generator's own layout and value promises
// (CheckSampleWorld) and the facts its summary promises (CheckSampleFacts).
// Shared by the small-size tests and the full-size slow test. Problems come back as text.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "database/model/blocks.h"
#include "database/model/check.h"
#include "database/model/squad.h"
#include "database/records/data_def.h"
#include "database/records/person.h"
#include "database/records/record_file.h"
#include "tools/sample.h"

namespace vh::test {

struct SampleWorld {
    std::vector<db::NamesRecord> firstNames, secondNames, commonNames;
    std::vector<db::StadiumRecord> stadiums;
    std::vector<db::CityRecord> cities;
    std::vector<db::ClubRecord> clubs;
    std::vector<db::ClubCompRecord> comps;
    std::vector<db::ColourRecord> colours;
    std::vector<db::NationRecord> nations;
    std::vector<db::ContinentRecord> continents;
    std::vector<db::StaffRecord> persons;
    std::vector<db::PlayerRecord> players;
    std::vector<db::NonPlayerRecord> nonPlayers;
    db::BlockPlace playerBlock, nonPlayerBlock;  // as the editor finds them through index.dat
    std::int64_t staffBytes = 0;
    std::vector<std::string> oddSizes;  // files that are not whole records
};

// Records from byte `from` up to byte `to` (-1: the end) of a file, read with record size 1 the
// way the block code reads staff.dat.
template <class R>
std::vector<R> ReadRecords(const std::string& pathText, std::int64_t from = 0,
                           std::int64_t to = -1) {
    db::RecordFile f;
    f.Bind(pathText);
    f.Reset(1);
    if (to < 0 || to > f.RecordCount()) to = f.RecordCount();
    std::vector<R> out(static_cast<std::size_t>(std::max<std::int64_t>(0, to - from) / R::kSize));
    f.Seek(from);
    if (!out.empty()) f.Read(out.data(), static_cast<std::int64_t>(out.size() * R::kSize));
    f.Close();
    return out;
}

// Throws EInOutError when a file is missing or unreadable. Leaves index2.dat behind (the editor's
// own block lookup writes it).
inline SampleWorld ReadSampleWorld(const std::string& dir) {
    SampleWorld w;
    auto path = [&](const char* name) { return dir + "\\" + name; };
    auto whole = [&]<class R>(const char* name, std::vector<R>& out) {
        out = ReadRecords<R>(path(name));
        if (std::filesystem::file_size(std::filesystem::path(dir) / name) % R::kSize != 0)
            w.oddSizes.push_back(name);
    };
    whole("first_names.dat", w.firstNames);
    whole("second_names.dat", w.secondNames);
    whole("common_names.dat", w.commonNames);
    whole("stadium.dat", w.stadiums);
    whole("city.dat", w.cities);
    whole("club.dat", w.clubs);
    whole("club_comp.dat", w.comps);
    whole("colour.dat", w.colours);
    whole("nation.dat", w.nations);
    whole("continent.dat", w.continents);

    db::ScratchFiles scratch;
    w.playerBlock = db::FindBlock(dir, db::kPlayerBlockType, scratch);
    w.nonPlayerBlock = db::FindBlock(dir, db::kNonPlayerBlockType, scratch);
    w.persons = ReadRecords<db::StaffRecord>(path("staff.dat"), 0, db::PersonRecordsEnd(dir));
    w.players = ReadRecords<db::PlayerRecord>(path("staff.dat"), w.playerBlock.blockOffset,
                                              w.playerBlock.blockEnd);
    w.nonPlayers = ReadRecords<db::NonPlayerRecord>(path("staff.dat"), w.nonPlayerBlock.blockOffset,
                                                    w.nonPlayerBlock.blockEnd);
    w.staffBytes = static_cast<std::int64_t>(
        std::filesystem::file_size(std::filesystem::path(dir) / "staff.dat"));
    return w;
}

class Problems {
  public:
    void Add(std::string p) {
        if (list_.size() < 40) list_.push_back(std::move(p));
        ++count_;
    }
    void Expect(bool ok, const std::string& what) {
        if (!ok) Add(what);
    }
    void Range(const char* file, std::size_t rec, const char* field, double v, double lo,
               double hi) {
        if (v < lo || v > hi)
            Add(std::string(file) + " " + std::to_string(rec) + " " + field + " = " +
                std::to_string(v) + ", not in " + std::to_string(lo) + ".." + std::to_string(hi));
    }
    // -1 or a record number below `count` (or -1 not allowed).
    void Ref(const char* file, std::size_t rec, const char* field, std::int32_t v,
             std::size_t count, bool noneAllowed = true) {
        const bool ok = (v == -1 && noneAllowed) || (v >= 0 && static_cast<std::size_t>(v) < count);
        if (!ok)
            Add(std::string(file) + " " + std::to_string(rec) + " " + field + " = " +
                std::to_string(v) + ", not a record of " + std::to_string(count));
    }
    std::vector<std::string> Take() {
        if (count_ > list_.size())
            list_.push_back("... " + std::to_string(count_ - list_.size()) + " more");
        return std::move(list_);
    }

  private:
    std::vector<std::string> list_;
    std::size_t count_ = 0;
};

// The data directory as the database checker sees it: every finding, warnings included. A
// consistent sample gives nothing.
inline std::vector<std::string> CheckSampleDirectory(const std::string& dir) {
    Problems p;
    const db::CheckReport report = db::CheckDataDirectory(dir);
    for (const db::Finding& f : report.findings) {
        p.Add(std::string(db::SeverityName(f.severity)) + " " + f.file + " " +
              std::to_string(f.record) + " " + f.field + " = " + f.value + ": " + f.message);
    }
    return p.Take();
}

// What the generator promises beyond consistency: how it lays out staff.dat, one owner per block
// record, and values inside the ranges of the pages that show them. Consistency itself (Ids,
// references, squads and posts, blocks, names) is the database checker's: CheckSampleDirectory.
inline std::vector<std::string> CheckSampleWorld(const SampleWorld& w) {
    using namespace db;
    Problems p;
    for (const auto& f : w.oddSizes) p.Add(f + " is not a whole number of records");

    // staff.dat: persons, then the player block, then the non-player block, nothing else.
    const std::int64_t personEnd = static_cast<std::int64_t>(w.persons.size()) * 157;
    p.Expect(w.playerBlock.blockOffset == personEnd,
             "the player block does not follow the persons");
    p.Expect(w.playerBlock.blockEnd == w.nonPlayerBlock.blockOffset &&
                 w.nonPlayerBlock.blockOffset ==
                     personEnd + static_cast<std::int64_t>(w.players.size()) * 70,
             "the non-player block does not follow the player block");
    p.Expect(w.nonPlayerBlock.blockEnd == w.staffBytes &&
                 w.staffBytes == w.nonPlayerBlock.blockOffset +
                                     static_cast<std::int64_t>(w.nonPlayers.size()) * 68,
             "staff.dat does not end with the non-player block");
    for (const auto* names : {&w.firstNames, &w.secondNames, &w.commonNames})
        p.Expect(!names->empty() && !names->front().Get(NamesRecord::Name).empty(),
                 "a names file has no name in record 0");

    for (std::size_t i = 0; i < w.stadiums.size(); ++i) {
        const auto& s = w.stadiums[i];
        p.Range("stadium.dat", i, "Covered", s.Get(StadiumRecord::Covered), 0, 1);
        p.Range("stadium.dat", i, "Undersoil", s.Get(StadiumRecord::Undersoil), 0, 1);
    }
    for (std::size_t i = 0; i < w.cities.size(); ++i) {
        const auto& c = w.cities[i];
        p.Range("city.dat", i, "Attraction", c.Get(CityRecord::Attraction), 0, 20);
        p.Range("city.dat", i, "Longitude", c.Get(CityRecord::Longitude), -180, 180);
        p.Range("city.dat", i, "Latitude", c.Get(CityRecord::Latitude), -90, 90);
        for (double v : {c.Get(CityRecord::Longitude), c.Get(CityRecord::Latitude)})
            p.Expect(std::abs(v * 10000 - std::round(v * 10000)) < 1e-6,
                     "city.dat " + std::to_string(i) + " has more than four decimals");
    }
    for (std::size_t i = 0; i < w.nations.size(); ++i) {
        const auto& n = w.nations[i];
        const char* f = "nation.dat";
        for (I32 c :
             {NationRecord::HomeColour1, NationRecord::HomeColour2, NationRecord::AwayColour1,
              NationRecord::AwayColour2, NationRecord::ThirdColour1, NationRecord::ThirdColour2})
            p.Ref(f, i, "colour", n.Get(c), w.colours.size(), false);
        p.Range(f, i, "Eec", n.Get(NationRecord::Eec), 1, 2);
        p.Range(f, i, "LeagueStandard", n.Get(NationRecord::LeagueStandard), 0, 20);
        p.Range(f, i, "Reputation", n.Get(NationRecord::Reputation), 0, 10000);
    }
    for (std::size_t i = 0; i < w.clubs.size(); ++i) {
        const auto& c = w.clubs[i];
        const char* f = "club.dat";
        for (I32 col :
             {ClubRecord::HomeColour1, ClubRecord::HomeColour2, ClubRecord::AwayColour1,
              ClubRecord::AwayColour2, ClubRecord::ThirdColour1, ClubRecord::ThirdColour2})
            p.Ref(f, i, "colour", c.Get(col), w.colours.size(), false);
        p.Range(f, i, "LastPosition", c.Get(ClubRecord::LastPosition), 0, 0);
        p.Range(f, i, "Status", c.Get(ClubRecord::Status), 1, 3);
        p.Range(f, i, "Cash", c.Get(ClubRecord::Cash), 0, 50000000);
        p.Range(f, i, "ReserveMatchDay", c.Get(ClubRecord::ReserveMatchDay), 1, 7);
        for (I32 a : {ClubRecord::AverageAttendance, ClubRecord::MinimumAttendance,
                      ClubRecord::MaximumAttendance})
            p.Range(f, i, "attendance", c.Get(a), 0, 5000000);
        p.Range(f, i, "Training", c.Get(ClubRecord::Training), 0, 20);
        p.Range(f, i, "Reputation", c.Get(ClubRecord::Reputation), 0, 10000);
    }

    std::vector<int> playerOwners(w.players.size()), nonPlayerOwners(w.nonPlayers.size());
    for (std::size_t i = 0; i < w.persons.size(); ++i) {
        const auto& s = w.persons[i];
        const char* f = "staff.dat";
        const int job = s.Get(StaffRecord::ClubJob);
        const bool player = IsPlayerJob(job);
        for (I16 d : {StaffRecord::BirthDay, StaffRecord::JoinedDay, StaffRecord::ContractDay})
            p.Range(f, i, "day of the year", s.Get(d), 1, 365);
        p.Range(f, i, "BirthYear", s.Get(StaffRecord::BirthYear), 1900, player ? 2003 : 2000);
        p.Range(f, i, "JoinedYear", s.Get(StaffRecord::JoinedYear), 1900, 2003);
        p.Range(f, i, "ContractYear", s.Get(StaffRecord::ContractYear), 1900, 2008);
        p.Range(f, i, "Value", s.Get(StaffRecord::Value), 0, 50000000);
        p.Range(f, i, "ClubJob", job, 0, 16);
        // One block record per person, of the person's kind, and no other.
        const std::int32_t pi = s.Get(StaffRecord::PlayerIndex);
        const std::int32_t ni = s.Get(StaffRecord::NonPlayerIndex);
        p.Expect(player ? ni == -1 : pi == -1,
                 "person " + std::to_string(i) + " has an index into the other block");
        if (player) p.Range(f, i, "Squad", s.Get(StaffRecord::Squad), 1, 2);
        if (player && pi >= 0 && static_cast<std::size_t>(pi) < w.players.size())
            ++playerOwners[pi];
        if (!player && ni >= 0 && static_cast<std::size_t>(ni) < w.nonPlayers.size())
            ++nonPlayerOwners[ni];
    }
    for (std::size_t k = 0; k < playerOwners.size(); ++k)
        p.Expect(playerOwners[k] == 1, "player record " + std::to_string(k) + " has " +
                                           std::to_string(playerOwners[k]) + " owners");
    for (std::size_t k = 0; k < nonPlayerOwners.size(); ++k)
        p.Expect(nonPlayerOwners[k] == 1, "non-player record " + std::to_string(k) + " has " +
                                              std::to_string(nonPlayerOwners[k]) + " owners");
    for (std::size_t i = 0; i < w.players.size(); ++i)
        p.Range("player block", i, "SquadNumber", w.players[i].Get(PlayerRecord::SquadNumber), 1,
                50);
    return p.Take();
}

// The promises of SampleSummary, which hold at every size and seed.
inline std::vector<std::string> CheckSampleFacts(const SampleWorld& w,
                                                 const sample::SampleSummary& s) {
    using namespace db;
    Problems p;
    auto count = [&](const char* what, std::size_t have, int promised) {
        p.Expect(have == static_cast<std::size_t>(promised),
                 std::string(what) + ": " + std::to_string(have) + " records, summary says " +
                     std::to_string(promised));
    };
    count("continents", w.continents.size(), s.continents);
    count("colours", w.colours.size(), s.colours);
    count("competitions", w.comps.size(), s.competitions);
    count("nations", w.nations.size(), s.nations);
    count("cities", w.cities.size(), s.cities);
    count("stadiums", w.stadiums.size(), s.stadiums);
    count("clubs", w.clubs.size(), s.clubs);
    count("first names", w.firstNames.size(), s.firstNames);
    count("second names", w.secondNames.size(), s.secondNames);
    count("common names", w.commonNames.size(), s.commonNames);
    count("persons", w.persons.size(), s.persons);
    count("players", w.players.size(), s.players);
    count("non-players", w.nonPlayers.size(), s.nonPlayers);
    p.Expect(w.playerBlock.blockOffset == s.playerBlockOffset &&
                 w.nonPlayerBlock.blockOffset == s.nonPlayerBlockOffset,
             "block offsets differ from the summary");

    auto person = [&](std::int32_t id) -> const StaffRecord* {
        return id >= 0 && static_cast<std::size_t>(id) < w.persons.size() ? &w.persons[id]
                                                                          : nullptr;
    };
    auto club = [&](std::int32_t id) -> const ClubRecord* {
        return id >= 0 && static_cast<std::size_t>(id) < w.clubs.size() ? &w.clubs[id] : nullptr;
    };
    auto isPlayer = [](const StaffRecord& r) { return IsPlayerJob(r.Get(StaffRecord::ClubJob)); };

    const auto* pl = person(s.player);
    p.Expect(pl && isPlayer(*pl) && pl->Get(StaffRecord::Club) == s.clubWithFullPosts &&
                 pl->Get(StaffRecord::CommonName) <= 0 && pl->Get(StaffRecord::FirstName) >= 1 &&
                 pl->Get(StaffRecord::SecondName) >= 1 &&
                 pl->Get(StaffRecord::PlayerIndex) != s.player,
             "player");
    const auto* cp = person(s.commonNamePlayer);
    p.Expect(cp && isPlayer(*cp) && cp->Get(StaffRecord::CommonName) >= 1 &&
                 cp->Get(StaffRecord::Club) == s.clubWithFullPosts,
             "commonNamePlayer");
    const auto* fp = person(s.freePlayer);
    p.Expect(fp && isPlayer(*fp) && fp->Get(StaffRecord::Club) == -1, "freePlayer");
    const auto* mg = person(s.manager);
    p.Expect(mg && mg->Get(StaffRecord::ClubJob) == 5 && club(s.clubWithFullPosts) &&
                 club(s.clubWithFullPosts)->Get(ClubRecord::Manager) == s.manager &&
                 mg->Get(StaffRecord::NonPlayerIndex) != s.manager,
             "manager");
    const auto* np = person(s.noPostStaff);
    p.Expect(
        np && np->Get(StaffRecord::ClubJob) == 7 && np->Get(StaffRecord::Club) == s.clubWithGaps,
        "noPostStaff");
    const auto* fs = person(s.freeStaff);
    p.Expect(fs && !isPlayer(*fs) && fs->Get(StaffRecord::Club) == -1 &&
                 fs->Get(StaffRecord::NationEmployer) == -1,
             "freeStaff");
    const auto* nm = person(s.nationalManager);
    p.Expect(nm && !isPlayer(*nm) && nm->Get(StaffRecord::Club) == -1 &&
                 nm->Get(StaffRecord::NationEmployer) >= 0 && nm->Get(StaffRecord::NationJob) == 5,
             "nationalManager");

    // A list has a -1 between filled slots.
    auto gap = [](const auto& rec, auto list) {
        bool seenFilled = false, seenGap = false;
        for (std::size_t k = 0; k < list.kCount; ++k) {
            const bool filled = rec.Get(list[k]) >= 0;
            if (filled && seenGap) return true;
            seenFilled |= filled;
            seenGap |= seenFilled && !filled;
        }
        return false;
    };
    p.Expect(std::any_of(w.persons.begin(), w.persons.end(),
                         [&](const StaffRecord& r) {
                             return gap(r, StaffRecord::FavouriteClubs) ||
                                    gap(r, StaffRecord::FavouriteStaff);
                         }),
             "no person list with a gap");
    auto filled = [](const ClubRecord& c, auto list, std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k)
            if (c.Get(list[k]) < 0) return false;
        return true;
    };
    const auto* full = club(s.clubWithFullPosts);
    p.Expect(full && full->Get(ClubRecord::Chairman) >= 0 && full->Get(ClubRecord::Manager) >= 0 &&
                 full->Get(ClubRecord::AssistantManager) >= 0 &&
                 filled(*full, ClubRecord::Directors, 0, 3) &&
                 filled(*full, ClubRecord::Coaches, 0, 5) &&
                 filled(*full, ClubRecord::Scouts, 0, 7) &&
                 filled(*full, ClubRecord::Physios, 0, 3) &&
                 full->Get(ClubRecord::Physios[3]) == -1 && full->Get(ClubRecord::Physios[4]) == -1,
             "clubWithFullPosts");
    const auto* gaps = club(s.clubWithGaps);
    p.Expect(gaps && gap(*gaps, ClubRecord::Players) && gap(*gaps, ClubRecord::Directors),
             "clubWithGaps");
    const auto* noManager = club(s.clubWithoutManager);
    p.Expect(noManager && noManager->Get(ClubRecord::Manager) == -1 &&
                 noManager->Get(ClubRecord::Players[0]) >= 0,
             "clubWithoutManager");
    p.Expect(
        club(s.clubWithoutStadium) && club(s.clubWithoutStadium)->Get(ClubRecord::Stadium) == -1,
        "clubWithoutStadium");
    const auto* noSquad = club(s.clubWithoutSquad);
    p.Expect(noSquad && !filled(*noSquad, ClubRecord::Players, 0, 1) &&
                 !gap(*noSquad, ClubRecord::Players) && noSquad->Get(ClubRecord::Players[49]) == -1,
             "clubWithoutSquad");

    // A pair shares a name, and its first is the first record so named. Pairs of places are
    // planted only when asked for.
    auto pair = [&]<class R>(const char* what, const std::vector<R>& recs, Str field,
                             sample::IdPair ids, std::string_view name) {
        std::vector<std::int32_t> found;
        for (std::size_t i = 0; i < recs.size() && found.size() < 3; ++i)
            if (recs[i].Get(field) == name) found.push_back(static_cast<std::int32_t>(i));
        p.Expect(ids.first < 0
                     ? found.size() < 2
                     : found.size() >= 2 && found[0] == ids.first && found[1] == ids.second,
                 what);
    };
    pair("clubsSharingShortName", w.clubs, ClubRecord::ShortName, s.clubsSharingShortName,
         "Athletic");
    pair("stadiumsSharingName", w.stadiums, StadiumRecord::Name, s.stadiumsSharingName,
         "Central Park");
    pair("citiesSharingName", w.cities, CityRecord::Name, s.citiesSharingName, "Halberg");
    pair("secondNamesAlike", w.secondNames, NamesRecord::Name, s.secondNamesAlike, "Berg");
    p.Expect(
        std::count_if(w.firstNames.begin(), w.firstNames.end(),
                      [](const NamesRecord& r) { return r.Get(NamesRecord::Name) == "Jan"; }) >= 2,
        "no first name stands twice");
    const auto athletic = std::count_if(w.clubs.begin(), w.clubs.end(), [](const ClubRecord& c) {
        return c.Get(ClubRecord::ShortName) == "Athletic";
    });
    p.Expect(athletic == (s.clubsSharingShortName.first < 0 ? 0 : 2),
             "other clubs are called Athletic");
    p.Expect(s.longNameStadium >= 0 &&
                 w.stadiums.at(s.longNameStadium).Get(StadiumRecord::Name).size() == 51,
             "longNameStadium");
    p.Expect(
        s.albanianNation >= 0 && w.nations.at(s.albanianNation).Get(NationRecord::Language1) == 34,
        "albanianNation");

    // Variety the list and filter tests need.
    auto starting = [&](std::string_view prefix) {
        return std::count_if(w.nations.begin(), w.nations.end(), [&](const NationRecord& n) {
            return n.Get(NationRecord::ShortName).rfind(prefix, 0) == 0;
        });
    };
    p.Expect(starting("Van") == 4 && starting("Van D") == 2, "nations beginning with Van / Van D");
    auto anyName = [](const auto& recs, Str field, auto pred) {
        return std::any_of(recs.begin(), recs.end(),
                           [&](const auto& r) { return pred(r.Get(field)); });
    };
    auto accented = [](const std::string& t) {
        return std::any_of(t.begin(), t.end(),
                           [](char c) { return static_cast<std::uint8_t>(c) >= 0xC0; });
    };
    auto lowerFirst = [](const std::string& t) { return !t.empty() && t[0] >= 'a' && t[0] <= 'z'; };
    p.Expect(anyName(w.firstNames, NamesRecord::Name, accented), "no accented first name");
    p.Expect(anyName(w.secondNames, NamesRecord::Name, accented), "no accented second name");
    p.Expect(anyName(w.cities, CityRecord::Name, accented), "no accented city");
    p.Expect(anyName(w.secondNames, NamesRecord::Name, lowerFirst), "no lower-case second name");
    const auto commonNamed =
        std::count_if(w.persons.begin(), w.persons.end(),
                      [](const StaffRecord& r) { return r.Get(StaffRecord::CommonName) >= 1; });
    p.Expect(commonNamed > 0 && commonNamed * 4 < static_cast<long>(w.persons.size()),
             "common names: not a few persons");

    // Bytes the editor only carries are not zero, so that tests can see them survive.
    p.Expect(w.stadiums[0].bytes[55] != 0 && w.cities[0].bytes[30] != 0 &&
                 w.clubs[0].bytes[580] != 0 && w.nations[0].bytes[289] != 0 &&
                 w.persons[0].bytes[20] != 0 && w.players[0].bytes[69] != 0 &&
                 w.nonPlayers[0].bytes[27] != 0 && w.firstNames[0].bytes[59] != 0 &&
                 w.comps[0].bytes[106] != 0 && w.colours[0].bytes[57] != 0 &&
                 w.continents[0].bytes[197] != 0,
             "kept bytes left zero");
    return p.Take();
}

}  // namespace vh::test
