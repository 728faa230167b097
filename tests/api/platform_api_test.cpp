// The system services a caller uses beside the library: global memory and
// the last error, from the system on Windows and from the library elsewhere.
#include <gtest/gtest.h>

#include <cstring>

#include "Tb58Wk31Platform.h"

namespace {

TEST(PlatformApi, GlobalMemoryRoundTrip) {
    void* block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 100);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 100u);
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(bytes[i], 0);
    std::memset(block, 0x5A, 100);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(PlatformApi, LastErrorRoundTrip) {
    SetLastError(TB58_ERROR_NOT_FOUND);
    EXPECT_EQ(GetLastError(), TB58_ERROR_NOT_FOUND);
    SetLastError(0);
    EXPECT_EQ(GetLastError(), 0u);
}

}  // namespace

extern "C" int tb58_c_build_status_child(void* out, const PrnInfoEx* record);

namespace {

TEST(PublicHeaders, CCallerLaysOutAPacketItem) {
    alignas(8) unsigned char bytes[56];
    PrnInfoEx record{};
    EXPECT_EQ(tb58_c_build_status_child(bytes, &record), 56);
    InfoItem item;
    std::memcpy(&item, bytes, sizeof item);
    EXPECT_EQ(item.key, ITEM_STATUS_MACHINE);
    EXPECT_EQ(item.dataLength, 8u);
    const PrnInfoEx* address = nullptr;
    std::memcpy(&address, bytes + 48, sizeof address);
    EXPECT_EQ(address, &record);
}

}  // namespace
