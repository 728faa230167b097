// The toner's state as the monitor reports it, with its names: the words of
// the JSON, the page, the events and the notification rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tb58mon {

// The numbers are those of the event database and of the metric
// tb58_printer_toner_state: never change them.
enum class TonerLevel : uint8_t { kOk = 0, kLow = 1, kEmpty = 2 };

std::string_view TonerName(TonerLevel toner);  // "ok", "low", "empty"
std::optional<TonerLevel> TonerOfName(std::string_view name);

}  // namespace tb58mon
