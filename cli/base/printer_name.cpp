#include "base/printer_name.h"

#include <algorithm>
#include <string>

#include "base/cli_error.h"

namespace tb58mon {
namespace {

constexpr size_t kLongestName = 64;

}  // namespace

void CheckPrinterName(std::string_view name) {
    const bool fits = !name.empty() && name.size() <= kLongestName &&
                      std::all_of(name.begin(), name.end(), [](char c) {
                          return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                 c == '-' || c == '_' || c == '.';
                      });
    if (!fits) {
        throw BadArgument("bad printer name '" + std::string(name) +
                          "': use 1 to 64 letters, digits, '-', '_' and '.'");
    }
    // The name is a part of the service's paths (/printers/NAME.json).
    if (name == "." || name == "..") {
        throw BadArgument("bad printer name '" + std::string(name) + "': '.' and '..' name no printer");
    }
}

}  // namespace tb58mon
