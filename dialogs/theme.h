// The look every window of the editor shares: black ground, aqua text, small Verdana (or the
// system's sans font where Verdana is absent).
#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace vh::ui {

QFont EditorFont(int pointSize = 8);
// Black ground and aqua text for a window and everything on it; edit fields keep a white ground
// so that typed text stays readable.
void ApplyEditorTheme(QWidget* window);

inline const QColor kAqua{0, 255, 255};

}  // namespace vh::ui
