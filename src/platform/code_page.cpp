// WideCharToMultiByte for the code pages the library converts to (1252, 1250,
// 932 and 65001), through iconv.  Characters the code page cannot hold become
// '?', as on Windows; no byte is written past the caller's capacity.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/win32_api.h"

namespace {

const char* IconvName(UINT code_page) {
    switch (code_page) {
        case 1250: return "CP1250";
        case 1252: return "CP1252";
        case 932: return "CP932";
        case CP_UTF8: return "UTF-8";
        default: return nullptr;
    }
}

class Converter {
public:
    explicit Converter(const char* target) : cd_(iconv_open(target, "UTF-16LE")) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

bool IsHighSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(WCHAR unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Converts count UTF-16 units into out; false when memory runs out.
bool Convert(const Converter& converter, const WCHAR* wide, size_t count, std::string& out) {
    // iconv reads bytes: lay the units out little-endian whatever the host.
    std::string input;
    input.resize(count * 2);
    for (size_t i = 0; i < count; ++i) {
        input[2 * i] = static_cast<char>(wide[i] & 0xFF);
        input[2 * i + 1] = static_cast<char>(wide[i] >> 8);
    }
    char* in = input.data();
    size_t in_left = input.size();
    char chunk[256];
    while (in_left > 0) {
        char* dst = chunk;
        size_t dst_left = sizeof chunk;
        const size_t r = iconv(converter.get(), &in, &in_left, &dst, &dst_left);
        out.append(chunk, static_cast<size_t>(dst - chunk));
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (errno == EILSEQ || errno == EINVAL) {
            // One character the code page cannot hold (or a lone surrogate).
            const size_t unit_index = (input.size() - in_left) / 2;
            size_t skip = 1;
            if (IsHighSurrogate(wide[unit_index]) && unit_index + 1 < count &&
                IsLowSurrogate(wide[unit_index + 1])) {
                skip = 2;
            }
            out.push_back('?');
            in += 2 * skip;
            in_left -= 2 * skip;
            iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        return false;
    }
    // Flush any shift state.
    char* dst = chunk;
    size_t dst_left = sizeof chunk;
    iconv(converter.get(), nullptr, nullptr, &dst, &dst_left);
    out.append(chunk, static_cast<size_t>(dst - chunk));
    return true;
}

}  // namespace

// wide_count -1 converts up to and including the terminating zero unit.
// out_capacity 0 asks for the needed size.  Returns the number of bytes
// written (or needed); 0 with the last error set on failure.  default_char
// and used_default are not supported and must be null, as for CP_UTF8.
int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int wide_count, LPSTR out,
                        int out_capacity, LPCSTR default_char, LPBOOL used_default) {
    const char* target = IconvName(code_page);
    if (target == nullptr || wide == nullptr || wide_count == 0 || wide_count < -1 ||
        out_capacity < 0 || (out_capacity > 0 && out == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (flags != 0 || default_char != nullptr || used_default != nullptr) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    size_t count = static_cast<size_t>(wide_count);
    if (wide_count == -1) {
        count = 0;
        while (wide[count] != 0) ++count;
        ++count;  // the terminator is converted too
    }
    const Converter converter(target);
    if (!converter.ok()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string converted;
    try {
        if (!Convert(converter, wide, count, converted)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (converted.size() > static_cast<size_t>(INT32_MAX)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const int needed = static_cast<int>(converted.size());
    if (out_capacity == 0) return needed;
    if (needed > out_capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(out, converted.data(), converted.size());
    return needed;
}
