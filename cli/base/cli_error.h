// The one kind of error tb58mon reports: a message of one line and the exit
// code that goes with it.
#pragma once

#include <stdexcept>
#include <string>

namespace tb58mon {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;       // the work failed: a file, a library call
constexpr int kExitBadArguments = 2;  // the command line is wrong

class CliError : public std::runtime_error {
public:
    CliError(int exit_code, const std::string& message) : std::runtime_error(message), exit_code_(exit_code) {}
    int exit_code() const { return exit_code_; }

private:
    int exit_code_;
};

inline CliError BadArgument(const std::string& message) { return CliError(kExitBadArguments, message); }
inline CliError Failure(const std::string& message) { return CliError(kExitFailure, message); }

}  // namespace tb58mon
