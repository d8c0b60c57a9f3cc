#include "database/model/check.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <span>
#include <type_traits>
#include <unordered_map>

#include "database/model/blocks.h"
#include "database/model/squad.h"
#include "database/records/catalogue.h"
#include "database/records/data_def.h"
#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/records/person.h"
#include "database/records/record_file.h"
#include "database/records/text.h"

namespace vh::db {

namespace {

// One file of the directory, read whole.
struct FileData {
    std::string name;  // "club.dat"
    std::size_t recordSize = 1;
    std::vector<std::uint8_t> bytes;
    std::int64_t count = 0;  // whole records

    const std::uint8_t* At(std::int64_t n) const {
        return bytes.data() + static_cast<std::size_t>(n) * recordSize;
    }
};

FileData ReadTable(const std::string& dataPath, std::string_view name, std::size_t recordSize) {
    FileData t;
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

// The files of the tables other than the persons, in the order the check reads them and reports
// their sizes.
constexpr Target kTableFiles[] = {Target::kFirstName,   Target::kSecondName, Target::kCommonName,
                                  Target::kStadium,     Target::kCity,       Target::kClub,
                                  Target::kCompetition, Target::kColour,     Target::kNation,
                                  Target::kContinent};

class Checker {
  public:
    explicit Checker(const std::string& dataPath) {
        for (Target t : kTableFiles)
            files_[Index(t)] = ReadTable(dataPath, InfoOf(t).name, InfoOf(t).recordSize);
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
    void Error(CheckKind k, const FileData& t, std::int64_t record, std::string field,
               std::string value, std::string message, Subject subject = Subject::kOther) {
        Add(Severity::kError, k, t.name, record, std::move(field), std::move(value),
            std::move(message), subject);
    }
    void Warning(CheckKind k, const FileData& t, std::int64_t record, std::string field,
                 std::string value, std::string message, Subject subject = Subject::kOther) {
        Add(Severity::kWarning, k, t.name, record, std::move(field), std::move(value),
            std::move(message), subject);
    }

    const std::uint8_t* Person(std::int64_t id) const {
        return staff_.bytes.data() + static_cast<std::size_t>(id) * StaffRecord::kSize;
    }

    // --- sizes ---------------------------------------------------------------------------------
    void Sizes() {
        for (Target target : kTableFiles) {
            const FileData* t = &File(target);
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
                  Num(static_cast<std::int64_t>(odd)) + " bytes after the last whole entry of " +
                      Num(IndexEntry::kSize) + " bytes");
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
        for (const db::Table& t : Tables()) {
            if (t.IsPersons()) continue;
            const FileData& data = Data(t.id);
            const I32 idField{t.naming.idOffset};
            for (std::int64_t n = 0; n < data.count; ++n) {
                const std::int32_t id = Get(data.At(n), idField);
                if (id != n)
                    Error(CheckKind::kId, data, n, "Id", Num(id),
                          "the " + std::string(t.what) + " has another Id than its record number");
            }
        }
        for (std::int64_t n = 0; n < personCount_; ++n) {
            const std::int32_t id = Get(Person(n), StaffRecord::Id);
            if (id != n)
                Error(CheckKind::kId, staff_, n, "Id", Num(id),
                      "the person has another Id than its record number", PersonSubject(Person(n)));
        }
        auto blockIds = [&](const BlockExtent& b, std::size_t size, const char* what) {
            for (std::int64_t n = 0; b.present && n < b.count; ++n) {
                const std::int32_t id = Get(BlockRecord(b, size, n), I32{0});
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
    bool Ref(const FileData& t, std::int64_t n, const Name& field, std::int32_t v,
             const char* target, std::int64_t targetCount, Subject subject) {
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

    // The records a reference of that target may name: the numbers below this.
    std::int64_t CountOf(Target target) const {
        switch (target) {
            case Target::kPerson:
                return personCount_;
            case Target::kLanguage:
                return kLanguageCount + 1;
            case Target::kNone:
                return 0;
            default:
                return File(target).count;
        }
    }

    // Every reference and every slot of a list of a record, as the catalogue lists them.
    void RefFields(const FileData& t, std::int64_t n, const std::uint8_t* rec,
                   const std::vector<const Field*>& fields, Subject subject) {
        for (const Field* f : fields) {
            const std::int64_t count = CountOf(f->target);
            for (std::size_t k = 0; k < f->count; ++k) {
                const auto v = static_cast<std::int32_t>(f->Read(rec, k));
                if (f->target == Target::kLanguage) {
                    if (v >= count)
                        Error(CheckKind::kReference, t, n, f->member, Num(v),
                              "no language " + Num(v) + " (0 for none, or 1 to 60)", subject);
                } else if (v == 0 && f->none == None::kNotPositive) {
                    // A common name of 0 is none, unlike every other reference.
                } else if (f->kind == Kind::kList) {
                    Ref(t, n, Slot(f->member, k), v, FileOf(f->target), count, subject);
                } else {
                    Ref(t, n, f->member, v, FileOf(f->target), count, subject);
                }
            }
        }
    }

    static const char* FileOf(Target target) { return FileNameOf(target).data(); }

    // The references of a table's own records; a person's of both pages.
    static std::vector<const Field*> References(TableId id, Part part = Part::kRecord) {
        std::vector<const Field*> out;
        const bool persons = TableOf(id).IsPersons();
        for (TableId from :
             persons ? std::vector{TableId::kPlayers, TableId::kStaff} : std::vector{id})
            for (const Field& f : TableOf(from).fields) {
                // The squads and posts are checked with the squads, where a bad slot is reported.
                if (!f.IsReference() || f.part != part ||
                    (from == TableId::kClubs && f.edit == Edit::kMove))
                    continue;
                if (std::none_of(out.begin(), out.end(),
                                 [&](const Field* g) { return g->offset == f.offset; }))
                    out.push_back(&f);
            }
        return out;
    }

    void References() {
        for (const db::Table& t : Tables()) {
            if (t.IsPersons()) continue;
            const auto fields = References(t.id);
            if (fields.empty()) continue;
            const FileData& data = Data(t.id);
            for (std::int64_t n = 0; n < data.count; ++n)
                RefFields(data, n, data.At(n), fields, SubjectOf(t.id));
        }
        const auto personFields = References(TableId::kPlayers);
        for (std::int64_t n = 0; n < personCount_; ++n)
            RefFields(staff_, n, Person(n), personFields, PersonSubject(Person(n)));
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
        const FileData& clubs = File(Target::kClub);
        std::vector<std::vector<Listing>> listed(static_cast<std::size_t>(personCount_));
        for (std::int64_t c = 0; c < clubs.count; ++c) {
            auto list = [&](Post post, std::size_t slot, const I32& field) {
                const std::int32_t id = Get(clubs.At(c), field);
                if (Ref(
                        clubs, c, [&] { return SlotName(post, slot); }, id, "staff.dat",
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
                Error(CheckKind::kSquad, clubs, l->club, where, Num(n), why, Subject::kClub);
            }
            if (home != at.end() && !player && home->slot >= AppointableSlots(post).size())
                Warning(CheckKind::kSquad, clubs, home->club, SlotName(post, home->slot), Num(n),
                        "a release clears only the first " +
                            Num(static_cast<std::int64_t>(AppointableSlots(post).size())) +
                            " slots of the " + PostName(post) + ": he would stay listed here",
                        Subject::kClub);
            // A person whose club is a club stands where his job code says.
            if (club < 0 || club >= clubs.count || (!player && post == Post::kNone)) continue;
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
        for (const db::Table& t : Tables()) {
            if (t.IsPersons()) continue;
            const FileData& data = Data(t.id);
            for (std::int64_t n = 0; n < data.count; ++n)
                for (const Field& f : t.fields) {
                    if (f.kind != Kind::kText) continue;
                    const std::string text = f.ReadText(data.At(n));
                    const auto bad = std::find_if(text.begin(), text.end(), [](char c) {
                        return IsUndefinedCp1252(static_cast<std::uint8_t>(c));
                    });
                    if (bad != text.end())
                        Error(CheckKind::kText, data, n, f.member, Shown(text),
                              "byte " + Shown(std::string_view(&*bad, 1)) +
                                  " is no character of the Windows code page",
                              SubjectOf(t.id));
                }
        }
    }

    // --- duplicates ----------------------------------------------------------------------------
    // Searches and picks take the first record whose name equals the text: a later record of the
    // same name is out of their reach.
    void Duplicates() {
        auto dup = [&](const FileData& t, const char* name, const Str& f, Subject s,
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
        dup(File(Target::kStadium), "Name", StadiumRecord::Name, Subject::kStadium, both);
        dup(File(Target::kCity), "Name", CityRecord::Name, Subject::kCity, both);
        dup(File(Target::kClub), "LongName", ClubRecord::LongName, Subject::kClub, search);
        dup(File(Target::kClub), "ShortName", ClubRecord::ShortName, Subject::kClub, both);
        dup(File(Target::kNation), "LongName", NationRecord::LongName, Subject::kNation, search);
        dup(File(Target::kNation), "ShortName", NationRecord::ShortName, Subject::kNation, both);
        dup(File(Target::kCompetition), "Name", ClubCompRecord::Name, Subject::kOther, pick);
        dup(File(Target::kContinent), "Name", ContinentRecord::Name, Subject::kOther, pick);
    }

    // --- ranges --------------------------------------------------------------------------------
    // `prefix` + `field` names the field; the text is made only for a finding.
    void Range(const FileData& t, std::int64_t n, const char* field, std::int64_t v,
               std::int64_t lo, std::int64_t hi, Subject s, const char* prefix = "") {
        if (v < lo || v > hi)
            Warning(CheckKind::kRange, t, n, std::string(prefix) + field, Num(v),
                    "outside " + Num(lo) + ".." + Num(hi) + ", what its page accepts", s);
    }

    // The numbers, dates and choices of one record that its page stores.
    void RangeFields(const FileData& t, std::int64_t n, const std::uint8_t* rec,
                     const db::Table& table, Part part, Subject s, const char* prefix = "") {
        for (const Field& f : table.fields) {
            if (f.part != part || f.edit != Edit::kStored) continue;
            switch (f.kind) {
                case Kind::kNumber: {
                    std::int64_t hi = f.max;
                    if (const auto bound = BoundIn(table.id, f, rec))
                        hi = std::clamp<std::int64_t>(*bound, f.min, hi);
                    Range(t, n, f.member, f.Read(rec), f.min, hi, s, prefix);
                    break;
                }
                case Kind::kDate:
                    // Days of the year; 0 is kept for "no date".
                    Range(t, n, f.member, f.Read(rec), 0, kDaysInYear, s, prefix);
                    break;
                case Kind::kChoice:
                    Range(t, n, f.member, f.Read(rec), f.min, f.max, s, prefix);
                    break;
                default:
                    break;
            }
        }
    }

    void Ranges() {
        for (const db::Table& t : Tables()) {
            if (t.IsPersons()) continue;
            const FileData& data = Data(t.id);
            for (std::int64_t n = 0; n < data.count; ++n)
                RangeFields(data, n, data.At(n), t, Part::kRecord, SubjectOf(t.id));
        }
        // A person by the page that shows him.
        const db::Table& players = TableOf(TableId::kPlayers);
        const db::Table& staff = TableOf(TableId::kStaff);
        for (std::int64_t n = 0; n < personCount_; ++n) {
            const auto* r = Person(n);
            const Subject s = PersonSubject(r);
            RangeFields(staff_, n, r, s == Subject::kPlayer ? players : staff, Part::kRecord, s);
        }
        // The block records, by the names of their fields.
        for (std::int64_t i = 0; playerBlock_.present && i < playerBlock_.count; ++i)
            RangeFields(staff_, i, BlockRecord(playerBlock_, PlayerRecord::kSize, i), players,
                        Part::kPlayer, Subject::kOther, "player block.");
        for (std::int64_t i = 0; nonPlayerBlock_.present && i < nonPlayerBlock_.count; ++i)
            RangeFields(staff_, i, BlockRecord(nonPlayerBlock_, NonPlayerRecord::kSize, i), staff,
                        Part::kNonPlayer, Subject::kOther, "non-player block.");
    }

    static constexpr int kDaysInYear = 365;
    static constexpr int kLanguageCount = 60;

    // The file of a table's own records; staff.dat for the persons.
    const FileData& Data(TableId id) const {
        return TableOf(id).IsPersons() ? staff_ : File(TargetOf(id));
    }

    static std::size_t Index(Target t) { return static_cast<std::size_t>(t); }
    const FileData& File(Target t) const { return files_[Index(t)]; }

    static Subject SubjectOf(TableId id) {
        switch (id) {
            case TableId::kStadiums:
                return Subject::kStadium;
            case TableId::kCities:
                return Subject::kCity;
            case TableId::kClubs:
                return Subject::kClub;
            case TableId::kNations:
                return Subject::kNation;
            case TableId::kPlayers:
                return Subject::kPlayer;
            case TableId::kStaff:
                return Subject::kStaff;
            default:
                return Subject::kOther;
        }
    }

    struct BlockExtent {
        bool present = false;
        std::int64_t offset = 0;
        std::int64_t count = 0;
    };
    const std::uint8_t* BlockRecord(const BlockExtent& b, std::size_t size, std::int64_t n) const {
        return staff_.bytes.data() + b.offset + static_cast<std::size_t>(n) * size;
    }

    // The files of the tables by their targets; staff.dat and index.dat are read whole, as bytes.
    std::array<FileData, static_cast<std::size_t>(Target::kLanguage) + 1> files_;
    FileData staff_, index_;
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
