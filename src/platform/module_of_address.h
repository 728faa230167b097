// The module (shared library, DLL or program) that holds a given address.
#pragma once

#include "platform/win32_api.h"

namespace tb58::platform {

// The module handle of the module whose code or data holds address: the
// handle Windows gives the module, elsewhere the module's load address.
HMODULE ModuleOfAddress(const void* address);

}  // namespace tb58::platform
