// vhtool run in this process, as its command line would run it: the exit status and both streams.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tools/cli.h"

namespace vh {

struct Outcome {
    int status;
    std::string out, err;
};

inline Outcome Vhtool(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = cli::RunVhtool(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace vh
