#include "city_page.h"

#include <QFrame>
#include <QLineEdit>

#include "page_kit.h"

namespace vh::ui {

using db::CityRecord;

TCityPage::TCityPage(PageContext& context, QWidget* parent)
    : TPage(context), panel_(new QFrame(parent)), binding_(db::TableId::kCities, ctx_.markChanged) {
    panel_->setObjectName(QStringLiteral("CityPanel"));
    panel_->setFrameShape(QFrame::StyledPanel);
    PageGrid g(panel_, 2);
    cityId_ = MakeIdField(g, "CityId", "Id");
    g.NextRow();
    binding_.Make(g, "CityName");
    binding_.Make(g, "CityAttraction");
    binding_.Make(g, "CityNation", 2);
    binding_.Make(g, "CityLatitude");
    binding_.Make(g, "CityLongditude");
    AddFieldArea(panel_);
}

QWidget* TCityPage::Panel() const {
    return panel_;
}

void TCityPage::Clear() {
    binding_.Clear();
    cityId_->clear();
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
    SetHasRecord(true);
    ReportMissing(rows.missing);
}

void TCityPage::CitySave() {
    if (number_ < 0) return;
    RowContext rows(Session());
    CityRec = ReadModifyWrite<CityRecord>(Files().city, number_, CityRec, [&](CityRecord& rec) { binding_.Save(rec.data(), rows); });
    binding_.Saved(CityRec.data());
}

std::optional<QString> TCityPage::SearchTextFor(std::int64_t record) {
    return ReachableName<db::CityRecord>(Files().city, record, {db::CityRecord::Name});
}

}  // namespace vh::ui
