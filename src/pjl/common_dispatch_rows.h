// The general INFO sections, looked up after the model's rows of the same
// path; every model's dispatch index includes them.
#pragma once

#include "pjl/reply_dispatch.h"
#include "pjl/reply_handlers.h"

namespace tb58::pjl {

inline constexpr PjlDispatchRow kCommonDispatchRows[] = {
    {{"INFO", "TZMO", "", "", ""}, HandleEmulUniqInfo, 0},
    {{"INFO", "CONFIG", "", "", ""}, HandleDeviceInfoReset, 0},
    {{"INFO", "CONFIG", "VERSION", "", ""}, HandleVersionSection, 0},
    {{"INFO", "CONFIG", "IN TRAYS", "", ""}, HandleInTraySection, 0},
    {{"INFO", "CONFIG", "MEMORY", "", ""}, HandleMemorySize, 0},
    {{"INFO", "CONFIG", "PUNCH", "", ""}, HandlePunchUnit, 0},
    {{"INFO", "OUTBINSTATUS", "", "", ""}, HandleOutBinSection, 0},
};

}  // namespace tb58::pjl
