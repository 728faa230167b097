// Sets the display language for one test and restores the previous one.
#pragma once

#include "frame/display_language.h"

namespace tb58::test {

class LanguageGuard {
public:
    explicit LanguageGuard(LANGID language) : saved_(frame::CurrentLanguage()) {
        frame::SetCurrentLanguage(language);
    }
    ~LanguageGuard() { frame::SetCurrentLanguage(saved_); }
    LanguageGuard(const LanguageGuard&) = delete;
    LanguageGuard& operator=(const LanguageGuard&) = delete;

private:
    LANGID saved_;
};

}  // namespace tb58::test
