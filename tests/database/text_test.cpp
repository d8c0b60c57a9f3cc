#include <gtest/gtest.h>
#if __has_include(<iconv.h>)
#include <iconv.h>
#define VH_HAVE_ICONV 1
#endif

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "database/records/convert.h"
#include "database/records/data_def.h"
#include "database/records/errors.h"
#include "database/records/text.h"

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

// Whatever a save accepts, the page can show again as the same decimal: the coordinate
// 900000000000.5 used to be stored and then never shown again.
TEST(Convert, ATypedCoordinateIsAcceptedOnlyWhenItShowsBack) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> tenThousandths;  // nullopt: refused
    };
    const std::vector<Case> cases = {
        {"900000000000", 9'000'000'000'000'000},
        {"-900000000000", -9'000'000'000'000'000},
        {"899999999999.9999", 8'999'999'999'999'999},
        {"123456789.1234", 1'234'567'891'234},
        {"-0", 0},
        {"-0.00004", 0},
        {"900000000000.5", std::nullopt},
        {"900000000000.0001", std::nullopt},
        {"-900000000000.0001", std::nullopt},
        {"900000000001", std::nullopt},
        {"99999999999999999999", std::nullopt},
        // Below the limit, but a real of that size cannot keep these four places.
        {"899999999999.9997", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        if (c.tenThousandths) {
            EXPECT_EQ(ParseDecimal4(c.text), *c.tenThousandths);
            const double stored = ParseCoordinate(c.text);
            EXPECT_EQ(stored, static_cast<double>(*c.tenThousandths) / 10000.0);
            EXPECT_EQ(ToDecimal4(stored), *c.tenThousandths);
            EXPECT_EQ(FormatCoordinate(stored), FormatDecimal4(*c.tenThousandths));
        } else {
            try {
                ParseDecimal4(c.text);
                ADD_FAILURE() << "accepted";
            } catch (const EConvertError& e) {
                EXPECT_EQ(std::string(e.what()),
                          std::string("'") + c.text + "' is not a valid floating point value");
            }
        }
    }
}

TEST(Convert, EveryStoredCoordinateCanBeShown) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double stored;
        char sep;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {51.5, '.', "51.5"},
        {-0.25, ',', "-0,25"},
        {51.123456789, '.', "51.1235"},
        {-0.0, '.', "0"},
        {1e-300, '.', "0"},
        {900000000000.0, '.', "900000000000"},
        {900000000000.5, '.', "900000000000.5"},
        {900000000000.5, ',', "900000000000,5"},
        {-1.5e20, '.', "-1.5e+20"},
        {1e300, '.', "1e+300"},
        {std::numeric_limits<double>::max(), '.', "1.7976931348623157e+308"},
        {kInf, '.', "Infinity"},
        {-kInf, '.', "-Infinity"},
        {kNaN, '.', "NaN"},
        {-kNaN, ',', "NaN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatCoordinate(c.stored, c.sep), c.shown) << c.shown;
    }
    std::int64_t t = 0;
    EXPECT_FALSE(TryToDecimal4(900000000000.5, t));
    EXPECT_FALSE(TryToDecimal4(kNaN, t));
    EXPECT_THROW(ToDecimal4(kInf), EConvertError);
}

#ifdef VH_HAVE_ICONV
// The cp1252 table against the system's own converter, byte by byte and back, so that a single
// swapped or missing character cannot pass.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // The converted bytes, or nullopt when the converter has no mapping for the input.
    std::optional<std::string> Convert(const std::string& in) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string src = in;
        char out[16];
        char* inPtr = src.data();
        std::size_t inLeft = src.size();
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(out, static_cast<std::size_t>(outPtr - out));
    }

  private:
    iconv_t cd_;
};

std::string Utf32(char32_t cp) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[static_cast<std::size_t>(i)] = static_cast<char>(cp >> (8 * i));
    return s;
}

TEST(Cp1252, EveryByteAgreesWithTheSystemConverter) {
    Iconv decode("UTF-32LE", "CP1252");
    Iconv encode("CP1252", "UTF-32LE");
    if (!decode.Ok() || !encode.Ok()) GTEST_SKIP() << "the system's iconv has no CP1252";
    const std::vector<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const auto byte = static_cast<std::uint8_t>(b);
        const char32_t ours = Cp1252ToUnicode(byte);
        EXPECT_EQ(UnicodeToCp1252(ours), b);
        const auto theirs = decode.Convert(std::string(1, static_cast<char>(byte)));
        if (std::find(undefined.begin(), undefined.end(), b) != undefined.end()) {
            // Undefined in cp1252: the C1 control of the same value, on our side only.
            EXPECT_FALSE(theirs.has_value());
            EXPECT_EQ(ours, static_cast<char32_t>(b));
            continue;
        }
        ASSERT_TRUE(theirs.has_value());
        EXPECT_EQ(*theirs, Utf32(ours));
        EXPECT_EQ(encode.Convert(Utf32(ours)), std::string(1, static_cast<char>(byte)));
    }
}

// No code point outside the table gets a byte: the converter refuses exactly those we refuse.
TEST(Cp1252, EveryOtherCodePointIsRefusedLikeTheSystemConverter) {
    Iconv encode("CP1252", "UTF-32LE");
    if (!encode.Ok()) GTEST_SKIP() << "the system's iconv has no CP1252";
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) continue;  // surrogates are no characters
        const int ours = UnicodeToCp1252(cp);
        const bool c1Undefined = cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D;
        if (c1Undefined) {
            EXPECT_EQ(ours, static_cast<int>(cp));
            continue;
        }
        const auto theirs = encode.Convert(Utf32(cp));
        ASSERT_EQ(ours >= 0, theirs.has_value()) << std::hex << static_cast<unsigned>(cp);
        if (theirs) {
            ASSERT_EQ(*theirs, std::string(1, static_cast<char>(ours)))
                << std::hex << static_cast<unsigned>(cp);
        }
    }
}

#else
TEST(Cp1252, EveryByteAgreesWithTheSystemConverter) {
    GTEST_SKIP() << "this system has no iconv to compare the table with (the Linux run does)";
}
#endif

}  // namespace
}  // namespace vh::db
