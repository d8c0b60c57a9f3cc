// Program start-up: the main window, then the About box, then the picker, wired together.
// vhstad and the tests both create the windows through here.
#pragma once

#include <QString>
#include <memory>

class QDialog;

namespace vh::ui {

class TVHEdit;
class TChangeForm;

// The About box and the picker are children of the main window (they open over it), so they are
// always destroyed before it.
struct Windows {
    std::unique_ptr<TVHEdit> main;
    std::unique_ptr<QDialog> about;
    std::unique_ptr<TChangeForm> change;
    Windows() = default;
    Windows(Windows&&) = default;
    Windows& operator=(Windows&& other) noexcept;
    ~Windows();
};

struct StartOptions {
    QString dataDirectory;  // when set, put into "VH Data Dir:" instead of the registry proposal
    bool version = false;   // --version: print the version instead of opening the window
    bool help = false;      // --help: print the usage instead of opening the window
    bool load = false;      // --load: load the data directory once the window is up
    QString search{};       // --search TEXT: then show the first player whose name starts so
};

Windows CreateWindows(const StartOptions& options = {});
// What --load and --search ask for, done through the main window's own controls as a user would:
// "Load Data", then the search text typed, the first line of the list chosen and "Search".
void RunStartActions(TVHEdit& main, const StartOptions& options);
// Parses the command line (--data DIR, --load, --search TEXT, --version, --help); false with a
// message in `error` for bad arguments.
bool ParseArguments(const QStringList& args, StartOptions& options, QString& error);
// What --version or --help print on the terminal; empty when the arguments ask for neither or
// are bad (the window reports those).
QString TerminalText(const QStringList& args);

}  // namespace vh::ui
