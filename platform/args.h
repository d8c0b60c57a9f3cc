// The program's command-line arguments as UTF-8 text, the encoding the rest of the program uses.
#pragma once

#include <string>
#include <vector>

namespace vh::platform {

// The arguments after the program's name. POSIX: argv as given. Windows: argv holds them in the
// ANSI code page, which loses characters outside it, so they are taken from the wide command line.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace vh::platform
