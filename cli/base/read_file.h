// Reading a whole file given on the command line.
#pragma once

#include <cstddef>
#include <string>

namespace tb58mon {

// The file's bytes; a CliError (exit code 1) naming the file when it cannot
// be opened or read.
std::string ReadWholeFile(const std::string& path);

constexpr size_t kLargestRegularFile = 16 * 1024 * 1024;

// The bytes of a regular file (a link to one is fine) of at most most
// bytes, for files a service reads again while it runs: a FIFO, a directory
// or a device in its place is refused before anything is read, so that the
// caller never blocks on it.  A Failure CliError names the file and what is
// wrong: missing, unreadable, not a regular file (and what it is instead),
// larger than most.
std::string ReadRegularFile(const std::string& path, size_t most = kLargestRegularFile);

}  // namespace tb58mon
