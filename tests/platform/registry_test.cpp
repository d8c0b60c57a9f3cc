#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/windows_api.h"
#endif

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
              prefix.Path().generic_string() + "/drive_c/Program Files/Varnholt \"00\"");
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
              prefix.Path().generic_string() + "/dosdevices/d:/Games/VH");
}

TEST(WineRegistry, PathsMapIntoThePrefix) {
    const std::filesystem::path p = "/home/u/.wine";
    EXPECT_EQ(wine::MapPath(p, "C:\\Games\\VH"), "/home/u/.wine/drive_c/Games/VH");
    EXPECT_EQ(wine::MapPath(p, "c:\\"), "/home/u/.wine/drive_c");
    EXPECT_EQ(wine::MapPath(p, "E:\\VH"), "/home/u/.wine/dosdevices/e:/VH");
    EXPECT_EQ(wine::MapPath("/home/u/.wine/", "C:\\VH"), "/home/u/.wine/drive_c/VH");
}

TEST(WineRegistry, PrefixComesFromTheEnvironment) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows reads its own registry; no Wine prefix is looked for";
#else
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

#ifdef _WIN32
// The key as a 32-bit installer leaves it on a 64-bit system: below Software\Wow6432Node. The
// set-up of the Windows test run (scripts/run-windows-tests) writes it with `reg add` and names
// the value it wrote in VH_TEST_GAME_LOCATION.
TEST(Registry, InstallLocationOfA32BitInstallOnA64BitSystem) {
    const char* want = std::getenv("VH_TEST_GAME_LOCATION");
    if (!want || !*want)
        GTEST_SKIP() << "VH_TEST_GAME_LOCATION is not set: the key is written by "
                        "scripts/run-windows-tests before the run";
    EXPECT_EQ(GameInstallLocation(), want);
}

// Values the installer may have written: beyond ASCII, longer than any fixed buffer, an
// expandable string. The test writes each into the 32-bit view and puts the old value back.
TEST(Registry, InstallLocationTextComesBackAsUtf8) {
    const wchar_t* subKey = L"Software\\Brellan Ltd\\Varnholt 00-01";
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0,
                        KEY_READ | KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here (run as administrator)";
    DWORD oldType = 0;
    DWORD oldSize = 0;
    const bool hadOld =
        RegQueryValueExW(key, L"Location", nullptr, &oldType, nullptr, &oldSize) == ERROR_SUCCESS;
    std::vector<BYTE> old(oldSize);
    if (hadOld) RegQueryValueExW(key, L"Location", nullptr, &oldType, old.data(), &oldSize);

    struct Case {
        std::wstring value;
        DWORD type;
        std::string want;
    };
    const std::wstring longName(1500, L'x');
    const Case cases[] = {
        {L"C:\\Spiele\\Varnholt J\u00f6rg \u00c9t\u00e9", REG_SZ,
         "C:\\Spiele\\Varnholt J\xc3\xb6rg \xc3\x89t\xc3\xa9"},
        {L"D:\\" + longName, REG_SZ, "D:\\" + std::string(1500, 'x')},
        {L"C:\\VH", REG_EXPAND_SZ, "C:\\VH"},
        {L"", REG_SZ, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want.size());
        ASSERT_EQ(RegSetValueExW(key, L"Location", 0, c.type,
                                 reinterpret_cast<const BYTE*>(c.value.c_str()),
                                 static_cast<DWORD>((c.value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        EXPECT_EQ(GameInstallLocation(), c.want);
    }
    if (hadOld)
        RegSetValueExW(key, L"Location", 0, oldType, old.data(), oldSize);
    else
        RegDeleteValueW(key, L"Location");
    RegCloseKey(key);
}
#endif

}  // namespace
}  // namespace vh::platform
