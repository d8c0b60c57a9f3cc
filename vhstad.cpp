// VH Editor start-up: the main window, the About box and the picker, then the event loop until
// the main window closes.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

#include "dialogs/change.h"
#include "editor/shell/stad.h"
#include "editor/shell/startup.h"

namespace {

// A Windows window program has no console of its own: started from a Command Prompt or PowerShell
// it writes into theirs, unless its output goes to a file or a pipe already.
void UseParentConsole() {
#ifdef _WIN32
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        // Without the console, the text is lost as it would have been anyway.
        static_cast<void>(std::freopen("CONOUT$", "w", stdout));
    }
#endif
}

bool AnswerOnTerminal(const QStringList& args) {
    const QString text = vh::ui::TerminalText(args);
    if (text.isEmpty()) return false;
    UseParentConsole();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // --version and --help are answered before the window system is opened, so that they need no
    // display. Arguments this first look cannot place (Qt's own, such as -platform) are looked at
    // again once QApplication has taken its own out.
    QStringList raw;
    for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    if (AnswerOnTerminal(raw)) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VH Editor"));
    // Lets a Wayland compositor match the window with its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(VH_APP_ID));
    if (AnswerOnTerminal(QApplication::arguments())) return 0;
    vh::ui::StartOptions options;
    QString error;
    if (!vh::ui::ParseArguments(QApplication::arguments(), options, error)) {
        QMessageBox::critical(nullptr, QStringLiteral("VH Editor"), error);
        return 2;
    }
    vh::ui::Windows windows = vh::ui::CreateWindows(options);
    QObject::connect(windows.main.get(), &vh::ui::TVHEdit::Closed, &app, &QApplication::quit);
    windows.main->show();
    // Once the window is up, so that a message the load shows opens over it.
    QTimer::singleShot(0, windows.main.get(),
                       [&] { vh::ui::RunStartActions(*windows.main, options); });
    return app.exec();
}
