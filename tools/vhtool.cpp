// vhtool, the editor's command-line companion.
#include <iostream>
#include <string>
#include <vector>

#include "tools/cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return vh::sample::RunVhtool(args, std::cout, std::cerr);
}
