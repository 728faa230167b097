// Bitmap objects: LoadBitmapA decodes a named RT_BITMAP resource of the
// module into 32-bit pixels, top row first; GetObjectA describes such an
// object and DeleteObject releases it.
//
// Live objects are kept in a list, so that a handle which is not (or no
// longer) a live bitmap is refused without being read.  Unlike the screen
// bitmaps of Windows, the object's BITMAP carries the address of its pixels.
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/packed_dib.h"
#include "platform/win32_api.h"

namespace {

struct BitmapObject {
    BitmapObject* next;  // the next live object
    BITMAP description;
    // width * height pixels follow
};

std::mutex live_objects_lock;
BitmapObject* live_objects = nullptr;

uint32_t* PixelsOf(BitmapObject* object) { return reinterpret_cast<uint32_t*>(object + 1); }

// The live object with this handle, unlinked when unlink is set; null when
// there is none.  The handle is compared, never read.  The caller holds the
// lock.
BitmapObject* FindLive(const void* handle, bool unlink) {
    for (BitmapObject** link = &live_objects; *link != nullptr; link = &(*link)->next) {
        if (*link != handle) continue;
        BitmapObject* object = *link;
        if (unlink) *link = object->next;
        return object;
    }
    return nullptr;
}

}  // namespace

// Windows looks the name up among the module's bitmaps and creates a bitmap
// in the screen's format; here the screen format is 32 bits per pixel.
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HRSRC resource = FindResourceA(instance, name, RT_BITMAP);
    if (resource == nullptr) return nullptr;  // the lookup has set the last error
    const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(instance, resource)));
    const DWORD size = SizeofResource(instance, resource);
    tb58::platform::DibLayout layout{};
    if (data == nullptr || !tb58::platform::ReadDibLayout(data, size, &layout)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const size_t pixels = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height);
    auto* object = static_cast<BitmapObject*>(std::malloc(sizeof(BitmapObject) + pixels * sizeof(uint32_t)));
    if (object == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (!tb58::platform::DecodeDibPixels(data, size, layout, PixelsOf(object))) {
        std::free(object);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    object->description = BITMAP{0, layout.width, layout.height, layout.width * 4, 1, 32, PixelsOf(object)};
    std::lock_guard<std::mutex> hold(live_objects_lock);
    object->next = live_objects;
    live_objects = object;
    return reinterpret_cast<HBITMAP>(object);
}

extern "C" {

TB58WK31_API int32_t GetObjectA(void* handle, int32_t size, void* out) {
    std::lock_guard<std::mutex> hold(live_objects_lock);
    const BitmapObject* object = handle == nullptr ? nullptr : FindLive(handle, false);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (out == nullptr) return sizeof(BITMAP);
    if (size < static_cast<int32_t>(sizeof(BITMAP))) return 0;
    std::memcpy(out, &object->description, sizeof(BITMAP));
    return sizeof(BITMAP);
}

TB58WK31_API int32_t DeleteObject(void* handle) {
    BitmapObject* object = nullptr;
    {
        std::lock_guard<std::mutex> hold(live_objects_lock);
        object = handle == nullptr ? nullptr : FindLive(handle, true);
    }
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::free(object);
    return TRUE;
}

}  // extern "C"
