// The probes of vh_gui_bench in a program of their own, without Google Benchmark, so that the
// Windows build has them too: each runs in a fresh process and prints its figures on one line.
//   vh_probe --probe-first ACTION DIR   one first action on the data in DIR
//   vh_probe --probe-startup            start-up to a usable window
//   vh_probe --probe-memory DIR         peak memory with DIR loaded
//   vh_probe --probe-exit               nothing: the cost of starting and ending the process
// scripts/time-windows-first-actions runs the Linux and the Windows program side by side.
#include <cstdio>
#include <string>

#include "first_actions.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--probe-exit") return 0;
    if (mode.rfind("--probe-", 0) == 0) return vh::bench::Probe(argc, argv);
    std::fprintf(stderr,
                 "usage: vh_probe --probe-first ACTION DIR | --probe-startup | --probe-memory DIR"
                 " | --probe-exit\n");
    return 2;
}
