#include <gtest/gtest.h>

#include "database/records/catalogue.h"
#include "database/records/data_def.h"
#include "database/records/errors.h"
#include "database/records/names.h"
#include "database/records/reference.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

using test::Bytes;
using test::TempDir;

// A names file built byte by byte: name at 0, Id at 51, bytes 55..59 filled with a marker.
Bytes NamesFile(const std::vector<std::string>& names) {
    Bytes b(names.size() * 60, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        test::PutText(b, i * 60, names[i]);
        test::PutI32(b, i * 60 + 51, static_cast<std::int32_t>(i));
        for (std::size_t k = 55; k < 60; ++k) b[i * 60 + k] = 0xA5;
    }
    return b;
}

// City records: Id at 0, name at 4 (26 wide).
Bytes CityFile(const std::vector<std::string>& names) {
    Bytes b(names.size() * 56, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        test::PutI32(b, i * 56, static_cast<std::int32_t>(i));
        test::PutText(b, i * 56 + 4, names[i]);
    }
    return b;
}

struct Fixture : ::testing::Test {
    TempDir dir;
    RecordFile Open(const std::string& name, int size) {
        RecordFile f;
        f.Bind(dir.Str() + "\\" + name);
        f.Reset(size);
        return f;
    }
};

using References = Fixture;

TEST_F(References, ShowsTheNameOrEmpty) {
    test::WriteFile(dir / "city.dat", CityFile({"Aarhus", "Bergen", "Cork"}));
    RecordFile f = Open("city.dat", 56);
    EXPECT_EQ(ShowReference(-1, f, kCityName), "<empty>");
    EXPECT_EQ(ShowReference(-7, f, kCityName), "<empty>");
    EXPECT_EQ(ShowReference(2, f, kCityName), "Cork");
    for (const std::int32_t outside : {3, 9999}) {
        try {
            ShowReference(outside, f, kCityName);
            ADD_FAILURE();
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Code(), 100);
            EXPECT_EQ(e.Where(), "city.dat, record " + std::to_string(outside));
        }
    }
}

TEST_F(References, LookupTakesTheFirstEqualNameAndEmptyIsMinusOne) {
    test::WriteFile(dir / "city.dat", CityFile({"Aarhus", "Bergen", "Cork", "Bergen"}));
    RecordFile f = Open("city.dat", 56);
    EXPECT_EQ(LookupByName("Bergen", f, kCityName), 1);
    EXPECT_EQ(LookupByName("Cork", f, kCityName), 2);
    EXPECT_EQ(LookupByName("<empty>", f, kCityName), -1);
    // Prefixes and other letter cases are different names.
    EXPECT_THROW(LookupByName("Berg", f, kCityName), EInOutError);
    EXPECT_THROW(LookupByName("cork", f, kCityName), EInOutError);
}

TEST_F(References, LookupOfSeveralNamesAtOnceFindsWhatEachLookupFinds) {
    test::WriteFile(dir / "city.dat", CityFile({"Aarhus", "Bergen", "Cork", "Bergen"}));
    RecordFile f = Open("city.dat", 56);
    const std::vector<std::string> texts = {"Bergen", "Cork",   "<empty>", "Dublin",
                                            "Bergen", "Aarhus", "cork"};
    const std::vector<std::optional<std::int32_t>> want = {1, 2, -1,          std::nullopt,
                                                           1, 0, std::nullopt};
    EXPECT_EQ(LookupAllByName(texts, f, kCityName), want);
    EXPECT_TRUE(LookupAllByName({}, f, kCityName).empty());
}

TEST_F(References, ABatchLooksEachNameUpOnceAcrossRuns) {
    test::WriteFile(dir / "city.dat", CityFile({"Aarhus", "Bergen", "Cork"}));
    RecordFile f = Open("city.dat", 56);
    BatchLookup batch;
    batch.Want(f, kCityName, "Bergen");
    batch.Run();
    // A later run looks only the names wanted since up: Bergen keeps what the first run found,
    // though the file now has it first.
    test::WriteFile(dir / "city.dat", CityFile({"Bergen", "Aarhus", "Cork"}));
    batch.Want(f, kCityName, "Cork");
    batch.Want(f, kCityName, "Dublin");
    batch.Run();
    EXPECT_EQ(batch.Found(f, kCityName, "Bergen"), 1);
    EXPECT_EQ(batch.Found(f, kCityName, "Cork"), 2);
    EXPECT_EQ(batch.Found(f, kCityName, "Dublin"), std::nullopt);
}

TEST_F(References, LookupReturnsTheIdFieldOfTheNamesFiles) {
    Bytes b = NamesFile({"Anna", "Berit", "Carl"});
    test::PutI32(b, 2 * 60 + 51, 4711);  // an Id that is not the record number
    test::WriteFile(dir / "first_names.dat", b);
    RecordFile f = Open("first_names.dat", 60);
    EXPECT_EQ(LookupByName("Carl", f, kPersonName), 4711);
    EXPECT_EQ(ShowReference(1, f, kPersonName), "Berit");
}

TEST_F(References, NoMatchReadsPastTheEndAndChangesNothing) {
    test::WriteFile(dir / "city.dat", CityFile({"Aarhus", "Bergen"}));
    const auto before = test::Snapshot(dir.Path());
    RecordFile f = Open("city.dat", 56);
    try {
        LookupByName("Dublin", f, kCityName);
        ADD_FAILURE();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code(), 100);
        EXPECT_STREQ(e.what(), "Read beyond end of file");
        EXPECT_EQ(e.Where(), "city.dat, record 2") << "the record just past the last";
    }
    EXPECT_EQ(test::Snapshot(dir.Path()), before);
}

TEST_F(References, BytesAfterTheTerminatorAreShownButNeverFound) {
    Bytes b = CityFile({"Oslo"});
    b[4 + 5] = 'X';  // "Oslo\0X..."
    test::WriteFile(dir / "city.dat", b);
    RecordFile f = Open("city.dat", 56);
    EXPECT_EQ(ShowReference(0, f, kCityName), "Oslo");
    EXPECT_THROW(LookupByName("Oslo", f, kCityName), EInOutError);
}

using NameTables = Fixture;

TEST_F(NameTables, EntryNIsRecordNCutToFiftyCharacters) {
    test::WriteFile(dir / "second_names.dat", NamesFile({std::string(51, 'L'), "", "Berg"}));
    RecordFile f = Open("second_names.dat", 60);
    NameTable t{10};
    LoadNameTable(f, t);
    ASSERT_EQ(t.Count(), 3u);
    EXPECT_EQ(t.At(0), std::string(50, 'L'));
    EXPECT_EQ(t.At(1), "");
    EXPECT_EQ(t.At(2), "Berg");
    EXPECT_EQ(t.At(3), "");
    EXPECT_EQ(t.At(-1), "");
    EXPECT_EQ(t.leftOut, 0u);
}

TEST_F(NameTables, EmptyFileAndTooManyRecords) {
    test::WriteFile(dir / "common_names.dat", Bytes{});
    RecordFile f = Open("common_names.dat", 60);
    NameTable t{3};
    LoadNameTable(f, t);
    EXPECT_EQ(t.Count(), 0u);

    test::WriteFile(dir / "common_names.dat", NamesFile({"a", "b", "c", "d", "e"}));
    const NamesPtr old = t.entries;
    LoadNameTable(f, t);
    EXPECT_EQ(t.Count(), 3u);
    EXPECT_EQ(t.leftOut, 2u);
    EXPECT_EQ(old->size(), 0u) << "a refill makes a new snapshot";
    EXPECT_EQ(LeftOutMessage({{"common_names.dat", 2}}),
              "common_names.dat: 2 records beyond what the editor can list were left out.");
}

TEST_F(NameTables, ScansAcrossBatchesSeeEveryRecordOnceInOrder) {
    // Two whole batches and one record more, so that one read fills a scan's buffer directly and
    // the last goes through the read-ahead.
    const auto batch = static_cast<std::size_t>(ScanBatchRecords(60, 1 << 20));
    std::vector<std::string> names;
    for (std::size_t i = 0; i < 2 * batch + 1; ++i) names.push_back(std::to_string(i));
    test::WriteFile(dir / "second_names.dat", NamesFile(names));
    RecordFile f = Open("second_names.dat", 60);
    NameTable t{names.size()};
    LoadNameTable(f, t);
    EXPECT_EQ(*t.entries, names);
    for (const std::size_t at : {batch - 1, batch, 2 * batch, std::size_t{0}})
        EXPECT_EQ(LookupByName(names[at], f, kPersonName), static_cast<std::int32_t>(at));
    try {
        LookupByName("none", f, kPersonName);
        ADD_FAILURE();
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Where(), "second_names.dat, record " + std::to_string(names.size()));
    }
}

}  // namespace
}  // namespace vh::db
