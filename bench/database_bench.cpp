// Database work at full scale: the load with its name tables, the people list, one filter
// keystroke, reading a player, and a save's lookups, beside the time to read the same bytes raw.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "database/changes/diff.h"
#include "database/model/blocks.h"
#include "database/model/check.h"
#include "database/model/lists.h"
#include "database/records/file_set.h"
#include "database/records/names.h"
#include "database/records/person.h"
#include "database/records/reference.h"
#include "database/tables/refs.h"
#include "database/tables/table_data.h"
#include "database/tables/table_import.h"
#include "database/write/backup.h"
#include "database/write/write_set.h"
#include "measure.h"
#include "tools/cli.h"

extern char** environ;

namespace vh::bench {
namespace {

void BM_CatNamesFiles(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ReadPlain({"first_names.dat", "second_names.dat", "common_names.dat"}));
}
BENCHMARK(BM_CatNamesFiles)->Unit(benchmark::kMillisecond);

void BM_CatStaff(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ReadPlain({"staff.dat"}));
}
BENCHMARK(BM_CatStaff)->Unit(benchmark::kMillisecond);

// "Load Data": open the eleven files and read the three name tables.
void BM_LoadWithNameTables(benchmark::State& state) {
    for (auto _ : state) {
        db::FileSet files;
        files.Open(Full().Path());
        db::NameTables names;
        db::LoadNameTable(files.firstNames, names.first);
        db::LoadNameTable(files.secondNames, names.second);
        db::LoadNameTable(files.commonNames, names.common);
        benchmark::DoNotOptimize(names.second.Count());
    }
}
BENCHMARK(BM_LoadWithNameTables)->Unit(benchmark::kMillisecond);

struct Loaded {
    db::FileSet files;
    db::NameTables names;
    db::ListTables lists;
    Loaded() {
        files.Open(Full().Path());
        db::LoadNameTable(files.firstNames, names.first);
        db::LoadNameTable(files.secondNames, names.second);
        db::LoadNameTable(files.commonNames, names.common);
        db::StaffLoad(files, Full().Path(), names, lists);
        db::ClubLoad(files, lists);
    }
};
Loaded& L() {
    static Loaded l;
    return l;
}

// The people list: one pass over staff.dat, labels for every person.
void BM_StaffLoad(benchmark::State& state) {
    for (auto _ : state) {
        db::StaffLoad(L().files, Full().Path(), L().names, L().lists);
        benchmark::DoNotOptimize(L().lists.player.Count());
    }
    state.counters["persons"] =
        static_cast<double>(L().lists.player.Count() + L().lists.staff.Count());
}
BENCHMARK(BM_StaffLoad)->Unit(benchmark::kMillisecond);

// One keystroke of the filter: every label of both people tables (the favourite-staff pickers).
void BM_FilterPeople(benchmark::State& state) {
    std::vector<const std::string*> out;
    for (auto _ : state) {
        out.clear();
        const std::string w = db::CapitaliseForFilter("b");
        db::AppendMatching(*L().lists.staff.entries, w, "b", out);
        db::AppendMatching(*L().lists.player.entries, w, "b", out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["matches"] = static_cast<double>(out.size());
}
BENCHMARK(BM_FilterPeople)->Unit(benchmark::kMicrosecond);

// The same over 90000 labels, the capacity of the people lists.
void BM_Filter90000(benchmark::State& state) {
    db::Names labels;
    for (int i = 0; i < 90000; ++i)
        labels.push_back(L().lists.player.At(i % L().lists.player.Count()));
    std::vector<const std::string*> out;
    for (auto _ : state) {
        out.clear();
        db::AppendMatching(labels, "Be", "be", out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Filter90000)->Unit(benchmark::kMicrosecond);

// Reading a player for the page: the label's Id, the person record, the player record staged
// through the scratch files.
void BM_ReadPlayer(benchmark::State& state) {
    db::ScratchFiles scratch;
    // The last player of the list.
    const std::string label =
        L().lists.player.At(static_cast<long long>(L().lists.player.Count()) - 1);
    for (auto _ : state) {
        const std::int32_t id = db::GetStaffIdFromName(label);
        db::StaffRecord person;
        L().files.staff.Reset(db::StaffRecord::kSize);
        L().files.staff.Seek(id);
        L().files.staff.Read(person.bytes);
        db::BlockPlace place;
        auto rec = db::GetPlayerData(Full().Path(), person.Get(db::StaffRecord::PlayerIndex), place,
                                     scratch);
        benchmark::DoNotOptimize(rec.bytes.data());
    }
    scratch.DeleteAll();
}
BENCHMARK(BM_ReadPlayer)->Unit(benchmark::kMillisecond);

// The lookups of a club save at their worst: names found in the last records of their files.
void BM_LookupLastClub(benchmark::State& state) {
    const std::string last = L().lists.club.At(static_cast<long long>(L().lists.club.Count()) - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(db::LookupByName(last, L().files.club, db::kClubShortName));
}
BENCHMARK(BM_LookupLastClub)->Unit(benchmark::kMillisecond);

// The integrity check of the whole directory (well under a second), beside a plain read of the
// twelve files it reads.
void BM_CheckDataDirectory(benchmark::State& state) {
    std::size_t errors = 0;
    TimeAction(
        state, [](std::int64_t) {},
        [&] { errors += db::CheckDataDirectory(Full().Path()).Errors(); },
        {"stadium.dat", "city.dat", "club.dat", "club_comp.dat", "nation.dat", "staff.dat",
         "first_names.dat", "second_names.dat", "common_names.dat", "colour.dat", "continent.dat",
         "index.dat"});
    if (errors != 0) state.SkipWithError("the full sample has errors");
}
BENCHMARK(BM_CheckDataDirectory)->UseManualTime()->Unit(benchmark::kMillisecond);

// A save's lookup of a second name: the name of the last record of second_names.dat, found where
// that name first occurs (the "record" counter), beside a plain read of the file.
void BM_LookupLastSecondName(benchmark::State& state) {
    const db::NameTable& second = L().names.second;
    const std::string last = second.At(static_cast<long long>(second.Count()) - 1);
    std::int32_t found = -1;
    TimeAction(
        state, [](std::int64_t) {},
        [&] { found = db::LookupByName(last, L().files.secondNames, db::kPersonName); },
        {"second_names.dat"});
    state.counters["record"] = found;
    state.counters["records"] = static_cast<double>(second.Count());
}
BENCHMARK(BM_LookupLastSecondName)->UseManualTime()->Unit(benchmark::kMillisecond);

// vhtool export of the players table as CSV (without writing the file), and vhtool import of that
// file unchanged: every cell read and held against its record, nothing to write. Beside a plain
// read of the files they read.
#define VH_PLAYER_TABLE_FILES                                                                \
    {                                                                                        \
        "staff.dat", "index.dat", "first_names.dat", "second_names.dat", "common_names.dat", \
            "nation.dat", "club.dat"                                                         \
    }

std::string ExportPlayers() {
    db::DataFiles files(Full().Path());
    std::string text;
    db::WriteTable(db::TableRows(files, db::TableId::kPlayers), db::TableFormat::kCsv, {}, true,
                   text);
    return text;
}

void BM_ExportPlayers(benchmark::State& state) {
    std::size_t bytes = 0;
    TimeAction(
        state, [](std::int64_t) {}, [&] { bytes = ExportPlayers().size(); }, VH_PLAYER_TABLE_FILES);
    state.counters["csv_mb"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ExportPlayers)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ImportPlayers(benchmark::State& state) {
    const std::string text = ExportPlayers();
    bool unchanged = true;
    TimeAction(
        state, [](std::int64_t) {},
        [&] {
            db::DataFiles files(Full().Path());
            const db::ImportPlan plan =
                db::PlanImport(files, db::TableId::kPlayers, db::ReadCellTable(text));
            unchanged = unchanged && plan.bad.empty() && plan.writes.Empty();
        },
        VH_PLAYER_TABLE_FILES);
    if (!unchanged) state.SkipWithError("an unchanged export would change the files");
}
BENCHMARK(BM_ImportPlayers)->UseManualTime()->Unit(benchmark::kMillisecond);
// Every player record read as a formula reads it: the rows of the players table and one field's
// cell of each. The reference for vhtool set below.
void BM_ReadPlayerRecords(benchmark::State& state) {
    std::size_t sum = 0;
    TimeAction(
        state, [](std::int64_t) {},
        [&] {
            db::DataFiles files(Full().Path());
            const db::TableRows rows(files, db::TableId::kPlayers);
            const db::Column& pace = *rows.FindColumn("PLayerPace");
            for (std::size_t i = 0; i < rows.Size(); ++i) sum += rows.Cell(rows[i], pace).size();
        },
        {"staff.dat", "index.dat"});
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_ReadPlayerRecords)->UseManualTime()->Unit(benchmark::kMillisecond);

// vhtool set of one field over every player (35000): 20 - pace, which changes all but the tens
// and gives them back on the next run. Argument 0: --dry-run (read, evaluate, plan); 1: committed
// through the journal.
void BM_SetPaceOfEveryPlayer(benchmark::State& state) {
    const bool commit = state.range(0) == 1;
    bool ok = true;
    TimeAction(
        state, [](std::int64_t) {},
        [&] {
            std::ostringstream out, err;
            std::vector<std::string> args = {"set", Full().Path(), "players",
                                             "PLayerPace=20-PLayerPace"};
            if (!commit) args.push_back("--dry-run");
            ok = ok && cli::RunVhtool(args, out, err) == 0;
        },
        {"staff.dat", "index.dat"});
    if (!ok) state.SkipWithError("vhtool set failed");
}
BENCHMARK(BM_SetPaceOfEveryPlayer)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Changes Since Backup" and `vhtool diff`: a copy of the full sample against its backup after a
// thousand records changed (600 persons, each with his player or staff record, 300 clubs, 100
// stadiums), beside a plain read of every file of both directories.
void BM_DiffAgainstBackup(benchmark::State& state) {
    const fs::path dir = Full().dir / "diff";
    const std::string path = dir.string();
    if (!fs::exists(dir)) {  // made once: the benchmark function runs more than once
        fs::copy(CachedSample(), dir, fs::copy_options::recursive);
        db::Backup(path);
        db::DataFiles files(path);
        db::WriteSet set("benchmark changes");
        const std::int64_t persons = files.PersonCount();
        for (std::int64_t i = 0; i < 600; ++i) {
            const std::int64_t id = i * (persons / 600);
            db::StaffRecord p;
            std::copy_n(files.Person(id), db::StaffRecord::kSize, p.bytes.begin());
            p.Set(db::StaffRecord::Wage, p.Get(db::StaffRecord::Wage) / 2 + 1);
            set.PutRecord(db::kStaffFile, id, p);
            for (db::Part part : {db::Part::kPlayer, db::Part::kNonPlayer})
                if (const std::int64_t at = files.BlockOffset(files.Person(id), part); at >= 0) {
                    std::vector<std::uint8_t> rec(files.Bytes(db::kStaffFile).begin() + at,
                                                  files.Bytes(db::kStaffFile).begin() + at + 20);
                    rec[16] = static_cast<std::uint8_t>((rec[16] + 1) % 20);  // a rating
                    set.Put(db::kStaffFile, at, rec);
                }
        }
        for (std::int64_t n = 0; n < 300; ++n) {
            db::ClubRecord c;
            const std::int64_t club = n * 97;
            std::copy_n(files.Bytes(db::kClubFile).begin() + club * db::ClubRecord::kSize,
                        db::ClubRecord::kSize, c.bytes.begin());
            c.Set(db::ClubRecord::Cash, static_cast<std::int32_t>(n * 1000));
            set.PutRecord(db::kClubFile, club, c);
        }
        for (std::int64_t n = 0; n < 100; ++n) {
            db::StadiumRecord s;
            std::copy_n(files.Bytes(db::kStadiumFile).begin() + n * db::StadiumRecord::kSize,
                        db::StadiumRecord::kSize, s.bytes.begin());
            s.Set(db::StadiumRecord::Capacity, s.Get(db::StadiumRecord::Capacity) + 1);
            set.PutRecord(db::kStadiumFile, n, s);
        }
        db::Commit(path, set);
    }
    std::size_t records = 0;
    TimeAction(
        state, [](std::int64_t) {},
        [&] { records = db::DiffDirectories(path, db::BackupDirectory(path)).records.size(); },
        {"diff/stadium.dat",
         "diff/club.dat",
         "diff/nation.dat",
         "diff/first_names.dat",
         "diff/second_names.dat",
         "diff/city.dat",
         "diff/staff.dat",
         "diff/clubcomp.dat",
         "diff/colour.dat",
         "diff/club_comp.dat",
         "diff/continent.dat",
         "diff/common_names.dat",
         "diff/index.dat",
         "diff/backup/stadium.dat",
         "diff/backup/club.dat",
         "diff/backup/nation.dat",
         "diff/backup/first_names.dat",
         "diff/backup/second_names.dat",
         "diff/backup/city.dat",
         "diff/backup/staff.dat",
         "diff/backup/clubcomp.dat",
         "diff/backup/colour.dat",
         "diff/backup/club_comp.dat",
         "diff/backup/continent.dat",
         "diff/backup/common_names.dat"});
    state.counters["records"] = static_cast<double>(records);
    if (records != 1000) state.SkipWithError("the diff did not find the thousand records");
}
BENCHMARK(BM_DiffAgainstBackup)->UseManualTime()->Unit(benchmark::kMillisecond);

// "What points here" (`vhtool refs`, Edit > "What Points Here..."): every file it scans read again
// at each call, as the first call of a process reads them (nothing is kept between calls); for
// the club with the largest squad and for the nation of the most persons. Beside a plain read of
// the files it scans.
struct RefsSubjects {
    std::int64_t club = 0, nation = 0;
    RefsSubjects() {
        db::DataFiles files(Full().Path());
        const db::TableRows clubs(files, db::TableId::kClubs);
        const db::Field& squad = *db::TableOf(db::TableId::kClubs).Find("ClubPlayerList");
        std::size_t most = 0;
        for (std::size_t i = 0; i < clubs.Size(); ++i) {
            std::size_t n = 0;
            for (std::size_t k = 0; k < squad.count; ++k) n += squad.Read(clubs[i].rec, k) >= 0;
            if (n > most) most = n, club = clubs[i].record;
        }
        std::vector<std::size_t> persons(
            static_cast<std::size_t>(files.CountOf(db::Target::kNation)));
        for (std::int64_t id = 0; id < files.PersonCount(); ++id) {
            const std::int32_t n = db::StaffRecord::Nation.Read(files.Person(id));
            if (n >= 0 && static_cast<std::size_t>(n) < persons.size()) ++persons[n];
        }
        nation = std::max_element(persons.begin(), persons.end()) - persons.begin();
    }
};
const RefsSubjects& Subjects() {
    static const RefsSubjects s;
    return s;
}

std::size_t Refs(db::TableId table, std::int64_t record) {
    db::WhatPointsHere refs(Full().Path());
    benchmark::DoNotOptimize(refs.Label(table, record));
    return refs.Find(table, record).size();
}

void BM_RefsBigClub(benchmark::State& state) {
    std::size_t hits = 0;
    TimeAction(
        state, [](std::int64_t) {}, [&] { hits = Refs(db::TableId::kClubs, Subjects().club); },
        {"club.dat", "staff.dat", "index.dat"});
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_RefsBigClub)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RefsNation(benchmark::State& state) {
    std::size_t hits = 0;
    TimeAction(
        state, [](std::int64_t) {}, [&] { hits = Refs(db::TableId::kNations, Subjects().nation); },
        {"city.dat", "club.dat", "nation.dat", "staff.dat", "index.dat"});
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_RefsNation)->UseManualTime()->Unit(benchmark::kMillisecond);

#ifdef VH_VHTOOL
// The whole `vhtool refs` command in a fresh process (its start, the catalogue, the reads, the
// printing to /dev/null): the wall time of one process per iteration.
void RefsProcess(benchmark::State& state, const char* table, std::int64_t record) {
    const std::string record_text = std::to_string(record);
    std::vector<std::string> args = {VH_VHTOOL, "refs", Full().Path(), table, record_text};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        const auto start = Clock::now();
        pid_t pid = 0;
        int status = -1;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
            waitpid(pid, &status, 0);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("vhtool refs failed");
            break;
        }
    }
}
void BM_RefsBigClubProcess(benchmark::State& state) {
    RefsProcess(state, "clubs", Subjects().club);
}
BENCHMARK(BM_RefsBigClubProcess)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_RefsNationProcess(benchmark::State& state) {
    RefsProcess(state, "nations", Subjects().nation);
}
BENCHMARK(BM_RefsNationProcess)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

// What the folder's lock adds to every writing command: taken and released once, uncontended (the
// lock file exists after the first command, as it does in a folder that has been written).
void BM_WriteLock(benchmark::State& state) {
    const std::string path = Full().Path();
    for (auto _ : state) {
        const db::WriteLock lock(path);
        benchmark::DoNotOptimize(&lock);
    }
}
BENCHMARK(BM_WriteLock)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vh::bench

BENCHMARK_MAIN();
