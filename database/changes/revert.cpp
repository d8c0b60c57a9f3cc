#include "database/changes/revert.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

#include "database/changes/diff.h"
#include "database/records/data_def.h"
#include "database/records/errors.h"
#include "database/records/file_set.h"
#include "database/records/person.h"
#include "database/records/text.h"
#include "database/tables/table_data.h"
#include "database/write/backup.h"

namespace vh::db {

namespace {

// A person stands in the closure as a record of staff.dat, whatever table lists him.
constexpr TableId kPerson = TableId::kPlayers;

TableId TableOfPerson(const std::uint8_t* person) {
    return IsPlayerJob(StaffRecord::ClubJob.Read(person)) ? TableId::kPlayers : TableId::kStaff;
}

class Reverter {
  public:
    explicit Reverter(const std::string& dataPath)
        : now_(dataPath), old_(BackupDirectory(dataPath)) {
        ShareIndex(old_, now_);
    }

    RevertPlan Run(TableId table, std::int64_t record) {
        const bool person = TableOf(table).IsPersons();
        const TableId key = person ? kPerson : table;
        if (record < 0 || record >= Count(key, now_))
            throw EDataError("There is no record " + std::to_string(record) + " to revert.");
        if (record >= Count(key, old_))
            throw EDataError("The backup does not have record " + std::to_string(record) +
                             ": it was added since. Only a record the backup holds can be "
                             "reverted.");
        Add(key, record);
        // Whatever a move since the backup ties to a record goes back with it: the clubs a
        // person left and joined, the persons a club's squad and posts gained and lost.
        for (std::size_t i = 0; i < order_.size(); ++i) {
            const auto [t, n] = order_[i];
            if (t == kPerson)
                PersonTies(n);
            else if (t == TableId::kClubs)
                ClubTies(n);
        }
        RevertPlan plan;
        for (const auto& [t, n] : order_) Put(t, n, plan);
        // A record whose own bytes are the backup's ties nothing to it either.
        if (plan.records.empty())
            throw EDataError("Record " + std::to_string(record) +
                             " is as the backup holds it: there is nothing to revert.");
        const RevertedRecord& first = plan.records.front();
        plan.writes.SetLabel("Revert of " + std::string(TableOf(first.table).what) + " " +
                             now_.NameOf(TargetOf(first.table), record));
        return plan;
    }

  private:
    std::int64_t Count(TableId t, DataFiles& files) {
        if (t == kPerson) return files.PersonCount();
        return files.Count(TableOf(t).file, TableOf(t).recordSize);
    }

    void Add(TableId t, std::int64_t n) {
        if (seen_.emplace(t, n).second) order_.emplace_back(t, n);
    }

    // A record the closure needs: one both sides have, else the revert cannot keep the
    // directory consistent and is refused. Numbers that name no record of either side are
    // references to nothing, which no move made.
    void Need(TableId t, std::int64_t n, std::int64_t from) {
        if (n < 0 || n >= std::max(Count(t, now_), Count(t, old_))) return;
        if (n >= Count(t, now_) || n >= Count(t, old_))
            throw EDataError("Record " + std::to_string(from) +
                             " was moved since the backup to or from " +
                             std::string(TableOf(t).what) + " " + std::to_string(n) +
                             ", which only one of the data directory and the backup has: it "
                             "cannot be reverted alone. Restore Backup puts every file back.");
        Add(t, n);
    }

    void PersonTies(std::int64_t id) {
        const std::uint8_t* a = old_.Person(id);
        const std::uint8_t* b = now_.Person(id);
        if (StaffRecord::Club.Read(a) == StaffRecord::Club.Read(b) &&
            StaffRecord::ClubJob.Read(a) == StaffRecord::ClubJob.Read(b))
            return;
        Need(TableId::kClubs, StaffRecord::Club.Read(a), id);
        Need(TableId::kClubs, StaffRecord::Club.Read(b), id);
    }

    // Who stands in which list of a club's squad and posts.
    static std::set<std::pair<const Field*, std::int64_t>> Members(const std::uint8_t* club) {
        std::set<std::pair<const Field*, std::int64_t>> out;
        for (const Field& f : TableOf(TableId::kClubs).fields) {
            if (f.edit != Edit::kMove) continue;
            for (std::size_t k = 0; k < f.count; ++k)
                if (const std::int64_t id = f.Read(club, k); id >= 0) out.emplace(&f, id);
        }
        return out;
    }

    void ClubTies(std::int64_t n) {
        const std::string_view file = TableOf(TableId::kClubs).file;
        const auto at = static_cast<std::size_t>(n) * ClubRecord::kSize;
        const auto a = Members(old_.Bytes(file).data() + at);
        const auto b = Members(now_.Bytes(file).data() + at);
        std::vector<std::pair<const Field*, std::int64_t>> moved;
        std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(),
                                      std::back_inserter(moved));
        for (const auto& [field, id] : moved) Need(kPerson, id, n);
    }

    // Adds the backup's bytes of the range where they differ from the directory's; true if so.
    bool PutRange(std::string_view file, std::int64_t offset, std::size_t size, WriteSet& set) {
        const std::vector<std::uint8_t>& a = old_.Bytes(file);
        const std::vector<std::uint8_t>& b = now_.Bytes(file);
        const auto at = static_cast<std::size_t>(offset);
        if (at + size > a.size()) return false;
        if (at + size <= b.size() && std::memcmp(a.data() + at, b.data() + at, size) == 0)
            return false;
        // What the directory held when the plan read it: written over only while it still does.
        const std::size_t held = at < b.size() ? std::min(size, b.size() - at) : 0;
        set.Put(file, offset, std::span(a).subspan(at, size),
                std::span(b).subspan(std::min(at, b.size()), held));
        return true;
    }

    void Put(TableId t, std::int64_t n, RevertPlan& plan) {
        bool changed = false;
        TableId listed = t;
        if (t == kPerson) {
            changed |=
                PutRange(kStaffFile, n * StaffRecord::kSize, StaffRecord::kSize, plan.writes);
            // The block record of the person's kind in the backup, at the place the backup's
            // index gives it: that is the record the restored person record points to.
            const std::uint8_t* person = old_.Person(n);
            const Part part =
                TableOfPerson(person) == TableId::kPlayers ? Part::kPlayer : Part::kNonPlayer;
            if (const std::int64_t at = old_.BlockOffset(person, part); at >= 0)
                changed |=
                    PutRange(kStaffFile, at,
                             part == Part::kPlayer ? PlayerRecord::kSize : NonPlayerRecord::kSize,
                             plan.writes);
            listed = TableOfPerson(now_.Person(n));
        } else {
            const Table& table = TableOf(t);
            changed = PutRange(table.file, n * table.recordSize,
                               static_cast<std::size_t>(table.recordSize), plan.writes);
        }
        if (changed)
            plan.records.push_back({listed, n, Cp1252ToUtf8(now_.NameOf(TargetOf(listed), n))});
    }

    DataFiles now_, old_;
    std::vector<std::pair<TableId, std::int64_t>> order_;
    std::set<std::pair<TableId, std::int64_t>> seen_;
};

}  // namespace

RevertPlan PlanRevert(const std::string& dataPath, TableId table, std::int64_t record) {
    return Reverter(dataPath).Run(table, record);
}

}  // namespace vh::db
