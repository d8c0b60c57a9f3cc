#include "database/changes/diff.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <span>

#include "database/records/data_def.h"
#include "database/records/file_set.h"
#include "database/records/person.h"
#include "database/records/text.h"
#include "database/tables/table_data.h"

namespace vh::db {

namespace {

// Differing bytes closer than this are shown as one run, the equal ones between them included.
constexpr std::size_t kRunGap = 4;

std::string Bare(std::string_view file) {
    return std::string(file.substr(1));
}

int BlockSize(Part part) {
    return part == Part::kPlayer ? PlayerRecord::kSize : NonPlayerRecord::kSize;
}

// The columns of a table whose values lie in one record of its rows, and per byte of that record
// the field it belongs to.
struct Layout {
    std::vector<Column> columns;
    std::vector<const Field*> fieldAt;
};

Layout LayoutOf(const Table& table, Part part, std::size_t size) {
    Layout l;
    l.fieldAt.assign(size, nullptr);
    for (Column& c : ColumnsOf(table)) {
        if (c.shows == Column::Shows::kRecord || c.shows == Column::Shows::kName ||
            c.field->part != part)
            continue;
        const Field& f = *c.field;
        std::fill_n(l.fieldAt.begin() + f.offset, f.width * f.count, &f);
        l.columns.push_back(std::move(c));
    }
    return l;
}

// Appends the runs of bytes in [from, to) that differ between a and b (a byte one side lacks
// differs) and that `counted` accepts. A run never spans two fields (`fieldAt`: per byte, or
// empty for bytes of no record).
template <class Counted>
void ByteRuns(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::size_t from,
              std::size_t to, Part part, const std::vector<const Field*>& fieldAt, Counted counted,
              std::vector<ByteChange>& out) {
    auto differs = [&](std::size_t i) {
        return (i >= a.size() || i >= b.size() || a[i] != b[i]) && counted(i);
    };
    auto fieldOf = [&](std::size_t i) { return fieldAt.empty() ? nullptr : fieldAt[i]; };
    std::size_t i = from;
    while (i < to) {
        // Whole stretches that are equal are passed over at memcmp's speed.
        if (i < a.size() && i < b.size() && a[i] == b[i]) {
            std::size_t end = std::min({to, a.size(), b.size()});
            std::size_t step = 64;
            while (i + step <= end && std::memcmp(&a[i], &b[i], step) == 0) i += step;
            if (i < end && a[i] == b[i]) {
                ++i;
                continue;
            }
        }
        if (i >= to || !differs(i)) {
            ++i;
            continue;
        }
        const Field* field = fieldOf(i);
        std::size_t last = i;
        for (std::size_t j = i + 1;
             j < to && j - last <= kRunGap && fieldOf(j) == field && counted(j); ++j)
            if (differs(j)) last = j;
        auto slice = [&](std::span<const std::uint8_t> s) {
            const std::size_t end = std::min(last + 1, s.size());
            return i < end ? std::vector<std::uint8_t>(s.begin() + static_cast<std::ptrdiff_t>(i),
                                                       s.begin() + static_cast<std::ptrdiff_t>(end))
                           : std::vector<std::uint8_t>();
        };
        out.push_back({part, static_cast<std::int64_t>(i), slice(a), slice(b),
                       field ? std::string(field->name) : std::string()});
        i = last + 1;
    }
}

class Differ {
  public:
    Differ(DataFiles& now, DataFiles& old) : now_(now), old_(old) {}

    DirectoryDiff Run() {
        ShareIndex(old_, now_);
        for (std::string_view file : kBackupList) {
            if (file == kStaffFile) {
                Persons();
                continue;
            }
            const Table* table = nullptr;
            for (const Table& t : Tables())
                if (t.file == file && !t.IsPersons()) table = &t;
            if (table)
                Records(*table);
            else
                WholeFile(file);
        }
        WholeFile(kIndexFile);
        return std::move(out_);
    }

  private:
    const Layout& LayoutFor(const Table& table, Part part) {
        const auto key = std::make_pair(table.id, part);
        auto it = layouts_.find(key);
        if (it == layouts_.end()) {
            const std::size_t size = part == Part::kRecord
                                         ? static_cast<std::size_t>(table.recordSize)
                                         : static_cast<std::size_t>(BlockSize(part));
            it = layouts_.emplace(key, LayoutOf(table, part, size)).first;
        }
        return it->second;
    }

    static std::string Label(DataFiles& files, TableId table, std::int64_t record) {
        return Cp1252ToUtf8(files.NameOf(TargetOf(table), record));
    }

    RecordChange Begin(const Table& table, std::string_view file, std::int64_t record, Side side) {
        RecordChange rc;
        rc.table = table.id;
        rc.file = Bare(file);
        rc.record = record;
        rc.side = side;
        if (side != Side::kOnlyOld) rc.label = Label(now_, table.id, record);
        if (side != Side::kOnlyNew) rc.oldLabel = Label(old_, table.id, record);
        if (side == Side::kOnlyOld) rc.label = rc.oldLabel;
        return rc;
    }

    // The fields of one record of a row (a: old, b: new; nullptr where a person has no block
    // record), and the bytes no value shows.
    void Compare(RecordChange& rc, const Table& table, Part part, const std::uint8_t* a,
                 const std::uint8_t* b, std::size_t size) {
        if (!a && !b) return;
        if (a && b && std::memcmp(a, b, size) == 0) return;
        const Layout& l = LayoutFor(table, part);
        std::vector<char> shown(size, 0);
        for (const Column& c : l.columns) {
            const Field& f = *c.field;
            const std::size_t at = f.offset, width = f.width * f.count;
            if (a && b && std::memcmp(a + at, b + at, width) == 0) continue;
            std::string before = FormatCell(c, a, old_), after = FormatCell(c, b, now_);
            if (before == after) continue;
            FieldChange fc{c.name, std::move(before), std::move(after), {}, {}, {}};
            if (f.kind == Kind::kReference) {
                const Column name{Column::Shows::kName, &f, {}};
                fc.beforeName = FormatCell(name, a, old_);
                fc.afterName = FormatCell(name, b, now_);
            } else if (f.kind == Kind::kList && a && b) {
                for (std::size_t k = 0; k < f.count; ++k)
                    if (f.Read(a, k) != f.Read(b, k))
                        fc.changedSlots.push_back({k, ReferenceName(f, f.Read(a, k), old_),
                                                   ReferenceName(f, f.Read(b, k), now_)});
            }
            rc.fields.push_back(std::move(fc));
            std::fill_n(shown.begin() + static_cast<std::ptrdiff_t>(at), width, 1);
        }
        if (!a || !b) return;
        ByteRuns(
            std::span(a, size), std::span(b, size), 0, size, part, l.fieldAt,
            [&](std::size_t i) { return !shown[i]; }, rc.bytes);
    }

    void Records(const Table& table) {
        const std::vector<std::uint8_t>& a = old_.Bytes(table.file);
        const std::vector<std::uint8_t>& b = now_.Bytes(table.file);
        if (a == b) return;
        const auto size = static_cast<std::size_t>(table.recordSize);
        const std::size_t na = a.size() / size, nb = b.size() / size;
        for (std::size_t n = 0; n < std::min(na, nb); ++n) {
            const std::uint8_t* ra = a.data() + n * size;
            const std::uint8_t* rb = b.data() + n * size;
            if (std::memcmp(ra, rb, size) == 0) continue;
            RecordChange rc = Begin(table, table.file, static_cast<std::int64_t>(n), Side::kBoth);
            Compare(rc, table, Part::kRecord, ra, rb, size);
            out_.records.push_back(std::move(rc));
        }
        for (std::size_t n = std::min(na, nb); n < std::max(na, nb); ++n)
            out_.records.push_back(Begin(table, table.file, static_cast<std::int64_t>(n),
                                         nb > na ? Side::kOnlyNew : Side::kOnlyOld));
        Tail(table.file, a, b, std::max(na, nb) * size, nullptr);
    }

    // Bytes of a file that lie in no record: after its last whole record, or (staff.dat) in
    // neither the person records nor a person's block record.
    void Tail(std::string_view file, const std::vector<std::uint8_t>& a,
              const std::vector<std::uint8_t>& b, std::size_t from,
              const std::vector<char>* owned) {
        RecordChange rc;
        rc.file = Bare(file);
        ByteRuns(
            a, b, from, std::max(a.size(), b.size()), Part::kRecord, {},
            [&](std::size_t i) { return !owned || !(*owned)[i - from]; }, rc.bytes);
        if (!rc.bytes.empty()) out_.records.push_back(std::move(rc));
    }

    void WholeFile(std::string_view file) {
        const bool inOld = old_.Has(file), inNew = now_.Has(file);
        if (!inOld && !inNew) return;
        if (inOld != inNew) {
            RecordChange rc;
            rc.file = Bare(file);
            rc.side = inNew ? Side::kOnlyNew : Side::kOnlyOld;
            out_.records.push_back(std::move(rc));
            return;
        }
        const std::vector<std::uint8_t>& a = old_.Bytes(file);
        const std::vector<std::uint8_t>& b = now_.Bytes(file);
        if (a != b) Tail(file, a, b, 0, nullptr);
    }

    static TableId TableOfPerson(const std::uint8_t* person) {
        return IsPlayerJob(StaffRecord::ClubJob.Read(person)) ? TableId::kPlayers : TableId::kStaff;
    }
    static Part PartOf(TableId table) {
        return table == TableId::kPlayers ? Part::kPlayer : Part::kNonPlayer;
    }

    void Persons() {
        const std::vector<std::uint8_t>& a = old_.Bytes(kStaffFile);
        const std::vector<std::uint8_t>& b = now_.Bytes(kStaffFile);
        if (a == b) return;
        const auto pa = static_cast<std::size_t>(old_.PersonCount());
        const auto pb = static_cast<std::size_t>(now_.PersonCount());
        for (std::size_t id = 0; id < std::min(pa, pb); ++id) {
            const auto n = static_cast<std::int64_t>(id);
            const std::uint8_t* ra = old_.Person(n);
            const std::uint8_t* rb = now_.Person(n);
            const TableId t = TableOfPerson(rb);
            const Part part = PartOf(t);
            const std::uint8_t* ba = old_.BlockRecord(ra, part);
            const std::uint8_t* bb = now_.BlockRecord(rb, part);
            const auto blockSize = static_cast<std::size_t>(BlockSize(part));
            const bool sameBlock =
                ba && bb ? std::memcmp(ba, bb, blockSize) == 0 : (ba == nullptr) == (bb == nullptr);
            if (sameBlock && std::memcmp(ra, rb, StaffRecord::kSize) == 0) continue;
            RecordChange rc = Begin(TableOf(t), kStaffFile, n, Side::kBoth);
            Compare(rc, TableOf(t), Part::kRecord, ra, rb, StaffRecord::kSize);
            Compare(rc, TableOf(t), part, ba, bb, blockSize);
            out_.records.push_back(std::move(rc));
        }
        for (std::size_t id = std::min(pa, pb); id < std::max(pa, pb); ++id) {
            const auto n = static_cast<std::int64_t>(id);
            DataFiles& side = pb > pa ? now_ : old_;
            out_.records.push_back(Begin(TableOf(TableOfPerson(side.Person(n))), kStaffFile, n,
                                         pb > pa ? Side::kOnlyNew : Side::kOnlyOld));
        }

        // The blocks: every byte of a person's own block record (on either side) was compared
        // with the person; the rest is reported as bytes of the file.
        const std::size_t from = std::max(pa, pb) * StaffRecord::kSize;
        const std::size_t to = std::max(a.size(), b.size());
        if (from >= to) return;
        if (a.size() == b.size() && std::memcmp(a.data() + from, b.data() + from, to - from) == 0)
            return;
        std::vector<char> owned(to - from, 0);
        for (DataFiles* side : {&old_, &now_}) {
            const auto persons = static_cast<std::size_t>(side->PersonCount());
            for (std::size_t id = 0; id < persons; ++id) {
                const std::uint8_t* p = side->Person(static_cast<std::int64_t>(id));
                const Part part = PartOf(TableOfPerson(p));
                const std::int64_t at = side->BlockOffset(p, part);
                if (at < static_cast<std::int64_t>(from)) continue;
                const std::size_t begin = static_cast<std::size_t>(at) - from;
                const std::size_t end =
                    std::min(owned.size(), begin + static_cast<std::size_t>(BlockSize(part)));
                if (begin < end)
                    std::fill(owned.begin() + static_cast<std::ptrdiff_t>(begin),
                              owned.begin() + static_cast<std::ptrdiff_t>(end), 1);
            }
        }
        Tail(kStaffFile, a, b, from, &owned);
    }

    DataFiles& now_;
    DataFiles& old_;
    DirectoryDiff out_;
    std::map<std::pair<TableId, Part>, Layout> layouts_;
};

}  // namespace

void ShareIndex(DataFiles& old, DataFiles& now) {
    if (!old.Has(kIndexFile) && now.Has(kIndexFile)) old.Use(kIndexFile, now.Bytes(kIndexFile));
}

DirectoryDiff DiffDirectories(const std::string& dataPath, const std::string& otherPath) {
    DataFiles now(dataPath), old(otherPath);
    return Differ(now, old).Run();
}

std::string DescribeBytes(const ByteChange& b, bool ofRecord) {
    std::string out = b.part == Part::kPlayer      ? "player record "
                      : b.part == Part::kNonPlayer ? "non-player record "
                                                   : "";
    const std::size_t n = std::max(b.before.size(), b.after.size());
    out += n == 1 ? "byte " + std::to_string(b.offset)
                  : "bytes " + std::to_string(b.offset) + "-" +
                        std::to_string(b.offset + static_cast<std::int64_t>(n) - 1);
    if (ofRecord) out += b.field.empty() ? " (in no field)" : " (in " + b.field + ", same value)";
    return out;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::uint8_t v : bytes) {
        if (!out.empty()) out += ' ';
        out += kDigits[v >> 4];
        out += kDigits[v & 15];
    }
    return out;
}

std::string ShownHex(const std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kShown = 16;
    if (bytes.empty()) return "(none)";
    if (bytes.size() <= kShown) return Hex(bytes);
    return Hex({bytes.begin(), bytes.begin() + kShown}) + " ... (" + std::to_string(bytes.size()) +
           " bytes)";
}

}  // namespace vh::db
