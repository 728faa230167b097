// The SMTP password of a notifier, read from a file of its own (never from
// the fleet file).
#pragma once

#include <string>

namespace tb58mon {

constexpr size_t kLargestPasswordFile = 4096;

// The first line of the file (without its line end).  Throws Failure naming
// the file when it cannot be read, is not a regular file (a link to one is
// fine: secrets are often mounted that way), is larger than 4 KiB, has an
// empty first line or a control character in it, or when its group or
// others have any permission on it (chmod 600).
std::string ReadPasswordFile(const std::string& path);

}  // namespace tb58mon
