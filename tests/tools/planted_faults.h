// Faults planted in a copy of the small sample, one per rule of the database checker, each with
// the finding it must give. Shared by the generator's tests and the tests of `vhtool check`.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "database/model/check.h"
#include "database/records/data_def.h"
#include "sample_check.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh::test {

struct ExpectedFinding {
    db::Severity severity;
    db::CheckKind kind;
    std::string file;
    std::int64_t record;
    std::string field;
};

struct PlantedFault {
    std::string what;
    std::function<void(const std::filesystem::path&)> plant;
    ExpectedFinding expect;
};

// Changes the record of type R that starts at byte `at` of the file.
template <class R>
void Edit(const std::filesystem::path& dir, const std::string& file, std::int64_t at,
          const std::function<void(R&)>& change) {
    Bytes bytes = ReadFile(dir / file);
    R rec;
    std::copy_n(bytes.begin() + at, R::kSize, rec.bytes.begin());
    change(rec);
    std::copy(rec.bytes.begin(), rec.bytes.end(), bytes.begin() + at);
    WriteFile(dir / file, bytes);
}

template <class R>
std::function<void(const std::filesystem::path&)> Record(std::string file, std::int64_t n,
                                                         std::function<void(R&)> change) {
    return [=](const std::filesystem::path& dir) {
        Edit<R>(dir, file, n * static_cast<std::int64_t>(R::kSize), change);
    };
}

// `dir` holds the sample the faults are planted in copies of.
inline std::vector<PlantedFault> PlantedFaults(const sample::SampleSummary& s, const SampleWorld& w,
                                               const std::filesystem::path& dir) {
    using namespace db;
    using E = ExpectedFinding;
    constexpr auto kError = Severity::kError;
    constexpr auto kWarning = Severity::kWarning;
    const auto player = s.player;
    const std::int32_t playerClub =
        w.persons[static_cast<std::size_t>(player)].Get(StaffRecord::Club);
    const std::int32_t clubWithoutSquad = s.clubWithoutSquad;
    const std::string secondShort = w.clubs[2].Get(ClubRecord::ShortName);
    const auto nations = static_cast<std::int32_t>(w.nations.size());
    // The index.dat entry of the non-player block, and how many entries there are.
    std::int64_t nonPlayerEntry = 0, entries = 0;
    const Bytes index = ReadFile(dir / "index.dat");
    for (std::size_t e = 0; 8 + (e + 1) * 67 <= index.size(); ++e, ++entries) {
        if (GetI32(index, 8 + e * 67 + 51) == kNonPlayerBlockType)
            nonPlayerEntry = static_cast<std::int64_t>(e);
    }

    return {
        {"player missing from his squad",
         Record<ClubRecord>("club.dat", playerClub,
                            [=](ClubRecord& c) {
                                for (std::size_t k = 0; k < 50; ++k)
                                    if (c.Get(ClubRecord::Players[k]) == player)
                                        c.Set(ClubRecord::Players[k], -1);
                            }),
         E{kError, CheckKind::kSquad, "staff.dat", player, "Club"}},
        {"player listed by a second club",
         Record<ClubRecord>("club.dat", clubWithoutSquad,
                            [=](ClubRecord& c) { c.Set(ClubRecord::Players[7], player); }),
         E{kError, CheckKind::kSquad, "club.dat", clubWithoutSquad, "Players[7]"}},
        {"manager with a coach's job code",
         Record<StaffRecord>("staff.dat", s.manager,
                             [](StaffRecord& p) { p.Set(StaffRecord::ClubJob, std::uint8_t{8}); }),
         E{kError, CheckKind::kSquad, "club.dat", s.clubWithFullPosts, "Manager"}},
        {"physio beyond the slots a release clears",
         Record<ClubRecord>("club.dat", s.clubWithFullPosts,
                            [](ClubRecord& c) {
                                c.Set(ClubRecord::Physios[4], c.Get(ClubRecord::Physios[0]));
                                c.Set(ClubRecord::Physios[0], -1);
                            }),
         E{kWarning, CheckKind::kSquad, "club.dat", s.clubWithFullPosts, "Physios[4]"}},
        {"gap in the colour Ids",
         Record<ColourRecord>("colour.dat", 3, [](ColourRecord& c) { c.Set(ColourRecord::Id, 4); }),
         E{kError, CheckKind::kId, "colour.dat", 3, "Id"}},
        {"club nation beyond nation.dat",
         Record<ClubRecord>("club.dat", 5,
                            [=](ClubRecord& c) { c.Set(ClubRecord::Nation, nations); }),
         E{kError, CheckKind::kReference, "club.dat", 5, "Nation"}},
        {"person's favourite club beyond club.dat",
         Record<StaffRecord>(
             "staff.dat", 4,
             [](StaffRecord& p) { p.Set(StaffRecord::FavouriteClubs[2], 1000000); }),
         E{kError, CheckKind::kReference, "staff.dat", 4, "FavouriteClubs[2]"}},
        {"none written as -2",
         Record<StadiumRecord>("stadium.dat", 1,
                               [](StadiumRecord& r) { r.Set(StadiumRecord::City, -2); }),
         E{kWarning, CheckKind::kReference, "stadium.dat", 1, "City"}},
        {"language 61",
         Record<NationRecord>(
             "nation.dat", 0,
             [](NationRecord& n) { n.Set(NationRecord::Language2, std::uint8_t{61}); }),
         E{kError, CheckKind::kReference, "nation.dat", 0, "Language2"}},
        {"player without a player record",
         Record<StaffRecord>("staff.dat", s.freePlayer,
                             [](StaffRecord& p) { p.Set(StaffRecord::PlayerIndex, -1); }),
         E{kError, CheckKind::kBlock, "staff.dat", s.freePlayer, "PlayerIndex"}},
        {"staff member with another's player record",
         Record<StaffRecord>("staff.dat", s.freeStaff,
                             [](StaffRecord& p) { p.Set(StaffRecord::PlayerIndex, 0); }),
         E{kError, CheckKind::kBlock, "staff.dat", s.freeStaff, "PlayerIndex"}},
        {"non-player block past the end of staff.dat",
         [=](const std::filesystem::path& dir) {
             Bytes b = ReadFile(dir / "index.dat");
             PutI32(b, static_cast<std::size_t>(8 + nonPlayerEntry * 67 + 59), 0x7ffffff0);
             WriteFile(dir / "index.dat", b);
         },
         E{kError, CheckKind::kBlock, "index.dat", nonPlayerEntry, "BlockOffset"}},
        {"an entry of another type at the player block's offset",
         [=](const std::filesystem::path& dir) {
             Bytes b = ReadFile(dir / "index.dat");
             Bytes e(67, 0);
             PutI32(e, 51, 3);
             PutI32(e, 59, s.playerBlockOffset);
             b.insert(b.end(), e.begin(), e.end());
             WriteFile(dir / "index.dat", b);
         },
         E{kError, CheckKind::kBlock, "index.dat", entries, "BlockOffset"}},
        {"undefined byte in a city name",
         Record<CityRecord>("city.dat", 2,
                            [](CityRecord& c) { c.Set(CityRecord::Name, std::string("Ha\x81m")); }),
         E{kError, CheckKind::kText, "city.dat", 2, "Name"}},
        {"second club of the same short name",
         Record<ClubRecord>("club.dat", 3,
                            [=](ClubRecord& c) { c.Set(ClubRecord::ShortName, secondShort); }),
         E{kWarning, CheckKind::kDuplicate, "club.dat", 3, "ShortName"}},
        {"day 366",
         Record<StaffRecord>(
             "staff.dat", 2,
             [](StaffRecord& p) { p.Set(StaffRecord::BirthDay, std::int16_t{366}); }),
         E{kWarning, CheckKind::kRange, "staff.dat", 2, "BirthDay"}},
        {"seating above capacity",
         Record<StadiumRecord>("stadium.dat", 0,
                               [](StadiumRecord& r) {
                                   r.Set(StadiumRecord::Seating,
                                         r.Get(StadiumRecord::Capacity) + 1);
                               }),
         E{kWarning, CheckKind::kRange, "stadium.dat", 0, "Seating"}},
        // Every page's ranges: clubs, cities, and the player page's years, which end before the
        // staff page's.
        {"club cash beyond its page",
         Record<ClubRecord>("club.dat", 5,
                            [](ClubRecord& c) { c.Set(ClubRecord::Cash, 50000001); }),
         E{kWarning, CheckKind::kRange, "club.dat", 5, "Cash"}},
        {"city attraction 21",
         Record<CityRecord>("city.dat", 1,
                            [](CityRecord& c) { c.Set(CityRecord::Attraction, std::uint8_t{21}); }),
         E{kWarning, CheckKind::kRange, "city.dat", 1, "Attraction"}},
        {"player's contract to 2004",
         Record<StaffRecord>(
             "staff.dat", player,
             [](StaffRecord& p) { p.Set(StaffRecord::ContractYear, std::int16_t{2004}); }),
         E{kWarning, CheckKind::kRange, "staff.dat", player, "ContractYear"}},
        {"player block record with another Id",
         [=](const std::filesystem::path& dir) {
             Edit<PlayerRecord>(dir, "staff.dat", s.playerBlockOffset + 70,
                                [](PlayerRecord& r) { r.Set(PlayerRecord::Id, 0); });
         },
         E{kError, CheckKind::kId, "staff.dat", 1, "player block.Id"}},
        {"nation.dat cut short",
         [=](const std::filesystem::path& dir) {
             Bytes b = ReadFile(dir / "nation.dat");
             b.resize(b.size() - 10);
             WriteFile(dir / "nation.dat", b);
         },
         E{kError, CheckKind::kSize, "nation.dat", nations - 1, ""}},
    };
}

inline bool HasFinding(const db::CheckReport& report, const ExpectedFinding& e) {
    return std::any_of(report.findings.begin(), report.findings.end(), [&](const db::Finding& f) {
        return f.severity == e.severity && f.kind == e.kind && f.file == e.file &&
               f.record == e.record && f.field == e.field;
    });
}

inline std::string Listed(const db::CheckReport& report) {
    std::string out;
    for (const db::Finding& f : report.findings)
        out += std::string(db::SeverityName(f.severity)) + " " + std::string(db::KindName(f.kind)) +
               " " + f.file + " " + std::to_string(f.record) + " " + f.field + " = " + f.value +
               ": " + f.message + "\n";
    return out;
}

}  // namespace vh::test
