// PatLoadBitmap and PatLoadDIBitmap: the module's bitmap resources by name.
#include "Tb58Wk31.h"
#include "frame/export_frame.h"
#include "frame/module_instance.h"

extern "C" TB58WK31_API void* PatLoadBitmap(const char* name) {
    using namespace tb58;
    if (name == nullptr) return frame::FinishPointer<void>(ERROR_INVALID_PARAMETER, nullptr);
    HBITMAP bitmap = LoadBitmapA(frame::ModuleInstance(), name);
    if (bitmap == nullptr) return nullptr;  // with the last error LoadBitmapA left
    return frame::FinishPointer<void>(ERROR_SUCCESS, bitmap);
}

extern "C" TB58WK31_API const void* PatLoadDIBitmap(const char* name) {
    using namespace tb58;
    if (name == nullptr) return frame::FinishPointer<const void>(ERROR_INVALID_PARAMETER, nullptr);
    HMODULE module = frame::ModuleInstance();
    HRSRC resource = FindResourceA(module, name, RT_BITMAP);
    HGLOBAL loaded = resource == nullptr ? nullptr : LoadResource(module, resource);
    const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
    if (data == nullptr) {
        // The system's code stays the failure code; a failure that left
        // none is still reported as one.
        const uint32_t error = GetLastError();
        return frame::FinishPointer<const void>(error != ERROR_SUCCESS ? error : ERROR_RESOURCE_DATA_NOT_FOUND,
                                                nullptr);
    }
    return frame::FinishPointer(ERROR_SUCCESS, data);
}
