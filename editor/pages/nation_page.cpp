#include "editor/pages/nation_page.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QValidator>

#include "dialogs/change_codes.h"
#include "dialogs/qtext.h"
#include "editor/pages/page_kit.h"

namespace vh::ui {

namespace {

// At most three letters are typed; a stored name of four letters may stand as it is.
class ThreeLetterValidator : public QValidator {
  public:
    ThreeLetterValidator(QLineEdit* edit, int letters) : QValidator(edit), letters_(letters) {
        QObject::connect(edit, &QLineEdit::textChanged, this, [this, edit] {
            if (edit->text().size() > letters_) shown_ = edit->text();
        });
    }
    State validate(QString& input, int&) const override {
        return input.size() <= letters_ || input == shown_ ? Acceptable : Invalid;
    }

  private:
    int letters_;
    QString shown_;  // the four letters a show put there
};

// The three rival rows with their Change button beside them rather than under them, so that the
// team tab fits the page without scrolling.
QListWidget* MakeRivals(PageGrid& g, Binding& b) {
    const db::Field& f = b.Field("NationRivals");
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
    h->addWidget(list, 1);
    h->addWidget(MakeChangeButton(box, ChangeCodeFor(f.name)->button.data(),
                                  QStringLiteral("Choose another nation for the selected line")),
                 0, Qt::AlignTop);
    g.Add(QString::fromLatin1(f.caption), box);
    b.Add(f.name, list);
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
    : TRecordPage(context, db::TableId::kNations, MakeTabPanel(parent, "NationPanel")) {
    auto* tabs = static_cast<QTabWidget*>(Panel());
    // Nation Info: names, continent, languages, capital.
    QWidget* info = AddTab(tabs, "NationInfoTab", "Nation Info");
    PageGrid g(info, 2);
    binding_.Make(g, "NationLName", 2);
    binding_.Make(g, "NationSName");
    id_ = MakeIdField(g, "NationID", "Nation ID");
    // The whole four-byte field is shown, so that a fourth letter is seen; three are typed.
    auto* threeLetter = binding_.Make<QLineEdit>(g, "Nation3LName");
    threeLetter->setValidator(
        new ThreeLetterValidator(threeLetter, binding_.Field("Nation3LName").max));
    threeLetter->setMaximumWidth(90);
    binding_.Make(g, "NationNameNat");
    binding_.Make(g, "NationContinent");
    binding_.Make(g, "NationCCity");
    for (const char* language : {"Nation1Lang", "Nation2Lang", "Nation3Lang"})
        binding_.Make(g, language);
    binding_.Make(g, "NationSOD");
    binding_.Make(g, "NationRegion");

    // National Team Info: stadium, standing, kit colours, rivals.
    QWidget* team = AddTab(tabs, "NationalTeamInfoTab", "National Team Info");
    PageGrid t(team, 2);
    binding_.Make(t, "NationStadium", 2);
    binding_.Make(t, "NationGImp");
    binding_.Make(t, "NationLStandard");
    binding_.Make(t, "NationReputation");
    binding_.Make(t, "NationEEC");
    for (const char* colour :
         {"NationHomeC1", "NationHomeC2", "NationAwayC1", "NationAwayC2", "Nation3C1", "Nation3C2"})
        binding_.Make<QComboBox>(t, colour)->setMinimumContentsLength(6);
    MakeRivals(t, binding_);
    AddFieldArea(info);
    AddFieldArea(team);
}

}  // namespace vh::ui
