/* Selects a language through the installed library; exits 0 on success. */
#include <Tb58Wk31Platform.h>
#include <stdio.h>

int main(void) {
    if (PatSetLocale("en") != 1 || GetLastError() != 0) {
        fprintf(stderr, "PatSetLocale failed: %u\n", (unsigned)GetLastError());
        return 1;
    }
    if (PatSetLocale("xx") != 0 || GetLastError() != TB58_ERROR_UNKNOWN_LOCALE) return 1;
    puts("consumer ok");
    return 0;
}
