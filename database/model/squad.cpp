#include "database/model/squad.h"

#include <stdexcept>

#include "database/records/file_set.h"

namespace vh::db {
namespace {

template <std::size_t N>
constexpr std::array<I32, N> FieldsOf(I32Array<N> list) {
    std::array<I32, N> fields{};
    for (std::size_t i = 0; i < N; ++i) fields[i] = list[i];
    return fields;
}

constexpr std::array<I32, 1> kChairman = {ClubRecord::Chairman};
constexpr auto kDirectors = FieldsOf(ClubRecord::Directors);
constexpr std::array<I32, 1> kManager = {ClubRecord::Manager};
constexpr std::array<I32, 1> kAssistantManager = {ClubRecord::AssistantManager};
constexpr auto kCoaches = FieldsOf(ClubRecord::Coaches);
constexpr auto kScouts = FieldsOf(ClubRecord::Scouts);
constexpr auto kPhysios = FieldsOf(ClubRecord::Physios);
constexpr std::size_t kAppointablePhysios = 3;
constexpr auto kSquad = FieldsOf(ClubRecord::Players);

// ClubJob 0..10 and the post each fills; every higher code fills none.
constexpr std::array<Post, 11> kPostOfJob = {
    Post::kNone,              // 0 (a player)
    Post::kChairman,          // 1
    Post::kDirectors,         // 2
    Post::kDirectors,         // 3
    Post::kDirectors,         // 4
    Post::kManager,           // 5
    Post::kAssistantManager,  // 6
    Post::kNone,              // 7 (at a club, in no post)
    Post::kCoaches,           // 8
    Post::kScouts,            // 9
    Post::kPhysios,           // 10
};

constexpr std::int32_t kNone = -1;

std::int32_t OrNone(std::int32_t ref) {
    return ref < 0 ? kNone : ref;
}

const ClubRecord& Required(const ClubRecord* club, const char* what) {
    if (!club)
        throw std::invalid_argument(std::string("the record of the ") + what + " is missing");
    return *club;
}

// The club records of a move: the one left and the one joined, one record when they are the
// same club, so that the second step sees the first.
class Clubs {
  public:
    Clubs(std::int32_t from, std::int32_t to, const ClubRecord* fromRecord,
          const ClubRecord* toRecord)
        : from_(from), to_(to) {
        if (from_ >= 0) fromOriginal_ = fromNow_ = Required(fromRecord, "club left");
        if (to_ >= 0 && to_ != from_) toOriginal_ = toNow_ = Required(toRecord, "club joined");
    }
    ClubRecord& Left() { return fromNow_; }
    ClubRecord& Joined() { return to_ == from_ ? fromNow_ : toNow_; }
    std::int32_t LeftClub() const { return from_; }
    std::int32_t JoinedClub() const { return to_; }

    // The records that changed, the club left first.
    std::vector<std::pair<std::int32_t, ClubRecord>> Changed() const {
        std::vector<std::pair<std::int32_t, ClubRecord>> out;
        if (from_ >= 0 && !(fromNow_ == fromOriginal_)) out.emplace_back(from_, fromNow_);
        if (to_ >= 0 && to_ != from_ && !(toNow_ == toOriginal_)) out.emplace_back(to_, toNow_);
        return out;
    }

  private:
    std::int32_t from_, to_;
    ClubRecord fromOriginal_, fromNow_, toOriginal_, toNow_;
};

MoveResult Refused(const StaffRecord& person, std::string_view message) {
    MoveResult r;
    r.refusal = std::string(message);
    r.person = person;
    return r;
}

MoveResult Moved(const StaffRecord& person, const Clubs& clubs) {
    MoveResult r;
    r.clubs = clubs.Changed();
    r.person = person;
    r.person.Set(StaffRecord::Club, clubs.JoinedClub());
    return r;
}

// Empties every slot holding id.
void Vacate(ClubRecord& club, std::span<const I32> slots, std::int32_t id) {
    for (const I32& f : slots)
        if (club.Get(f) == id) club.Set(f, kNone);
}

// Fills the first slot holding a negative value; false when every slot is taken.
bool FillFirstVacant(ClubRecord& club, std::span<const I32> slots, std::int32_t id) {
    for (const I32& f : slots) {
        if (club.Get(f) < 0) {
            club.Set(f, id);
            return true;
        }
    }
    return false;
}

}  // namespace

Post PostOfJob(int clubJob) {
    return clubJob >= 0 && static_cast<std::size_t>(clubJob) < kPostOfJob.size()
               ? kPostOfJob[static_cast<std::size_t>(clubJob)]
               : Post::kNone;
}

std::span<const I32> PostSlots(Post post) {
    switch (post) {
        case Post::kNone:
            break;
        case Post::kChairman:
            return kChairman;
        case Post::kDirectors:
            return kDirectors;
        case Post::kManager:
            return kManager;
        case Post::kAssistantManager:
            return kAssistantManager;
        case Post::kCoaches:
            return kCoaches;
        case Post::kScouts:
            return kScouts;
        case Post::kPhysios:
            return kPhysios;
    }
    return {};
}

std::span<const I32> AppointableSlots(Post post) {
    const auto slots = PostSlots(post);
    return post == Post::kPhysios ? slots.first(kAppointablePhysios) : slots;
}

MoveResult TransferPlayer(const StaffRecord& person, std::int32_t newClub,
                          const ClubRecord* oldClub, const ClubRecord* newClubRecord) {
    const std::int32_t id = person.Get(StaffRecord::Id);
    Clubs clubs(OrNone(person.Get(StaffRecord::Club)), OrNone(newClub), oldClub, newClubRecord);
    if (clubs.LeftClub() >= 0) Vacate(clubs.Left(), kSquad, id);
    if (clubs.JoinedClub() >= 0 && !FillFirstVacant(clubs.Joined(), kSquad, id))
        return Refused(person, kSquadFullMessage);
    return Moved(person, clubs);
}

MoveResult MoveStaffToClub(const StaffRecord& person, std::int32_t target,
                           const ClubRecord* oldClub, const ClubRecord* targetClub) {
    const std::int32_t id = person.Get(StaffRecord::Id);
    Clubs clubs(OrNone(person.Get(StaffRecord::Club)), OrNone(target), oldClub, targetClub);
    // Always, whatever the job code: a person must not stay in a post of a club left.
    if (clubs.LeftClub() >= 0)
        for (Post post : kClubPosts) Vacate(clubs.Left(), AppointableSlots(post), id);
    const Post post = PostOfJob(person.Get(StaffRecord::ClubJob));
    if (clubs.JoinedClub() >= 0 && post != Post::kNone &&
        !FillFirstVacant(clubs.Joined(), AppointableSlots(post), id))
        return Refused(person, kPostTakenMessage);
    return Moved(person, clubs);
}

void PutMove(const MoveResult& move, WriteSet& set, const StaffRecord* personAsRead,
             std::string what) {
    if (move.refusal) return;
    for (const auto& [number, club] : move.clubs) set.PutRecord(kClubFile, number, club);
    if (personAsRead)
        set.PutRecord(kStaffFile, move.person.Get(StaffRecord::Id), move.person, *personAsRead,
                      std::move(what));
    else
        set.PutRecord(kStaffFile, move.person.Get(StaffRecord::Id), move.person);
}

StaffRecord MoveStaffToNation(const StaffRecord& person, std::int32_t nation) {
    StaffRecord moved = person;
    moved.Set(StaffRecord::NationEmployer, OrNone(nation));
    moved.Set(StaffRecord::NationJob, kNationMoveJob);
    return moved;
}

}  // namespace vh::db
