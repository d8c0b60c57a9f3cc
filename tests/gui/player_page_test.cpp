#include <QComboBox>
#include <QListWidget>
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

#include "database/records/data_def.h"
#include "dialogs/guard.h"
#include "dialogs/qtext.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::ClubRecord;
using db::StaffRecord;
const QString kEmpty = QStringLiteral("<empty>");

class PlayerPage : public EditorTest {
  protected:
    StaffRecord Person(std::int32_t id) { return RecordAt<StaffRecord>("staff.dat", id * 157LL); }
    db::PlayerRecord Player(std::int32_t id) {
        const std::int32_t index = Person(id).Get(StaffRecord::PlayerIndex);
        return RecordAt<db::PlayerRecord>("staff.dat", summary.playerBlockOffset + index * 70LL);
    }
    ClubRecord Club(std::int32_t n) { return RecordAt<ClubRecord>("club.dat", n * 581LL); }
    QString ShortName(std::int32_t n) { return ui::FromCp1252(Club(n).Get(ClubRecord::ShortName)); }
    int InSquad(std::int32_t club, std::int32_t id) {
        int n = 0;
        for (std::size_t i = 0; i < 50; ++i) n += Club(club).Get(ClubRecord::Players[i]) == id;
        return n;
    }

    // Loads once and shows the person, the people list refilled first.
    void Show(std::int32_t id) {
        if (!Main().DataLoaded()) Load();
        Find<QRadioButton>("PlayerRad")->click();
        Choose(Main().Players().GetStaffName(id));
        ASSERT_EQ(Text("PlayerId1"), QString::number(id));
    }
    QString Text(const char* control) { return Edit(control)->text(); }
    QStringList Lines(const char* list) {
        QStringList out;
        for (int i = 0; i < Find<QListWidget>(list)->count(); ++i)
            out << Find<QListWidget>(list)->item(i)->text();
        return out;
    }
    void Press(const char* button) { Find<QPushButton>(button)->click(); }
};

TEST_F(PlayerPage, OddStoredValuesShowAsDocumentedAndEveryPlayerSavedUntouchedKeepsStaffDat) {
    const auto [athletic, secondAthletic] = summary.clubsSharingShortName;
    PatchAt("staff.dat", summary.player * 157LL, [&](StaffRecord& r) {
        r.Set(StaffRecord::CommonName, 0);
        r.Set(StaffRecord::Squad, 2);
        for (std::size_t i = 0; i < 3; ++i) {
            r.Set(StaffRecord::FavouriteClubs[i], std::array{secondAthletic, -1, athletic}[i]);
            r.Set(StaffRecord::DislikedClubs[i], std::array{-7, 3, 4}[i]);
        }
        r.Set(StaffRecord::BirthDay, 400);  // no month holds it
    });
    PatchAt("staff.dat", summary.freePlayer * 157LL,
            [](StaffRecord& r) { r.Set(StaffRecord::Squad, 9); });
    const Bytes before = ReadFile(File("staff.dat"));
    Show(summary.player);
    for (auto [control, text] :
         {std::pair{"PlayerCommonName", kEmpty}, {"PlayerDayOB", "0"}, {"PLayerMonthOB", "0"}})
        EXPECT_EQ(Text(control), text) << control;
    EXPECT_EQ(Find<QComboBox>("PlayerSquad")->currentText(), "Reserve Squad");
    EXPECT_EQ(Lines("PlayerFavClubs"), (QStringList{"Athletic", kEmpty, "Athletic"}));
    EXPECT_EQ(Lines("PlayerDisClubs"), (QStringList{kEmpty, ShortName(3), ShortName(4)}));
    Show(summary.freePlayer);
    EXPECT_EQ(Text("PlayerCurrentClub"), "Free Transfer");
    EXPECT_EQ(Find<QComboBox>("PlayerSquad")->currentIndex(), -1);

    Find<QRadioButton>("PlayerRad")->click();
    const QStringList labels = Main().ResultModel().Texts();
    ASSERT_EQ(labels.size(), summary.players);
    for (const QString& label : labels) {
        Find<QRadioButton>("PlayerRad")->click();
        Choose(label);
        Main().StadNameChange();
        SaveData();
    }
    EXPECT_EQ(ReadFile(File("staff.dat")), before);

    // The bytes after the persons are the player block, not a person to name.
    PatchAt("staff.dat", summary.player * 157LL,
            [&](StaffRecord& r) { r.Set(StaffRecord::FavouriteStaff[1], summary.persons); });
    Show(summary.player);
    const QString missing = QStringLiteral("<missing %1>").arg(summary.persons);
    EXPECT_EQ(Lines("PlayerFavStaff").value(1), missing);
    EXPECT_TRUE(
        LastText().contains(QStringLiteral("staff.dat has no record %1").arg(summary.persons)))
        << LastText().toStdString();
}

TEST_F(PlayerPage, TypedValuesAndPicksIntoEveryTargetAreStoredAndNothingElse) {
    const std::int32_t id = summary.player;
    const auto [athletic, secondAthletic] = summary.clubsSharingShortName;
    PatchAt("staff.dat", id * 157LL, [&](StaffRecord& r) {
        r.Set(StaffRecord::DislikedClubs[0], secondAthletic);  // untouched: stays the second
    });
    Show(id);
    StaffRecord want = Person(id);
    db::PlayerRecord wantPlayer = Player(id);
    for (auto [control, text] : {std::pair{"PlayerDayOB", "29"},
                                 {"PLayerMonthOB", "2"},
                                 {"PlayerIntCaps", "255"},
                                 {"PlayerValue", "50000000"},
                                 {"PlayerFinishing", "15"},
                                 {"PlayerCurrentABility", "200"}})
        Edit(control)->setText(text);
    Find<QComboBox>("PlayerSquad")
        ->setCurrentIndex(1 - Find<QComboBox>("PlayerSquad")->currentIndex());
    want.Set(StaffRecord::BirthDay, 60);
    want.Set(StaffRecord::InternationalCaps, 255);
    want.Set(StaffRecord::Value, 50000000);
    want.Set(StaffRecord::Squad, 3 - want.Get(StaffRecord::Squad));
    wantPlayer.Set(db::PlayerRecord::Finishing, 15);
    wantPlayer.Set(db::PlayerRecord::CurrentAbility, 200);

    struct Target {
        const char* button;
        const char* list;  // picked into line 2
        Line line;
        db::I32 field;
    };
    const Target targets[] = {
        {"PlayerNationChange", nullptr, 3, StaffRecord::Nation},
        {"PlayerSecondNationChange", nullptr, 3, StaffRecord::SecondNation},
        {"FirstNameChange", nullptr, kEmpty, StaffRecord::FirstName},
        {"SecondNameCHange", nullptr, {"Berg", 1}, StaffRecord::SecondName},
        {"CommonNameCHange", nullptr, 3, StaffRecord::CommonName},
        {"PlayerFavClubCHange", "PlayerFavClubs", {"Athletic", 1}, StaffRecord::FavouriteClubs[1]},
        {"PLayerDisClubChange", "PlayerDisClubs", "Athletic", StaffRecord::DislikedClubs[1]},
        {"PlayerFavStaffChange", "PlayerFavStaff",
         Main().Players().GetStaffName(summary.commonNamePlayer), StaffRecord::FavouriteStaff[1]},
        {"PLayerDisStaffChange", "PlayerDisStaff", kEmpty, StaffRecord::DislikedStaff[1]},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.button);
        want.Set(t.field, Pick(t.button, t.line, t.list, 1));
        const auto* code = std::find_if(ui::kChangeCodes.begin(), ui::kChangeCodes.end(),
                                        [&](const auto& c) { return c.button == t.button; });
        const QString target = QString::fromLatin1(code->target.data(), code->target.size());
        EXPECT_EQ(t.list ? Lines(t.list).at(1) : Edit(target.toLatin1())->text(), picked);
    }
    ASSERT_EQ(want.Get(StaffRecord::SecondName), summary.secondNamesAlike.second);
    ASSERT_EQ(want.Get(StaffRecord::FavouriteClubs[1]), secondAthletic);
    SaveData();
    EXPECT_EQ(Person(id), want);
    EXPECT_EQ(Player(id), wantPlayer);
    // The new club feeds a transfer only: a pick marks nothing to be saved.
    Pick("PlayerNewClubChange", {"Athletic", 1});
    EXPECT_EQ(Text("PlayerNewClub"), "Athletic");
    EXPECT_FALSE(Main().RecordChanged());
    Show(id);
    EXPECT_EQ(Text("PlayerDayOB") + "/" + Text("PLayerMonthOB"), "1/3");
}

TEST_F(PlayerPage, Transfers) {
    const std::int32_t id = summary.player, home = summary.clubWithFullPosts;
    const std::int32_t athletic = summary.clubsSharingShortName.first;
    Load();
    const Bytes clubs = ReadFile(File("club.dat")), people = ReadFile(File("staff.dat"));
    struct Case {
        const char* name;
        std::function<void()> choose;  // fills PlayerNewClub
        const char* button;
        std::int32_t club;  // his Club afterwards
        bool listedTwice = false;
    };
    const Case cases[] = {
        {"picked, the second of its name",
         [&] {
             Pick("PlayerNewClubChange", {"Athletic", 1});
         },
         "TransferPlayer", summary.clubsSharingShortName.second},
        {"typed", [&] { Edit("PlayerNewClub")->setText("Athletic"); }, "TransferPlayer", athletic},
        {"own club", [&] { Edit("PlayerNewClub")->setText(ShortName(home)); }, "TransferPlayer",
         home, true},
        {"empty new club", [] {}, "TransferPlayer", -1, true},
        {"<empty> picked", [&] { Pick("PlayerNewClubChange", kEmpty); }, "TransferPlayer", -1},
        {"free agent", [&] { Edit("PlayerNewClub")->setText("Athletic"); }, "FreeTransfer", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui::seam::Clear();
        WriteFile(File("club.dat"), clubs);
        WriteFile(File("staff.dat"), people);
        if (c.listedTwice)
            PatchAt("club.dat", home * 581LL,
                    [&](ClubRecord& r) { r.Set(ClubRecord::Players[40], id); });
        Show(id);
        const StaffRecord person = Person(id);
        Edit("PlayerWage")->setText("99");  // not part of the transfer; stays to be saved
        c.choose();
        Press(c.button);
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        StaffRecord want = person;
        want.Set(StaffRecord::Club, c.club);
        EXPECT_EQ(Person(id), want);
        const QString shown = c.club < 0 ? QString("Free Transfer") : ShortName(c.club);
        EXPECT_EQ(Text("PlayerCurrentClub"), shown);
        EXPECT_TRUE(Text("PlayerNewClub").isEmpty());
        EXPECT_TRUE(Main().RecordChanged());
        EXPECT_EQ(InSquad(home, id), c.club == home ? 1 : 0);
        if (c.club >= 0) {
            EXPECT_EQ(InSquad(c.club, id), 1);
        }
        ui::seam::QueueAnswer(ui::Answer::kNo);  // "Save Changes?"
        Show(id);
        EXPECT_EQ(Text("PlayerCurrentClub"), shown);
    }
}

TEST_F(PlayerPage, RefusalsAndFailuresWriteNothing) {
    const std::int32_t full = summary.clubWithGaps;
    PatchAt("club.dat", full * 581LL, [](ClubRecord& c) {
        for (std::size_t i = 0; i < 50; ++i) c.Set(ClubRecord::Players[i], 1000 + i);
    });
    std::int32_t staff = 0;
    while (Person(staff).Get(StaffRecord::PlayerIndex) >= 0) ++staff;
    auto transfer = [this](const QString& to) {
        Edit("PlayerNewClub")->setText(to);
        Press("TransferPlayer");
    };
    auto save = [this](const char* control, const char* text) {
        Edit("PlayerWage")->setText("777");  // a valid change that must not be written either
        Edit(control)->setText(text);
        Action("SaveMenu")->trigger();
    };
    struct Case {
        std::int32_t shown;
        std::function<void()> act;
        QString caption, text;  // no text: no message
    };
    const Case cases[] = {
        {summary.player, [&] { transfer(ShortName(full)); }, "Transfer Player",
         "This club's squad is full"},
        {summary.player, [&] { transfer("Nowhere United"); }, "", "Read beyond end of file"},
        {summary.player,
         [&] { Main().Players().PlayerSearch(Main().Players().GetStaffName(staff)); }, "",
         "This person has no player record"},
        {summary.player, [&] { save("PlayerIntCaps", "256"); }, "",
         "\"International Caps\": this value must be in the range 0 to 255"},
        {summary.player, [&] { save("PlayerSquadNumber", "0"); }, "",
         "\"Squad Number\": this value must be in the range 1 to 50"},
        {summary.player,
         [&] {
             std::filesystem::remove(File("player.dat"));
             std::filesystem::create_directory(File("player.dat"));  // cannot be staged
             save("PlayerFinishing", "1");
             std::filesystem::remove(File("player.dat"));
         },
         "", "File access denied"},
        {summary.freePlayer, [&] { Press("FreeTransfer"); }, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        if (Main().RecordChanged()) ui::seam::QueueAnswer(ui::Answer::kNo);
        Show(c.shown);
        ui::seam::Clear();
        const Bytes staffDat = ReadFile(File("staff.dat")), clubDat = ReadFile(File("club.dat"));
        const db::StaffRecord buffer = Main().Players().StaffRec;
        ui::Guarded(&Main(), c.act);
        EXPECT_EQ(ReadFile(File("staff.dat")), staffDat);
        EXPECT_EQ(ReadFile(File("club.dat")), clubDat);
        EXPECT_EQ(Main().Players().StaffRec, buffer);
        EXPECT_EQ(Text("PlayerId1"), QString::number(c.shown));
        if (c.text.isEmpty()) {
            EXPECT_TRUE(ui::seam::Log().empty());
            continue;
        }
        ASSERT_EQ(ui::seam::Log().size(), 1u);
        EXPECT_EQ(LastAsked()->caption, c.caption.isEmpty() ? ui::ApplicationTitle() : c.caption);
        EXPECT_TRUE(LastText().startsWith(c.text)) << LastText().toStdString();
    }
}

// Names typed rather than picked are looked up together before the save converts anything: each
// line and field still gets the first record of its name, and of two names that no record has
// the first row's is the one reported.
TEST_F(PlayerPage, TypedNamesAreEachFoundAsTheFirstRecordOfThatName) {
    const std::int32_t id = summary.player;
    const auto [athletic, secondAthletic] = summary.clubsSharingShortName;
    auto firstClubNamed = [&](const QString& name) {
        std::int32_t n = 0;
        while (ShortName(n) != name) ++n;
        return n;
    };
    const std::int32_t last = summary.clubs - 1;
    Show(id);
    StaffRecord want = Person(id);
    struct Line {
        const char* list;
        int row;
        QString text;
        db::I32 field;
        std::int32_t record;
    };
    const Line lines[] = {
        {"PlayerFavClubs", 0, ShortName(last), StaffRecord::FavouriteClubs[0],
         firstClubNamed(ShortName(last))},
        {"PlayerFavClubs", 1, "Athletic", StaffRecord::FavouriteClubs[1], athletic},
        {"PlayerFavClubs", 2, ShortName(3), StaffRecord::FavouriteClubs[2],
         firstClubNamed(ShortName(3))},
        {"PlayerDisClubs", 0, "Athletic", StaffRecord::DislikedClubs[0], athletic},
        {"PlayerDisClubs", 2, ShortName(last), StaffRecord::DislikedClubs[2],
         firstClubNamed(ShortName(last))},
    };
    for (const Line& l : lines) {
        Find<QListWidget>(l.list)->item(l.row)->setText(l.text);
        want.Set(l.field, l.record);
    }
    Edit("PlayerSecondName")->setText("Berg");
    want.Set(StaffRecord::SecondName, summary.secondNamesAlike.first);
    SaveData();
    EXPECT_EQ(Person(id), want);

    const Bytes before = ReadFile(File("staff.dat"));
    Edit("PlayerFirstName")->setText("Nobody At All");
    Find<QListWidget>("PlayerFavClubs")->item(1)->setText("Nowhere United");
    ui::seam::Clear();
    Action("SaveMenu")->trigger();
    ASSERT_EQ(ui::seam::Log().size(), 1u);
    EXPECT_TRUE(LastText().startsWith("Read beyond end of file\nfirst_names.dat"))
        << LastText().toStdString();
    EXPECT_EQ(ReadFile(File("staff.dat")), before);
}

}  // namespace
}  // namespace vh::test
