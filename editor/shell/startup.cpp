#include "editor/shell/startup.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringList>

#include "dialogs/about.h"
#include "dialogs/change.h"
#include "editor/shell/stad.h"
#include "vh_version.h"

namespace vh::ui {

namespace {
const QString kUsage = QStringLiteral(
    "Usage: vhstad [--data DIR] [--load] [--search TEXT]\n"
    "       vhstad --help | --version\n"
    "\n"
    "  --data DIR     Put DIR into \"VH Data Dir:\" instead of the game's data directory;\n"
    "                 nothing is read from it until \"Load Data\" is pressed.\n"
    "  --load         Load the data directory as soon as the window is open.\n"
    "  --search TEXT  Load, then show the first player whose name starts with TEXT.\n");
}  // namespace

Windows::~Windows() {
    // The picker and the About box are the main window's children: they go first.
    change.reset();
    about.reset();
    main.reset();
}

Windows& Windows::operator=(Windows&& other) noexcept {
    if (this != &other) {
        change.reset();
        about.reset();
        main.reset();
        main = std::move(other.main);
        about = std::move(other.about);
        change = std::move(other.change);
    }
    return *this;
}

Windows CreateWindows(const StartOptions& options) {
    Windows w;
    w.main = std::make_unique<TVHEdit>();
    // Both are windows of their own that open over the main window.
    w.about = std::make_unique<TAboutForm>(w.main.get());
    w.change = std::make_unique<TChangeForm>(w.main->Lists(), w.main.get());
    w.main->AttachAbout(w.about.get());
    w.main->AttachPicker(w.change.get());
    if (!options.dataDirectory.isEmpty()) w.main->SetDataDirectory(options.dataDirectory);
    return w;
}

void RunStartActions(TVHEdit& main, const StartOptions& options) {
    if (!options.load && options.search.isEmpty()) return;
    main.findChild<QPushButton*>(QStringLiteral("Load"))->click();
    if (options.search.isEmpty() || !main.DataLoaded()) return;
    main.findChild<QLineEdit*>(QStringLiteral("SearchEdit"))->setText(options.search);
    if (main.ResultModel().Count() == 0) return;
    // Choosing the line makes it the search text, as a click on it does.
    main.findChild<QListView*>(QStringLiteral("ListBox2"))
        ->setCurrentIndex(main.ResultModel().index(0));
    main.findChild<QPushButton*>(QStringLiteral("SearchButton"))->click();
}

bool ParseArguments(const QStringList& args, StartOptions& options, QString& error) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QStringLiteral("--data")) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("--data needs a directory");
                return false;
            }
            options.dataDirectory = args[++i];
        } else if (a.startsWith(QStringLiteral("--data="))) {
            options.dataDirectory = a.mid(7);
        } else if (a == QStringLiteral("--load")) {
            options.load = true;
        } else if (a == QStringLiteral("--search")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                error = QStringLiteral("--search needs a text");
                return false;
            }
            options.search = args[++i];
        } else if (a == QStringLiteral("--version")) {
            options.version = true;
        } else if (a == QStringLiteral("--help") || a == QStringLiteral("-h")) {
            options.help = true;
        } else {
            error = QStringLiteral(
                        "Unknown argument: %1\nUsage: vhstad [--data DIR] [--load] [--search TEXT]")
                        .arg(a);
            return false;
        }
    }
    return true;
}

QString TerminalText(const QStringList& args) {
    StartOptions options;
    QString error;
    if (!ParseArguments(args, options, error)) return {};
    if (options.help) return kUsage;
    if (options.version) return QStringLiteral("vhstad (VH Editor) %1\n").arg(kVersion);
    return {};
}

}  // namespace vh::ui
