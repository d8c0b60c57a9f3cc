// Where the game is installed: the string value "Location" of the key
// "\Software\Brellan Ltd\Varnholt 00-01" under the local machine hive. On Windows the registry;
// elsewhere the Wine prefix the game was installed into. Anything missing reads as "".
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vh::platform {

inline constexpr std::string_view kGameKey = "Software\\Brellan Ltd\\Varnholt 00-01";
inline constexpr std::string_view kGameValue = "Location";

// The install directory as text of this system ("" when not found).
std::string GameInstallLocation();

namespace wine {
// $WINEPREFIX, else ~/.wine (empty when neither can be formed).
std::filesystem::path DefaultPrefix();
// A string value of a key in a Wine registry file (system.reg). Key and value names compare
// without regard to ASCII case; the file's escapes are undone. nullopt when absent.
std::optional<std::string> ReadString(const std::filesystem::path& regFile, std::string_view key,
                                      std::string_view value);
// A Windows path inside the prefix: C:\x -> <prefix>/drive_c/x; D:\x -> <prefix>/dosdevices/d:/x.
std::string MapPath(const std::filesystem::path& prefix, std::string_view windowsPath);
// The game's location read from <prefix>/system.reg and mapped into the prefix.
std::string GameLocation(const std::filesystem::path& prefix);
}  // namespace wine

}  // namespace vh::platform
