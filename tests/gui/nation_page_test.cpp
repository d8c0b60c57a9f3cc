#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <cstring>
#include <functional>
#include <vector>

#include "database/records/data_def.h"
#include "dialogs/qtext.h"
#include "editor/pages/nation_page.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::NationRecord;
using Step = std::function<void()>;

// Offsets of the nation record, typed here rather than taken from the layout under test.
constexpr std::size_t kThreeLetter = 83, kContinent = 113, kLanguage1 = 119, kCapital = 122,
                      kEec = 127, kStadium = 128, kGImp = 132, kReputation = 142, kColours = 144,
                      kRivals = 272;

std::vector<std::uint8_t> Le(std::initializer_list<std::int32_t> values) {
    std::vector<std::uint8_t> out;
    for (std::int32_t v : values)
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return out;
}

class NationPage : public EditorTest {
  protected:
    NationRecord Nation(std::int32_t n) { return Record<NationRecord>(n); }
    // Record n as `f` leaves it, named `name` so that a search finds it alone.
    void PatchNamed(std::int32_t n, const char* name, const std::function<void(NationRecord&)>& f) {
        Patch(n, [&](NationRecord& r) {
            r.Set(NationRecord::ShortName, name);
            f(r);
        });
    }
    void Show(const QString& name) {
        Find<QRadioButton>("NationRad")->click();
        Choose(name);
    }
    QString Text(const char* control) { return Find<QLineEdit>(control)->text(); }
    QListWidget* Rivals() { return Find<QListWidget>("NationRivals"); }
    Step Set(const char* control, QString text) {
        return [=, this] { Find<QLineEdit>(control)->setText(text); };
    }
    Step Picked(const char* button, int row) {
        return [=, this] { Pick(button, row); };
    }
    Step PickedRivals(std::vector<std::int32_t> nations) {
        return [=, this] {
            int line = 0;
            for (std::int32_t n : nations) {
                Rivals()->setCurrentRow(line++);
                Pick("NAtionRivalChange", n + 1);
            }
        };
    }
    Step Colour(const char* control, int index) {
        return [=, this] { Find<QComboBox>(control)->setCurrentIndex(index); };
    }
    Step ClickEec() {
        return [this] { Find<QCheckBox>("NationEEC")->click(); };
    }
};

TEST_F(NationPage, ShowsEveryFieldAndAnUntouchedSaveKeepsItsBytes) {
    PatchNamed(3, "Showland", [](NationRecord& r) {
        r.Set(NationRecord::LongName, "Republic of Showland");
        std::memcpy(r.bytes.data() + kThreeLetter, "ABCD", 4);  // no terminator
        r.bytes[117] = 11;                                      // region
        for (auto [at, v] : {std::pair{119, 34}, {120, 0}, {121, 61}, {126, 200}, {127, 0}})
            r.bytes[std::size_t(at)] = std::uint8_t(v);
        r.Set(NationRecord::Continent, 9999);
        r.Set(NationRecord::CapitalCity, -1);
        r.Set(NationRecord::NationalStadium, -7);
        for (std::int32_t i = 0; i < 6; ++i) r.Set(db::I32{kColours + 4 * std::size_t(i)}, i + 1);
        for (std::int32_t i = 0; i < 3; ++i) r.Set(NationRecord::RivalNations[i], (5 - i) * i - 1);
    });  // rivals -1, 3, 5
    Bytes b = ReadFile(File("nation.dat"));
    b.resize(5 * NationRecord::kSize);  // rival 5 now lies outside the file
    WriteFile(File("nation.dat"), b);
    Load();
    Action("NationMenu")->trigger();
    ui::seam::Clear();
    Main().Nations().NationSearch("Republic of Showland");
    ASSERT_EQ(ui::seam::Log().size(), 1u) << "one warning, for the continent";
    EXPECT_TRUE(LastText().contains("Continent: continent.dat has no record 9999"));
    ui::seam::Clear();

    const std::pair<const char*, QString> shown[] = {
        {"NationID", "3"},
        {"Nation3LName", "ABCD"},
        {"NationRegion", "11"},
        {"Nation1Lang", "ALBANIAN"},
        {"Nation2Lang", "<empty>"},
        {"Nation3Lang", "61"},
        {"NationContinent", "<missing 9999>"},
        {"NationCCity", "<empty>"},
        {"NationStadium", "<empty>"},
        {"NationSOD", "200"},
    };
    for (const auto& [control, text] : shown) EXPECT_EQ(Text(control), text) << control;
    EXPECT_TRUE(Find<QCheckBox>("NationEEC")->isChecked());
    const char* colours[] = {"NationHomeC1", "NationHomeC2", "NationAwayC1",
                             "NationAwayC2", "Nation3C1",    "Nation3C2"};
    const QStringList names = ui::SetColours(Main().Session().files.colour);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Find<QComboBox>(colours[i])->currentText(), names[i + 1]) << colours[i];
    ASSERT_EQ(Rivals()->count(), 3);
    EXPECT_EQ(Rivals()->item(1)->text(), ui::FromCp1252(Nation(3).Get(NationRecord::ShortName)));
    EXPECT_EQ(Rivals()->item(2)->text(), "<empty>");

    // Only the rival outside the file changes: it is saved as -1.
    Main().StadNameChange();
    SaveData();
    NationRecord expected;
    std::memcpy(expected.bytes.data(), b.data() + 3 * expected.kSize, expected.kSize);
    expected.Set(NationRecord::RivalNations[2], -1);
    EXPECT_EQ(Nation(3), expected);

    Main().Nations().NationSearch("Atlantis");
    EXPECT_EQ(LastAsked()->caption, "No Matches");
    EXPECT_EQ(Text("NationID"), "3");
}

TEST_F(NationPage, SavingEveryNationUnchangedRewritesNoByte) {
    const auto before = Snapshot(dir.Path());
    Load();
    Action("NationMenu")->trigger();
    for (const QString& line : Main().ResultModel().Texts()) {
        Show(line);
        Main().StadNameChange();
        SaveData();
    }
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(NationPage, EachChangeIsStoredByItsRuleAndNothingElseMoves) {
    const std::int32_t secondHalberg = summary.citiesSharingName.second;
    const auto [park, secondPark] = summary.stadiumsSharingName;
    PatchNamed(2, "Editland", [](NationRecord& r) {
        std::memcpy(r.bytes.data() + kThreeLetter, "EDTQ", 4);
        r.bytes[kEec] = 0;
        r.bytes[kLanguage1] = 34;
        r.Set(NationRecord::HomeColour1, 3);
    });
    struct Change {
        const char* what;
        Step edit;
        std::size_t offset;
        std::vector<std::uint8_t> stored;
    };
    const Change changes[] = {
        {"two letters, a zero, the kept fourth byte",
         Set("Nation3LName", "AB"),
         kThreeLetter,
         {'A', 'B', 0, 'Q'}},
        {"a fourth letter typed is refused",
         [this] {
             Find<QLineEdit>("Nation3LName")->clear();
             QTest::keyClicks(Find<QLineEdit>("Nation3LName"), "WXYZ");
             EXPECT_EQ(Text("Nation3LName"), "WXY");
         },
         kThreeLetter,
         {'W', 'X', 'Y', 'Q'}},
        {"EEC unchecked", ClickEec(), kEec, {1}},
        {"EEC checked", ClickEec(), kEec, {2}},
        {"game importance", Set("NationGImp", "255"), kGImp, {255}},
        {"reputation", Set("NationReputation", "10000"), kReputation, {0x10, 0x27}},
        {"a colour", Colour("NationHomeC1", 5), kColours, Le({5})},
        {"no colour selected keeps it", Colour("NationHomeC1", -1), kColours, Le({5})},
        {"code 11", Picked("NationCCityChange", secondHalberg + 1), kCapital, Le({secondHalberg})},
        {"code 11 <empty>", Picked("NationCCityChange", 0), kCapital, Le({-1})},
        {"code 12", Picked("NationStadiumChange", secondPark + 1), kStadium, Le({secondPark})},
        {"code 12 <empty>", Picked("NationStadiumChange", 0), kStadium, Le({-1})},
        {"code 13", Picked("NationContinentChange", 4), kContinent, Le({3})},
        {"code 13 <empty>", Picked("NationContinentChange", 0), kContinent, Le({-1})},
        {"code 14 in row order", PickedRivals({6, -1, 7}), kRivals, Le({6, -1, 7})},
        {"code 15, the first ALBANIAN", Picked("Nation1LangChange", 1), kLanguage1, {1}},
        {"code 15, the second ALBANIAN", Picked("Nation1LangChange", 34), kLanguage1, {34}},
        {"code 16", Picked("Nation2LangChange", 60), kLanguage1 + 1, {60}},
        {"code 17 <empty>", Picked("Nation3LangChange", 0), kLanguage1 + 2, {0}},
        // Changed back after a save to what the search showed, a field is stored again.
        {"back to the capital shown", Picked("NationCCityChange", 3), kCapital, Le({2})},
    };
    ASSERT_NE(park, secondPark);
    Load();
    Action("NationMenu")->trigger();
    Show("Editland");
    EXPECT_EQ(Text("Nation3LName"), "EDTQ");
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        const NationRecord before = Nation(2);
        c.edit();
        SaveData();
        NationRecord expected = before;
        std::copy(c.stored.begin(), c.stored.end(), expected.bytes.begin() + long(c.offset));
        EXPECT_EQ(Nation(2), expected);
    }
}

TEST_F(NationPage, AFailedSaveLeavesTheFilesAsTheyWere) {
    PatchNamed(6, "Failland", [](NationRecord&) {});
    Load();
    Action("NationMenu")->trigger();
    const QString bad = QStringLiteral("\u4e2d");
    const QString range = QStringLiteral("\"%1\": this value must be in the range 0 to %2");
    const std::pair<Step, QString> cases[] = {
        {Set("NationSOD", "256"), range.arg("State Of Development").arg(255)},
        {Set("NationGImp", "12a"), "'12a' is not a valid integer value"},
        {Set("NationReputation", "-1"), range.arg("Reputation").arg(10000)},
        {Set("NationCCity", "Atlantis"), "Read beyond end of file"},
        {[this] { Rivals()->item(1)->setText("Atlantis"); }, "Read beyond end of file"},
        {Set("Nation3LName", bad), "'" + bad + "' holds the character '" + bad + "'"},
    };
    for (const auto& [edit, message] : cases) {
        SCOPED_TRACE(message.toStdString());
        if (Main().RecordChanged()) ui::seam::QueueAnswer(ui::Answer::kNo);
        Show("Failland");
        ui::seam::Clear();
        const auto before = Snapshot(dir.Path());
        // Every other kind of field changes too, so that a write before the failure would show.
        for (const Step& e : {Set("NationLName", "Changed"), Set("Nation3LName", "CC"), ClickEec(),
                              Colour("Nation3C2", 0), Picked("Nation1LangChange", 2)})
            e();
        Rivals()->item(0)->setText("<empty>");
        edit();
        Action("SaveMenu")->trigger();
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_TRUE(LastText().startsWith(message)) << LastText().toStdString();
        EXPECT_EQ(Snapshot(dir.Path()), before);
        EXPECT_TRUE(Main().RecordChanged());
    }
}

}  // namespace
}  // namespace vh::test
