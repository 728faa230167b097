// The [[notify]] tables of the fleet file, read into NotifierConfig (the
// fleet file's reader hands them over; notifier_config.h lists the keys).
#pragma once

#include <toml++/toml.h>

#include <string_view>
#include <vector>

#include "notify/notifier_config.h"

namespace tb58mon {

// The notifiers of the fleet file's "notify" node.  Throws BadArgument
// naming the file, the line and the fault: an unknown key, a value of the
// wrong type or out of range, a repeated name.
std::vector<NotifierConfig> ParseNotifiers(const toml::node& node, std::string_view file_name);

// Reads each notifier's password_file into its password (the file's first
// line).  Throws Failure naming the file when it cannot be read, is not a
// regular file, is larger than 4 KiB, holds an empty first line or control
// characters, or can be read or written by anyone but its owner.
void ReadNotifierPasswords(std::vector<NotifierConfig>& notifiers);

}  // namespace tb58mon
