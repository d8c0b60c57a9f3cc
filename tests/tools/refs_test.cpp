// "What points here": every reference field of the catalogue is found when it points at a
// record, and `vhtool refs` prints what it finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>

#include "database/records/text.h"
#include "database/tables/refs.h"
#include "database/tables/table_data.h"
#include "run_vhtool.h"
#include "support/test_util.h"
#include "tools/sample.h"

namespace vh {
namespace {

using test::TempDir;

// The table a reference of that target points into; for a person the kind of the record asked.
std::optional<db::TableId> TableOfTarget(db::Target t, db::TableId person) {
    if (t == db::Target::kPerson) return person;
    for (const db::Table& table : db::Tables())
        if (!table.IsPersons() && table.target == t) return table.id;
    return std::nullopt;  // the languages: no file of records
}

bool Lists(const std::vector<db::Referrer>& hits, db::TableId table, std::int64_t record,
           const db::Field& f) {
    return std::any_of(hits.begin(), hits.end(), [&](const db::Referrer& r) {
        return r.table == table && r.record == record && r.field == &f;
    });
}

std::vector<db::Referrer> Find(const TempDir& dir, db::TableId table, std::int64_t record) {
    return db::WhatPointsHere(dir.Str()).Find(table, record);
}

// Writes the bytes as a data file of the directory ("\\club.dat").
void Put(const TempDir& dir, std::string_view file, const std::vector<std::uint8_t>& bytes) {
    test::WriteFile(dir / std::string(file.substr(1)), bytes);
}

// For every reference field of every table and every table it can point into: a row's field is
// set to point at a record it did not point at before, and what points at that record lists the
// row with that field, each row labelled as the lists label it.
TEST(WhatPointsHere, FindsEveryReferenceFieldOfTheCatalogue) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    int planted = 0;
    for (const db::Table& table : db::Tables())
        for (const db::Field& f : table.fields) {
            if (!f.IsReference()) continue;
            for (const db::TableId person : {db::TableId::kPlayers, db::TableId::kStaff}) {
                const auto into = TableOfTarget(f.target, person);
                if (!into || (f.target != db::Target::kPerson && person == db::TableId::kStaff))
                    continue;
                SCOPED_TRACE(std::string(f.name) + " -> " + std::string(db::TableOf(*into).name));
                db::DataFiles original(dir.Str());
                const db::TableRows rows(original, table.id);
                const db::TableRows targets(original, *into);
                ASSERT_GT(targets.Size(), 1u);
                // The last row that holds the field (a person's block record may be missing).
                std::size_t at = rows.Size();
                while (at > 0 && !rows[at - 1].Of(f)) --at;
                ASSERT_GT(at, 0u);
                const db::RowRef& row = rows[at - 1];
                // A record the row does not point at yet: the hit must come from the planting.
                std::int64_t record = -1;
                for (std::size_t i = targets.Size(); i-- > 0 && record < 0;)
                    if (!Lists(Find(dir, *into, targets[i].record), table.id, row.record, f))
                        record = targets[i].record;
                ASSERT_GE(record, 0);

                const std::vector<std::uint8_t>& before = original.Bytes(table.file);
                std::vector<std::uint8_t> bytes = before;
                f.Write(bytes.data() + (row.Of(f) - before.data()), record,
                        f.count - 1u);  // a list's last slot
                Put(dir, table.file, bytes);
                const std::vector<db::Referrer> hits = Find(dir, *into, record);
                EXPECT_TRUE(Lists(hits, table.id, row.record, f));
                db::DataFiles now(dir.Str());
                for (const db::Referrer& r : hits) {
                    const db::TableRows of(now, r.table);
                    ASSERT_NE(of.Find(r.record), nullptr) << r.record;
                    EXPECT_EQ(r.label, of.Label(*of.Find(r.record)));
                }
                Put(dir, table.file, before);
                ++planted;
            }
        }
    // Every table's references but the languages: a change that drops fields from the walk shows.
    EXPECT_GE(planted, 60);
}

TEST(WhatPointsHere, NoneAndRepeatedSlots) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    const db::Table& table = db::TableOf(db::TableId::kPlayers);
    const db::Field& common = *table.Find("PlayerCommonName");
    const db::Field& favourites = *table.Find("PlayerFavClubs");
    std::int64_t player = -1;
    {
        db::DataFiles files(dir.Str());
        const db::TableRows players(files, db::TableId::kPlayers);
        player = players[0].record;
        std::vector<std::uint8_t> bytes = files.Bytes(table.file);
        std::uint8_t* rec = bytes.data() + (players[0].rec - files.Bytes(table.file).data());
        common.Write(rec, 0);  // a common name of 0 is none
        favourites.Write(rec, 1, 0);
        favourites.Write(rec, 1, 2);  // one club in two slots
        Put(dir, table.file, bytes);
    }
    for (const db::Referrer& r : Find(dir, db::TableId::kCommonNames, 0))
        EXPECT_NE(r.field, &common) << r.record;
    const auto hits = Find(dir, db::TableId::kClubs, 1);
    EXPECT_EQ(std::count_if(hits.begin(), hits.end(),
                            [&](const db::Referrer& r) {
                                return r.record == player && r.field == &favourites;
                            }),
              1);
}

TEST(VhtoolRefs, ListsAsTextAndJson) {
    TempDir dir;
    sample::WriteSample(dir.Path(), {});
    const std::vector<db::Referrer> hits = Find(dir, db::TableId::kClubs, 0);
    ASSERT_GT(hits.size(), 2u);
    const std::string name = db::WhatPointsHere(dir.Str()).Label(db::TableId::kClubs, 0);

    const Outcome text = Vhtool({"refs", dir.Str(), "clubs", "0"});
    ASSERT_EQ(text.status, 0) << text.err;
    const db::Referrer& first = hits.front();
    EXPECT_EQ(text.out.substr(0, text.out.find('\n')),
              std::string(db::TableOf(first.table).name) + " record " +
                  std::to_string(first.record) + " \"" + first.label +
                  "\": " + first.field->caption);
    EXPECT_NE(text.out.find("clubs record 0 \"" + name + "\": " + std::to_string(hits.size()) +
                            " references from "),
              std::string::npos)
        << text.out;
    // By the name a reference shows, the same.
    EXPECT_EQ(Vhtool({"refs", dir.Str(), "clubs", name}).out, text.out);

    const Outcome json = Vhtool({"refs", dir.Str(), "clubs", "0", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    std::istringstream lines(json.out);
    std::string line;
    std::size_t n = 0;
    for (; std::getline(lines, line); ++n) {
        const auto j = nlohmann::json::parse(line);
        const db::Referrer& r = hits.at(n);
        EXPECT_EQ(j["table"], db::TableOf(r.table).name);
        EXPECT_EQ(j["record"], r.record);
        EXPECT_EQ(j["label"], r.label);
        EXPECT_EQ(j["field"], r.field->name);
        EXPECT_EQ(j["caption"], r.field->caption);
    }
    EXPECT_EQ(n, hits.size());

    // A colour no record uses says so.
    test::Bytes colours = test::ReadFile(dir / "colour.dat");
    colours.resize(colours.size() + db::ColourRecord::kSize);
    test::PutI32(colours, colours.size() - db::ColourRecord::kSize,
                 static_cast<std::int32_t>(colours.size() / db::ColourRecord::kSize - 1));
    test::WriteFile(dir / "colour.dat", colours);
    const std::string last = std::to_string(colours.size() / db::ColourRecord::kSize - 1);
    const Outcome none = Vhtool({"refs", dir.Str(), "colours", last});
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.out, "Nothing points at colours record " + last + " \"\".\n");
}

TEST(VhtoolRefs, BadInputIsRefused) {
    TempDir dir;
    const sample::SampleSummary s = sample::WriteSample(dir.Path(), {});
    const auto before = test::Snapshot(dir.Path());
    const std::string clubs = std::to_string(s.clubs);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"refs", dir.Str(), "club", "0"}, 2, "unknown table 'club': use one of stadiums"},
        {{"refs", dir.Str(), "clubs"}, 2, "refs needs the directory, the table"},
        {{"refs", dir.Str(), "clubs", "0", "1"}, 2, "unexpected '1'"},
        {{"refs", dir.Str(), "clubs", clubs},
         2,
         "clubs has no record " + clubs + ": use a record number from 0 to " +
             std::to_string(s.clubs - 1)},
        {{"refs", dir.Str(), "clubs", "-1"}, 2, "record -1 is negative"},
        {{"refs", dir.Str(), "clubs", "-1", "--json"}, 2, "record -1 is negative"},
        {{"refs", dir.Str(), "clubs", "99999999999999999999"},
         2,
         "clubs has no record 99999999999999999999"},
        {{"refs", dir.Str(), "clubs", "No Such Club"},
         2,
         "clubs has no record named 'No Such Club': use a record number"},
        {{"refs", dir.Str(), "staff", std::to_string(s.player)}, 2, "is a player (table players)"},
        {{"refs", (dir / "absent").string(), "clubs", "0"}, 1, "vhtool: cannot read"},
    };
    for (const Case& c : cases) {
        const Outcome o = Vhtool(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(o.status, c.status) << o.err;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_TRUE(o.out.empty()) << o.out;
    }
    EXPECT_EQ(test::Snapshot(dir.Path()), before);
}

}  // namespace
}  // namespace vh
