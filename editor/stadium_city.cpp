// The Stadiums and City pages: one record each on a plain panel.
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>

#include "database/convert.h"
#include "database/reference.h"
#include "dialogs/NEdit.h"
#include "dialogs/qtext.h"
#include "page_kit.h"
#include "stad.h"

namespace vh::ui {

namespace {
using db::CityRecord;
using db::StadiumRecord;

constexpr NumberRow kStadiumNumbers[] = {
    {"StadCap", "Capacity", StadiumRecord::Capacity, 0, 500000},
    {"StadSeat", "Seating", StadiumRecord::Seating, 0, 500000},
};
constexpr NumberRow kCityNumbers[] = {
    {"CityAttraction", "Attraction", CityRecord::Attraction, 0, 20},
};

QString ShowCoordinate(double stored) {
    return QString::fromStdString(db::FormatDecimal4(db::ToDecimal4(stored), DecimalSeparator()));
}

double ReadCoordinate(const QLineEdit* edit) {
    return static_cast<double>(db::ParseDecimal4(ToCp1252(edit->text()), DecimalSeparator())) /
           10000.0;
}
}  // namespace

void TVHEdit::BuildStadiumPanel() {
    // Names of stadiums run to 51 characters and of cities to 26: the name and the two reference
    // fields take a whole row each, so that a long name shows whole.
    PageGrid g(stadiumPanel_, 2);
    stadId_ = MakeIdField(g, "StadId", "Id");
    g.NextRow();
    stadName_ =
        MakeText(this, g, "StadName", "Stadium Name", static_cast<int>(db::kLongNameWidth), 2);
    stadCap_ = MakeNumber(this, g, kStadiumNumbers[0]);
    stadSeat_ = MakeNumber(this, g, kStadiumNumbers[1]);
    stadCity_ = MakeReference(this, g, "StadCity", "City", "StadiumCityChange", 2);
    nearbyStad_ = MakeReference(this, g, "NearbyStad", "Nearby Stadium", "Button2", 2);
    covered_ = MakeCheck(this, g, "Covered", "Covered");
    undersoil_ = MakeCheck(this, g, "Undersoil", "Under-Soil Heating");
}

void TVHEdit::BuildCityPanel() {
    PageGrid g(cityPanel_, 2);
    cityId_ = MakeIdField(g, "CityId", "Id");
    g.NextRow();
    cityName_ = MakeText(this, g, "CityName", "Name", static_cast<int>(db::kShortNameWidth));
    cityAttraction_ = MakeNumber(this, g, kCityNumbers[0]);
    cityNation_ = MakeReference(this, g, "CityNation", "Nation", "CityNationCHange", 2);
    cityLatitude_ = MakeText(this, g, "CityLatitude", "Latitude", 32);
    cityLongditude_ = MakeText(this, g, "CityLongditude", "Longditude", 32);
}

void TVHEdit::ClearPages() {
    for (QWidget* page :
         {static_cast<QWidget*>(stadiumPanel_), static_cast<QWidget*>(cityPanel_)}) {
        for (QLineEdit* e : page->findChildren<QLineEdit*>()) e->clear();
        for (QCheckBox* c : page->findChildren<QCheckBox*>()) c->setChecked(false);
    }
    for (PageRoutines& r : routines_)
        if (r.clear) r.clear();
    SetRecordChanged(false);
}

void TVHEdit::ShowStadiumStats() {
    // Everything that can fail is read before the first control changes: a record that cannot be
    // shown leaves the previous one on the page whole, not mixed with the new one for a save.
    const QString nearby = ShowReference(StadiumRec.Get(StadiumRecord::NearbyStadium),
                                         s_.files.stadium, db::kStadiumName);
    const QString city =
        ShowReference(StadiumRec.Get(StadiumRecord::City), s_.files.city, db::kCityName);
    stadName_->setText(FromCp1252(StadiumRec.Get(StadiumRecord::Name)));
    ShowNumbers(stadiumPanel_, StadiumRec.data(), kStadiumNumbers);
    stadId_->setText(QString::number(StadiumRec.Get(StadiumRecord::Id)));
    nearbyStad_->setText(nearby);
    stadCity_->setText(city);
    undersoil_->setChecked(StadiumRec.Get(StadiumRecord::Undersoil) != 0);
    covered_->setChecked(StadiumRec.Get(StadiumRecord::Covered) != 0);
    SetRecordChanged(false);
}

void TVHEdit::StadiumSave() {
    // Every lookup and conversion comes before the one write, so a failure leaves the file as it
    // was; bytes the page does not show keep the values just read.
    const std::int32_t number = db::StrToInt(stadId_->text().toStdString());
    db::StadiumRecord rec;
    s_.files.stadium.Reset(StadiumRecord::kSize);
    s_.files.stadium.Seek(number);
    s_.files.stadium.Read(rec.bytes);
    const std::int32_t city = LookupByName(stadCity_->text(), s_.files.city, db::kCityName);
    const std::int32_t nearby =
        LookupByName(nearbyStad_->text(), s_.files.stadium, db::kStadiumName);
    const std::string name = ToCp1252(stadName_->text());
    SaveNumbers(stadiumPanel_, rec.data(), kStadiumNumbers);
    rec.Set(StadiumRecord::City, city);
    rec.Set(StadiumRecord::NearbyStadium, nearby);
    rec.Set(StadiumRecord::Name, name);
    // Never more seats than places; the field keeps what was typed.
    if (rec.Get(StadiumRecord::Seating) > rec.Get(StadiumRecord::Capacity))
        rec.Set(StadiumRecord::Seating, rec.Get(StadiumRecord::Capacity));
    rec.Set(StadiumRecord::Undersoil, static_cast<std::uint8_t>(undersoil_->isChecked() ? 1 : 0));
    rec.Set(StadiumRecord::Covered, static_cast<std::uint8_t>(covered_->isChecked() ? 1 : 0));
    s_.files.stadium.Reset(StadiumRecord::kSize);
    s_.files.stadium.Seek(number);
    s_.files.stadium.Write(rec.bytes);
    StadiumRec = rec;
}

void TVHEdit::Showcitystats() {
    // As for stadiums: the lookup and the conversions first, then the controls.
    const QString nation =
        ShowReference(CityRec.Get(CityRecord::Nation), s_.files.nation, db::kNationShortName);
    const QString latitude = ShowCoordinate(CityRec.Get(CityRecord::Latitude));
    const QString longitude = ShowCoordinate(CityRec.Get(CityRecord::Longitude));
    cityName_->setText(FromCp1252(CityRec.Get(CityRecord::Name)));
    cityId_->setText(QString::number(CityRec.Get(CityRecord::Id)));
    cityNation_->setText(nation);
    cityLatitude_->setText(latitude);
    cityLongditude_->setText(longitude);
    ShowNumbers(cityPanel_, CityRec.data(), kCityNumbers);
}

void TVHEdit::CitySave() {
    const std::int32_t number = db::StrToInt(cityId_->text().toStdString());
    db::CityRecord rec;
    s_.files.city.Reset(CityRecord::kSize);
    s_.files.city.Seek(number);
    s_.files.city.Read(rec.bytes);
    const std::string name = ToCp1252(cityName_->text());
    const std::int32_t nation =
        LookupByName(cityNation_->text(), s_.files.nation, db::kNationShortName);
    const double latitude = ReadCoordinate(cityLatitude_);
    const double longitude = ReadCoordinate(cityLongditude_);
    SaveNumbers(cityPanel_, rec.data(), kCityNumbers);
    rec.Set(CityRecord::Name, name);
    rec.Set(CityRecord::Nation, nation);
    rec.Set(CityRecord::Latitude, latitude);
    rec.Set(CityRecord::Longitude, longitude);
    s_.files.city.Reset(CityRecord::kSize);
    s_.files.city.Seek(number);
    s_.files.city.Write(rec.bytes);
    CityRec = rec;
}

}  // namespace vh::ui
