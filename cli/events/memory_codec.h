// A printer's memory (event_diff.h) as the short JSON text the store keeps
// in its printer_state table, and back.  The text is read back at start;
// a row that was damaged or written by a later version must never stop the
// service: it reads as nullopt and the printer starts from the baseline.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "events/event_diff.h"

namespace tb58mon {

std::string MemoryText(const PrinterMemory& memory);

// nullopt for anything MemoryText does not make: not JSON, a field of the
// wrong type or out of its range.
std::optional<PrinterMemory> MemoryOfText(std::string_view text);

}  // namespace tb58mon
