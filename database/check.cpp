#include "check.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <span>
#include <type_traits>
#include <unordered_map>

#include "blocks.h"
#include "data_def.h"
#include "errors.h"
#include "file_set.h"
#include "person.h"
#include "record_file.h"
#include "squad.h"
#include "text.h"

namespace vh::db {

namespace {

// One file of the directory, read whole.
struct Table {
    std::string name;  // "club.dat"
    std::size_t recordSize = 1;
    std::vector<std::uint8_t> bytes;
    std::int64_t count = 0;  // whole records

    const std::uint8_t* At(std::int64_t n) const {
        return bytes.data() + static_cast<std::size_t>(n) * recordSize;
    }
};

Table ReadTable(const std::string& dataPath, std::string_view name, std::size_t recordSize) {
    Table t;
    t.name = std::string(name.substr(1));  // without its backslash
    t.recordSize = recordSize;
    RecordFile f;
    f.Bind(dataPath + std::string(name));
    f.Reset(1, Access::kReadOnly);
    t.bytes.resize(static_cast<std::size_t>(f.RecordCount()));
    if (!t.bytes.empty()) f.Read(t.bytes.data(), static_cast<std::int64_t>(t.bytes.size()));
    f.Close();
    t.count = static_cast<std::int64_t>(t.bytes.size() / recordSize);
    return t;
}

std::string Num(std::int64_t v) {
    return std::to_string(v);
}

bool IsUndefinedCp1252(std::uint8_t b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// Text of a name for a report: UTF-8, the undefined bytes spelled as \xNN.
std::string Shown(std::string_view bytes) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        const auto b = i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0;
        const bool odd = i < bytes.size() && (b < 0x20 || IsUndefinedCp1252(b));
        if (i == bytes.size() || odd) {
            out += Cp1252ToUtf8(bytes.substr(from, i - from));
            if (odd) {
                static constexpr char kHex[] = "0123456789ABCDEF";
                out += "\\x";
                out += kHex[b >> 4];
                out += kHex[b & 15];
            }
            from = i + 1;
        }
    }
    return out;
}

Subject PersonSubject(const std::uint8_t* person) {
    StaffRecord r;
    std::copy_n(person, StaffRecord::kSize, r.bytes.begin());
    return IsPlayerJob(r.Get(StaffRecord::ClubJob)) ? Subject::kPlayer : Subject::kStaff;
}

template <class F>
auto Get(const std::uint8_t* rec, const F& field) {
    return field.Read(rec);
}

class Checker {
  public:
    explicit Checker(const std::string& dataPath) {
        names_[0] = ReadTable(dataPath, "\\first_names.dat", NamesRecord::kSize);
        names_[1] = ReadTable(dataPath, "\\second_names.dat", NamesRecord::kSize);
        names_[2] = ReadTable(dataPath, "\\common_names.dat", NamesRecord::kSize);
        stadium_ = ReadTable(dataPath, "\\stadium.dat", StadiumRecord::kSize);
        city_ = ReadTable(dataPath, "\\city.dat", CityRecord::kSize);
        club_ = ReadTable(dataPath, "\\club.dat", ClubRecord::kSize);
        comp_ = ReadTable(dataPath, "\\club_comp.dat", ClubCompRecord::kSize);
        colour_ = ReadTable(dataPath, "\\colour.dat", ColourRecord::kSize);
        nation_ = ReadTable(dataPath, "\\nation.dat", NationRecord::kSize);
        continent_ = ReadTable(dataPath, "\\continent.dat", ContinentRecord::kSize);
        staff_ = ReadTable(dataPath, kStaffFile, 1);
        index_ = ReadTable(dataPath, kIndexFile, 1);
    }

    CheckReport Run() {
        Sizes();
        Blocks();  // settles how many persons staff.dat holds
        Ids();
        References();
        Squads();
        PersonBlocks();
        Texts();
        Duplicates();
        Ranges();
        return std::move(report_);
    }

  private:
    void Add(Severity s, CheckKind k, const std::string& file, std::int64_t record,
             std::string field, std::string value, std::string message,
             Subject subject = Subject::kOther) {
        if (report_.findings.size() >= kMaxFindings) {
            ++report_.omitted;
            if (s == Severity::kError) ++report_.omittedErrors;
            return;
        }
        report_.findings.push_back(Finding{s, k, file, record, std::move(field), std::move(value),
                                           std::move(message), subject});
    }
    void Error(CheckKind k, const Table& t, std::int64_t record, std::string field,
               std::string value, std::string message, Subject subject = Subject::kOther) {
        Add(Severity::kError, k, t.name, record, std::move(field), std::move(value),
            std::move(message), subject);
    }
    void Warning(CheckKind k, const Table& t, std::int64_t record, std::string field,
                 std::string value, std::string message, Subject subject = Subject::kOther) {
        Add(Severity::kWarning, k, t.name, record, std::move(field), std::move(value),
            std::move(message), subject);
    }

    const std::uint8_t* Person(std::int64_t id) const {
        return staff_.bytes.data() + static_cast<std::size_t>(id) * StaffRecord::kSize;
    }

    // --- sizes ---------------------------------------------------------------------------------
    void Sizes() {
        for (const Table* t : {&names_[0], &names_[1], &names_[2], &stadium_, &city_, &club_,
                               &comp_, &colour_, &nation_, &continent_}) {
            const std::size_t odd = t->bytes.size() % t->recordSize;
            if (odd)
                Error(CheckKind::kSize, *t, t->count, "", Num(static_cast<std::int64_t>(odd)),
                      Num(static_cast<std::int64_t>(odd)) +
                          " bytes after the last whole record of " +
                          Num(static_cast<std::int64_t>(t->recordSize)) + " bytes");
        }
        if (index_.bytes.size() < kIndexHeaderSize) {
            Error(CheckKind::kSize, index_, -1, "",
                  Num(static_cast<std::int64_t>(index_.bytes.size())),
                  "shorter than its 8-byte header");
        } else if (const auto odd = (index_.bytes.size() - kIndexHeaderSize) % IndexEntry::kSize) {
            Error(CheckKind::kSize, index_,
                  static_cast<std::int64_t>((index_.bytes.size() - kIndexHeaderSize) /
                                            IndexEntry::kSize),
                  "", Num(static_cast<std::int64_t>(odd)),
                  Num(static_cast<std::int64_t>(odd)) +
                      " bytes after the last whole entry of 67 bytes");
        }
    }

    // --- blocks of staff.dat -------------------------------------------------------------------
    struct Block {
        std::int64_t entry;
        std::int32_t type;
        std::int64_t offset;
        std::int64_t end = 0;
    };

    static bool KnownBlock(std::int32_t type) {
        return type == kPlayerBlockType || type == kNonPlayerBlockType;
    }

    void Blocks() {
        const std::int64_t staffSize = static_cast<std::int64_t>(staff_.bytes.size());
        std::span<const std::uint8_t> entries;
        if (index_.bytes.size() >= kIndexHeaderSize)
            entries = std::span(index_.bytes).subspan(kIndexHeaderSize);
        // An entry of another type than the two blocks is the game's business: it is reported
        // only where it overlaps another block.
        std::vector<Block> blocks;
        for (std::size_t e = 0; (e + 1) * IndexEntry::kSize <= entries.size(); ++e) {
            const std::uint8_t* rec = entries.data() + e * IndexEntry::kSize;
            const Block b{static_cast<std::int64_t>(e), Get(rec, IndexEntry::BlockType),
                          Get(rec, IndexEntry::BlockOffset)};
            if (b.offset < 0 || b.offset > staffSize) {
                if (KnownBlock(b.type))
                    Error(CheckKind::kBlock, index_, b.entry, "BlockOffset", Num(b.offset),
                          "the block of type " + Num(b.type) + " lies outside staff.dat (" +
                              Num(staffSize) + " bytes)");
                continue;
            }
            blocks.push_back(b);
        }
        std::vector<Block> byOffset = blocks;
        std::stable_sort(byOffset.begin(), byOffset.end(),
                         [](const Block& a, const Block& b) { return a.offset < b.offset; });
        // Entries at offset 0 describe the person records rather than a block after them.
        for (std::size_t i = 1; i < byOffset.size(); ++i)
            if (byOffset[i].offset > 0 && byOffset[i].offset == byOffset[i - 1].offset)
                Error(CheckKind::kBlock, index_, byOffset[i].entry, "BlockOffset",
                      Num(byOffset[i].offset),
                      "the block overlaps the block of entry " + Num(byOffset[i - 1].entry));
        // A block ends where the next one starts, or at the end of staff.dat: as the editor
        // finds it.
        for (Block& b : blocks) {
            b.end = staffSize;
            for (const Block& o : blocks)
                if (o.offset > b.offset) b.end = std::min(b.end, o.offset);
        }

        // The persons as the editor lists them.
        const std::int64_t personEnd = PersonRecordsEnd(entries);
        const std::int64_t personBytes = personEnd < 0 ? staffSize : std::min(staffSize, personEnd);
        personCount_ = PersonRecordCount(staffSize, personEnd);
        if (const auto odd = personBytes % static_cast<std::int64_t>(StaffRecord::kSize))
            Error(CheckKind::kSize, staff_, personCount_, "", Num(odd),
                  Num(odd) + " bytes between the last whole person record and the first block");

        auto find = [&](std::int32_t type, std::size_t recordSize, const char* what,
                        BlockExtent& out) {
            const auto it = std::find_if(blocks.begin(), blocks.end(),
                                         [&](const Block& b) { return b.type == type; });
            if (it == blocks.end()) {
                Error(CheckKind::kBlock, index_, -1, "BlockType", Num(type),
                      std::string("index.dat lists no ") + what + " inside staff.dat");
                return;
            }
            out.present = true;
            out.offset = it->offset;
            out.count = (it->end - it->offset) / static_cast<std::int64_t>(recordSize);
            if (const auto odd = (it->end - it->offset) % static_cast<std::int64_t>(recordSize))
                Error(CheckKind::kBlock, index_, it->entry, "BlockOffset", Num(it->offset),
                      std::string("the ") + what + " ends with " + Num(odd) +
                          " bytes that are no whole record");
        };
        find(kPlayerBlockType, PlayerRecord::kSize, "player block", playerBlock_);
        find(kNonPlayerBlockType, NonPlayerRecord::kSize, "non-player block", nonPlayerBlock_);
    }

    // --- Ids ---------------------------------------------------------------------------------
    void Ids() {
        auto ids = [&](const Table& t, const I32& field, const char* what) {
            for (std::int64_t n = 0; n < t.count; ++n) {
                const std::int32_t id = Get(t.At(n), field);
                if (id != n)
                    Error(CheckKind::kId, t, n, "Id", Num(id),
                          std::string(what) + " has another Id than its record number");
            }
        };
        ids(names_[0], NamesRecord::Id, "the name");
        ids(names_[1], NamesRecord::Id, "the name");
        ids(names_[2], NamesRecord::Id, "the name");
        ids(stadium_, StadiumRecord::Id, "the stadium");
        ids(city_, CityRecord::Id, "the city");
        ids(club_, ClubRecord::Id, "the club");
        ids(comp_, ClubCompRecord::Id, "the competition");
        ids(colour_, ColourRecord::Id, "the colour");
        ids(nation_, NationRecord::Id, "the nation");
        ids(continent_, ContinentRecord::Id, "the continent");
        for (std::int64_t n = 0; n < personCount_; ++n) {
            const std::int32_t id = Get(Person(n), StaffRecord::Id);
            if (id != n)
                Error(CheckKind::kId, staff_, n, "Id", Num(id),
                      "the person has another Id than its record number", PersonSubject(Person(n)));
        }
        auto blockIds = [&](const BlockExtent& b, std::size_t size, const char* what) {
            for (std::int64_t n = 0; b.present && n < b.count; ++n) {
                const std::int32_t id = Get(
                    staff_.bytes.data() + b.offset + static_cast<std::size_t>(n) * size, I32{0});
                if (id != n)
                    Error(CheckKind::kId, staff_, n, std::string(what) + ".Id", Num(id),
                          std::string("record ") + Num(n) + " of the " + what +
                              " has another Id than its number");
            }
        };
        blockIds(playerBlock_, PlayerRecord::kSize, "player block");
        blockIds(nonPlayerBlock_, NonPlayerRecord::kSize, "non-player block");
    }

    // --- references ----------------------------------------------------------------------------
    // -1 or a record of the target; another negative is a warning. `field` is the field's name,
    // or a function that makes it: names are made only for findings.
    template <class Name>
    static std::string FieldText(const Name& field) {
        if constexpr (std::is_invocable_v<const Name&>)
            return field();
        else
            return std::string(field);
    }
    template <class Name>
    bool Ref(const Table& t, std::int64_t n, const Name& field, std::int32_t v, const char* target,
             std::int64_t targetCount, Subject subject) {
        if (v == -1) return false;
        if (v < 0) {
            Warning(CheckKind::kReference, t, n, FieldText(field), Num(v),
                    "a negative reference other than -1 (read as none)", subject);
            return false;
        }
        if (v >= targetCount) {
            Error(CheckKind::kReference, t, n, FieldText(field), Num(v),
                  "no record " + Num(v) + " in " + target + " (it has " + Num(targetCount) + ")",
                  subject);
            return false;
        }
        return true;
    }

    static auto Slot(const char* name, std::size_t k) {
        return
            [name, k] { return std::string(name) + "[" + Num(static_cast<std::int64_t>(k)) + "]"; };
    }

    template <std::size_t N>
    void RefList(const Table& t, std::int64_t n, const char* name, I32Array<N> list,
                 const char* target, std::int64_t targetCount, Subject subject) {
        for (std::size_t k = 0; k < N; ++k)
            Ref(t, n, Slot(name, k), Get(t.At(n), list[k]), target, targetCount, subject);
    }

    void References() {
        const std::int64_t stadiums = stadium_.count, cities = city_.count, clubs = club_.count,
                           comps = comp_.count, colours = colour_.count, nations = nation_.count,
                           continents = continent_.count;
        for (std::int64_t n = 0; n < stadium_.count; ++n) {
            const auto* r = stadium_.At(n);
            const Subject s = Subject::kStadium;
            Ref(stadium_, n, "City", Get(r, StadiumRecord::City), "city.dat", cities, s);
            Ref(stadium_, n, "NearbyStadium", Get(r, StadiumRecord::NearbyStadium), "stadium.dat",
                stadiums, s);
        }
        for (std::int64_t n = 0; n < city_.count; ++n)
            Ref(city_, n, "Nation", Get(city_.At(n), CityRecord::Nation), "nation.dat", nations,
                Subject::kCity);

        using C = ClubRecord;
        static const std::array<std::pair<const char*, I32>, 6> kClubColours = {{
            {"HomeColour1", C::HomeColour1},
            {"HomeColour2", C::HomeColour2},
            {"AwayColour1", C::AwayColour1},
            {"AwayColour2", C::AwayColour2},
            {"ThirdColour1", C::ThirdColour1},
            {"ThirdColour2", C::ThirdColour2},
        }};
        for (std::int64_t n = 0; n < club_.count; ++n) {
            const auto* r = club_.At(n);
            const Subject s = Subject::kClub;
            Ref(club_, n, "Nation", Get(r, C::Nation), "nation.dat", nations, s);
            Ref(club_, n, "Division", Get(r, C::Division), "club_comp.dat", comps, s);
            Ref(club_, n, "LastDivision", Get(r, C::LastDivision), "club_comp.dat", comps, s);
            Ref(club_, n, "Stadium", Get(r, C::Stadium), "stadium.dat", stadiums, s);
            Ref(club_, n, "ReserveStadium", Get(r, C::ReserveStadium), "stadium.dat", stadiums, s);
            for (const auto& [name, f] : kClubColours)
                Ref(club_, n, name, Get(r, f), "colour.dat", colours, s);
            RefList(club_, n, "FavouriteStaff", C::FavouriteStaff, "staff.dat", personCount_, s);
            RefList(club_, n, "DislikedStaff", C::DislikedStaff, "staff.dat", personCount_, s);
            RefList(club_, n, "RivalClubs", C::RivalClubs, "club.dat", clubs, s);
            // Squad and post slots are checked with the squads, where a bad one is reported.
        }

        using N = NationRecord;
        static const std::array<std::pair<const char*, I32>, 6> kNationColours = {{
            {"HomeColour1", N::HomeColour1},
            {"HomeColour2", N::HomeColour2},
            {"AwayColour1", N::AwayColour1},
            {"AwayColour2", N::AwayColour2},
            {"ThirdColour1", N::ThirdColour1},
            {"ThirdColour2", N::ThirdColour2},
        }};
        static const std::array<std::pair<const char*, U8>, 3> kLanguages = {{
            {"Language1", N::Language1},
            {"Language2", N::Language2},
            {"Language3", N::Language3},
        }};
        for (std::int64_t n = 0; n < nation_.count; ++n) {
            const auto* r = nation_.At(n);
            const Subject s = Subject::kNation;
            Ref(nation_, n, "Continent", Get(r, N::Continent), "continent.dat", continents, s);
            Ref(nation_, n, "CapitalCity", Get(r, N::CapitalCity), "city.dat", cities, s);
            Ref(nation_, n, "NationalStadium", Get(r, N::NationalStadium), "stadium.dat", stadiums,
                s);
            for (const auto& [name, f] : kNationColours)
                Ref(nation_, n, name, Get(r, f), "colour.dat", colours, s);
            RefList(nation_, n, "RivalNations", N::RivalNations, "nation.dat", nations, s);
            for (const auto& [name, f] : kLanguages)
                if (const int lang = Get(r, f); lang > 60)
                    Error(CheckKind::kReference, nation_, n, name, Num(lang),
                          "no language " + Num(lang) + " (0 for none, or 1 to 60)", s);
        }

        using S = StaffRecord;
        for (std::int64_t n = 0; n < personCount_; ++n) {
            const auto* r = Person(n);
            const Subject s = PersonSubject(r);
            Ref(staff_, n, "FirstName", Get(r, S::FirstName), "first_names.dat", names_[0].count,
                s);
            Ref(staff_, n, "SecondName", Get(r, S::SecondName), "second_names.dat", names_[1].count,
                s);
            // A common name of 0 is none, unlike every other reference.
            if (const std::int32_t common = Get(r, S::CommonName); common != 0)
                Ref(staff_, n, "CommonName", common, "common_names.dat", names_[2].count, s);
            Ref(staff_, n, "Nation", Get(r, S::Nation), "nation.dat", nations, s);
            Ref(staff_, n, "SecondNation", Get(r, S::SecondNation), "nation.dat", nations, s);
            Ref(staff_, n, "NationEmployer", Get(r, S::NationEmployer), "nation.dat", nations, s);
            Ref(staff_, n, "Club", Get(r, S::Club), "club.dat", clubs, s);
            StaffRefList(n, "FavouriteClubs", S::FavouriteClubs, "club.dat", clubs, s);
            StaffRefList(n, "DislikedClubs", S::DislikedClubs, "club.dat", clubs, s);
            StaffRefList(n, "FavouriteStaff", S::FavouriteStaff, "staff.dat", personCount_, s);
            StaffRefList(n, "DislikedStaff", S::DislikedStaff, "staff.dat", personCount_, s);
        }
    }

    void StaffRefList(std::int64_t n, const char* name, I32Array<3> list, const char* target,
                      std::int64_t count, Subject s) {
        for (std::size_t k = 0; k < 3; ++k)
            Ref(staff_, n, Slot(name, k), Get(Person(n), list[k]), target, count, s);
    }

    // --- squads and posts ----------------------------------------------------------------------
    struct Listing {
        std::int32_t club = -1;
        Post post = Post::kNone;  // kNone: the squad
        std::size_t slot = 0;
    };

    static std::string SlotName(Post post, std::size_t slot) {
        switch (post) {
            case Post::kNone:
                return "Players[" + Num(static_cast<std::int64_t>(slot)) + "]";
            case Post::kChairman:
                return "Chairman";
            case Post::kDirectors:
                return "Directors[" + Num(static_cast<std::int64_t>(slot)) + "]";
            case Post::kManager:
                return "Manager";
            case Post::kAssistantManager:
                return "AssistantManager";
            case Post::kCoaches:
                return "Coaches[" + Num(static_cast<std::int64_t>(slot)) + "]";
            case Post::kScouts:
                return "Scouts[" + Num(static_cast<std::int64_t>(slot)) + "]";
            case Post::kPhysios:
                return "Physios[" + Num(static_cast<std::int64_t>(slot)) + "]";
        }
        return {};
    }
    static const char* PostName(Post post) {
        switch (post) {
            case Post::kNone:
                return "squad";
            case Post::kChairman:
                return "chairman's post";
            case Post::kDirectors:
                return "directors";
            case Post::kManager:
                return "manager's post";
            case Post::kAssistantManager:
                return "assistant manager's post";
            case Post::kCoaches:
                return "coaches";
            case Post::kScouts:
                return "scouts";
            case Post::kPhysios:
                return "physios";
        }
        return "";
    }

    void Squads() {
        // Every listing of every person first, so that a person listed by two clubs is reported
        // at the club that is not his.
        std::vector<std::vector<Listing>> listed(static_cast<std::size_t>(personCount_));
        for (std::int64_t c = 0; c < club_.count; ++c) {
            auto list = [&](Post post, std::size_t slot, const I32& field) {
                const std::int32_t id = Get(club_.At(c), field);
                if (Ref(
                        club_, c, [&] { return SlotName(post, slot); }, id, "staff.dat",
                        personCount_, Subject::kClub))
                    listed[static_cast<std::size_t>(id)].push_back(
                        Listing{static_cast<std::int32_t>(c), post, slot});
            };
            for (Post post : kClubPosts) {
                const auto slots = PostSlots(post);
                for (std::size_t s = 0; s < slots.size(); ++s) list(post, s, slots[s]);
            }
            for (std::size_t s = 0; s < ClubRecord::Players.kCount; ++s)
                list(Post::kNone, s, ClubRecord::Players[s]);
        }

        for (std::int64_t n = 0; n < personCount_; ++n) {
            const auto* p = Person(n);
            const std::int32_t club = Get(p, StaffRecord::Club);
            const int job = Get(p, StaffRecord::ClubJob);
            const bool player = IsPlayerJob(job);
            const Post post = player ? Post::kNone : PostOfJob(job);
            const auto& at = listed[static_cast<std::size_t>(n)];
            // The listing that agrees with the person, if any; every other one is a fault.
            const auto home = std::find_if(at.begin(), at.end(), [&](const Listing& l) {
                return l.club == club && l.post == post && (player || post != Post::kNone);
            });
            for (auto l = at.begin(); l != at.end(); ++l) {
                if (l == home) continue;
                const std::string where = SlotName(l->post, l->slot);
                std::string why;
                if (l->club != club)
                    why = "person " + Num(n) + " has Club " + Num(club) + ", not this club";
                else if (l->post != post || (post == Post::kNone && !player))
                    why = l->post == Post::kNone
                              ? "the squad lists person " + Num(n) + ", whose ClubJob " + Num(job) +
                                    " is not a player's"
                              : "person " + Num(n) + " stands in the " + PostName(l->post) +
                                    ", but his ClubJob " + Num(job) +
                                    (player ? std::string(" is a player's")
                                     : post == Post::kNone
                                         ? std::string(" has no post")
                                         : " is for the " + std::string(PostName(post)));
                else
                    why = "person " + Num(n) + " is listed twice at this club";
                Error(CheckKind::kSquad, club_, l->club, where, Num(n), why, Subject::kClub);
            }
            if (home != at.end() && !player && home->slot >= AppointableSlots(post).size())
                Warning(CheckKind::kSquad, club_, home->club, SlotName(post, home->slot), Num(n),
                        "a release clears only the first " +
                            Num(static_cast<std::int64_t>(AppointableSlots(post).size())) +
                            " slots of the " + PostName(post) + ": he would stay listed here",
                        Subject::kClub);
            // A person whose club is a club stands where his job code says.
            if (club < 0 || club >= club_.count || (!player && post == Post::kNone)) continue;
            if (home == at.end())
                Error(CheckKind::kSquad, staff_, n, "Club", Num(club),
                      std::string("club ") + Num(club) + " does not list him in its " +
                          PostName(post) + " (ClubJob " + Num(job) + ")",
                      player ? Subject::kPlayer : Subject::kStaff);
        }
    }

    // --- each person's block record -----------------------------------------------------------
    void PersonBlocks() {
        std::vector<std::int64_t> playerOwner(static_cast<std::size_t>(playerBlock_.count), -1);
        std::vector<std::int64_t> staffOwner(static_cast<std::size_t>(nonPlayerBlock_.count), -1);
        auto check = [&](std::int64_t n, const char* field, std::int32_t index,
                         const BlockExtent& block, std::vector<std::int64_t>& owners, bool required,
                         const char* what, Subject s) {
            if (!block.present) return;
            if (index < 0) {
                if (required)
                    Error(CheckKind::kBlock, staff_, n, field, Num(index),
                          std::string("the person has no ") + what + " record", s);
                return;
            }
            if (index >= block.count) {
                Error(CheckKind::kBlock, staff_, n, field, Num(index),
                      std::string("no record ") + Num(index) + " in the " + what +
                          " block (it has " + Num(block.count) + ")",
                      s);
                return;
            }
            auto& owner = owners[static_cast<std::size_t>(index)];
            if (owner >= 0)
                Error(CheckKind::kBlock, staff_, n, field, Num(index),
                      std::string("the ") + what + " record is also person " + Num(owner) +
                          "'s: a save of one changes the other",
                      s);
            else
                owner = n;
        };
        // The index a person's kind needs first, so that a shared record is reported at the
        // person who should not have it.
        for (bool required : {true, false})
            for (std::int64_t n = 0; n < personCount_; ++n) {
                const auto* p = Person(n);
                const bool player = IsPlayerJob(Get(p, StaffRecord::ClubJob));
                const Subject s = player ? Subject::kPlayer : Subject::kStaff;
                if (player == required)
                    check(n, "PlayerIndex", Get(p, StaffRecord::PlayerIndex), playerBlock_,
                          playerOwner, required, "player", s);
                else
                    check(n, "NonPlayerIndex", Get(p, StaffRecord::NonPlayerIndex), nonPlayerBlock_,
                          staffOwner, required, "non-player", s);
            }
    }

    // --- texts ---------------------------------------------------------------------------------
    void Texts() {
        auto texts = [&](const Table& t, std::initializer_list<std::pair<const char*, Str>> fields,
                         Subject s) {
            for (std::int64_t n = 0; n < t.count; ++n)
                for (const auto& [name, f] : fields) {
                    const std::string text = f.Read(t.At(n));
                    const auto bad = std::find_if(text.begin(), text.end(), [](char c) {
                        return IsUndefinedCp1252(static_cast<std::uint8_t>(c));
                    });
                    if (bad != text.end())
                        Error(CheckKind::kText, t, n, name, Shown(text),
                              "byte " + Shown(std::string_view(&*bad, 1)) +
                                  " is no character of the Windows code page",
                              s);
                }
        };
        texts(names_[0], {{"Name", NamesRecord::Name}}, Subject::kOther);
        texts(names_[1], {{"Name", NamesRecord::Name}}, Subject::kOther);
        texts(names_[2], {{"Name", NamesRecord::Name}}, Subject::kOther);
        texts(stadium_, {{"Name", StadiumRecord::Name}}, Subject::kStadium);
        texts(city_, {{"Name", CityRecord::Name}}, Subject::kCity);
        texts(club_, {{"LongName", ClubRecord::LongName}, {"ShortName", ClubRecord::ShortName}},
              Subject::kClub);
        texts(comp_, {{"Name", ClubCompRecord::Name}}, Subject::kOther);
        texts(colour_, {{"Name", ColourRecord::Name}}, Subject::kOther);
        texts(nation_,
              {{"LongName", NationRecord::LongName},
               {"ShortName", NationRecord::ShortName},
               {"ThreeLetterName", NationRecord::ThreeLetterName},
               {"NationalityName", NationRecord::NationalityName}},
              Subject::kNation);
        texts(continent_, {{"Name", ContinentRecord::Name}}, Subject::kOther);
    }

    // --- duplicates ----------------------------------------------------------------------------
    // Searches and picks take the first record whose name equals the text: a later record of the
    // same name is out of their reach.
    void Duplicates() {
        auto dup = [&](const Table& t, const char* name, const Str& f, Subject s,
                       const char* reach) {
            std::unordered_map<std::string, std::int64_t> first;
            first.reserve(static_cast<std::size_t>(t.count));
            for (std::int64_t n = 0; n < t.count; ++n) {
                std::string text = f.Read(t.At(n));
                if (text.empty()) continue;
                const auto [it, inserted] = first.emplace(std::move(text), n);
                if (!inserted)
                    Warning(CheckKind::kDuplicate, t, n, name, Shown(it->first),
                            "record " + Num(it->second) + " has the same name: " + reach, s);
            }
        };
        const char* search = "a search by this name finds that one";
        const char* pick = "a pick by this name stores that one";
        const char* both = "a search or pick by this name finds that one";
        dup(stadium_, "Name", StadiumRecord::Name, Subject::kStadium, both);
        dup(city_, "Name", CityRecord::Name, Subject::kCity, both);
        dup(club_, "LongName", ClubRecord::LongName, Subject::kClub, search);
        dup(club_, "ShortName", ClubRecord::ShortName, Subject::kClub, both);
        dup(nation_, "LongName", NationRecord::LongName, Subject::kNation, search);
        dup(nation_, "ShortName", NationRecord::ShortName, Subject::kNation, both);
        dup(comp_, "Name", ClubCompRecord::Name, Subject::kOther, pick);
        dup(continent_, "Name", ContinentRecord::Name, Subject::kOther, pick);
    }

    // --- ranges --------------------------------------------------------------------------------
    // `prefix` + `field` names the field; the text is made only for a finding.
    void Range(const Table& t, std::int64_t n, const char* field, std::int64_t v, std::int64_t lo,
               std::int64_t hi, Subject s, const char* prefix = "") {
        if (v < lo || v > hi)
            Warning(CheckKind::kRange, t, n, std::string(prefix) + field, Num(v),
                    "outside " + Num(lo) + ".." + Num(hi) + ", what its page accepts", s);
    }

    void Ranges() {
        for (std::int64_t n = 0; n < stadium_.count; ++n) {
            const auto* r = stadium_.At(n);
            const std::int32_t capacity = Get(r, StadiumRecord::Capacity);
            Range(stadium_, n, "Capacity", capacity, 0, 500000, Subject::kStadium);
            Range(stadium_, n, "Seating", Get(r, StadiumRecord::Seating), 0,
                  std::clamp(capacity, 0, 500000), Subject::kStadium);
        }
        using S = StaffRecord;
        for (std::int64_t n = 0; n < personCount_; ++n) {
            const auto* r = Person(n);
            const Subject s = PersonSubject(r);
            // Days of the year; 0 is kept for "no date".
            Range(staff_, n, "BirthDay", Get(r, S::BirthDay), 0, 365, s);
            Range(staff_, n, "JoinedDay", Get(r, S::JoinedDay), 0, 365, s);
            Range(staff_, n, "ContractDay", Get(r, S::ContractDay), 0, 365, s);
            Range(staff_, n, "Wage", Get(r, S::Wage), 0, 100000, s);
            for (std::size_t off = S::Adaptability.offset; off <= S::Temperament.offset; ++off)
                Range(staff_, n, kPersonality[off - S::Adaptability.offset], Get(r, U8{off}), 0, 20,
                      s);
        }
        // The block records, by the names of their fields.
        using P = PlayerRecord;
        static const std::array<std::pair<const char*, I16>, 5> kPlayerAbilities = {{
            {"CurrentAbility", P::CurrentAbility},
            {"PotentialAbility", P::PotentialAbility},
            {"HomeReputation", P::HomeReputation},
            {"CurrentReputation", P::CurrentReputation},
            {"WorldReputation", P::WorldReputation},
        }};
        static const std::array<const char*, 54> kPlayerAttributes = {
            "Goalkeeper",      "Sweeper",
            "Defender",        "DefensiveMidfielder",
            "Midfielder",      "AttackingMidfielder",
            "Attacker",        "WingBack",
            "RightSide",       "LeftSide",
            "Central",         "FreeRole",
            "Acceleration",    "Aggression",
            "Agility",         "Anticipation",
            "Balance",         "Bravery",
            "Consistency",     "Corners",
            "Crossing",        "Decisions",
            "Dirtiness",       "Dribbling",
            "Finishing",       "Flair",
            "FreeKicks",       "Handling",
            "Heading",         "ImportantMatches",
            "InjuryProneness", "Jumping",
            "Leadership",      "LeftFoot",
            "LongShots",       "Marking",
            "Movement",        "NaturalFitness",
            "OneOnOnes",       "Pace",
            "Passing",         "Penalties",
            "Positioning",     "Reflexes",
            "RightFoot",       "Stamina",
            "Strength",        "Tackling",
            "Teamwork",        "Technique",
            "ThrowIns",        "Versatility",
            "Vision",          "WorkRate"};
        static_assert(kPlayerAttributes.size() ==
                      PlayerRecord::WorkRate.offset - PlayerRecord::Goalkeeper.offset + 1);
        for (std::int64_t i = 0; playerBlock_.present && i < playerBlock_.count; ++i) {
            const auto* r =
                staff_.bytes.data() + playerBlock_.offset + static_cast<std::size_t>(i) * P::kSize;
            for (const auto& [name, f] : kPlayerAbilities)
                Range(staff_, i, name, Get(r, f), 0, 200, Subject::kOther, "player block.");
            for (std::size_t k = 0; k < kPlayerAttributes.size(); ++k)
                Range(staff_, i, kPlayerAttributes[k], Get(r, U8{P::Goalkeeper.offset + k}), 0, 20,
                      Subject::kOther, "player block.");
        }

        using N = NonPlayerRecord;
        static const std::array<std::pair<const char*, I16>, 5> kStaffAbilities = {{
            {"CurrentAbility", N::CurrentAbility},
            {"PotentialAbility", N::PotentialAbility},
            {"HomeReputation", N::HomeReputation},
            {"CurrentReputation", N::CurrentReputation},
            {"WorldReputation", N::WorldReputation},
        }};
        static const std::array<std::pair<const char*, U8>, 20> kStaffSkills = {{
            {"Attacking", N::Attacking},
            {"Business", N::Business},
            {"CoachingPlayers", N::CoachingPlayers},
            {"CoachingGoalkeepers", N::CoachingGoalkeepers},
            {"CoachingTechnique", N::CoachingTechnique},
            {"Directness", N::Directness},
            {"Discipline", N::Discipline},
            {"CoachingFreeRoles", N::CoachingFreeRoles},
            {"Interference", N::Interference},
            {"Judgement", N::Judgement},
            {"JudgingPotential", N::JudgingPotential},
            {"ManHandling", N::ManHandling},
            {"Marking", N::Marking},
            {"Offside", N::Offside},
            {"Patience", N::Patience},
            {"Physiotherapy", N::Physiotherapy},
            {"Pressing", N::Pressing},
            {"Resources", N::Resources},
            {"Tactics", N::Tactics},
            {"Youngsters", N::Youngsters},
        }};
        static const std::array<std::pair<const char*, I32>, 8> kStaffRatings = {{
            {"Goalkeeper", N::Goalkeeper},
            {"Sweeper", N::Sweeper},
            {"Defender", N::Defender},
            {"DefensiveMidfielder", N::DefensiveMidfielder},
            {"Midfielder", N::Midfielder},
            {"AttackingMidfielder", N::AttackingMidfielder},
            {"Attacker", N::Attacker},
            {"WingBack", N::WingBack},
        }};
        for (std::int64_t i = 0; nonPlayerBlock_.present && i < nonPlayerBlock_.count; ++i) {
            const auto* r = staff_.bytes.data() + nonPlayerBlock_.offset +
                            static_cast<std::size_t>(i) * N::kSize;
            for (const auto& [name, f] : kStaffAbilities)
                Range(staff_, i, name, Get(r, f), 0, 200, Subject::kOther, "non-player block.");
            for (const auto& [name, f] : kStaffSkills)
                Range(staff_, i, name, Get(r, f), 0, 20, Subject::kOther, "non-player block.");
            for (const auto& [name, f] : kStaffRatings)
                Range(staff_, i, name, Get(r, f), 0, 20, Subject::kOther, "non-player block.");
        }
    }

    static constexpr std::array<const char*, 8> kPersonality = {
        "Adaptability", "Ambition",        "Determination", "Loyalty",
        "Pressure",     "Professionalism", "Sportsmanship", "Temperament"};

    struct BlockExtent {
        bool present = false;
        std::int64_t offset = 0;
        std::int64_t count = 0;
    };

    std::array<Table, 3> names_;
    Table stadium_, city_, club_, comp_, colour_, nation_, continent_, staff_, index_;
    std::int64_t personCount_ = 0;
    BlockExtent playerBlock_, nonPlayerBlock_;
    CheckReport report_;
};

}  // namespace

std::size_t CheckReport::Errors() const {
    return omittedErrors + static_cast<std::size_t>(std::count_if(
                               findings.begin(), findings.end(),
                               [](const Finding& f) { return f.severity == Severity::kError; }));
}

std::size_t CheckReport::Warnings() const {
    return findings.size() + omitted - Errors();
}

std::string_view KindName(CheckKind kind) {
    switch (kind) {
        case CheckKind::kSize:
            return "sizes";
        case CheckKind::kId:
            return "ids";
        case CheckKind::kReference:
            return "references";
        case CheckKind::kSquad:
            return "squads";
        case CheckKind::kBlock:
            return "blocks";
        case CheckKind::kText:
            return "texts";
        case CheckKind::kDuplicate:
            return "duplicates";
        case CheckKind::kRange:
            return "ranges";
    }
    return "";
}

std::string_view SeverityName(Severity s) {
    return s == Severity::kError ? "error" : "warning";
}

std::string_view SubjectName(Subject s) {
    switch (s) {
        case Subject::kOther:
            return "";
        case Subject::kStadium:
            return "stadium";
        case Subject::kCity:
            return "city";
        case Subject::kClub:
            return "club";
        case Subject::kNation:
            return "nation";
        case Subject::kPlayer:
            return "player";
        case Subject::kStaff:
            return "staff";
    }
    return "";
}

CheckReport CheckDataDirectory(const std::string& dataPath) {
    return Checker(dataPath).Run();
}

}  // namespace vh::db
