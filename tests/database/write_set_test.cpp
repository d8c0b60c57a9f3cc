// The write path: commits through the rollback journal, recovery of a journal left behind, and
// the history that Undo and Redo walk. Files are written byte by byte into a temporary directory.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

#include "database/records/errors.h"
#include "database/records/record_file.h"
#include "database/write/history.h"
#include "database/write/journal.h"
#include "database/write/write_set.h"
#include "platform/fault.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

namespace fault = platform::fault;
using test::Bytes;
using test::ReadFile;
using test::Snapshot;
using test::TempDir;
using test::WriteFile;

Bytes Pattern(std::size_t n, unsigned seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + seed);
    return b;
}

// Two files of 10-byte "records" (club.dat has none of the game's size: it is named by bytes).
class WritePath : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFile(dir / "club.dat", Pattern(100, 1));
        WriteFile(dir / "staff.dat", Pattern(314, 2));  // two person records of 157 bytes
    }
    // A set touching both files, with an append past the end of club.dat.
    WriteSet Mixed() const {
        WriteSet set("Transfer of Berg, Tomas (1)");
        set.Put("\\club.dat", 20, Bytes(10, 0xAA));
        set.Put("\\staff.dat", 157, Bytes(157, 0xBB));
        set.Put("\\club.dat", 95, Bytes(15, 0xCC));  // 5 bytes inside, 10 appended
        return set;
    }
    bool JournalLeft() const { return std::filesystem::exists(dir / "vhedit.journal"); }

    TempDir dir;
};

TEST_F(WritePath, CommitWritesEveryChangeAndKeepsTheImages) {
    const Bytes club = ReadFile(dir / "club.dat");
    const CommittedSet done = Commit(dir.Str(), Mixed());
    EXPECT_FALSE(JournalLeft());
    ASSERT_EQ(done.changes.size(), 3u);
    EXPECT_EQ(done.changes[2].before, Bytes(club.begin() + 95, club.end()));
    EXPECT_EQ(done.changes[2].fileSizeBefore, 100);
    Bytes want = club;
    std::fill(want.begin() + 20, want.begin() + 30, 0xAA);
    want.resize(95);
    want.insert(want.end(), 15, 0xCC);
    EXPECT_EQ(ReadFile(dir / "club.dat"), want);
    const Bytes staff = ReadFile(dir / "staff.dat");
    EXPECT_EQ(Bytes(staff.begin() + 157, staff.end()), Bytes(157, 0xBB));
}

// A failure at any write or sync of the commit (journal included) leaves every file as it was
// and no journal: appends are cut off again. Only the directory's sync after the journal is gone
// comes too late to matter: the commit stands.
TEST_F(WritePath, AFailureAtAnyStepPutsTheFilesBack) {
    const auto before = Snapshot(dir.Path());
    Commit(dir.Str(), Mixed());
    const auto after = Snapshot(dir.Path());
    for (int nth = 1;; ++nth) {
        for (const auto& [name, bytes] : before) WriteFile(dir / name, bytes);
        fault::Scoped armed({fault::kWrite | fault::kSync, nth, fault::Kind::kError, EIO});
        bool threw = false;
        try {
            Commit(dir.Str(), Mixed());
        } catch (const EInOutError&) {
            threw = true;
        }
        if (!fault::Fired()) break;
        EXPECT_EQ(Snapshot(dir.Path()), threw ? before : after) << "failure at call " << nth;
        EXPECT_TRUE(threw || nth == fault::SeenSinceArm()) << nth;
    }
}

// A kill cannot tell a journal still in the page cache from one on the disc; a power cut can. So
// the order itself: the journal written, synced and its directory entry synced; only then the
// data written and synced; then the journal deleted and the directory synced. Undo's cut too.
TEST_F(WritePath, TheJournalIsOnTheDiscBeforeTheFirstDataByteAndGoesAfterTheLast) {
    using fault::kRemove, fault::kSync, fault::kWrite;
    auto order = [](int dataWrites, int files) {
        std::vector<fault::Op> v{kWrite, kSync, kSync};
        v.insert(v.end(), static_cast<std::size_t>(dataWrites), kWrite);
        v.insert(v.end(), static_cast<std::size_t>(files), kSync);
        v.insert(v.end(), {kRemove, kSync});
        return v;
    };
    WriteHistory h;
    {
        fault::Scoped tracing({kWrite | kSync | kRemove, 0});
        h.Commit(dir.Str(), Mixed());
        EXPECT_EQ(fault::Trace(), order(3, 2));
    }
    fault::Scoped tracing({kWrite | kSync | kRemove, 0});
    h.Undo(dir.Str());
    EXPECT_EQ(fault::Trace(), order(4, 2));  // three before-images and the cut of the append
}

TEST_F(WritePath, AGapOrAPendingJournalRefusesBeforeAnythingIsWritten) {
    const auto before = Snapshot(dir.Path());
    WriteSet gap("gap");
    gap.Put("\\club.dat", 101, Bytes(1, 0));
    EXPECT_THROW(Commit(dir.Str(), gap), EInOutError);
    EXPECT_EQ(Snapshot(dir.Path()), before);

    WriteFile(dir / "vhedit.journal", Bytes{1, 2, 3});
    const auto withJournal = Snapshot(dir.Path());
    try {
        Commit(dir.Str(), Mixed());
        ADD_FAILURE() << "committed beside another journal";
    } catch (const EDataError& e) {
        EXPECT_STREQ(e.what(), kPendingJournalMessage);
    }
    EXPECT_EQ(Snapshot(dir.Path()), withJournal);
}

// Recovery of a journal left in the directory (the crash campaign kills real commits).
using Recover = WritePath;

TEST_F(Recover, ATornJournalIsDiscardedAndChangesNothing) {
    Journal j{"Save of Club Oslund", {{"\\club.dat", 100, 0, Bytes(10, 0x55)}}};
    const Bytes whole = EncodeJournal(j);
    Bytes flipped = whole;
    flipped[whole.size() / 2] ^= 1;
    for (const Bytes& torn : {Bytes(whole.begin(), whole.begin() + 5),
                              Bytes(whole.begin(), whole.end() - 1), flipped, Bytes{}}) {
        const auto data = Snapshot(dir.Path());
        WriteFile(dir / "vhedit.journal", torn);
        const Recovery r = RecoverJournal(dir.Str());
        EXPECT_EQ(r.outcome, Recovery::Outcome::kTorn);
        EXPECT_EQ(r.Notice(), "");
        EXPECT_FALSE(JournalLeft());
        EXPECT_EQ(Snapshot(dir.Path()), data);
    }
}

TEST_F(Recover, AJournalThatCannotBeRolledBackChangesNothing) {
    Journal j{"Save of Club Oslund", {{"\\club.dat", 100, 0, Bytes(10, 0x55)}}};
    WriteFile(dir / "vhedit.journal", EncodeJournal(j));
    const auto data = Snapshot(dir.Path());
    {
        // Reading the journal is allowed; opening it for writing is not, as on a read-only medium.
        fault::Scoped readOnly({fault::kOpen, 2, fault::Kind::kError, EROFS, true});
        const Recovery r = RecoverJournal(dir.Str());
        EXPECT_EQ(r.outcome, Recovery::Outcome::kReadOnly);
        EXPECT_NE(r.Notice().find("cannot be undone because the data directory cannot be written"),
                  std::string::npos);
    }
    EXPECT_EQ(Snapshot(dir.Path()), data);
}

TEST_F(WritePath, AnOpenRecordFileReadsWhatACommitWrote) {
    RecordFile staff;
    staff.Bind(dir.Str() + "\\staff.dat");
    staff.Reset(157);
    std::array<std::uint8_t, 157> rec{};
    staff.Read(rec);  // fills the read-ahead buffer with both records
    Commit(dir.Str(), Mixed());
    staff.Seek(1);
    staff.Read(rec);
    EXPECT_EQ(Bytes(rec.begin(), rec.end()), Bytes(157, 0xBB));
}

// Undo takes a set back byte for byte (appends cut off), Redo writes it again.
TEST_F(WritePath, UndoAndRedoWalkTheHistory) {
    const auto before = Snapshot(dir.Path());
    WriteHistory h;
    h.Commit(dir.Str(), Mixed());
    const auto after = Snapshot(dir.Path());
    EXPECT_EQ(h.UndoLabel(), "Transfer of Berg, Tomas (1)");

    h.Undo(dir.Str());
    EXPECT_EQ(Snapshot(dir.Path()), before);
    EXPECT_FALSE(h.CanUndo());
    EXPECT_EQ(h.RedoLabel(), "Transfer of Berg, Tomas (1)");
    h.Redo(dir.Str());
    EXPECT_EQ(Snapshot(dir.Path()), after);

    // A new commit after an undo clears Redo.
    h.Undo(dir.Str());
    WriteSet other("Save of Club Oslund");
    other.Put("\\club.dat", 0, Bytes(4, 9));
    h.Commit(dir.Str(), other);
    EXPECT_FALSE(h.CanRedo());
}

// Undo and Redo write nothing over what changed after them: a record the set wrote, changed
// since; or records appended behind the set's own append, which its cut would take along.
TEST_F(WritePath, UndoAndRedoRefuseOverLaterChanges) {
    const auto start = Snapshot(dir.Path());
    auto later = [&](const char* file, std::int64_t offset) {
        return [this, file, offset] {
            WriteSet other("Save of Club Oslund");
            other.Put(file, offset, Bytes(10, 0x77));
            Commit(dir.Str(), other);
        };
    };
    struct Case {
        const char* what;
        bool redo;
        std::function<void()> meddle;
    };
    const std::vector<Case> cases = {
        {"a record changed, then Undo", false, later("\\staff.dat", 160)},
        {"records appended behind the append, then Undo", false, later("\\club.dat", 110)},
        {"a record changed after Undo, then Redo", true, later("\\staff.dat", 160)},
        {"the appended range written after Undo, then Redo", true, later("\\club.dat", 100)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& [name, bytes] : start) WriteFile(dir / name, bytes);
        WriteHistory h;
        h.Commit(dir.Str(), Mixed());
        if (c.redo) h.Undo(dir.Str());
        c.meddle();
        const auto meddled = Snapshot(dir.Path());
        try {
            c.redo ? h.Redo(dir.Str()) : h.Undo(dir.Str());
            ADD_FAILURE() << "wrote over a later change";
        } catch (const EDataError& e) {
            EXPECT_NE(std::string(e.what()).find("has been changed since"), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(Snapshot(dir.Path()), meddled);
        EXPECT_TRUE(c.redo ? h.CanRedo() : h.CanUndo());
    }
}

}  // namespace
}  // namespace vh::db
