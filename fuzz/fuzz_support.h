// What the fuzz targets share: the module set up as the library's own, and
// records and packets released the way a caller releases them, so that
// LeakSanitizer sees every leak of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "Tb58Wk31Platform.h"
#include "frame/module_instance.h"
#include "platform/module_of_address.h"
#include "support/status_packet.h"
#include "support/test_record.h"

namespace tb58::fuzz {

inline void UseOwnModule() {
    static const int once = [] {
        frame::SetModuleInstance(platform::ModuleOfAddress(reinterpret_cast<const void*>(&UseOwnModule)));
        return 0;
    }();
    (void)once;
}

// Reads the fuzzer's bytes front to back; past the end it yields zeros.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t Word() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = (value << 8) | Byte();
        return value;
    }
    // The next n bytes (fewer at the end).
    std::string_view Bytes(size_t n) {
        const size_t take = n < size_ - at_ ? n : size_ - at_;
        std::string_view out(reinterpret_cast<const char*>(data_ + at_), take);
        at_ += take;
        return out;
    }
    std::string_view Rest() { return Bytes(size_ - at_); }
    bool Empty() const { return at_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Records, packets and their release, as the tests build them: the way a
// caller builds and releases them.
using tb58::test::AppendChild;
using tb58::test::FreeTree;
using tb58::test::NewItem;
using tb58::test::ReleaseChain;
using tb58::test::ReleaseRecord;

}  // namespace tb58::fuzz
