#include "NEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <limits>
#include <optional>

#include "dialogs/msgbox.h"

namespace {

const QString kInvalidValue = QStringLiteral("Invalid Value");

bool IsDigitString(const QString& text) {
    if (text.isEmpty()) return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// The value of a digit string, or nothing when it does not fit a signed 32-bit number (such a
// value lies outside every range a field can have).
std::optional<int> DigitValue(const QString& digits) {
    qint64 value = 0;
    for (const QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<int>::max()) return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace

TNEdit::TNEdit(QWidget* parent) : QLineEdit(parent) {}

bool TNEdit::CheckValue() {
    const QString typed = text();
    if (!IsDigitString(typed)) {
        setText(QStringLiteral("0"));
        vh::ui::ShowMessage(this, kInvalidValue,
                            QStringLiteral("A number must be entered in this field"));
        return false;
    }
    const std::optional<int> value = DigitValue(typed);
    if (value && *value >= min_no_ && *value <= max_no_) return true;

    setText(QStringLiteral("0"));
    vh::ui::ShowMessage(
        this, kInvalidValue,
        QStringLiteral("This value must be in the range %1 to %2").arg(min_no_).arg(max_no_));
    return false;
}

void TNEdit::focusOutEvent(QFocusEvent* event) {
    // Only a move to another control of this window is an exit from the field. The window losing
    // activation (another program, or a message box taking the focus), a popup list and the menu
    // bar taking the keyboard are not: the focus comes back here afterwards.
    const Qt::FocusReason reason = event->reason();
    const QWidget* next = QApplication::focusWidget();
    const bool exit = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                      reason != Qt::MenuBarFocusReason && next != nullptr && next != this &&
                      next->window() == window();
    // Only a text the user changed is checked: a stored value outside the range that the focus
    // merely passes through stays as it is (and a save keeps its bytes).
    const bool refused = exit && isModified() && !CheckValue();
    QLineEdit::focusOutEvent(event);
    // After the box the focus comes back here with the "0" selected: a user who did not read the
    // box would otherwise go on and save the 0.
    if (refused) {
        setFocus(Qt::OtherFocusReason);
        selectAll();
    }
}
