#include "startup.h"

#include <QStringList>

#include "dialogs/about.h"
#include "dialogs/change.h"
#include "stad.h"

namespace vh::ui {

Windows::~Windows() {
    // The picker and the About box refer to the main window's lists: they go first.
    change.reset();
    about.reset();
    main.reset();
}

Windows CreateWindows(const StartOptions& options) {
    Windows w;
    w.main = std::make_unique<TVHEdit>();
    w.about = std::make_unique<TAboutForm>();
    w.change = std::make_unique<TChangeForm>(w.main->Lists());
    w.main->AttachAbout(w.about.get());
    w.main->AttachPicker(w.change.get());
    if (!options.dataDirectory.isEmpty()) w.main->SetDataDirectory(options.dataDirectory);
    return w;
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
        } else {
            error = QStringLiteral("Unknown argument: %1\nUsage: vhstad [--data DIR]").arg(a);
            return false;
        }
    }
    return true;
}

}  // namespace vh::ui
