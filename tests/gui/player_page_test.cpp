#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QScrollArea>
#include <QTabWidget>
#include <cstring>
#include <functional>

#include "database/data_def.h"
#include "dialogs/qtext.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::ClubRecord;
using db::PlayerRecord;
using db::StaffRecord;

const QString kEmpty = QStringLiteral("<empty>");

class PlayerPage : public EditorTest {
  protected:
    template <class R>
    R Get(const char* file, std::int64_t at) {
        const Bytes b = ReadFile(File(file));
        R r;
        std::memcpy(r.bytes.data(), b.data() + at, R::kSize);
        return r;
    }
    template <class R>
    void Put(const char* file, std::int64_t at, const R& r) {
        Bytes b = ReadFile(File(file));
        std::memcpy(b.data() + at, r.bytes.data(), R::kSize);
        WriteFile(File(file), b);
    }
    StaffRecord Person(std::int32_t id) { return Get<StaffRecord>("staff.dat", id * 157LL); }
    PlayerRecord Player(std::int32_t id) {
        return Get<PlayerRecord>("staff.dat", summary.playerBlockOffset +
                                                  Person(id).Get(StaffRecord::PlayerIndex) * 70LL);
    }
    ClubRecord Club(std::int32_t n) { return Get<ClubRecord>("club.dat", n * 581LL); }
    void Patch(std::int32_t id, const std::function<void(StaffRecord&)>& f) {
        StaffRecord r = Person(id);
        f(r);
        Put("staff.dat", id * 157LL, r);
    }
    void PatchClub(std::int32_t n, const std::function<void(ClubRecord&)>& f) {
        ClubRecord r = Club(n);
        f(r);
        Put("club.dat", n * 581LL, r);
    }
    std::vector<std::int32_t> Squad(std::int32_t club) {
        std::vector<std::int32_t> out;
        const ClubRecord c = Club(club);
        for (std::size_t i = 0; i < 50; ++i) out.push_back(c.Get(ClubRecord::Players[i]));
        return out;
    }
    static int Count(const std::vector<std::int32_t>& squad, std::int32_t id) {
        return static_cast<int>(std::count(squad.begin(), squad.end(), id));
    }

    // Loads (once) and shows the person, with the people list refilled after patches.
    void Show(std::int32_t id) {
        if (!Main().DataLoaded()) Load();
        Find<QRadioButton>("PlayerRad")->click();
        Choose(Main().Players().GetStaffName(id));
        ASSERT_EQ(Text("PlayerId1"), QString::number(id));
    }
    QString Text(const char* control) { return Edit(control)->text(); }
    QStringList Lines(const char* list) {
        QStringList out;
        QListWidget* w = Find<QListWidget>(list);
        for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
        return out;
    }
    // Presses a Change button (first selecting line `slot` of a list target) and double-clicks
    // row `row` of the picker; returns the record of that row.
    std::int32_t Pick(const char* button, int row, const char* list = nullptr, int slot = 0) {
        if (list) Find<QListWidget>(list)->setCurrentRow(slot);
        Find<QPushButton>(button)->click();
        EXPECT_TRUE(Picker().isVisible());
        Picker().ChangeListBox()->setCurrentIndex(Picker().Model().index(row));
        const std::int32_t record = Picker().Model().Record(row).value_or(-1);
        Picker().ChangeListBoxDblClick();
        return record;
    }
    int PickerRow(const char* button, const QString& line, int nth = 0) {
        Find<QPushButton>(button)->click();
        const QStringList lines = Picker().Model().Texts();
        int row = -1;
        for (int k = 0; k <= nth; ++k) row = static_cast<int>(lines.indexOf(line, row + 1));
        Picker().close();
        return row;
    }
    void SaveData() {
        Find<QPushButton>("Save")->click();
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        EXPECT_FALSE(Main().RecordChanged());
    }
    void Press(const char* button) { Find<QPushButton>(button)->click(); }
    QString ShortName(std::int32_t club) {
        return ui::FromCp1252(Club(club).Get(ClubRecord::ShortName));
    }
};

// --- show and save -------------------------------------------------------------------------------

TEST_F(PlayerPage, OddStoredValuesShowAsDocumentedAndSavedUntouchedKeepTheirBytes) {
    const std::int32_t id = summary.player;
    const auto [athletic, secondAthletic] = summary.clubsSharingShortName;
    Patch(id, [&](StaffRecord& r) {
        r.Set(StaffRecord::CommonName, 0);
        r.Set(StaffRecord::Squad, 2);
        r.Set(StaffRecord::FavouriteClubs[0], secondAthletic);
        r.Set(StaffRecord::FavouriteClubs[1], -1);
        r.Set(StaffRecord::FavouriteClubs[2], athletic);
        r.Set(StaffRecord::DislikedClubs[0], -7);
        r.Set(StaffRecord::DislikedClubs[1], 3);
        r.Set(StaffRecord::DislikedClubs[2], 4);
        r.Set(StaffRecord::BirthDay, 400);  // no month holds it
        r.Set(StaffRecord::InternationalCaps, 255);
    });
    Show(id);
    struct Shown {
        const char* control;
        QString text;
    };
    const Shown shown[] = {
        {"PlayerCommonName", kEmpty},
        {"PlayerDayOB", "0"},
        {"PLayerMonthOB", "0"},
        {"PlayerIntCaps", "255"},
        {"PlayerCurrentClub", ShortName(summary.clubWithFullPosts)},
        {"PlayerFinishing", QString::number(Player(id).Get(PlayerRecord::Finishing))},
        {"PlayerValue", QString::number(Person(id).Get(StaffRecord::Value))},
    };
    for (const Shown& s : shown) EXPECT_EQ(Text(s.control), s.text) << s.control;
    EXPECT_EQ(Find<QComboBox>("PlayerSquad")->currentText(), "Reserve Squad");
    EXPECT_EQ(Lines("PlayerFavClubs"), (QStringList{"Athletic", kEmpty, "Athletic"}));
    EXPECT_EQ(Lines("PlayerDisClubs"), (QStringList{kEmpty, ShortName(3), ShortName(4)}));
    EXPECT_TRUE(Text("PlayerNewClub").isEmpty());

    const auto before = Snapshot(dir.Path());
    Main().StadNameChange();
    SaveData();
    EXPECT_EQ(Snapshot(dir.Path()), before);

    // A squad value no item stands for selects nothing and stays; a player without a club.
    Patch(summary.freePlayer, [](StaffRecord& r) { r.Set(StaffRecord::Squad, 9); });
    Show(summary.freePlayer);
    EXPECT_EQ(Text("PlayerCurrentClub"), "Free Transfer");
    EXPECT_EQ(Find<QComboBox>("PlayerSquad")->currentIndex(), -1);
    const auto before2 = Snapshot(dir.Path());
    Main().StadNameChange();
    SaveData();
    EXPECT_EQ(Snapshot(dir.Path()), before2);
}

TEST_F(PlayerPage, EveryPlayerSavedWithoutChangesLeavesStaffDatWhole) {
    const Bytes before = ReadFile(File("staff.dat"));
    Load();
    const QStringList labels = Main().ResultModel().Texts();
    ASSERT_EQ(labels.size(), summary.players);
    for (const QString& label : labels) {
        Find<QRadioButton>("PlayerRad")->click();  // the whole list again
        Choose(label);
        Main().StadNameChange();
        SaveData();
    }
    EXPECT_EQ(ReadFile(File("staff.dat")), before);
}

TEST_F(PlayerPage, ChangedFieldsAreStoredAndNothingElse) {
    const std::int32_t id = summary.player;
    Show(id);
    const StaffRecord person = Person(id);
    const PlayerRecord player = Player(id);
    struct Typed {
        const char* control;
        const char* text;
    };
    const Typed typed[] = {
        {"PlayerDayOB", "29"},           {"PLayerMonthOB", "2"},      {"PlayerYearOB", "2001"},
        {"PlayerIntCaps", "255"},        {"PlayerValue", "50000000"}, {"PlayerWage", "100000"},
        {"PlayerDContractExp", "31"},    {"PlayerMContractExp", "4"}, {"PlayerFinishing", "15"},
        {"PlayerCurrentABility", "200"}, {"PlayerSquadNumber", "50"}, {"PLayerPace", "0"},
    };
    for (const Typed& t : typed) Edit(t.control)->setText(t.text);
    Find<QComboBox>("PlayerSquad")->setCurrentIndex(0);
    Pick("FirstNameChange", 0);  // "<empty>"
    SaveData();

    StaffRecord want = person;
    want.Set(StaffRecord::BirthDay, 60);
    want.Set(StaffRecord::BirthYear, 2001);
    want.Set(StaffRecord::InternationalCaps, 255);
    want.Set(StaffRecord::Value, 50000000);
    want.Set(StaffRecord::Wage, 100000);
    want.Set(StaffRecord::ContractDay, 121);
    want.Set(StaffRecord::Squad, 1);
    want.Set(StaffRecord::FirstName, -1);
    EXPECT_EQ(Person(id), want);
    PlayerRecord wantPlayer = player;
    wantPlayer.Set(PlayerRecord::Finishing, 15);
    wantPlayer.Set(PlayerRecord::CurrentAbility, 200);
    wantPlayer.Set(PlayerRecord::SquadNumber, 50);
    wantPlayer.Set(PlayerRecord::Pace, 0);
    EXPECT_EQ(Player(id), wantPlayer);

    // Shown again as saved.
    Show(id);
    EXPECT_EQ(Text("PlayerDayOB"), "1");
    EXPECT_EQ(Text("PLayerMonthOB"), "3");
    EXPECT_EQ(Text("PlayerFirstName"), kEmpty);
    EXPECT_EQ(Find<QComboBox>("PlayerSquad")->currentText(), "First Squad");
}

TEST_F(PlayerPage, AClubNameTwoClubsShareKeepsItsNumberAndAPickStoresTheClubPicked) {
    const auto [athletic, secondAthletic] = summary.clubsSharingShortName;
    const std::int32_t id = summary.player;
    Patch(id, [&](StaffRecord& r) { r.Set(StaffRecord::DislikedClubs[1], secondAthletic); });
    Show(id);
    Edit("PlayerWage")->setText("1234");
    SaveData();
    EXPECT_EQ(Person(id).Get(StaffRecord::DislikedClubs[1]), secondAthletic);

    const int first = PickerRow("PlayerFavClubCHange", "Athletic");
    const int second = PickerRow("PlayerFavClubCHange", "Athletic", 1);
    ASSERT_GT(second, first);
    EXPECT_EQ(Pick("PlayerFavClubCHange", second, "PlayerFavClubs", 2), secondAthletic);
    EXPECT_EQ(Pick("PLayerDisClubChange", first, "PlayerDisClubs", 1), athletic);
    SaveData();
    EXPECT_EQ(Person(id).Get(StaffRecord::FavouriteClubs[2]), secondAthletic);
    EXPECT_EQ(Person(id).Get(StaffRecord::DislikedClubs[1]), athletic);
}

TEST_F(PlayerPage, APickIntoEachTargetIsStoredAsTheRecordPicked) {
    struct Target {
        int code;
        const char* button;
        const char* control;
        const char* list;  // a list target: the slot picked into is line 2
        int offset;        // the field of the person record it saves into; -1: none
    };
    const Target targets[] = {
        {19, "PlayerNationChange", "PlayerNation", nullptr, 26},
        {20, "PlayerSecondNationChange", "PlayerSecondNation", nullptr, 30},
        {21, "PlayerNewClubChange", "PlayerNewClub", nullptr, -1},
        {22, "FirstNameChange", "PlayerFirstName", nullptr, 4},
        {23, "SecondNameCHange", "PlayerSecondName", nullptr, 8},
        {24, "CommonNameCHange", "PlayerCommonName", nullptr, 12},
        {25, "PlayerFavClubCHange", nullptr, "PlayerFavClubs", 97 + 4},
        {26, "PLayerDisClubChange", nullptr, "PlayerDisClubs", 109 + 4},
        {27, "PlayerFavStaffChange", nullptr, "PlayerFavStaff", 121 + 4},
        {28, "PLayerDisStaffChange", nullptr, "PlayerDisStaff", 133 + 4},
    };
    const std::int32_t id = summary.player;
    Show(id);
    for (const Target& t : targets) {
        SCOPED_TRACE(t.button);
        const int row = 3;
        const std::int32_t record = Pick(t.button, row, t.list, 1);
        ASSERT_GE(record, 0);
        EXPECT_EQ(ui::ChangeCodeOf(t.code)->button, t.button);
        const QString line = Picker().Model().LineText(row);
        if (t.list)
            EXPECT_EQ(Lines(t.list).at(1), line);
        else
            EXPECT_EQ(Text(t.control), line);
        EXPECT_EQ(Main().RecordChanged(), t.offset >= 0) << "the new club feeds a transfer only";
        if (t.offset < 0) continue;
        SaveData();
        EXPECT_EQ(GetI32(ReadFile(File("staff.dat")), id * 157 + t.offset), record);
    }
}

TEST_F(PlayerPage, AValueASaveCannotTakeChangesNoFile) {
    struct Case {
        const char* control;
        const char* text;
        QString message;
    };
    const Case cases[] = {
        {"PlayerIntCaps", "256",
         "\"International Caps\": this value must be in the range 0 to 255"},
        {"PlayerFinishing", "21", "\"Finishing\": this value must be in the range 0 to 20"},
        {"PlayerSquadNumber", "0", "\"Squad Number\": this value must be in the range 1 to 50"},
        {"PlayerValue", "1e6", "'1e6' is not a valid integer value"},
    };
    Show(summary.player);
    ui::seam::Clear();
    const auto before = Snapshot(dir.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        Edit("PlayerWage")->setText("777");  // a valid change that must not be written either
        const QString was = Text(c.control);
        Edit(c.control)->setText(c.text);
        Action("SaveMenu")->trigger();
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_EQ(LastText(), c.message);
        EXPECT_EQ(Snapshot(dir.Path()), before);
        EXPECT_TRUE(Main().RecordChanged());
        Edit(c.control)->setText(was);
        ui::seam::Clear();
    }
}

TEST_F(PlayerPage, APlayerRecordThatCannotBeWrittenTakesThePersonRecordBack) {
    Show(summary.player);
    const Bytes before = ReadFile(File("staff.dat"));
    std::filesystem::remove(File("player.dat"));
    std::filesystem::create_directory(File("player.dat"));  // the staging copy cannot be made
    Edit("PlayerWage")->setText("4321");
    Edit("PlayerFinishing")->setText("1");
    Action("SaveMenu")->trigger();
    ASSERT_EQ(ui::seam::Log().size(), 1u);
    EXPECT_EQ(ReadFile(File("staff.dat")), before);
    EXPECT_EQ(Main().Players().StaffRec, Person(summary.player));
    std::filesystem::remove(File("player.dat"));
}

// --- transfers -----------------------------------------------------------------------------------

TEST_F(PlayerPage, Transfers) {
    const std::int32_t id = summary.player;
    const std::int32_t home = summary.clubWithFullPosts;
    const std::int32_t gaps = summary.clubWithGaps;
    const std::int32_t athletic = summary.clubsSharingShortName.first;
    Load();
    struct Case {
        const char* name;
        std::function<void()> prepare;  // before the show
        std::function<void()> choose;   // after it: fills PlayerNewClub
        const char* button;
        std::int32_t club;  // the person's Club afterwards
        QString shown;
    };
    const Case cases[] = {
        {"to a club picked", [] {},
         [&] { Pick("PlayerNewClubChange", PickerRow("PlayerNewClubChange", ShortName(gaps))); },
         "TransferPlayer", gaps, ShortName(gaps)},
        {"to a club typed, the first of its name", [] {},
         [&] { Edit("PlayerNewClub")->setText("Athletic"); }, "TransferPlayer", athletic,
         "Athletic"},
        {"to his own club, listed twice",
         [&] { PatchClub(home, [&](ClubRecord& c) { c.Set(ClubRecord::Players[40], id); }); },
         [&] { Edit("PlayerNewClub")->setText(ShortName(home)); }, "TransferPlayer", home,
         ShortName(home)},
        {"an empty new club releases him", [] {}, [] {}, "TransferPlayer", -1, "Free Transfer"},
        {"made a free agent", [] {}, [&] { Edit("PlayerNewClub")->setText("Athletic"); },
         "FreeTransfer", -1, "Free Transfer"},
    };
    const Bytes clubs = ReadFile(File("club.dat")), people = ReadFile(File("staff.dat"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::seam::Clear();
        // Back at his home club, in the slot the sample gave him.
        WriteFile(File("club.dat"), clubs);
        WriteFile(File("staff.dat"), people);
        c.prepare();
        Show(id);
        const StaffRecord person = Person(id);
        const std::vector<std::int32_t> oldSquad = Squad(home);
        ASSERT_GE(Count(oldSquad, id), 1);
        Edit("PlayerWage")->setText("99");  // not saved: not part of the transfer
        c.choose();
        Press(c.button);
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();

        StaffRecord want = person;
        want.Set(StaffRecord::Club, c.club);
        EXPECT_EQ(Person(id), want);
        EXPECT_EQ(Main().Players().StaffRec.Get(StaffRecord::Club), c.club);
        EXPECT_EQ(Text("PlayerCurrentClub"), c.shown);
        EXPECT_TRUE(Text("PlayerNewClub").isEmpty());
        EXPECT_EQ(Text("PlayerWage"), "99");
        EXPECT_TRUE(Main().RecordChanged()) << "the wage is still to be saved";

        std::vector<std::int32_t> left = oldSquad;
        std::replace(left.begin(), left.end(), id, -1);
        if (c.club == home) {
            *std::find(left.begin(), left.end(), -1) = id;
            EXPECT_EQ(Squad(home), left);
        } else {
            EXPECT_EQ(Squad(home), left);
        }
        if (c.club >= 0 && c.club != home) {
            EXPECT_EQ(Count(Squad(c.club), id), 1);
        }
        // The next search shows the same.
        ui::seam::QueueAnswer(ui::Answer::kNo);  // "Save Changes?"
        Show(id);
        EXPECT_EQ(Text("PlayerCurrentClub"), c.shown);
    }
}

TEST_F(PlayerPage, AFreeAgentMadeFreeAgainOnlyRewritesHisRecord) {
    Show(summary.freePlayer);
    const auto before = Snapshot(dir.Path());
    Press("FreeTransfer");
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_EQ(Snapshot(dir.Path()), before);
    EXPECT_EQ(Text("PlayerCurrentClub"), "Free Transfer");
}

TEST_F(PlayerPage, RefusalsWriteNothing) {
    const std::int32_t full = summary.clubWithGaps;
    PatchClub(full, [](ClubRecord& c) {
        for (std::size_t i = 0; i < 50; ++i) c.Set(ClubRecord::Players[i], 1000 + i);
    });
    std::int32_t noPlayerRecord = 0;
    while (Person(noPlayerRecord).Get(StaffRecord::PlayerIndex) >= 0) ++noPlayerRecord;
    struct Case {
        const char* name;
        std::function<void()> act;
        QString caption;
        QString text;
    };
    const Case cases[] = {
        {"squad full",
         [&] {
             Edit("PlayerNewClub")->setText(ShortName(full));
             Press("TransferPlayer");
         },
         "Transfer Player", "This club's squad is full"},
        {"no such club",
         [&] {
             Edit("PlayerNewClub")->setText("Nowhere United");
             Press("TransferPlayer");
         },
         ui::ApplicationTitle(), "Read beyond end of file"},
        {"no player record",
         [&] {
             // The people list names only players: search for his label all the same.
             Main().Players().PlayerSearch(Main().Players().GetStaffName(noPlayerRecord));
         },
         ui::ApplicationTitle(), "This person has no player record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show(summary.player);
        ui::seam::Clear();
        const auto before = Snapshot(dir.Path());
        try {
            c.act();
        } catch (const std::exception& e) {
            ui::ShowError(&Main(), QString::fromUtf8(e.what()));
        }
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_EQ(LastAsked()->caption, c.caption);
        EXPECT_TRUE(LastText().startsWith(c.text)) << LastText().toStdString();
        EXPECT_EQ(Snapshot(dir.Path()), before);
        EXPECT_EQ(Text("PlayerId1"), QString::number(summary.player));
        EXPECT_EQ(Text("PlayerCurrentClub"), ShortName(summary.clubWithFullPosts));
    }
}

// --- layout --------------------------------------------------------------------------------------

// Every control of every tab lies whole inside its page and over no other control. With
// VH_SCREENSHOTS set to a directory, each tab is also saved there as a picture.
TEST_F(PlayerPage, EveryTabShowsItsControlsWholeAndApart) {
    Main().show();
    Show(summary.player);
    auto* tabs = Find<QTabWidget>("PlayerPanel");
    ASSERT_EQ(tabs->count(), 5);
    const QString shots = qEnvironmentVariable("VH_SCREENSHOTS");
    for (int t = 0; t < tabs->count(); ++t) {
        SCOPED_TRACE(tabs->tabText(t).toStdString());
        tabs->setCurrentIndex(t);
        QApplication::processEvents();
        QWidget* page = tabs->widget(t);
        if (auto* scroll = qobject_cast<QScrollArea*>(page)) page = scroll->widget();
        const QWidget* view = tabs->widget(t);
        std::vector<QRect> placed;
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->objectName().isEmpty() || w->objectName().endsWith("Box") ||
                w->objectName().startsWith("qt_"))
                continue;
            const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
            EXPECT_TRUE(QRect(QPoint(0, 0), page->size()).contains(r))
                << w->objectName().toStdString();
            for (const QRect& other : placed)
                EXPECT_FALSE(other.intersects(r)) << w->objectName().toStdString();
            placed.push_back(r);
        }
        if (page != view) {
            EXPECT_LE(page->width(), static_cast<const QScrollArea*>(view)->viewport()->width());
        }
        if (!shots.isEmpty())
            Main().grab().save(QStringLiteral("%1/player_tab%2.png").arg(shots).arg(t + 1));
    }
}

}  // namespace
}  // namespace vh::test
