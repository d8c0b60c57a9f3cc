#include "sample.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <system_error>
#include <unordered_set>
#include <utility>

#include "database/model/squad.h"
#include "database/records/catalogue.h"
#include "database/records/data_def.h"
#include "database/records/file_set.h"
#include "database/records/languages.h"
#include "database/records/text.h"
#include "platform/files.h"
#include "platform/native_file.h"
#include "sample_words.h"

namespace vh::sample {

namespace {

using namespace vh::db;

struct Sizes {
    int continents, colours, competitions, nations, cities, stadiums, clubs;
    int firstNames, secondNames, commonNames, persons;
};
constexpr Sizes kSmallSizes{6, 40, 12, 30, 48, 40, 24, 80, 120, 24, 400};
// The largest tables the editor can hold.
constexpr Sizes kFullSizes{6, 40, 500, 600, 5000, 9000, 29998, 22001, 60001, 7001, 50000};

// Records whose properties SampleSummary promises. The head of each table is fixed (see
// sample_words.cpp), so these places do not depend on the seed.
constexpr std::int32_t kFullPostsClub = 0;
constexpr std::int32_t kGapsClub = 1;
constexpr std::int32_t kNoManagerClub = 2;
constexpr std::int32_t kNoStadiumClub = 3;
constexpr std::array<std::int32_t, 2> kAthleticClubs = {4, 9};
constexpr std::string_view kAthletic = "Athletic";
constexpr std::array<std::int32_t, 2> kCentralParkStadiums = {2, 6};
constexpr std::string_view kCentralPark = "Central Park";
constexpr std::string_view kHalberg = "Halberg";  // twice in the head of the cities
constexpr std::int32_t kLongNameStadium = 7;
constexpr std::string_view kLongStadiumName = "Memorial Ground of the United Workers of Upper Vale";
static_assert(kLongStadiumName.size() == kLongNameWidth);
constexpr std::int32_t kAlbanianNation = 8;
constexpr int kSecondAlbanian = 34;

// index.dat. The editor reads only BlockType and BlockOffset; the other bytes are ours:
//   header  0..3  number of entries          4..7  number of person records
//   entry   0..50 block name (fixed string)  55..58 records in the block  63..66 record size
constexpr std::int32_t kIndexEntries = 2;

// The largest value the page of `table` accepts for the field over that member: values are drawn
// within what the editor accepts, so that the sample checks clean.
int Top(TableId table, std::string_view member, Part part = Part::kRecord) {
    const Field* f = TableOf(table).FindMember(part, member);
    if (!f) throw std::logic_error("no field over " + std::string(member));
    return f->max;
}
// The same for the field at that offset.
int TopAt(TableId table, std::size_t offset, Part part = Part::kRecord) {
    for (const Field& f : TableOf(table).fields)
        if (f.part == part && f.offset == offset) return f.max;
    throw std::logic_error("no field at offset " + std::to_string(offset));
}
const int kLanguages = static_cast<int>(kLanguageNames.size());

// ---- Randomness ------------------------------------------------------------------------------
// splitmix64: our own, so that a seed gives the same world with every standard library.
std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;

// Each table draws from a stream of its own, so that a change to one table leaves the others.
enum Stream : std::uint64_t {
    kFirstStream = 1,
    kSecondStream,
    kCommonStream,
    kContinentStream,
    kColourStream,
    kNationStream,
    kCityStream,
    kStadiumStream,
    kCompStream,
    kClubStream,
    kPeopleStream,
    kClubcompStream,
};
// A table's second stream: names drawn again when the first gave one already taken, so that the
// first stream, and every other byte, stays as it was.
constexpr std::uint64_t kAgain = 0x100;

class Rng {
  public:
    Rng(std::uint64_t seed, Stream stream) : state_(Mix(seed + kGolden * Mix(stream))) {}
    std::uint64_t Next() { return Mix(state_ += kGolden); }
    // lo..hi, both included
    int Between(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool Percent(int p) { return Between(0, 99) < p; }
    template <class C>
    const auto& Pick(const C& c) {
        return c[static_cast<std::size_t>(Next() % c.size())];
    }
    // A record number of a table of n records other than self (n > 1).
    std::int32_t Other(int n, std::int32_t self) {
        const int r = Between(0, n - 2);
        return r >= self ? r + 1 : r;
    }

  private:
    std::uint64_t state_;
};

// Bytes the editor carries without knowing their meaning get deterministic values that are never
// zero, so that a test can tell a carried byte from a cleared one.
struct ByteRange {
    std::size_t from, to;  // both included
};
class Filler {
  public:
    Filler(std::uint64_t seed, Stream stream) : base_(Mix(seed ^ Mix(stream + 0x4B4550ull))) {}
    template <std::size_t N, std::size_t K>
    void Fill(Record<N>& rec, std::int64_t recordNo, const std::array<ByteRange, K>& ranges) const {
        const std::uint64_t key = base_ + static_cast<std::uint64_t>(recordNo) * 1024;
        for (const ByteRange& r : ranges)
            for (std::size_t off = r.from; off <= r.to; ++off)
                rec.bytes[off] = static_cast<std::uint8_t>(Mix(key + off) % 255 + 1);
    }

  private:
    std::uint64_t base_;
};

constexpr std::array<ByteRange, 1> kNamesKept{{{55, 59}}};
constexpr std::array<ByteRange, 2> kStadiumKept{{{55, 55}, {68, 71}}};
constexpr std::array<ByteRange, 2> kCityKept{{{30, 30}, {52, 55}}};
constexpr std::array<ByteRange, 4> kClubKept{{{55, 55}, {82, 82}, {96, 99}, {483, 580}}};
constexpr std::array<ByteRange, 1> kCompKept{{{55, 106}}};
constexpr std::array<ByteRange, 1> kColourKept{{{55, 57}}};
constexpr std::array<ByteRange, 6> kNationKept{
    {{55, 55}, {82, 82}, {118, 118}, {134, 141}, {168, 271}, {284, 289}}};
constexpr std::array<ByteRange, 1> kContinentKept{{{30, 197}}};
constexpr std::array<ByteRange, 6> kStaffKept{
    {{20, 25}, {41, 56}, {66, 69}, {74, 77}, {95, 96}, {149, 152}}};
constexpr std::array<ByteRange, 1> kPlayerKept{{{69, 69}}};
constexpr std::array<ByteRange, 2> kNonPlayerKept{{{27, 27}, {67, 67}}};

// ---- Words -----------------------------------------------------------------------------------
std::string Ansi(std::string_view utf8) {
    auto bytes = Utf8ToCp1252(utf8);
    if (!bytes) throw std::logic_error("sample word without cp1252 form: " + std::string(utf8));
    return std::move(*bytes);
}

std::vector<std::string> AnsiList(std::span<const std::string_view> list) {
    std::vector<std::string> out;
    out.reserve(list.size());
    for (std::string_view w : list) out.push_back(Ansi(w));
    return out;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

class Words {
  public:
    Words()
        : syllables_(AnsiList(words::Syllables())),
          accented_(AnsiList(words::AccentedSyllables())),
          endings_(AnsiList(words::PlaceEndings())) {}

    // A made-up capitalised word of minSyl..maxSyl syllables.
    std::string Make(Rng& rng, int minSyl, int maxSyl, int accentPercent) const {
        std::string w = rng.Pick(syllables_);
        const int n = rng.Between(minSyl, maxSyl);
        for (int i = 1; i < n; ++i)
            w += rng.Percent(accentPercent) ? rng.Pick(accented_) : rng.Pick(syllables_);
        w[0] = Upper(w[0]);
        return w;
    }
    std::string Place(Rng& rng) const {
        std::string w = Make(rng, 2, 2, 8);
        if (rng.Percent(50)) w += rng.Pick(endings_);
        return w;
    }

  private:
    std::vector<std::string> syllables_, accented_, endings_;
};

// The names of one field of a table that a search or pick goes by, each given once: a name is
// taken as the field holds it, cut to the field's width.
class NameSet {
  public:
    explicit NameSet(std::size_t width) : width_(width) {}
    bool Take(std::string_view name) {
        return taken_.emplace(name.substr(0, std::min(name.size(), width_))).second;
    }
    // The first name that make(k) gives for k = first, first + 1, ... (count of them, in turn)
    // that is not taken yet; when all are, the first one numbered " 2", " 3", ... inside the
    // width.
    template <class Make>
    std::string FirstFree(std::size_t first, std::size_t count, Make make) {
        for (std::size_t k = 0; k < count; ++k) {
            std::string name = make((first + k) % count);
            if (Take(name)) return name;
        }
        const std::string base = make(first);
        for (int n = 2;; ++n) {
            std::string number(1, ' ');
            number += std::to_string(n);
            std::string name = base.substr(0, std::min(base.size(), width_ - number.size()));
            name += number;
            if (Take(name)) return name;
        }
    }

  private:
    std::size_t width_;
    std::unordered_set<std::string> taken_;
};

// The fixed head of a list, then made-up words up to n.
template <class MakeOne>
std::vector<std::string> NameList(std::span<const std::string_view> head, int n, MakeOne make) {
    std::vector<std::string> out = AnsiList(head.first(std::min(head.size(), std::size_t(n))));
    while (static_cast<int>(out.size()) < n) out.push_back(make());
    return out;
}

template <class R>
std::vector<std::uint8_t> FileBytes(const std::vector<R>& records) {
    std::vector<std::uint8_t> out(records.size() * R::kSize);
    for (std::size_t i = 0; i < records.size(); ++i)
        std::memcpy(out.data() + i * R::kSize, records[i].bytes.data(), R::kSize);
    return out;
}

template <std::size_t N>
void SetAll(ClubRecord& club, I32Array<N> list, std::int32_t value) {
    for (std::size_t i = 0; i < N; ++i) club.Set(list[i], value);
}

// `count` different slots of 0..capacity-1, in increasing order.
std::vector<int> RandomSlots(Rng& rng, int capacity, int count) {
    std::vector<int> slots(static_cast<std::size_t>(capacity));
    for (int i = 0; i < capacity; ++i) slots[static_cast<std::size_t>(i)] = i;
    for (int i = 0; i < count; ++i) std::swap(slots[i], slots[rng.Between(i, capacity - 1)]);
    slots.resize(static_cast<std::size_t>(count));
    std::sort(slots.begin(), slots.end());
    return slots;
}

// ---- People ----------------------------------------------------------------------------------
// People that SampleSummary names.
enum class Fact {
    kNone,
    kPlayer,
    kCommonNamePlayer,
    kFreePlayer,
    kManager,
    kNoPostStaff,
    kFreeStaff,
    kNationalManager
};

struct Role {
    bool player = false;
    std::int32_t club = -1;
    std::uint8_t job = 0;      // staff stand in the post of their job code (PostOfJob)
    int slot = 0;              // in the squad or the post
    int squadPlace = 0;        // players: order in the squad (first 16 are first squad)
    std::int32_t nation = -1;  // national side that employs the person
    Fact fact = Fact::kNone;
};

// ---- The generator ---------------------------------------------------------------------------
class Generator {
  public:
    Generator(const SampleOptions& opt)
        : opt_(opt), n_(opt.size == SampleSize::kFull ? kFullSizes : kSmallSizes) {}

    SampleData Run() {
        MakeNames();
        MakeContinents();
        MakeColours();
        MakeNations();
        MakeCities();
        MakeStadiums();
        MakeCompetitions();
        MakeClubs();
        MakePeople();
        return Finish();
    }

  private:
    Rng R(Stream s) const { return Rng(opt_.seed, s); }
    Rng Again(Stream s) const { return Rng(opt_.seed, static_cast<Stream>(s | kAgain)); }
    Filler F(Stream s) const { return Filler(opt_.seed, s); }

    static std::vector<NamesRecord> NamesRecords(const std::vector<std::string>& names,
                                                 const Filler& fill) {
        std::vector<NamesRecord> out(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            out[i].Set(NamesRecord::Name, names[i]);
            out[i].Set(NamesRecord::Id, static_cast<std::int32_t>(i));
            fill.Fill(out[i], static_cast<std::int64_t>(i), kNamesKept);
        }
        return out;
    }

    void MakeNames() {
        Rng r1 = R(kFirstStream), r2 = R(kSecondStream), r3 = R(kCommonStream);
        firstNames_ =
            NameList(words::FirstNames(), n_.firstNames, [&] { return words_.Make(r1, 2, 3, 10); });
        secondNames_ = NameList(words::SecondNames(), n_.secondNames, [&] {
            return r2.Percent(30) ? words_.Place(r2) : words_.Make(r2, 2, 3, 10);
        });
        commonNames_ = NameList(words::CommonNames(), n_.commonNames,
                                [&] { return words_.Make(r3, 2, 2, 15); });
    }

    void MakeContinents() {
        Rng rng = R(kContinentStream);
        const Filler fill = F(kContinentStream);
        const auto names =
            NameList(words::Continents(), n_.continents, [&] { return words_.Make(rng, 2, 3, 0); });
        continents_.resize(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            ContinentRecord& c = continents_[i];
            c.Set(ContinentRecord::Id, static_cast<std::int32_t>(i));
            c.Set(ContinentRecord::Name, names[i]);
            fill.Fill(c, static_cast<std::int64_t>(i), kContinentKept);
        }
    }

    void MakeColours() {
        Rng rng = R(kColourStream);
        const Filler fill = F(kColourStream);
        const auto names =
            NameList(words::Colours(), n_.colours, [&] { return words_.Make(rng, 2, 2, 0); });
        colours_.resize(names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            ColourRecord& c = colours_[i];
            c.Set(ColourRecord::Id, static_cast<std::int32_t>(i));  // 0, 1, 2, ... without gaps
            c.Set(ColourRecord::Name, names[i]);
            fill.Fill(c, static_cast<std::int64_t>(i), kColourKept);
        }
    }

    std::int32_t Colour(Rng& rng) const { return rng.Between(0, n_.colours - 1); }

    // City n is the capital of nation n and stadium n stands in city n (n < nations), so that
    // capitals and national stadiums are places of their own nation.
    void MakeNations() {
        Rng rng = R(kNationStream);
        const Filler fill = F(kNationStream);
        // Made-up names never begin with "Van": the filter tests count the ones that do.
        auto made = [&](Rng& from) {
            for (;;) {
                std::string w = words_.Make(from, 2, 3, 5);
                if (w.rfind("Van", 0) != 0) return w;
            }
        };
        nationNames_ = NameList(words::Nations(), n_.nations, [&] { return made(rng); });
        Rng again = Again(kNationStream);
        NameSet taken(NationRecord::ShortName.width);
        for (std::string& name : nationNames_)
            while (!taken.Take(name)) name = made(again);
        nations_.resize(nationNames_.size());
        for (int i = 0; i < n_.nations; ++i) {
            NationRecord& n = nations_[static_cast<std::size_t>(i)];
            const std::string& name = nationNames_[static_cast<std::size_t>(i)];
            n.Set(NationRecord::Id, i);
            n.Set(NationRecord::LongName, "Republic of " + name);
            n.Set(NationRecord::ShortName, name);
            std::string three;
            for (char c : name)
                if (c != ' ' && three.size() < 3) three += Upper(c);
            n.Set(NationRecord::ThreeLetterName, three);
            n.Set(NationRecord::NationalityName, name + (name.back() == 'a' ? "n" : "ian"));
            n.Set(NationRecord::Continent, rng.Between(0, n_.continents - 1));
            n.Set(NationRecord::Region, static_cast<std::uint8_t>(rng.Between(1, 12)));
            n.Set(NationRecord::Language1, static_cast<std::uint8_t>(rng.Between(1, kLanguages)));
            n.Set(NationRecord::Language2,
                  static_cast<std::uint8_t>(rng.Percent(50) ? rng.Between(1, kLanguages) : 0));
            n.Set(NationRecord::Language3,
                  static_cast<std::uint8_t>(rng.Percent(15) ? rng.Between(1, kLanguages) : 0));
            n.Set(NationRecord::CapitalCity, i % 10 == 9 ? -1 : i);
            n.Set(NationRecord::StateOfDevelopment, static_cast<std::uint8_t>(rng.Between(1, 3)));
            n.Set(NationRecord::Eec, static_cast<std::uint8_t>(rng.Between(1, 2)));
            n.Set(NationRecord::NationalStadium, i % 7 == 6 ? -1 : i);
            n.Set(NationRecord::GameImportance, static_cast<std::uint8_t>(rng.Between(
                                                    0, Top(TableId::kNations, "GameImportance"))));
            n.Set(NationRecord::LeagueStandard, static_cast<std::uint8_t>(rng.Between(
                                                    0, Top(TableId::kNations, "LeagueStandard"))));
            n.Set(NationRecord::Reputation,
                  static_cast<std::int16_t>(rng.Between(0, Top(TableId::kNations, "Reputation"))));
            for (I32 f : {NationRecord::HomeColour1, NationRecord::HomeColour2,
                          NationRecord::AwayColour1, NationRecord::AwayColour2,
                          NationRecord::ThirdColour1, NationRecord::ThirdColour2})
                n.Set(f, Colour(rng));
            for (std::size_t s = 0; s < 3; ++s)
                n.Set(NationRecord::RivalNations[s],
                      rng.Percent(50) ? rng.Other(n_.nations, i) : -1);
            fill.Fill(n, i, kNationKept);
        }
        nations_[kAlbanianNation].Set(NationRecord::Language1,
                                      static_cast<std::uint8_t>(kSecondAlbanian));
    }

    void MakeCities() {
        Rng rng = R(kCityStream);
        const Filler fill = F(kCityStream);
        cityNames_ = NameList(words::Cities(), n_.cities, [&] { return words_.Place(rng); });
        Rng again = Again(kCityStream);
        NameSet taken(CityRecord::Name.width);
        for (std::string& name : cityNames_) {
            if (opt_.sharedNames && name == kHalberg) continue;
            while (!taken.Take(name)) name = words_.Place(again);
        }
        cities_.resize(cityNames_.size());
        for (int i = 0; i < n_.cities; ++i) {
            CityRecord& c = cities_[static_cast<std::size_t>(i)];
            c.Set(CityRecord::Id, i);
            c.Set(CityRecord::Name, cityNames_[static_cast<std::size_t>(i)]);
            c.Set(CityRecord::Nation, i < n_.nations ? i : rng.Between(0, n_.nations - 1));
            // Whole ten-thousandths of a degree, as the city page stores them.
            c.Set(CityRecord::Longitude, rng.Between(-1800000, 1800000) / 10000.0);
            c.Set(CityRecord::Latitude, rng.Between(-900000, 900000) / 10000.0);
            c.Set(CityRecord::Attraction,
                  static_cast<std::uint8_t>(rng.Between(0, Top(TableId::kCities, "Attraction"))));
            fill.Fill(c, i, kCityKept);
        }
    }

    void MakeStadiums() {
        Rng rng = R(kStadiumStream);
        const Filler fill = F(kStadiumStream);
        const auto patterns = AnsiList(words::StadiumPatterns());
        NameSet taken(StadiumRecord::Name.width);
        stadiums_.resize(static_cast<std::size_t>(n_.stadiums));
        for (int i = 0; i < n_.stadiums; ++i) {
            StadiumRecord& s = stadiums_[static_cast<std::size_t>(i)];
            const std::int32_t city = i < n_.nations ? i : rng.Between(0, n_.cities - 1);
            const auto picked = static_cast<std::size_t>(rng.Next() % patterns.size());
            // A name given already: another pattern of the same city.
            const std::string name = taken.FirstFree(picked, patterns.size(), [&](std::size_t k) {
                std::string n = patterns[k];
                n.replace(n.find('%'), 1, cityNames_[static_cast<std::size_t>(city)]);
                return n;
            });
            s.Set(StadiumRecord::Id, i);
            s.Set(StadiumRecord::Name, name);
            s.Set(StadiumRecord::City, i % 17 == 16 ? -1 : city);
            const int capacity = rng.Between(2000, 90000);
            s.Set(StadiumRecord::Capacity, capacity);
            s.Set(StadiumRecord::Seating, capacity / 100 * rng.Between(20, 100));
            s.Set(StadiumRecord::NearbyStadium, rng.Percent(40) ? rng.Other(n_.stadiums, i) : -1);
            s.Set(StadiumRecord::Covered, static_cast<std::uint8_t>(rng.Between(0, 1)));
            s.Set(StadiumRecord::Undersoil, static_cast<std::uint8_t>(rng.Between(0, 1)));
            fill.Fill(s, i, kStadiumKept);
        }
        if (opt_.sharedNames)
            for (std::int32_t i : kCentralParkStadiums)
                stadiums_[i].Set(StadiumRecord::Name, kCentralPark);
        stadiums_[kLongNameStadium].Set(StadiumRecord::Name, kLongStadiumName);
    }

    void MakeCompetitions() {
        const Filler fill = F(kCompStream);
        const auto divisions = AnsiList(words::DivisionNames());
        const int tiers = static_cast<int>(divisions.size());
        comps_.resize(static_cast<std::size_t>(n_.competitions));
        for (int i = 0; i < n_.competitions; ++i) {
            ClubCompRecord& c = comps_[static_cast<std::size_t>(i)];
            const std::string& nation =
                nationNames_[static_cast<std::size_t>((i / tiers) % n_.nations)];
            c.Set(ClubCompRecord::Id, i);
            c.Set(ClubCompRecord::Name,
                  nation + " " + divisions[static_cast<std::size_t>(i % tiers)]);
            fill.Fill(c, i, kCompKept);
        }
    }

    void MakeClubs() {
        Rng rng = R(kClubStream);
        const Filler fill = F(kClubStream);
        const auto suffixes = AnsiList(words::ClubSuffixes());
        NameSet taken(ClubRecord::ShortName.width);
        clubs_.resize(static_cast<std::size_t>(n_.clubs));
        for (int i = 0; i < n_.clubs; ++i) {
            ClubRecord& c = clubs_[static_cast<std::size_t>(i)];
            const std::int32_t city = rng.Between(0, n_.cities - 1);
            const std::string& cityName = cityNames_[static_cast<std::size_t>(city)];
            const auto picked = static_cast<std::size_t>(rng.Next() % suffixes.size());
            // A name given already: another suffix after the same city. The long name follows
            // the short one, so it is as unique.
            const std::string shortName =
                taken.FirstFree(picked, suffixes.size(),
                                [&](std::size_t k) { return cityName + " " + suffixes[k]; });
            c.Set(ClubRecord::Id, i);
            c.Set(ClubRecord::LongName, shortName + " Football Club");
            c.Set(ClubRecord::ShortName, shortName);
            c.Set(ClubRecord::Nation,
                  cities_[static_cast<std::size_t>(city)].Get(CityRecord::Nation));
            const std::int32_t division =
                rng.Percent(90) ? rng.Between(0, n_.competitions - 1) : -1;
            c.Set(ClubRecord::Division, division);
            c.Set(ClubRecord::LastDivision,
                  rng.Percent(70) ? division
                                  : (rng.Percent(80) ? rng.Between(0, n_.competitions - 1) : -1));
            c.Set(ClubRecord::LastPosition, std::uint8_t{0});  // the club page accepts only 0
            c.Set(ClubRecord::Status,
                  static_cast<std::uint8_t>(rng.Between(1, Top(TableId::kClubs, "Status"))));
            c.Set(ClubRecord::Cash, rng.Between(0, Top(TableId::kClubs, "Cash") / 1000) * 1000);
            const std::int32_t stadium = i == kNoStadiumClub ? -1 : rng.Between(0, n_.stadiums - 1);
            c.Set(ClubRecord::Stadium, stadium);
            c.Set(ClubRecord::OwnStadium, static_cast<std::uint8_t>(rng.Percent(60) ? 0 : 1));
            const int r = rng.Between(0, 9);
            c.Set(ClubRecord::ReserveStadium,
                  r < 4 ? stadium : (r < 7 ? rng.Between(0, n_.stadiums - 1) : -1));
            c.Set(ClubRecord::ReserveMatchDay, static_cast<std::uint8_t>(rng.Between(
                                                   1, Top(TableId::kClubs, "ReserveMatchDay"))));
            const int capacity =
                stadium >= 0
                    ? stadiums_[static_cast<std::size_t>(stadium)].Get(StadiumRecord::Capacity)
                    : 5000;
            const int maximum = capacity / 100 * rng.Between(50, 100);
            const int average = maximum / 100 * rng.Between(40, 90);
            c.Set(ClubRecord::MaximumAttendance, maximum);
            c.Set(ClubRecord::AverageAttendance, average);
            c.Set(ClubRecord::MinimumAttendance, average / 100 * rng.Between(30, 90));
            c.Set(ClubRecord::Training,
                  static_cast<std::uint8_t>(rng.Between(0, Top(TableId::kClubs, "Training"))));
            c.Set(ClubRecord::Reputation,
                  static_cast<std::int16_t>(rng.Between(0, Top(TableId::kClubs, "Reputation"))));
            c.Set(ClubRecord::Plc, static_cast<std::uint8_t>(rng.Percent(20) ? 100 : 0));
            for (I32 f :
                 {ClubRecord::HomeColour1, ClubRecord::HomeColour2, ClubRecord::AwayColour1,
                  ClubRecord::AwayColour2, ClubRecord::ThirdColour1, ClubRecord::ThirdColour2})
                c.Set(f, Colour(rng));
            for (std::size_t s = 0; s < 3; ++s) {
                c.Set(ClubRecord::FavouriteStaff[s],
                      rng.Percent(40) ? rng.Between(0, n_.persons - 1) : -1);
                c.Set(ClubRecord::DislikedStaff[s],
                      rng.Percent(30) ? rng.Between(0, n_.persons - 1) : -1);
                c.Set(ClubRecord::RivalClubs[s], rng.Percent(50) ? rng.Other(n_.clubs, i) : -1);
            }
            // Posts and squad stay empty until the people are placed.
            for (Post post : kClubPosts)
                for (I32 f : PostSlots(post)) c.Set(f, -1);
            SetAll(c, ClubRecord::Players, -1);
            fill.Fill(c, i, kClubKept);
        }
        if (!opt_.sharedNames) return;
        const auto athletic = Ansi(kAthletic);
        for (std::int32_t i : kAthleticClubs) {
            ClubRecord& c = clubs_[static_cast<std::size_t>(i)];
            c.Set(ClubRecord::ShortName, athletic);
            c.Set(ClubRecord::LongName,
                  athletic + " Club " + cityNames_[static_cast<std::size_t>(i)]);
        }
    }

    // ---- people
    std::vector<Role> PlanRoles(Rng& rng) const {
        const int staffTotal = n_.persons * 3 / 10;
        const int playerTotal = n_.persons - staffTotal;
        const int freePlayers = std::max(3, playerTotal / 20);
        const int freeStaff = std::max(6, staffTotal / 10);
        int playersLeft = playerTotal - freePlayers;
        int staffLeft = staffTotal - freeStaff;
        std::vector<Role> roles;
        roles.reserve(static_cast<std::size_t>(n_.persons));

        auto staff = [&](std::int32_t club, int job, int slot = 0, Fact fact = Fact::kNone) {
            if (staffLeft == 0) return;
            --staffLeft;
            Role r;
            r.club = club;
            r.slot = slot;
            r.job = static_cast<std::uint8_t>(job);
            r.fact = fact;
            roles.push_back(r);
        };
        // Directors (job 2) draw one of their codes 2..4.
        auto list = [&](std::int32_t club, int job, const std::vector<int>& slots) {
            for (int s : slots) staff(club, job == 2 ? rng.Between(2, 4) : job, s);
        };
        auto squad = [&](std::int32_t club, int size, const std::vector<int>& skip) {
            int slot = 0;
            for (int k = 0; k < size && playersLeft > 0 && slot < 50; ++k, ++slot) {
                while (std::find(skip.begin(), skip.end(), slot) != skip.end() ||
                       (skip.empty() && rng.Percent(8) && 50 - slot > size - k))
                    ++slot;
                --playersLeft;
                Role r;
                r.player = true;
                r.club = club;
                r.job = static_cast<std::uint8_t>(rng.Percent(75) ? 0 : rng.Between(11, 16));
                r.slot = slot;
                r.squadPlace = k;
                if (club == kFullPostsClub && k < 2)
                    r.fact = k == 0 ? Fact::kPlayer : Fact::kCommonNamePlayer;
                roles.push_back(r);
            }
        };

        // Job codes: 1 chairman, 2 director, 5 manager, 6 assistant manager, 8 coach, 9 scout,
        // 10 physio, 7 at a club in no post. Every post of club 0 is taken.
        staff(kFullPostsClub, 1);
        list(kFullPostsClub, 2, {0, 1, 2});
        staff(kFullPostsClub, 5, 0, Fact::kManager);
        staff(kFullPostsClub, 6);
        list(kFullPostsClub, 8, {0, 1, 2, 3, 4});
        list(kFullPostsClub, 9, {0, 1, 2, 3, 4, 5, 6});
        list(kFullPostsClub, 10, {0, 1, 2});
        squad(kFullPostsClub, 22, {});
        // Club 1 has empty slots between filled ones, and a person in no post.
        staff(kGapsClub, 1);
        list(kGapsClub, 2, {0, 2});
        staff(kGapsClub, 5);
        list(kGapsClub, 8, {1, 3});
        staff(kGapsClub, 7, 0, Fact::kNoPostStaff);
        squad(kGapsClub, 16, {3, 9});
        // Club 2 has no manager.
        staff(kNoManagerClub, 1);
        staff(kNoManagerClub, 6);
        list(kNoManagerClub, 8, {0});
        squad(kNoManagerClub, 14, {});
        // The rest at random, until the people run out; the last club never gets a squad.
        for (std::int32_t c = kNoManagerClub + 1; c < n_.clubs - 1; ++c) {
            if (playersLeft == 0 && staffLeft == 0) break;
            if (rng.Percent(85)) staff(c, 1);
            list(c, 2, RandomSlots(rng, 3, rng.Between(0, 3)));
            if (rng.Percent(90)) staff(c, 5);
            if (rng.Percent(60)) staff(c, 6);
            list(c, 8, RandomSlots(rng, 5, rng.Between(0, 3)));
            list(c, 9, RandomSlots(rng, 7, rng.Between(0, 3)));
            list(c, 10, RandomSlots(rng, 3, rng.Between(0, 2)));
            if (rng.Percent(25)) staff(c, 7);
            squad(c, rng.Between(11, 25), {});
        }

        // Without a club: players, then staff; a third of those staff manage a national side.
        for (int k = 0; k < freePlayers + playersLeft; ++k) {
            Role r;
            r.player = true;
            r.fact = k == 0 ? Fact::kFreePlayer : Fact::kNone;
            roles.push_back(r);
        }
        static constexpr std::array<int, 5> kFreeJobs = {5, 8, 9, 10, 7};
        const int unattached = freeStaff + staffLeft;
        for (int k = 0; k < unattached; ++k) {
            Role r;
            r.job = static_cast<std::uint8_t>(rng.Pick(kFreeJobs));
            if (k < unattached / 3 && k < n_.nations) r.nation = k;
            r.fact = k == 0 ? Fact::kNationalManager
                            : (k == unattached / 3 ? Fact::kFreeStaff : Fact::kNone);
            roles.push_back(r);
        }

        // Ids in a shuffled order, so that players and staff are mixed through staff.dat.
        for (std::size_t i = roles.size() - 1; i > 0; --i)
            std::swap(roles[i],
                      roles[static_cast<std::size_t>(rng.Between(0, static_cast<int>(i)))]);
        // A player at Id 0 and a staff member at Id 1: then no named person below has a block
        // index equal to the Id, and a test cannot confuse the two.
        auto bring = [&](std::size_t to, bool player) {
            for (std::size_t i = to; i < roles.size(); ++i) {
                if (roles[i].player == player && roles[i].fact == Fact::kNone) {
                    std::swap(roles[to], roles[i]);
                    return;
                }
            }
        };
        bring(0, true);
        bring(1, false);
        return roles;
    }

    void MakePeople() {
        Rng rng = R(kPeopleStream);
        const Filler fill = F(kPeopleStream);
        roles_ = PlanRoles(rng);
        staff_.resize(roles_.size());
        auto name = [&](int count, int nonePercent, int zeroPercent) {
            const int r = rng.Between(0, 99);
            if (r < nonePercent) return -1;
            if (r < nonePercent + zeroPercent) return 0;
            return rng.Between(1, count - 1);
        };
        for (std::size_t id = 0; id < roles_.size(); ++id) {
            const Role& role = roles_[id];
            StaffRecord& p = staff_[id];
            const auto self = static_cast<std::int32_t>(id);
            p.Set(StaffRecord::Id, self);
            const bool fullName = role.fact == Fact::kPlayer || role.fact == Fact::kManager;
            p.Set(StaffRecord::FirstName,
                  fullName ? rng.Between(1, n_.firstNames - 1) : name(n_.firstNames, 1, 1));
            p.Set(StaffRecord::SecondName,
                  fullName ? rng.Between(1, n_.secondNames - 1) : name(n_.secondNames, 1, 1));
            std::int32_t common =
                rng.Percent(10) ? rng.Between(1, n_.commonNames - 1) : (rng.Percent(70) ? 0 : -1);
            if (fullName) common = 0;
            if (role.fact == Fact::kCommonNamePlayer) common = rng.Between(1, n_.commonNames - 1);
            p.Set(StaffRecord::CommonName, common);
            const int birthYear = role.player ? rng.Between(1963, 1984) : rng.Between(1925, 1970);
            p.Set(StaffRecord::BirthDay, static_cast<std::int16_t>(rng.Between(1, 365)));
            p.Set(StaffRecord::BirthYear, static_cast<std::int16_t>(birthYear));
            const std::int32_t nation = rng.Between(0, n_.nations - 1);
            p.Set(StaffRecord::Nation, nation);
            p.Set(StaffRecord::SecondNation, rng.Percent(10) ? rng.Other(n_.nations, nation) : -1);
            const int caps = rng.Percent(70) ? 0 : rng.Between(1, role.player ? 120 : 60);
            p.Set(StaffRecord::InternationalCaps, static_cast<std::uint8_t>(caps));
            p.Set(StaffRecord::InternationalGoals,
                  static_cast<std::uint8_t>(rng.Between(0, std::min(caps, 40))));
            p.Set(StaffRecord::NationEmployer, role.nation);
            p.Set(StaffRecord::NationJob, static_cast<std::uint8_t>(role.nation >= 0 ? 5 : 0));
            p.Set(StaffRecord::Club, role.club);
            p.Set(StaffRecord::ClubJob, role.job);
            p.Set(StaffRecord::JoinedDay, static_cast<std::int16_t>(rng.Between(1, 365)));
            p.Set(StaffRecord::JoinedYear,
                  static_cast<std::int16_t>(rng.Between(std::max(birthYear + 16, 1980), 2000)));
            p.Set(StaffRecord::ContractDay, static_cast<std::int16_t>(rng.Between(1, 365)));
            // Players' contracts end by 2003, staff contracts by 2008: each as its page accepts.
            const TableId page = role.player ? TableId::kPlayers : TableId::kStaff;
            p.Set(StaffRecord::ContractYear,
                  static_cast<std::int16_t>(rng.Between(2001, Top(page, "ContractYear"))));
            p.Set(StaffRecord::Wage,
                  rng.Between(role.player ? 2 : 5, role.player ? 500 : 200) * 100);
            p.Set(StaffRecord::Value, role.player ? rng.Between(0, 3000) * 10000 : 0);
            for (U8 f :
                 {StaffRecord::Adaptability, StaffRecord::Ambition, StaffRecord::Determination,
                  StaffRecord::Loyalty, StaffRecord::Pressure, StaffRecord::Professionalism,
                  StaffRecord::Sportsmanship, StaffRecord::Temperament})
                p.Set(f, static_cast<std::uint8_t>(rng.Between(1, TopAt(page, f.offset))));
            p.Set(StaffRecord::Squad,
                  static_cast<std::uint8_t>(role.player ? (role.squadPlace < 16 ? 1 : 2) : 0));
            for (std::size_t s = 0; s < 3; ++s) {
                p.Set(StaffRecord::FavouriteClubs[s],
                      rng.Percent(40) ? rng.Between(0, n_.clubs - 1) : -1);
                p.Set(StaffRecord::DislikedClubs[s],
                      rng.Percent(30) ? rng.Between(0, n_.clubs - 1) : -1);
                p.Set(StaffRecord::FavouriteStaff[s],
                      rng.Percent(25) ? rng.Other(n_.persons, self) : -1);
                p.Set(StaffRecord::DislikedStaff[s],
                      rng.Percent(20) ? rng.Other(n_.persons, self) : -1);
            }
            if (role.player) {
                p.Set(StaffRecord::PlayerIndex, static_cast<std::int32_t>(players_.size()));
                p.Set(StaffRecord::NonPlayerIndex, -1);
                players_.push_back(
                    MakePlayer(rng, role, static_cast<std::int32_t>(players_.size())));
            } else {
                p.Set(StaffRecord::PlayerIndex, -1);
                p.Set(StaffRecord::NonPlayerIndex, static_cast<std::int32_t>(nonPlayers_.size()));
                nonPlayers_.push_back(
                    MakeNonPlayer(rng, static_cast<std::int32_t>(nonPlayers_.size())));
            }
            fill.Fill(p, self, kStaffKept);
            if (role.club >= 0) Place(role, self);
        }
        for (std::size_t i = 0; i < players_.size(); ++i)
            fill.Fill(players_[i], static_cast<std::int64_t>(1000000 + i), kPlayerKept);
        for (std::size_t i = 0; i < nonPlayers_.size(); ++i)
            fill.Fill(nonPlayers_[i], static_cast<std::int64_t>(2000000 + i), kNonPlayerKept);
    }

    static PlayerRecord MakePlayer(Rng& rng, const Role& role, std::int32_t index) {
        PlayerRecord r;
        r.Set(PlayerRecord::Id, index);
        r.Set(PlayerRecord::SquadNumber,
              static_cast<std::uint8_t>(
                  role.club >= 0
                      ? role.slot + 1
                      : rng.Between(1, Top(TableId::kPlayers, "SquadNumber", Part::kPlayer))));
        const int best = Top(TableId::kPlayers, "PotentialAbility", Part::kPlayer);
        const int current = rng.Between(20, best - 10);
        r.Set(PlayerRecord::CurrentAbility, static_cast<std::int16_t>(current));
        r.Set(PlayerRecord::PotentialAbility,
              static_cast<std::int16_t>(rng.Between(current, best)));
        const int home = rng.Between(0, Top(TableId::kPlayers, "HomeReputation", Part::kPlayer));
        const int now = rng.Between(0, home);
        r.Set(PlayerRecord::HomeReputation, static_cast<std::int16_t>(home));
        r.Set(PlayerRecord::CurrentReputation, static_cast<std::int16_t>(now));
        r.Set(PlayerRecord::WorldReputation, static_cast<std::int16_t>(rng.Between(0, now)));
        // Position ratings and attributes: one byte each, Goalkeeper through WorkRate.
        for (std::size_t off = PlayerRecord::Goalkeeper.offset;
             off <= PlayerRecord::WorkRate.offset; ++off)
            r.Set(U8{off}, static_cast<std::uint8_t>(
                               rng.Between(1, TopAt(TableId::kPlayers, off, Part::kPlayer))));
        return r;
    }

    static NonPlayerRecord MakeNonPlayer(Rng& rng, std::int32_t index) {
        using N = NonPlayerRecord;
        N r;
        r.Set(N::Id, index);
        const int best = Top(TableId::kStaff, "PotentialAbility", Part::kNonPlayer);
        const int current = rng.Between(20, best - 10);
        r.Set(N::CurrentAbility, static_cast<std::int16_t>(current));
        r.Set(N::PotentialAbility, static_cast<std::int16_t>(rng.Between(current, best)));
        const int home = rng.Between(0, Top(TableId::kStaff, "HomeReputation", Part::kNonPlayer));
        const int now = rng.Between(0, home);
        r.Set(N::HomeReputation, static_cast<std::int16_t>(home));
        r.Set(N::CurrentReputation, static_cast<std::int16_t>(now));
        r.Set(N::WorldReputation, static_cast<std::int16_t>(rng.Between(0, now)));
        // One-byte skills Attacking..Marking and Offside..Youngsters (byte 27 between is kept).
        auto skill = [&](std::size_t off) {
            return rng.Between(1, TopAt(TableId::kStaff, off, Part::kNonPlayer));
        };
        for (std::size_t off = N::Attacking.offset; off <= N::Marking.offset; ++off)
            r.Set(U8{off}, static_cast<std::uint8_t>(skill(off)));
        for (std::size_t off = N::Offside.offset; off <= N::Youngsters.offset; ++off)
            r.Set(U8{off}, static_cast<std::uint8_t>(skill(off)));
        for (I32 f : {N::Goalkeeper, N::Sweeper, N::Defender, N::DefensiveMidfielder, N::Midfielder,
                      N::AttackingMidfielder, N::Attacker, N::WingBack})
            r.Set(f, skill(f.offset));
        return r;
    }

    void Place(const Role& role, std::int32_t id) {
        ClubRecord& c = clubs_[static_cast<std::size_t>(role.club)];
        const auto slot = static_cast<std::size_t>(role.slot);
        if (role.player)
            c.Set(ClubRecord::Players[slot], id);
        else if (const auto slots = PostSlots(PostOfJob(role.job)); !slots.empty())
            c.Set(slots[slot], id);
    }

    std::vector<std::uint8_t> IndexBytes(std::int32_t playerOffset,
                                         std::int32_t nonPlayerOffset) const {
        std::vector<std::uint8_t> out(kIndexHeaderSize + kIndexEntries * IndexEntry::kSize);
        Record<kIndexHeaderSize> header;
        header.Set(I32{0}, kIndexEntries);
        header.Set(I32{4}, static_cast<std::int32_t>(staff_.size()));
        std::memcpy(out.data(), header.bytes.data(), kIndexHeaderSize);
        struct Block {
            std::string_view name;
            int type, count, offset, size;
        };
        const std::array<Block, kIndexEntries> blocks = {{
            {"players", kPlayerBlockType, static_cast<int>(players_.size()), playerOffset,
             static_cast<int>(PlayerRecord::kSize)},
            {"non-players", kNonPlayerBlockType, static_cast<int>(nonPlayers_.size()),
             nonPlayerOffset, static_cast<int>(NonPlayerRecord::kSize)},
        }};
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            IndexEntry e;
            Str{0, kLongNameWidth}.Write(e.data(), blocks[i].name);
            e.Set(IndexEntry::BlockType, blocks[i].type);
            e.Set(I32{55}, blocks[i].count);
            e.Set(IndexEntry::BlockOffset, blocks[i].offset);
            e.Set(I32{63}, blocks[i].size);
            std::memcpy(out.data() + kIndexHeaderSize + i * IndexEntry::kSize, e.data(),
                        IndexEntry::kSize);
        }
        return out;
    }

    SampleData Finish() {
        SampleData d;
        SampleSummary& s = d.summary;
        const std::int64_t personBytes =
            static_cast<std::int64_t>(staff_.size()) * StaffRecord::kSize;
        const std::int64_t playerBytes =
            static_cast<std::int64_t>(players_.size()) * PlayerRecord::kSize;
        s.playerBlockOffset = static_cast<std::int32_t>(personBytes);
        s.nonPlayerBlockOffset = static_cast<std::int32_t>(personBytes + playerBytes);

        std::vector<std::uint8_t> staff = FileBytes(staff_);
        for (const auto& block : {FileBytes(players_), FileBytes(nonPlayers_)})
            staff.insert(staff.end(), block.begin(), block.end());

        auto add = [&](std::string_view name, std::vector<std::uint8_t> bytes) {
            d.files.push_back({std::string(name), std::move(bytes)});
        };
        add("stadium.dat", FileBytes(stadiums_));
        add("city.dat", FileBytes(cities_));
        add("club.dat", FileBytes(clubs_));
        add("club_comp.dat", FileBytes(comps_));
        add("nation.dat", FileBytes(nations_));
        add("staff.dat", std::move(staff));
        add("first_names.dat", FileBytes(NamesRecords(firstNames_, F(kFirstStream))));
        add("second_names.dat", FileBytes(NamesRecords(secondNames_, F(kSecondStream))));
        add("common_names.dat", FileBytes(NamesRecords(commonNames_, F(kCommonStream))));
        add("colour.dat", FileBytes(colours_));
        add("continent.dat", FileBytes(continents_));
        if (opt_.clubcomp) {
            // No editor reads it; its layout is unknown. Opaque bytes, so that backups carry it.
            Rng rng = R(kClubcompStream);
            std::vector<std::uint8_t> bytes(2048);
            for (auto& b : bytes) b = static_cast<std::uint8_t>(rng.Next() >> 56);
            add("clubcomp.dat", std::move(bytes));
        }
        add("index.dat", IndexBytes(s.playerBlockOffset, s.nonPlayerBlockOffset));

        s.continents = n_.continents;
        s.colours = n_.colours;
        s.competitions = n_.competitions;
        s.nations = n_.nations;
        s.cities = n_.cities;
        s.stadiums = n_.stadiums;
        s.clubs = n_.clubs;
        s.firstNames = n_.firstNames;
        s.secondNames = n_.secondNames;
        s.commonNames = n_.commonNames;
        s.persons = static_cast<int>(staff_.size());
        s.players = static_cast<int>(players_.size());
        s.nonPlayers = static_cast<int>(nonPlayers_.size());

        for (std::size_t id = 0; id < roles_.size(); ++id) {
            const auto i = static_cast<std::int32_t>(id);
            switch (roles_[id].fact) {
                case Fact::kNone:
                    break;
                case Fact::kPlayer:
                    s.player = i;
                    break;
                case Fact::kCommonNamePlayer:
                    s.commonNamePlayer = i;
                    break;
                case Fact::kFreePlayer:
                    s.freePlayer = i;
                    break;
                case Fact::kManager:
                    s.manager = i;
                    break;
                case Fact::kNoPostStaff:
                    s.noPostStaff = i;
                    break;
                case Fact::kFreeStaff:
                    s.freeStaff = i;
                    break;
                case Fact::kNationalManager:
                    s.nationalManager = i;
                    break;
            }
        }
        s.clubWithFullPosts = kFullPostsClub;
        s.clubWithGaps = kGapsClub;
        s.clubWithoutManager = kNoManagerClub;
        s.clubWithoutStadium = kNoStadiumClub;
        s.clubWithoutSquad = n_.clubs - 1;
        if (opt_.sharedNames) {
            s.clubsSharingShortName = {kAthleticClubs[0], kAthleticClubs[1]};
            s.stadiumsSharingName = {kCentralParkStadiums[0], kCentralParkStadiums[1]};
            s.citiesSharingName = FirstTwo(cityNames_, kHalberg);
        }
        s.secondNamesAlike = FirstTwo(secondNames_, "Berg");
        s.longNameStadium = kLongNameStadium;
        s.albanianNation = kAlbanianNation;
        return d;
    }

    static IdPair FirstTwo(const std::vector<std::string>& names, std::string_view name) {
        IdPair p;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] != name) continue;
            (p.first < 0 ? p.first : p.second) = static_cast<std::int32_t>(i);
            if (p.second >= 0) break;
        }
        return p;
    }

    SampleOptions opt_;
    Sizes n_;
    Words words_;
    std::vector<std::string> firstNames_, secondNames_, commonNames_, nationNames_, cityNames_;
    std::vector<ContinentRecord> continents_;
    std::vector<ColourRecord> colours_;
    std::vector<NationRecord> nations_;
    std::vector<CityRecord> cities_;
    std::vector<StadiumRecord> stadiums_;
    std::vector<ClubCompRecord> comps_;
    std::vector<ClubRecord> clubs_;
    std::vector<Role> roles_;
    std::vector<StaffRecord> staff_;
    std::vector<PlayerRecord> players_;
    std::vector<NonPlayerRecord> nonPlayers_;
};

std::string ErrnoText(int err) {
    return std::error_code(err, std::generic_category()).message();
}

}  // namespace

SampleData BuildSample(const SampleOptions& options) {
    return Generator(options).Run();
}

std::optional<std::string> ExistingDataFile(const std::filesystem::path& dir) {
    auto check = [&](std::string_view name) -> std::optional<std::string> {
        const auto p = platform::ResolveCase(dir / std::string(name.substr(1)));  // drop the '\'
        if (platform::Exists(p)) return p.filename().string();
        return std::nullopt;
    };
    for (std::string_view name : kAttributeList)
        if (auto found = check(name)) return found;
    return std::nullopt;
}

SampleSummary WriteSample(const std::filesystem::path& dir, const SampleOptions& options) {
    if (!options.overwrite) {
        if (auto existing = ExistingDataFile(dir))
            throw SampleError(dir.string() + " already holds " + *existing +
                              "; nothing was written");
    }
    SampleData data = BuildSample(options);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) throw SampleError("cannot create " + dir.string() + ": " + ec.message());
    if (!platform::IsDirectory(dir)) throw SampleError(dir.string() + " is not a directory");
    // A whole directory of generated files, not a change to data a user holds: written directly
    // rather than through the write set and its journal.
    for (const SampleFile& f : data.files) {
        // Over an existing file in any letter case, rather than beside it.
        const auto path = platform::ResolveCase(dir / f.name);
        platform::NativeFile out;
        int err = out.Open(path, platform::OpenMode::kCreateTruncate);
        if (!err) err = out.WriteAt(f.bytes.data(), f.bytes.size(), 0);
        const int closeErr = out.IsOpen() ? out.Close() : 0;
        if (!err) err = closeErr;
        if (err) throw SampleError("cannot write " + path.string() + ": " + ErrnoText(err));
    }
    return data.summary;
}

std::string_view SizeName(SampleSize size) {
    return size == SampleSize::kFull ? "full" : "small";
}

std::optional<SampleSize> ParseSize(std::string_view text) {
    if (text == "small") return SampleSize::kSmall;
    if (text == "full") return SampleSize::kFull;
    return std::nullopt;
}

}  // namespace vh::sample
