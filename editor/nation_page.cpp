#include "nation_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QValidator>
#include <algorithm>

#include "database/convert.h"
#include "database/languages.h"
#include "dialogs/guard.h"
#include "dialogs/qtext.h"
#include "page_kit.h"

namespace vh::ui {

namespace {
using db::NationRecord;

constexpr NumberRow kNumbers[] = {
    // Both are single bytes: a number above 255 would be cut down to its low byte.
    {"NationSOD", "State Of Development", NationRecord::StateOfDevelopment, 0, 255},
    {"NationGImp", "Game Importance", NationRecord::GameImportance, 0, 255},
    {"NationLStandard", "League Standard", NationRecord::LeagueStandard, 0, 20},
    {"NationReputation", "Reputation", NationRecord::Reputation, 0, 10000},
};
constexpr TextRow kTexts[] = {
    {"NationLName", "Long Name", NationRecord::LongName},
    {"NationSName", "Short Name", NationRecord::ShortName},
    {"NationNameNat", "Name Nationality", NationRecord::NationalityName},
};
constexpr RefRow kRefs[] = {
    {"NationContinent", "Continent", NationRecord::Continent, kToContinent},
    {"NationCCity", "Capital City", NationRecord::CapitalCity, kToCity},
    {"NationStadium", "National Stadium", NationRecord::NationalStadium, kToStadium},
};
constexpr CheckRow kChecks[] = {
    // 1 is "not a member"; any other stored value shows as a member.
    {"NationEEC", "EEC", NationRecord::Eec, CheckRow::Checked::kUnlessOne, 2, 1},
};
constexpr ListRow kLists[] = {
    {"NationRivals", "Rival Nations", NationRecord::RivalNations, kToNation, true},
};
constexpr ColourRow kColours[] = {
    {"NationHomeC1", "Nation Home Colour 1", NationRecord::HomeColour1},
    {"NationHomeC2", "Nation Home Colour 2", NationRecord::HomeColour2},
    {"NationAwayC1", "Nation Away Colour 1", NationRecord::AwayColour1},
    {"NationAwayC2", "Nation Away Colour 2", NationRecord::AwayColour2},
    {"Nation3C1", "Nation 3rd Colour 1", NationRecord::ThirdColour1},
    {"Nation3C2", "Nation 3rd Colour 2", NationRecord::ThirdColour2},
};
constexpr LanguageRow kLanguages[] = {
    {"Nation1Lang", "1st Language", NationRecord::Language1},
    {"Nation2Lang", "2nd Language", NationRecord::Language2},
    {"Nation3Lang", "3rd Language", NationRecord::Language3},
};

// The three-letter name is a four-byte field of which only the first three bytes are written.
constexpr int kThreeLetters = 3;
constexpr db::Str kThreeLetterWritten{NationRecord::ThreeLetterName.offset, kThreeLetters};

const NumberRow& Number(const char* name) {
    return *std::find_if(std::begin(kNumbers), std::end(kNumbers),
                         [name](const NumberRow& r) { return std::string_view(r.name) == name; });
}

// At most three letters are typed; a stored name of four letters may stand as it is.
class ThreeLetterValidator : public QValidator {
  public:
    ThreeLetterValidator(const QString& shown, QObject* parent)
        : QValidator(parent), shown_(shown) {}
    State validate(QString& input, int&) const override {
        return input.size() <= kThreeLetters || input == shown_ ? Acceptable : Invalid;
    }

  private:
    const QString& shown_;
};

// The three rival rows with their Change button beside them rather than under them, so that the
// team tab fits the page without scrolling.
QListWidget* MakeRivals(PageGrid& g) {
    auto* box = new QWidget(g.Page());
    box->setObjectName(QStringLiteral("NationRivalsBox"));
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    auto* list = new QListWidget(box);
    list->setObjectName(QStringLiteral("NationRivals"));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setFixedHeight(3 * (list->fontMetrics().height() + 2) + 2 * list->frameWidth() + 2);
    auto* b = new QPushButton(QStringLiteral("Change"), box);
    b->setObjectName(QStringLiteral("NAtionRivalChange"));
    b->setToolTip(QStringLiteral("Choose another nation for the selected line"));
    b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 12);
    b->setFocusPolicy(Qt::TabFocus);
    h->addWidget(list, 1);
    h->addWidget(b, 0, Qt::AlignTop);
    g.Add(QStringLiteral("Rival Nations"), box);
    return list;
}

QWidget* AddTab(QTabWidget* panel, const char* name, const char* caption) {
    auto* page = new QWidget(panel);
    page->setObjectName(QString::fromLatin1(name));
    panel->addTab(page, QString::fromLatin1(caption));
    return page;
}
}  // namespace

TNationPage::TNationPage(PageContext& context, QWidget* parent)
    : TPage(context), panel_(MakeTabPanel(parent, "NationPanel")) {
    // Nation Info: names, continent, languages, capital.
    QWidget* info = AddTab(panel_, "NationInfoTab", "Nation Info");
    PageGrid g(info, 2);
    MakeText(g, kTexts[0], 2);
    MakeText(g, kTexts[1]);
    nationId_ = MakeIdField(g, "NationID", "Nation ID");
    threeLetter_ = MakeText(g, "Nation3LName", "3 Letter Name",
                            static_cast<int>(NationRecord::ThreeLetterName.width));
    threeLetter_->setValidator(new ThreeLetterValidator(shownThreeLetter_, threeLetter_));
    threeLetter_->setMaximumWidth(90);
    MakeText(g, kTexts[2]);
    MakeReference(g, "NationContinent", "Continent", "NationContinentChange");
    MakeReference(g, "NationCCity", "Capital City", "NationCCityChange");
    MakeReference(g, "Nation1Lang", "1st Language", "Nation1LangChange");
    MakeReference(g, "Nation2Lang", "2nd Language", "Nation2LangChange");
    MakeReference(g, "Nation3Lang", "3rd Language", "Nation3LangChange");
    MakeNumber(g, Number("NationSOD"));
    region_ = MakeIdField(g, "NationRegion", "Region");

    // National Team Info: stadium, standing, kit colours, rivals.
    QWidget* team = AddTab(panel_, "NationalTeamInfoTab", "National Team Info");
    PageGrid t(team, 2);
    MakeReference(t, "NationStadium", "National Stadium", "NationStadiumChange", 2);
    MakeNumber(t, Number("NationGImp"));
    MakeNumber(t, Number("NationLStandard"));
    MakeNumber(t, Number("NationReputation"));
    MakeCheck(t, kChecks[0]);
    for (const ColourRow& c : kColours) MakeCombo(t, c.name, c.caption, 6);
    MakeRivals(t);

    binding_.Resolve(panel_, ctx_.markChanged, kNumbers, kTexts, kRefs, kChecks, {}, kLists);
    binding_.Resolve(panel_, ctx_.markChanged, {}, kColours, kLanguages);
    QObject::connect(threeLetter_, &QLineEdit::textChanged, threeLetter_,
                     [this] { ctx_.markChanged(); });
    AddFieldArea(info);
    AddFieldArea(team);
}

QWidget* TNationPage::Panel() const {
    return panel_;
}

void TNationPage::Clear() {
    binding_.Clear();
    for (QLineEdit* e : {nationId_, region_, threeLetter_}) e->clear();
    shownThreeLetter_.clear();
    SetHasRecord(false);
}

void TNationPage::NationSearch(const QString& text) {
    const std::optional<std::int64_t> found =
        FindByName(Files().nation, NationRecord::kSize, text,
                   {NationRecord::LongName, NationRecord::ShortName});
    MakeCurrent(Files().nation, found, NationRec, [this] { ShowNationStats(); });
}

void TNationPage::InitialiseNationArrtibuteArrays() {
    LanguageNames = db::kLanguageNames;
}

void TNationPage::ShowNationStats() {
    InitialiseNationArrtibuteArrays();
    // The whole four-byte field is shown, so that a fourth letter is seen.
    const QString threeLetter = FromCp1252(NationRec.Get(NationRecord::ThreeLetterName));
    RowContext rows(Session());
    binding_.Show(NationRec.data(), rows);
    nationId_->setText(QString::number(NationRec.Get(NationRecord::Id)));
    region_->setText(QString::number(NationRec.Get(NationRecord::Region)));
    shownThreeLetter_ = threeLetter;
    threeLetter_->setText(threeLetter);
    SetHasRecord(true);
    ReportMissing(rows.missing);
}

void TNationPage::NationSave() {
    if (number_ < 0) return;
    RowContext rows(Session());
    // Untouched, the three-letter name keeps all four bytes; typed, its first three characters
    // are stored and the fourth byte stays.
    std::optional<std::string> threeLetter;
    NationRec = ReadModifyWrite<NationRecord>(Files().nation, number_, [&](NationRecord& rec) {
        if (threeLetter_->text() != shownThreeLetter_) {
            std::string bytes;
            if (!TryToCp1252(threeLetter_->text(), bytes)) {
                try {
                    ToCp1252(threeLetter_->text());  // names the character the files cannot hold
                } catch (const db::EConvertError& e) {
                    throw EFieldError(threeLetter_, QString::fromUtf8(e.what()));
                }
            }
            bytes.resize(std::min<std::size_t>(bytes.size(), kThreeLetters));
            threeLetter = std::move(bytes);
        }
        binding_.Save(rec.data(), rows);
        if (threeLetter) rec.Set(kThreeLetterWritten, *threeLetter);
    });
    // The page now shows what is stored: changing a field back after this save is a change.
    binding_.Saved(NationRec.data());
    if (threeLetter) shownThreeLetter_ = threeLetter_->text();
}

std::optional<QString> TNationPage::SearchTextFor(std::int64_t record) {
    return ReachableName<db::NationRecord>(
        Files().nation, record, {db::NationRecord::LongName, db::NationRecord::ShortName});
}

}  // namespace vh::ui
