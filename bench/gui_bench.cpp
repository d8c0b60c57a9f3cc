// The window's own work at full scale: "Load Data", the people list, a keystroke in the search
// box, a stadium search with its page, and a stadium save with its lookups.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "dialogs/msgbox.h"
#include "editor/stad.h"
#include "editor/stadium_page.h"
#include "editor/startup.h"
#include "full_sample.h"

namespace vh::bench {
namespace {

ui::Windows& W() {
    static ui::Windows w = [] {
        ui::Windows x = ui::CreateWindows(ui::StartOptions{QString::fromStdString(Full().Path())});
        x.main->show();
        x.main->LoadClick();
        return x;
    }();
    return w;
}

void BM_LoadClick(benchmark::State& state) {
    for (auto _ : state) W().main->LoadClick();  // files, name tables and the people list
}
BENCHMARK(BM_LoadClick)->Unit(benchmark::kMillisecond);

void BM_PeopleListFill(benchmark::State& state) {
    for (auto _ : state) W().main->PlayerradClick();
    state.counters["lines"] = W().main->ResultModel().Count();
}
BENCHMARK(BM_PeopleListFill)->Unit(benchmark::kMillisecond);

void BM_SearchBoxKeystroke(benchmark::State& state) {
    W().main->PlayerradClick();
    auto* box = W().main->findChild<QLineEdit*>("SearchEdit");
    bool flip = false;
    for (auto _ : state) {
        box->setText(flip ? QStringLiteral("b") : QStringLiteral("a"));  // one rebuild of the list
        flip = !flip;
        QApplication::processEvents();
    }
    state.counters["lines"] = W().main->ResultModel().Count();
}
BENCHMARK(BM_SearchBoxKeystroke)->Unit(benchmark::kMillisecond);

void StadiumMode() {
    W().main->findChild<QAction*>("StadiumMenu")->trigger();
    auto* list = W().main->findChild<QListView*>("ListBox2");
    list->setCurrentIndex(W().main->ResultModel().index(W().main->ResultModel().Count() - 1));
    W().main->ListBox2Click();
}

void BM_StadiumSearchAndShow(benchmark::State& state) {
    StadiumMode();
    for (auto _ : state) W().main->SearchButtonClick();  // the last stadium: a whole scan
}
BENCHMARK(BM_StadiumSearchAndShow)->Unit(benchmark::kMillisecond);

void BM_StadiumSave(benchmark::State& state) {
    StadiumMode();
    W().main->SearchButtonClick();
    // The nearby stadium given by name (the last one: a whole scan), as if typed rather than
    // picked: every save looks it up.
    const db::NameTable& names = W().main->Session().lists.stadium;
    W().main->findChild<QLineEdit*>("NearbyStad")
        ->setText(QString::fromStdString(names.At(static_cast<long long>(names.Count()) - 1)));
    for (auto _ : state) W().main->Stadiums().StadiumSave();
}
BENCHMARK(BM_StadiumSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vh::bench

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vh::ui::seam::Enable();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    vh::bench::W() = vh::ui::Windows{};
    benchmark::Shutdown();
    return 0;
}
