// Events as the JSON of /events.json and of "events" in /printers.json,
// with the library's texts in a display language: for code_began and
// code_cleared the code's own short and long texts, for health the texts of
// the codes the printer had then (of no response for no_response; none for
// unknown), for tray_empty and tray_filled the tray's localized name as
// "short"; null otherwise.  Every field of the contract is present, null
// when it does not belong to the kind.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "events/printer_event.h"
#include "report/record_report.h"

namespace tb58mon {

// The events in lang (a PatSetLocale code), in their order.  Takes the
// library lock once for all of them.
Json EventsJson(std::span<const PrinterEvent> events, std::string_view lang);

// EventsJson as text; invalid UTF-8 replaced.
std::string EventsJsonText(std::span<const PrinterEvent> events, std::string_view lang);

}  // namespace tb58mon
