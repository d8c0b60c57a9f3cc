// A data folder shared with other programs: a journal this editor never wrote is not obeyed by
// any command, a second writer waits for the first, and a plan whose records changed since it
// read them writes nothing.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include "database/write/journal.h"
#include "database/write/write_set.h"
#include "platform/fault.h"
#include "run_vhtool.h"
#include "support/hostile_journals.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::ReadFile;
using test::TempDir;

// Another process's hold of the folder's lock: a handle of its own on vhedit.lock, which locks
// out this process as it would another.
class ForeignLock {
  public:
    explicit ForeignLock(const fs::path& dir) {
#ifdef _WIN32
        h_ = ::CreateFileW((dir / "vhedit.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        OVERLAPPED at{};
        held_ = h_ != INVALID_HANDLE_VALUE &&
                ::LockFileEx(h_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
#else
        fd_ = ::open((dir / "vhedit.lock").c_str(), O_RDWR | O_CREAT, 0644);
        held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
#endif
    }
    ~ForeignLock() {
#ifdef _WIN32
        if (h_ != INVALID_HANDLE_VALUE) ::CloseHandle(h_);
#else
        if (fd_ >= 0) ::close(fd_);
#endif
    }
    bool Held() const {
        return held_;
    }

  private:
#ifdef _WIN32
    HANDLE h_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
    bool held_ = false;
};

class SharedFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(data);
        fs::create_directory(outside);
        sample::WriteSample(data, {});
        test::MakeVictims(outside);
        db::SetLockWait(std::chrono::milliseconds(150));
    }
    void TearDown() override { db::SetLockWait(std::chrono::milliseconds(2000)); }
    std::string Data() const { return data.string(); }

    TempDir root;
    fs::path data = root / "data", outside = root / "outside";
};

TEST_F(SharedFolder, AHostileJournalIsObeyedByNoCommand) {
    const auto csv = Vhtool({"export", Data(), "stadiums"}).out;
    test::WriteFile(outside / "stadiums.csv", csv);
    for (const test::HostileJournal& h : test::HostileJournals()) {
        SCOPED_TRACE(h.name);
        TempDir fresh;
        const fs::path d = fresh / "data", o = fresh / "outside";
        fs::create_directory(o);
        fs::copy(data, d, fs::copy_options::recursive);
        test::MakeVictims(o);
        h.make(d, o);
        const auto before = test::Reachable(d, o);

        const auto start = std::chrono::steady_clock::now();
        const db::Recovery r = db::RecoverJournal(d.string());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(r.outcome, db::Recovery::Outcome::kRefused);
        EXPECT_NE(r.Notice().find("vhedit.journal, which this editor cannot have written"),
                  std::string::npos)
            << r.Notice();

        const Outcome check = Vhtool({"check", d.string()});
        EXPECT_NE(check.status, 0);
        EXPECT_NE(check.err.find("move vhedit.journal out of the folder"), std::string::npos)
            << check.err;
        const Outcome import =
            Vhtool({"import", d.string(), "stadiums", (outside / "stadiums.csv").string()});
        EXPECT_NE(import.status, 0);
        EXPECT_NE(import.err.find("nothing was written"), std::string::npos) << import.err;
        EXPECT_EQ(test::Reachable(d, o), before);
    }
}

// What a journal may still do: put back the end of a file an interrupted commit had cut off.
TEST_F(SharedFolder, AnInterruptedCutIsStillRolledBack) {
    const Bytes club = ReadFile(data / "club.dat");
    const auto n = static_cast<std::int64_t>(club.size());
    db::Journal j{"Undo Import", {{"\\club.dat", n, n - 581, Bytes(club.end() - 581, club.end())}}};
    test::WriteFile(data / "vhedit.journal", db::EncodeJournal(j));
    fs::resize_file(data / "club.dat", static_cast<std::uintmax_t>(n - 581));
    EXPECT_EQ(db::RecoverJournal(Data()).outcome, db::Recovery::Outcome::kRolledBack);
    EXPECT_EQ(ReadFile(data / "club.dat"), club);
}

TEST_F(SharedFolder, ASecondWriterWaitsThenWritesNothing) {
    const auto before = test::Snapshot(data);
    db::WriteSet set("Save of Club Oslund");
    set.Put("\\club.dat", 0, Bytes(8, 0x77));
    {
        const ForeignLock other(data);
        ASSERT_TRUE(other.Held());
        try {
            db::Commit(Data(), set);
            ADD_FAILURE() << "committed under another program's lock";
        } catch (const db::EBusyError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Another program is writing to " + data.string() +
                          ". Nothing was written; try again when it has finished.");
        }
        EXPECT_EQ(test::Snapshot(data), before);

        // A journal whose writer holds the lock is a commit under way, not an interrupted one.
        db::Journal j{"Import", {{"\\club.dat", 581, 0, Bytes(8, 0)}}};
        test::WriteFile(data / "vhedit.journal", db::EncodeJournal(j));
        const auto live = test::Snapshot(data);
        EXPECT_THROW(db::RecoverJournal(Data()), db::EBusyError);
        const Outcome check = Vhtool({"check", Data()});
        EXPECT_NE(check.status, 0);
        EXPECT_NE(check.err.find("Another program is writing"), std::string::npos) << check.err;
        EXPECT_EQ(test::Snapshot(data), live);
        fs::remove(data / "vhedit.journal");
    }
    db::Commit(Data(), set);  // the other program has finished: the lock is free
    const Bytes club = ReadFile(data / "club.dat");
    EXPECT_EQ(Bytes(club.begin(), club.begin() + 8), Bytes(8, 0x77));
}

TEST_F(SharedFolder, APlanWhoseRecordsChangedSinceItReadThemWritesNothing) {
    const Bytes club = ReadFile(data / "club.dat");
    const Bytes read(club.begin() + 12 * 581, club.begin() + 13 * 581);
    Bytes mine = read, theirs = read;
    mine[100] ^= 1;
    theirs[200] ^= 1;
    db::WriteSet set("Save of Club Oslund");
    set.Put("\\club.dat", 12 * 581, mine, read, "Club Oslund");
    set.Put("\\staff.dat", 0, Bytes(4, 0));  // the set is refused whole

    Bytes changed = club;
    std::copy(theirs.begin(), theirs.end(), changed.begin() + 12 * 581);
    test::WriteFile(data / "club.dat", changed);  // another program's commit
    const auto before = test::Snapshot(data);
    try {
        db::Commit(Data(), set);
        ADD_FAILURE() << "a stale plan was written";
    } catch (const db::EStaleError& e) {
        EXPECT_STREQ(e.what(),
                     "Club Oslund (club.dat record 12) was changed by another program since it "
                     "was read. Nothing was written.");
    }
    EXPECT_EQ(test::Snapshot(data), before);
}

// A disk that fills while the journal is written: nothing was touched, the journal goes, and the
// message says what to do rather than only naming vhedit.journal.
TEST_F(SharedFolder, ADiskFullWhileTheJournalIsWrittenLeavesNothingAndSaysWhatToDo) {
    const std::string players =
        Vhtool({"export", Data(), "players", "--where", "PLayerPace != 3"}).out;
    const std::size_t line = players.find('\n') + 1;
    const std::string record = players.substr(line, players.find(',', line) - line);
    test::WriteFile(outside / "pace.csv", "Record,PLayerPace\n" + record + ",3\n");
    const auto before = test::Snapshot(data);
    namespace fault = platform::fault;
    Outcome o;
    {
        fault::Scoped full({fault::kWrite, 1, fault::Kind::kShortThenError, ENOSPC});
        o = Vhtool({"import", Data(), "players", (outside / "pace.csv").string()});
    }
    EXPECT_NE(o.status, 0) << o.out;
    EXPECT_NE(o.err.find("Disk full (the disk that holds the directory is full: free some space "
                         "on it, then run the command again); nothing was written."),
              std::string::npos)
        << o.err;
    EXPECT_EQ(test::Snapshot(data), before);
    EXPECT_FALSE(fs::exists(data / "vhedit.journal"));
}

}  // namespace
}  // namespace vh
