// Squads and staff posts: the job-code table, the slots of each post, and the records that
// transfers, appointments and releases return. Every record carries bytes the moves must keep.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/model/squad.h"

namespace vh::db {
namespace {

constexpr std::int32_t kId = 7;  // the person moved

struct Entry {
    I32 field;
    std::int32_t id;
};
using Entries = std::vector<Entry>;

// Every slot of a list taken by others (Ids from 100), then the entries given.
template <std::size_t N>
Entries Taken(I32Array<N> list, std::size_t count, Entries then = {}) {
    Entries out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back({list[i], static_cast<std::int32_t>(100 + i)});
    out.insert(out.end(), then.begin(), then.end());
    return out;
}

struct ClubSetup {
    ClubSetup(std::int32_t c = -1, Entries e = {}) : club(c), entries(std::move(e)) {}
    std::int32_t club;
    Entries entries;  // every other post and squad entry vacant
};

// A club whose bytes are a pattern, with every post and squad entry vacant but the ones given.
ClubRecord MakeClub(const ClubSetup& s) {
    ClubRecord c;
    for (std::size_t i = 0; i < c.bytes.size(); ++i)
        c.bytes[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(s.club));
    c.Set(ClubRecord::Id, s.club);
    auto vacate = [&]<std::size_t N>(I32Array<N> list) {
        for (std::size_t i = 0; i < N; ++i) c.Set(list[i], -1);
    };
    for (I32 f : {ClubRecord::Chairman, ClubRecord::Manager, ClubRecord::AssistantManager})
        c.Set(f, -1);
    vacate(ClubRecord::Directors);
    vacate(ClubRecord::Players);
    vacate(ClubRecord::Coaches);
    vacate(ClubRecord::Scouts);
    vacate(ClubRecord::Physios);
    for (const Entry& e : s.entries) c.Set(e.field, e.id);
    return c;
}

StaffRecord MakePerson(std::int32_t club, std::uint8_t job, std::int32_t id = kId) {
    StaffRecord p;
    for (std::size_t i = 0; i < p.bytes.size(); ++i)
        p.bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
    p.Set(StaffRecord::Id, id);
    p.Set(StaffRecord::Club, club);
    p.Set(StaffRecord::ClubJob, job);
    return p;
}

struct MoveCase {
    std::string name;
    std::uint8_t job;  // ClubJob (staff moves only)
    ClubSetup from;    // the person's club; club -1: none
    std::int32_t target;
    ClubSetup to;  // read when target >= 0 and differs from the person's club
    std::optional<std::string_view> refusal;
    std::vector<ClubSetup> writes;  // expected club writes, in order
    std::int32_t id = kId;          // the person moved
};

using Move = MoveResult (*)(const StaffRecord&, std::int32_t, const ClubRecord*, const ClubRecord*);

void Check(const MoveCase& c, Move move) {
    SCOPED_TRACE(c.name);
    const StaffRecord person = MakePerson(c.from.club, c.job, c.id);
    const ClubRecord from = MakeClub(c.from);
    const ClubRecord to = MakeClub(c.to);
    const MoveResult r =
        move(person, c.target, c.from.club >= 0 ? &from : nullptr, c.to.club >= 0 ? &to : nullptr);
    if (c.refusal) {
        EXPECT_EQ(r.refusal, std::string(*c.refusal));
        EXPECT_TRUE(r.clubs.empty());
        return;
    }
    ASSERT_FALSE(r.refusal) << *r.refusal;
    ASSERT_EQ(r.clubs.size(), c.writes.size());
    for (std::size_t i = 0; i < c.writes.size(); ++i) {
        EXPECT_EQ(r.clubs[i].first, c.writes[i].club) << "write " << i;
        EXPECT_TRUE(r.clubs[i].second == MakeClub(c.writes[i])) << "write " << i;
    }
    StaffRecord expected = person;
    expected.Set(StaffRecord::Club, c.target < 0 ? -1 : c.target);
    EXPECT_TRUE(r.person == expected);
}

TEST(Squad, JobCodesNameTheirPosts) {
    using enum Post;
    // clang-format off
    const std::vector<std::pair<int, Post>> codes = {
        {-1, kNone}, {0, kNone}, {1, kChairman}, {2, kDirectors}, {4, kDirectors}, {5, kManager},
        {6, kAssistantManager}, {7, kNone}, {8, kCoaches}, {9, kScouts}, {10, kPhysios},
        {11, kNone}, {16, kNone}, {255, kNone}, {256, kNone}};
    // clang-format on
    for (const auto& [job, post] : codes) EXPECT_EQ(PostOfJob(job), post) << "ClubJob " << job;
}

TEST(Squad, PostsListTheirSlotsAndMovesUseTheFirstThreePhysios) {
    struct Row {
        Post post;
        std::size_t firstOffset, shown, appointable;
    };
    for (const Row& row : {Row{Post::kChairman, 191, 1, 1}, Row{Post::kDirectors, 195, 3, 3},
                           Row{Post::kManager, 207, 1, 1}, Row{Post::kAssistantManager, 211, 1, 1},
                           Row{Post::kCoaches, 415, 5, 5}, Row{Post::kScouts, 435, 7, 7},
                           Row{Post::kPhysios, 463, 5, 3}, Row{Post::kNone, 0, 0, 0}}) {
        const auto shown = PostSlots(row.post);
        const auto appointable = AppointableSlots(row.post);
        ASSERT_EQ(shown.size(), row.shown);
        ASSERT_EQ(appointable.size(), row.appointable);
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(shown[i].offset, row.firstOffset + 4 * i);
        for (std::size_t i = 0; i < appointable.size(); ++i)
            EXPECT_EQ(appointable[i].offset, shown[i].offset);
    }
    for (Post post : kClubPosts) EXPECT_NE(post, Post::kNone);
}

TEST(Squad, TransferPlayer) {
    const auto& P = ClubRecord::Players;
    // clang-format off
    const std::vector<MoveCase> cases = {
        {"to another club, leaving both entries of a double listing", 0,
         {1, {{P[0], kId}, {P[1], 3}, {P[4], kId}}}, 2, {2, {{P[0], 4}, {P[2], 5}}}, {},
         {{1, {{P[1], 3}}}, {2, {{P[0], 4}, {P[1], kId}, {P[2], 5}}}}},
        {"any negative entry is empty", 0, {}, 2, {2, {{P[0], 4}, {P[1], -5}}}, {},
         {{2, {{P[0], 4}, {P[1], kId}}}}},
        {"to his own club: the first free entry, an earlier one", 0,
         {1, {{P[0], 3}, {P[2], kId}}}, 1, {}, {}, {{1, {{P[0], 3}, {P[1], kId}}}}},
        {"to his own full club: back in his own entry, nothing changed", 0,
         {1, Taken(P, 50, {{P[9], kId}})}, 1, {}, {}, {}},
        {"to a full squad: refused", 0,
         {1, {{P[0], kId}}}, 2, {2, Taken(P, 50)}, kSquadFullMessage, {}},
        {"to his own full club that does not list him: refused", 0,
         {1, Taken(P, 50)}, 1, {}, kSquadFullMessage, {}},
        {"made a free agent", 0,
         {1, {{P[0], 3}, {P[1], kId}}}, -1, {}, {}, {{1, {{P[0], 3}}}}},
        {"a free agent made free again: only the person", 0, {}, -1, {}, {}, {}},
        // Person 0 is the first record of staff.dat, not an empty entry; club 0 is a club.
        {"to a squad whose first entry is person 0", 0,
         {}, 2, {2, {{P[0], 0}, {P[2], 5}}}, {}, {{2, {{P[0], 0}, {P[1], kId}, {P[2], 5}}}}},
        {"person 0 released, his squad entry emptied", 0,
         {1, {{P[0], 3}, {P[1], 0}}}, -1, {}, {}, {{1, {{P[0], 3}}}}, 0},
        {"from club 0 to a club whose squad lists person 0", 0,
         {0, {{P[0], 0}, {P[1], kId}}}, 2, {2, {{P[0], 0}}}, {},
         {{0, {{P[0], 0}}}, {2, {{P[0], 0}, {P[1], kId}}}}},
    };
    // clang-format on
    for (const MoveCase& c : cases) Check(c, TransferPlayer);
}

TEST(Squad, MoveStaffToClub) {
    using C = ClubRecord;
    // clang-format off
    std::vector<MoveCase> cases = {
        {"manager to a club without one", 5,
         {1, {{C::Manager, kId}, {C::Chairman, 3}}}, 2, {2, {{C::Chairman, 4}}}, {},
         {{1, {{C::Chairman, 3}}}, {2, {{C::Chairman, 4}, {C::Manager, kId}}}}},
        {"director (code 3) to the first vacant director slot", 3,
         {}, 2, {2, {{C::Directors[0], 4}, {C::Directors[2], 5}}}, {},
         {{2, {{C::Directors[0], 4}, {C::Directors[1], kId}, {C::Directors[2], 5}}}}},
        {"chairman to a club with one: refused", 1,
         {1, {{C::Chairman, kId}}}, 2, {2, {{C::Chairman, 4}}}, kPostTakenMessage, {}},
        {"scout to seven taken scout slots: refused, old club kept", 9,
         {1, {{C::Scouts[2], kId}}}, 2, {2, Taken(C::Scouts, 7)}, kPostTakenMessage, {}},
        {"physio when slots 0..2 are taken though 3 and 4 are free: refused", 10,
         {}, 2, {2, Taken(C::Physios, 3)}, kPostTakenMessage, {}},
        {"physio listed in slot 3 stays there", 10,
         {1, {{C::Physios[1], kId}, {C::Physios[3], kId}}}, 2, {2, {}}, {},
         {{1, {{C::Physios[3], kId}}}, {2, {{C::Physios[0], kId}}}}},
        {"released from every post, whatever the job", 9,
         {1, {{C::Chairman, kId}, {C::Manager, kId}, {C::AssistantManager, kId},
              {C::Directors[1], kId}, {C::Coaches[0], 3}, {C::Coaches[4], kId},
              {C::Scouts[6], kId}, {C::Physios[2], kId}, {C::Players[0], kId}}},
         -1, {}, {}, {{1, {{C::Coaches[0], 3}, {C::Players[0], kId}}}}},
        {"to his own club: the first vacant slot, an earlier one", 8,
         {1, {{C::Coaches[0], 3}, {C::Coaches[3], kId}}}, 1, {}, {},
         {{1, {{C::Coaches[0], 3}, {C::Coaches[1], kId}}}}},
        {"to his own club with every coach slot taken, one by him", 8,
         {1, Taken(C::Coaches, 5, {{C::Coaches[2], kId}})}, 1, {}, {}, {}},
        {"job code 7: released, no post filled, the person names the new club", 7,
         {1, {{C::Coaches[2], kId}}}, 2, {2, {}}, {}, {{1, {}}}},
        {"free staff released again: only the person", 5, {}, -1, {}, {}, {}},
        {"released from a club where person 0 holds every other post", 8,
         {1, {{C::Chairman, 0}, {C::Directors[0], 0}, {C::Coaches[0], 0}, {C::Coaches[1], kId},
              {C::Physios[0], 0}}},
         -1, {}, {}, {{1, {{C::Chairman, 0}, {C::Directors[0], 0}, {C::Coaches[0], 0},
                         {C::Physios[0], 0}}}}},
        {"person 0 released from his posts", 8,
         {1, {{C::Coaches[0], 3}, {C::Coaches[1], 0}, {C::Manager, 0}}}, -1, {}, {},
         {{1, {{C::Coaches[0], 3}}}}, 0},
    };
    // An appointment to each post whose first slot holds person 0: a post of one slot is taken,
    // a longer one is filled in its second slot.
    for (std::uint8_t job : {1, 3, 5, 6, 8, 9, 10}) {
        const auto slots = PostSlots(PostOfJob(job));
        const bool one = slots.size() == 1;
        cases.push_back({"appointed where person 0 holds slot 0, job " + std::to_string(job), job,
                         {}, 2, {2, {{slots[0], 0}}},
                         one ? std::optional(kPostTakenMessage) : std::nullopt,
                         one ? std::vector<ClubSetup>{}
                             : std::vector<ClubSetup>{{2, {{slots[0], 0}, {slots[1], kId}}}}});
    }
    // clang-format on
    for (const MoveCase& c : cases) Check(c, MoveStaffToClub);
}

TEST(Squad, MoveStaffToNation) {
    for (std::int32_t nation : {12, -1, -3}) {
        const StaffRecord person = MakePerson(4, 9);
        StaffRecord expected = person;
        expected.Set(StaffRecord::NationEmployer, nation < 0 ? -1 : nation);
        expected.Set(StaffRecord::NationJob, std::uint8_t{5});
        EXPECT_TRUE(MoveStaffToNation(person, nation) == expected) << nation;
    }
}

TEST(Squad, AMissingClubRecordIsAnErrorNotAMove) {
    const StaffRecord person = MakePerson(1, 5);
    const ClubRecord club = MakeClub({2, {}});
    EXPECT_THROW(TransferPlayer(person, 2, nullptr, &club), std::invalid_argument);
    EXPECT_THROW(MoveStaffToClub(person, 3, &club, nullptr), std::invalid_argument);
}

}  // namespace
}  // namespace vh::db
