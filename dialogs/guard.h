// Every event handler runs inside Guarded: an input/output error, a conversion error or any
// other exception is shown in the application's error box and the program keeps running. No
// exception ever crosses the Qt event loop.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "database/records/errors.h"

class QWidget;

namespace vh::ui {

// A value on a page that a save cannot take. It is shown like any conversion error, quoting the
// text as the user typed it; then the field gets the focus with its text selected.
class EFieldError : public db::EConvertError {
  public:
    EFieldError(QWidget* field, const QString& message);
    QWidget* Field() const { return field_; }

  private:
    QPointer<QWidget> field_;
};

// The text of an input/output error: its classic message, then the file and record it concerns.
QString InOutMessage(const db::EInOutError& e);

// Runs f; returns false when it stopped with an exception (which has been shown).
bool Guarded(QWidget* parent, const std::function<void()>& f);

}  // namespace vh::ui
