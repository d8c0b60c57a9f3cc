#include "city_page.h"

#include <QFrame>
#include <QLineEdit>

#include "database/convert.h"
#include "dialogs/guard.h"
#include "dialogs/qtext.h"
#include "page_kit.h"

namespace vh::ui {

namespace {
using db::CityRecord;

constexpr NumberRow kNumbers[] = {
    {"CityAttraction", "Attraction", CityRecord::Attraction, 0, 20},
};
constexpr TextRow kTexts[] = {{"CityName", "Name", CityRecord::Name}};
constexpr RefRow kRefs[] = {{"CityNation", "Nation", CityRecord::Nation, kToNation}};

// Every stored coordinate can be shown, whatever it holds.
QString ShowCoordinate(double stored) {
    return QString::fromStdString(db::FormatCoordinate(stored, DecimalSeparator()));
}

// A coordinate the user typed; only text that can be shown back is taken.
double ReadCoordinate(QLineEdit* edit) {
    const QString text = edit->text();
    std::string bytes;
    try {
        if (TryToCp1252(text, bytes)) return db::ParseCoordinate(bytes, DecimalSeparator());
    } catch (const db::EConvertError&) {
    }
    throw EFieldError(edit, QStringLiteral("'%1' is not a valid floating point value").arg(text));
}
}  // namespace

TCityPage::TCityPage(PageContext& context, QWidget* parent)
    : TPage(context), panel_(new QFrame(parent)) {
    panel_->setObjectName(QStringLiteral("CityPanel"));
    panel_->setFrameShape(QFrame::StyledPanel);
    PageGrid g(panel_, 2);
    cityId_ = MakeIdField(g, "CityId", "Id");
    g.NextRow();
    MakeText(g, kTexts[0]);
    MakeNumber(g, kNumbers[0]);
    MakeReference(g, "CityNation", "Nation", "CityNationCHange", 2);
    cityLatitude_ = MakeText(g, "CityLatitude", "Latitude", 32);
    cityLongditude_ = MakeText(g, "CityLongditude", "Longditude", 32);
    binding_.Resolve(panel_, ctx_.markChanged, kNumbers, kTexts, kRefs);
    for (QLineEdit* e : {cityLatitude_, cityLongditude_})
        QObject::connect(e, &QLineEdit::textChanged, e, [this] { ctx_.markChanged(); });
    AddFieldArea(panel_);
}

QWidget* TCityPage::Panel() const {
    return panel_;
}

void TCityPage::Clear() {
    binding_.Clear();
    for (QLineEdit* e : {cityId_, cityLatitude_, cityLongditude_}) e->clear();
    shownLatitude_.clear();
    shownLongitude_.clear();
    SetHasRecord(false);
}

void TCityPage::CitySearch(const QString& text) {
    const std::optional<std::int64_t> found =
        FindByName(Files().city, CityRecord::kSize, text, {CityRecord::Name});
    MakeCurrent(Files().city, found, CityRec, [this] { Showcitystats(); });
}

void TCityPage::Showcitystats() {
    RowContext rows(Session());
    binding_.Show(CityRec.data(), rows);
    cityId_->setText(QString::number(CityRec.Get(CityRecord::Id)));
    shownLatitude_ = ShowCoordinate(CityRec.Get(CityRecord::Latitude));
    shownLongitude_ = ShowCoordinate(CityRec.Get(CityRecord::Longitude));
    cityLatitude_->setText(shownLatitude_);
    cityLongditude_->setText(shownLongitude_);
    SetHasRecord(true);
    ReportMissing(rows.missing);
}

void TCityPage::CitySave() {
    if (number_ < 0) return;
    RowContext rows(Session());
    CityRec = ReadModifyWrite<CityRecord>(Files().city, number_, [&](CityRecord& rec) {
        // An untouched coordinate keeps its stored bytes: no rounding, and -0.0 stays -0.0.
        std::optional<double> latitude, longitude;
        if (cityLatitude_->text() != shownLatitude_) latitude = ReadCoordinate(cityLatitude_);
        if (cityLongditude_->text() != shownLongitude_) longitude = ReadCoordinate(cityLongditude_);
        binding_.Save(rec.data(), rows);
        if (latitude) rec.Set(CityRecord::Latitude, *latitude);
        if (longitude) rec.Set(CityRecord::Longitude, *longitude);
    });
    binding_.Saved(CityRec.data());
    shownLatitude_ = cityLatitude_->text();
    shownLongitude_ = cityLongditude_->text();
}

std::optional<QString> TCityPage::SearchTextFor(std::int64_t record) {
    return ReachableName<db::CityRecord>(Files().city, record, {db::CityRecord::Name});
}

}  // namespace vh::ui
