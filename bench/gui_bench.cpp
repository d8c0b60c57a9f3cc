// Every user action of the window at full scale, through the real window (offscreen): "Load
// Data", the people list, a keystroke in the search box over 90000 labels, the search, show and
// save of a player, a staff member, a club and a stadium, a transfer and an appointment, backup
// and restore. Beside each, the plain read of the files it works on (x_cat: the ratio); beside
// backup and restore, `cp -r` of the same files (x_cp). Those are warm figures, repeated in one
// process. The first action of a session (BM_First/...), start-up CPU time and peak memory are
// measured in fresh processes of this program (--probe-first ACTION DIR, --probe-startup,
// --probe-memory DIR).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "database/model/lists.h"
#include "database/records/data_def.h"
#include "database/records/file_set.h"
#include "database/records/person.h"
#include "database/records/record_file.h"
#include "database/write/write_set.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "editor/pages/club_page.h"
#include "editor/pages/stadium_page.h"
#include "editor/shell/stad.h"
#include "editor/shell/startup.h"
#include "editor/windows/table_view.h"
#include "first_actions.h"
#include "measure.h"
#include "platform/files.h"
#include "platform/native_file.h"

extern char** environ;

namespace vh::bench {
namespace {

int FreePlayerSlots(const db::ClubRecord& c) {
    int n = 0;
    for (std::size_t i = 0; i < db::ClubRecord::Players.kCount; ++i)
        n += c.Get(db::ClubRecord::Players[i]) < 0;
    return n;
}
// The club a lookup of `shortName` finds.
std::int64_t ClubNamed(const std::string& shortName) {
    return db::LookupByName(shortName, S().files.club, db::kClubShortName);
}
// Two late club names whose clubs have room in their squads: the transfers alternate between them.
std::pair<QString, QString> TransferClubs() {
    std::vector<QString> out;
    for (const std::string& n : Late().club) {
        if (FreePlayerSlots(ClubAt(ClubNamed(n))) > 0) out.push_back(Q(n));
        if (out.size() == 2) break;
    }
    return {out.at(0), out.at(1)};
}

// --- load and lists --------------------------------------------------------------------------

void BM_LoadClick(benchmark::State& state) {
    Find<QAction>("PlayerMenu")->trigger();
    Find<QRadioButton>("PlayerRad")->click();
    TimeAction(
        state, [](std::int64_t) {}, [] { Main().LoadClick(); },  // files, names, people list
        {"first_names.dat", "second_names.dat", "common_names.dat", "staff.dat", "index.dat"});
    state.counters["lines"] = Main().ResultModel().Count();
}
BENCHMARK(BM_LoadClick)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NameTables(benchmark::State& state) {
    TimeAction(
        state, [](std::int64_t) {}, [] { Main().GetNameArrays(); },
        {"first_names.dat", "second_names.dat", "common_names.dat"});
}
BENCHMARK(BM_NameTables)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PeopleListFill(benchmark::State& state) {
    TimeAction(
        state, [](std::int64_t) {}, [] { Main().PlayerradClick(); }, {"staff.dat", "index.dat"});
    state.counters["lines"] = Main().ResultModel().Count();
}
BENCHMARK(BM_PeopleListFill)->UseManualTime()->Unit(benchmark::kMillisecond);

// One keystroke in the search box over 90000 labels (the people lists' capacity: the full sample's
// player labels repeated), typed in lower case so that both spellings are compared. Argument:
// the length of the prefix typed; two prefixes of that length alternate.
void BM_FilterKeystroke90000(benchmark::State& state) {
    Find<QAction>("PlayerMenu")->trigger();
    Find<QRadioButton>("PlayerRad")->click();
    const db::Names& players = *S().lists.player.entries;
    auto labels = std::make_shared<db::Names>();
    for (std::size_t i = 0; labels->size() < db::kPeopleListCapacity; ++i)
        labels->push_back(players[i % players.size()]);
    const db::NamesPtr real = S().lists.player.entries;
    S().lists.player.entries = labels;
    const auto len = static_cast<std::size_t>(state.range(0));
    const QString a = Q(players.front().substr(0, len)).toLower();
    QString b = a;
    for (const std::string& p : players)
        if (Q(p.substr(0, len)).toLower() != a) {
            b = Q(p.substr(0, len)).toLower();
            break;
        }
    auto* box = Find("SearchEdit");
    TimeAction(
        state, [](std::int64_t) {},
        [&, flip = false]() mutable {
            box->setText(flip ? b : a);  // one rebuild of the list, and the view's layout
            flip = !flip;
            QApplication::processEvents();
        },
        {"staff.dat"});
    state.counters["labels"] = static_cast<double>(labels->size());
    state.counters["lines"] = Main().ResultModel().Count();
    S().lists.player.entries = real;
    Main().PlayerradClick();
}
BENCHMARK(BM_FilterKeystroke90000)->Arg(1)->Arg(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- players and staff -----------------------------------------------------------------------

// The last person of the list: its search reads the label, the person, the index and the block.
void PersonSearchAndShow(benchmark::State& state, const PersonPage& p) {
    ChooseLast(p.menu, p.radio);
    TimeAction(
        state, [](std::int64_t) {}, [] { Show(); },
        {"staff.dat", "index.dat", "club.dat", "nation.dat"});
}

void PersonSave(benchmark::State& state, const PersonPage& p) {
    ChooseLast(p.menu, p.radio);
    Show();
    TimeAction(
        state, [&](std::int64_t i) { TypeEveryReference(p, static_cast<std::size_t>(i & 1)); },
        [] { Main().SaveClick(); }, kPersonSaveFiles);
    state.counters["unsaved"] = Main().RecordChanged();
}

// A transfer or appointment to a club typed by name (a lookup in club.dat), between two clubs in
// turn.
void PersonMove(benchmark::State& state, const PersonPage& p) {
    ChooseLast(p.menu, p.radio);
    Show();
    const auto [a, b] = TransferClubs();
    auto* button = Find<QPushButton>(p.moveButton);
    ui::seam::Clear();
    TimeAction(
        state, [&](std::int64_t i) { Find(p.moveTarget)->setText(i & 1 ? b : a); },
        [&] { button->click(); }, {"club.dat", "staff.dat"});
    state.counters["refused"] = static_cast<double>(ui::seam::Log().size());
}

// The records of a set written in place, one positioned write each, with no journal and no sync:
// how every command wrote before the write path, timed beside it.
db::CommittedSet CommitWithoutJournal(const std::string& dataPath, const db::WriteSet& set) {
    db::CommittedSet done{set.Label(), {}};
    for (const db::Change& c : set.Changes()) {
        platform::NativeFile f;
        const auto path = platform::ResolveCase(platform::NativePath(dataPath + c.file));
        std::vector<std::uint8_t> before(c.bytes.size());
        std::size_t got = 0;
        int err = f.Open(path, platform::OpenMode::kReadWrite);
        if (!err) err = f.ReadAt(before.data(), before.size(), c.offset, got);
        if (!err) err = f.WriteAt(c.bytes.data(), c.bytes.size(), c.offset);
        if (err) throw std::runtime_error("cannot write " + path.string());
        done.changes.push_back({c.file, c.offset, before, c.bytes, 0, false});
    }
    db::NoteFilesChanged();
    return done;
}

// Runs a benchmark body with the records written without the journal.
template <class F>
void WithoutJournal(F&& body) {
    S().history.SetCommitter(CommitWithoutJournal);
    try {
        body();
    } catch (...) {
        S().history.SetCommitter({});
        throw;
    }
    S().history.SetCommitter({});
}

void BM_PlayerSearchAndShow(benchmark::State& state) {
    PersonSearchAndShow(state, kPlayers);
}
BENCHMARK(BM_PlayerSearchAndShow)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_PlayerSave(benchmark::State& state) {
    PersonSave(state, kPlayers);
}
BENCHMARK(BM_PlayerSave)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_PlayerTransfer(benchmark::State& state) {
    PersonMove(state, kPlayers);
}
BENCHMARK(BM_PlayerTransfer)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_PlayerSaveWithoutJournal(benchmark::State& state) {
    WithoutJournal([&] { PersonSave(state, kPlayers); });
}
BENCHMARK(BM_PlayerSaveWithoutJournal)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_PlayerTransferWithoutJournal(benchmark::State& state) {
    WithoutJournal([&] { PersonMove(state, kPlayers); });
}
BENCHMARK(BM_PlayerTransferWithoutJournal)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_StaffSearchAndShow(benchmark::State& state) {
    PersonSearchAndShow(state, kStaff);
}
BENCHMARK(BM_StaffSearchAndShow)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_StaffSave(benchmark::State& state) {
    PersonSave(state, kStaff);
}
BENCHMARK(BM_StaffSave)->UseManualTime()->Unit(benchmark::kMillisecond);
void BM_StaffAppointment(benchmark::State& state) {
    PersonMove(state, kStaff);
}
BENCHMARK(BM_StaffAppointment)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- clubs -----------------------------------------------------------------------------------

void BM_ClubSearchAndShow(benchmark::State& state) {
    ChooseClub();
    TimeAction(
        state, [](std::int64_t) {}, [] { Show(); },
        {"club.dat", "staff.dat", "nation.dat", "club_comp.dat", "stadium.dat", "colour.dat"});
    state.counters["players"] = Find<QListWidget>("ClubPlayerList")->count();
    state.counters["record"] = static_cast<double>(Main().Clubs().RecordNumber());
}
BENCHMARK(BM_ClubSearchAndShow)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ClubSave(benchmark::State& state) {
    ChooseClub();
    Show();
    const LateNames& n = Late();
    TimeAction(
        state,
        [&](std::int64_t i) {
            const auto k = static_cast<std::size_t>(i & 1);
            Find("ClubNation")->setText(Q(n.nation[k]));
            Find("ClubDivision")->setText(Q(n.competition[k]));
            Find("ClubLDivision")->setText(Q(n.competition[1 - k]));
            Find("ClubStadium")->setText(Q(n.stadium[k]));
            Find("ClubRStadium")->setText(Q(n.stadium[1 - k]));
            SetItems("ClubRivalList", Q(n.club[k]));
            Find("ClubCash")->setText(QString::number(1000 + k));
        },
        [] { Main().SaveClick(); },
        {"club.dat", "nation.dat", "club_comp.dat", "stadium.dat", "staff.dat"});
    state.counters["unsaved"] = Main().RecordChanged();
}
BENCHMARK(BM_ClubSave)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- stadiums --------------------------------------------------------------------------------

void BM_StadiumSearchAndShow(benchmark::State& state) {
    ChooseLast("StadiumMenu", "Stadrad");  // the last stadium: a whole scan
    TimeAction(
        state, [](std::int64_t) {}, [] { Show(); }, {"stadium.dat", "city.dat"});
}
BENCHMARK(BM_StadiumSearchAndShow)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_StadiumSave(benchmark::State& state) {
    ChooseLast("StadiumMenu", "Stadrad");
    Show();
    const LateNames& n = Late();
    TimeAction(
        state, [&](std::int64_t i) { Find("NearbyStad")->setText(Q(n.stadium[i & 1])); },
        [] { Main().SaveClick(); }, {"stadium.dat", "city.dat"});
}
BENCHMARK(BM_StadiumSave)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- the table view ----------------------------------------------------------------------------

ui::TTableViewWindow& Table() {
    ui::TTableViewWindow* w = Main().TableViewWindow();
    if (!w) throw std::logic_error("the table view is not open");
    return *w;
}
// The grid column of a field, by its name (the header's tooltip).
int TableColumn(const char* name) {
    const ui::TTableModel& m = Table().Model();
    for (int c = 0; c < m.columnCount(); ++c)
        if (m.headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString() == QLatin1String(name))
            return c;
    throw std::logic_error(std::string("no column ") + name);
}
void OpenPlayersTable() {
    Find<QAction>("PlayerMenu")->trigger();
    Find<QAction>("TableViewMenu")->trigger();
    QApplication::processEvents();
}

// View > "Table View" on the players: every row read, the first screen drawn.
void BM_TableOpenPlayers(benchmark::State& state) {
    TimeAction(
        state,
        [](std::int64_t) {
            if (Main().TableViewWindow()) Table().close();
        },
        OpenPlayersTable, kTableFiles);
    state.counters["rows"] = static_cast<double>(Table().Model().Total());
}
BENCHMARK(BM_TableOpenPlayers)->UseManualTime()->Unit(benchmark::kMillisecond);

// A click on a column's header, up and down in turn: 0 pace (numbers), 1 the label, 2 the
// nationality (the names a reference shows).
void BM_TableSort(benchmark::State& state) {
    OpenPlayersTable();
    static const char* const kColumns[] = {"PLayerPace", "Record", "PlayerNation"};
    const int column =
        state.range(0) == 1 ? ui::TTableModel::kLabelColumn : TableColumn(kColumns[state.range(0)]);
    TimeAction(
        state, [](std::int64_t) {},
        [&, down = false]() mutable {
            Table().Grid()->sortByColumn(column, down ? Qt::DescendingOrder : Qt::AscendingOrder);
            down = !down;
            QApplication::processEvents();
        },
        kTableFiles);
}
BENCHMARK(BM_TableSort)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Unit(benchmark::kMillisecond);

// One keystroke in the filter line, the last digit of a year typed and taken back in turn
// (argument 0); or in the name box, a third letter (argument 1).
void BM_TableFilterKeystroke(benchmark::State& state) {
    OpenPlayersTable();
    const bool labels = state.range(0) == 1;
    auto* box = Table().findChild<QLineEdit*>(labels ? "TableLabelFilter" : "TableFilter");
    const QString a =
        labels ? QStringLiteral("an") : QStringLiteral("PLayerPace>=18 and PlayerYearOB>=198");
    const QString b = labels ? QStringLiteral("and") : a + QLatin1Char('0');
    box->setText(a);
    TimeAction(
        state, [](std::int64_t) {},
        [&, flip = false]() mutable {
            box->setText(flip ? a : b);
            flip = !flip;
            QApplication::processEvents();
        },
        kTableFiles);
    state.counters["shown"] = static_cast<double>(Table().Model().Matching());
    box->clear();
}
BENCHMARK(BM_TableFilterKeystroke)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Save Data" of a column pasted into 100 rows: the check of every cell, the one write set through
// the journal, the rows taking it in and the pages reading their records again.
void BM_TableSave100(benchmark::State& state) {
    OpenPlayersTable();
    ui::TTableViewWindow& w = Table();
    const int wage = TableColumn("PlayerWage");
    TimeAction(
        state,
        [&](std::int64_t i) {
            QString column;
            for (int r = 0; r < 100; ++r) column += QString::number(1000 + 2 * r + (i & 1)) + '\n';
            QApplication::clipboard()->setText(column);
            w.Grid()->selectionModel()->select(w.Model().index(0, wage),
                                               QItemSelectionModel::ClearAndSelect);
            w.PasteClick();
        },
        [&] { w.findChild<QPushButton*>("TableSave")->click(); }, {"staff.dat"});
    state.counters["unsaved"] = static_cast<double>(w.Model().PendingRecords());
}
BENCHMARK(BM_TableSave100)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- backup and restore, beside `cp -r` --------------------------------------------------------

int Spawn(const std::vector<std::string>& args, std::string* out = nullptr) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out) {
        if (pipe(fds) != 0) return -1;
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
    }
    pid_t pid = 0;
    const int err = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (out) {
        close(fds[1]);
        char buf[512];
        ssize_t n = 0;
        while ((n = read(fds[0], buf, sizeof buf)) > 0)
            out->append(buf, static_cast<std::size_t>(n));
        close(fds[0]);
    }
    if (err) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `cp -r` of the backup list into a directory beside the data (overwriting the previous copy),
// and beside it the same followed by `sync` of the copies: backup and restore put every copy on
// disk before it replaces its target, which `cp -r` alone does not.
struct CopyReference {
    double cp = 0, cpSync = 0;
};
CopyReference CopyReferenceMs() {
    const std::filesystem::path to =
        Full().dir.parent_path() / (Full().dir.filename().string() + "-cp");
    std::filesystem::create_directories(to);
    std::vector<std::string> cp{"/bin/cp", "-r"}, sync{"/bin/sync"};
    for (std::string_view name : db::kBackupList)
        if (std::filesystem::exists(Full().dir / name.substr(1))) {
            cp.push_back((Full().dir / name.substr(1)).string());
            sync.push_back((to / name.substr(1)).string());
        }
    cp.push_back(to.string());
    CopyReference r;
    r.cp = MedianMs([&] { Spawn(cp); }, 7);
    r.cpSync = MedianMs(
        [&] {
            Spawn(cp);
            Spawn(sync);
        },
        7);
    std::filesystem::remove_all(to);
    return r;
}
void SetCopyRatios(benchmark::State& state, double total) {
    const double ms = total / static_cast<double>(state.iterations());
    const CopyReference r = CopyReferenceMs();
    SetRatio(state, ms, r.cp, "cp_ms", "x_cp");
    state.counters["cp_sync_ms"] = r.cpSync;
    state.counters["x_cp_sync"] = r.cpSync > 0 ? ms / r.cpSync : 0;
}

// The benchmarks before this one wrote thousands of records in seconds; their pages are put on
// disk first, so that the copies' own flushes (each backup copy is synced before it replaces the
// previous one) do not queue behind that writing-out, which a user's few saves never cause.
void Settle() {
    ::sync();
}

void BM_Backup(benchmark::State& state) {
    Settle();
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        Main().BackupMenuClick();
        const auto took = Clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        total += Ms(took);
    }
    SetCopyRatios(state, total);
}
BENCHMARK(BM_Backup)->UseManualTime()->Unit(benchmark::kMillisecond);

// Restore, with the reload of the files, the name tables and the list that follows it.
void BM_Restore(benchmark::State& state) {
    Find<QAction>("PlayerMenu")->trigger();
    Main().BackupMenuClick();
    Settle();
    double total = 0;
    for (auto _ : state) {
        ui::seam::QueueAnswer(ui::Answer::kOk);
        const auto start = Clock::now();
        Main().RestoreBackupMenuClick();
        const auto took = Clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        total += Ms(took);
    }
    SetCopyRatios(state, total);
}
BENCHMARK(BM_Restore)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- start-up, memory and the first action of a session, in fresh processes ---------------------

std::string g_self;

double Field(const std::string& text, const char* key) {
    const std::size_t at = text.find(key);
    return at == std::string::npos ? -1 : std::stod(text.substr(at + std::strlen(key)));
}

// From the start of a process of this program to a usable window: the CPU time (user + system)
// its own rusage gives once the shown window has handled its events, and the wall time of main.
// One fresh process per repetition.
void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        std::string out;
        Spawn({g_self, "--probe-startup"}, &out);
        state.counters["cpu_ms"] = Field(out, "cpu_ms=");
        state.counters["main_wall_ms"] = Field(out, "wall_ms=");
    }
}
BENCHMARK(BM_StartUp)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// Peak memory of a process that started, loaded the full sample and filled the people list.
void BM_PeakMemory(benchmark::State& state) {
    double peak = 0;
    for (auto _ : state) {
        std::string out;
        Spawn({g_self, "--probe-memory", Full().Path()}, &out);
        peak = std::max(peak, Field(out, "peak_mb="));
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same with the players table open in the table view.
void BM_PeakMemoryTable(benchmark::State& state) {
    double peak = 0;
    for (auto _ : state) {
        std::string out;
        Spawn({g_self, "--probe-memory-table", Full().Path()}, &out);
        peak = std::max(peak, Field(out, "peak_mb="));
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_PeakMemoryTable)->Iterations(1)->Unit(benchmark::kMillisecond);

// One fresh process per iteration; the figure is its wall time, beside its CPU time.
void BM_First(benchmark::State& state, const FirstAction& a) {
    double cpu = 0, total = 0, asked = 0;
    for (auto _ : state) {
        std::string out;
        Spawn({g_self, "--probe-first", a.name, Full().Path()}, &out);
        const double wall = Field(out, "wall_ms=");
        if (wall < 0) {
            state.SkipWithError(("no figure from the probe of " + std::string(a.name)).c_str());
            return;
        }
        state.SetIterationTime(wall / 1e3);
        total += wall;
        cpu += Field(out, "cpu_ms=");
        asked += Field(out, "asked=");
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = cpu / n;
    state.counters["asked"] = asked;  // message boxes the action raised: none is expected
    SetRatio(state, total / n, MedianMs([&] {
                 std::size_t bytes = 0;
                 for (const std::string& f : a.files) bytes += ReadPlain({f.c_str()});
                 benchmark::DoNotOptimize(bytes);
             }));
}

void RegisterFirstActions() {
    for (const FirstAction& a : FirstActions())
        benchmark::RegisterBenchmark(("BM_First/" + std::string(a.name)).c_str(), BM_First, a)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(5)  // medians of 5 fresh processes
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMillisecond);
}

}  // namespace
}  // namespace vh::bench

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && std::string(argv[1]).rfind("--probe-", 0) == 0)
        return vh::bench::Probe(argc, argv);
    vh::bench::g_self = std::filesystem::read_symlink("/proc/self/exe").string();
    QApplication app(argc, argv);
    vh::ui::seam::Enable();
    vh::bench::RegisterFirstActions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    vh::bench::g_windows = vh::ui::Windows{};
    benchmark::Shutdown();
    return 0;
}
