// The paper level of a tray, in percent, or unknown.  The printer answers
// "@PJL INQUIRE INTRAY1QUANT" with a quantity word ("END", "1/5" ... "4/5",
// "FULL"); the library stores the level of the words it knows and 0 for any
// other answer, so a 0 in the record cannot tell an empty tray from an
// answer such as "999/5" or "5/0".  The monitor therefore reads the answer
// itself: a level it cannot vouch for is unknown, shown as "-" (text) or
// null (JSON) and left out of the metrics, never as an empty tray.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tb58mon {

// The percent a quantity answer names: "END" 0, "FULL" 100, "N/M" N * 100 / M
// (rounded down) for decimal N and M with 0 <= N <= M, 0 < M < 2^32.
// Anything else is unknown: a sign, N over M, M of 0, a number of 2^32 or
// more, another word.
std::optional<uint16_t> QuantityPercent(std::string_view answer);

// The printer's answer to "@PJL INQUIRE variable" in a reply: the line after
// the last such command line, without the blanks, CR and form feeds around
// it; none when the reply does not ask it or the answer line is empty.
std::optional<std::string_view> InquireAnswer(std::string_view reply, std::string_view variable);

// The level to show for a tray asked for by variable, whose record holds
// record_level: the printer's answer in the last of replies that holds one,
// read by QuantityPercent; without an answer, the record's level when it is
// from 1 to 100 (a 0 alone tells nothing).  Unknown for a tray the printer is
// not asked about (variable empty).
std::optional<uint16_t> TrayLevel(uint16_t record_level, std::string_view variable,
                                  std::span<const std::string_view> replies);

}  // namespace tb58mon
