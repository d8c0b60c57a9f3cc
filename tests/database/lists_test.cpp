// The list tables and the filter's matching, without widgets: the people read from staff.dat
// only as far as the persons go, and the typed text turned into the filter's working copy.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/model/lists.h"
#include "database/records/data_def.h"
#include "database/records/errors.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

using test::Bytes;
using test::TempDir;
using test::WriteFile;

TEST(FilterText, CapitalisesTheFirstLetterAndEveryLetterAfterABlank) {
    const struct {
        const char* typed;
        const char* working;
    } kCases[] = {
        {"", ""},
        {"van", "Van"},
        {"van d", "Van D"},
        {"Van D", "Van D"},
        {"van  den", "Van  Den"},  // the letter after the second blank
        {" x", " X"},
        {"a-b c", "A-b C"},  // only blanks start a word
        {"o'neil", "O'neil"},
        {"1st a", "1st A"},
        {"\xE9"
         "crina",
         "\xE9"
         "crina"},             // é is not a-z: no letter outside a-z changes
        {"x\xA0y", "X\xA0y"},  // nor does a no-break space count as a blank
    };
    for (const auto& c : kCases) EXPECT_EQ(CapitaliseForFilter(c.typed), c.working) << c.typed;
}

TEST(FilterText, KeepsEntriesBeginningWithEitherFormOnceInTableOrder) {
    const Names table = {"Van Dorland", "van Dijk", "Vanholm", "Va",     "de Boer",
                         "Denmark",     "Berg",     "Berg",    "Bergen", "van den Berg"};
    const struct {
        const char* typed;
        std::vector<std::string> kept;
    } kCases[] = {
        {"van", {"Van Dorland", "van Dijk", "Vanholm", "van den Berg"}},
        {"van d", {"Van Dorland", "van den Berg"}},
        {"van D", {"Van Dorland", "van Dijk"}},
        {"de", {"de Boer", "Denmark"}},
        {"Berg", {"Berg", "Berg", "Bergen"}},  // both forms are "Berg": each entry once
        {"Berg ", {}},                         // longer than the entry: no match
        {"Vanholm x", {}},
        {"vANH", {}},  // byte for byte after the capitals
    };
    for (const auto& c : kCases) {
        std::vector<const std::string*> out;
        AppendMatching(table, CapitaliseForFilter(c.typed), c.typed, out);
        std::vector<std::string> kept;
        for (const std::string* e : out) kept.push_back(*e);
        EXPECT_EQ(kept, c.kept) << c.typed;
    }
}

// A staff.dat of `persons` person records (Id = record number, ClubJob from `job`), followed
// by `tail` bytes of block data that would read as persons with the player job.
Bytes StaffFile(int persons, std::size_t tail, int (*job)(int)) {
    Bytes b;
    for (int i = 0; i < persons; ++i) {
        StaffRecord p;
        p.Set(StaffRecord::Id, i);
        p.Set(StaffRecord::FirstName, -1);
        p.Set(StaffRecord::SecondName, -1);
        p.Set(StaffRecord::CommonName, -1);
        p.Set(StaffRecord::ClubJob, static_cast<std::uint8_t>(job(i)));
        b.insert(b.end(), p.bytes.begin(), p.bytes.end());
    }
    b.resize(b.size() + tail, 0);
    return b;
}

Bytes IndexFile(const std::vector<std::int32_t>& offsets) {
    Bytes b(kIndexHeaderSize, 0);
    for (std::int32_t o : offsets) {
        IndexEntry e;
        e.Set(IndexEntry::BlockType, kPlayerBlockType);
        e.Set(IndexEntry::BlockOffset, o);
        b.insert(b.end(), e.bytes.begin(), e.bytes.end());
    }
    return b;
}

struct Loaded {
    std::vector<std::string> players, staff;
    std::size_t leftOut = 0;
};

Loaded LoadPeople(const TempDir& dir, const NameTables& names = {}) {
    FileSet files;
    files.staff.Bind(dir.Str() + "\\staff.dat");
    ListTables t;
    StaffLoad(files, dir.Str(), names, t);
    return {*t.player.entries, *t.staff.entries, t.player.leftOut + t.staff.leftOut};
}

int AllPlayers(int) {
    return 0;
}

TEST(PeopleTables, EndWhereTheFirstBlockBeginsAndNeverReadPastTheFile) {
    constexpr int kSize = StaffRecord::kSize;
    const struct {
        const char* what;
        int persons;
        std::size_t tail;
        std::optional<std::vector<std::int32_t>> index;  // nullopt: no index.dat
        std::size_t listed;
    } kCases[] = {
        {"blocks after the persons", 5, 3 * kSize + 40, std::vector{5 * kSize + 300, 5 * kSize}, 5},
        {"entries at offset 0 are no block", 5, 2 * kSize, std::vector{0, 5 * kSize, 0}, 5},
        {"a block inside a record ends before it", 5, 0, std::vector{3 * kSize + 20}, 3},
        {"a block beyond the end of the file", 4, 60, std::vector{50 * kSize}, 4},
        {"an index without blocks", 4, 60, std::vector<std::int32_t>{}, 4},
        {"no index.dat", 4, 60, std::nullopt, 4},
        {"an empty staff.dat", 0, 0, std::vector{10 * kSize}, 0},
    };
    for (const auto& c : kCases) {
        TempDir dir;
        WriteFile(dir / "staff.dat", StaffFile(c.persons, c.tail, AllPlayers));
        if (c.index) WriteFile(dir / "index.dat", IndexFile(*c.index));
        Loaded got;
        ASSERT_NO_THROW(got = LoadPeople(dir)) << c.what;
        EXPECT_EQ(got.players.size(), c.listed) << c.what;
        if (!got.players.empty()) {
            EXPECT_EQ(got.players.back(), " (" + std::to_string(c.listed - 1) + ")") << c.what;
        }
    }
}

TEST(PeopleTables, ClassByClubJobInFileOrderWithLabelsCutTo103) {
    TempDir dir;
    // Jobs 0 and 11..16 are players; 1..10, 17 and 255 are staff.
    static constexpr int kJobs[] = {0, 1, 10, 11, 16, 17, 255, 12, 5};
    WriteFile(dir / "staff.dat", StaffFile(9, 0, [](int i) { return kJobs[i]; }));
    WriteFile(dir / "index.dat", IndexFile({9 * StaffRecord::kSize}));
    Loaded got = LoadPeople(dir);
    EXPECT_EQ(got.players, (std::vector<std::string>{" (0)", " (3)", " (4)", " (7)"}));
    EXPECT_EQ(got.staff, (std::vector<std::string>{" (1)", " (2)", " (5)", " (6)", " (8)"}));

    // A person with a 50-character second and first name: the label is cut, Id and all.
    NameTables names;
    names.first.entries = std::make_shared<const Names>(Names{"", std::string(50, 'f')});
    names.second.entries = std::make_shared<const Names>(Names{"", std::string(50, 'S')});
    StaffRecord p;
    p.Set(StaffRecord::FirstName, 1);
    p.Set(StaffRecord::SecondName, 1);
    p.Set(StaffRecord::CommonName, 0);
    WriteFile(dir / "staff.dat", Bytes(p.bytes.begin(), p.bytes.end()));
    WriteFile(dir / "index.dat", IndexFile({}));
    got = LoadPeople(dir, names);
    ASSERT_EQ(got.players.size(), 1u);
    EXPECT_EQ(got.players[0], std::string(50, 'S') + ", " + std::string(50, 'f') + " ");
}

TEST(PeopleTables, PersonsBeyondATablesCapacityAreCountedNotListed) {
    TempDir dir;
    const int n = static_cast<int>(kPeopleListCapacity) + 2;
    // Every person a player except the last, who still finds room among the staff.
    WriteFile(dir / "staff.dat", StaffFile(n, 0, [](int i) {
                  return i == static_cast<int>(kPeopleListCapacity) + 1 ? 5 : 0;
              }));
    const Loaded got = LoadPeople(dir);
    EXPECT_EQ(got.players.size(), kPeopleListCapacity);
    EXPECT_EQ(got.players.back(), " (" + std::to_string(kPeopleListCapacity - 1) + ")");
    EXPECT_EQ(got.staff, std::vector<std::string>{" (" + std::to_string(n - 1) + ")"});
    EXPECT_EQ(got.leftOut, 1u);
}

}  // namespace
}  // namespace vh::db
