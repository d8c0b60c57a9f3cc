#include "editor/pages/stadium_page.h"

#include "editor/pages/page_kit.h"

namespace vh::ui {

namespace {
using db::StadiumRecord;

// The first stadium whose Id equals the reference; nullopt when none does.
std::optional<std::int64_t> StadiumWithId(db::RecordFile& stadiums, std::int32_t id) {
    if (id < 0) return std::nullopt;
    return db::FindFirst(stadiums, StadiumRecord::kSize, [id](const std::uint8_t* rec) {
        return StadiumRecord::Id.Read(rec) == id;
    });
}

// The first record of the table that the text names, read whole.
template <class R>
std::optional<R> Named(db::RecordFile& file, db::TableId table, const QString& text) {
    const db::Table& t = db::TableOf(table);
    const auto found = FindByName(file, t.recordSize, text, t.searchedBy);
    return found ? std::optional<R>(ReadRecord<R>(file, *found)) : std::nullopt;
}
}  // namespace

TStadiumPage::TStadiumPage(PageContext& context, QWidget* parent)
    : TRecordPage(context, db::TableId::kStadiums, MakePlainPanel(parent, "StadiumPanel")) {
    // Names of stadiums run to 51 characters and of cities to 26: the name and the two reference
    // fields take a whole row each, so that a long name shows whole.
    PageGrid g(Panel(), 2);
    id_ = MakeIdField(g, "StadId", "Id");
    g.NextRow();
    binding_.Make(g, "StadName", 2);
    binding_.Make(g, "StadCap");
    binding_.Make(g, "StadSeat");
    binding_.Make(g, "StadCity", 2);
    binding_.Make(g, "NearbyStad", 2);
    binding_.Make(g, "Covered");
    binding_.Make(g, "Undersoil");
    AddFieldArea(Panel());
}

std::optional<std::int64_t> TStadiumPage::Find(const QString& text, Radio radio) {
    db::FileSet& f = Files();
    if (radio == Radio::kClub) {
        if (const auto club = Named<db::ClubRecord>(f.club, db::TableId::kClubs, text))
            return StadiumWithId(f.stadium, club->Get(db::ClubRecord::Stadium));
        return std::nullopt;
    }
    if (radio == Radio::kNation) {
        // A nation's national stadium.
        if (const auto nation = Named<db::NationRecord>(f.nation, db::TableId::kNations, text))
            return StadiumWithId(f.stadium, nation->Get(db::NationRecord::NationalStadium));
        return std::nullopt;
    }
    return TRecordPage::Find(text, radio);
}

}  // namespace vh::ui
