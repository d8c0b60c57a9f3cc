#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "database/data_def.h"
#include "database/languages.h"
#include "dialogs/qtext.h"
#include "editor/nation_page.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::NationRecord;
using ui::Answer;

// Offsets of the nation record, typed here rather than taken from the layout under test.
constexpr std::size_t kThreeLetter = 83, kContinent = 113, kRegion = 117, kLanguage1 = 119,
                      kLanguage2 = 120, kLanguage3 = 121, kCapital = 122, kSod = 126, kEec = 127,
                      kStadium = 128, kGImp = 132, kLStandard = 133, kReputation = 142,
                      kColours = 144, kRivals = 272;
// The bytes no field names.
constexpr std::pair<std::size_t, std::size_t> kNotInterpreted[] = {
    {55, 55}, {82, 82}, {118, 118}, {134, 141}, {168, 271}, {284, 289}};

class NationPage : public EditorTest {
  protected:
    NationRecord Nation(std::int32_t n) {
        const Bytes b = ReadFile(File("nation.dat"));
        NationRecord r;
        std::memcpy(r.bytes.data(), b.data() + static_cast<std::size_t>(n) * r.kSize, r.kSize);
        return r;
    }
    void Patch(std::int32_t n, const std::function<void(NationRecord&)>& f) {
        NationRecord r = Nation(n);
        f(r);
        Bytes b = ReadFile(File("nation.dat"));
        std::memcpy(b.data() + static_cast<std::size_t>(n) * r.kSize, r.bytes.data(), r.kSize);
        WriteFile(File("nation.dat"), b);
    }
    QString ShortName(std::int32_t n) {
        return ui::FromCp1252(Nation(n).Get(NationRecord::ShortName));
    }
    // The name of colour `id`, read from colour.dat.
    QString Colour(std::int32_t id) {
        const Bytes b = ReadFile(File("colour.dat"));
        return ui::FromCp1252(db::ColourRecord::Name.Read(b.data() + id * db::ColourRecord::kSize));
    }
    void Open() {
        Load();
        Action("NationMenu")->trigger();
    }
    void Show(const QString& name, std::int32_t expected) {
        Find<QRadioButton>("NationRad")->click();
        Choose(name);
        ASSERT_EQ(Text("NationID"), QString::number(expected));
    }
    QString Text(const char* control) { return Edit(control)->text(); }
    QListWidget* Rivals() { return Find<QListWidget>("NationRivals"); }
    QStringList RivalLines() {
        QStringList out;
        for (int i = 0; i < Rivals()->count(); ++i) out << Rivals()->item(i)->text();
        return out;
    }
    // Presses a Change button and double-clicks line `row` of the picker.
    void PickRow(const char* button, int row) {
        Find<QPushButton>(button)->click();
        ASSERT_TRUE(Picker().isVisible());
        Picker().ChangeListBox()->setCurrentIndex(Picker().Model().index(row));
        Picker().ChangeListBoxDblClick();
    }
    // Line `line` of the rival list becomes nation `nation` (-1: "<empty>").
    void PickRival(int line, std::int32_t nation) {
        Rivals()->setCurrentRow(line);
        PickRow("NAtionRivalChange", nation + 1);
    }
    void SaveData() {
        ASSERT_TRUE(Main().RecordChanged());
        Find<QPushButton>("Save")->click();
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        EXPECT_FALSE(Main().RecordChanged());
    }
};

// Bytes of record `n` outside `allowed` (offsets within the record), and every other record,
// are as they were.
void ExpectOnly(const Bytes& before, const Bytes& after, std::int32_t n,
                std::vector<std::pair<std::size_t, std::size_t>> allowed) {
    ASSERT_EQ(before.size(), after.size());
    const std::size_t start = static_cast<std::size_t>(n) * NationRecord::kSize;
    for (std::size_t i = 0; i < before.size(); ++i) {
        bool ok = false;
        for (auto [from, to] : allowed) ok |= i >= start + from && i <= start + to;
        if (!ok && before[i] != after[i]) {
            ADD_FAILURE() << "byte " << i - start << " of record " << n << " changed";
            return;
        }
    }
}

TEST_F(NationPage, ShowsEveryFieldAndAnUntouchedSaveKeepsTheStoredBytes) {
    const std::int32_t n = 3, rival = 5;
    Patch(n, [&](NationRecord& r) {
        r.Set(NationRecord::ShortName, "Showland");
        std::memcpy(r.bytes.data() + kThreeLetter, "ABCD", 4);  // no terminator
        r.bytes[kRegion] = 11;
        r.bytes[kLanguage1] = 34;  // the second "ALBANIAN"
        r.bytes[kLanguage2] = 0;
        r.bytes[kLanguage3] = 61;  // no such language
        r.Set(NationRecord::Continent, 9999);
        r.Set(NationRecord::CapitalCity, -1);
        r.Set(NationRecord::NationalStadium, -7);
        r.bytes[kSod] = 200;
        r.bytes[kEec] = 0;
        r.bytes[kGImp] = 255;
        r.Set(NationRecord::Reputation, std::int16_t{-3});
        for (std::int32_t i = 0; i < 6; ++i) r.Set(db::I32{kColours + 4 * std::size_t(i)}, i + 1);
        r.Set(NationRecord::RivalNations[0], rival);
        r.Set(NationRecord::RivalNations[1], -1);
        r.Set(NationRecord::RivalNations[2], 9999);
    });
    Open();
    ui::seam::Clear();
    Show("Showland", n);
    ASSERT_EQ(ui::seam::Log().size(), 1u) << "one warning for the continent";
    EXPECT_TRUE(LastText().contains("Continent: continent.dat has no record 9999"))
        << LastText().toStdString();
    ui::seam::Clear();

    const std::pair<const char*, QString> shown[] = {
        {"NationSName", "Showland"},
        {"Nation3LName", "ABCD"},
        {"NationRegion", "11"},
        {"Nation1Lang", "ALBANIAN"},
        {"Nation2Lang", "<empty>"},
        {"Nation3Lang", "61"},
        {"NationContinent", "<missing 9999>"},
        {"NationCCity", "<empty>"},
        {"NationStadium", "<empty>"},
        {"NationSOD", "200"},
        {"NationGImp", "255"},
        {"NationReputation", "-3"},
    };
    for (const auto& [control, text] : shown) EXPECT_EQ(Text(control), text) << control;
    EXPECT_TRUE(Find<QCheckBox>("NationEEC")->isChecked());
    const char* colours[] = {"NationHomeC1", "NationHomeC2", "NationAwayC1",
                             "NationAwayC2", "Nation3C1",    "Nation3C2"};
    for (std::int32_t i = 0; i < 6; ++i) {
        QComboBox* box = Find<QComboBox>(colours[i]);
        EXPECT_EQ(box->count(), summary.colours) << colours[i];
        EXPECT_EQ(box->currentIndex(), i + 1) << colours[i];
        EXPECT_EQ(box->currentText(), Colour(i + 1)) << colours[i];
    }
    EXPECT_EQ(RivalLines(), (QStringList{ShortName(rival), "<empty>", "<empty>"}));

    // Saved untouched, every field keeps its bytes; only the rival outside the file becomes -1.
    const Bytes before = ReadFile(File("nation.dat"));
    Main().StadNameChange();
    SaveData();
    const Bytes after = ReadFile(File("nation.dat"));
    ExpectOnly(before, after, n, {{kRivals + 8, kRivals + 11}});
    EXPECT_EQ(Nation(n).Get(NationRecord::RivalNations[2]), -1);
}

TEST_F(NationPage, SavingEveryNationUnchangedRewritesTheFilesByteForByte) {
    const auto before = Snapshot(dir.Path());
    Open();
    const QStringList lines = Main().ResultModel().Texts();
    ASSERT_EQ(lines.size(), summary.nations);
    for (const QString& line : lines) {
        Find<QRadioButton>("NationRad")->click();
        Choose(line);
        Main().StadNameChange();
        SaveData();
    }
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(NationPage, ASaveOfEveryFieldKeepsTheBytesNoFieldShows) {
    const std::int32_t n = 4;
    Patch(n, [](NationRecord& r) {
        r.Set(NationRecord::ShortName, "Keptland");
        std::memcpy(r.bytes.data() + kThreeLetter, "KPTX", 4);
        for (auto [from, to] : kNotInterpreted)
            for (std::size_t i = from; i <= to; ++i) r.bytes[i] = static_cast<std::uint8_t>(i * 7);
    });
    Open();
    Show("Keptland", n);
    const Bytes before = ReadFile(File("nation.dat"));
    Edit("NationLName")->setText("Long Changed");
    Edit("NationSName")->setText("Changed");
    Edit("Nation3LName")->setText("CH");
    Edit("NationNameNat")->setText("Changish");
    for (const char* f : {"NationSOD", "NationGImp", "NationLStandard", "NationReputation"})
        Edit(f)->setText("7");
    Find<QCheckBox>("NationEEC")->click();
    for (const char* b : {"NationContinentChange", "NationCCityChange", "NationStadiumChange",
                          "Nation1LangChange", "Nation2LangChange", "Nation3LangChange"})
        PickRow(b, 2);
    for (const char* c :
         {"NationHomeC1", "NationHomeC2", "NationAwayC1", "NationAwayC2", "Nation3C1", "Nation3C2"})
        Find<QComboBox>(c)->setCurrentIndex(0);
    for (int line = 0; line < 3; ++line) PickRival(line, line);
    SaveData();
    const Bytes after = ReadFile(File("nation.dat"));
    // Everything but Id, the fourth byte of the three-letter name, Region and the bytes no field
    // names may change.
    ExpectOnly(before, after, n,
               {{4, 54}, {56, 81}, {83, 85}, {87, 116}, {119, 133}, {142, 167}, {272, 283}});
    const NationRecord r = Nation(n);
    EXPECT_EQ(r.Get(NationRecord::ShortName), "Changed");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.bytes.data() + kThreeLetter), 4),
              std::string("CH\0X", 4));
    EXPECT_EQ(r.bytes[kLStandard], 7);
    EXPECT_EQ(r.Get(NationRecord::Reputation), 7);
    EXPECT_EQ(r.Get(NationRecord::ThirdColour2), 0);
    EXPECT_EQ(r.Get(NationRecord::RivalNations[2]), 2);
}

// One change on the page, and the bytes it stores.
struct Change {
    const char* what;
    std::function<void()> edit;
    std::size_t offset;
    std::vector<std::uint8_t> stored;
};

class NationEdits : public NationPage {
  protected:
    void Run(const Change& c, std::int32_t n) {
        c.edit();
        SaveData();
        const NationRecord r = Nation(n);
        EXPECT_EQ(std::vector<std::uint8_t>(
                      r.bytes.begin() + static_cast<long>(c.offset),
                      r.bytes.begin() + static_cast<long>(c.offset + c.stored.size())),
                  c.stored)
            << c.what;
    }
};

TEST_F(NationEdits, EachChangedFieldIsStoredAsItsRuleSays) {
    const std::int32_t n = 2;
    Patch(n, [](NationRecord& r) {
        r.Set(NationRecord::ShortName, "Editland");
        std::memcpy(r.bytes.data() + kThreeLetter, "EDTQ", 4);
        r.bytes[kEec] = 0;
        r.bytes[kLanguage1] = 34;
        r.bytes[kLanguage2] = 8;
        r.bytes[kLanguage3] = 70;
        r.Set(NationRecord::HomeColour1, 3);
    });
    auto set = [this](const char* control, const char* text) {
        return [=, this] { Edit(control)->setText(text); };
    };
    auto type = [this](const char* control, const char* keys) {
        return [=, this] {
            Edit(control)->clear();
            QTest::keyClicks(Edit(control), keys);
            EXPECT_EQ(Edit(control)->text(), QString::fromLatin1(keys).left(3));
        };
    };
    auto click = [this] { Find<QCheckBox>("NationEEC")->click(); };
    // Line 0 of the language list is "<empty>", so line k is language k.
    auto language = [this](const char* button, int number) {
        return [=, this] { PickRow(button, number); };
    };
    auto colour = [this](int index) {
        return [=, this] { Find<QComboBox>("NationHomeC1")->setCurrentIndex(index); };
    };
    const Change changes[] = {
        {"two letters end with a zero, the fourth byte stays",
         set("Nation3LName", "AB"),
         kThreeLetter,
         {'A', 'B', 0, 'Q'}},
        {"three letters", set("Nation3LName", "XYZ"), kThreeLetter, {'X', 'Y', 'Z', 'Q'}},
        {"four letters typed: the fourth is refused",
         type("Nation3LName", "WXYZ"),
         kThreeLetter,
         {'W', 'X', 'Y', 'Q'}},
        {"none", set("Nation3LName", ""), kThreeLetter, {0, 0, 0, 'Q'}},
        {"a box unchecked stores 1", click, kEec, {1}},
        {"checked again, 2", click, kEec, {2}},
        {"SOD", set("NationSOD", "255"), kSod, {255}},
        {"game importance", set("NationGImp", "255"), kGImp, {255}},
        {"league standard", set("NationLStandard", "20"), kLStandard, {20}},
        {"reputation", set("NationReputation", "10000"), kReputation, {0x10, 0x27}},
        {"the first ALBANIAN picked", language("Nation1LangChange", 1), kLanguage1, {1}},
        {"the second ALBANIAN picked", language("Nation1LangChange", 34), kLanguage1, {34}},
        {"<empty> stores 0", language("Nation2LangChange", 0), kLanguage2, {0}},
        {"a picked language over one above 60",
         language("Nation3LangChange", 60),
         kLanguage3,
         {60}},
        {"a colour chosen", colour(5), kColours, {5, 0, 0, 0}},
        {"no colour selected keeps the stored one", colour(-1), kColours, {5, 0, 0, 0}},
    };
    Open();
    Show("Editland", n);
    EXPECT_EQ(Text("Nation3Lang"), "70");
    EXPECT_EQ(Text("Nation3LName"), "EDTQ") << "all four bytes";
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        Run(c, n);
        Show("Editland", n);  // the next change starts from what was stored
    }
    EXPECT_EQ(Text("Nation1Lang"), "ALBANIAN");
    EXPECT_EQ(Text("Nation3LName"), "") << "the text ends at the first zero byte";
}

TEST_F(NationPage, APickIntoEachTargetStoresTheRecordPicked) {
    const std::int32_t n = 1;
    const auto [halberg, secondHalberg] = summary.citiesSharingName;
    const auto [park, secondPark] = summary.stadiumsSharingName;
    Patch(n, [](NationRecord& r) { r.Set(NationRecord::ShortName, "Pickland"); });
    Open();
    Show("Pickland", n);
    struct Target {
        int code;
        const char* button;
        std::function<int()> row;  // the picker's line to choose
        std::size_t offset;
        int width;
        std::int32_t stored;
    };
    // Lines of the place lists follow the record numbers after "<empty>".
    const Target targets[] = {
        {11, "NationCCityChange", [&] { return secondHalberg + 1; }, kCapital, 4, secondHalberg},
        {12, "NationStadiumChange", [&] { return secondPark + 1; }, kStadium, 4, secondPark},
        {13, "NationContinentChange", [] { return 4; }, kContinent, 4, 3},
        {15, "Nation1LangChange", [] { return 8; }, kLanguage1, 1, 8},
        {16, "Nation2LangChange", [] { return 60; }, kLanguage2, 1, 60},
        {17, "Nation3LangChange", [] { return 34; }, kLanguage3, 1, 34},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.button);
        PickRow(t.button, t.row());
        EXPECT_TRUE(Main().RecordChanged());
        SaveData();
        const Bytes b = ReadFile(File("nation.dat"));
        const std::size_t at = static_cast<std::size_t>(n) * NationRecord::kSize + t.offset;
        EXPECT_EQ(t.width == 4 ? GetI32(b, at) : b[at], t.stored);
        // "<empty>" clears the field: -1 for a record, 0 for a language.
        PickRow(t.button, 0);
        SaveData();
        const Bytes c = ReadFile(File("nation.dat"));
        EXPECT_EQ(t.width == 4 ? GetI32(c, at) : c[at], t.width == 4 ? -1 : 0);
    }
    ASSERT_NE(halberg, secondHalberg);
    ASSERT_NE(park, secondPark);

    // Code 14: rival rows are saved in order, "<empty>" between two nations giving -1.
    PickRival(0, 6);
    PickRival(1, -1);
    PickRival(2, 7);
    EXPECT_EQ(RivalLines(), (QStringList{ShortName(6), "<empty>", ShortName(7)}));
    SaveData();
    const NationRecord r = Nation(n);
    EXPECT_EQ(r.Get(NationRecord::RivalNations[0]), 6);
    EXPECT_EQ(r.Get(NationRecord::RivalNations[1]), -1);
    EXPECT_EQ(r.Get(NationRecord::RivalNations[2]), 7);
}

TEST_F(NationPage, AFieldChangedBackAfterASaveIsStoredAgain) {
    // Each control changed, saved, then set back to what the search showed, and saved again.
    const std::int32_t n = 7;
    Patch(n, [](NationRecord& r) {
        r.Set(NationRecord::ShortName, "Backland");
        r.Set(NationRecord::CapitalCity, 2);
        r.bytes[kLanguage1] = 5;
        r.bytes[kEec] = 1;
        r.Set(NationRecord::RivalNations[0], 3);
        r.Set(NationRecord::AwayColour1, 2);
    });
    const NationRecord original = Nation(n);
    Open();
    Show("Backland", n);
    const QString three = Text("Nation3LName");
    auto edits = [&](bool back) {
        Edit("NationSName")->setText(back ? "Backland" : "Elsewhere");
        Edit("NationSOD")->setText(QString::number(back ? original.bytes[kSod] : 0));
        Edit("Nation3LName")->setText(back ? three : "ZZ");
        Find<QCheckBox>("NationEEC")->click();
        PickRow("NationCCityChange", back ? 3 : 5);
        PickRow("Nation1LangChange", back ? 5 : 9);
        Find<QComboBox>("NationAwayC1")->setCurrentIndex(back ? 2 : 0);
        PickRival(0, back ? 3 : 4);
        SaveData();
    };
    edits(false);
    EXPECT_NE(Nation(n), original);
    edits(true);
    EXPECT_EQ(Nation(n), original);
}

TEST_F(NationPage, SearchFindsLongAndShortNamesAndKeepsThePageOnNoMatch) {
    Patch(5, [](NationRecord& r) {
        r.Set(NationRecord::LongName, "Long Searchland");
        r.Set(NationRecord::ShortName, "Searchland");
    });
    Patch(2, [](NationRecord& r) { r.Set(NationRecord::ShortName, "Otherland"); });
    Open();
    EXPECT_FALSE(Find("NationInfoTab")->isEnabled()) << "no nation shown yet";
    Show("Searchland", 5);
    EXPECT_TRUE(Find("NationalTeamInfoTab")->isEnabled());
    Show("Otherland", 2);
    Main().Nations().NationSearch("Long Searchland");
    EXPECT_EQ(Text("NationID"), "5");
    EXPECT_EQ(Main().Nations().NationRec.Get(NationRecord::Id), 5);
    EXPECT_EQ(Main().Nations().LanguageNames.size(), 60u);
    Main().Nations().NationSearch("Nowhere");
    ASSERT_NE(LastAsked(), nullptr);
    EXPECT_EQ(LastAsked()->caption, "No Matches");
    EXPECT_EQ(Text("NationID"), "5");
}

TEST_F(NationPage, AFailedSaveLeavesNationDatByteIdentical) {
    const std::int32_t n = 6;
    Patch(n, [](NationRecord& r) { r.Set(NationRecord::ShortName, "Failland"); });
    Open();
    const QString bad = QStringLiteral("\u4e2d");
    struct Case {
        const char* control;  // "" for the rival list
        QString text;
        QString message;
    };
    auto range = [](const char* caption, int hi) {
        return QStringLiteral("\"%1\": this value must be in the range 0 to %2")
            .arg(QLatin1String(caption))
            .arg(hi);
    };
    const Case cases[] = {
        {"NationSOD", "256", range("State Of Development", 255)},
        {"NationSOD", "12a", "'12a' is not a valid integer value"},
        {"NationGImp", "256", range("Game Importance", 255)},
        {"NationLStandard", "21", range("League Standard", 20)},
        {"NationReputation", "10001", range("Reputation", 10000)},
        {"NationReputation", "-1", range("Reputation", 10000)},
        {"NationCCity", "Atlantis", "Read beyond end of file"},
        {"NationContinent", "Atlantis", "Read beyond end of file"},
        {"NationStadium", "Atlantis", "Read beyond end of file"},
        {"", "Atlantis", "Read beyond end of file"},
        {"Nation3LName", bad,
         "'" + bad + "' holds the character '" + bad + "', which the game's files cannot store."},
        {"NationSName", "A" + bad,
         "'A" + bad + "' holds the character '" + bad + "', which the game's files cannot store."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        if (Main().RecordChanged()) ui::seam::QueueAnswer(Answer::kNo);
        Show("Failland", n);
        ui::seam::Clear();
        const auto before = Snapshot(dir.Path());
        // Every other field changes too, so that a write before the failing step would show.
        Edit("NationLName")->setText("Changed");
        Edit("NationSOD")->setText("1");
        Edit("Nation3LName")->setText("CC");
        Find<QCheckBox>("NationEEC")->click();
        Find<QComboBox>("Nation3C2")->setCurrentIndex(0);
        Rivals()->item(0)->setText("<empty>");
        if (*c.control)
            Edit(c.control)->setText(c.text);
        else
            Rivals()->item(1)->setText(c.text);
        Action("SaveMenu")->trigger();
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_TRUE(LastText().startsWith(c.message)) << LastText().toStdString();
        EXPECT_EQ(Snapshot(dir.Path()), before);
        EXPECT_TRUE(Main().RecordChanged());
    }
}

}  // namespace
}  // namespace vh::test
