#include "guard.h"

#include <QString>
#include <exception>
#include <new>

#include "database/errors.h"
#include "msgbox.h"

namespace vh::ui {

bool Guarded(QWidget* parent, const std::function<void()>& f) {
    try {
        f();
        return true;
    } catch (const db::EInOutError& e) {
        ShowError(parent, QString::fromUtf8(e.what()));
    } catch (const db::EConvertError& e) {
        ShowError(parent, QString::fromUtf8(e.what()));
    } catch (const db::EDataError& e) {
        ShowError(parent, QString::fromUtf8(e.what()));
    } catch (const std::bad_alloc&) {
        ShowError(parent, QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        ShowError(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        ShowError(parent, QStringLiteral("An unexpected error stopped the command."));
    }
    return false;
}

}  // namespace vh::ui
