#include "guard.h"

#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>
#include <exception>
#include <new>

#include "msgbox.h"

namespace vh::ui {

EFieldError::EFieldError(QWidget* field, const QString& message)
    : db::EConvertError(message.toStdString()), field_(field) {}

QString InOutMessage(const db::EInOutError& e) {
    const std::string where = e.Where();
    QString text = QString::fromUtf8(e.what());
    if (!where.empty()) text += QLatin1Char('\n') + QString::fromStdString(where);
    if (e.Code() == db::kDiskFull)
        text += QStringLiteral("\n\nThe disk that holds the data directory is full. Free some "
                               "space on it, then save again.");
    return text;
}

namespace {
// The field the user has to mend: visible (its tab brought forward), focused, its text selected.
void FocusField(QWidget* field) {
    for (QWidget* w = field; w && w->parentWidget(); w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (!stack) continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            tabs->setCurrentWidget(w);
        else
            stack->setCurrentWidget(w);
    }
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}
}  // namespace

bool Guarded(QWidget* parent, const std::function<void()>& f) {
    try {
        f();
        return true;
    } catch (const EFieldError& e) {
        ShowError(parent, QString::fromUtf8(e.what()));
        if (QWidget* field = e.Field()) FocusField(field);
    } catch (const db::EInOutError& e) {
        ShowError(parent, InOutMessage(e));
    } catch (const std::bad_alloc&) {
        ShowError(parent, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {  // conversion errors, refusals of the data, the rest
        ShowError(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        ShowError(parent, QStringLiteral("An unexpected error stopped the command."));
    }
    return false;
}

}  // namespace vh::ui
