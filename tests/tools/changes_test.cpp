// What changed since the backup: the diff names every kind of change by its field and lists the
// bytes no field shows; a patch made from it turns a fresh copy of the backup into the directory
// byte for byte, once, and back with --reverse, and refuses a directory it does not fit whole;
// a revert writes back exactly the backup's bytes of the record and of the records its moves tie
// to it, and leaves the directory consistent.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "database/changes/diff.h"
#include "database/changes/revert.h"
#include "database/model/check.h"
#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/tables/table_import.h"
#include "database/write/backup.h"
#include "run_vhtool.h"
#include "support/test_util.h"
#include "tools/cli.h"
#include "tools/sample.h"

namespace vh {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::TempDir;
using T = db::TableId;

// A sample directory with a backup of itself.
sample::SampleSummary SampleWithBackup(const fs::path& dir) {
    const auto s = sample::WriteSample(dir, {});
    db::Backup(dir.string());
    return s;
}

// Sets cells of one record as an import does (the page's rules, transfers for clubs and posts).
void Set(const fs::path& dir, T table, std::int64_t record,
         const std::vector<std::pair<std::string, std::string>>& cells) {
    db::CellTable ct;
    ct.columns.emplace_back("Record");
    db::CellTable::Row row{1, {std::to_string(record)}};
    for (const auto& [column, value] : cells) {
        ct.columns.push_back(column);
        row.cells.emplace_back(value);
    }
    ct.rows.push_back(row);
    db::DataFiles files(dir.string());
    const db::ImportPlan plan = db::PlanImport(files, table, ct);
    ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
    db::Commit(dir.string(), plan.writes);
}

std::string CellOf(const fs::path& dir, T table, std::int64_t record, const std::string& column) {
    db::DataFiles files(dir.string());
    const db::TableRows rows(files, table);
    return rows.Cell(*rows.Find(record), *rows.FindColumn(column));
}

void Poke(const fs::path& file, std::int64_t at, const Bytes& bytes) {
    Bytes b = test::ReadFile(file);
    if (b.size() < static_cast<std::size_t>(at) + bytes.size()) b.resize(at + bytes.size());
    std::copy(bytes.begin(), bytes.end(), b.begin() + at);
    test::WriteFile(file, b);
}

// One line per change the diff lists: "players 12 PLayerPace", "players 12 player record byte 69",
// "clubs 3 byte 49 (ClubLName)", "clubcomp.dat byte 10", "stadiums 40 only new".
std::set<std::string> Lines(const db::DirectoryDiff& d) {
    std::set<std::string> out;
    for (const db::RecordChange& r : d.records) {
        const std::string where =
            r.table ? std::string(db::TableOf(*r.table).name) + " " + std::to_string(r.record)
                    : r.file;
        if (r.side != db::Side::kBoth)
            out.insert(where + (r.side == db::Side::kOnlyNew ? " only new" : " only old"));
        for (const db::FieldChange& f : r.fields) out.insert(where + " " + f.column);
        for (const db::ByteChange& b : r.bytes)
            out.insert(where + " " + db::DescribeBytes(b) +
                       (b.field.empty() ? "" : " (" + b.field + ")"));
    }
    return out;
}

const db::FieldChange* FieldOf(const db::DirectoryDiff& d, T table, std::int64_t record,
                               const std::string& column) {
    for (const db::RecordChange& r : d.records)
        if (r.table == table && r.record == record)
            for (const db::FieldChange& f : r.fields)
                if (f.column == column) return &f;
    return nullptr;
}

TEST(Diff, ListsEveryKindOfChangeByItsFieldAndTheBytesNoFieldShows) {
    struct Case {
        std::string what;
        std::function<void(const fs::path&, const sample::SampleSummary&)> change;
        std::function<std::set<std::string>(const sample::SampleSummary&)> lines;
        // Cells to find after the change: (table, record, column) -> new value
        std::vector<std::tuple<T, std::function<std::int64_t(const sample::SampleSummary&)>,
                               std::string, std::string>>
            values = {};
    };
    auto n = [](std::int64_t v) { return [v](const sample::SampleSummary&) { return v; }; };
    auto player = [](const sample::SampleSummary& s) { return std::int64_t{s.player}; };
    const std::string p = "players ";
    const std::vector<Case> cases = {
        {"number, in the player record",
         [](auto& d, auto& s) {
             Set(d, T::kPlayers, s.player, {{"PLayerPace", "7"}});
         },
         [&](auto& s) {
             return std::set<std::string>{p + std::to_string(s.player) + " PLayerPace"};
         },
         {{T::kPlayers, player, "PLayerPace", "7"}}},
        {"text",
         [](auto& d, auto&) {
             Set(d, T::kClubs, 3, {{"ClubLName", "Neuer Name"}});
         },
         [](auto&) { return std::set<std::string>{"clubs 3 ClubLName"}; },
         {{T::kClubs, n(3), "ClubLName", "Neuer Name"}}},
        {"date",
         [](auto& d, auto& s) {
             Set(d, T::kPlayers, s.player, {{"PlayerDayOB", "28"}, {"PLayerMonthOB", "2"}});
         },
         [&](auto& s) {
             const std::string at = p + std::to_string(s.player);
             return std::set<std::string>{at + " PlayerDayOB", at + " PLayerMonthOB"};
         },
         {{T::kPlayers, player, "PlayerDayOB", "28"}, {T::kPlayers, player, "PLayerMonthOB", "2"}}},
        {"reference",
         [](auto& d, auto&) {
             Set(d, T::kClubs, 3, {{"ClubNation", "2"}});
         },
         [](auto&) { return std::set<std::string>{"clubs 3 ClubNation"}; },
         {{T::kClubs, n(3), "ClubNation", "2"}}},
        {"list of references",
         [](auto& d, auto& s) {
             Set(d, T::kPlayers, s.player, {{"PlayerFavClubs", "1;2;-1"}});
         },
         [&](auto& s) {
             return std::set<std::string>{p + std::to_string(s.player) + " PlayerFavClubs"};
         },
         {{T::kPlayers, player, "PlayerFavClubs", "1;2;-1"}}},
        {"transfer: the player's club and both squads",
         [](auto& d, auto& s) {
             Set(d, T::kPlayers, s.player,
                 {{"PlayerCurrentClub", std::to_string(s.clubWithoutSquad)}});
         },
         [&](auto& s) {
             return std::set<std::string>{
                 p + std::to_string(s.player) + " PlayerCurrentClub",
                 "clubs " + std::to_string(s.clubWithFullPosts) + " ClubPlayerList",
                 "clubs " + std::to_string(s.clubWithoutSquad) + " ClubPlayerList"};
         }},
        {"appointment: the manager's club and both posts",
         [](auto& d, auto& s) {
             Set(d, T::kStaff, s.manager,
                 {{"NonPlayerCurrentClub", std::to_string(s.clubWithoutManager)}});
         },
         [](auto& s) {
             return std::set<std::string>{
                 "staff " + std::to_string(s.manager) + " NonPlayerCurrentClub",
                 "clubs " + std::to_string(s.clubWithFullPosts) + " ClubManager",
                 "clubs " + std::to_string(s.clubWithoutManager) + " ClubManager"};
         }},
        {"a byte of a person no field names",
         [](auto& d, auto& s) { Poke(d / "staff.dat", s.player * 157 + 20, {0xEE}); },
         [&](auto& s) { return std::set<std::string>{p + std::to_string(s.player) + " byte 20"}; }},
        {"the last byte of the player record",
         [](auto& d, auto& s) {
             db::DataFiles files(d.string());
             Poke(d / "staff.dat",
                  files.BlockOffset(files.Person(s.player), db::Part::kPlayer) + 69, {0xEE});
         },
         [&](auto& s) {
             return std::set<std::string>{p + std::to_string(s.player) + " player record byte 69"};
         }},
        {"bytes after a text's end",
         [](auto& d, auto&) { Poke(d / "club.dat", 3 * 581 + 49, {0x7A}); },
         [](auto&) { return std::set<std::string>{"clubs 3 byte 49 (ClubLName)"}; }},
        {"a record appended",
         [](auto& d, auto&) {
             Poke(d / "stadium.dat", static_cast<std::int64_t>(fs::file_size(d / "stadium.dat")),
                  Bytes(78, 0));
         },
         [](auto& s) {
             return std::set<std::string>{"stadiums " + std::to_string(s.stadiums) + " only new"};
         }},
        {"clubcomp.dat, which no table names",
         [](auto& d, auto&) {
             Poke(d / "clubcomp.dat", 10, {1, 2, 3});
         },
         [](auto&) { return std::set<std::string>{"clubcomp.dat bytes 10-12"}; }},
        {"bytes after the blocks of staff.dat",
         [](auto& d, auto&) {
             Poke(d / "staff.dat", static_cast<std::int64_t>(fs::file_size(d / "staff.dat")),
                  {9, 9});
         },
         [](auto&) { return std::set<std::string>{}; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto s = SampleWithBackup(dir.Path());
        EXPECT_TRUE(db::DiffDirectories(dir.Str(), db::BackupDirectory(dir.Str())).Empty());
        c.change(dir.Path(), s);
        const db::DirectoryDiff d = db::DiffDirectories(dir.Str(), db::BackupDirectory(dir.Str()));
        std::set<std::string> want = c.lines(s);
        if (c.what.starts_with("bytes after the blocks")) {
            const auto size = fs::file_size(dir / "staff.dat");
            want.insert("staff.dat bytes " + std::to_string(size - 2) + "-" +
                        std::to_string(size - 1));
        }
        EXPECT_EQ(Lines(d), want);
        for (const auto& [table, record, column, value] : c.values) {
            const db::FieldChange* f = FieldOf(d, table, record(s), column);
            ASSERT_NE(f, nullptr) << column;
            EXPECT_EQ(f->after, value);
            EXPECT_NE(f->before, value);
        }
    }
}

// The first and the last byte of every kind of record, changed alone, are reported: by the field
// whose bytes they are (or as that field's bytes where its value does not show them), else as
// bytes of no field. A person's record is looked at through a player.
TEST(Diff, TheFirstAndLastByteOfEveryKindOfRecordAreReported) {
    TempDir dir;
    const auto s = SampleWithBackup(dir.Path());
    using P = db::Part;
    std::vector<std::pair<const db::Table*, P>> kinds;
    for (const db::Table& t : db::Tables()) {
        kinds.emplace_back(&t, t.id == T::kStaff ? P::kNonPlayer : P::kRecord);
        if (t.id == T::kPlayers) kinds.emplace_back(&t, P::kPlayer);
    }
    for (const auto& [tablePtr, part] : kinds) {
        const db::Table& table = *tablePtr;
        const std::int64_t record = table.id == T::kPlayers ? s.player
                                    : table.id == T::kStaff ? s.manager
                                                            : 1;
        const fs::path file = dir / std::string(table.file.substr(1));
        std::int64_t at = record * table.recordSize;
        std::int64_t size = table.recordSize;
        if (part != P::kRecord) {
            db::DataFiles files(dir.Str());
            at = files.BlockOffset(files.Person(record), part);
            size = part == P::kPlayer ? db::PlayerRecord::kSize : db::NonPlayerRecord::kSize;
        }
        for (const std::int64_t byte : {std::int64_t{0}, size - 1}) {
            const std::string where = std::string(table.name) + " " + std::to_string(record);
            const std::string bytes = where + " " +
                                      (part == P::kPlayer      ? "player record "
                                       : part == P::kNonPlayer ? "non-player record "
                                                               : "") +
                                      "byte " + std::to_string(byte);
            SCOPED_TRACE(bytes);
            const Bytes original = test::ReadFile(file);
            Poke(file, at + byte, {static_cast<std::uint8_t>(original[at + byte] ^ 1)});
            std::set<std::string> want = {bytes};
            for (const db::Field& f : table.fields)
                if (f.part == part && byte >= f.offset && byte < f.offset + f.width * f.count) {
                    want = {where + " " + f.name, bytes + " (" + f.name + ")"};
                    if (f.monthName) want.insert(where + " " + f.monthName);
                }
            const auto lines =
                Lines(db::DiffDirectories(dir.Str(), db::BackupDirectory(dir.Str())));
            EXPECT_FALSE(lines.empty());
            for (const std::string& line : lines) EXPECT_TRUE(want.count(line)) << line;
            test::WriteFile(file, original);
        }
    }
}

TEST(Diff, ReferencesShowTheNamesOnEachSide) {
    TempDir dir;
    const auto s = SampleWithBackup(dir.Path());
    const std::string before = CellOf(dir.Path(), T::kPlayers, s.player, "PlayerNation.name");
    Set(dir.Path(), T::kPlayers, s.player, {{"PlayerNation", "3"}, {"PlayerFavStaff", "1;-1;2"}});
    const auto d = db::DiffDirectories(dir.Str(), db::BackupDirectory(dir.Str()));
    const db::FieldChange* nation = FieldOf(d, T::kPlayers, s.player, "PlayerNation");
    ASSERT_NE(nation, nullptr);
    EXPECT_EQ(nation->beforeName, before);
    EXPECT_EQ(nation->afterName, CellOf(dir.Path(), T::kPlayers, s.player, "PlayerNation.name"));
    const db::FieldChange* fav = FieldOf(d, T::kPlayers, s.player, "PlayerFavStaff");
    ASSERT_NE(fav, nullptr);
    ASSERT_FALSE(fav->changedSlots.empty());
    EXPECT_EQ(fav->changedSlots.front().afterName.back(), ')');  // a person's label
}

// Every byte of the data files is the backup's where the plan wrote and as it was elsewhere.
void ExpectOnlyPlannedBytesRestored(const fs::path& dir,
                                    const std::vector<std::pair<std::string, Bytes>>& before,
                                    const db::WriteSet& writes) {
    for (const auto& [name, bytes] : before) {
        if (name.starts_with("backup/")) continue;
        Bytes expected = bytes;
        for (const db::Change& c : writes.Changes())
            if (c.file == "\\" + name) {
                const Bytes backup = test::ReadFile(dir / "backup" / name);
                ASSERT_TRUE(std::equal(c.bytes.begin(), c.bytes.end(), backup.begin() + c.offset))
                    << name << " at " << c.offset << " is not the backup's";
                std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + c.offset);
            }
        EXPECT_TRUE(test::ReadFile(dir / name) == expected) << name;
    }
}

TEST(Revert, WritesBackExactlyTheRecordAndItsBlockRecord) {
    TempDir dir;
    const auto s = SampleWithBackup(dir.Path());
    Set(dir.Path(), T::kPlayers, s.player, {{"PLayerPace", "3"}, {"PlayerWage", "5"}});
    Set(dir.Path(), T::kPlayers, s.commonNamePlayer, {{"PLayerPace", "4"}});
    Set(dir.Path(), T::kClubs, 4, {{"ClubCash", "1"}});
    Poke(dir / "staff.dat", s.player * 157 + 20, {0xEE});  // a byte no field names goes back too
    const auto before = test::Snapshot(dir.Path());

    const db::RevertPlan plan = db::PlanRevert(dir.Str(), T::kPlayers, s.player);
    ASSERT_EQ(plan.records.size(), 1u);
    db::DataFiles files(dir.Str());
    const std::int64_t block = files.BlockOffset(files.Person(s.player), db::Part::kPlayer);
    std::set<std::pair<std::int64_t, std::size_t>> ranges;
    for (const db::Change& c : plan.writes.Changes()) ranges.emplace(c.offset, c.bytes.size());
    EXPECT_EQ(ranges,
              (std::set<std::pair<std::int64_t, std::size_t>>{{s.player * 157, 157}, {block, 70}}));
    db::Commit(dir.Str(), plan.writes);
    ExpectOnlyPlannedBytesRestored(dir.Path(), before, plan.writes);

    // Nothing is left to revert; a record added since has nothing in the backup.
    EXPECT_THROW(db::PlanRevert(dir.Str(), T::kPlayers, s.player), db::EDataError);
    Poke(dir / "stadium.dat", static_cast<std::int64_t>(fs::file_size(dir / "stadium.dat")),
         Bytes(78, 0));
    EXPECT_THROW(db::PlanRevert(dir.Str(), T::kStadiums, s.stadiums), db::EDataError);
}

TEST(Revert, TakesTheRecordsOfAMoveWithItAndLeavesTheDataConsistent) {
    struct Case {
        std::string what;
        T table;
        std::function<std::int64_t(const sample::SampleSummary&)> record;
        std::function<std::set<std::pair<T, std::int64_t>>(const sample::SampleSummary&)> tied;
    };
    // Since the backup: a free player joined the club without a squad, and so did a player of
    // the club with every post filled, whose manager moved to the club without one; a staff
    // member in no post was released (no list changes with him).
    auto change = [](const fs::path& d, const sample::SampleSummary& s) {
        const std::string to = std::to_string(s.clubWithoutSquad);
        Set(d, T::kPlayers, s.freePlayer, {{"PlayerCurrentClub", to}, {"PLayerPace", "1"}});
        Set(d, T::kPlayers, s.player, {{"PlayerCurrentClub", to}});
        Set(d, T::kStaff, s.manager,
            {{"NonPlayerCurrentClub", std::to_string(s.clubWithoutManager)}});
        Set(d, T::kStaff, s.noPostStaff, {{"NonPlayerCurrentClub", "-1"}});
    };
    using Tied = std::set<std::pair<T, std::int64_t>>;
    auto manager = [](const sample::SampleSummary& s) {
        return Tied{{T::kStaff, s.manager},
                    {T::kClubs, s.clubWithFullPosts},
                    {T::kClubs, s.clubWithoutManager}};
    };
    // Both players' moves, and through the club they left the manager's.
    auto all = [&](const sample::SampleSummary& s) {
        Tied t = manager(s);
        t.insert({{T::kPlayers, s.freePlayer},
                  {T::kPlayers, s.player},
                  {T::kClubs, s.clubWithoutSquad}});
        return t;
    };
    const std::vector<Case> cases = {
        {"a player who was free", T::kPlayers, [](auto& s) { return s.freePlayer; }, all},
        {"the club both joined", T::kClubs, [](auto& s) { return s.clubWithoutSquad; }, all},
        {"the manager", T::kStaff, [](auto& s) { return s.manager; }, all},
        {"the club the manager joined", T::kClubs, [](auto& s) { return s.clubWithoutManager; },
         all},
        {"a released staff member in no post", T::kStaff, [](auto& s) { return s.noPostStaff; },
         [](auto& s) {
             return Tied{{T::kStaff, s.noPostStaff}};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const auto s = SampleWithBackup(dir.Path());
        change(dir.Path(), s);
        const auto before = test::Snapshot(dir.Path());
        const db::RevertPlan plan = db::PlanRevert(dir.Str(), c.table, c.record(s));
        ASSERT_FALSE(plan.records.empty());
        EXPECT_EQ(plan.records.front().table, c.table);
        EXPECT_EQ(plan.records.front().record, c.record(s));
        std::set<std::pair<T, std::int64_t>> listed;
        for (const auto& r : plan.records) listed.emplace(r.table, r.record);
        EXPECT_EQ(listed, c.tied(s));
        db::Commit(dir.Str(), plan.writes);
        ExpectOnlyPlannedBytesRestored(dir.Path(), before, plan.writes);
        EXPECT_EQ(db::CheckDataDirectory(dir.Str()).Errors(), 0u);
    }
}

TEST(VhtoolPatch, TurnsAFreshCopyOfTheBackupIntoTheDirectoryOnceAndBackWithReverse) {
    TempDir tmp;
    const fs::path a = tmp / "a", b = tmp / "b";
    const auto s = SampleWithBackup(a);
    // Two players swap clubs (the slots each takes depend on the order of the moves), a manager
    // is appointed; a club and a name are renamed (which changes labels), and fields of every
    // kind change.
    const std::string squad = CellOf(a, T::kClubs, s.clubWithGaps, "ClubPlayerList");
    const std::int64_t other = std::stoll(squad.substr(0, squad.find(';')));
    Set(a, T::kPlayers, s.player, {{"PlayerCurrentClub", std::to_string(s.clubWithGaps)}});
    Set(a, T::kPlayers, other, {{"PlayerCurrentClub", std::to_string(s.clubWithFullPosts)}});
    Set(a, T::kStaff, s.manager, {{"NonPlayerCurrentClub", std::to_string(s.clubWithoutManager)}});
    Set(a, T::kClubs, s.clubWithGaps, {{"ClubSName", "Renamed"}, {"ClubCash", "5"}});
    Set(a, T::kSecondNames, 1, {{"Name", "Zweitname"}});
    Set(a, T::kPlayers, s.commonNamePlayer,
        {{"PLayerPace", "2"}, {"PlayerDayOB", "1"}, {"PlayerDisClubs", "-1;3;-1"}});
    Set(a, T::kCities, 2, {{"CityLatitude", "12.5"}});

    const std::string patch = (tmp / "league.json").string();
    const Outcome made = Vhtool({"diff", a.string(), "--patch", patch});
    EXPECT_EQ(made.status, 1) << made.err;
    EXPECT_EQ(made.err.find("warning"), std::string::npos) << made.err;  // nothing left out

    fs::copy(a / "backup", b);
    fs::copy_file(a / "index.dat", b / "index.dat");
    auto same = [](const fs::path& x, const fs::path& y) {
        for (std::string_view name : db::kBackupList)
            if (test::ReadFile(x / name.substr(1)) != test::ReadFile(y / name.substr(1)))
                return "differs: " + std::string(name.substr(1));
        return std::string();
    };
    Outcome r = Vhtool({"apply", b.string(), patch});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(same(a, b), "");
    EXPECT_EQ(Vhtool({"diff", a.string(), "--against", b.string()}).status, 0);

    const auto applied = test::Snapshot(b);
    r = Vhtool({"apply", b.string(), patch});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Nothing to change"), std::string::npos) << r.out;
    EXPECT_TRUE(test::Snapshot(b) == applied);

    r = Vhtool({"apply", b.string(), patch, "--reverse"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(same(a / "backup", b), "");
    EXPECT_EQ(db::CheckDataDirectory(b.string()).Errors(), 0u);
}

TEST(VhtoolPatch, ADirectoryItDoesNotFitIsRefusedWholeWithEveryConflictListed) {
    TempDir tmp;
    const fs::path a = tmp / "a", c = tmp / "c", fits = tmp / "fits";
    const auto s = SampleWithBackup(a);
    fs::copy(a, c, fs::copy_options::recursive);
    fs::copy(a, fits, fs::copy_options::recursive);
    Set(a, T::kPlayers, s.player, {{"PLayerPace", "3"}});
    Set(a, T::kClubs, 4, {{"ClubCash", "77"}});
    Set(a, T::kClubs, 5, {{"ClubCash", "78"}});
    Set(a, T::kStadiums, 1, {{"StadCap", "1000"}});
    const std::string patch = (tmp / "p.json").string();
    ASSERT_EQ(Vhtool({"diff", a.string(), "--patch", patch}).status, 1);
    std::string text;
    for (std::uint8_t ch : test::ReadFile(patch)) text += static_cast<char>(ch);

    // The other directory went its own way: another pace, club 4 renamed; club 5 holds the
    // patch's new value already (skipped, no conflict).
    const std::string pace = CellOf(c, T::kPlayers, s.player, "PLayerPace");
    Set(c, T::kPlayers, s.player, {{"PLayerPace", "19"}});
    Set(c, T::kClubs, 4, {{"ClubSName", "Elsewhere"}});
    Set(c, T::kClubs, 5, {{"ClubCash", "78"}});
    auto replaced = [&](std::string from, std::string to) {
        std::string t = text;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    struct Case {
        std::string what, patchText;
        std::vector<std::string> messages;
        fs::path target;
    };
    const std::vector<Case> cases = {
        {"conflicts",
         replaced("\"record\":1,", "\"record\":99999,"),
         {"players record " + std::to_string(s.player) + " \"",
          "PLayerPace: expected " + pace + ", found 19", "clubs record 4 \"", "label: expected \"",
          "found \"Elsewhere\"", "stadiums record 99999", "no such stadium", "3 conflicts"},
         c},
        {"a value the page refuses",
         replaced("\"new\":\"1000\"", "\"new\":\"500001\""),
         {"StadCap '500001': this value must be in the range 0 to 500000", "refused"},
         fits},
        {"no patch", "[]", {"not a patch"}, fits},
        {"a later version", replaced("\"version\": 1", "\"version\": 2"), {"later version"}, fits},
        {"an unknown field",
         replaced("StadCap", "StadSize"),
         {"no field 'StadSize' in stadiums"},
         fits},
    };
    const auto before = test::Snapshot(c), fitting = test::Snapshot(fits);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        test::WriteFile(tmp / "edited.json", k.patchText);
        const Outcome r = Vhtool({"apply", k.target.string(), (tmp / "edited.json").string()});
        EXPECT_EQ(r.status, 1);
        for (const std::string& m : k.messages)
            EXPECT_NE((r.out + r.err).find(m), std::string::npos) << m << "\n" << r.out << r.err;
        EXPECT_TRUE(test::Snapshot(c) == before);
        EXPECT_TRUE(test::Snapshot(fits) == fitting);
    }
    // Without the refused value the patch fits there.
    EXPECT_EQ(Vhtool({"apply", fits.string(), patch}).status, 0);
}

TEST(VhtoolDiff, SaysWhetherAnythingDiffersOrWhatItCouldNotRead) {
    TempDir tmp;
    const fs::path a = tmp / "a";
    SampleWithBackup(a);
    Outcome r = Vhtool({"diff", a.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");

    Set(a, T::kClubs, 2, {{"ClubCash", "12"}});
    r = Vhtool({"diff", a.string(), "--json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("{\"table\":\"clubs\",\"file\":\"club.dat\",\"record\":2,"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"field\":\"ClubCash\",\"old\":"), std::string::npos) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);

    fs::remove(a / "backup" / "nation.dat");
    r = Vhtool({"diff", a.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("nation.dat"), std::string::npos) << r.err;
    fs::remove_all(a / "backup");
    r = Vhtool({"diff", a.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("has no backup directory"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace vh
