// Display languages and device names: PatSetLocale with any text, then
// PatGetDeviceName with any selector, check byte, name or device code and
// buffer capacity.  The buffer is exactly as large as the capacity the call
// is told, so a write past it is caught.
#include <string>
#include <vector>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tb58::fuzz;
    UseOwnModule();
    Input input(data, size);
    static const char* const kLanguages[] = {"JP", "EN", "DE", "FR", "IT", "ES", "NL", "SV",
                                             "DA", "NO", "CS", "HU", "PT", "PL", "FI"};
    const uint8_t language = input.Byte();
    if (language < 200) {
        PatSetLocale(kLanguages[language % 15]);
    } else {
        const std::string code(input.Bytes(input.Byte() % 8));
        PatSetLocale(language == 255 ? nullptr : code.c_str());
    }
    const uint8_t calls = 1 + input.Byte() % 4;
    for (uint8_t call = 0; call < calls && !input.Empty(); ++call) {
        const uint8_t pick = input.Byte();
        const uint32_t selector = pick < 240 ? 1 + pick % 3 : input.Word();
        const uint8_t check_pick = input.Byte();
        const uint32_t check = check_pick < 200 ? (selector == 3 ? 0x96u : 0x97u) | (check_pick << 8) : input.Word();
        const std::string name(input.Bytes(input.Byte() % 32));
        int32_t code = static_cast<int32_t>(input.Word());
        if ((code & 0x80000000) == 0) code = 620 + code % 60;  // mostly near the known device codes
        const void* value = selector == 3 ? static_cast<const void*>(&code) : name.c_str();
        if ((pick & 0x0F) == 0x0F) value = nullptr;
        const uint8_t capacity_pick = input.Byte();
        uint32_t capacity = capacity_pick < 250 ? capacity_pick % 64 : input.Word() % 4096;
        std::vector<char> buffer(capacity);
        const bool null_buffer = (input.Byte() % 8) == 0;
        char* target = null_buffer || capacity == 0 ? nullptr : buffer.data();
        uint32_t size_value = capacity;
        PatGetDeviceName(selector, value, check, target, (pick & 0x1F) == 0x1E ? nullptr : &size_value);
    }
    return 0;
}
