/*
 * The system services a caller of Tb58Wk31 needs next to the library.
 *
 * On Windows these are the system's own (KERNEL32); this header includes
 * <windows.h>.  Elsewhere the library exports them under their Win32 names
 * with the same behaviour, so a caller releases library-made memory and
 * reads the last error exactly as a Windows caller does:
 *
 *   GetLastError / SetLastError  the calling thread's last-error value;
 *   GlobalAlloc / GlobalFree     fixed global memory (GMEM_ZEROINIT zero-fills);
 *   GlobalSize                   the usable size of a block, in bytes;
 *   GetObjectA / DeleteObject    describe and release a bitmap handle made by
 *                                PatLoadBitmap (GDI32 on Windows).
 */
#ifndef TB58WK31_PLATFORM_H
#define TB58WK31_PLATFORM_H

#include "Tb58Wk31.h"
#include "Tb58Wk31Layout.h"

#ifdef _WIN32
#include <windows.h>
#else

#ifdef __cplusplus
extern "C" {
#endif

#ifndef GMEM_FIXED
#define GMEM_FIXED    0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GPTR          (GMEM_FIXED | GMEM_ZEROINIT)
#endif

TB58WK31_API uint32_t GetLastError(void);
TB58WK31_API void SetLastError(uint32_t code);
/* Returns null with last error 8 when the memory cannot be had. */
TB58WK31_API void *GlobalAlloc(uint32_t flags, size_t bytes);
/* Returns null on success, the block itself (last error 6) for a bad block. */
TB58WK31_API void *GlobalFree(void *block);
/* 0 (last error 6) for a null block. */
TB58WK31_API size_t GlobalSize(void *block);

/*
 * A bitmap handle from PatLoadBitmap holds 32-bit pixels, top row first:
 * bmBits points to bmHeight rows of bmWidthBytes bytes, each pixel the
 * bytes blue, green, red, 0 (the layout of a 32-bit top-down DIB).  The
 * pixels belong to the handle and go with it.
 */
typedef struct BITMAP {
    int32_t bmType;        /* 0 */
    int32_t bmWidth;
    int32_t bmHeight;
    int32_t bmWidthBytes;  /* bmWidth * 4 */
    uint16_t bmPlanes;     /* 1 */
    uint16_t bmBitsPixel;  /* 32 */
    void *bmBits;
} BITMAP;

TB58_CHECK_OFFSET(BITMAP, bmType, 0);
TB58_CHECK_OFFSET(BITMAP, bmWidth, 4);
TB58_CHECK_OFFSET(BITMAP, bmHeight, 8);
TB58_CHECK_OFFSET(BITMAP, bmWidthBytes, 12);
TB58_CHECK_OFFSET(BITMAP, bmPlanes, 16);
TB58_CHECK_OFFSET(BITMAP, bmBitsPixel, 18);
TB58_CHECK_OFFSET(BITMAP, bmBits, 24);
TB58_CHECK_SIZE(BITMAP, 32);

/* Copies the BITMAP of a bitmap handle into out and returns its size (32);
 * with a null out, returns 32 only.  0 (last error 6) for a handle that is
 * not a live bitmap, 0 for a size below 32. */
TB58WK31_API int32_t GetObjectA(void *object, int32_t size, void *out);
/* Releases a bitmap handle; 0 (last error 6) for one that is not live. */
TB58WK31_API int32_t DeleteObject(void *object);

#ifdef __cplusplus
}
#endif

#endif /* _WIN32 */
#endif /* TB58WK31_PLATFORM_H */
