#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/registry.h"
#include "support/test_util.h"

namespace vh::platform {
namespace {

using test::TempDir;

const char* kSystemReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Other Maker\\\\Game] 1600000000\n"
    "\"Location\"=\"C:\\\\Wrong\"\n"
    "\n"
    "[SOFTWARE\\\\brellan ltd\\\\VARNHOLT 00-01] 1600000001\n"
    "#time=1d6a1b2c3d4e5f6\n"
    "\"Version\"=dword:00000001\n"
    "\"location\"=\"C:\\\\Program Files\\\\Varnholt \\\"00\\\"\"\n"
    "\n"
    "[Software\\\\Brellan Ltd\\\\Varnholt 00-01\\\\Sub] 1600000002\n"
    "\"Location\"=\"C:\\\\Sub\"\n";

TEST(WineRegistry, FindsTheValueWhateverTheCaseAndUndoesEscapes) {
    TempDir prefix;
    test::WriteFile(prefix / "system.reg", std::string(kSystemReg));
    const auto v = wine::ReadString(prefix / "system.reg", kGameKey, kGameValue);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, "C:\\Program Files\\Varnholt \"00\"");
    EXPECT_EQ(wine::GameLocation(prefix.Path()),
              (prefix.Path() / "drive_c").string() + "/Program Files/Varnholt \"00\"");
}

TEST(WineRegistry, MissingPrefixKeyOrValueReadsAsEmpty) {
    TempDir prefix;
    EXPECT_EQ(wine::GameLocation(prefix.Path() / "nowhere"), "");
    EXPECT_EQ(wine::GameLocation(prefix.Path()), "");  // no system.reg
    test::WriteFile(prefix / "system.reg",
                    std::string("[Software\\\\Brellan Ltd] 1\n\"Location\"=\"C:\\\\x\"\n"));
    EXPECT_EQ(wine::GameLocation(prefix.Path()), "");  // parent key only
    test::WriteFile(
        prefix / "system.reg",
        std::string("[Software\\\\Brellan Ltd\\\\Varnholt 00-01] 1\n\"Path\"=\"C:\\\\x\"\n"));
    EXPECT_EQ(wine::GameLocation(prefix.Path()), "");  // key without the value
}

TEST(WineRegistry, ThirtyTwoBitKeysOfA64BitPrefixAndExpandableStrings) {
    TempDir prefix;
    test::WriteFile(prefix / "system.reg",
                    std::string("[Software\\\\Wow6432Node\\\\Brellan Ltd\\\\Varnholt 00-01] 1\n"
                                "\"Location\"=str(2):\"D:\\\\Games\\\\VH\\\\\"\n"));
    EXPECT_EQ(wine::GameLocation(prefix.Path()),
              (prefix.Path() / "dosdevices" / "d:").string() + "/Games/VH");
}

TEST(WineRegistry, PathsMapIntoThePrefix) {
    const std::filesystem::path p = "/home/u/.wine";
    EXPECT_EQ(wine::MapPath(p, "C:\\Games\\VH"), "/home/u/.wine/drive_c/Games/VH");
    EXPECT_EQ(wine::MapPath(p, "c:\\"), "/home/u/.wine/drive_c");
    EXPECT_EQ(wine::MapPath(p, "E:\\VH"), "/home/u/.wine/dosdevices/e:/VH");
}

TEST(WineRegistry, PrefixComesFromTheEnvironment) {
#ifndef _WIN32
    const char* old = std::getenv("WINEPREFIX");
    const std::string saved = old ? old : "";
    ::setenv("WINEPREFIX", "/opt/prefix", 1);
    EXPECT_EQ(wine::DefaultPrefix(), std::filesystem::path("/opt/prefix"));
    ::unsetenv("WINEPREFIX");
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(wine::DefaultPrefix(), std::filesystem::path(home) / ".wine");
    }
    if (old) ::setenv("WINEPREFIX", saved.c_str(), 1);
#endif
}

}  // namespace
}  // namespace vh::platform
