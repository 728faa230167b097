// Runs tb58mon in-process with a command line, as the tests of the
// commands do.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "commands/commands.h"

namespace tb58mon {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

// tb58mon with the arguments after the program name.
inline Outcome Tb58mon(std::vector<std::string> args) {
    args.insert(args.begin(), "tb58mon");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunTb58mon(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

}  // namespace tb58mon
