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
 *   GlobalSize                   the usable size of a block, in bytes.
 */
#ifndef TB58WK31_PLATFORM_H
#define TB58WK31_PLATFORM_H

#include "Tb58Wk31.h"

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

#ifdef __cplusplus
}
#endif

#endif /* _WIN32 */
#endif /* TB58WK31_PLATFORM_H */
