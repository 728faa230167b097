// Reading a whole file given on the command line.
#pragma once

#include <string>

namespace tb58mon {

// The file's bytes; a CliError (exit code 1) naming the file when it cannot
// be opened or read.
std::string ReadWholeFile(const std::string& path);

}  // namespace tb58mon
