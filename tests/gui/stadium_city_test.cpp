#include <QClipboard>
#include <QGuiApplication>
#include <limits>
#include <vector>

#include "stadium_city_fixture.h"

namespace vh::test {
namespace {
TEST_F(StadiumCity, SeatingIsClampedToCapacityWhileTheFieldKeepsWhatWasTyped) {
    Rename(1, "Clamp Ground");
    Open("StadiumMenu");
    ShowStadium("Clamp Ground", 1);
    Edit("StadCap")->setText("50000");
    Edit("StadSeat")->setText("60000");
    SaveData();
    EXPECT_EQ(Stadium(1).Get(StadiumRecord::Capacity), 50000);
    EXPECT_EQ(Stadium(1).Get(StadiumRecord::Seating), 50000);
    EXPECT_EQ(Text("StadSeat"), "60000");

    Edit("StadSeat")->setText("49999");
    SaveData();
    EXPECT_EQ(Stadium(1).Get(StadiumRecord::Seating), 49999);
}

TEST_F(StadiumCity, NearbyStadiumIsShownByNameAndEmptySavesMinusOne) {
    ASSERT_EQ(summary.longNameStadium, 7);
    const QString longName = Name(Stadium(7));
    ASSERT_EQ(longName.size(), 51);
    Rename(1, "Neighbour Ground");
    Patch(1, [](StadiumRecord& r) { r.Set(StadiumRecord::NearbyStadium, 7); });
    Open("StadiumMenu");
    ShowStadium("Neighbour Ground", 1);
    EXPECT_EQ(Text("NearbyStad"), longName);
    EXPECT_EQ(Main().Stadiums().StadiumRec.Get(StadiumRecord::Id), 1)
        << "the name was read into a buffer of its own";

    const Bytes before = ReadFile(File("stadium.dat"));
    Pick("Button2", "<empty>");
    EXPECT_EQ(Text("NearbyStad"), "<empty>");
    SaveData();
    const Bytes after = ReadFile(File("stadium.dat"));
    EXPECT_EQ(GetI32(after, 78 + 72), -1);
    ExpectOnly(before, after, 78, {{72, 75}});
    ShowStadium("Neighbour Ground", 1);
    EXPECT_EQ(Text("NearbyStad"), "<empty>");

    // A name two stadiums share saves the lower record number.
    Pick("Button2", "Central Park");
    SaveData();
    EXPECT_EQ(Stadium(1).Get(StadiumRecord::NearbyStadium), summary.stadiumsSharingName.first);
}

TEST_F(StadiumCity, CityReferences) {
    const auto [halberg, secondHalberg] = summary.citiesSharingName;
    Rename(1, "Town Ground");
    Patch(1, [&](StadiumRecord& r) { r.Set(StadiumRecord::City, secondHalberg); });
    Rename(2, "Nowhere Ground");
    Patch(2, [](StadiumRecord& r) { r.Set(StadiumRecord::City, -5); });
    Open("StadiumMenu");
    ShowStadium("Nowhere Ground", 2);
    EXPECT_EQ(Text("StadCity"), "<empty>");
    ShowStadium("Town Ground", 1);
    EXPECT_EQ(Text("StadCity"), "Halberg");
    // Untouched, the second of two cities of one name stays the second; a pick of the first
    // stores the first.
    Edit("StadCap")->setText("123");
    SaveData();
    EXPECT_EQ(Stadium(1).Get(StadiumRecord::City), secondHalberg);
    Pick("StadiumCityChange", "Halberg");
    SaveData();
    EXPECT_EQ(Stadium(1).Get(StadiumRecord::City), halberg);

    // The City page's nation: none, then picked by its short name.
    RenameCity(3, "Placeless");
    Patch(3, [](CityRecord& r) { r.Set(CityRecord::Nation, -1); });
    Action("CityMenu")->trigger();
    ShowCity("Placeless", 3);
    EXPECT_EQ(Text("CityNation"), "<empty>");
    const QString nation = ui::FromCp1252(Nation(4).Get(NationRecord::ShortName));
    Pick("CityNationCHange", nation);
    EXPECT_EQ(Text("CityNation"), nation);
    SaveData();
    EXPECT_EQ(City(3).Get(CityRecord::Nation), 4);
}

TEST_F(StadiumCity, CoordinatesPassThroughFourDecimalPlacesAndAttractionIsOneByte) {
    RenameCity(2, "Gridtown");
    Open("CityMenu");
    // Stored value and its text; the halves are exact in binary and go to the even neighbour.
    const std::pair<double, QString> shown[] = {
        {51.5, "51.5"},
        {-0.25, "-0.25"},
        {3.0, "3"},
        {0.0, "0"},
        {1.03125, "1.0312"},
        {1.09375, "1.0938"},
        {-1.03125, "-1.0312"},
        {12.345678, "12.3457"},
        {-179.99999, "-180"},
    };
    const std::size_t n = std::size(shown);
    for (std::size_t i = 0; i < n; ++i) {
        const auto& lat = shown[i];
        const auto& lon = shown[(i + 1) % n];  // a different value, so that a swap shows
        Patch(2, [&](CityRecord& r) {
            r.Set(CityRecord::Latitude, lat.first);
            r.Set(CityRecord::Longitude, lon.first);
        });
        ShowCity("Gridtown", 2);
        EXPECT_EQ(Text("CityLatitude"), Local(lat.second));
        EXPECT_EQ(Text("CityLongditude"), Local(lon.second));
    }

    // Typed text -> stored value -> the text the next search shows.
    struct Typed {
        const char* text;
        double stored;
        const char* shownAgain;
    };
    const Typed typed[] = {
        {"51.50000", 51.5, "51.5"},
        {" -0.25 ", -0.25, "-0.25"},
        {"7", 7.0, "7"},
        {"2.00005", 2.0, "2"},
        {"2.00015", 2.0002, "2.0002"},
        {"-12.3456789", -12.3457, "-12.3457"},
    };
    for (const Typed& t : typed) {
        Edit("CityLatitude")->setText(t.text);
        Edit("CityLongditude")->setText("-0.0001");
        Edit("CityAttraction")->setText("20");
        SaveData();
        EXPECT_EQ(City(2).Get(CityRecord::Latitude), t.stored) << t.text;
        EXPECT_EQ(City(2).Get(CityRecord::Longitude), -0.0001);
        EXPECT_EQ(City(2).bytes[51], 20);
        ShowCity("Gridtown", 2);
        EXPECT_EQ(Text("CityLatitude"), Local(t.shownAgain));
        EXPECT_EQ(Text("CityLongditude"), Local("-0.0001"));
        EXPECT_EQ(Text("CityAttraction"), "20");
    }
}

TEST_F(StadiumCity, ASaveKeepsTheBytesThePageDoesNotShowAndWritesChangedFlagsAsOneOrZero) {
    Rename(1, "Kept Ground");
    Patch(1, [](StadiumRecord& r) {
        r.bytes[55] = 0xA5;
        for (std::size_t i = 68; i < 72; ++i) r.bytes[i] = static_cast<std::uint8_t>(0xF0 + i);
        r.bytes[76] = 2;     // covered
        r.bytes[77] = 0x80;  // under-soil heating
    });
    RenameCity(5, "Keptville");
    Patch(5, [](CityRecord& r) {
        r.bytes[30] = 0x5A;
        for (std::size_t i = 52; i < 56; ++i) r.bytes[i] = static_cast<std::uint8_t>(0xC0 + i);
    });
    Open("StadiumMenu");
    ShowStadium("Kept Ground", 1);
    EXPECT_TRUE(Find<QCheckBox>("Covered")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("Undersoil")->isChecked());
    Bytes before = ReadFile(File("stadium.dat"));
    Edit("StadName")->setText("Kept Ground Two");
    Edit("StadCap")->setText("1234");
    Edit("StadSeat")->setText("1000");
    Pick("StadiumCityChange", "<empty>");
    Pick("Button2", "<empty>");
    Find<QCheckBox>("Undersoil")->click();
    SaveData();
    Bytes after = ReadFile(File("stadium.dat"));
    ExpectOnly(before, after, 78, {{4, 54}, {56, 67}, {72, 77}});
    const StadiumRecord s = Stadium(1);
    EXPECT_EQ(Name(s), "Kept Ground Two");
    EXPECT_EQ(s.Get(StadiumRecord::Capacity), 1234);
    EXPECT_EQ(s.Get(StadiumRecord::Seating), 1000);
    EXPECT_EQ(s.Get(StadiumRecord::City), -1);
    EXPECT_EQ(s.Get(StadiumRecord::NearbyStadium), -1);
    EXPECT_EQ(s.bytes[76], 2) << "an untouched flag keeps its stored byte";
    EXPECT_EQ(s.bytes[77], 0);

    Action("CityMenu")->trigger();
    ShowCity("Keptville", 5);
    before = ReadFile(File("city.dat"));
    Edit("CityName")->setText("Kept Town");
    Pick("CityNationCHange", "<empty>");
    Edit("CityLatitude")->setText("10");
    Edit("CityLongditude")->setText("-10");
    Edit("CityAttraction")->setText("0");
    SaveData();
    after = ReadFile(File("city.dat"));
    ExpectOnly(before, after, 5 * 56, {{4, 29}, {31, 51}});
    const CityRecord c = City(5);
    EXPECT_EQ(Name(c), "Kept Town");
    EXPECT_EQ(c.Get(CityRecord::Nation), -1);
    EXPECT_EQ(c.Get(CityRecord::Latitude), 10.0);
    EXPECT_EQ(c.Get(CityRecord::Longitude), -10.0);
    EXPECT_EQ(c.bytes[51], 0);
}

TEST_F(StadiumCity, ACityNameLongerThanItsFieldIsNeverWrittenPastIt) {
    RenameCity(4, "Shortville");
    Open("CityMenu");
    ShowCity("Shortville", 4);
    QLineEdit* name = Edit("CityName");
    EXPECT_EQ(name->maxLength(), 26);
    EXPECT_EQ(Edit("StadName")->maxLength(), 51);
    const QString pasted = QStringLiteral("Llanfairpwllgwyngyllgogerychwyrndrobwll");
    QGuiApplication::clipboard()->setText(pasted);
    name->selectAll();
    name->paste();
    EXPECT_EQ(name->text(), pasted.left(26));
    const Bytes before = ReadFile(File("city.dat"));
    SaveData();
    const Bytes after = ReadFile(File("city.dat"));
    ExpectOnly(before, after, 4 * 56, {{4, 29}});
    EXPECT_EQ(std::string(after.begin() + 4 * 56 + 4, after.begin() + 4 * 56 + 30),
              pasted.left(26).toStdString());
}

TEST_F(StadiumCity, SavingAnUnchangedRecordRewritesItByteForByte) {
    // Every stadium and city saved without an edit, with the values a save used to rewrite:
    // references to the second of two records of one name, flag bytes of 2, coordinates that do
    // not pass through four decimals (-0.0, NaN, infinities, more decimals, beyond the decimal's
    // range), and an attraction outside its field's range.
    const std::int32_t secondHalberg = summary.citiesSharingName.second;
    const std::int32_t secondPark = summary.stadiumsSharingName.second;
    Patch(1, [&](StadiumRecord& r) {
        r.Set(StadiumRecord::City, secondHalberg);
        r.Set(StadiumRecord::NearbyStadium, secondPark);
        r.bytes[76] = 2;
        r.bytes[77] = 0xFF;
    });
    const double odd[] = {-0.0,
                          std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          1.03125,
                          900000000000.5,
                          -1e300,
                          std::numeric_limits<double>::denorm_min()};
    for (std::size_t i = 0; i < std::size(odd); ++i)
        Patch(static_cast<std::int32_t>(i), [&](CityRecord& r) {
            r.Set(CityRecord::Latitude, odd[i]);
            r.Set(CityRecord::Longitude, odd[(i + 3) % std::size(odd)]);
            r.bytes[51] = static_cast<std::uint8_t>(21 + i);  // above 0..20
        });
    const auto before = Snapshot(dir.Path());
    const QString longName = Name(Stadium(summary.longNameStadium));
    Open("StadiumMenu");
    for (const QString& line : Main().ResultModel().Texts()) {
        Search("Stadrad", line);
        Main().StadNameChange();
        SaveData();
    }
    ShowStadium(longName, summary.longNameStadium);
    EXPECT_EQ(Text("StadName"), longName) << "51 characters with no terminator, whole";
    Action("CityMenu")->trigger();
    for (const QString& line : Main().ResultModel().Texts()) {
        Search("CityRad", line);
        Main().StadNameChange();
        SaveData();
    }
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(StadiumCity, NameSearchesFindTheFirstMatchAndTheLastRecord) {
    Rename(summary.stadiums - 1, "Last Ground");
    RenameCity(summary.cities - 1, "Lastville");
    Open("StadiumMenu");
    ShowStadium("Central Park", summary.stadiumsSharingName.first);
    ShowStadium("Last Ground", summary.stadiums - 1);
    EXPECT_EQ(Text("StadName"), "Last Ground");
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    // The whole name or nothing: neither a shorter nor a longer text finds it.
    for (const char* near : {"Last Groun", "Last Grounds", "Last Ground\u0001"})
        EXPECT_EQ(ui::FindByName(Main().Session().files.stadium, StadiumRecord::kSize,
                                 QString::fromLatin1(near), {StadiumRecord::Name}),
                  std::nullopt)
            << near;
    Action("CityMenu")->trigger();
    ShowCity("Halberg", summary.citiesSharingName.first);
    ShowCity("Lastville", summary.cities - 1);
    EXPECT_EQ(Text("CityName"), "Lastville");
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
}

TEST_F(StadiumCity, StadiumOfAClub) {
    const std::int32_t athletic = summary.clubsSharingShortName.first;
    const std::int32_t home = Club(athletic).Get(db::ClubRecord::Stadium);
    ASSERT_GE(home, 0);
    db::ClubRecord homeless = Club(summary.clubWithoutStadium);
    ASSERT_EQ(homeless.Get(db::ClubRecord::Stadium), -1);
    homeless.Set(db::ClubRecord::ShortName, "Homeless Rovers");
    Patch(summary.clubWithoutStadium, [&](db::ClubRecord& r) { r = homeless; });
    Open("StadiumMenu");
    Search("Clubrad", "Athletic");
    EXPECT_EQ(Text("StadId"), QString::number(home)) << "the first of two clubs with one name";
    EXPECT_EQ(Text("StadName"), Name(Stadium(home)));
    EXPECT_TRUE(ui::seam::Log().empty());
    Search("Clubrad", "Homeless Rovers");
    ExpectNoMatches();
    EXPECT_EQ(Text("StadId"), QString::number(home)) << "the page keeps what it showed";
}

TEST_F(StadiumCity, StadiumOfANation) {
    auto national = [this](std::int32_t n) { return Nation(n).Get(NationRecord::NationalStadium); };
    auto shortName = [this](std::int32_t n) {
        return ui::FromCp1252(Nation(n).Get(NationRecord::ShortName));
    };
    const std::int32_t withStadium = 2, withLongName = 4, withoutStadium = 6;
    ASSERT_GE(national(withStadium), 0);
    ASSERT_NE(national(withLongName), national(withStadium));
    ASSERT_EQ(national(withoutStadium), -1);
    // A stadium named like a nation's long name makes that name the search text.
    const std::string longName = Nation(withLongName).Get(NationRecord::LongName);
    Rename(10, longName.c_str());
    Open("StadiumMenu");

    Search("NationRad", shortName(withStadium));
    EXPECT_EQ(Text("StadId"), QString::number(national(withStadium)));
    EXPECT_TRUE(ui::seam::Log().empty());
    Search("NationRad", shortName(withoutStadium));
    ExpectNoMatches();
    EXPECT_EQ(Text("StadId"), QString::number(national(withStadium)));

    ShowStadium(ui::FromCp1252(longName), 10);
    Find<QRadioButton>("NationRad")->click();
    Find<QPushButton>("SearchButton")->click();
    EXPECT_EQ(Text("StadId"), QString::number(national(withLongName)));

    // No nation is called after a stadium.
    ShowStadium("Central Park", summary.stadiumsSharingName.first);
    Find<QRadioButton>("NationRad")->click();
    Find<QPushButton>("SearchButton")->click();
    ExpectNoMatches();
    EXPECT_EQ(Text("StadId"), QString::number(summary.stadiumsSharingName.first));
}

TEST_F(StadiumCity, ARecordThatCannotBeShownLeavesThePageWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows renames no file the editor holds open: a loaded file cannot go";
#endif
    // Half a page of the new record over the old one would be saved into the old record. A file
    // that a show needs and that has gone since the load stops the show before any field
    // changes.
    Rename(1, "Good Ground");
    Rename(2, "Other Ground");
    RenameCity(1, "Goodville");
    RenameCity(2, "Otherville");
    auto page = [this](const char* panel) {
        QStringList state;
        for (const QLineEdit* e : Find(panel)->findChildren<QLineEdit*>()) state << e->text();
        for (const QCheckBox* c : Find(panel)->findChildren<QCheckBox*>())
            state << QString::number(c->isChecked());
        return state.join(" | ");
    };
    struct Case {
        const char* menu;
        const char* radio;
        const char* panel;
        const char* good;
        const char* other;
        const char* gone;  // the file the show of `other` reads for a reference
    };
    const Case cases[] = {
        {"StadiumMenu", "Stadrad", "StadiumPanel", "Good Ground", "Other Ground", "city.dat"},
        {"CityMenu", "CityRad", "CityPanel", "Goodville", "Otherville", "nation.dat"},
    };
    Load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu);
        Action(c.menu)->trigger();
        Search(c.radio, c.good);
        const QString before = page(c.panel);
        ui::seam::Clear();
        std::filesystem::rename(File(c.gone), dir.Path() / "moved.dat");
        Search(c.radio, c.other);
        std::filesystem::rename(dir.Path() / "moved.dat", File(c.gone));
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_EQ(LastAsked()->caption, ui::ApplicationTitle());
        EXPECT_TRUE(LastText().startsWith("File not found")) << LastText().toStdString();
        EXPECT_EQ(page(c.panel), before);
        EXPECT_FALSE(Main().RecordChanged());
    }
}

TEST_F(StadiumCity, AFailedSaveChangesNoFileAndKeepsTheRecordMarkedChanged) {
    Rename(1, "Solid Ground");
    RenameCity(1, "Steadyville");
    Load();
    struct Case {
        const char* menu;
        const char* control;
        QString text;
        QString message;
    };
    const QString bad = QStringLiteral("Stade \u4e2d");
    // A name that no record has: the lookup reads past the last record of the file it names.
    auto beyond = [](const char* file, int records) {
        return QStringLiteral("Read beyond end of file\n%1, record %2").arg(file).arg(records);
    };
    const Case cases[] = {
        {"StadiumMenu", "StadCity", "Atlantis", beyond("city.dat", summary.cities)},
        {"StadiumMenu", "NearbyStad", "Nowhere Park", beyond("stadium.dat", summary.stadiums)},
        {"StadiumMenu", "StadSeat", "12a", "'12a' is not a valid integer value"},
        {"StadiumMenu", "StadName", bad,
         "'" + bad + "' holds the character '\u4e2d', which the game's files cannot store."},
        {"CityMenu", "CityNation", "Atlantis", beyond("nation.dat", summary.nations)},
        {"CityMenu", "CityLatitude", "abc", "'abc' is not a valid floating point value"},
        {"CityMenu", "CityLongditude", "1.2.3", "'1.2.3' is not a valid floating point value"},
        {"CityMenu", "CityAttraction", "12a", "'12a' is not a valid integer value"},
        // Saved from the menu the focus never left the field: the save checks the range itself.
        {"CityMenu", "CityAttraction", "300",
         "\"Attraction\": this value must be in the range 0 to 20"},
        {"StadiumMenu", "StadCap", "-5",
         "\"Capacity\": this value must be in the range 0 to 500000"},
        {"CityMenu", "CityName", QStringLiteral("\u0141\u00f3d\u017a"),
         QStringLiteral("'\u0141\u00f3d\u017a' holds the character '\u0141', which the game's "
                        "files cannot store.")},
    };
    // Every other field changes too, so that a write made before the failing step would show.
    using Edits = std::vector<std::pair<const char*, const char*>>;
    const Edits stadiumEdits = {{"StadName", "Changed Ground"},
                                {"StadCap", "1"},
                                {"StadSeat", "1"},
                                {"StadCity", "<empty>"},
                                {"NearbyStad", "<empty>"}};
    const Edits cityEdits = {{"CityName", "Changedville"},
                             {"CityNation", "<empty>"},
                             {"CityLatitude", "1"},
                             {"CityLongditude", "1"},
                             {"CityAttraction", "1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        if (Main().RecordChanged())
            ui::seam::QueueAnswer(Answer::kNo);  // drop the last case's change
        Action(c.menu)->trigger();
        const bool stadium = std::string_view(c.menu) == "StadiumMenu";
        if (stadium)
            ShowStadium("Solid Ground", 1);
        else
            ShowCity("Steadyville", 1);
        ui::seam::Clear();
        const auto before = Snapshot(dir.Path());
        for (const auto& [control, text] : stadium ? stadiumEdits : cityEdits)
            Edit(control)->setText(text);
        if (stadium) Find<QCheckBox>("Covered")->click();
        Edit(c.control)->setText(c.text);
        Action("SaveMenu")->trigger();
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_EQ(LastAsked()->caption, ui::ApplicationTitle());
        EXPECT_EQ(LastText(), c.message);
        EXPECT_EQ(Snapshot(dir.Path()), before);
        EXPECT_TRUE(Find<QPushButton>("Save")->isEnabled());
        EXPECT_TRUE(Action("SaveMenu")->isEnabled());
    }
}

}  // namespace
}  // namespace vh::test
