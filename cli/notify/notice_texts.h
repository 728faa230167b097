// The library's texts of an event in a display language, for a notice:
// the code's own texts for code_began and code_cleared, the texts of the
// printer's codes for a health change ("No Response from Machine" when it
// stopped answering), the tray's localized name for tray_empty and
// tray_filled.  Texts are UTF-8; empty where the library has none.
#pragma once

#include <string>
#include <string_view>

#include "notify/notify_event.h"

namespace tb58mon {

struct NoticeTexts {
    std::string short_text;
    std::string long_text;
};

// Takes the library lock (serve/printer_view.h); lang is a PatSetLocale code.
NoticeTexts EventTexts(const NotifyEvent& event, std::string_view lang);

}  // namespace tb58mon
