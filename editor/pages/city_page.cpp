#include "editor/pages/city_page.h"

#include "editor/pages/page_kit.h"

namespace vh::ui {

TCityPage::TCityPage(PageContext& context, QWidget* parent)
    : TRecordPage(context, db::TableId::kCities, MakePlainPanel(parent, "CityPanel")) {
    PageGrid g(Panel(), 2);
    id_ = MakeIdField(g, "CityId", "Id");
    g.NextRow();
    binding_.Make(g, "CityName");
    binding_.Make(g, "CityAttraction");
    binding_.Make(g, "CityNation", 2);
    binding_.Make(g, "CityLatitude");
    binding_.Make(g, "CityLongditude");
    AddFieldArea(Panel());
}

}  // namespace vh::ui
