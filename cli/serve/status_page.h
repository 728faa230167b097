// The fleet's status page: plain HTML, CSS and a few lines of script,
// served by tb58mon itself (no build step, no external assets).  The
// fleet's JSON and the page's words in the language asked (page_words.h)
// are part of the page, so the cards are there as soon as the page is read;
// the script then refreshes them from /printers.json every few seconds and
// the "last 24 hours" strip from /history.json every minute, without
// reloading the page.  Texts from printers reach the page only as text
// nodes, never as markup.
#pragma once

#include <string>
#include <string_view>

namespace tb58mon {

// The page for the fleet JSON text of /printers.json in language lang.
std::string StatusPageHtml(std::string_view fleet_json, std::string_view lang);

}  // namespace tb58mon
