#include "registry.h"

#include <cctype>
#include <cstdlib>
#include <fstream>

#ifdef _WIN32
#include "windows_api.h"
#endif

#include "fault.h"
#include "files.h"

namespace vh::platform {

namespace wine {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Undoes the escapes of a quoted string in a Wine registry file, starting after the opening
// quote. Stops at the closing quote; `end` is set past it (npos when it is missing).
std::string Unescape(std::string_view s, std::size_t start, std::size_t& end) {
    std::string out;
    std::size_t i = start;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"') {
            end = i + 1;
            return out;
        }
        if (c != '\\' || i + 1 >= s.size()) {
            out += c;
            ++i;
            continue;
        }
        const char e = s[i + 1];
        i += 2;
        switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            case 'x': {
                unsigned cp = 0;
                int digits = 0;
                while (digits < 4 && i < s.size() && HexDigit(s[i]) >= 0) {
                    cp = cp * 16 + static_cast<unsigned>(HexDigit(s[i]));
                    ++i;
                    ++digits;
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                out += e;
                break;  // \\ and \" and anything else: the character itself
        }
    }
    end = std::string_view::npos;
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view StripLeadingBackslash(std::string_view s) {
    while (!s.empty() && s.front() == '\\') s.remove_prefix(1);
    return s;
}

}  // namespace

std::filesystem::path DefaultPrefix() {
    if (const char* p = std::getenv("WINEPREFIX"); p && *p) return std::filesystem::path(p);
    if (const char* h = std::getenv("HOME"); h && *h) return std::filesystem::path(h) / ".wine";
    return {};
}

std::optional<std::string> ReadString(const std::filesystem::path& regFile, std::string_view key,
                                      std::string_view value) {
    if (fault::Check(fault::kOpen).err) return std::nullopt;
    std::ifstream in(regFile, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string_view wantKey = StripLeadingBackslash(key);
    bool inKey = false;
    std::string line;
    while (std::getline(in, line)) {
        const std::string_view l = Trim(line);
        if (l.empty() || l.front() == ';' || l.front() == '#') continue;
        if (l.front() == '[') {
            // [Software\\Brellan Ltd\\Varnholt 00-01] 1600000000
            const std::size_t close = l.rfind(']');
            if (close == std::string_view::npos) {
                inKey = false;
                continue;
            }
            std::string name;
            std::string_view raw = l.substr(1, close - 1);
            for (std::size_t i = 0; i < raw.size(); ++i) {
                if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == '\\') ++i;
                name += raw[i];
            }
            inKey = EqualNoCase(StripLeadingBackslash(name), wantKey);
            continue;
        }
        if (!inKey || l.front() != '"') continue;
        std::size_t after = 0;
        const std::string name = Unescape(l, 1, after);
        if (after == std::string_view::npos || !EqualNoCase(name, value)) continue;
        std::string_view rest = Trim(l.substr(after));
        if (rest.empty() || rest.front() != '=') continue;
        rest = Trim(rest.substr(1));
        if (rest.rfind("str(", 0) == 0) {  // str(2):"..." (expandable string)
            const std::size_t colon = rest.find(':');
            if (colon == std::string_view::npos) continue;
            rest = rest.substr(colon + 1);
        }
        if (rest.empty() || rest.front() != '"') continue;  // not a string value
        std::size_t end = 0;
        std::string text = Unescape(rest, 1, end);
        if (end == std::string_view::npos) continue;
        return text;
    }
    return std::nullopt;
}

std::string MapPath(const std::filesystem::path& prefix, std::string_view windowsPath) {
    std::string rest(windowsPath);
    std::string base;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        const char drive = Lower(rest[0]);
        // Text with '/' throughout: a prefix is a directory of the POSIX host running Wine.
        std::string root = prefix.generic_string();
        while (root.size() > 1 && root.back() == '/') root.pop_back();
        base = drive == 'c' ? root + "/drive_c" : root + "/dosdevices/" + std::string{drive, ':'};
        rest.erase(0, 2);
    }
    for (char& c : rest)
        if (c == '\\') c = '/';
    while (rest.size() > 1 && rest.back() == '/') rest.pop_back();
    if (base.empty()) return rest;
    if (rest.empty() || rest == "/") return base;
    if (rest.front() != '/') rest.insert(rest.begin(), '/');
    return base + rest;
}

std::string GameLocation(const std::filesystem::path& prefix) {
    if (prefix.empty()) return {};
    const auto reg = prefix / "system.reg";
    // A 32-bit program in a 64-bit prefix writes its keys below Wow6432Node.
    std::optional<std::string> v = ReadString(reg, kGameKey, kGameValue);
    if (!v) v = ReadString(reg, "Software\\Wow6432Node\\Brellan Ltd\\Varnholt 00-01", kGameValue);
    if (!v || v->empty()) return {};
    return MapPath(prefix, *v);
}

}  // namespace wine

std::string GameInstallLocation() {
#ifdef _WIN32
    // The game is a 32-bit program: on a 64-bit system its installer wrote to the 32-bit view
    // (Software\Wow6432Node\...), which KEY_WOW64_32KEY selects; on a 32-bit system it is a no-op.
    HKEY key = nullptr;
    const std::wstring subKey = L"Software\\Brellan Ltd\\Varnholt 00-01";
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) !=
        ERROR_SUCCESS)
        return {};
    std::wstring w;
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, L"Location", nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS) rc = ERROR_MORE_DATA;
    for (int attempt = 0; rc == ERROR_MORE_DATA && attempt < 4; ++attempt) {
        w.assign(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(w.size() * sizeof(wchar_t));
        rc = RegQueryValueExW(key, L"Location", nullptr, &type, reinterpret_cast<LPBYTE>(w.data()),
                              &got);
        if (rc == ERROR_SUCCESS)
            w.resize(got / sizeof(wchar_t));
        else
            size = got;  // ERROR_MORE_DATA: the value grew in between
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    while (!w.empty() && w.back() == L'\0') w.pop_back();
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
#else
    return wine::GameLocation(wine::DefaultPrefix());
#endif
}

}  // namespace vh::platform
