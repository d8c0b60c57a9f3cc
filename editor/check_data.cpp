// "Check Data...": the database checker on the loaded directory, and opening the records its
// findings name.
#include <QRadioButton>

#include "check_window.h"
#include "database/check.h"
#include "database/lists.h"
#include "database/person.h"
#include "dialogs/msgbox.h"
#include "dialogs/qtext.h"
#include "page.h"
#include "person_page.h"
#include "stad.h"

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

// The first of the record's names that a search finds this record by.
template <class R>
std::optional<QString> ReachableName(db::RecordFile& file, std::int64_t record,
                                     std::initializer_list<db::Str> fields) {
    file.Reset(static_cast<int>(R::kSize));
    if (record >= file.RecordCount()) return std::nullopt;
    const R rec = ReadRecord<R>(file, record);
    for (const db::Str& f : fields) {
        const QString name = FromCp1252(rec.Get(f));
        if (!name.isEmpty() && FindByName(file, static_cast<int>(R::kSize), name, fields) == record)
            return name;
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
        checkWindow_->move(frameGeometry().topRight() + QPoint(8, 0));
    }
    checkWindow_->SetReport(report, QString::fromStdString(s_.dataPath));
    checkWindow_->show();
    checkWindow_->raise();
}

bool TVHEdit::ShowRecord(Mode m, std::int64_t record) {
    if (!s_.dataLoaded || record < 0) return false;
    SwitchMode(m);
    if (mode_ != m || RecordChanged()) return false;  // "Save Changes?" was cancelled
    // The search text is a name of the mode's own list (the stadium names, not clubs or nations).
    QRadioButton* own = Part(m).radios.front();
    if (!own->isChecked()) {
        own->setChecked(true);
        RefreshResultList();
    }
    db::FileSet& f = s_.files;
    std::optional<QString> text;
    switch (m) {
        case Mode::kPlayers:
        case Mode::kStaff: {
            f.staff.Reset(db::StaffRecord::kSize);
            if (record < f.staff.RecordCount()) {
                std::string label =
                    db::GetStaffName(static_cast<std::int32_t>(record), f.staff, s_.names);
                if (label.size() > db::kPersonLabelWidth) label.resize(db::kPersonLabelWidth);
                text = FromCp1252(label);
            }
            break;
        }
        case Mode::kClubs:
            text = ReachableName<db::ClubRecord>(
                f.club, record, {db::ClubRecord::LongName, db::ClubRecord::ShortName});
            break;
        case Mode::kNation:
            text = ReachableName<db::NationRecord>(
                f.nation, record, {db::NationRecord::LongName, db::NationRecord::ShortName});
            break;
        case Mode::kStadiums:
            text = ReachableName<db::StadiumRecord>(f.stadium, record, {db::StadiumRecord::Name});
            break;
        case Mode::kCity:
            text = ReachableName<db::CityRecord>(f.city, record, {db::CityRecord::Name});
            break;
    }
    if (!text) {
        ShowMessage(this, QStringLiteral("Check Data"),
                    QStringLiteral("Record %1 cannot be opened by its name: it is not in its "
                                   "file, or an earlier record has the same name.")
                        .arg(record));
        return false;
    }
    searchText_ = *text;
    SearchButtonClick();
    if (!PageOf(m).HasRecord()) return false;
    // The person pages keep the person, not a record number.
    if (m == Mode::kPlayers || m == Mode::kStaff)
        return static_cast<TPersonPage&>(PageOf(m)).StaffRec.Get(db::StaffRecord::Id) == record;
    return PageOf(m).RecordNumber() == record;
}

}  // namespace vh::ui
