#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <cstring>
#include <functional>

#include "database/records/data_def.h"
#include "editor/pages/bindings.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::ClubRecord;
const QString kEmpty = QStringLiteral("<empty>");

class ClubPage : public EditorTest {
  protected:
    ClubRecord Club(std::int32_t n) { return Record<ClubRecord>(n); }
    // Gives club n a short name no other club has, loads, and shows it.
    void OpenAs(std::int32_t n, const char* name) {
        Patch(n, [&](ClubRecord& r) { r.Set(ClubRecord::ShortName, name); });
        Load();
        Action("ClubMenu")->trigger();
        Show(n, name);
    }
    void Show(std::int32_t n, const char* name) {
        Find<QRadioButton>("Clubrad")->click();
        Choose(name);
        ASSERT_EQ(Edit("ClubID")->text(), QString::number(n));
    }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QStringList Lines(const char* list) {
        QStringList out;
        for (int i = 0; i < Find<QListWidget>(list)->count(); ++i)
            out << Find<QListWidget>(list)->item(i)->text();
        return out;
    }
    // The picker's line of a record (0 for none), -1 when it lists no such record.
    int LineOf(const char* button, std::int32_t record) {
        Find<QPushButton>(button)->click();
        for (int i = 0; i < Picker().Model().rowCount(); ++i)
            if (Picker().Model().Record(i).value_or(-1) == std::max(record, -1)) return i;
        return -1;
    }
};

constexpr const char* kColourLists[] = {"ClubHomeCl1", "ClubHomeCl2",  "ClubAwayCl1",
                                        "ClubAwayCl2", "ClubThirdCl1", "ClubThirdCl2"};

TEST_F(ClubPage, EverySavedClubComesBackByteForByteOddValuesIncluded) {
    const std::int32_t odd = summary.clubWithGaps, colourful = summary.clubWithFullPosts;
    Patch(odd, [&](ClubRecord& r) {
        r.Set(ClubRecord::Nation, -7);
        r.Set(ClubRecord::LastPosition, std::uint8_t{17});
        r.Set(ClubRecord::Status, std::uint8_t{0});
        r.Set(ClubRecord::ReserveMatchDay, std::uint8_t{9});
        r.Set(ClubRecord::OwnStadium, std::uint8_t{7});
        r.Set(ClubRecord::Plc, std::uint8_t{33});
        r.Set(ClubRecord::Training, std::uint8_t{200});
        r.Set(ClubRecord::HomeColour1, summary.colours);
        r.Set(ClubRecord::AwayColour2, -3);
        r.Set(ClubRecord::RivalClubs[1], summary.clubsSharingShortName.second);
    });
    Patch(colourful, [](ClubRecord& r) {
        for (int i = 0; i < 6; ++i) r.Set(db::I32{131 + 4 * std::size_t(i)}, 3 * i + 1);
    });
    const auto before = Snapshot(dir.Path());
    Load();
    Action("ClubMenu")->trigger();
    for (const QString& line : Main().ResultModel().Texts()) {
        Find<QRadioButton>("Clubrad")->click();
        Choose(line);
        const std::int32_t id = Edit("ClubID")->text().toInt();
        if (id == colourful) {
            QStringList shown;
            for (int i = 0; i < 6; ++i) {
                EXPECT_EQ(Combo(kColourLists[i])->currentIndex(), 3 * i + 1);
                shown << Combo(kColourLists[i])->currentText();
            }
            EXPECT_EQ(shown.removeDuplicates(), 0);
        } else if (id == odd) {
            EXPECT_EQ(Edit("ClubNation")->text(), kEmpty);
            EXPECT_EQ(Edit("ClubLPosition")->text(), "17");
            EXPECT_TRUE(Edit("ClubLPosition")->isReadOnly());
            EXPECT_EQ(Combo("ClubStatus")->currentIndex(), -1);
            EXPECT_EQ(Combo("Clubmatchday")->currentIndex(), -1);
            EXPECT_EQ(Combo("ClubHomeCl1")->currentIndex(), -1);
            EXPECT_FALSE(Find<QCheckBox>("ClubOwnStadium")->isChecked());
            EXPECT_TRUE(Find<QCheckBox>("ClubPLC")->isChecked());
            EXPECT_FALSE(Find<QCheckBox>("ClubPLC")->isEnabled());
        }
        SaveUnchanged();
    }
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(ClubPage, OwnStadiumIsStoredWithoutLosingAnOddByte) {
    const std::int32_t n = summary.clubWithoutManager;
    struct Case {
        std::uint8_t stored;
        int clicks;
        std::uint8_t saved;
    };
    const Case cases[] = {{0, 0, 0}, {0, 1, 1}, {0, 2, 0},     {1, 1, 0},
                          {7, 1, 0}, {7, 2, 7}, {255, 0, 255}, {255, 1, 0}};
    OpenAs(n, "Landlords");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.stored} << " clicked " << c.clicks);
        Patch(n, [&](ClubRecord& r) { r.Set(ClubRecord::OwnStadium, c.stored); });
        Show(n, "Landlords");
        QCheckBox* own = Find<QCheckBox>("ClubOwnStadium");
        EXPECT_EQ(own->isChecked(), c.stored == 0);
        for (int i = 0; i < c.clicks; ++i) own->click();
        SaveUnchanged();
        EXPECT_EQ(Club(n).Get(ClubRecord::OwnStadium), c.saved);
    }
}

TEST_F(ClubPage, AClubOfNothingShowsEmptyEverywhereAndKeepsIt) {
    const std::int32_t n = summary.clubWithoutSquad;
    Patch(n, [&](ClubRecord& r) {
        for (std::size_t off = 155; off < 483; off += 4) r.Set(db::I32{off}, -1);
        for (std::size_t off : {83, 87, 91, 105, 110}) r.Set(db::I32{off}, -1);
        r.Set(ClubRecord::Status, std::uint8_t{0});
        r.Set(ClubRecord::ReserveMatchDay, std::uint8_t{0});
        // Rivals outside club.dat: the number of clubs, and far above it.
        r.Set(ClubRecord::RivalClubs[0], summary.clubs);
        r.Set(ClubRecord::RivalClubs[2], 1 << 30);
    });
    OpenAs(n, "Nobodies");
    const ClubRecord stored = Club(n);
    EXPECT_TRUE(ui::seam::Log().empty()) << "a rival outside the file is no missing record";
    const std::pair<const char*, int> lists[] = {
        {"ClubPlayerList", 50},  {"ClubCoachList", 5}, {"ClubScoutList", 7}, {"ClubPhysioList", 5},
        {"ClubDirectorList", 3}, {"ClubFavStaff", 3},  {"ClubDisStaff", 3},  {"ClubRivalList", 3},
    };
    for (const auto& [name, rows] : lists)
        EXPECT_EQ(Lines(name), QStringList(rows, kEmpty)) << name;
    for (const char* ref : {"ClubNation", "ClubDivision", "ClubLDivision", "ClubStadium",
                            "ClubRStadium", "ClubChairman", "ClubManager", "ClubAManager"})
        EXPECT_EQ(Edit(ref)->text(), kEmpty) << ref;

    SaveUnchanged();
    ClubRecord expected = stored;
    expected.Set(ClubRecord::RivalClubs[0], -1);
    expected.Set(ClubRecord::RivalClubs[2], -1);
    EXPECT_EQ(Club(n), expected) << "every none kept; rivals outside club.dat saved as -1";

    Combo("ClubStatus")->setCurrentIndex(2);
    Combo("Clubmatchday")->setCurrentIndex(0);
    SaveUnchanged();
    EXPECT_EQ(Club(n).Get(ClubRecord::Status), 3);
    EXPECT_EQ(Club(n).Get(ClubRecord::ReserveMatchDay), 1);
}

TEST_F(ClubPage, APickIntoEachTargetStoresTheRecordPicked) {
    const std::int32_t n = summary.clubWithFullPosts;
    const ClubRecord stored = Club(n);
    OpenAs(n, "Pickers");
    struct Case {
        const char* button;
        const char* list;  // nullptr: a single field
        int row;
        std::size_t offset;
    };
    const Case cases[] = {
        {"ClubNationChange", nullptr, 0, 83},       {"CLubDivisoinChange", nullptr, 0, 87},
        {"ClubLDivisionChnage", nullptr, 0, 91},    {"ClubStadiumChange", nullptr, 0, 105},
        {"ClubRStadiumChange", nullptr, 0, 110},    {"FavStaffChange", "ClubFavStaff", 1, 159},
        {"DisStaffChange", "ClubDisStaff", 2, 175}, {"RivalClubChange", "ClubRivalList", 0, 179},
    };
    // A record, then "<empty>", then each field's first record back: after a save, taking a
    // field back is an edit like any other.
    for (const int pass : {0, 1, 2}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.button << " pass " << pass);
            const std::int32_t first = stored.Get(db::I32{c.offset});
            const int line = pass == 0 ? 3 : pass == 1 ? 0 : LineOf(c.button, first);
            if (line < 0) continue;  // a person of the class the people list does not hold
            const std::int32_t picked = Pick(c.button, line, c.list, c.row);
            EXPECT_EQ(picked, pass == 1 ? -1 : pass == 2 ? first : picked);
            SaveUnchanged();
            EXPECT_EQ(Club(n).Get(db::I32{c.offset}), picked);
        }
    }

    // The second of two clubs named alike, picked, is the one stored; untouched, it stays.
    const std::int32_t second = summary.clubsSharingShortName.second;
    ASSERT_EQ(Pick("RivalClubChange", LineOf("RivalClubChange", second), "ClubRivalList", 1),
              second);
    SaveUnchanged();
    Show(n, "Pickers");
    Edit("ClubCash")->setText("5");
    SaveUnchanged();
    EXPECT_EQ(Club(n).Get(ClubRecord::RivalClubs[1]), second);

    // A favourite is stored as the Id inside its label, whatever the name says.
    Find<QListWidget>("ClubFavStaff")->item(0)->setText("Nobody, Really (42)");
    SaveUnchanged();
    EXPECT_EQ(Club(n).Get(ClubRecord::FavouriteStaff[0]), 42);
    const ClubRecord now = Club(n);
    EXPECT_TRUE(std::equal(now.bytes.begin() + 191, now.bytes.end(), stored.bytes.begin() + 191))
        << "posts, squad and the 98 bytes at the end kept";
}

TEST_F(ClubPage, ColoursWhoseIdentifiersLeaveAGapCannotBeListed) {
    auto colours = [](std::initializer_list<std::int32_t> ids) {
        Bytes b(ids.size() * 58);
        int i = 0;
        for (std::int32_t id : ids) {
            PutI32(b, i * 58, id);
            PutText(b, i * 58 + 4, "Colour " + std::to_string(i));
            ++i;
        }
        return b;
    };
    const std::pair<Bytes, QStringList> cases[] = {
        {colours({0, 1, 2}), {"Colour 0", "Colour 1", "Colour 2"}},
        {colours({0, 1, 0}), {"Colour 2", "Colour 1"}},  // replaced in place, no growth
        {colours({0, 2}), {}},                           // nothing: "Unable to insert a line"
        {colours({1, 0}), {}},
        {colours({0, -1}), {}},
    };
    const std::int32_t other = summary.clubWithoutManager;
    Patch(other, [](ClubRecord& r) { r.Set(ClubRecord::ShortName, "Stripes"); });
    OpenAs(summary.clubWithGaps, "Plain");
    for (const auto& [file, names] : cases) {
        SCOPED_TRACE(names.join(", ").toStdString());
        WriteFile(File("colour.dat"), file);
        try {
            EXPECT_EQ(ui::SetColours(Main().Session().files.colour), names);
            continue;
        } catch (const std::exception& e) {
            EXPECT_TRUE(names.isEmpty());
            EXPECT_STREQ(e.what(), "Unable to insert a line");
        }
        // The show stops before any field changes.
        Find<QRadioButton>("Clubrad")->click();
        Choose("Stripes");
        EXPECT_EQ(LastText(), "Unable to insert a line");
        EXPECT_EQ(Edit("ClubSName")->text(), "Plain");
        EXPECT_EQ(Combo("ClubHomeCl1")->count(), summary.colours);
        ui::seam::Clear();
    }
}

TEST_F(ClubPage, AFailedSaveLeavesClubDatAsItWas) {
    const std::int32_t n = summary.clubWithFullPosts;
    struct Case {
        const char* control;  // a field, or a list whose first line is replaced
        QString text;
        QString message;
    };
    const Case cases[] = {
        {"ClubNation", "Atlantis", "Read beyond end of file"},
        {"ClubLDivision", "Nowhere League", "Read beyond end of file"},
        {"ClubRStadium", "Nowhere Park", "Read beyond end of file"},
        {"ClubRivalList", "Nowhere Rovers", "Read beyond end of file"},
        {"ClubDisStaff", "Nobody", "'Nobody' is not a valid integer value"},
        {"ClubCash", "12a", "'12a' is not a valid integer value"},
        {"ClubMaxAtt", "5000001",
         "\"Maximum Attendance\": this value must be in the range 0 to 5000000"},
        {"ClubSName", QStringLiteral("\u4e2d"), QStringLiteral("'\u4e2d' holds the character")},
    };
    OpenAs(n, "Steady");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        ui::seam::QueueAnswer(ui::Answer::kNo);
        Show(n, "Steady");
        ui::seam::Clear();
        const auto before = Snapshot(dir.Path());
        // Every kind of field changes, so that a write before the failure would show.
        Edit("ClubLName")->setText("Changed");
        Edit("ClubReputation")->setText("1");
        Combo("ClubHomeCl1")->setCurrentIndex(0);
        Find<QCheckBox>("ClubOwnStadium")->click();
        Pick("FavStaffChange", 0, "ClubFavStaff", 0);
        if (auto* list = Main().findChild<QListWidget*>(c.control))
            list->item(0)->setText(c.text);
        else
            Edit(c.control)->setText(c.text);
        Action("SaveMenu")->trigger();
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_TRUE(LastText().startsWith(c.message)) << LastText().toStdString();
        EXPECT_EQ(Snapshot(dir.Path()), before);
        EXPECT_TRUE(Main().RecordChanged());
    }
}

}  // namespace
}  // namespace vh::test
