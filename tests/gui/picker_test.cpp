// The picker and the name lists: the list each Change code builds and the table its filter
// searches, the filter's capitals, choices written into a page, and the window's result list.
// Expected names are read straight from the bytes of the sample's files.
#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <array>
#include <string>

#include "database/records/data_def.h"
#include "database/records/languages.h"
#include "dialogs/change_codes.h"
#include "dialogs/qtext.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

enum class Table {
    kNations,
    kCompetitions,
    kStadiums,
    kPeople,
    kClubs,
    kCities,
    kContinents,
    kLanguages,
    kFirstNames,
    kSecondNames,
    kCommonNames,
};
constexpr std::array kAllTables = {Table::kNations,     Table::kCompetitions, Table::kStadiums,
                                   Table::kPeople,      Table::kClubs,        Table::kCities,
                                   Table::kContinents,  Table::kLanguages,    Table::kFirstNames,
                                   Table::kSecondNames, Table::kCommonNames};

// Every Change button of the pages: the code it sets, the names the picker lists and filters,
// and the control the choice goes to.
struct CodeRow {
    int code;
    const char* button;
    Table table;
    const char* target;
    bool targetIsList;
};
constexpr CodeRow kCodes[] = {
    {1, "ClubNationChange", Table::kNations, "ClubNation", false},
    {2, "CLubDivisoinChange", Table::kCompetitions, "ClubDivision", false},
    {3, "ClubLDivisionChnage", Table::kCompetitions, "ClubLDivision", false},
    {4, "ClubStadiumChange", Table::kStadiums, "ClubStadium", false},
    {5, "ClubRStadiumChange", Table::kStadiums, "ClubRStadium", false},
    {6, "FavStaffChange", Table::kPeople, "ClubFavStaff", true},
    {7, "DisStaffChange", Table::kPeople, "ClubDisStaff", true},
    {8, "RivalClubChange", Table::kClubs, "ClubRivalList", true},
    {9, "Button2", Table::kStadiums, "NearbyStad", false},
    {10, "StadiumCityChange", Table::kCities, "StadCity", false},
    {11, "NationCCityChange", Table::kCities, "NationCCity", false},
    {12, "NationStadiumChange", Table::kStadiums, "NationStadium", false},
    {13, "NationContinentChange", Table::kContinents, "NationContinent", false},
    {14, "NAtionRivalChange", Table::kNations, "NationRivals", true},
    {15, "Nation1LangChange", Table::kLanguages, "Nation1Lang", false},
    {16, "Nation2LangChange", Table::kLanguages, "Nation2Lang", false},
    {17, "Nation3LangChange", Table::kLanguages, "Nation3Lang", false},
    {18, "CityNationCHange", Table::kNations, "CityNation", false},
    {19, "PlayerNationChange", Table::kNations, "PlayerNation", false},
    {20, "PlayerSecondNationChange", Table::kNations, "PlayerSecondNation", false},
    {21, "PlayerNewClubChange", Table::kClubs, "PlayerNewClub", false},
    {22, "FirstNameChange", Table::kFirstNames, "PlayerFirstName", false},
    {23, "SecondNameCHange", Table::kSecondNames, "PlayerSecondName", false},
    {24, "CommonNameCHange", Table::kCommonNames, "PlayerCommonName", false},
    {25, "PlayerFavClubCHange", Table::kClubs, "PlayerFavClubs", true},
    {26, "PLayerDisClubChange", Table::kClubs, "PlayerDisClubs", true},
    {27, "PlayerFavStaffChange", Table::kPeople, "PlayerFavStaff", true},
    {28, "PLayerDisStaffChange", Table::kPeople, "PlayerDisStaff", true},
    {29, "NonPlayerFirstNameChange", Table::kFirstNames, "NonPlayerFirstName", false},
    {30, "NonPlayerSecondNameChange", Table::kSecondNames, "NonPlayerSecondName", false},
    {31, "NonPlayerCommonNameChange", Table::kCommonNames, "NonPlayerCommonName", false},
    {32, "NonPlayerNationChange", Table::kNations, "NonPlayerNation", false},
    {33, "NonPlayerSecondNationChange", Table::kNations, "NonPlayerSecondNation", false},
    {34, "NonPlayerNewNationChange", Table::kNations, "NonPlayerNewNation", false},
    {35, "NonPlayerNewClubChange", Table::kClubs, "NonPlayerNewClub", false},
    {36, "NonPLayerFavClubsChange", Table::kClubs, "NonPlayerFavClubs", true},
    {37, "NonPLayerDisClubsChange", Table::kClubs, "NonPlayerDisClubs", true},
    {38, "NonPLayerFavStaffChange", Table::kPeople, "NonPlayerFavStaff", true},
    {39, "NonPLayerDisStaffChange", Table::kPeople, "NonPlayerDisStaff", true},
};

const QString kEmpty = QStringLiteral("<empty>");

QStringList StartingWith(const QStringList& names, const QString& prefix) {
    QStringList out;
    for (const QString& n : names)
        if (n.startsWith(prefix)) out << n;
    return out;
}
// The names that begin with any of the prefixes, in their own order.
QStringList StartingWithAny(const QStringList& names, const QStringList& prefixes) {
    QStringList out;
    for (const QString& n : names)
        if (std::any_of(prefixes.begin(), prefixes.end(),
                        [&](const QString& p) { return n.startsWith(p); }))
            out << n;
    return out;
}

void PrintTo(const CodeRow& row, std::ostream* os) {
    *os << "code " << row.code << " (" << row.button << ")";
}

class PickerTest : public EditorTest {
  protected:
    // The name field of every record of a file, read from its bytes.
    template <class R>
    QStringList Stored(const char* file, const db::Str& field, std::size_t keep = 51) const {
        const Bytes b = ReadFile(File(file));
        QStringList out;
        for (std::size_t off = 0; off + R::kSize <= b.size(); off += R::kSize)
            out << ui::FromCp1252(field.Read(b.data() + off).substr(0, keep));
        return out;
    }
    // People labels in Id order: players are the persons with a player record.
    QStringList People(bool players) {
        const Bytes b = ReadFile(File("staff.dat"));
        QStringList out;
        for (int id = 0; id < summary.persons; ++id) {
            const std::int32_t index =
                db::StaffRecord::PlayerIndex.Read(b.data() + id * db::StaffRecord::kSize);
            if ((index >= 0) == players) out << Main().Players().GetStaffName(id);
        }
        return out;
    }
    QStringList Names(Table t) {
        switch (t) {
            case Table::kNations:
                return Stored<db::NationRecord>("nation.dat", db::NationRecord::ShortName);
            case Table::kCompetitions:
                return Stored<db::ClubCompRecord>("club_comp.dat", db::ClubCompRecord::Name);
            case Table::kStadiums:
                return Stored<db::StadiumRecord>("stadium.dat", db::StadiumRecord::Name);
            case Table::kPeople:
                return People(false) + People(true);
            case Table::kClubs:
                return Stored<db::ClubRecord>("club.dat", db::ClubRecord::ShortName);
            case Table::kCities:
                return Stored<db::CityRecord>("city.dat", db::CityRecord::Name);
            case Table::kContinents:
                return Stored<db::ContinentRecord>("continent.dat", db::ContinentRecord::Name);
            case Table::kLanguages: {
                QStringList out;
                for (std::string_view n : db::kLanguageNames) out << ui::FromCp1252(n);
                return out;
            }
            case Table::kFirstNames:
                return Stored<db::NamesRecord>("first_names.dat", db::NamesRecord::Name, 50);
            case Table::kSecondNames:
                return Stored<db::NamesRecord>("second_names.dat", db::NamesRecord::Name, 50);
            case Table::kCommonNames:
                return Stored<db::NamesRecord>("common_names.dat", db::NamesRecord::Name, 50);
        }
        return {};
    }
    // The shortest start of an entry of `t` that begins no name of any other table, typed so
    // that the filter's capitals leave it as it is.
    QString PrefixOnlyIn(Table t) {
        QStringList others;
        for (Table o : kAllTables)
            if (o != t) others += Names(o);
        for (const QString& entry : Names(t)) {
            for (qsizetype k = 1; k <= entry.size(); ++k) {
                const QString p = entry.left(k);
                const QChar last = p.back();
                if (last.isLower() && (k == 1 || p[k - 2] == u' ')) break;
                if (StartingWith(others, p).isEmpty()) return p;
            }
        }
        return {};
    }

    ui::ListSource& Lists() { return Main().Lists(); }
    QStringList Lines() { return Picker().Model().Texts(); }
    QStringList Results() { return Main().ResultModel().Texts(); }
    void Type(const QString& text) { Picker().ChangeEdit()->setText(text); }
    // Double-clicks a line of the picker's list, as the user does.
    void Pick(int row) {
        QListView* view = Picker().ChangeListBox();
        const QModelIndex i = Picker().Model().index(row);
        view->scrollTo(i);
        const QPoint at = view->visualRect(i).center();
        // The first click of a double click arrives as a click of its own.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    void Pick(const QString& line) {
        const int row = static_cast<int>(Lines().indexOf(line));
        ASSERT_GE(row, 0) << line.toStdString();
        Pick(row);
    }
    void Press(const char* button) { Find<QPushButton>(button)->click(); }
};

// --- the code table ------------------------------------------------------------------------------

class PickerCode : public PickerTest, public ::testing::WithParamInterface<CodeRow> {};

TEST_P(PickerCode, ListsItsTableAndFiltersIt) {
    const CodeRow& row = GetParam();
    const ui::ChangeCodeInfo* info = ui::ChangeCodeOf(row.code);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->button, row.button);
    EXPECT_EQ(info->target, row.target);
    EXPECT_EQ(info->TargetIsList(), row.targetIsList);

    Load();
    Picker().Open(row.code);
    EXPECT_TRUE(Picker().isVisible());
    EXPECT_EQ(Lists().ChangeCode(), row.code);
    EXPECT_TRUE(Picker().ChangeEdit()->text().isEmpty());
    // In the Players mode "Player" is checked: the people lists hold the players.
    const QStringList listed = row.table == Table::kPeople ? People(true) : Names(row.table);
    ASSERT_FALSE(listed.isEmpty());
    EXPECT_EQ(Lines(), QStringList{kEmpty} + listed);

    const QString prefix = PrefixOnlyIn(row.table);
    ASSERT_FALSE(prefix.isEmpty());
    Type(prefix);
    const QStringList found = StartingWith(Names(row.table), prefix);
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(Lines(), found) << prefix.toStdString();

    Picker().close();
    EXPECT_EQ(Lists().ChangeCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryCode, PickerCode, ::testing::ValuesIn(kCodes),
                         [](const ::testing::TestParamInfo<CodeRow>& p) {
                             return std::to_string(p.param.code) + "_" + p.param.button;
                         });

// --- the filter ----------------------------------------------------------------------------------

TEST_F(PickerTest, NationFilterCapitalisesEachTypedWord) {
    Load();
    Picker().Open(1);
    QTest::keyClicks(Picker().ChangeEdit(), "van");
    EXPECT_EQ(Lines(), (QStringList{"Vandria", "Van Diemen", "Van Dorland", "Vanholm"}));
    QTest::keyClicks(Picker().ChangeEdit(), " d");
    EXPECT_EQ(Lines(), (QStringList{"Van Diemen", "Van Dorland"}));
    EXPECT_EQ(Picker().ChangeEdit()->text(), "van d") << "the edit keeps what was typed";
}

TEST_F(PickerTest, DeletedTextKeepsTheLastLinesAndReopeningRebuilds) {
    Load();
    Picker().Open(18);
    QLineEdit* edit = Picker().ChangeEdit();
    QTest::keyClicks(edit, "van");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    const QStringList v = Lines();
    EXPECT_EQ(v, StartingWith(Names(Table::kNations), "V"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(Lines(), v) << "no \"<empty>\", no full list";

    Picker().close();
    Picker().Open(18);
    EXPECT_EQ(Lines(), QStringList{kEmpty} + Names(Table::kNations));
}

TEST_F(PickerTest, ClubsSharingAShortNameGiveTwoEqualLines) {
    Load();
    Picker().Open(8);
    const auto [first, second] = summary.clubsSharingShortName;
    EXPECT_EQ(Lines().count("Athletic"), 2);
    EXPECT_EQ(Lines().at(first + 1), "Athletic");
    EXPECT_EQ(Lines().at(second + 1), "Athletic");
    Type("athletic");
    EXPECT_EQ(Lines(), (QStringList{"Athletic", "Athletic"}));
}

TEST_F(PickerTest, NameListsOfferRecordZeroAndEndWithTheLastRecord) {
    Load();
    const struct {
        int code;
        Table table;
        const char* recordZero;
        int count;
    } kCases[] = {
        {22, Table::kFirstNames, "Adam", summary.firstNames},
        {23, Table::kSecondNames, "Berg", summary.secondNames},
        {24, Table::kCommonNames, "Tonito", summary.commonNames},
    };
    for (const auto& c : kCases) {
        Picker().Open(c.code);
        const QStringList lines = Lines();
        ASSERT_EQ(lines.size(), c.count + 1) << c.code;
        EXPECT_EQ(lines[1], c.recordZero) << c.code;
        EXPECT_EQ(lines.back(), Names(c.table).back()) << c.code;
        EXPECT_FALSE(lines.back().isEmpty()) << c.code;
        Type(QString::fromLatin1(c.recordZero).toLower());
        EXPECT_EQ(Lines().front(), c.recordZero) << c.code;
    }
}

TEST_F(PickerTest, ReserveStadiumAndContinentPickersFilterTheirNames) {
    Load();
    Picker().Open(5);
    Type("central p");
    EXPECT_EQ(Lines(), (QStringList{"Central Park", "Central Park"}));
    Picker().Open(13);
    Type("a");
    EXPECT_EQ(Lines(), (QStringList{"Africa", "Asia"}));
    Type("south");
    EXPECT_EQ(Lines(), QStringList{"South America"});
}

TEST_F(PickerTest, LowerCaseNamesAreFoundAsTyped) {
    Load();
    const QStringList second = Names(Table::kSecondNames);
    const struct {
        const char* typed;
        QStringList starts;
    } kCases[] = {
        {"de", {"De", "de"}},
        {"van d", {"Van D", "van d"}},
        {"van Dijk", {"Van Dijk", "van Dijk"}},
        {"Berg", {"Berg"}},
    };
    Picker().Open(30);
    for (const auto& c : kCases) {
        Type(c.typed);
        EXPECT_EQ(Lines(), StartingWithAny(second, c.starts)) << c.typed;
    }
    Type("de");
    EXPECT_TRUE(Lines().contains("de Boer") && Lines().contains("de Vries"));
    const QStringList de = Lines();
    const auto capital =
        std::find_if(de.begin(), de.end(), [](const QString& n) { return n.startsWith("De"); });
    ASSERT_NE(capital, de.end());
    EXPECT_GT(capital - de.begin(), de.indexOf("de Boer"))
        << "table order, not the capitalised matches first";
    Type("van d");
    EXPECT_EQ(Lines(), QStringList{"van den Berg"});
    Type("berg");
    EXPECT_EQ(Lines(), (QStringList{"Berg", "Berg"})) << "each entry once";

    // People picker: labels of both classes that begin with a lower-case second name.
    const QStringList deBoer = StartingWith(Names(Table::kPeople), "de Boer, ");
    ASSERT_FALSE(deBoer.isEmpty());
    Picker().Open(28);
    Type("de Boer");
    EXPECT_EQ(Lines(), deBoer);
}

TEST_F(PickerTest, FavouriteStaffListsOneClassAndTypingFindsBothStaffFirst) {
    Load();
    const QStringList players = People(true), staff = People(false);
    Picker().Open(27);
    EXPECT_EQ(Lines(), QStringList{kEmpty} + players);
    // The first letter that begins labels of both classes, typed in lower case.
    QString letter;
    for (char c = 'A'; c <= 'Z' && letter.isEmpty(); ++c)
        if (!StartingWith(players, QString(c)).isEmpty() &&
            !StartingWith(staff, QString(c)).isEmpty())
            letter = QString(c);
    ASSERT_FALSE(letter.isEmpty());
    Type(letter.toLower());
    EXPECT_EQ(Lines(), StartingWith(staff, letter) + StartingWith(players, letter));
    Picker().close();

    Action("NonPlayerMenu")->trigger();
    Picker().Open(6);
    EXPECT_EQ(Lines(), QStringList{kEmpty} + staff);
}

// --- choices ---------------------------------------------------------------------------------

TEST_F(PickerTest, ChoosingALineWritesItIntoTheFieldAndCloses) {
    Load();
    Action("StadiumMenu")->trigger();
    // A stadium with a nearby stadium, so that "<empty>" changes the field.
    const Bytes stadiums = ReadFile(File("stadium.dat"));
    int withNearby = 0;
    while (db::StadiumRecord::NearbyStadium.Read(stadiums.data() +
                                                 withNearby * db::StadiumRecord::kSize) < 0)
        ++withNearby;
    Choose(Names(Table::kStadiums).at(withNearby));
    ASSERT_NE(Edit("NearbyStad")->text(), kEmpty);
    ASSERT_FALSE(Main().RecordChanged());

    Press("Button2");
    EXPECT_EQ(Lists().ChangeCode(), 9);
    Pick(kEmpty);
    EXPECT_EQ(Edit("NearbyStad")->text(), kEmpty);
    EXPECT_FALSE(Picker().isVisible());
    EXPECT_EQ(Lists().ChangeCode(), 0);
    EXPECT_TRUE(Main().RecordChanged());

    const QString city = Names(Table::kCities).at(5);
    Press("StadiumCityChange");
    Pick(city);
    EXPECT_EQ(Edit("StadCity")->text(), city);
    EXPECT_EQ(Edit("NearbyStad")->text(), kEmpty);

    ui::seam::QueueAnswer(ui::Answer::kNo);  // "Save Changes?"
    Action("CityMenu")->trigger();
    Choose(Names(Table::kCities).at(2));
    Press("CityNationCHange");
    Type("van");
    Pick("Van Dorland");
    EXPECT_EQ(Edit("CityNation")->text(), "Van Dorland");
    Press("CityNationCHange");
    Pick(0);
    EXPECT_EQ(Edit("CityNation")->text(), kEmpty);
}

TEST_F(PickerTest, AnotherChangeButtonRebuildsTheOpenPicker) {
    Load();
    Action("StadiumMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(1)));
    const QString nearby = Edit("NearbyStad")->text();
    Press("Button2");
    Type("c");
    Press("StadiumCityChange");
    EXPECT_TRUE(Picker().isVisible());
    EXPECT_EQ(Lists().ChangeCode(), 10);
    EXPECT_TRUE(Picker().ChangeEdit()->text().isEmpty());
    EXPECT_EQ(Lines(), QStringList{kEmpty} + Names(Table::kCities));
    Pick(1);
    EXPECT_EQ(Edit("StadCity")->text(), Names(Table::kCities).at(0));
    EXPECT_EQ(Edit("NearbyStad")->text(), nearby);
}

TEST_F(PickerTest, APickIntoAListNeedsASelectedLine) {
    // A list target of a later page: found by its name when the picker is attached.
    auto* list = new QListWidget(&Main());
    list->setObjectName("ClubRivalList");
    list->addItems({"One", "Two", "Three"});
    auto* button = new QPushButton(&Main());
    button->setObjectName("RivalClubChange");
    Main().AttachPicker(&Picker());
    Load();

    button->click();
    ASSERT_EQ(Lists().ChangeCode(), 8);
    list->clearSelection();
    Pick("Athletic");
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "Change Attribute");
    EXPECT_EQ(LastText(), "Select a line of the list first.");
    EXPECT_TRUE(Picker().isVisible());
    EXPECT_EQ(Lists().ChangeCode(), 8);
    // A current line that is not selected is no choice either.
    list->selectionModel()->setCurrentIndex(list->model()->index(2, 0),
                                            QItemSelectionModel::NoUpdate);
    Pick("Athletic");
    EXPECT_EQ(ui::seam::Log().size(), 2u);
    EXPECT_EQ(list->item(2)->text(), "Three");

    list->setCurrentRow(1);
    Pick("Athletic");
    EXPECT_EQ(list->item(0)->text(), "One");
    EXPECT_EQ(list->item(1)->text(), "Athletic");
    EXPECT_EQ(list->item(2)->text(), "Three");
    EXPECT_FALSE(Picker().isVisible());
    EXPECT_EQ(Lists().ChangeCode(), 0);

    button->click();
    Pick(0);
    EXPECT_EQ(list->item(1)->text(), kEmpty);
}

TEST_F(PickerTest, ASeventhContinentIsLeftOutAndNamedOncePerLoad) {
    db::ContinentRecord extra;
    extra.Set(db::ContinentRecord::Id, 6);
    extra.Set(db::ContinentRecord::Name, std::string("Atlantis"));
    Bytes continents = ReadFile(File("continent.dat"));
    continents.insert(continents.end(), extra.bytes.begin(), extra.bytes.end());
    WriteFile(File("continent.dat"), continents);

    Load();
    ASSERT_TRUE(ui::seam::Log().empty());
    Picker().Open(13);
    EXPECT_EQ(Lines(), (QStringList{kEmpty, "Europe", "Africa", "Asia", "North America",
                                    "South America", "Oceania"}));
    ASSERT_EQ(ui::seam::Log().size(), 1u);
    EXPECT_TRUE(LastText().contains("continent.dat")) << LastText().toStdString();
    EXPECT_TRUE(LastText().contains("1 record")) << LastText().toStdString();
    Type("atl");
    EXPECT_TRUE(Lines().isEmpty());

    Picker().close();
    Picker().Open(13);
    EXPECT_EQ(ui::seam::Log().size(), 1u) << "once per load";
    Load();
    Picker().Open(13);
    EXPECT_EQ(ui::seam::Log().size(), 2u) << "again after the next load";
}

TEST_F(PickerTest, ClosingWritesNothingAndThePickerIsModeless) {
    EXPECT_EQ(Picker().windowTitle(), "Change Attribute");
    EXPECT_FALSE(Picker().isModal());
    QLineEdit* edit = Picker().ChangeEdit();
    QListView* view = Picker().ChangeListBox();
    EXPECT_EQ(edit->objectName(), "ChangeEdit");
    EXPECT_EQ(view->objectName(), "ChangeListBox");

    Load();
    Action("StadiumMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(4)));
    Press("Button2");
    EXPECT_EQ(Picker().size(), QSize(203, 170));
    EXPECT_LT(edit->geometry().bottom(), view->geometry().top());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(Main().isEnabled());

    // A double click that lands on no line writes nothing and keeps the picker open.
    view->setCurrentIndex({});
    Picker().ChangeListBoxDblClick();
    EXPECT_TRUE(Picker().isVisible());

    // The main window works on while the picker is open.
    Find<QRadioButton>("Stadrad")->click();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(5)));
    EXPECT_EQ(Edit("StadId")->text(), "5");
    EXPECT_TRUE(Picker().isVisible());
    EXPECT_EQ(Lists().ChangeCode(), 9);

    const QString nearby5 = Edit("NearbyStad")->text();
    view->setCurrentIndex(Picker().Model().index(3));
    Picker().close();
    EXPECT_EQ(Lists().ChangeCode(), 0);
    EXPECT_EQ(Edit("NearbyStad")->text(), nearby5);
    EXPECT_FALSE(Main().RecordChanged());
}

TEST_F(PickerTest, MinimisedAndRestoredThePickerStillServesItsField) {
    Load();
    Action("StadiumMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(1)));
    Press("StadiumCityChange");
    Type("b");
    const QStringList filtered = Lines();
    ASSERT_FALSE(filtered.isEmpty());
    // Minimising the editor minimises the picker with it; the window system then hides and
    // shows it again.
    Picker().showMinimized();
    Picker().showNormal();
    EXPECT_EQ(Lists().ChangeCode(), 10);
    EXPECT_EQ(Picker().ChangeEdit()->text(), "b");
    EXPECT_EQ(Lines(), filtered);
    Pick(0);
    EXPECT_EQ(Edit("StadCity")->text(), filtered[0]);
    EXPECT_FALSE(Picker().isVisible());
}

TEST_F(PickerTest, BeforeALoadThePickerListsNothing) {
    Picker().Open(9);
    EXPECT_TRUE(Lines().isEmpty());
    Type("c");
    EXPECT_TRUE(Lines().isEmpty());
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
}

// --- the people read from staff.dat ------------------------------------------------------------

TEST_F(PickerTest, PeopleEndWhereTheBlocksBeginAndASmallFileIsNoError) {
    Load();
    EXPECT_EQ(Results(), People(true));
    EXPECT_EQ(Results().size(), summary.players);
    Action("NonPlayerMenu")->trigger();
    EXPECT_EQ(Results().size(), summary.nonPlayers);

    // staff.dat cut short in the middle of a person, index.dat still naming the blocks.
    Bytes staff = ReadFile(File("staff.dat"));
    staff.resize(10 * db::StaffRecord::kSize + 60);
    WriteFile(File("staff.dat"), staff);
    Load();
    Picker().Open(38);
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_EQ(Main().Session().lists.player.Count() + Main().Session().lists.staff.Count(), 10u);
    EXPECT_EQ(Lines().size() - 1, static_cast<int>(Main().Session().lists.staff.Count()));
}

TEST_F(PickerTest, ListsGoBeyond32000Lines) {
    sample::SampleOptions full;
    full.size = sample::SampleSize::kFull;
    full.overwrite = true;
    summary = sample::WriteSample(dir.Path(), full);
    ASSERT_GT(summary.players, 32000);
    ASSERT_GT(summary.secondNames, 32000);
    Load();

    // The result list of the Players mode: every player, the last one findable.
    const QStringList players = Results();
    ASSERT_EQ(players.size(), summary.players);
    EXPECT_FALSE(players.back().isEmpty());
    Edit("SearchEdit")->setText(players.back());
    EXPECT_EQ(Results(), QStringList{players.back()});

    Picker().Open(23);
    const QStringList second = Names(Table::kSecondNames);
    ASSERT_EQ(Lines().size(), summary.secondNames + 1);
    EXPECT_EQ(Lines().back(), second.back());
    EXPECT_EQ(Lines().indexOf(QString()), -1) << "no empty line";
    Type(second.back());
    EXPECT_TRUE(Lines().contains(second.back()));
}

// --- the main window's result list ---------------------------------------------------------------

TEST_F(PickerTest, ResultListFollowsEachRadioButton) {
    Load();
    const struct {
        const char* menu;
        const char* radio;
        Table table;
        bool players;
    } kCases[] = {
        {"PlayerMenu", "PlayerRad", Table::kPeople, true},
        {"NonPlayerMenu", "NonPlayerRad", Table::kPeople, false},
        {"ClubMenu", "Clubrad", Table::kClubs, false},
        {"NationMenu", "NationRad", Table::kNations, false},
        {"CityMenu", "CityRad", Table::kCities, false},
        {"StadiumMenu", "Stadrad", Table::kStadiums, false},
        {"StadiumMenu", "Clubrad", Table::kClubs, false},
        {"StadiumMenu", "NationRad", Table::kNations, false},
    };
    for (const auto& c : kCases) {
        Action(c.menu)->trigger();
        Find<QRadioButton>(c.radio)->click();
        const QStringList want = c.table == Table::kPeople ? People(c.players) : Names(c.table);
        EXPECT_EQ(Results(), want) << c.menu << " " << c.radio;
    }
}

TEST_F(PickerTest, SearchBoxFiltersByItsOwnRadioButton) {
    Load();
    QLineEdit* search = Edit("SearchEdit");
    const QStringList players = People(true), staff = People(false);
    search->setText("b");
    EXPECT_EQ(Results(), StartingWith(players, "B"));
    search->setText("de");
    EXPECT_EQ(Results(), StartingWithAny(players, {"De", "de"}));
    search->setText("de Boer");
    EXPECT_EQ(Results(), StartingWith(players, "de Boer"));

    Action("NonPlayerMenu")->trigger();
    search->setText("b");
    EXPECT_EQ(Results(), StartingWith(staff, "B"));

    // With the picker open on stadiums, the search box still filters by "Club"; "<empty>" is
    // never a line of the result list.
    Action("StadiumMenu")->trigger();
    Choose(QString::fromStdString(Main().Session().lists.stadium.At(1)));
    Find<QRadioButton>("Clubrad")->click();
    Press("Button2");
    ASSERT_EQ(Lists().ChangeCode(), 9);
    search->setText("athletic");
    EXPECT_EQ(Results(), (QStringList{"Athletic", "Athletic"}));
    EXPECT_EQ(Lines().front(), kEmpty) << "the picker keeps its own list";
    Find<QRadioButton>("Stadrad")->click();
    EXPECT_EQ(Results(), Names(Table::kStadiums));
    Action("CityMenu")->trigger();
    EXPECT_EQ(Results(), Names(Table::kCities));
    Action("PlayerMenu")->trigger();
    EXPECT_EQ(Results(), players);
}

}  // namespace
}  // namespace vh::test
