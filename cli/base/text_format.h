// Small helpers for tb58mon's text output.
#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>

namespace tb58mon {

// The text with its control characters made visible: <ESC>, <CR>, <LF>,
// <FF>, <TAB>, <0x07>; each <LF> also ends a line of the result (no line
// break after the last one).
std::string VisibleControls(std::string_view text);

// Every line of text, with indent before each line after the first.
std::string IndentLines(std::string_view text, std::string_view indent);

// A section heading: a blank line, then "== title".
void Heading(std::ostream& out, std::string_view title);

// "label" padded to a column, then the value.
void Field(std::ostream& out, std::string_view label, std::string_view value);

// text padded to width characters (counting UTF-8 characters); a longer
// text gets two blanks, so that columns never run together.
std::string Pad(std::string_view text, size_t width);

// "2026-12-09 22:30:05" in local time, for the lines of a running monitor.
std::string LocalTimeStamp(std::chrono::system_clock::time_point time = std::chrono::system_clock::now());

// "2026-12-09T22:30:05Z", for JSON.
std::string UtcIsoTime(std::chrono::system_clock::time_point time);

}  // namespace tb58mon
