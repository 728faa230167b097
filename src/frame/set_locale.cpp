#include "frame/set_locale.h"

#include "Tb58Wk31.h"
#include "frame/display_language.h"
#include "frame/export_frame.h"
#include "frame/locale_codes.h"

namespace tb58::frame {

uint32_t SelectLocale(const char* code) {
    char work[16] = {};
    lstrcpynA(work, code, 10);  // longer codes are cut after 9 characters
    CharUpperA(work);
    for (const LocaleCode* row = kLocaleCodeTable; row->code != nullptr; ++row) {
        if (lstrcmpA(work, row->code) == 0) {
            SetCurrentLanguage(LanguageOf(*row));
            return TB58_ERROR_SUCCESS;
        }
    }
    return TB58_ERROR_UNKNOWN_LOCALE;
}

}  // namespace tb58::frame

extern "C" TB58WK31_API int32_t PatSetLocale(const char* code) {
    if (code == nullptr) return tb58::frame::Finish(ERROR_INVALID_PARAMETER);
    return tb58::frame::Finish(tb58::frame::SelectLocale(code));
}
