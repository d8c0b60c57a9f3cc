// VH Editor start-up: the main window, the About box and the picker, then the event loop until
// the main window closes.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "dialogs/change.h"
#include "editor/stad.h"
#include "editor/startup.h"

namespace {

bool AnswerOnTerminal(const QStringList& args) {
    const QString text = vh::ui::TerminalText(args);
    if (text.isEmpty()) return false;
    std::fputs(text.toLocal8Bit().constData(), stdout);
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
    return app.exec();
}
