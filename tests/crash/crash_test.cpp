// The crash campaign: each command that writes several records runs in a child process that is
// killed (SIGKILL) just before its N-th write, sync or delete, for N = 1, 2, ... until the command
// completes without reaching N. After every kill the recovery of the next load runs; the data
// files must then equal, byte for byte, the state before the command or the state after it, with
// no journal left and the integrity check finding exactly what it finds in that state.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <iostream>
#include <string>

#include "database/model/blocks.h"
#include "database/model/check.h"
#include "database/model/squad.h"
#include "database/records/data_def.h"
#include "database/records/file_set.h"
#include "database/records/person.h"
#include "database/records/record_file.h"
#include "database/write/journal.h"
#include "database/write/write_set.h"
#include "platform/fault.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh::db {
namespace {

namespace fs = std::filesystem;
namespace fault = platform::fault;
using test::Bytes;

template <class R>
R Read(const std::string& dir, std::string_view file, std::int64_t n) {
    RecordFile f;
    f.Bind(dir + std::string(file));
    f.Reset(static_cast<int>(R::kSize), Access::kReadOnly);
    f.Seek(n);
    R rec;
    f.Read(rec.bytes);
    return rec;
}

std::int64_t Count(const std::string& dir, std::string_view file, int size) {
    RecordFile f;
    f.Bind(dir + std::string(file));
    f.Reset(size, Access::kReadOnly);
    return f.RecordCount();
}

// The first person the predicate accepts.
StaffRecord FindPerson(const std::string& dir, const std::function<bool(const StaffRecord&)>& ok) {
    const std::int64_t n = Count(dir, kStaffFile, StaffRecord::kSize);
    for (std::int64_t i = 0; i < n; ++i) {
        const auto p = Read<StaffRecord>(dir, kStaffFile, i);
        if (p.Get(StaffRecord::Id) == i && ok(p)) return p;
    }
    throw std::runtime_error("the sample has no such person");
}

bool IsPlayer(const StaffRecord& p) {
    const int job = p.Get(StaffRecord::ClubJob);
    return p.Get(StaffRecord::PlayerIndex) >= 0 && (job == 0 || (job >= 11 && job <= 16));
}

void CommitMove(const std::string& dir, const MoveResult& move, const std::string& label) {
    if (move.refusal) throw std::runtime_error(*move.refusal);
    WriteSet set(label);
    PutMove(move, set);
    Commit(dir, set);
}

std::optional<ClubRecord> ClubOf(const std::string& dir, std::int32_t n) {
    if (n < 0) return std::nullopt;
    return Read<ClubRecord>(dir, kClubFile, n);
}

// --- the commands, as the pages build their write sets ------------------------------------------

void PlayerSave(const std::string& dir) {
    StaffRecord p = FindPerson(
        dir, [](const StaffRecord& s) { return IsPlayer(s) && s.Get(StaffRecord::Club) >= 0; });
    ScratchFiles scratch;
    BlockPlace place;
    PlayerRecord rec = GetPlayerData(dir, p.Get(StaffRecord::PlayerIndex), place, scratch);
    p.Set(StaffRecord::Wage, p.Get(StaffRecord::Wage) + 1);
    rec.Set(PlayerRecord::Finishing,
            static_cast<std::uint8_t>(rec.Get(PlayerRecord::Finishing) ^ 1));
    WriteSet set("Save of Player");
    set.PutRecord(kStaffFile, p.Get(StaffRecord::Id), p);
    PutPlayerData(dir, rec, place, scratch, set);
    Commit(dir, set);
}

void StaffSave(const std::string& dir) {
    StaffRecord p = FindPerson(dir, [](const StaffRecord& s) {
        return !IsPlayer(s) && s.Get(StaffRecord::NonPlayerIndex) >= 0;
    });
    ScratchFiles scratch;
    BlockPlace place;
    NonPlayerRecord rec = GetNonPlayerData(dir, p.Get(StaffRecord::NonPlayerIndex), place, scratch);
    p.Set(StaffRecord::Wage, p.Get(StaffRecord::Wage) + 1);
    rec.Set(NonPlayerRecord::Tactics,
            static_cast<std::uint8_t>(rec.Get(NonPlayerRecord::Tactics) ^ 1));
    WriteSet set("Save of Staff");
    set.PutRecord(kStaffFile, p.Get(StaffRecord::Id), p);
    PutNonPlayerData(dir, rec, place, scratch, set);
    Commit(dir, set);
}

void Transfer(const std::string& dir) {
    const StaffRecord p = FindPerson(
        dir, [](const StaffRecord& s) { return IsPlayer(s) && s.Get(StaffRecord::Club) >= 0; });
    const std::int32_t from = p.Get(StaffRecord::Club);
    const std::optional<ClubRecord> left = ClubOf(dir, from);
    const auto clubs = static_cast<std::int32_t>(Count(dir, kClubFile, ClubRecord::kSize));
    for (std::int32_t to = 0; to < clubs; ++to) {
        if (to == from) continue;
        const ClubRecord joined = Read<ClubRecord>(dir, kClubFile, to);
        const MoveResult move = TransferPlayer(p, to, &*left, &joined);
        if (move.refusal) continue;
        return CommitMove(dir, move, "Transfer");
    }
    throw std::runtime_error("no club takes the player");
}

void Release(const std::string& dir) {
    const StaffRecord p = FindPerson(
        dir, [](const StaffRecord& s) { return IsPlayer(s) && s.Get(StaffRecord::Club) >= 0; });
    const std::optional<ClubRecord> left = ClubOf(dir, p.Get(StaffRecord::Club));
    CommitMove(dir, TransferPlayer(p, -1, &*left, nullptr), "Release");
}

void ClubAppointment(const std::string& dir) {
    const auto clubs = static_cast<std::int32_t>(Count(dir, kClubFile, ClubRecord::kSize));
    const std::int64_t people = Count(dir, kStaffFile, StaffRecord::kSize);
    for (std::int64_t i = 0; i < people; ++i) {
        const auto p = Read<StaffRecord>(dir, kStaffFile, i);
        const std::int32_t from = p.Get(StaffRecord::Club);
        if (from < 0 || PostOfJob(p.Get(StaffRecord::ClubJob)) == Post::kNone) continue;
        const std::optional<ClubRecord> left = ClubOf(dir, from);
        for (std::int32_t to = 0; to < clubs; ++to) {
            if (to == from) continue;
            const ClubRecord target = Read<ClubRecord>(dir, kClubFile, to);
            const MoveResult move = MoveStaffToClub(p, to, &*left, &target);
            if (!move.refusal) return CommitMove(dir, move, "Appointment");
        }
    }
    throw std::runtime_error("no club has a vacant post");
}

void NationAppointment(const std::string& dir) {
    const StaffRecord p = FindPerson(dir, [](const StaffRecord& s) { return !IsPlayer(s); });
    MoveResult move;
    move.person = MoveStaffToNation(p, (p.Get(StaffRecord::NationEmployer) + 1) % 3);
    CommitMove(dir, move, "Nation appointment");
}

// Bytes no field names, in many records of three files, and a record appended to a fourth:
// an import's shape.
void LargeSet(const std::string& dir) {
    WriteSet set("Import");
    const std::int64_t people =
        std::min<std::int64_t>(Count(dir, kStaffFile, StaffRecord::kSize), 60);
    for (std::int64_t i = 0; i < people; ++i)
        set.Put(kStaffFile, i * StaffRecord::kSize + 20, Bytes(6, static_cast<std::uint8_t>(i)));
    const std::int64_t clubs = std::min<std::int64_t>(Count(dir, kClubFile, ClubRecord::kSize), 40);
    for (std::int64_t i = 0; i < clubs; ++i)
        set.Put(kClubFile, i * ClubRecord::kSize + 96, Bytes(4, static_cast<std::uint8_t>(i)));
    const std::int64_t nations =
        std::min<std::int64_t>(Count(dir, "\\nation.dat", NationRecord::kSize), 20);
    for (std::int64_t i = 0; i < nations; ++i)
        set.Put("\\nation.dat", i * NationRecord::kSize + 285,
                Bytes(4, static_cast<std::uint8_t>(i)));
    const std::int64_t comps = Count(dir, "\\clubcomp.dat", 1);
    set.Put("\\clubcomp.dat", comps, Bytes(ClubCompRecord::kSize, 0x5A));
    Commit(dir, set);
}

// --- the campaign --------------------------------------------------------------------------------

using State = std::vector<std::pair<std::string, Bytes>>;

// The data files (the editor's scratch files aside) and whether a journal is there.
State DataFiles(const fs::path& dir) {
    State s = test::Snapshot(dir);
    std::erase_if(s, [](const auto& f) {
        return f.first == "index2.dat" || f.first == "player.dat" || f.first == "nonplayer.dat";
    });
    return s;
}

std::vector<std::string> Findings(const fs::path& dir) {
    std::vector<std::string> out;
    for (const Finding& f : CheckDataDirectory(dir.string()).findings)
        out.push_back(f.file + " " + std::to_string(f.record) + " " + f.field + " " + f.message);
    return out;
}

void CopyDir(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

struct Command {
    const char* name;
    void (*run)(const std::string& dir);
};

void PrintTo(const Command& c, std::ostream* os) {
    *os << c.name;
}

class CrashCampaign : public ::testing::TestWithParam<Command> {};

TEST_P(CrashCampaign, EveryKillLeavesTheFilesBeforeOrAfterTheCommand) {
    test::TempDir tmp;
    const fs::path base = tmp / "base", work = tmp / "work";
    sample::WriteSample(base, sample::SampleOptions{});
    const State before = DataFiles(base);
    const auto beforeFindings = Findings(base);
    CopyDir(base, work);
    GetParam().run(work.string());
    const State after = DataFiles(work);
    ASSERT_NE(before, after) << "the command changed nothing";
    const auto afterFindings = Findings(work);

    int kills = 0;
    for (int n = 1;; ++n) {
        CopyDir(base, work);
        std::cout.flush();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            fault::Arm({fault::kWrite | fault::kSync | fault::kRemove, n, fault::Kind::kKill});
            try {
                GetParam().run(work.string());
            } catch (...) {
                _exit(3);
            }
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
            << "the command failed at kill point " << n;

        RecoverJournal(work.string());
        const State now = DataFiles(work);
        const bool isBefore = now == before;
        EXPECT_TRUE(isBefore || now == after)
            << GetParam().name << ": kill point " << n << " leaves the files half written";
        EXPECT_EQ(Findings(work), isBefore ? beforeFindings : afterFindings) << n;
        if (!killed) {
            EXPECT_EQ(now, after) << "the command completed, yet the files are not as after it";
            break;
        }
        ++kills;
    }
    std::cout << "[ crash    ] " << GetParam().name << ": " << kills << " kill points\n";
    EXPECT_GT(kills, 3);
}

INSTANTIATE_TEST_SUITE_P(Commands, CrashCampaign,
                         ::testing::Values(Command{"player save", PlayerSave},
                                           Command{"staff save", StaffSave},
                                           Command{"transfer", Transfer},
                                           Command{"release", Release},
                                           Command{"appointment to a club", ClubAppointment},
                                           Command{"appointment to a nation", NationAppointment},
                                           Command{"large multi-file write set", LargeSet}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             std::replace_if(
                                 n.begin(), n.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return n;
                         });

}  // namespace
}  // namespace vh::db
