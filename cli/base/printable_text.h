// Texts from printers made safe for a terminal.  A printer chooses the bytes
// of its panel text, its model name and its unsolicited status: printed
// raw, an escape sequence could clear the screen, move the cursor or
// recolour what follows, and a carriage return could overwrite a line with
// a forged one.  Text output passes every printer text through here; JSON
// output escapes control characters itself.
#pragma once

#include <string>
#include <string_view>

namespace tb58mon {

// The UTF-8 text as a terminal may show it: control characters (C0 but tab,
// DEL, C1 U+0080..U+009F) and the bidirectional controls that reorder a line
// (U+202A..U+202E, U+2066..U+2069) become '?'; a byte that does not belong to
// well-formed UTF-8 (a stray continuation byte, a sequence cut short, an
// overlong form, a surrogate, a code past U+10FFFF) becomes U+FFFD.  Tab and
// every other character, ASCII or not, is kept.
std::string PrintableText(std::string_view text);

// The same for a text of several lines: LF and CR LF end a line (as LF),
// a CR elsewhere becomes '?'.
std::string PrintableLines(std::string_view text);

}  // namespace tb58mon
