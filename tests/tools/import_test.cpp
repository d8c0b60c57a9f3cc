// vhtool import: an unchanged export changes no byte; an edited cell or column changes only
// those fields' bytes and leaves the data checking clean; bad cells are listed and nothing is
// written; clubs and squads move by the transfer and appointment rules.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>

#include "database/model/check.h"
#include "database/tables/table_import.h"
#include "planted_faults.h"
#include "run_vhtool.h"
#include "support/test_util.h"
#include "tools/cli.h"
#include "tools/sample.h"

namespace vh {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::size_t ColumnOf(const db::CellTable& t, const std::string& name) {
    for (std::size_t c = 0; c < t.columns.size(); ++c)
        if (t.columns[c] == name) return c;
    ADD_FAILURE() << "no column " << name;
    return 0;
}

// The table as export writes it, read back as import reads it.
db::CellTable Exported(const std::string& dir, db::TableId id, db::TableFormat format) {
    db::DataFiles files(dir);
    std::string text;
    db::WriteTable(db::TableRows(files, id), format, {}, false, text);
    return db::ReadCellTable(text);
}

db::ImportPlan Import(const std::string& dir, db::TableId id, const db::CellTable& cells) {
    db::DataFiles files(dir);
    db::ImportPlan plan = db::PlanImport(files, id, cells);
    if (plan.bad.empty() && !plan.writes.Empty()) db::Commit(dir, plan.writes);
    return plan;
}

// Every byte that differs lies in one of the fields named, of a record of the table.
void ExpectOnlyFields(const std::string& dir, db::TableId id,
                      const std::vector<std::pair<std::string, test::Bytes>>& before,
                      const std::vector<std::string>& fieldNames) {
    db::DataFiles files(dir);
    const db::TableRows rows(files, id);
    const db::Table& table = db::TableOf(id);
    std::vector<std::pair<std::int64_t, std::int64_t>> allowed;  // byte ranges of that file
    for (std::size_t r = 0; r < rows.Size(); ++r)
        for (const std::string& name : fieldNames) {
            const db::Field& f = *rows.FindColumn(name)->field;
            const std::int64_t start = f.part == db::Part::kRecord
                                           ? rows[r].record * table.recordSize
                                           : files.BlockOffset(rows[r].rec, f.part);
            allowed.emplace_back(start + f.offset, start + f.offset + f.width * f.count);
        }
    const auto after = test::Snapshot(dir);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        const auto& [name, bytes] = after[i];
        ASSERT_EQ(bytes.size(), before[i].second.size()) << name;
        for (std::size_t b = 0; b < bytes.size(); ++b) {
            if (bytes[b] == before[i].second[b]) continue;
            const bool inField =
                "\\" + name == table.file &&
                std::any_of(allowed.begin(), allowed.end(), [&](const auto& range) {
                    return static_cast<std::int64_t>(b) >= range.first &&
                           static_cast<std::int64_t>(b) < range.second;
                });
            ASSERT_TRUE(inField) << name << " byte " << b << " changed";
        }
    }
}

TEST(VhtoolImport, EveryTableRoundTripsAndTakesOneCellAndAWholeColumn) {
    struct Case {
        db::TableId table;
        std::string cell, value;                              // one cell of the fourth row
        std::string column;                                   // every cell of a column ...
        std::function<std::string(const std::string&)> edit;  // ... changed so
    };
    auto plus = [](int n) {
        return [n](const std::string& v) { return std::to_string(std::stoi(v) + n); };
    };
    auto suffix = [](const std::string& v) { return v + "s"; };
    using T = db::TableId;
    const std::vector<Case> cases = {
        {T::kStadiums, "StadCap", "500000", "Covered",
         [](const std::string& v) { return v == "1" ? "0" : "1"; }},
        {T::kCities, "CityLatitude", "-51.5", "CityAttraction",
         [](const std::string&) { return "7"; }},
        {T::kClubs, "ClubCash", "123000", "ClubReputation", plus(-1)},
        {T::kNations, "NationSName", "Neuland \u00C9", "Nation2Lang",
         [](const std::string&) { return "34"; }},
        {T::kPlayers, "PLayerPace", "20", "PlayerWage", plus(100)},
        {T::kStaff, "NonPlayerWingBack", "3", "NonPlayerMonthContractExp",
         [](const std::string&) { return "6"; }},
        {T::kCompetitions, "Name", "Premier", "Name", suffix},
        {T::kColours, "Name", "Teal", "Name", suffix},
        {T::kContinents, "Name", "Atlantis", "Name", suffix},
        {T::kFirstNames, "Name", "Zoltan", "Name", suffix},
        {T::kSecondNames, "Name", "O'Brien, Jr.", "Name", suffix},
        {T::kCommonNames, "Name", "\"Kaka\"", "Name", suffix},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string table(db::TableOf(c.table).name);
        SCOPED_TRACE(table);
        TempDir dir;
        sample::WriteSample(dir.Path(), {});
        // Both formats, in turn.
        const auto format = i % 2 ? db::TableFormat::kJson : db::TableFormat::kCsv;
        const auto start = test::Snapshot(dir.Path());

        db::CellTable cells = Exported(dir.Str(), c.table, format);
        EXPECT_TRUE(Import(dir.Str(), c.table, cells).writes.Empty());
        EXPECT_TRUE(test::Snapshot(dir.Path()) == start) << "an unchanged import wrote";

        cells.rows.at(3).cells[ColumnOf(cells, c.cell)] = c.value;
        db::ImportPlan plan = Import(dir.Str(), c.table, cells);
        ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
        EXPECT_EQ(plan.records, 1u);
        ExpectOnlyFields(dir.Str(), c.table, start, {c.cell});
        EXPECT_EQ(Exported(dir.Str(), c.table, format).rows.at(3).cells[ColumnOf(cells, c.cell)],
                  c.value);
        EXPECT_EQ(db::CheckDataDirectory(dir.Str()).Errors(), 0u);

        const std::size_t col = ColumnOf(cells, c.column);
        for (auto& row : cells.rows) row.cells[col] = c.edit(*row.cells[col]);
        plan = Import(dir.Str(), c.table, cells);
        ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
        EXPECT_GT(plan.records, 1u);
        ExpectOnlyFields(dir.Str(), c.table, start, {c.cell, cells.columns[col]});
        EXPECT_EQ(db::CheckDataDirectory(dir.Str()).Errors(), 0u);
        const auto edited = test::Snapshot(dir.Path());
        EXPECT_TRUE(
            Import(dir.Str(), c.table, Exported(dir.Str(), c.table, format)).writes.Empty());
        EXPECT_TRUE(test::Snapshot(dir.Path()) == edited);
    }
}

TEST(VhtoolImport, BadCellsAreListedAndNothingIsWritten) {
    TempDir dir;
    const auto s = sample::WriteSample(dir.Path(), {});
    struct Case {
        db::TableId table;
        std::string column;  // "" : the row's Record cell
        std::string value;
        std::string reason;
        std::size_t row = 3;
    };
    using T = db::TableId;
    const std::vector<Case> cases = {
        {T::kPlayers, "PLayerPace", "21", "must be in the range 0 to 20"},
        {T::kPlayers, "PlayerWage", "12a", "'12a' is not a valid integer value"},
        {T::kPlayers, "PlayerNation", "9999", "no record 9999 in nation.dat"},
        {T::kPlayers, "PlayerNation", "-2", "no record -2 in nation.dat"},
        {T::kPlayers, "PlayerFavClubs", "1;2", "a list of 3"},
        {T::kPlayers, "PLayerMonthOB", "0", "a month of 0 gives no date"},
        {T::kPlayers, "PlayerDayOB", "32", "must be in the range 0 to 31"},
        {T::kPlayers, "PlayerSquad", "Third", "one of: First Squad, Reserve Squad"},
        {T::kClubs, "ClubSName", std::string(27, 'x'), "longer than the 26 characters"},
        {T::kClubs, "ClubLName", "Zen \u6F22", "the game's files cannot store"},
        {T::kClubs, "ClubLName", "Tab\there", "control character"},
        {T::kClubs, "ClubLPosition", "3", "only shows it"},
        {T::kClubs, "ClubOwnStadium", "yes", "1 for checked, 0 for not"},
        {T::kCities, "CityLongditude", "east", "not a valid floating point value"},
        {T::kNations, "Nation1Lang", "61", "no language 61"},
        {T::kStadiums, "", "9999", "no record 9999 in stadium.dat"},
        {T::kStadiums, "", "", "the row names no record"},
        {T::kStaff, "", std::to_string(s.player), "is a player: import him into players"},
        {T::kStadiums, "StadiumSize", "1", "no such column in stadiums; its columns are: Record"},
    };
    const auto before = test::Snapshot(dir.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column + " " + c.value);
        db::CellTable cells = Exported(dir.Str(), c.table, db::TableFormat::kCsv);
        if (c.column.empty()) {
            cells.rows.at(c.row).cells[0] = c.value;
        } else if (std::find(cells.columns.begin(), cells.columns.end(), c.column) ==
                   cells.columns.end()) {
            cells.columns.push_back(c.column);
            for (auto& row : cells.rows) row.cells.push_back(c.value);
        } else {
            cells.rows.at(c.row).cells[ColumnOf(cells, c.column)] = c.value;
        }
        // A good change beside the bad one: it is not written either.
        if (c.table == T::kPlayers) cells.rows.at(5).cells[ColumnOf(cells, "PlayerWage")] = "9";
        const db::ImportPlan plan = Import(dir.Str(), c.table, cells);
        ASSERT_EQ(plan.bad.size(), 1u);
        const db::BadCell& bad = plan.bad.front();
        EXPECT_NE(bad.reason.find(c.reason), std::string::npos) << db::Describe(bad);
        EXPECT_EQ(bad.column, c.column.empty() ? "Record" : c.column);
        if (!c.column.empty() && c.column != "StadiumSize") {
            EXPECT_EQ(bad.value, c.value);
            EXPECT_EQ(bad.record, *cells.rows.at(c.row).cells[0]);
        }
        EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
    }

    // The same through vhtool: every bad cell listed, exit status 1.
    db::CellTable cells = Exported(dir.Str(), T::kPlayers, db::TableFormat::kCsv);
    cells.rows.at(1).cells[ColumnOf(cells, "PLayerPace")] = "99";
    cells.rows.at(2).cells[ColumnOf(cells, "PlayerYearOB")] = "2004";
    test::WriteFile(dir / "edit.csv", db::CsvOf(cells));
    const Outcome r = Vhtool({"import", dir.Str(), "players", (dir / "edit.csv").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("line 3, record " + *cells.rows[1].cells[0] + ", PLayerPace '99'"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("PlayerYearOB '2004': this value must be in the range 0 to 2003"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("2 bad cells"), std::string::npos) << r.err;
    fs::remove(dir / "edit.csv");
    EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
}

// Stores a raw value in a field of a table's row, as real data or another program may hold it.
void StoreRaw(const fs::path& dir, db::TableId id, std::size_t row, const std::string& column,
              const std::function<void(const db::Field&, std::uint8_t*)>& store) {
    const db::Table& table = db::TableOf(id);
    db::DataFiles files(dir.string());
    const db::TableRows rows(files, id);
    const db::Field& f = *rows.FindColumn(column)->field;
    const std::int64_t at = f.part == db::Part::kRecord ? rows[row].record * table.recordSize
                                                        : files.BlockOffset(rows[row].rec, f.part);
    const fs::path file = dir / std::string(table.file.substr(1));
    test::Bytes bytes = test::ReadFile(file);
    store(f, bytes.data() + at);
    test::WriteFile(file, bytes);
}

// The stored value spelled otherwise than export writes it is no change: it is neither checked
// against the page's range nor written, though the value lies outside what the page accepts.
TEST(VhtoolImport, AStoredValueSpelledAnotherWayChangesNothing) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    struct Case {
        db::TableId table;
        std::string column;
        std::function<void(const db::Field&, std::uint8_t*)> store;
        std::vector<std::string> spellings;
    };
    auto number = [](std::int64_t v) {
        return [v](const db::Field& f, std::uint8_t* rec) {
            for (std::size_t k = 0; k < f.count; ++k) f.Write(rec, k ? -1 : v, k);
        };
    };
    using T = db::TableId;
    const std::vector<Case> cases = {
        {T::kPlayers, "PLayerPace", number(25), {" 25", "+25", "025"}},
        {T::kClubs, "ClubCash", number(-7), {"-07", " -7"}},
        {T::kPlayers, "PlayerNation", number(9999), {"+9999", "09999"}},
        {T::kPlayers, "PlayerFavClubs", number(9999), {"+9999;-1;-1", " 9999;-01;-1"}},
        {T::kCities,
         "CityLatitude",
         [](const db::Field& f, std::uint8_t* rec) { f.WriteDouble(rec, 51.123456); },
         {" 51.1235", "+51.1235", "51.12350"}},
    };
    for (const Case& c : cases) {
        StoreRaw(dir.Path(), c.table, 3, c.column, c.store);
        const auto before = test::Snapshot(dir.Path());
        for (const std::string& spelling : c.spellings) {
            SCOPED_TRACE(c.column + " '" + spelling + "'");
            db::CellTable cells = Exported(dir.Str(), c.table, db::TableFormat::kCsv);
            cells.rows.at(3).cells[ColumnOf(cells, c.column)] = spelling;
            const db::ImportPlan plan = Import(dir.Str(), c.table, cells);
            EXPECT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
            EXPECT_TRUE(plan.writes.Empty());
            EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
        }
    }
}

// A reference takes the last record of its target and refuses the one after it, for every target,
// through the first field that stores one.
TEST(VhtoolImport, AReferenceTakesTheLastRecordOfItsTargetAndNotTheNext) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    const auto before = test::Snapshot(dir.Path());
    std::set<db::Target> seen;
    for (const db::Table& table : db::Tables())
        for (const db::Field& f : table.fields) {
            if (!f.IsReference() || f.edit != db::Edit::kStored || !seen.insert(f.target).second)
                continue;
            SCOPED_TRACE(f.name);
            const std::int64_t count = db::DataFiles(dir.Str()).CountOf(f.target);
            for (const std::int64_t v : {count - 1, count}) {
                db::CellTable cells = Exported(dir.Str(), table.id, db::TableFormat::kCsv);
                std::string& cell = *cells.rows.at(3).cells[ColumnOf(cells, f.name)];
                const std::size_t rest = f.kind == db::Kind::kList ? cell.find(';') : cell.size();
                cell = std::to_string(v) + cell.substr(rest);
                db::DataFiles files(dir.Str());
                const db::ImportPlan plan = db::PlanImport(files, table.id, cells);
                if (v < count) {
                    EXPECT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
                } else {
                    EXPECT_EQ(plan.bad.size(), 1u) << v;
                    for (const db::BadCell& bad : plan.bad)
                        EXPECT_NE(bad.reason.find(" " + std::to_string(v) + " "), std::string::npos)
                            << db::Describe(bad);
                }
            }
        }
    EXPECT_EQ(seen.size(), 12u) << "a kind of reference no field stores";
    EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
}

// A .name column stands for its field only where the file gives no number for it: an export
// edited in its name columns alone changes nothing, a file of names alone is applied.
TEST(VhtoolImport, NamesAreReadWhereNoNumberIsGiven) {
    TempDir dir;
    sample::SampleOptions options;
    options.sharedNames = true;  // two clubs named "Athletic"
    const auto s = sample::WriteSample(dir.Path(), options);
    // A club's first rival is the second of the two, which a lookup by the name does not find.
    const std::size_t shared = s.clubsSharingShortName.first == 0 ? 1 : 0;
    test::Edit<db::ClubRecord>(
        dir.Path(), "club.dat", static_cast<std::int64_t>(shared) * db::ClubRecord::kSize,
        [&](db::ClubRecord& c) {
            c.Set(db::ClubRecord::RivalClubs[0], s.clubsSharingShortName.second);
        });
    const auto before = test::Snapshot(dir.Path());
    db::CellTable cells = Exported(dir.Str(), db::TableId::kClubs, db::TableFormat::kCsv);
    const auto cell = [&](std::size_t r, const char* column) {
        return *cells.rows.at(r).cells[ColumnOf(cells, column)];
    };
    ASSERT_TRUE(cell(shared, "ClubRivalList.name").starts_with("Athletic;"));
    // A club of another nation.
    std::size_t other = 0;
    while (other == shared || cell(other, "ClubNation") == cell(shared, "ClubNation")) ++other;
    cells.rows.at(shared).cells[ColumnOf(cells, "ClubNation.name")] =
        cell(other, "ClubNation.name");
    EXPECT_TRUE(Import(dir.Str(), db::TableId::kClubs, cells).writes.Empty());

    // Only Record and the names: the shared name of the rival keeps the club it holds.
    db::CellTable names;
    names.columns = {"Record", "ClubNation.name", "ClubRivalList.name"};
    names.rows.push_back({1,
                          {std::to_string(shared), cell(other, "ClubNation.name"),
                           cell(shared, "ClubRivalList.name")}});
    names.rows.push_back({2, {std::to_string(other), "Atlantis", "<empty>;<empty>;<empty>"}});
    db::ImportPlan plan = Import(dir.Str(), db::TableId::kClubs, names);
    ASSERT_EQ(plan.bad.size(), 1u);
    EXPECT_EQ(db::Describe(plan.bad.front()),
              "line 2, record " + std::to_string(other) +
                  ", ClubNation.name 'Atlantis': no record of nation.dat is named 'Atlantis'");
    EXPECT_TRUE(test::Snapshot(dir.Path()) == before);

    names.rows.pop_back();
    plan = Import(dir.Str(), db::TableId::kClubs, names);
    ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
    ASSERT_EQ(plan.changes.size(), 1u);
    EXPECT_EQ(plan.changes.front().column, "ClubNation");
    EXPECT_EQ(plan.changes.front().after, cell(other, "ClubNation"));
}

TEST(VhtoolImport, ClubsAndPostsMoveByTheirRules) {
    TempDir dir;
    const auto s = sample::WriteSample(dir.Path(), {});
    const auto clubOf = [&](std::int32_t person) {
        return test::ReadRecords<db::StaffRecord>(dir.Str() + "/staff.dat")
            .at(static_cast<std::size_t>(person))
            .Get(db::StaffRecord::Club);
    };
    auto set = [&](db::TableId t, std::int64_t record, const std::string& column,
                   const std::string& value) {
        db::CellTable cells = Exported(dir.Str(), t, db::TableFormat::kCsv);
        for (auto& row : cells.rows)
            if (*row.cells[0] == std::to_string(record)) row.cells[ColumnOf(cells, column)] = value;
        return Import(dir.Str(), t, cells);
    };
    const std::string noManager = std::to_string(s.clubWithoutManager);

    // A free player joins a club through its squad; the person now names the club.
    db::CellTable clubs = Exported(dir.Str(), db::TableId::kClubs, db::TableFormat::kCsv);
    std::string squad = *clubs.rows.at(static_cast<std::size_t>(s.clubWithoutManager))
                             .cells[ColumnOf(clubs, "ClubPlayerList")];
    squad.replace(squad.rfind("-1"), 2, std::to_string(s.freePlayer));
    auto plan = set(db::TableId::kClubs, s.clubWithoutManager, "ClubPlayerList", squad);
    ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
    EXPECT_EQ(clubOf(s.freePlayer), s.clubWithoutManager);

    // ... and leaves for another club through the players table: off the squad he left.
    plan = set(db::TableId::kPlayers, s.freePlayer, "PlayerCurrentClub",
               std::to_string(s.clubWithoutSquad));
    ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
    EXPECT_EQ(clubOf(s.freePlayer), s.clubWithoutSquad);
    EXPECT_EQ(Exported(dir.Str(), db::TableId::kClubs, db::TableFormat::kCsv)
                  .rows.at(static_cast<std::size_t>(s.clubWithoutManager))
                  .cells[ColumnOf(clubs, "ClubPlayerList")]
                  .value()
                  .find(std::to_string(s.freePlayer) + ";"),
              std::string::npos);

    // Both clubs of a transfer given as their lists, the club joined first: its move takes the
    // player off the other list, which then already reads as the file asks.
    clubs = Exported(dir.Str(), db::TableId::kClubs, db::TableFormat::kCsv);
    const auto high = static_cast<std::size_t>(std::max(s.clubWithGaps, s.clubWithFullPosts));
    const auto low = static_cast<std::size_t>(std::min(s.clubWithGaps, s.clubWithFullPosts));
    const std::size_t list = ColumnOf(clubs, "ClubPlayerList");
    std::string left = *clubs.rows.at(high).cells[list];
    const std::string mover = left.substr(0, left.find(';'));
    left.replace(0, mover.size(), "-1");
    std::string joined = *clubs.rows.at(low).cells[list];
    joined.replace(joined.find("-1"), 2, mover);
    clubs.rows.at(high).cells[list] = left;
    clubs.rows.at(low).cells[list] = joined;
    plan = Import(dir.Str(), db::TableId::kClubs, clubs);
    ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
    EXPECT_EQ(clubOf(std::stoi(mover)), static_cast<std::int32_t>(low));

    // A manager appointed to a club without one; another refused with the page's message.
    plan = set(db::TableId::kStaff, s.manager, "NonPlayerCurrentClub", noManager);
    ASSERT_TRUE(plan.bad.empty()) << db::Describe(plan.bad.front());
    EXPECT_EQ(clubOf(s.manager), s.clubWithoutManager);
    test::Edit<db::StaffRecord>(dir.Path(), "staff.dat", s.freeStaff * 157, [](db::StaffRecord& p) {
        p.Set(db::StaffRecord::ClubJob, std::uint8_t{8});  // a coach: the club has five
    });
    const auto before = test::Snapshot(dir.Path());
    plan = set(db::TableId::kClubs, s.clubWithFullPosts, "ClubManager", std::to_string(s.player));
    ASSERT_EQ(plan.bad.size(), 1u);
    EXPECT_NE(plan.bad[0].reason.find("does not hold this post"), std::string::npos);
    plan = set(db::TableId::kStaff, s.freeStaff, "NonPlayerCurrentClub",
               std::to_string(s.clubWithFullPosts));
    ASSERT_EQ(plan.bad.size(), 1u);
    EXPECT_EQ(plan.bad[0].reason, "This Job Is Already Held By Another Staff Member");
    EXPECT_TRUE(test::Snapshot(dir.Path()) == before);
    EXPECT_EQ(db::CheckDataDirectory(dir.Str()).Errors(), 0u);
}

TEST(VhtoolImport, RefusesWhatItCannotReadOrWrite) {
    TempDir tmp;
    const fs::path dir = tmp / "data";
    const auto s = sample::WriteSample(dir, {});
    fs::create_directory(dir / "backup");
    test::WriteFile(dir / "backup" / "staff.dat", std::string("the user's one backup"));
    const std::string edit = (tmp / "edit.csv").string();
    test::WriteFile(edit, "Record,PLayerPace\n" + std::to_string(s.player) + ",1\n");
    const auto before = test::Snapshot(dir);

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    test::WriteFile(tmp / "binary.csv", test::Bytes{0x50, 0x4B, 0x03, 0x04, 0x00, 0xFF});
    test::WriteFile(tmp / "broken.json", std::string("[{\"Record\": 1,"));
    test::WriteFile(tmp / "norecord.csv", std::string("Name\nX\n"));
    // Saved by a spreadsheet that read the UTF-8 file as Latin-1.
    test::WriteFile(tmp / "latin1.csv", "\xC3\xAF\xC2\xBB\xC2\xBFRecord,PLayerPace\n1,2\n");
    const std::vector<Case> cases = {
        {{"import", dir.string(), "players", (tmp / "missing.csv").string()}, 1, "cannot read"},
        {{"import", dir.string(), "players", (tmp / "binary.csv").string()}, 1, "no UTF-8 text"},
        {{"import", dir.string(), "players", (tmp / "broken.json").string()}, 1, "not JSON"},
        {{"import", dir.string(), "colours", (tmp / "norecord.csv").string()},
         1,
         "no Record column"},
        {{"import", (tmp / "nothing").string(), "players", edit}, 1, "File not found"},
        {{"import", dir.string(), "teams", edit}, 2, "unknown table 'teams'"},
        {{"import", dir.string(), "players", edit, "--dry-run", "--verbose"}, 0, "PLayerPace: "},
    };
    for (const Case& c : cases) {
        const Outcome r = Vhtool(c.args);
        EXPECT_EQ(r.status, c.status) << c.message << r.err;
        EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << r.out << r.err;
        EXPECT_TRUE(test::Snapshot(dir) == before) << c.message;
    }
    if (test::ReadOnlyIsEnforced(dir)) {
        test::MakeReadOnly(dir / "staff.dat");
        const Outcome r = Vhtool({"import", dir.string(), "players", edit});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("File access denied; nothing was written"), std::string::npos)
            << r.err;
        EXPECT_TRUE(test::Snapshot(dir) == before);
        fs::permissions(dir / "staff.dat", fs::perms::owner_all);
    }
    const Outcome done = Vhtool({"import", dir.string(), "players", edit});
    EXPECT_EQ(done.status, 0) << done.err;
    EXPECT_NE(done.out.find("Changed 1 field of 1 record"), std::string::npos) << done.out;
    const std::string backup = "the user's one backup";
    EXPECT_EQ(test::ReadFile(dir / "backup" / "staff.dat"),
              test::Bytes(backup.begin(), backup.end()));
}

}  // namespace
}  // namespace vh
