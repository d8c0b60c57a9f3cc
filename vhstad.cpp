// VH Editor start-up: the main window, the About box and the picker, then the event loop until
// the main window closes.
#include <QApplication>
#include <QMessageBox>

#include "dialogs/change.h"
#include "editor/stad.h"
#include "editor/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VH Editor"));
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
