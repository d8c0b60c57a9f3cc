// The first action of a session, in a fresh process of a program: the window brought up, what a
// user does before the action, then the action timed with the events it posts until the window is
// idle. vh_gui_bench runs these probes for its tables; vh_probe, the same probes without Google
// Benchmark, runs them where Google Benchmark is not available (the Windows build).
#pragma once

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "database/records/file_set.h"
#include "dialogs/msgbox.h"
#include "process_figures.h"
#include "window_driver.h"

namespace vh::bench {

// Handles every event the window has been posted (layouts, polish, the paints of a shown window)
// until none is left: only then can the user act again. Bounded, so that a timer firing again and
// again cannot keep it going.
inline void UntilIdle() {
    QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
    for (int i = 0; i < 10000; ++i) {
        QCoreApplication::sendPostedEvents();
        if (!d->processEvents(QEventLoop::AllEvents)) return;
    }
}

// A press and release of the mouse on a button, through the application as a real one comes.
inline void ClickAsTheUserDoes(QWidget* button) {
    const QPointF at = QRectF(button->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, button->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

// The first action of a session: a fresh process brings the window up, does what a user does
// before it (each step followed by its events), then times the action with its events.
inline void LoadNow() {
    Main().LoadClick();
    UntilIdle();
}
inline void SwitchTo(const char* menu) {
    Find<QAction>(menu)->trigger();
    UntilIdle();
}
template <const char* Menu, const char* Radio>
inline void ChooseLastOf() {
    LoadNow();
    SwitchTo(Menu);
    ChooseLast(Menu, Radio);
}

constexpr char kPlayerMenu[] = "PlayerMenu", kPlayerRad[] = "PlayerRad",
               kStaffMenu[] = "NonPlayerMenu", kStaffRad[] = "NonPlayerRad",
               kClubMenu[] = "ClubMenu", kStadiumMenu[] = "StadiumMenu", kStadRad[] = "Stadrad",
               kNationMenu[] = "NationMenu", kNationRad[] = "NationRad", kCityMenu[] = "CityMenu",
               kCityRad[] = "CityRad";

struct FirstAction {
    const char* name;
    void (*before)();
    void (*act)();
    std::vector<std::string> files;  // read plainly beside it
};
const std::vector<std::string> kNamesAndPeople = {"first_names.dat", "second_names.dat",
                                                  "common_names.dat", "staff.dat", "index.dat"};
const std::vector<std::string> kPersonShow = {"staff.dat", "index.dat", "club.dat", "nation.dat"};
inline std::vector<std::string> BackupFiles() {
    std::vector<std::string> out;
    for (std::string_view name : db::kBackupList) out.emplace_back(name.substr(1));
    return out;
}

template <const char* Menu>
inline void Switch() {
    Find<QAction>(Menu)->trigger();
}

inline const std::vector<FirstAction>& FirstActions() {
    static const std::vector<FirstAction> a = {
        {"Load", [] {}, [] { Find<QPushButton>("Load")->click(); }, kNamesAndPeople},
        // Pressed the moment the window appears, while it still prepares its hidden pages.
        {"LoadAtOnce", [] {}, [] { ClickAsTheUserDoes(Find<QPushButton>("Load")); },
         kNamesAndPeople},
        {"PlayerSearch", ChooseLastOf<kPlayerMenu, kPlayerRad>, Show, kPersonShow},
        {"StaffList", LoadNow, Switch<kStaffMenu>, {"staff.dat", "index.dat"}},
        {"StaffSearch", ChooseLastOf<kStaffMenu, kStaffRad>, Show, kPersonShow},
        {"ClubList", LoadNow, Switch<kClubMenu>, {"club.dat"}},
        {"ClubSearch",
         [] {
             LoadNow();
             SwitchTo(kClubMenu);
             ChooseClub();
         },
         Show,
         {"club.dat", "staff.dat", "nation.dat", "club_comp.dat", "stadium.dat", "colour.dat"}},
        {"StadiumList", LoadNow, Switch<kStadiumMenu>, {"stadium.dat"}},
        {"StadiumSearch", ChooseLastOf<kStadiumMenu, kStadRad>, Show, {"stadium.dat", "city.dat"}},
        {"NationList", LoadNow, Switch<kNationMenu>, {"nation.dat"}},
        {"NationSearch",
         ChooseLastOf<kNationMenu, kNationRad>,
         Show,
         {"nation.dat", "continent.dat", "city.dat", "stadium.dat", "colour.dat"}},
        {"CityList", LoadNow, Switch<kCityMenu>, {"city.dat"}},
        {"CitySearch", ChooseLastOf<kCityMenu, kCityRad>, Show, {"city.dat", "nation.dat"}},
        {"PlayerSave",
         [] {
             ChooseLastOf<kPlayerMenu, kPlayerRad>();
             Show();
             UntilIdle();
             // The other set of names than the record holds (an earlier process saved one), so
             // that every reference is looked up.
             const bool holdsFirstSet =
                 Find(Named(kPlayers, "FirstName").toLatin1().constData())->text() ==
                 Q(Late().first[0]);
             TypeEveryReference(kPlayers, holdsFirstSet ? 1 : 0);
         },
         [] { Main().SaveClick(); },
         {kPersonSaveFiles.begin(), kPersonSaveFiles.end()}},
        {"Backup", LoadNow, [] { Main().BackupMenuClick(); }, BackupFiles()},
        {"TableView",
         [] {
             LoadNow();
             SwitchTo(kPlayerMenu);
         },
         [] { Find<QAction>("TableViewMenu")->trigger(); },
         {kTableFiles.begin(), kTableFiles.end()}},
    };
    return a;
}

// The timed part of a probe, a function of its own so that a profiler can be told to look only at
// it (valgrind --tool=callgrind --toggle-collect='*TimedAct*').
[[gnu::noinline]] inline void TimedAct(const FirstAction& a) {
    a.act();
    UntilIdle();
}

inline int Probe(int argc, char** argv) {
    const auto start = Clock::now();
    QApplication app(argc, argv);
    ui::seam::Enable();
    const std::string mode = argv[1];
    const bool first = mode == "--probe-first";
    ui::StartOptions options;
    if (argc > (first ? 3 : 2)) options.dataDirectory = QString::fromLocal8Bit(argv[first ? 3 : 2]);
    g_windows = ui::CreateWindows(options);
    Main().show();
    // The window appears with its first turn of events; a user who waits finds it idle.
    const bool atOnce = first && argc > 2 && std::string(argv[2]) == "LoadAtOnce";
    if (atOnce)
        QCoreApplication::processEvents();
    else
        UntilIdle();
    const double startCpu = CpuMs();
    const double startWall = Ms(Clock::now() - start);
    if (mode == "--probe-startup") {
        std::printf("cpu_ms=%.3f wall_ms=%.3f\n", startCpu, startWall);
    } else if (mode == "--probe-memory" || mode == "--probe-memory-table") {
        Main().LoadClick();  // files, name tables, people list
        UntilIdle();
        if (mode == "--probe-memory-table") {
            Find<QAction>("TableViewMenu")->trigger();  // the players table
            UntilIdle();
        }
        std::printf("peak_mb=%.3f lines=%d\n", PeakMb(), Main().ResultModel().Count());
    } else if (first && argc > 2) {
        const auto& all = FirstActions();
        const std::string name = argv[2];
        const auto a = std::find_if(all.begin(), all.end(),
                                    [&](const FirstAction& x) { return name == x.name; });
        if (a == all.end()) {
            std::fprintf(stderr, "no first action named %s; the actions:", name.c_str());
            for (const FirstAction& x : all) std::fprintf(stderr, " %s", x.name);
            std::fprintf(stderr, "\n");
            _exit(2);
        }
        const auto before = Clock::now();
        a->before();
        if (!atOnce) {
            UntilIdle();
            UntilPagesPrepared();
        }
        const double cpu = CpuMs();
        const auto t = Clock::now();
        TimedAct(*a);
        std::printf("wall_ms=%.3f cpu_ms=%.3f asked=%zu startup_ms=%.3f before_ms=%.3f\n",
                    Ms(Clock::now() - t), CpuMs() - cpu, ui::seam::Log().size(), startWall,
                    Ms(t - before));
    }
    std::fflush(stdout);
    _exit(0);  // the figures are out; the teardown is not measured
}

}  // namespace vh::bench
