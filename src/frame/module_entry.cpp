// The module's entry: store the module instance handle when the module is
// loaded into a process.  Nothing else is set up and nothing needs tearing
// down.
#include "frame/module_instance.h"

#ifdef _WIN32

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) tb58::frame::SetModuleInstance(instance);
    return TRUE;
}

#else

#include "platform/module_of_address.h"

namespace {

// Runs when the shared library is loaded; the handle is the library's load
// address, which the platform's resource and module functions understand.
__attribute__((constructor)) void OnLibraryLoad() {
    tb58::frame::SetModuleInstance(tb58::platform::ModuleOfAddress(reinterpret_cast<const void*>(&OnLibraryLoad)));
}

}  // namespace

#endif
