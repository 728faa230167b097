// WideCharToMultiByte for the code pages the library converts to (1252, 1250,
// 932 and 65001), through iconv.  Characters the code page cannot hold become
// '?', as on Windows; no byte is written past the caller's capacity.
#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>

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

// iconv descriptors are costly to open and may not be shared between
// threads: each thread keeps one per code page it has converted to, reset
// before every use and closed when the thread ends.
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

class ThreadConverters {
public:
    // The thread's converter to code_page, reset to its initial state; null
    // when iconv cannot convert to it.
    const Converter* For(UINT code_page, const char* target) {
        for (Slot& slot : slots_) {
            if (slot.code_page == code_page && slot.converter) {
                iconv(slot.converter->get(), nullptr, nullptr, nullptr, nullptr);
                return slot.converter.get();
            }
        }
        for (Slot& slot : slots_) {
            if (slot.converter) continue;
            auto converter = std::make_unique<Converter>(target);
            if (!converter->ok()) return nullptr;
            slot.code_page = code_page;
            slot.converter = std::move(converter);
            return slot.converter.get();
        }
        return nullptr;
    }

private:
    struct Slot {
        UINT code_page = 0;
        std::unique_ptr<Converter> converter;
    };
    Slot slots_[4];  // one for each code page of IconvName
};

bool IsHighSurrogate(WCHAR unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(WCHAR unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Where converted bytes go: the caller's buffer, or nowhere while only the
// size is measured.
class Sink {
public:
    Sink(char* out, size_t capacity) : out_(out), capacity_(capacity) {}
    bool measuring() const { return out_ == nullptr; }
    size_t written() const { return written_; }
    // The room iconv may fill now.
    char* at() { return measuring() ? scratch_ : out_ + written_; }
    size_t room() const { return measuring() ? sizeof scratch_ : capacity_ - written_; }
    void Advance(size_t n) { written_ += n; }
    bool Put(char c) {
        if (!measuring()) {
            if (written_ == capacity_) return false;
            out_[written_] = c;
        }
        ++written_;
        return true;
    }

private:
    char* out_;
    size_t capacity_;
    size_t written_ = 0;
    char scratch_[256];
};

enum class Outcome { kDone, kTooSmall, kFailed };

// Converts count UTF-16 units into sink.
Outcome Convert(const Converter& converter, const WCHAR* wide, size_t count, Sink& sink) {
    // iconv reads bytes: UTF-16 little-endian, as the units lie on this host.
    static_assert(std::endian::native == std::endian::little, "UTF-16 units are read as little-endian bytes");
    char* in = const_cast<char*>(reinterpret_cast<const char*>(wide));
    size_t in_left = count * 2;
    const char* const start = in;
    while (in_left > 0) {
        char* dst = sink.at();
        size_t dst_left = sink.room();
        const size_t r = iconv(converter.get(), &in, &in_left, &dst, &dst_left);
        sink.Advance(sink.room() - dst_left);
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) {
            if (sink.measuring()) continue;
            return Outcome::kTooSmall;
        }
        if (errno == EILSEQ || errno == EINVAL) {
            // One character the code page cannot hold (or a lone surrogate).
            const size_t unit_index = static_cast<size_t>(in - start) / 2;
            size_t skip = 1;
            if (IsHighSurrogate(wide[unit_index]) && unit_index + 1 < count &&
                IsLowSurrogate(wide[unit_index + 1])) {
                skip = 2;
            }
            if (!sink.Put('?')) return Outcome::kTooSmall;
            in += 2 * skip;
            in_left -= 2 * skip;
            iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        return Outcome::kFailed;
    }
    return Outcome::kDone;
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
    // Text of ASCII characters alone is the same bytes in every one of these
    // code pages: copied without iconv when it fits (most texts of the
    // English, German and other Western languages).
    if (static_cast<size_t>(out_capacity) >= count || out_capacity == 0) {
        size_t ascii = 0;
        while (ascii < count && wide[ascii] < 0x80) ++ascii;
        if (ascii == count && count <= static_cast<size_t>(INT32_MAX)) {
            for (size_t at = 0; out_capacity != 0 && at < count; ++at) out[at] = static_cast<char>(wide[at]);
            return static_cast<int>(count);
        }
    }
    thread_local ThreadConverters converters;
    const Converter* converter = nullptr;
    try {
        converter = converters.For(code_page, target);
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (converter == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Sink sink(out_capacity == 0 ? nullptr : out, static_cast<size_t>(out_capacity));
    switch (Convert(*converter, wide, count, sink)) {
        case Outcome::kDone: break;
        case Outcome::kTooSmall: SetLastError(ERROR_INSUFFICIENT_BUFFER); return 0;
        case Outcome::kFailed: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
    if (sink.written() > static_cast<size_t>(INT32_MAX)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    return static_cast<int>(sink.written());
}

// Lead bytes of double-byte characters: code page 932 only, among the code
// pages the library converts to.
BOOL IsDBCSLeadByteEx(UINT code_page, BYTE test_char) {
    if (code_page != 932) return FALSE;
    return (test_char >= 0x81 && test_char <= 0x9F) || (test_char >= 0xE0 && test_char <= 0xFC) ? TRUE : FALSE;
}
