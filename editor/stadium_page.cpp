#include "stadium_page.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>

#include "page_kit.h"

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
}  // namespace

TStadiumPage::TStadiumPage(PageContext& context, QWidget* parent)
    : TPage(context),
      panel_(new QFrame(parent)),
      binding_(db::TableId::kStadiums, ctx_.markChanged) {
    panel_->setObjectName(QStringLiteral("StadiumPanel"));
    panel_->setFrameShape(QFrame::StyledPanel);
    // Names of stadiums run to 51 characters and of cities to 26: the name and the two reference
    // fields take a whole row each, so that a long name shows whole.
    PageGrid g(panel_, 2);
    stadId_ = MakeIdField(g, "StadId", "Id");
    g.NextRow();
    binding_.Make(g, "StadName", 2);
    binding_.Make(g, "StadCap");
    binding_.Make(g, "StadSeat");
    binding_.Make(g, "StadCity", 2);
    binding_.Make(g, "NearbyStad", 2);
    binding_.Make(g, "Covered");
    binding_.Make(g, "Undersoil");
    AddFieldArea(panel_);
}

QWidget* TStadiumPage::Panel() const {
    return panel_;
}

void TStadiumPage::Clear() {
    binding_.Clear();
    stadId_->clear();
    SetHasRecord(false);
}

void TStadiumPage::StadiumSearch(const QString& text, Radio radio) {
    db::FileSet& f = Files();
    std::optional<std::int64_t> found;
    if (radio == Radio::kClub) {
        if (auto club = FindByName(f.club, db::ClubRecord::kSize, text,
                                   {db::ClubRecord::LongName, db::ClubRecord::ShortName}))
            found = StadiumWithId(
                f.stadium, ReadRecord<db::ClubRecord>(f.club, *club).Get(db::ClubRecord::Stadium));
    } else if (radio == Radio::kNation) {
        // A nation's national stadium.
        if (auto nation = FindByName(f.nation, db::NationRecord::kSize, text,
                                     {db::NationRecord::LongName, db::NationRecord::ShortName}))
            found = StadiumWithId(f.stadium, ReadRecord<db::NationRecord>(f.nation, *nation)
                                                 .Get(db::NationRecord::NationalStadium));
    } else {
        found = FindByName(f.stadium, StadiumRecord::kSize, text, {StadiumRecord::Name});
    }
    MakeCurrent(f.stadium, found, StadiumRec, [this] { ShowStadiumStats(); });
}

void TStadiumPage::ShowStadiumStats() {
    // Every reference is read before the first control changes: a record that cannot be shown
    // leaves the previous one on the page whole, not mixed with the new one for a save.
    RowContext rows(Session());
    binding_.Show(StadiumRec.data(), rows);
    stadId_->setText(QString::number(StadiumRec.Get(StadiumRecord::Id)));
    SetHasRecord(true);
    ReportMissing(rows.missing);
}

void TStadiumPage::StadiumSave() {
    if (number_ < 0) return;
    RowContext rows(Session());
    StadiumRec = ReadModifyWrite<StadiumRecord>(Files().stadium, number_, StadiumRec, [&](StadiumRecord& rec) {
        binding_.Save(rec.data(), rows);
        // Never more seats than places; the field keeps what was typed.
        db::ApplyRecordRules(db::TableId::kStadiums, rec.data());
    });
    binding_.Saved(StadiumRec.data());
}

std::optional<QString> TStadiumPage::SearchTextFor(std::int64_t record) {
    return ReachableName<db::StadiumRecord>(Files().stadium, record, {db::StadiumRecord::Name});
}

}  // namespace vh::ui
