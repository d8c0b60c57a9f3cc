// Squads and staff posts: which post a job code fills, which fields a post has, and the moves that
// change them (player transfers, staff appointments and releases, nation moves). Pure functions on
// records: the caller reads the records involved, calls, and writes what comes back in order.
// A refused move returns its message and nothing to write, so the files never disagree.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/records/data_def.h"
#include "database/write/write_set.h"

namespace vh::db {

// The posts of a club's staff. Players stand in the squad (Players), not in a post.
enum class Post {
    kNone,
    kChairman,
    kDirectors,
    kManager,
    kAssistantManager,
    kCoaches,
    kScouts,
    kPhysios
};

// Every post with fields, in the order a release walks them.
inline constexpr std::array<Post, 7> kClubPosts = {
    Post::kManager, Post::kAssistantManager, Post::kChairman, Post::kDirectors,
    Post::kPhysios, Post::kCoaches,          Post::kScouts};

// The post a ClubJob fills at a club: 1 chairman; 2, 3, 4 directors; 5 manager; 6 assistant
// manager; 8 coaches; 9 scouts; 10 physios; every other code none.
Post PostOfJob(int clubJob);

// The fields of a post's slots as the club page lists them: chairman, manager and assistant one,
// directors 3, coaches 5, scouts 7, physios 5. kNone has none.
std::span<const I32> PostSlots(Post post);
// The slots an appointment may fill and a release vacates: all of PostSlots but physios 3 and 4,
// which moves never touch.
std::span<const I32> AppointableSlots(Post post);

inline constexpr std::string_view kSquadFullMessage = "This club's squad is full";
inline constexpr std::string_view kPostTakenMessage =
    "This Job Is Already Held By Another Staff Member";
inline constexpr std::string_view kPostTakenCaption = "Double Appointment";
// The NationJob every nation move sets (the code a club move treats as manager).
inline constexpr std::uint8_t kNationMoveJob = 5;

// What a move writes. When refusal is set nothing at all is to be written (person is then the
// record given, unchanged).
struct MoveResult {
    std::optional<std::string> refusal;
    // Club records that changed, with their club numbers, in write order; written before person.
    std::vector<std::pair<std::int32_t, ClubRecord>> clubs;
    StaffRecord person;  // written last, at its Id
};

// Moves a player to newClub (negative: released, "Make Free Agent"). oldClub is the record of
// person.Club and is required when that is >= 0; newClubRecord is required when newClub >= 0 and
// differs from person.Club (for the same club oldClub serves both steps). Every Players entry of
// the old club holding the person's Id is emptied; the Id goes into the first empty entry of the
// new club's squad. A new squad without an empty entry refuses with kSquadFullMessage. Only Club
// of the person changes. Missing records throw std::invalid_argument.
MoveResult TransferPlayer(const StaffRecord& person, std::int32_t newClub,
                          const ClubRecord* oldClub, const ClubRecord* newClubRecord);

// Moves a staff member to target (negative: released from the club). The person leaves every
// appointable slot of the old club that holds the Id, whatever the job code; at the target the
// post of PostOfJob(ClubJob) is filled in its first vacant slot, or the move is refused with
// kPostTakenMessage. A job code without a post fills nothing. Moving to the club that employs
// the person treats the person's own posts there as vacant. Records as for TransferPlayer.
MoveResult MoveStaffToClub(const StaffRecord& person, std::int32_t target,
                           const ClubRecord* oldClub, const ClubRecord* targetClub);

// Adds what a move writes to `set`: the clubs that changed, then the person at its Id. A refused
// move adds nothing.
// `personAsRead`, when given, is the person record the move was planned from: the commit writes
// nothing if staff.dat no longer holds it. `what` names the person in that refusal.
void PutMove(const MoveResult& move, WriteSet& set, const StaffRecord* personAsRead = nullptr,
             std::string what = {});

// The person employed by national side nation (negative: released): NationEmployer and NationJob
// change. A national side keeps no list of its staff, so no other record is written.
StaffRecord MoveStaffToNation(const StaffRecord& person, std::int32_t nation);

}  // namespace vh::db
