// PatSetLocale through the shared library, as a caller sees it.
#include <gtest/gtest.h>

#include "Tb58Wk31Platform.h"

namespace {

TEST(PatSetLocaleApi, AcceptsEveryCodeAndClearsTheLastError) {
    for (const char* code : {"JP", "EN", "DE", "FR", "IT", "ES", "NL", "SV", "DA", "NO", "CS", "HU", "PT", "PL",
                             "FI", "jp", "Jp", "en"}) {
        SetLastError(1234);
        EXPECT_EQ(PatSetLocale(code), 1) << code;
        EXPECT_EQ(GetLastError(), 0u) << code;
    }
}

TEST(PatSetLocaleApi, RejectsUnknownAndNullCodes) {
    for (const char* code : {"EN ", "ENG", "ENGLISH", "", "ENENENENENEN"}) {
        EXPECT_EQ(PatSetLocale(code), 0) << code;
        EXPECT_EQ(GetLastError(), TB58_ERROR_UNKNOWN_LOCALE) << code;
    }
    EXPECT_EQ(PatSetLocale(nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

}  // namespace
