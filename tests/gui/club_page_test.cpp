#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <cstring>
#include <functional>
#include <vector>

#include "database/data_def.h"
#include "database/person.h"
#include "database/squad.h"
#include "dialogs/qtext.h"
#include "editor/bindings.h"
#include "editor/club_page.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::ClubRecord;
using ui::Answer;

const QString kEmpty = QStringLiteral("<empty>");

class ClubPage : public EditorTest {
  protected:
    ClubRecord Club(std::int32_t n) {
        const Bytes b = ReadFile(File("club.dat"));
        ClubRecord r;
        std::memcpy(r.bytes.data(), b.data() + static_cast<std::size_t>(n) * ClubRecord::kSize,
                    ClubRecord::kSize);
        return r;
    }
    void Patch(std::int32_t n, const std::function<void(ClubRecord&)>& f) {
        ClubRecord r = Club(n);
        f(r);
        Bytes b = ReadFile(File("club.dat"));
        std::memcpy(b.data() + static_cast<std::size_t>(n) * ClubRecord::kSize, r.bytes.data(),
                    ClubRecord::kSize);
        WriteFile(File("club.dat"), b);
    }
    // The tests search for clubs renamed to short names no other club has.
    void Rename(std::int32_t n, const char* shortName) {
        Patch(n, [&](ClubRecord& r) { r.Set(ClubRecord::ShortName, shortName); });
    }
    void Open() {
        Load();
        Action("ClubMenu")->trigger();
    }
    void ShowClub(const QString& name, std::int32_t expected) {
        Find<QRadioButton>("Clubrad")->click();
        Choose(name);
        ASSERT_EQ(Edit("ClubID")->text(), QString::number(expected));
    }
    QListWidget* List(const char* name) { return Find<QListWidget>(name); }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QStringList Lines(const char* list) {
        QStringList out;
        for (int i = 0; i < List(list)->count(); ++i) out << List(list)->item(i)->text();
        return out;
    }
    // Presses a Change button (after selecting line `row` of a target list) and double-clicks
    // line `line` of the picker; returns the record behind that line.
    std::int32_t Pick(const char* button, int line, const char* list = nullptr, int row = -1) {
        if (list) List(list)->setCurrentRow(row);
        Find<QPushButton>(button)->click();
        EXPECT_TRUE(Picker().isVisible());
        const std::int32_t record = Picker().Model().Record(line).value_or(-1);
        Picker().ChangeListBox()->setCurrentIndex(Picker().Model().index(line));
        Picker().ChangeListBoxDblClick();
        return record;
    }
    int PickerLine(const char* button, const QString& text, bool last = false) {
        Find<QPushButton>(button)->click();
        const QStringList lines = Picker().Model().Texts();
        Picker().close();
        return static_cast<int>(last ? lines.lastIndexOf(text) : lines.indexOf(text));
    }
    void SaveData() {
        ASSERT_TRUE(Main().RecordChanged());
        Find<QPushButton>("Save")->click();
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        EXPECT_FALSE(Main().RecordChanged());
    }
    QString PersonLabel(std::int32_t person) {
        db::Session& s = Main().Session();
        return ui::FromCp1252(db::GetStaffName(person, s.files.staff, s.names));
    }
    QString ClubName(std::int32_t n) { return ui::FromCp1252(Club(n).Get(ClubRecord::ShortName)); }
    QString ColourName(std::int32_t n) {
        const Bytes b = ReadFile(File("colour.dat"));
        return QString::fromLatin1(reinterpret_cast<const char*>(b.data() + n * 58 + 4));
    }
};

// Bytes of the file outside [from, to] of record n are unchanged.
void ExpectOnly(const Bytes& before, const Bytes& after, std::int32_t n,
                std::initializer_list<std::pair<std::size_t, std::size_t>> changed) {
    ASSERT_EQ(before.size(), after.size());
    const std::size_t start = static_cast<std::size_t>(n) * ClubRecord::kSize;
    for (std::size_t i = 0; i < before.size(); ++i) {
        bool allowed = false;
        for (auto [from, to] : changed) allowed |= i >= start + from && i <= start + to;
        if (!allowed && before[i] != after[i]) {
            ADD_FAILURE() << "byte " << i << " of club.dat changed (record offset "
                          << static_cast<long long>(i) - static_cast<long long>(start) << ")";
            return;
        }
    }
}

TEST_F(ClubPage, EverySavedClubComesBackByteForByteOddValuesIncluded) {
    const std::int32_t athletic2 = summary.clubsSharingShortName.second;
    // Values the page cannot show as they are, and a reference to the second of two clubs named
    // alike: a save without edits must keep every one.
    Patch(summary.clubWithGaps, [&](ClubRecord& r) {
        r.Set(ClubRecord::Nation, -7);
        r.Set(ClubRecord::LastPosition, std::uint8_t{17});
        r.Set(ClubRecord::Status, std::uint8_t{0});
        r.Set(ClubRecord::ReserveMatchDay, std::uint8_t{9});
        r.Set(ClubRecord::OwnStadium, std::uint8_t{7});
        r.Set(ClubRecord::Plc, std::uint8_t{33});
        r.Set(ClubRecord::Reputation, std::int16_t{-2});
        r.Set(ClubRecord::Training, std::uint8_t{200});
        r.Set(ClubRecord::HomeColour1, summary.colours);
        r.Set(ClubRecord::AwayColour2, -3);
        r.Set(ClubRecord::RivalClubs[1], athletic2);
        r.Set(ClubRecord::FavouriteStaff[2], -9);
    });
    // Six different colours, each in its own list.
    Patch(summary.clubWithFullPosts, [](ClubRecord& r) {
        const db::I32 fields[] = {ClubRecord::HomeColour1,  ClubRecord::HomeColour2,
                                  ClubRecord::AwayColour1,  ClubRecord::AwayColour2,
                                  ClubRecord::ThirdColour1, ClubRecord::ThirdColour2};
        for (int i = 0; i < 6; ++i) r.Set(fields[i], 3 * i + 1);
    });
    const auto before = Snapshot(dir.Path());
    Open();
    int shown = 0;
    for (const QString& line : Main().ResultModel().Texts()) {
        Find<QRadioButton>("Clubrad")->click();
        Choose(line);
        ASSERT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        const std::int32_t id = Edit("ClubID")->text().toInt();
        if (id == summary.clubWithFullPosts) {
            const char* lists[] = {"ClubHomeCl1", "ClubHomeCl2",  "ClubAwayCl1",
                                   "ClubAwayCl2", "ClubThirdCl1", "ClubThirdCl2"};
            for (int i = 0; i < 6; ++i) {
                EXPECT_EQ(Combo(lists[i])->count(), summary.colours);
                EXPECT_EQ(Combo(lists[i])->currentIndex(), 3 * i + 1);
                EXPECT_EQ(Combo(lists[i])->currentText(), ColourName(3 * i + 1));
            }
        }
        if (id == summary.clubWithGaps) {
            EXPECT_EQ(Edit("ClubNation")->text(), kEmpty);
            EXPECT_EQ(Edit("ClubLPosition")->text(), "17");
            EXPECT_TRUE(Edit("ClubLPosition")->isReadOnly());
            EXPECT_EQ(Combo("ClubStatus")->currentIndex(), -1);
            EXPECT_EQ(Combo("Clubmatchday")->currentIndex(), -1);
            EXPECT_EQ(Combo("ClubHomeCl1")->currentIndex(), -1);
            EXPECT_FALSE(Find<QCheckBox>("ClubOwnStadium")->isChecked());
            EXPECT_TRUE(Find<QCheckBox>("ClubPLC")->isChecked());
            EXPECT_FALSE(Find<QCheckBox>("ClubPLC")->isEnabled());
            EXPECT_EQ(Lines("ClubRivalList")[1], "Athletic");
        }
        Main().StadNameChange();
        SaveData();
        ++shown;
    }
    EXPECT_EQ(shown, summary.clubs);
    EXPECT_EQ(Snapshot(dir.Path()), before);
}

TEST_F(ClubPage, EditsAreStoredAndEveryOtherByteStays) {
    const std::int32_t n = summary.clubWithFullPosts;
    Rename(n, "Edited Town");
    Patch(n, [](ClubRecord& r) {
        r.Set(ClubRecord::Status, std::uint8_t{0});
        r.Set(ClubRecord::ReserveMatchDay, std::uint8_t{0});
        r.Set(ClubRecord::Plc, std::uint8_t{100});
        r.Set(ClubRecord::LastPosition, std::uint8_t{4});
    });
    Open();
    ShowClub("Edited Town", n);
    const Bytes before = ReadFile(File("club.dat"));
    Edit("ClubLName")->setText("Edited Town Association");
    Edit("ClubSName")->setText("Edited");
    Edit("ClubCash")->setText("50000000");
    Edit("ClubReputation")->setText("10000");
    Edit("ClubTraining")->setText("20");
    Edit("ClubAvgAtt")->setText("5000000");
    Edit("ClubMinAtt")->setText("0");
    Edit("ClubMaxAtt")->setText("4999999");
    Combo("ClubStatus")->setCurrentIndex(2);
    Combo("ClubAwayCl2")->setCurrentIndex(summary.colours - 1);
    SaveData();
    const Bytes after = ReadFile(File("club.dat"));
    ExpectOnly(before, after, n, {{4, 81}, {100, 108}, {115, 129}, {143, 146}});
    const ClubRecord c = Club(n);
    EXPECT_EQ(c.Get(ClubRecord::LongName), "Edited Town Association");
    EXPECT_EQ(c.Get(ClubRecord::ShortName), "Edited");
    EXPECT_EQ(c.Get(ClubRecord::Cash), 50000000);
    EXPECT_EQ(c.Get(ClubRecord::Reputation), 10000);
    EXPECT_EQ(c.Get(ClubRecord::Training), 20);
    EXPECT_EQ(c.Get(ClubRecord::AverageAttendance), 5000000);
    EXPECT_EQ(c.Get(ClubRecord::MinimumAttendance), 0);
    EXPECT_EQ(c.Get(ClubRecord::MaximumAttendance), 4999999);
    EXPECT_EQ(c.Get(ClubRecord::Status), 3);
    EXPECT_EQ(c.Get(ClubRecord::ReserveMatchDay), 0) << "no day chosen: the stored 0 stays";
    EXPECT_EQ(c.Get(ClubRecord::AwayColour2), summary.colours - 1);
    EXPECT_EQ(c.Get(ClubRecord::Plc), 100);
    EXPECT_EQ(c.Get(ClubRecord::LastPosition), 4);

    Combo("Clubmatchday")->setCurrentIndex(6);
    Combo("ClubStatus")->setCurrentIndex(0);
    SaveData();
    EXPECT_EQ(Club(n).Get(ClubRecord::ReserveMatchDay), 7);
    EXPECT_EQ(Club(n).Get(ClubRecord::Status), 1);
}

TEST_F(ClubPage, OwnStadiumIsStoredWithoutLosingAnOddByte) {
    const std::int32_t n = summary.clubWithoutManager;
    Rename(n, "Landlords");
    struct Case {
        std::uint8_t stored;
        bool shownChecked;
        int clicks;
        std::uint8_t saved;
    };
    const Case cases[] = {
        {0, true, 0, 0},  {0, true, 1, 1},  {0, true, 2, 0},      {1, false, 1, 0},
        {7, false, 1, 0}, {7, false, 2, 7}, {255, false, 0, 255},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.stored} << " clicked " << c.clicks);
        Patch(n, [&](ClubRecord& r) { r.Set(ClubRecord::OwnStadium, c.stored); });
        ShowClub("Landlords", n);
        QCheckBox* own = Find<QCheckBox>("ClubOwnStadium");
        EXPECT_EQ(own->isChecked(), c.shownChecked);
        for (int i = 0; i < c.clicks; ++i) own->click();
        Main().StadNameChange();
        SaveData();
        EXPECT_EQ(Club(n).Get(ClubRecord::OwnStadium), c.saved);
    }
}

TEST_F(ClubPage, AClubOfNothingShowsEmptyEverywhereAndKeepsIt) {
    const std::int32_t n = summary.clubWithoutSquad;
    Rename(n, "Nobodies");
    Patch(n, [&](ClubRecord& r) {
        for (std::size_t off = 83; off < 483; off += 4)
            if (off != 95 && off != 99) r.Set(db::I32{off}, -1);
        r.Set(ClubRecord::Status, std::uint8_t{0});
        r.Set(ClubRecord::ReserveMatchDay, std::uint8_t{0});
        // Out of club.dat: a rival equal to the number of clubs, and one far above it.
        r.Set(ClubRecord::RivalClubs[0], summary.clubs);
        r.Set(ClubRecord::RivalClubs[2], 1 << 30);
    });
    Patch(n, [&](ClubRecord& r) {  // the loop above ran over byte fields too
        r.Set(ClubRecord::Cash, 0);
        r.Set(ClubRecord::Reputation, std::int16_t{0});
    });
    const ClubRecord stored = Club(n);
    Open();
    ShowClub("Nobodies", n);
    EXPECT_TRUE(ui::seam::Log().empty()) << "a rival outside the file is no missing record";
    const std::pair<const char*, int> lists[] = {
        {"ClubPlayerList", 50},  {"ClubCoachList", 5}, {"ClubScoutList", 7}, {"ClubPhysioList", 5},
        {"ClubDirectorList", 3}, {"ClubFavStaff", 3},  {"ClubDisStaff", 3},  {"ClubRivalList", 3},
    };
    for (const auto& [name, rows] : lists) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Lines(name), QStringList(rows, kEmpty));
    }
    for (const char* ref : {"ClubNation", "ClubDivision", "ClubLDivision", "ClubStadium",
                            "ClubRStadium", "ClubChairman", "ClubManager", "ClubAManager"})
        EXPECT_EQ(Edit(ref)->text(), kEmpty) << ref;

    Edit("ClubCash")->setText("1");
    SaveData();
    ClubRecord expected = stored;
    expected.Set(ClubRecord::Cash, 1);
    expected.Set(ClubRecord::RivalClubs[0], -1);
    expected.Set(ClubRecord::RivalClubs[2], -1);
    EXPECT_EQ(Club(n), expected) << "every none kept; rivals outside club.dat saved as -1";
}

TEST_F(ClubPage, StaffPostsAndSquadAreShownInSlotOrderAndNeverWritten) {
    const std::int32_t n = summary.clubWithGaps;
    Rename(n, "Gappy");
    Open();
    ShowClub("Gappy", n);
    const ClubRecord c = Club(n);
    auto expected = [&](std::span<const db::I32> fields) {
        QStringList out;
        for (const db::I32& s : fields) {
            const std::int32_t id = c.Get(s);
            out << (id < 0 ? kEmpty : PersonLabel(id));
        }
        return out;
    };
    const std::pair<db::Post, const char*> posts[] = {
        {db::Post::kDirectors, "ClubDirectorList"},
        {db::Post::kCoaches, "ClubCoachList"},
        {db::Post::kScouts, "ClubScoutList"},
        {db::Post::kPhysios, "ClubPhysioList"},
    };
    for (const auto& [post, list] : posts) EXPECT_EQ(Lines(list), expected(db::PostSlots(post)));
    EXPECT_EQ(QStringList(Edit("ClubChairman")->text()),
              expected(db::PostSlots(db::Post::kChairman)));
    EXPECT_EQ(QStringList(Edit("ClubManager")->text()),
              expected(db::PostSlots(db::Post::kManager)));
    std::vector<db::I32> squad;
    for (std::size_t i = 0; i < 50; ++i) squad.push_back(ClubRecord::Players[i]);
    EXPECT_EQ(Lines("ClubPlayerList"), expected(squad));
    EXPECT_TRUE(Lines("ClubPlayerList").contains(kEmpty)) << "gaps between players";

    // Lines edited behind the page's back are still never written.
    const Bytes before = ReadFile(File("club.dat"));
    List("ClubPlayerList")->item(0)->setText("Someone, Else (1)");
    List("ClubDirectorList")->item(1)->setText("Someone, Else (1)");
    Edit("ClubCash")->setText("77");
    SaveData();
    ExpectOnly(before, ReadFile(File("club.dat")), n, {{101, 104}});
}

TEST_F(ClubPage, APickIntoEachTargetStoresTheRecordPicked) {
    const std::int32_t n = summary.clubWithFullPosts;
    Rename(n, "Pickers");
    Open();
    ShowClub("Pickers", n);
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
    for (const int line : {3, 0}) {  // a record, then "<empty>"
        std::vector<std::int32_t> picked;
        for (const Case& c : cases) picked.push_back(Pick(c.button, line, c.list, c.row));
        SaveData();
        const Bytes after = ReadFile(File("club.dat"));
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            SCOPED_TRACE(cases[i].button);
            EXPECT_EQ(picked[i], line == 0 ? -1 : picked[i]);
            EXPECT_EQ(GetI32(after, n * ClubRecord::kSize + cases[i].offset), picked[i]);
        }
    }

    // The second of two clubs named alike, picked, is the one stored; untouched, it stays.
    const std::int32_t second = summary.clubsSharingShortName.second;
    const int line = PickerLine("RivalClubChange", "Athletic", true);
    ASSERT_EQ(Pick("RivalClubChange", line, "ClubRivalList", 1), second);
    SaveData();
    EXPECT_EQ(Club(n).Get(ClubRecord::RivalClubs[1]), second);
    ShowClub("Pickers", n);
    Edit("ClubCash")->setText("5");
    SaveData();
    EXPECT_EQ(Club(n).Get(ClubRecord::RivalClubs[1]), second);

    // A favourite typed as a label is stored as the Id inside it, whatever the name says.
    List("ClubFavStaff")->item(0)->setText("Nobody, Really (42)");
    Main().StadNameChange();
    SaveData();
    EXPECT_EQ(Club(n).Get(ClubRecord::FavouriteStaff[0]), 42);
}

// A save leaves the page as it is; what it stored is what the next save compares with. Taking a
// field back to its first value after a save is an edit like any other.
TEST_F(ClubPage, AFieldTakenBackAfterASaveIsStoredAgain) {
    const std::int32_t n = summary.clubWithFullPosts;
    Rename(n, "Backtrack");
    Open();
    ShowClub("Backtrack", n);
    struct Case {
        const char* what;
        std::size_t offset;
        int width;
        std::function<void(bool back)> edit;
    };
    const ClubRecord first = Club(n);
    const int nationLine = PickerLine("ClubNationChange", Edit("ClubNation")->text());
    const int rivalLine = PickerLine("RivalClubChange", Lines("ClubRivalList")[0]);
    const QString cash = Edit("ClubCash")->text();
    const int colour = Combo("ClubThirdCl1")->currentIndex();
    const Case cases[] = {
        {"cash", 101, 4, [&](bool back) { Edit("ClubCash")->setText(back ? cash : "12"); }},
        {"nation", 83, 4,
         [&](bool back) { Pick("ClubNationChange", back ? nationLine : nationLine + 1); }},
        {"rival", 179, 4,
         [&](bool back) {
             Pick("RivalClubChange", back ? rivalLine : rivalLine + 1, "ClubRivalList", 0);
         }},
        {"colour", 147, 4,
         [&](bool back) { Combo("ClubThirdCl1")->setCurrentIndex(back ? colour : colour + 1); }},
        {"own stadium", 109, 1, [&](bool) { Find<QCheckBox>("ClubOwnStadium")->click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool back : {false, true}) {
            c.edit(back);
            Main().StadNameChange();
            SaveData();
            const ClubRecord now = Club(n);
            const bool same = std::memcmp(now.bytes.data() + c.offset,
                                          first.bytes.data() + c.offset, c.width) == 0;
            EXPECT_EQ(same, back);
        }
        EXPECT_EQ(Club(n), first);
    }
}

TEST_F(ClubPage, ColoursWhoseIdentifiersLeaveAGapCannotBeListed) {
    auto colours = [](std::initializer_list<std::int32_t> ids) {
        Bytes b;
        int i = 0;
        for (std::int32_t id : ids) {
            b.resize(b.size() + 58);
            PutI32(b, b.size() - 58, id);
            PutText(b, b.size() - 54, "Colour " + std::to_string(i++));
        }
        return b;
    };
    struct Case {
        Bytes file;
        QStringList names;  // empty: "Unable to insert a line"
    };
    const Case cases[] = {
        {colours({0, 1, 2}), {"Colour 0", "Colour 1", "Colour 2"}},
        {colours({0, 1, 0}), {"Colour 2", "Colour 1"}},  // replaced in place, no growth
        {colours({}), {}},
        {colours({0, 2}), {}},
        {colours({1, 0}), {}},
        {colours({0, -1}), {}},
    };
    const Bytes sample = ReadFile(File("colour.dat"));
    Rename(summary.clubWithGaps, "Plain");
    Rename(summary.clubWithoutManager, "Stripes");
    Open();
    ShowClub("Plain", summary.clubWithGaps);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.join(", ").toStdString());
        WriteFile(File("colour.dat"), c.file);
        const bool fails = c.names.isEmpty() && !c.file.empty();
        try {
            EXPECT_EQ(ui::SetColours(Main().Session().files.colour), c.names);
            EXPECT_FALSE(fails);
        } catch (const std::exception& e) {
            EXPECT_TRUE(fails);
            EXPECT_STREQ(e.what(), "Unable to insert a line");
        }
        if (!fails) continue;
        // The show stops before any field changes.
        ui::seam::Clear();
        Find<QRadioButton>("Clubrad")->click();
        Choose("Stripes");
        EXPECT_EQ(LastText(), "Unable to insert a line");
        EXPECT_EQ(Edit("ClubID")->text(), QString::number(summary.clubWithGaps));
        EXPECT_EQ(Edit("ClubSName")->text(), "Plain");
        EXPECT_EQ(Combo("ClubHomeCl1")->count(), summary.colours);
    }
    WriteFile(File("colour.dat"), sample);
}

TEST_F(ClubPage, AFailedSaveLeavesClubDatAsItWas) {
    const std::int32_t n = summary.clubWithFullPosts;
    Rename(n, "Steady");
    Open();
    struct Case {
        const char* control;  // a field, or a list whose first line is replaced
        QString text;
        QString message;
    };
    const Case cases[] = {
        {"ClubNation", "Atlantis", "Read beyond end of file"},
        {"ClubDivision", "Nowhere League", "Read beyond end of file"},
        {"ClubRStadium", "Nowhere Park", "Read beyond end of file"},
        {"ClubRivalList", "Nowhere Rovers", "Read beyond end of file"},
        {"ClubDisStaff", "Nobody", "'Nobody' is not a valid integer value"},
        {"ClubCash", "12a", "'12a' is not a valid integer value"},
        {"ClubTraining", "21", "\"Training\": this value must be in the range 0 to 20"},
        {"ClubMaxAtt", "5000001",
         "\"Maximum Attendance\": this value must be in the range 0 to 5000000"},
        {"ClubSName", QStringLiteral("\u4e2d"),
         QStringLiteral("'\u4e2d' holds the character '\u4e2d', which the game's files cannot "
                        "store.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        if (Main().RecordChanged()) ui::seam::QueueAnswer(Answer::kNo);
        ShowClub("Steady", n);
        ui::seam::Clear();
        const auto before = Snapshot(dir.Path());
        // Every other kind of field changes too, so that a write before the failure would show.
        Edit("ClubLName")->setText("Changed");
        Edit("ClubReputation")->setText("1");
        Combo("ClubHomeCl1")->setCurrentIndex(0);
        Find<QCheckBox>("ClubOwnStadium")->click();
        Pick("FavStaffChange", 0, "ClubFavStaff", 0);
        if (QListWidget* list = Main().findChild<QListWidget*>(c.control))
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
