// Person labels and their way back to an Id, the job codes that make a player, and the language
// table that nations number into.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "database/records/errors.h"
#include "database/records/languages.h"
#include "database/records/person.h"
#include "support/test_util.h"

namespace vh::db {
namespace {

using test::Bytes;

NamesPtr Table(Names names) {
    return std::make_shared<const Names>(std::move(names));
}

NameTables SomeNames() {
    NameTables t;
    t.first.entries = Table({"Nobody", "Tomas", "Jos\xE9"});
    t.second.entries = Table({"Nobody", "Berg", "Smith"});
    t.common.entries = Table({"Zero", "Pel\xE9", "Kaka"});  // record 0 is never a common name
    return t;
}

StaffRecord Person(std::int32_t id, std::int32_t first, std::int32_t second, std::int32_t common) {
    StaffRecord p;
    p.Set(StaffRecord::Id, id);
    p.Set(StaffRecord::FirstName, first);
    p.Set(StaffRecord::SecondName, second);
    p.Set(StaffRecord::CommonName, common);
    return p;
}

TEST(PersonLabel, NamesTheWayTheListsShowThem) {
    const NameTables names = SomeNames();
    struct Case {
        std::int32_t id, first, second, common;
        const char* label;
    };
    const Case cases[] = {
        {7, 1, 1, 0, "Berg, Tomas (7)"},  // common name 0 is none, whatever record 0 holds
        {7, 1, 1, -1, "Berg, Tomas (7)"},
        {45210, 1, 1, 1, "Pel\xE9 (45210)"},  // a common name replaces both others
        {123, -1, -1, 2, "Kaka (123)"},
        {7, 2, 0, 0, ", Jos\xE9 (7)"},  // second name 0 is none
        {7, 0, 2, 0, "Smith (7)"},      // first name 0 is none
        {7, -1, -1, 0, " (7)"},         // no names at all
        {0, 1, 2, 0, "Smith, Tomas (0)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PersonLabel(Person(c.id, c.first, c.second, c.common), names), c.label);
}

TEST(PersonLabel, GetStaffNameLabelsTheRecordReadFromStaff) {
    test::TempDir dir;
    Bytes staff(3 * 157, 0xAB);
    const StaffRecord people[] = {Person(0, 1, 1, 0), Person(1, -1, -1, 1), Person(2, 2, 2, 0)};
    for (std::size_t n = 0; n < 3; ++n)
        std::copy(people[n].bytes.begin(), people[n].bytes.end(), staff.begin() + n * 157);
    test::WriteFile(dir / "staff.dat", staff);
    RecordFile file;
    file.Bind(dir.Str() + "\\staff.dat");
    file.Reset(157);
    const NameTables names = SomeNames();
    EXPECT_EQ(GetStaffName(2, file, names), "Smith, Jos\xE9 (2)");
    EXPECT_EQ(GetStaffName(1, file, names), "Pel\xE9 (1)");
    try {
        GetStaffName(3, file, names);
        ADD_FAILURE() << "read past the end";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code(), 100);
    }
}

TEST(GetStaffIdFromName, TakesTheDigitsInTheLastParentheses) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"S, F (7)", 7},
        {"N (45210)", 45210},
        {"S, F (12345)", 12345},
        {"Berg, Tomas (1234567)", 1234567},  // longer than the five digits of old labels
        {"Smith (Jr), John (88)", 88},
        {", F (7)", 7},
        {" (0)", 0},
        {"Pel\xE9 (31)", 31},
    };
    for (const auto& [label, id] : cases) EXPECT_EQ(GetStaffIdFromName(label), id) << label;
}

TEST(GetStaffIdFromName, LabelWithoutANumberIsNotAnInteger) {
    const std::pair<const char*, const char*> cases[] = {
        {"Smith, John", "'Smith, John' is not a valid integer value"},
        {"Smith, John ()", "'Smith, John ()' is not a valid integer value"},
        {"Smith, John (12a)", "'Smith, John (12a)' is not a valid integer value"},
        {"Smith, John (abc)", "'Smith, John (abc)' is not a valid integer value"},
        {"Smith, John (12", "'Smith, John (12' is not a valid integer value"},
        {"Smith (7), John (x)", "'Smith (7), John (x)' is not a valid integer value"},
        {"Smith, John (99999999999)", "'Smith, John (99999999999)' is not a valid integer value"},
        {"", "'' is not a valid integer value"},
        {"M\xFCller ()", "'M\xC3\xBCller ()' is not a valid integer value"},  // shown as UTF-8
    };
    for (const auto& [label, message] : cases) {
        try {
            GetStaffIdFromName(label);
            ADD_FAILURE() << "accepted " << label;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
}

TEST(IsPlayerJob, ZeroAndElevenToSixteenArePlayers) {
    for (int job = 0; job <= 255; ++job)
        EXPECT_EQ(IsPlayerJob(job), job == 0 || (job >= 11 && job <= 16)) << job;
}

TEST(Languages, TableAsSpelledWithAlbanianTwice) {
    const char* const spelled[] = {
        "ALBANIAN",   "ARABIC",    "BULGARIAN", "CHINESE",   "CROATIAN",    "CZECH",
        "DUTCH",      "ENGLISH",   "FINNISH",   "FRENCH",    "GERMAN",      "GREEK",
        "HEBREW",     "HUNGARIAN", "ITALIAN",   "JAPANESE",  "KOREAN",      "POLISH",
        "PORTUGUESE", "ROMANIAN",  "RUSSIAN",   "NORWEGIAN", "SERBIAN",     "SPANISH",
        "TURKISH",    "BURMESE",   "MALAY",     "PERSIAN",   "SLOVAK",      "SWEDISH",
        "ICELANDIC",  "DANISH",    "AFRIKAANS", "ALBANIAN",  "AMHARIC",     "ARMENIAN",
        "AZERI",      "BANGLA",    "ESTONIAN",  "GEORGIAN",  "HINDI",       "JAVANESE",
        "KHMER",      "KYRGYZ",    "LAO",       "LATVIAN",   "LETBURGESCH", "LITHUANIAN",
        "MACEDONIAN", "MALAGASY",  "MALTESE",   "SINHALESE", "SLOVENIAN",   "SOMALI",
        "SWAHILI",    "TAJIK",     "TAMIL",     "THAI",      "UZBEK",       "VIETNAMESE",
    };
    ASSERT_EQ(kLanguageNames.size(), 60u);
    for (int n = 1; n <= 60; ++n) EXPECT_EQ(LanguageName(n), spelled[n - 1]) << n;
    EXPECT_EQ(LanguageName(34), "ALBANIAN");
    for (const int none : {0, 61, -1, 255}) EXPECT_FALSE(LanguageName(none).has_value()) << none;

    EXPECT_EQ(LanguageNumber("ALBANIAN"), 1);  // the first of the two
    EXPECT_EQ(LanguageNumber("AFRIKAANS"), 33);
    EXPECT_EQ(LanguageNumber("VIETNAMESE"), 60);
    for (const char* none : {"", "albanian", "ALBANIAN ", "KLINGON"})
        EXPECT_EQ(LanguageNumber(none), 0) << none;
}

}  // namespace
}  // namespace vh::db
