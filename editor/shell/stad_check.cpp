// "Check Data...": the database checker on the loaded directory, and opening the records its
// findings name.
#include <QRadioButton>

#include "database/model/check.h"
#include "dialogs/msgbox.h"
#include "editor/pages/page.h"
#include "editor/shell/stad.h"
#include "editor/windows/check_window.h"

namespace vh::ui {

namespace {

std::optional<Mode> ModeOf(db::Subject s) {
    switch (s) {
        case db::Subject::kStadium:
            return Mode::kStadiums;
        case db::Subject::kCity:
            return Mode::kCity;
        case db::Subject::kClub:
            return Mode::kClubs;
        case db::Subject::kNation:
            return Mode::kNation;
        case db::Subject::kPlayer:
            return Mode::kPlayers;
        case db::Subject::kStaff:
            return Mode::kStaff;
        case db::Subject::kOther:
            break;
    }
    return std::nullopt;
}

}  // namespace

TCheckWindow* TVHEdit::CheckWindow() const {
    return checkWindow_;
}

void TVHEdit::CheckDataMenuClick() {
    if (!s_.dataLoaded) return;
    const db::CheckReport report = db::CheckDataDirectory(s_.dataPath);
    if (!checkWindow_) {
        checkWindow_ = new TCheckWindow(this, [this](db::Subject s, std::int64_t record) {
            if (const auto m = ModeOf(s); m && ShowRecord(*m, record)) {
                raise();
                activateWindow();
            }
        });
        // Beside the main window, not over it.
        PlaceBeside(checkWindow_, QPoint(8, 0));
    }
    checkWindow_->SetReport(report, QString::fromStdString(s_.dataPath));
    checkWindow_->show();
    checkWindow_->raise();
}

bool TVHEdit::ShowRecord(Mode m, std::int64_t record, const QString& caption) {
    if (!s_.dataLoaded || record < 0) return false;
    SwitchMode(m);
    if (mode_ != m || RecordChanged()) return false;  // "Save Changes?" was cancelled
    // The search text is a name of the mode's own list (the stadium names, not clubs or nations).
    QRadioButton* own = Part(m).radios.front();
    if (!own->isChecked()) {
        own->setChecked(true);
        RefreshResultList();
    }
    const std::optional<QString> text = PageOf(m).SearchTextFor(record);
    if (!text) {
        ShowMessage(this, caption,
                    QStringLiteral("Record %1 cannot be opened by its name: it is not in its "
                                   "file, or an earlier record has the same name.")
                        .arg(record));
        return false;
    }
    searchText_ = *text;
    SearchButtonClick();
    return PageOf(m).HasRecord() && PageOf(m).RecordNumber() == record;
}

}  // namespace vh::ui
