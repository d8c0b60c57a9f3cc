// One editing session through the real windows, in a data folder whose name has spaces and
// letters beyond ASCII: edits on two pages, a transfer, an appointment, saves and an Undo. With
// VH_SESSION_OUT set, the folder as the session leaves it is copied there, so that the runs of
// two systems can be compared byte for byte. Also the --load and --search start actions.
#include <QLineEdit>
#include <QListWidget>

#include "database/records/data_def.h"
#include "dialogs/qtext.h"
#include "editor/pages/staff_page.h"
#include "editor_fixture.h"

namespace vh::test {
namespace {

using db::ClubRecord;
using db::StaffRecord;

class Session : public EditorTest {
  protected:
    void SetUp() override {
        ui::seam::Clear();
        data = Utf8Path(dir.Path(), "Varnholt Daten \xc5\x81\xc3\xb3\x64\xc5\xba \xe2\x82\xac");
        std::filesystem::create_directories(data);
        sample::SampleOptions options;
        options.sharedNames = true;
        summary = sample::WriteSample(data, options);
        windows = ui::CreateWindows(ui::StartOptions{QString::fromStdU16String(data.u16string())});
    }
    StaffRecord Person(std::int32_t id) {
        StaffRecord r;
        const Bytes b = ReadFile(data / "staff.dat");
        std::memcpy(r.bytes.data(), b.data() + id * 157LL, StaffRecord::kSize);
        return r;
    }
    ClubRecord Club(std::int32_t n) {
        ClubRecord r;
        const Bytes b = ReadFile(data / "club.dat");
        std::memcpy(r.bytes.data(), b.data() + n * 581LL, ClubRecord::kSize);
        return r;
    }
    std::filesystem::path data;
};

TEST_F(Session, EditsMovesSavesAndUndoLeaveTheExpectedFiles) {
    const std::int32_t player = summary.player, manager = summary.manager;
    const std::int32_t club = summary.clubWithGaps, vacant = summary.clubWithoutManager;
    Load();

    // The player page: a typed value saved, then a transfer.
    Find<QRadioButton>("PlayerRad")->click();
    Choose(Main().Players().GetStaffName(player));
    Edit("PlayerWage")->setText("1234");
    SaveData();
    Edit("PlayerNewClub")->setText(QStringLiteral("Athletic"));
    Find<QPushButton>("TransferPlayer")->click();
    ASSERT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_EQ(Person(player).Get(StaffRecord::Club), summary.clubsSharingShortName.first);

    // The club page: a typed value saved.
    Action("ClubMenu")->trigger();
    Find<QRadioButton>("Clubrad")->click();
    Choose(ui::FromCp1252(Club(club).Get(ClubRecord::ShortName)));
    Edit("ClubCash")->setText("777");
    SaveData();

    // The staff page: the manager appointed at the club without one, then taken back.
    Action("NonPlayerMenu")->trigger();
    Find<QRadioButton>("NonPlayerRad")->click();
    Choose(Main().Staff().GetStaffName(manager));
    Pick("NonPlayerNewClubChange", Line::Of(vacant));
    const Bytes clubsBefore = ReadFile(data / "club.dat");
    Find<QPushButton>("NonPlayerClubTransfer")->click();
    ASSERT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_EQ(Club(vacant).Get(ClubRecord::Manager), manager);
    Action("UndoMenu")->trigger();
    ASSERT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
    EXPECT_EQ(ReadFile(data / "club.dat"), clubsBefore);
    EXPECT_EQ(Person(player).Get(StaffRecord::Club), summary.clubsSharingShortName.first);
    EXPECT_EQ(Club(club).Get(ClubRecord::Cash), 777);

    const QString out = qEnvironmentVariable("VH_SESSION_OUT");
    if (out.isEmpty()) return;
    windows = ui::Windows{};  // the editor closed, as a user would before comparing
    const std::filesystem::path to(out.toStdU16String());
    std::filesystem::remove_all(to);
    std::filesystem::copy(data, to, std::filesystem::copy_options::recursive);
}

TEST_F(EditorTest, StartActionsLoadAndShowTheFirstPlayerFound) {
    QStringList args = {QStringLiteral("vhstad"), QStringLiteral("--search")};
    ui::StartOptions options;
    QString error;
    EXPECT_FALSE(ui::ParseArguments(args, options, error));
    EXPECT_EQ(error, "--search needs a text");

    // Nothing asked for: nothing loaded.
    ui::RunStartActions(Main(), options);
    EXPECT_FALSE(Main().DataLoaded());
    // The player's label is "second, first (Id)": his whole label finds him first.
    Load();
    const QString label = Main().Players().GetStaffName(summary.player);
    windows = ui::CreateWindows(ui::StartOptions{QString::fromStdString(dir.Str())});
    args << label;
    ASSERT_TRUE(ui::ParseArguments(args, options, error)) << error.toStdString();
    ui::RunStartActions(Main(), options);
    ASSERT_TRUE(Main().DataLoaded());
    EXPECT_EQ(Edit("PlayerId1")->text(), QString::number(summary.player));
    EXPECT_FALSE(Main().RecordChanged());
    EXPECT_TRUE(ui::seam::Log().empty()) << LastText().toStdString();
}

}  // namespace
}  // namespace vh::test
