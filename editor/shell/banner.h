#pragma once

#include <QPixmap>

namespace vh::ui {
// The banner at the top left of the main window: 300 x 60, drawn by the program.
QPixmap DrawBanner();
}  // namespace vh::ui
