#include "args.h"

#ifdef _WIN32
#include "windows_api.h"
// after windows.h, which it needs
#include <shellapi.h>
#endif

namespace vh::platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
#ifdef _WIN32
    int n = 0;
    if (LPWSTR* w = CommandLineToArgvW(GetCommandLineW(), &n)) {
        std::vector<std::string> args;
        for (int i = 1; i < n; ++i) {
            const int len = WideCharToMultiByte(CP_UTF8, 0, w[i], -1, nullptr, 0, nullptr, nullptr);
            std::string s(len > 0 ? static_cast<std::size_t>(len) : 1u, '\0');
            if (len > 0) WideCharToMultiByte(CP_UTF8, 0, w[i], -1, s.data(), len, nullptr, nullptr);
            s.pop_back();  // the terminating null
            args.push_back(std::move(s));
        }
        LocalFree(w);
        return args;
    }
#endif
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace vh::platform
