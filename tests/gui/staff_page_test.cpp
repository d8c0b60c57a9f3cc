// The Staff mode: the five tabs, show and save of a person's two records, the picks into its
// fields, and the moves between clubs and national sides. Expected values come from the bytes of
// the sample's files, read at literal offsets.
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <functional>

#include "database/model/squad.h"
#include "database/records/data_def.h"
#include "dialogs/NEdit.h"
#include "dialogs/change_codes.h"
#include "dialogs/qtext.h"
#include "editor/pages/staff_page.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::ClubRecord;
using db::StaffRecord;

constexpr std::size_t kPerson = 157;
constexpr std::size_t kNonPlayer = 68;
constexpr std::size_t kClub = 581;
const QString kEmpty = QStringLiteral("<empty>");

class StaffPage : public EditorTest {
  public:
    using EditorTest::Patch;
    using EditorTest::PatchAt;
    const sample::SampleSummary& Sample() const { return summary; }
    StaffRecord Person(std::int32_t id) { return RecordAt<StaffRecord>("staff.dat", id * kPerson); }
    ClubRecord Club(std::int32_t n) { return RecordAt<ClubRecord>("club.dat", n * kClub); }
    QString ShortName(std::int32_t club) {
        return ui::FromCp1252(Club(club).Get(ClubRecord::ShortName));
    }
    std::size_t NonPlayerAt(std::int32_t id) {
        return static_cast<std::size_t>(summary.nonPlayerBlockOffset) +
               static_cast<std::size_t>(Person(id).Get(StaffRecord::NonPlayerIndex)) * kNonPlayer;
    }
    std::int32_t FindPerson(const std::function<bool(const StaffRecord&)>& test) {
        for (std::int32_t id = 0; id < summary.persons; ++id)
            if (test(Person(id))) return id;
        ADD_FAILURE() << "the sample has no such person";
        return -1;
    }

    void Open() {
        Load();
        Action("NonPlayerMenu")->trigger();
    }
    QString Label(std::int32_t id) { return Main().Staff().GetStaffName(id); }
    void Show(std::int32_t id) {
        Find<QRadioButton>("NonPlayerRad")->click();
        Choose(Label(id));
        ASSERT_EQ(Text("NonPlayerId1"), QString::number(id));
    }
    QString Text(const char* name) { return Edit(name)->text(); }
    QStringList Lines(const char* list) {
        QStringList out;
        QListWidget* w = Find<QListWidget>(list);
        for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
        return out;
    }
    void Press(const char* button) { Find<QPushButton>(button)->click(); }
    // The data files, without the scratch files the editor makes.
    std::vector<std::pair<std::string, Bytes>> DataFiles(const char* besides = "") {
        auto files = Snapshot(dir.Path());
        std::erase_if(files, [&](const auto& f) {
            return f.first == "index2.dat" || f.first == "nonplayer.dat" ||
                   f.first == "player.dat" || f.first == besides;
        });
        return files;
    }
};

// The bytes that differ between two equally long files.
std::vector<std::size_t> Changed(const Bytes& before, const Bytes& after) {
    std::vector<std::size_t> out;
    EXPECT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        if (before[i] != after[i]) out.push_back(i);
    return out;
}

TEST_F(StaffPage, ShowsNamesSlotsEmployersAndStagesTheStaffRecord) {
    const std::int32_t id = summary.freeStaff;
    Patch(id, [](StaffRecord& r) {
        r.Set(StaffRecord::FirstName, 0);
        r.Set(StaffRecord::SecondName, 0);
        r.Set(StaffRecord::CommonName, 0);
        const std::int32_t stored[12] = {-1, 3, -7, 4, -1, -2, -1, 2, -1, -9, 5, -1};
        for (int i = 0; i < 12; ++i)
            r.Set(db::I32{97 + 4 * static_cast<std::size_t>(i)}, stored[i]);
    });
    Open();
    Show(id);
    const Bytes first = ReadFile(File("first_names.dat"));
    const Bytes second = ReadFile(File("second_names.dat"));
    EXPECT_EQ(Text("NonPlayerFirstName"),
              QString::fromLatin1(reinterpret_cast<const char*>(first.data())));
    EXPECT_EQ(Text("NonPlayerSecondName"),
              QString::fromLatin1(reinterpret_cast<const char*>(second.data())));
    EXPECT_EQ(Text("NonPlayerCommonName"), kEmpty);
    EXPECT_EQ(Text("NonPlayerCurrentClub"), "Free Transfer");
    EXPECT_EQ(Text("NonPlayerCurrentNation"), kEmpty);
    // Line i for slot i; the disliked clubs in their own list.
    EXPECT_EQ(Lines("NonPlayerFavClubs"), (QStringList{kEmpty, ShortName(3), kEmpty}));
    EXPECT_EQ(Lines("NonPlayerDisClubs"), (QStringList{ShortName(4), kEmpty, kEmpty}));
    EXPECT_EQ(Lines("NonPlayerFavStaff"), (QStringList{kEmpty, Label(2), kEmpty}));
    EXPECT_EQ(Lines("NonPlayerDisStaff"), (QStringList{kEmpty, Label(5), kEmpty}));

    const Bytes staff = ReadFile(File("staff.dat"));
    const std::size_t at = NonPlayerAt(id);
    EXPECT_EQ(ReadFile(File("nonplayer.dat")),
              Bytes(staff.begin() + static_cast<std::ptrdiff_t>(at),
                    staff.begin() + static_cast<std::ptrdiff_t>(at + kNonPlayer)));
    EXPECT_EQ(Text("NonPlayerGoalkeeper"), QString::number(GetI32(staff, at + 35)));
}

// Untouched fields keep their stored bytes: negative slots, a common name of 0, the second of two
// equal names, days of the year no month holds, and the bytes no field shows.
TEST_F(StaffPage, ASaveWithoutChangesKeepsEveryFileByteForByte) {
    const std::int32_t berg = summary.secondNamesAlike.second;
    Patch(summary.manager, [&](StaffRecord& r) {
        r.Set(StaffRecord::SecondName, berg);
        r.Set(StaffRecord::BirthDay, std::int16_t{0});
        r.Set(StaffRecord::ContractDay, std::int16_t{400});
        for (std::size_t i = 0; i < 3; ++i) {
            r.Set(StaffRecord::FavouriteClubs[i], summary.clubsSharingShortName.second);
            r.Set(StaffRecord::DislikedStaff[i], -5 - static_cast<std::int32_t>(i));
        }
    });
    const auto before = DataFiles();
    Open();
    Find<QRadioButton>("NonPlayerRad")->click();
    for (const QString& line : Main().ResultModel().Texts()) {
        Find<QRadioButton>("NonPlayerRad")->click();
        Choose(line);
        Main().StadNameChange();
        SaveData();
    }
    EXPECT_EQ(DataFiles(), before);
}

// Each field the user changes is stored in its own bytes and no other byte changes.
// A changed field is stored in its own bytes and no other byte changes; a value outside its range
// is refused with every file as it was.
TEST_F(StaffPage, ChangedFieldsAreStoredInTheirOwnBytes) {
    const std::int32_t id = summary.manager;
    Patch(id, [](StaffRecord& r) { r.Set(StaffRecord::DislikedClubs[1], -5); });
    Open();
    Show(id);
    const struct {
        const char* control;
        const char* text;
        const char* refused;  // a text the save refuses first, and its message
        const char* message;
        bool inNonPlayer;  // else the person record
        std::size_t offset;
        Bytes stored;
    } edits[] = {
        {"NonPlayerMarking",
         "17",
         "21",
         "\"Marking\": this value must be in the range 0 to 20",
         true,
         26,
         {17}},
        {"NonPlayerIntCaps",
         "255",
         "256",
         "\"International Caps\": this value must be in the range 0 to 255",
         false,
         34,
         {255}},
        {"NonPlayerWage",
         "100000",
         "100001",
         "\"Wage\": this value must be in the range 0 to 100000",
         false,
         78,
         {0xA0, 0x86, 0x01, 0x00}},
        {"NonPlayerGoalkeeper",
         "20",
         "x",
         "'x' is not a valid integer value",
         true,
         35,
         {20, 0, 0, 0}},
        {"NonPlayerDayOB", "29", nullptr, nullptr, false, 16, {60, 0}},  // with month 2: 1 March
        {"NonPlayerMonthOB", "2", nullptr, nullptr, false, 16, {60, 0}},
        {"NonPlayerYearContractExp", "2008", nullptr, nullptr, false, 72, {0xD8, 0x07}},
        {"NonPlayerTemperament", "20", nullptr, nullptr, false, 93, {20}},
        {"NonPlayerCurrentAbility", "200", nullptr, nullptr, true, 4, {200, 0}},
        {"NonPlayerOffside", "3", nullptr, nullptr, true, 28, {3}},
        {"NonPlayerWingBack", "7", nullptr, nullptr, true, 63, {7, 0, 0, 0}},
    };
    const int caps = Person(id).bytes[34];
    const auto files = DataFiles();
    Bytes expected = ReadFile(File("staff.dat"));
    const std::size_t person = static_cast<std::size_t>(id) * kPerson, staff = NonPlayerAt(id);
    for (const auto& e : edits) {
        QLineEdit* field = Edit(e.control);
        field->setFocus();
        field->selectAll();
        if (e.refused) {
            QTest::keyClicks(field, e.refused);
            EXPECT_TRUE(Main().RecordChanged()) << "typing marks the record changed";
            ui::seam::Clear();
            Press("Save");
            EXPECT_EQ(LastText(), e.message);
            EXPECT_EQ(DataFiles(), files);
            ui::seam::Clear();
        }
        field->setText(e.text);
        const std::size_t at = (e.inNonPlayer ? staff : person) + e.offset;
        std::copy(e.stored.begin(), e.stored.end(), expected.begin() + static_cast<long>(at));
    }
    // A pick of "<empty>" over a negative slot stores -1.
    Pick("NonPLayerDisClubsChange", Line::Of(-1), "NonPlayerDisClubs", 1);
    PutI32(expected, person + 113, -1);
    SaveData();
    EXPECT_EQ(ReadFile(File("staff.dat")), expected);

    // The page shows what was stored: typing the old text back is a change again.
    Edit("NonPlayerIntCaps")->setText(QString::number(caps));
    SaveData();
    EXPECT_EQ(Person(id).bytes[34], caps);
}

// A pick stores the record picked, the second of two equal names too; untouched, a reference
// keeps its record although a lookup by its name would find another.
TEST_F(StaffPage, APickIntoEachFieldStoresTheRecordPicked) {
    const auto [athletic, secondAthletic] = summary.clubsSharingShortName;
    const std::int32_t id = summary.manager;
    Patch(id, [&](StaffRecord& r) { r.Set(StaffRecord::FavouriteClubs[0], secondAthletic); });
    const struct {
        int code;
        const char* button;
        std::int32_t record;
        std::size_t offset;  // in the person record; 0: a move target
        const char* list;
        int line;
    } picks[] = {
        {29, "NonPlayerFirstNameChange", 3, 4, nullptr, -1},
        {30, "NonPlayerSecondNameChange", summary.secondNamesAlike.second, 8, nullptr, -1},
        {31, "NonPlayerCommonNameChange", 2, 12, nullptr, -1},
        {32, "NonPlayerNationChange", 1, 26, nullptr, -1},
        {33, "NonPlayerSecondNationChange", -1, 30, nullptr, -1},
        {34, "NonPlayerNewNationChange", 2, 0, nullptr, -1},
        {35, "NonPlayerNewClubChange", secondAthletic, 0, nullptr, -1},
        {36, "NonPLayerFavClubsChange", secondAthletic, 97 + 8, "NonPlayerFavClubs", 2},
        {37, "NonPLayerDisClubsChange", athletic, 109 + 4, "NonPlayerDisClubs", 1},
        {38, "NonPLayerFavStaffChange", summary.nationalManager, 121, "NonPlayerFavStaff", 0},
        {39, "NonPLayerDisStaffChange", summary.freeStaff, 133 + 8, "NonPlayerDisStaff", 2},
    };
    Open();
    Show(id);
    for (const auto& p : picks) {
        SCOPED_TRACE(p.code);
        Pick(p.button, Line::Of(p.record), p.list, p.line);
        const auto* info = ui::ChangeCodeOf(p.code);
        EXPECT_EQ(Main().RecordChanged(), p.offset != 0);
        if (p.offset == 0) {
            EXPECT_EQ(Edit(info->target.data())->property(ui::kRecordProperty).toInt(), p.record);
            continue;
        }
        SaveData();
        EXPECT_EQ(
            GetI32(ReadFile(File("staff.dat")), static_cast<std::size_t>(id) * kPerson + p.offset),
            p.record);
    }
    EXPECT_EQ(Person(id).Get(StaffRecord::FavouriteClubs[0]), secondAthletic);
}

TEST_F(StaffPage, APersonWithoutAStaffRecordIsRefusedBeforeAnythingIsShown) {
    const std::int32_t outside[] = {-1, summary.nonPlayers, 1 << 30};
    const ClubRecord coaches = Club(summary.clubWithFullPosts);
    for (std::size_t i = 0; i < 3; ++i)
        Patch(coaches.Get(ClubRecord::Coaches[i]),
              [&](StaffRecord& r) { r.Set(StaffRecord::NonPlayerIndex, outside[i]); });
    Open();
    Show(summary.manager);
    const Bytes staged = ReadFile(File("nonplayer.dat"));
    for (std::size_t i = 0; i < 3; ++i) {
        ui::seam::Clear();
        Find<QRadioButton>("NonPlayerRad")->click();
        Choose(Label(coaches.Get(ClubRecord::Coaches[i])));
        EXPECT_EQ(LastText(), "This person has no staff record");
        EXPECT_EQ(Text("NonPlayerId1"), QString::number(summary.manager));
        EXPECT_EQ(Main().Staff().StaffRec.Get(StaffRecord::Id), summary.manager);
        EXPECT_EQ(ReadFile(File("nonplayer.dat")), staged);
    }
}

// --- moves ---------------------------------------------------------------------------------------

struct ClubMove {
    const char* name;
    // Prepares the files; gives the person moved and the club picked as the new club (-1: none).
    std::function<std::pair<std::int32_t, std::int32_t>(StaffPage&)> setUp;
    bool release = false;  // "Release Staff From Club" rather than "Transfer Staff"
    bool refused = false;
    // Further checks, given the person, the club left and the club joined.
    std::function<void(StaffPage&, std::int32_t, std::int32_t, std::int32_t)> check = nullptr;
};

void PrintTo(const ClubMove& move, std::ostream* os) {
    *os << move.name;
}

const ClubMove kClubMoves[] = {
    {
        "ManagerToAClubWithoutOne",
        [](StaffPage& t) {
            return std::pair{t.Sample().manager, t.Sample().clubWithoutManager};
        },
    },
    {"ScoutToAFullScoutList",
     [](StaffPage& t) {
         const std::int32_t full = t.Sample().clubWithFullPosts;
         return std::pair{t.FindPerson([&](const StaffRecord& r) {
                              return r.Get(StaffRecord::ClubJob) == 9 &&
                                     r.Get(StaffRecord::Club) >= 0 &&
                                     r.Get(StaffRecord::Club) != full;
                          }),
                          full};
     },
     false, true},
    {"EmptyNewClubReleases",
     [](StaffPage& t) {
         return std::pair{t.Sample().manager, -1};
     }},
    {"ReleaseLeavesThePickedClubAlone",
     [](StaffPage& t) {
         return std::pair{t.Sample().manager, t.Sample().clubWithoutManager};
     },
     true},
    {
        "JobCodeSevenIsReleasedNotAppointed",
        [](StaffPage& t) {
            return std::pair{t.Sample().noPostStaff, t.Sample().clubWithoutManager};
        },
    },
    {"MoveToTheOwnClubTakesTheFirstVacantSlot",
     [](StaffPage& t) {
         const std::int32_t gaps = t.Sample().clubWithGaps;
         EXPECT_EQ(t.Club(gaps).Get(ClubRecord::Coaches[0]), -1);
         return std::pair{t.Club(gaps).Get(ClubRecord::Coaches[3]), gaps};
     },
     false, false,
     [](StaffPage& t, std::int32_t id, std::int32_t left, std::int32_t) {
         EXPECT_EQ(t.Club(left).Get(ClubRecord::Coaches[0]), id);
         EXPECT_EQ(t.Club(left).Get(ClubRecord::Coaches[3]), -1);
     }},
    {"PhysioSlotsThreeAndFourAreLeftAlone",
     [](StaffPage& t) {
         const std::int32_t full = t.Sample().clubWithFullPosts;
         const std::int32_t id = t.Club(full).Get(ClubRecord::Physios[0]);
         t.PatchAt("club.dat", full * kClub,
                   [&](ClubRecord& c) { c.Set(ClubRecord::Physios[3], id); });
         return std::pair{id, t.Sample().clubWithoutManager};
     },
     false, false,
     [](StaffPage& t, std::int32_t id, std::int32_t left, std::int32_t joined) {
         EXPECT_EQ(t.Club(left).Get(ClubRecord::Physios[0]), -1);
         EXPECT_EQ(t.Club(left).Get(ClubRecord::Physios[3]), id);
         EXPECT_EQ(t.Club(joined).Get(ClubRecord::Physios[0]), id);
     }},
    {"PhysioRefusedWhileSlotsZeroToTwoAreTaken",
     [](StaffPage& t) {
         const std::int32_t full = t.Sample().clubWithFullPosts;
         EXPECT_LT(t.Club(full).Get(ClubRecord::Physios[3]), 0);
         return std::pair{t.FindPerson([&](const StaffRecord& r) {
                              return r.Get(StaffRecord::ClubJob) == 10 &&
                                     r.Get(StaffRecord::Club) != full;
                          }),
                          full};
     },
     false, true},
    {"AClubOutsideTheFileHoldsNoPost",
     [](StaffPage& t) {
         const std::int32_t id = t.Sample().manager;
         t.Patch(id, [&](StaffRecord& r) { r.Set(StaffRecord::Club, t.Sample().clubs + 5); });
         return std::pair{id, t.Sample().clubWithoutManager};
     }},
};

class StaffClubMove : public StaffPage, public ::testing::WithParamInterface<ClubMove> {};

TEST_P(StaffClubMove, WritesThePostsAndThePersonOrNothing) {
    const ClubMove& c = GetParam();
    const auto [id, picked] = c.setUp(*this);
    ASSERT_GE(id, 0);
    const std::int32_t left = Person(id).Get(StaffRecord::Club);
    const std::int32_t joined = c.release ? -1 : picked;
    Open();
    Show(id);
    ui::seam::Clear();  // a club outside the file is reported by the show
    const QString shown = Text("NonPlayerCurrentClub");
    if (picked >= 0) Pick("NonPlayerNewClubChange", Line::Of(picked));
    const auto before = DataFiles();
    const Bytes staffBefore = ReadFile(File("staff.dat"));
    const Bytes clubsBefore = ReadFile(File("club.dat"));

    Press(c.release ? "NonPlayerClubRelease" : "NonPlayerClubTransfer");
    EXPECT_TRUE(Text("NonPlayerNewClub").isEmpty());
    EXPECT_FALSE(Main().RecordChanged());
    if (c.refused) {
        ASSERT_NE(LastAsked(), nullptr);
        EXPECT_EQ(LastAsked()->caption, "Double Appointment");
        EXPECT_EQ(LastText(), "This Job Is Already Held By Another Staff Member");
        EXPECT_EQ(DataFiles(), before);
        EXPECT_EQ(Text("NonPlayerCurrentClub"), shown);
        EXPECT_EQ(Main().Staff().StaffRec.Get(StaffRecord::Club), left);
        return;
    }
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_EQ(Person(id).Get(StaffRecord::Club), joined);
    for (std::size_t i : Changed(staffBefore, ReadFile(File("staff.dat"))))
        EXPECT_TRUE(i >= id * kPerson + 57 && i < id * kPerson + 61) << "byte " << i;
    const db::Post post = db::PostOfJob(Person(id).Get(StaffRecord::ClubJob));
    for (std::size_t i : Changed(clubsBefore, ReadFile(File("club.dat")))) {
        const auto club = static_cast<std::int32_t>(i / kClub);
        EXPECT_TRUE(club == left || (club == joined && post != db::Post::kNone)) << "club " << club;
    }
    // Out of every post of the club left; into the post of the job code at the club joined.
    if (left >= 0 && left < summary.clubs && left != joined) {
        for (db::Post post : db::kClubPosts)
            for (db::I32 f : db::AppointableSlots(post)) EXPECT_NE(Club(left).Get(f), id);
    }
    if (joined >= 0 && post != db::Post::kNone) {
        const auto places = db::AppointableSlots(post);
        EXPECT_EQ(std::count_if(places.begin(), places.end(),
                                [&](db::I32 f) { return Club(joined).Get(f) == id; }),
                  1);
    }
    EXPECT_EQ(Text("NonPlayerCurrentClub"), joined >= 0 ? ShortName(joined) : "Free Tansfer");
    if (c.check) c.check(*this, id, left, joined);
    // The page's next save writes the club of the move with it.
    Main().StadNameChange();
    SaveData();
    EXPECT_EQ(Person(id).Get(StaffRecord::Club), joined);
}

INSTANTIATE_TEST_SUITE_P(StaffMoves, StaffClubMove, ::testing::ValuesIn(kClubMoves),
                         [](const ::testing::TestParamInfo<ClubMove>& p) { return p.param.name; });

TEST_F(StaffPage, NationMovesWriteOnlyThePersonsEmployer) {
    const std::int32_t id = summary.nationalManager;
    const std::size_t at = static_cast<std::size_t>(id) * kPerson;
    Open();
    Show(id);
    const struct {
        std::int32_t picked;  // -1: the field left empty
        const char* button;
        std::int32_t employer;
    } moves[] = {
        {3, "NonPlayerNationTransfer", 3},
        {-1, "NonPlayerNationTransfer", -1},
        {4, "NonPlayerNationTransfer", 4},
        {2, "NonPlayerNationRelease", -1},
    };
    for (const auto& m : moves) {
        if (m.picked >= 0) Pick("NonPlayerNewNationChange", Line::Of(m.picked));
        const auto before = DataFiles("staff.dat");
        const Bytes staffBefore = ReadFile(File("staff.dat"));
        Press(m.button);
        EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
        const Bytes after = ReadFile(File("staff.dat"));
        EXPECT_EQ(GetI32(after, at + 36), m.employer);
        EXPECT_EQ(after[at + 40], 5);
        for (std::size_t i : Changed(staffBefore, after))
            EXPECT_TRUE(i >= at + 36 && i <= at + 40) << "byte " << i;
        EXPECT_EQ(DataFiles("staff.dat"), before);
        const QString nation =
            m.employer < 0
                ? kEmpty
                : ui::FromCp1252(RecordAt<db::NationRecord>("nation.dat", m.employer * 290)
                                     .Get(db::NationRecord::ShortName));
        EXPECT_EQ(Text("NonPlayerCurrentNation"), nation);
        EXPECT_TRUE(Text("NonPlayerNewNation").isEmpty());
        EXPECT_FALSE(Main().RecordChanged());
    }
}

}  // namespace
}  // namespace vh::test
