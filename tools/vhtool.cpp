// vhtool, the editor's command-line companion.
#include <iostream>
#include <string>
#include <vector>

#include "platform/args.h"
#include "tools/cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args = vh::platform::CommandLineArguments(argc, argv);
    return vh::cli::RunVhtool(args, std::cout, std::cerr);
}
