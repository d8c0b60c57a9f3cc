// vhtool's commands, callable from tests: the program's main only hands over its arguments.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vh::cli {

// Runs vhtool with its arguments (without the program name). Returns the exit status:
// 0 done, 1 failed, 2 bad arguments; `set` gives 3 when no row meets its conditions. `check`
// gives 0 when it found no error, 1 when it found errors and 2 when the directory could not be
// read.
int RunVhtool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vh::cli
