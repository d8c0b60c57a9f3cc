// Golden bytes for every record layout. Each table below is typed from the documented layouts:
// one row per field with its literal offset and encoding, then the bytes the editor keeps without
// interpreting them. A layout test checks that the rows and kept ranges tile the record exactly,
// that every accessor reads what raw little-endian bytes at its offset say, and that writing every
// field through the accessors produces exactly those raw bytes while every kept byte survives.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "database/records/data_def.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

using test::Bytes;

enum class Kind { kI32, kI16, kU8, kF64, kText };

struct Encoding {
    Kind kind;
    std::size_t width;
};
constexpr Encoding kI32{Kind::kI32, 4};
constexpr Encoding kI16{Kind::kI16, 2};
constexpr Encoding kU8{Kind::kU8, 1};
constexpr Encoding kF64{Kind::kF64, 8};
constexpr Encoding Text(std::size_t width) {
    return {Kind::kText, width};
}

using FieldRef = std::variant<I32, I16, U8, F64, Str>;
using Value = std::variant<std::int64_t, double, std::string>;

struct Row {
    std::string name;
    std::size_t offset;  // from the documents
    Encoding enc;        // from the documents
    FieldRef field;      // the library's accessor
};

// A filler that is never zero, so spilled zero padding and shifted fields show up.
std::uint8_t Background(std::size_t i) {
    return static_cast<std::uint8_t>(1 + (i * 29 + 90) % 255);
}

// A distinct value per row and pass: negative integers with every byte in use, unsigned bytes
// above 127, reals with a full mantissa, a full-width text (no terminator) for reading and a
// shorter one (zero padded) for writing, with a cp1252 letter in both.
Value Sample(const Row& r, std::size_t row, int pass) {
    switch (r.enc.kind) {
        case Kind::kI32:
            return static_cast<std::int64_t>(static_cast<std::int32_t>(
                0x80000000u | ((row + 1) * 0x01030507u + static_cast<unsigned>(pass) * 0x0F0Fu)));
        case Kind::kI16:
            return static_cast<std::int64_t>(static_cast<std::int16_t>(
                0x8000u |
                ((row * 0x0351u + static_cast<unsigned>(pass) * 0x77u + 0x0102u) & 0x7FFFu)));
        case Kind::kU8:
            return static_cast<std::int64_t>(
                0x80u | ((row * 37u + static_cast<unsigned>(pass) * 11u) & 0x7Fu));
        case Kind::kF64:
            return -0.1 * static_cast<double>(row + 1) - 123.4567 * pass;
        case Kind::kText: {
            const std::size_t len = pass == 0 ? r.enc.width : r.enc.width / 2;
            std::string s;
            for (std::size_t i = 0; i < len; ++i)
                s += static_cast<char>('A' + (row + i + static_cast<std::size_t>(pass)) % 26);
            if (len > 1) s[1] = '\xE9';
            return s;
        }
    }
    return {};
}

void PutRaw(Bytes& b, const Row& r, const Value& v) {
    switch (r.enc.kind) {
        case Kind::kI32:
            test::PutI32(b, r.offset, static_cast<std::int32_t>(std::get<std::int64_t>(v)));
            break;
        case Kind::kI16:
            test::PutI16(b, r.offset, static_cast<std::int16_t>(std::get<std::int64_t>(v)));
            break;
        case Kind::kU8:
            b.at(r.offset) = static_cast<std::uint8_t>(std::get<std::int64_t>(v));
            break;
        case Kind::kF64: {
            const auto u = std::bit_cast<std::uint64_t>(std::get<double>(v));
            for (std::size_t i = 0; i < 8; ++i)
                b.at(r.offset + i) = static_cast<std::uint8_t>(u >> (8 * i));
            break;
        }
        case Kind::kText: {
            const std::string& s = std::get<std::string>(v);
            for (std::size_t i = 0; i < r.enc.width; ++i)
                b.at(r.offset + i) = i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0;
            break;
        }
    }
}

Value ReadThrough(const FieldRef& f, const std::uint8_t* rec) {
    return std::visit(
        [&](const auto& field) -> Value {
            using F = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<F, Str>)
                return field.Read(rec);
            else if constexpr (std::is_same_v<F, F64>)
                return field.Read(rec);
            else
                return static_cast<std::int64_t>(field.Read(rec));
        },
        f);
}

void WriteThrough(const FieldRef& f, std::uint8_t* rec, const Value& v) {
    std::visit(
        [&](const auto& field) {
            using F = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<F, Str>)
                field.Write(rec, std::get<std::string>(v));
            else if constexpr (std::is_same_v<F, F64>)
                field.Write(rec, std::get<double>(v));
            else
                field.Write(rec, static_cast<typename F::Value>(std::get<std::int64_t>(v)));
        },
        f);
}

// The offsets at which two records differ, "" when they are equal.
std::string Differences(const Bytes& got, const Bytes& want) {
    std::string out;
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (got[i] == want[i]) continue;
        out += out.empty() ? "bytes differ at" : ",";
        out += ' ';
        out += std::to_string(i);
    }
    return out;
}

template <class R>
class Layout {
  public:
    explicit Layout(std::size_t size) : size_(size) {}

    Layout& Field(const char* name, FieldRef field, std::size_t offset, Encoding enc) {
        rows_.push_back({name, offset, enc, field});
        return *this;
    }
    // A list of `count` signed 32-bit slots from `offset` on.
    template <std::size_t N>
    Layout& Slots(const char* name, const I32Array<N>& field, std::size_t offset,
                  std::size_t count) {
        EXPECT_EQ(N, count) << name;
        for (std::size_t i = 0; i < std::min(N, count); ++i)
            rows_.push_back({std::string(name) + "[" + std::to_string(i) + "]", offset + 4 * i,
                             kI32, field[i]});
        return *this;
    }
    Layout& Kept(std::size_t offset, std::size_t width) {
        kept_.push_back({offset, width});
        return *this;
    }

    void Check() const {
        ASSERT_EQ(R::kSize, size_);
        ASSERT_EQ(sizeof(R), size_);
        CheckTiling();
        CheckRead();
        CheckWrite();
    }

  private:
    // The test's own tables must account for every byte once: a field left out of a row list
    // would otherwise go untested.
    void CheckTiling() const {
        std::vector<int> owner(size_, 0);
        for (const auto& r : rows_)
            for (std::size_t i = r.offset; i < r.offset + r.enc.width && i < size_; ++i) ++owner[i];
        for (const auto& [off, width] : kept_)
            for (std::size_t i = off; i < off + width && i < size_; ++i) ++owner[i];
        for (std::size_t i = 0; i < size_; ++i) EXPECT_EQ(owner[i], 1) << "byte " << i;
    }

    Bytes Raw(int pass) const {
        Bytes b(size_);
        for (std::size_t i = 0; i < size_; ++i) b[i] = Background(i);
        for (std::size_t n = 0; n < rows_.size(); ++n)
            PutRaw(b, rows_[n], Sample(rows_[n], n, pass));
        return b;
    }

    void CheckRead() const {
        const Bytes raw = Raw(0);
        R rec;
        std::copy(raw.begin(), raw.end(), rec.bytes.begin());
        for (std::size_t n = 0; n < rows_.size(); ++n)
            EXPECT_EQ(ReadThrough(rows_[n].field, rec.data()), Sample(rows_[n], n, 0))
                << rows_[n].name << " at " << rows_[n].offset;
    }

    void CheckWrite() const {
        R rec;
        for (std::size_t i = 0; i < size_; ++i) rec.bytes[i] = Background(i);
        for (std::size_t n = 0; n < rows_.size(); ++n)
            WriteThrough(rows_[n].field, rec.data(), Sample(rows_[n], n, 1));
        const Bytes got(rec.bytes.begin(), rec.bytes.end());
        EXPECT_EQ(Differences(got, Raw(1)), "");
    }

    std::size_t size_;
    std::vector<Row> rows_;
    std::vector<std::pair<std::size_t, std::size_t>> kept_;
};

// The documented name, checked by the compiler, and the accessor behind it.
#define NAMED(field) #field, R::field

TEST(Layout, NamesRecord) {
    using R = NamesRecord;
    Layout<R>(60).Field(NAMED(Name), 0, Text(51)).Field(NAMED(Id), 51, kI32).Kept(55, 5).Check();
}

TEST(Layout, StadiumRecord) {
    using R = StadiumRecord;
    Layout<R>(78)
        .Field(NAMED(Id), 0, kI32)
        .Field(NAMED(Name), 4, Text(51))
        .Kept(55, 1)
        .Field(NAMED(City), 56, kI32)
        .Field(NAMED(Capacity), 60, kI32)
        .Field(NAMED(Seating), 64, kI32)
        .Kept(68, 4)
        .Field(NAMED(NearbyStadium), 72, kI32)
        .Field(NAMED(Covered), 76, kU8)
        .Field(NAMED(Undersoil), 77, kU8)
        .Check();
}

TEST(Layout, CityRecord) {
    using R = CityRecord;
    Layout<R>(56)
        .Field(NAMED(Id), 0, kI32)
        .Field(NAMED(Name), 4, Text(26))
        .Kept(30, 1)
        .Field(NAMED(Nation), 31, kI32)
        .Field(NAMED(Longitude), 35, kF64)
        .Field(NAMED(Latitude), 43, kF64)
        .Field(NAMED(Attraction), 51, kU8)
        .Kept(52, 4)
        .Check();
}

TEST(Layout, ClubRecord) {
    using R = ClubRecord;
    Layout<R>(581)
        .Field(NAMED(Id), 0, kI32)
        .Field(NAMED(LongName), 4, Text(51))
        .Kept(55, 1)
        .Field(NAMED(ShortName), 56, Text(26))
        .Kept(82, 1)
        .Field(NAMED(Nation), 83, kI32)
        .Field(NAMED(Division), 87, kI32)
        .Field(NAMED(LastDivision), 91, kI32)
        .Field(NAMED(LastPosition), 95, kU8)
        .Kept(96, 4)
        .Field(NAMED(Status), 100, kU8)
        .Field(NAMED(Cash), 101, kI32)
        .Field(NAMED(Stadium), 105, kI32)
        .Field(NAMED(OwnStadium), 109, kU8)
        .Field(NAMED(ReserveStadium), 110, kI32)
        .Field(NAMED(ReserveMatchDay), 114, kU8)
        .Field(NAMED(AverageAttendance), 115, kI32)
        .Field(NAMED(MinimumAttendance), 119, kI32)
        .Field(NAMED(MaximumAttendance), 123, kI32)
        .Field(NAMED(Training), 127, kU8)
        .Field(NAMED(Reputation), 128, kI16)
        .Field(NAMED(Plc), 130, kU8)
        .Field(NAMED(HomeColour1), 131, kI32)
        .Field(NAMED(HomeColour2), 135, kI32)
        .Field(NAMED(AwayColour1), 139, kI32)
        .Field(NAMED(AwayColour2), 143, kI32)
        .Field(NAMED(ThirdColour1), 147, kI32)
        .Field(NAMED(ThirdColour2), 151, kI32)
        .Slots(NAMED(FavouriteStaff), 155, 3)
        .Slots(NAMED(DislikedStaff), 167, 3)
        .Slots(NAMED(RivalClubs), 179, 3)
        .Field(NAMED(Chairman), 191, kI32)
        .Slots(NAMED(Directors), 195, 3)
        .Field(NAMED(Manager), 207, kI32)
        .Field(NAMED(AssistantManager), 211, kI32)
        .Slots(NAMED(Players), 215, 50)
        .Slots(NAMED(Coaches), 415, 5)
        .Slots(NAMED(Scouts), 435, 7)
        .Slots(NAMED(Physios), 463, 5)
        .Kept(483, 98)
        .Check();
}

TEST(Layout, ClubCompRecord) {
    using R = ClubCompRecord;
    Layout<R>(107).Field(NAMED(Id), 0, kI32).Field(NAMED(Name), 4, Text(51)).Kept(55, 52).Check();
}

TEST(Layout, ColourRecord) {
    using R = ColourRecord;
    Layout<R>(58).Field(NAMED(Id), 0, kI32).Field(NAMED(Name), 4, Text(51)).Kept(55, 3).Check();
}

TEST(Layout, NationRecord) {
    using R = NationRecord;
    Layout<R>(290)
        .Field(NAMED(Id), 0, kI32)
        .Field(NAMED(LongName), 4, Text(51))
        .Kept(55, 1)
        .Field(NAMED(ShortName), 56, Text(26))
        .Kept(82, 1)
        .Field(NAMED(ThreeLetterName), 83, Text(4))
        .Field(NAMED(NationalityName), 87, Text(26))
        .Field(NAMED(Continent), 113, kI32)
        .Field(NAMED(Region), 117, kU8)
        .Kept(118, 1)
        .Field(NAMED(Language1), 119, kU8)
        .Field(NAMED(Language2), 120, kU8)
        .Field(NAMED(Language3), 121, kU8)
        .Field(NAMED(CapitalCity), 122, kI32)
        .Field(NAMED(StateOfDevelopment), 126, kU8)
        .Field(NAMED(Eec), 127, kU8)
        .Field(NAMED(NationalStadium), 128, kI32)
        .Field(NAMED(GameImportance), 132, kU8)
        .Field(NAMED(LeagueStandard), 133, kU8)
        .Kept(134, 8)
        .Field(NAMED(Reputation), 142, kI16)
        .Field(NAMED(HomeColour1), 144, kI32)
        .Field(NAMED(HomeColour2), 148, kI32)
        .Field(NAMED(AwayColour1), 152, kI32)
        .Field(NAMED(AwayColour2), 156, kI32)
        .Field(NAMED(ThirdColour1), 160, kI32)
        .Field(NAMED(ThirdColour2), 164, kI32)
        .Kept(168, 104)
        .Slots(NAMED(RivalNations), 272, 3)
        .Kept(284, 6)
        .Check();
}

TEST(Layout, ContinentRecord) {
    using R = ContinentRecord;
    Layout<R>(198).Field(NAMED(Id), 0, kI32).Field(NAMED(Name), 4, Text(26)).Kept(30, 168).Check();
}

TEST(Layout, StaffRecord) {
    using R = StaffRecord;
    Layout<R>(157)
        .Field(NAMED(Id), 0, kI32)
        .Field(NAMED(FirstName), 4, kI32)
        .Field(NAMED(SecondName), 8, kI32)
        .Field(NAMED(CommonName), 12, kI32)
        .Field(NAMED(BirthDay), 16, kI16)
        .Field(NAMED(BirthYear), 18, kI16)
        .Kept(20, 6)
        .Field(NAMED(Nation), 26, kI32)
        .Field(NAMED(SecondNation), 30, kI32)
        .Field(NAMED(InternationalCaps), 34, kU8)
        .Field(NAMED(InternationalGoals), 35, kU8)
        .Field(NAMED(NationEmployer), 36, kI32)
        .Field(NAMED(NationJob), 40, kU8)
        .Kept(41, 16)
        .Field(NAMED(Club), 57, kI32)
        .Field(NAMED(ClubJob), 61, kU8)
        .Field(NAMED(JoinedDay), 62, kI16)
        .Field(NAMED(JoinedYear), 64, kI16)
        .Kept(66, 4)
        .Field(NAMED(ContractDay), 70, kI16)
        .Field(NAMED(ContractYear), 72, kI16)
        .Kept(74, 4)
        .Field(NAMED(Wage), 78, kI32)
        .Field(NAMED(Value), 82, kI32)
        .Field(NAMED(Adaptability), 86, kU8)
        .Field(NAMED(Ambition), 87, kU8)
        .Field(NAMED(Determination), 88, kU8)
        .Field(NAMED(Loyalty), 89, kU8)
        .Field(NAMED(Pressure), 90, kU8)
        .Field(NAMED(Professionalism), 91, kU8)
        .Field(NAMED(Sportsmanship), 92, kU8)
        .Field(NAMED(Temperament), 93, kU8)
        .Field(NAMED(Squad), 94, kU8)
        .Kept(95, 2)
        .Slots(NAMED(FavouriteClubs), 97, 3)
        .Slots(NAMED(DislikedClubs), 109, 3)
        .Slots(NAMED(FavouriteStaff), 121, 3)
        .Slots(NAMED(DislikedStaff), 133, 3)
        .Field(NAMED(PlayerIndex), 145, kI32)
        .Kept(149, 4)
        .Field(NAMED(NonPlayerIndex), 153, kI32)
        .Check();
}

TEST(Layout, PlayerRecord) {
    using R = PlayerRecord;
    Layout<R>(70)
        .Field(NAMED(Id), 0, kI32)
        .Field(NAMED(SquadNumber), 4, kU8)
        .Field(NAMED(CurrentAbility), 5, kI16)
        .Field(NAMED(PotentialAbility), 7, kI16)
        .Field(NAMED(HomeReputation), 9, kI16)
        .Field(NAMED(CurrentReputation), 11, kI16)
        .Field(NAMED(WorldReputation), 13, kI16)
        .Field(NAMED(Goalkeeper), 15, kU8)
        .Field(NAMED(Sweeper), 16, kU8)
        .Field(NAMED(Defender), 17, kU8)
        .Field(NAMED(DefensiveMidfielder), 18, kU8)
        .Field(NAMED(Midfielder), 19, kU8)
        .Field(NAMED(AttackingMidfielder), 20, kU8)
        .Field(NAMED(Attacker), 21, kU8)
        .Field(NAMED(WingBack), 22, kU8)
        .Field(NAMED(RightSide), 23, kU8)
        .Field(NAMED(LeftSide), 24, kU8)
        .Field(NAMED(Central), 25, kU8)
        .Field(NAMED(FreeRole), 26, kU8)
        .Field(NAMED(Acceleration), 27, kU8)
        .Field(NAMED(Aggression), 28, kU8)
        .Field(NAMED(Agility), 29, kU8)
        .Field(NAMED(Anticipation), 30, kU8)
        .Field(NAMED(Balance), 31, kU8)
        .Field(NAMED(Bravery), 32, kU8)
        .Field(NAMED(Consistency), 33, kU8)
        .Field(NAMED(Corners), 34, kU8)
        .Field(NAMED(Crossing), 35, kU8)
        .Field(NAMED(Decisions), 36, kU8)
        .Field(NAMED(Dirtiness), 37, kU8)
        .Field(NAMED(Dribbling), 38, kU8)
        .Field(NAMED(Finishing), 39, kU8)
        .Field(NAMED(Flair), 40, kU8)
        .Field(NAMED(FreeKicks), 41, kU8)
        .Field(NAMED(Handling), 42, kU8)
        .Field(NAMED(Heading), 43, kU8)
        .Field(NAMED(ImportantMatches), 44, kU8)
        .Field(NAMED(InjuryProneness), 45, kU8)
        .Field(NAMED(Jumping), 46, kU8)
        .Field(NAMED(Leadership), 47, kU8)
        .Field(NAMED(LeftFoot), 48, kU8)
        .Field(NAMED(LongShots), 49, kU8)
        .Field(NAMED(Marking), 50, kU8)
        .Field(NAMED(Movement), 51, kU8)
        .Field(NAMED(NaturalFitness), 52, kU8)
        .Field(NAMED(OneOnOnes), 53, kU8)
        .Field(NAMED(Pace), 54, kU8)
        .Field(NAMED(Passing), 55, kU8)
        .Field(NAMED(Penalties), 56, kU8)
        .Field(NAMED(Positioning), 57, kU8)
        .Field(NAMED(Reflexes), 58, kU8)
        .Field(NAMED(RightFoot), 59, kU8)
        .Field(NAMED(Stamina), 60, kU8)
        .Field(NAMED(Strength), 61, kU8)
        .Field(NAMED(Tackling), 62, kU8)
        .Field(NAMED(Teamwork), 63, kU8)
        .Field(NAMED(Technique), 64, kU8)
        .Field(NAMED(ThrowIns), 65, kU8)
        .Field(NAMED(Versatility), 66, kU8)
        .Field(NAMED(Vision), 67, kU8)
        .Field(NAMED(WorkRate), 68, kU8)
        .Kept(69, 1)
        .Check();
}

TEST(Layout, IndexEntry) {
    using R = IndexEntry;
    Layout<R>(67)
        .Kept(0, 51)
        .Field(NAMED(BlockType), 51, kI32)
        .Kept(55, 4)
        .Field(NAMED(BlockOffset), 59, kI32)
        .Kept(63, 4)
        .Check();
}

TEST(Layout, NonPlayerRecord) {
    using R = NonPlayerRecord;
    Layout<R>(68)
        .Field(NAMED(Id), 0, kI32)
        .Field(NAMED(CurrentAbility), 4, kI16)
        .Field(NAMED(PotentialAbility), 6, kI16)
        .Field(NAMED(HomeReputation), 8, kI16)
        .Field(NAMED(CurrentReputation), 10, kI16)
        .Field(NAMED(WorldReputation), 12, kI16)
        .Field(NAMED(Attacking), 14, kU8)
        .Field(NAMED(Business), 15, kU8)
        .Field(NAMED(CoachingPlayers), 16, kU8)
        .Field(NAMED(CoachingGoalkeepers), 17, kU8)
        .Field(NAMED(CoachingTechnique), 18, kU8)
        .Field(NAMED(Directness), 19, kU8)
        .Field(NAMED(Discipline), 20, kU8)
        .Field(NAMED(CoachingFreeRoles), 21, kU8)
        .Field(NAMED(Interference), 22, kU8)
        .Field(NAMED(Judgement), 23, kU8)
        .Field(NAMED(JudgingPotential), 24, kU8)
        .Field(NAMED(ManHandling), 25, kU8)
        .Field(NAMED(Marking), 26, kU8)
        .Kept(27, 1)
        .Field(NAMED(Offside), 28, kU8)
        .Field(NAMED(Patience), 29, kU8)
        .Field(NAMED(Physiotherapy), 30, kU8)
        .Field(NAMED(Pressing), 31, kU8)
        .Field(NAMED(Resources), 32, kU8)
        .Field(NAMED(Tactics), 33, kU8)
        .Field(NAMED(Youngsters), 34, kU8)
        .Field(NAMED(Goalkeeper), 35, kI32)
        .Field(NAMED(Sweeper), 39, kI32)
        .Field(NAMED(Defender), 43, kI32)
        .Field(NAMED(DefensiveMidfielder), 47, kI32)
        .Field(NAMED(Midfielder), 51, kI32)
        .Field(NAMED(AttackingMidfielder), 55, kI32)
        .Field(NAMED(Attacker), 59, kI32)
        .Field(NAMED(WingBack), 63, kI32)
        .Kept(67, 1)
        .Check();
}

#undef NAMED

}  // namespace
}  // namespace vh::db
