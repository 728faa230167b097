// PatGetDeviceName through the library: the names, the check bytes and the
// size protocol (what *size and the buffer receive on each outcome).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Tb58Wk31Platform.h"

namespace {

class DeviceNameApi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(PatSetLocale("EN"), 1); }

    // The name, or "<error N>" with *size as it was left in size_out.
    static std::string Name(uint32_t selector, const void* value, uint32_t check, uint32_t* size_out = nullptr) {
        char text[256];
        std::memset(text, 'X', sizeof text);
        uint32_t size = sizeof text;
        const int32_t result = PatGetDeviceName(selector, value, check, text, &size);
        if (size_out != nullptr) *size_out = size;
        if (result != 1) {
            EXPECT_EQ(text[0], 'X');  // the buffer is written only on success
            EXPECT_EQ(size, sizeof text);  // nor the size, except on 122
            return "<error " + std::to_string(GetLastError()) + ">";
        }
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(size, std::strlen(text) + 1);
        return text;
    }
};

TEST_F(DeviceNameApi, TraysAndBins) {
    uint32_t size = 0;
    EXPECT_EQ(Name(TB58_DEVICE_NAME_TRAY, "Tray 3", TB58_DEVICE_NAME_CHECK, &size), "Tray 3");
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(Name(1, "LCT", 0x97), "LCT");
    EXPECT_EQ(Name(1, "tray 3", 0x97), "<error 87>");
    EXPECT_EQ(Name(1, "Interposer Tray", 0x97), "<error 87>");  // in the table, without display text
    EXPECT_EQ(Name(2, "Mailbox Tray 4", 0x97), "Mailbox Tray 4");
    EXPECT_EQ(Name(2, "Finisher Shift Tray 1", 0xFFFFFF97u), "Finisher Shift Tray 1");  // low byte only
    EXPECT_EQ(Name(2, "Mailbox Tray 4", 0x96), "<error 87>");
    EXPECT_EQ(Name(1, "Copy Tray", 0x97), "<error 87>");
}

TEST_F(DeviceNameApi, Options) {
    const int32_t booklet = 649;
    const int32_t duplex = 640;
    EXPECT_EQ(Name(TB58_DEVICE_NAME_OPTION, &booklet, TB58_OPTION_NAME_CHECK), "Booklet Processor");
    EXPECT_EQ(Name(3, &duplex, 0x96), "<error " + std::to_string(TB58_ERROR_NOT_FOUND) + ">");
    EXPECT_EQ(Name(3, &booklet, 0x97), "<error 87>");
}

TEST_F(DeviceNameApi, ArgumentsThatAreRefused) {
    EXPECT_EQ(Name(0, "Tray 3", 0x97), "<error 87>");
    EXPECT_EQ(Name(4, "Tray 3", 0x97), "<error 87>");
    EXPECT_EQ(Name(1, nullptr, 0x97), "<error 87>");
    EXPECT_EQ(Name(3, nullptr, 0x96), "<error 87>");
    char text[16];
    EXPECT_EQ(PatGetDeviceName(1, "Tray 3", 0x97, text, nullptr), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
}

TEST_F(DeviceNameApi, SizeProtocol) {
    const char* name = "Finisher Booklet Tray";
    const uint32_t needed = static_cast<uint32_t>(std::strlen(name) + 1);
    char text[64];

    // Exactly large enough.
    uint32_t size = needed;
    std::memset(text, 'X', sizeof text);
    EXPECT_EQ(PatGetDeviceName(2, name, 0x97, text, &size), 1);
    EXPECT_STREQ(text, name);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(text[needed], 'X');

    // One byte short: 122, the needed size, the buffer untouched.
    size = needed - 1;
    std::memset(text, 'X', sizeof text);
    EXPECT_EQ(PatGetDeviceName(2, name, 0x97, text, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(text[0], 'X');

    // A null buffer with no capacity asks for the size.
    size = 0;
    EXPECT_EQ(PatGetDeviceName(2, name, 0x97, nullptr, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, needed);

    // A null buffer that claims to be large enough is refused, not written.
    size = 256;
    EXPECT_EQ(PatGetDeviceName(2, name, 0x97, nullptr, &size), 0);
    EXPECT_EQ(GetLastError(), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(size, 256u);
}

}  // namespace
