// Reading option values: code lists, request flags, function kinds.
#include <gtest/gtest.h>

#include <Tb58Wk31.h>

#include "base/cli_error.h"
#include "base/value_lists.h"

namespace tb58mon {
namespace {

template <typename Call>
std::string ErrorOf(Call call) {
    try {
        call();
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitBadArguments);
        return e.what();
    }
    return "";
}

TEST(ValueLists, StatusCodes) {
    EXPECT_EQ(ParseStatusCodes("--codes", "41201,41301"), (std::vector<int32_t>{41201, 41301}));
    EXPECT_EQ(ParseStatusCodes("--codes", " 41201/41301,,10001 "), (std::vector<int32_t>{41201, 41301, 10001}));
    // -254 and its unsigned spelling are the same 32 bits.
    EXPECT_EQ(ParseStatusCodes("--codes", "-254,4294967042"), (std::vector<int32_t>{-254, -254}));
    EXPECT_EQ(ParseStatusCodes("--codes", "-2147483648"), (std::vector<int32_t>{INT32_MIN}));
    EXPECT_NE(ErrorOf([] { ParseStatusCodes("--codes", "41x01"); }).find("'41x01' is not a status code"),
              std::string::npos);
    EXPECT_NE(ErrorOf([] { ParseStatusCodes("--codes", "4294967296"); }).find("is not a status code"),
              std::string::npos);
    EXPECT_NE(ErrorOf([] { ParseStatusCodes("--codes", "-2147483649"); }).find("is not a status code"),
              std::string::npos);
    EXPECT_NE(ErrorOf([] { ParseStatusCodes("--codes", "1e3"); }).find("'1e3'"), std::string::npos);
    EXPECT_NE(ErrorOf([] { ParseStatusCodes("--codes", " , "); }).find("needs at least one code"),
              std::string::npos);
}

TEST(ValueLists, SmallCodes) {
    EXPECT_TRUE(ParseSmallCodes("--trays", "").empty());
    EXPECT_EQ(ParseSmallCodes("--trays", "3,4,65535"), (std::vector<uint16_t>{3, 4, 65535}));
    EXPECT_NE(ErrorOf([] { ParseSmallCodes("--options", "38,65536"); }).find("--options '38,65536': '65536'"),
              std::string::npos);
    EXPECT_NE(ErrorOf([] { ParseSmallCodes("--options", "-1"); }).find("'-1'"), std::string::npos);
}

TEST(ValueLists, RequestFlags) {
    EXPECT_EQ(ParseRequestFlags("--flags", "system,tray,outbin"), INFO_SYSTEM | INFO_TRAY | INFO_OUTBIN);
    EXPECT_EQ(ParseRequestFlags("--flags", "engine-status"), INFO_ENGINE_STATUS);
    EXPECT_EQ(ParseRequestFlags("--flags", "all"), AllRequestFlags());
    EXPECT_EQ(AllRequestFlags(), INFO_STATUS | INFO_SYSTEM | INFO_TRAY | INFO_OUTBIN | INFO_EMUL | INFO_FONT |
                                     INFO_IDENTITY | INFO_DEVICE | INFO_ENGINE_STATUS);
    EXPECT_EQ(ParseRequestFlags("--flags", "0x10,4"), INFO_OUTBIN | INFO_SYSTEM);
    EXPECT_EQ(RequestFlagNames(INFO_OUTBIN | INFO_SYSTEM), "INFO_SYSTEM | INFO_OUTBIN");
    EXPECT_EQ(RequestFlagNames(0), "0");
    EXPECT_NE(ErrorOf([] { ParseRequestFlags("--flags", "tray,trays"); }).find("'trays' is not a flag"),
              std::string::npos);
    EXPECT_NE(ErrorOf([] { ParseRequestFlags("--flags", "0xZZ"); }).find("'0xZZ'"), std::string::npos);
}

TEST(ValueLists, FunctionKinds) {
    EXPECT_EQ(ParseFunctionKind("--kind", "1"), TB58_KIND_PRINTER);
    EXPECT_EQ(ParseFunctionKind("--kind", "copier"), TB58_KIND_COPIER);
    EXPECT_EQ(ParseFunctionKind("--kind", "2"), TB58_KIND_SCANNER);
    EXPECT_EQ(ParseFunctionKind("--kind", "0x8000"), TB58_KIND_MACHINE);
    EXPECT_EQ(ParseFunctionKind("--kind", "32768"), TB58_KIND_MACHINE);
    EXPECT_EQ(FunctionKindName(TB58_KIND_COPIER | TB58_KIND_ALTERNATE), "copier");
    for (const char* bad : {"4", "16", "0x10001", "printers", ""}) {
        EXPECT_NE(ErrorOf([&] { ParseFunctionKind("--kind", bad); }).find("is not a function kind"),
                  std::string::npos)
            << bad;
    }
}

}  // namespace
}  // namespace tb58mon
