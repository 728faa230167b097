// Display names of trays, output bins and options: every name of the shared
// tables reaches its English text, the comparisons are exact, and the check
// bytes and selectors are enforced.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Tb58Wk31.h"
#include "convert/device_name_tables.h"
#include "status/device_name.h"
#include "support/language_guard.h"

namespace {

using namespace tb58;
using namespace tb58::status;
using test::LanguageGuard;

constexpr LANGID kEnglish = 0x0409;

// Every row of a name table with a display text loads the English text,
// which for this family is the English name itself.
void ExpectEveryName(uint32_t selector, const convert::DeviceNameRow* rows) {
    size_t with_text = 0;
    for (const convert::DeviceNameRow* row = rows; row->name != nullptr; ++row) {
        char out[kDeviceNameCapacity];
        const uint32_t result = LoadTrayName(selector, row->name, out, sizeof out);
        if (row->string_id == 0) {
            EXPECT_EQ(result, static_cast<uint32_t>(ERROR_INVALID_PARAMETER)) << row->name;
            EXPECT_STREQ(out, "");
            continue;
        }
        ++with_text;
        EXPECT_EQ(result, 0u) << row->name;
        EXPECT_STREQ(out, row->name);
    }
    EXPECT_GT(with_text, 0u);
}

TEST(DeviceNames, EveryTrayAndBinName) {
    LanguageGuard english(kEnglish);
    ExpectEveryName(TB58_DEVICE_NAME_TRAY, convert::kTrayNames);
    ExpectEveryName(TB58_DEVICE_NAME_OUTBIN, convert::kOutBinNames);
}

TEST(DeviceNames, NamesAreComparedExactlyAndPerTable) {
    LanguageGuard english(kEnglish);
    char out[kDeviceNameCapacity];
    for (const char* name : {"tray 3", "Tray 3 ", " Tray 3", "Tray", "", "TRAY 1", "Copy Tray"}) {
        std::strcpy(out, "junk");
        EXPECT_EQ(LoadTrayName(1, name, out, sizeof out), static_cast<uint32_t>(ERROR_INVALID_PARAMETER)) << name;
        EXPECT_STREQ(out, "");
    }
    // A tray name is not an output bin name.
    EXPECT_EQ(LoadTrayName(2, "Tray 1", out, sizeof out), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(LoadTrayName(3, "Tray 1", out, sizeof out), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(LoadTrayName(0, "Tray 1", out, sizeof out), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
}

TEST(DeviceNames, EveryOptionName) {
    LanguageGuard english(kEnglish);
    const struct {
        int32_t code;
        const char* text;
    } options[] = {
        {637, "Auto Document Feeder // ADF"}, {638, "Large Capacity Tray // LCT"}, {639, "Interposer"},
        {644, "Finisher Brindle"},            {645, "Finisher Tamsin BK"},         {646, "Finisher Tamsin"},
        {647, "Finisher Corvid"},             {648, "Mailbox"},                    {656, "Z-folding unit"},
        {664, "IEEE1394 Board"},              {666, "Wireless Comm. Card"},        {667, "Bluetooth Interface"},
        {669, "IEEE1284 Board"},              {649, "Booklet Processor"},
    };
    for (const auto& option : options) {
        char out[kDeviceNameCapacity];
        EXPECT_EQ(LoadOptionName(option.code, out, sizeof out), 0u) << option.code;
        EXPECT_STREQ(out, option.text);
    }
    for (int32_t code : {640, 0, -1, 4000, 642}) {
        char out[kDeviceNameCapacity] = "junk";
        EXPECT_EQ(LoadOptionName(code, out, sizeof out), TB58_ERROR_NOT_FOUND) << code;
        EXPECT_STREQ(out, "");
    }
}

TEST(DeviceNames, SelectorsAndCheckBytes) {
    LanguageGuard english(kEnglish);
    char out[kDeviceNameCapacity];
    const int32_t booklet = 649;
    EXPECT_EQ(GetDeviceNameText(1, "Tray 3", 0x97, out, sizeof out), 0u);
    EXPECT_STREQ(out, "Tray 3");
    EXPECT_EQ(GetDeviceNameText(2, "Mailbox Tray 4", 0x97, out, sizeof out), 0u);
    EXPECT_STREQ(out, "Mailbox Tray 4");
    EXPECT_EQ(GetDeviceNameText(3, &booklet, 0x96, out, sizeof out), 0u);
    EXPECT_STREQ(out, "Booklet Processor");

    const uint32_t invalid = ERROR_INVALID_PARAMETER;
    EXPECT_EQ(GetDeviceNameText(2, "Mailbox Tray 4", 0x96, out, sizeof out), invalid);
    EXPECT_EQ(GetDeviceNameText(1, "Tray 3", 0x00, out, sizeof out), invalid);
    EXPECT_EQ(GetDeviceNameText(3, &booklet, 0x97, out, sizeof out), invalid);
    EXPECT_EQ(GetDeviceNameText(0, "Tray 3", 0x97, out, sizeof out), invalid);
    EXPECT_EQ(GetDeviceNameText(4, "Tray 3", 0x97, out, sizeof out), invalid);
    EXPECT_EQ(GetDeviceNameText(0x101, "Tray 3", 0x97, out, sizeof out), invalid);
    // A missing value is refused rather than read.
    EXPECT_EQ(GetDeviceNameText(1, nullptr, 0x97, out, sizeof out), invalid);
    EXPECT_EQ(GetDeviceNameText(3, nullptr, 0x96, out, sizeof out), invalid);
    EXPECT_STREQ(out, "");
}

TEST(DeviceNames, SmallCapacityCutsTheText) {
    LanguageGuard english(kEnglish);
    char out[8];
    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(LoadTrayName(2, "Booklet Processor Tray", out, 5), 0u);
    EXPECT_STREQ(out, "Book");
    EXPECT_EQ(out[5], 'X');
}

}  // namespace
