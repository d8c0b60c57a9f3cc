#include <gtest/gtest.h>

#include "database/convert.h"
#include "database/data_def.h"
#include "database/errors.h"
#include "database/text.h"

namespace vh::db {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    const auto back = Utf8ToCp1252(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0xE9), U'\u00E9');
    for (std::uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(Cp1252ToUnicode(b), b);
}

TEST(Cp1252, RefusesCharactersItCannotHold) {
    char32_t bad = 0;
    EXPECT_FALSE(Utf8ToCp1252("Dvo\xC5\x99\xC3\xA1k", &bad).has_value());  // r with caron
    EXPECT_EQ(bad, U'\u0159');
    EXPECT_EQ(*Utf8ToCp1252("Gr\xC3\xBCn \xE2\x82\xAC"), "Gr\xFCn \x80");
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value());  // cut-off sequence
}

TEST(FixedString, ReadsUpToTheFirstZeroOrTheWholeWidth) {
    NamesRecord r;
    const std::string fiftyOne(51, 'N');
    for (std::size_t i = 0; i < 51; ++i) r.bytes[i] = 'N';
    r.bytes[51] = 7;  // Id follows without a terminator in between
    EXPECT_EQ(r.Get(NamesRecord::Name), fiftyOne);
    EXPECT_EQ(r.Get(NamesRecord::Id), 7);

    NamesRecord g;
    const char raw[] = {'A', 'n', 'n', 0, 'x', 'y'};
    std::copy(std::begin(raw), std::end(raw), g.bytes.begin());
    EXPECT_EQ(g.Get(NamesRecord::Name), "Ann");
}

TEST(FixedString, WritesZeroPaddedAndNeverPastTheField) {
    CityRecord r;
    r.bytes.fill(0xCC);
    r.Set(CityRecord::Name, std::string("Lund"));
    EXPECT_EQ(r.bytes[4], 'L');
    for (int i = 8; i < 30; ++i) EXPECT_EQ(r.bytes[static_cast<std::size_t>(i)], 0) << i;
    EXPECT_EQ(r.bytes[30], 0xCC);
    r.Set(CityRecord::Name, std::string(40, 'Q'));  // longer than 26: cut at the width
    EXPECT_EQ(r.bytes[29], 'Q');
    EXPECT_EQ(r.bytes[30], 0xCC);
    EXPECT_EQ(r.Get(CityRecord::Name), std::string(26, 'Q'));

    EXPECT_EQ(ConvertTextToShortArray("Oslo"), std::string("Oslo") + std::string(22, '\0'));
    EXPECT_EQ(ConvertTextToLongArray(std::string(60, 'z')), std::string(51, 'z'));
}

TEST(Convert, IntegersAndTheirMessage) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt(" +12"), 12);
    for (const char* bad : {"", "12a", "2147483648", "-", "1 2", "1.5"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(Convert, FourPlaceDecimalsRoundHalvesToEven) {
    EXPECT_EQ(ParseDecimal4("51.50000"), 515000);
    EXPECT_EQ(ParseDecimal4("-0.25"), -2500);
    EXPECT_EQ(ParseDecimal4("3"), 30000);
    EXPECT_EQ(ParseDecimal4("1.00005"), 10000);   // half, even neighbour below
    EXPECT_EQ(ParseDecimal4("1.00015"), 10002);   // half, even neighbour above
    EXPECT_EQ(ParseDecimal4("1.000051"), 10001);  // above a half
    EXPECT_EQ(ParseDecimal4("12,5", ','), 125000);
    EXPECT_EQ(ParseDecimal4(".5"), 5000);
    for (const char* bad : {"", "abc", "1.2.3", "1e5", "--1", "."}) {
        try {
            ParseDecimal4(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("'") + bad + "' is not a valid floating point value");
        }
    }
    EXPECT_EQ(FormatDecimal4(515000), "51.5");
    EXPECT_EQ(FormatDecimal4(-2500), "-0.25");
    EXPECT_EQ(FormatDecimal4(30000, ','), "3");
    EXPECT_EQ(FormatDecimal4(123456, ','), "12,3456");
    EXPECT_EQ(ToDecimal4(51.123456789), 511235);
    EXPECT_EQ(ToDecimal4(0.03125), 312);  // exactly a half: to the even neighbour
    EXPECT_EQ(ToDecimal4(0.09375), 938);
    EXPECT_EQ(ToDecimal4(-12.5), -125000);
}

}  // namespace
}  // namespace vh::db
