#include "platform/process_language.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tb58::platform {
namespace {

struct LanguageName {
    std::string_view iso;  // ISO 639 code as it opens a POSIX locale name
    LANGID language;
};

// The languages whose code pages the platform layer knows.
constexpr LanguageName kLanguages[] = {
    {"cs", 0x0405}, {"da", 0x0406}, {"de", 0x0407}, {"en", 0x0409}, {"es", 0x040A},
    {"fi", 0x040B}, {"fr", 0x040C}, {"hu", 0x040E}, {"it", 0x0410}, {"ja", 0x0411},
    {"nl", 0x0413}, {"nb", 0x0414}, {"no", 0x0414}, {"nn", 0x0814}, {"pl", 0x0415},
    {"pt", 0x0416}, {"sv", 0x041D},
};

}  // namespace

LANGID LanguageOfLocaleName(const char* locale_name) {
    if (locale_name == nullptr) return 0;
    const std::string_view name(locale_name);
    const std::string_view iso = name.substr(0, name.find_first_of("_.@"));
    for (const LanguageName& row : kLanguages) {
        if (row.iso == iso) {
            // Portuguese of Portugal has its own sublanguage.
            if (row.language == 0x0416 && name.substr(0, 5) == "pt_PT") return 0x0816;
            return row.language;
        }
    }
    if (iso == "C" || iso == "POSIX") return 0x0409;
    return 0;
}

LANGID ProcessLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') continue;
        const LANGID language = LanguageOfLocaleName(value);
        return language != 0 ? language : 0x0409;
    }
    return 0x0409;
}

LANGID ResolveLanguage(LANGID language) {
    if (language == 0 || language == LOCALE_USER_DEFAULT || language == LOCALE_SYSTEM_DEFAULT) {
        return ProcessLanguage();
    }
    return language;
}

}  // namespace tb58::platform
