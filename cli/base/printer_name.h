// The names of printers (and of notifiers): a part of the service's paths
// (/printers/NAME.json), of metrics' labels and of the fleet file's errors.
#pragma once

#include <string_view>

namespace tb58mon {

// Throws BadArgument unless name is 1 to 64 letters, digits, '-', '_', '.',
// and neither "." nor ".." (the name is a part of the service's paths).
void CheckPrinterName(std::string_view name);

}  // namespace tb58mon
