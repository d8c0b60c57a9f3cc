// Every event handler runs inside Guarded: an input/output error, a conversion error or any
// other exception is shown in the application's error box and the program keeps running. No
// exception ever crosses the Qt event loop.
#pragma once

#include <functional>

class QWidget;

namespace vh::ui {

// Runs f; returns false when it stopped with an exception (which has been shown).
bool Guarded(QWidget* parent, const std::function<void()>& f);

}  // namespace vh::ui
