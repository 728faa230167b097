// The general INFO sections, looked up after the model's rows.
#include "pjl/reply_dispatch.h"
#include "pjl/reply_handlers.h"

namespace tb58::pjl {

namespace {

constexpr PjlDispatchRow kRows[] = {
    {{"INFO", "TZMO", "", "", ""}, HandleEmulUniqInfo, 0},
    {{"INFO", "CONFIG", "", "", ""}, HandleDeviceInfoReset, 0},
    {{"INFO", "CONFIG", "VERSION", "", ""}, HandleVersionSection, 0},
    {{"INFO", "CONFIG", "IN TRAYS", "", ""}, HandleInTraySection, 0},
    {{"INFO", "CONFIG", "MEMORY", "", ""}, HandleMemorySize, 0},
    {{"INFO", "CONFIG", "PUNCH", "", ""}, HandlePunchUnit, 0},
    {{"INFO", "OUTBINSTATUS", "", "", ""}, HandleOutBinSection, 0},
    {{nullptr, nullptr, nullptr, nullptr, nullptr}, nullptr, 0},
};

constexpr auto kRowsByHash = SortRowsByPathHash(kRows);
constexpr auto kPathFilter = MakePathHashFilter(kRows);

}  // namespace

const PjlDispatchTable kCommonDispatchTable{kRows, kRowsByHash.data(), kRowsByHash.size(), kPathFilter};

}  // namespace tb58::pjl
