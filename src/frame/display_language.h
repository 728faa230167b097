// The process-wide display language: a Windows language id, 0x0400 (the
// user's default) until PatSetLocale chooses another.  Written and read
// atomically, so a change made on one thread is seen whole by the others.
#pragma once

#include "platform/win32_api.h"

namespace tb58::frame {

constexpr LANGID kDefaultLanguage = 0x0400;

LANGID CurrentLanguage();
void SetCurrentLanguage(LANGID language);

}  // namespace tb58::frame
