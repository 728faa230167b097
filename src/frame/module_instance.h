// The module instance handle, stored when the module is loaded; all resource
// access goes through it.
#pragma once

#include "platform/win32_api.h"

namespace tb58::frame {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

}  // namespace tb58::frame
