#include "database/model/lists.h"

#include <algorithm>
#include <vector>

#include "database/model/blocks.h"
#include "database/records/data_def.h"
#include "database/records/person.h"

namespace vh::db {

namespace {

// The whole name field of every record, up to the table's capacity.
template <class R>
void FillTable(RecordFile& file, const Str& field, NameTable& table) {
    FillNameTable(file, static_cast<int>(R::kSize), field, field.width, table);
}

bool StartsWith(const std::string& s, std::string_view p) {
    return s.size() >= p.size() && std::equal(p.begin(), p.end(), s.begin());
}

}  // namespace

void StadiumLoad(FileSet& f, ListTables& t) {
    FillTable<StadiumRecord>(f.stadium, StadiumRecord::Name, t.stadium);
}
void ClubLoad(FileSet& f, ListTables& t) {
    FillTable<ClubRecord>(f.club, ClubRecord::ShortName, t.club);
}
void NationLoad(FileSet& f, ListTables& t) {
    FillTable<NationRecord>(f.nation, NationRecord::ShortName, t.nation);
}
void ClubCompLoad(FileSet& f, ListTables& t) {
    FillTable<ClubCompRecord>(f.clubComp, ClubCompRecord::Name, t.competition);
}
void CityLoad(FileSet& f, ListTables& t) {
    FillTable<CityRecord>(f.city, CityRecord::Name, t.city);
}
void ContinentLoad(FileSet& f, ListTables& t) {
    FillTable<ContinentRecord>(f.continent, ContinentRecord::Name, t.continent);
}

namespace {
// The names of a label lie anywhere in the name tables, and a fill that fetched each only when
// its label was written spent most of its time waiting for memory: those of a person a few
// records further on are asked for ahead.
void PrefetchNames(const std::uint8_t* rec, const NameTables& names) {
#if defined(__GNUC__)
    auto ask = [](const NameTable& t, std::int32_t n) {
        if (n >= 1) __builtin_prefetch(&t.At(n));
    };
    if (const std::int32_t common = StaffRecord::CommonName.Read(rec); common >= 1) {
        ask(names.common, common);
    } else {
        ask(names.second, StaffRecord::SecondName.Read(rec));
        ask(names.first, StaffRecord::FirstName.Read(rec));
    }
#else
    (void)rec;
    (void)names;
#endif
}
constexpr std::int64_t kPrefetchAhead = 8;
}  // namespace

void StaffLoad(FileSet& files, const std::string& dataPath, const NameTables& names,
               ListTables& t) {
    RecordFile& staff = files.staff;
    const std::int64_t count = PersonRecordCount(staff, dataPath);

    auto players = std::make_shared<Names>();
    auto others = std::make_shared<Names>();
    // Either list may take nearly everyone; the room not used is never touched.
    const auto most = static_cast<std::size_t>(std::max<std::int64_t>(count, 0));
    players->reserve(std::min(most, kPeopleListCapacity));
    others->reserve(std::min(most, kPeopleListCapacity));
    std::size_t leftOut = 0;
    const std::int64_t perRead = ScanBatchRecords(StaffRecord::kSize, count);
    std::vector<std::uint8_t> batch(static_cast<std::size_t>(perRead) * StaffRecord::kSize);
    StaffRecord person;
    for (std::int64_t base = 0; base < count; base += perRead) {
        const std::int64_t n = std::min(perRead, count - base);
        staff.Read(batch.data(), n);
        for (std::int64_t i = 0; i < n; ++i) {
            if (i + kPrefetchAhead < n)
                PrefetchNames(batch.data() + (i + kPrefetchAhead) * StaffRecord::kSize, names);
            std::copy_n(batch.data() + i * StaffRecord::kSize, StaffRecord::kSize,
                        person.bytes.begin());
            auto& into = IsPlayerJob(person.Get(StaffRecord::ClubJob)) ? players : others;
            if (into->size() >= kPeopleListCapacity) {
                ++leftOut;
                continue;
            }
            std::string label = PersonLabel(person, names);
            if (label.size() > kPersonLabelWidth) label.resize(kPersonLabelWidth);
            into->push_back(std::move(label));
        }
    }
    t.player.entries = std::move(players);
    t.staff.entries = std::move(others);
    t.player.leftOut = leftOut;
    t.staff.leftOut = 0;
}

std::string CapitaliseForFilter(std::string_view typed) {
    std::string w(typed);
    auto up = [](char& c) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    };
    if (!w.empty()) up(w[0]);
    for (std::size_t i = 1; i < w.size(); ++i)
        if (w[i - 1] == ' ') up(w[i]);
    return w;
}

void AppendMatching(const Names& table, std::string_view capitalised, std::string_view typed,
                    std::vector<const std::string*>& out) {
    const bool same = capitalised == typed;
    for (const std::string& e : table) {
        if (StartsWith(e, capitalised) || (!same && StartsWith(e, typed))) out.push_back(&e);
    }
}

}  // namespace vh::db
