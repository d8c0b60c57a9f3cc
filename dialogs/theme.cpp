#include "theme.h"

#include <QFontDatabase>
#include <QPalette>
#include <QWidget>

namespace vh::ui {

QFont EditorFont(int pointSize) {
    QFont f(QStringLiteral("Verdana"), pointSize);
    // Where Verdana is missing, fall back to the desktop's sans serif font.
    f.setStyleHint(QFont::SansSerif);
    if (!QFontDatabase::families().contains(QStringLiteral("Verdana")))
        f.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                       QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    return f;
}

void ApplyEditorTheme(QWidget* window) {
    QPalette p = window->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, kAqua);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Button, QColor(212, 208, 200));
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0, 140, 140));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 110, 110));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    window->setPalette(p);
    window->setAutoFillBackground(true);
    window->setFont(EditorFont());
}

}  // namespace vh::ui
