/*
 * The module's own version, peripheral profiles, palette and bitmap
 * resources: PatGetDllVersion, PatGetPeripheralProfile, PatGetPalette,
 * PatLoadBitmap and PatLoadDIBitmap.
 * Include <Tb58Wk31.h>, which includes this header.
 */
#ifndef TB58WK31_RESOURCES_H
#define TB58WK31_RESOURCES_H

#include "Tb58Wk31.h"
#include "Tb58Wk31Layout.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Version record ------------------------------------------------------ */

/*
 * Filled by PatGetDllVersion.  Versions are packed one component per byte,
 * major in the most significant byte: 1.1.5.0 is 0x01010500.  The two fixed
 * words carry no meaning beyond their values.
 */
typedef struct DllVersionInfo {
    uint32_t dwSize;           /* in: size of the record, at least TB58_DLL_VERSION_MIN_SIZE; kept */
    uint32_t dwFileVersion;    /* the module's file version, packed; 0 when it could not be read */
    uint32_t dwFixedVersion1;  /* always 0x02000100 (2.0.1.0) */
    uint32_t dwFixedVersion2;  /* always 0x03060000 (3.6.0.0) */
    uint32_t dwReserved[4];    /* set to 0 */
} DllVersionInfo;

#define TB58_DLL_VERSION_MIN_SIZE 32u

TB58_CHECK_OFFSET(DllVersionInfo, dwSize, 0);
TB58_CHECK_OFFSET(DllVersionInfo, dwFileVersion, 4);
TB58_CHECK_OFFSET(DllVersionInfo, dwFixedVersion1, 8);
TB58_CHECK_OFFSET(DllVersionInfo, dwFixedVersion2, 12);
TB58_CHECK_OFFSET(DllVersionInfo, dwReserved, 16);
TB58_CHECK_SIZE(DllVersionInfo, 32);

/* ---- Peripheral profile ---------------------------------------------------- */

/* Five fixed words per function kind; they carry no meaning beyond their values. */
typedef struct PeripheralProfile {
    uint32_t dwValue[5];
} PeripheralProfile;

#define TB58_PERIPHERAL_PROFILE_SIZE 20u

TB58_CHECK_OFFSET(PeripheralProfile, dwValue, 0);
TB58_CHECK_SIZE(PeripheralProfile, 20);

/* ---- Palette --------------------------------------------------------------- */

/* The layouts of a Windows PALETTEENTRY and LOGPALETTE. */
typedef struct PaletteEntry {
    uint8_t bRed;
    uint8_t bGreen;
    uint8_t bBlue;
    uint8_t bFlags;
} PaletteEntry;

typedef struct PaletteInfo {
    uint16_t wVersion;         /* TB58_PALETTE_VERSION */
    uint16_t wCount;           /* number of entries */
    PaletteEntry entries[1];   /* wCount entries (the record is TB58_PALETTE_SIZE(wCount) bytes) */
} PaletteInfo;

#define TB58_PALETTE_VERSION 0x300u
#define TB58_PALETTE_SIZE(count) (4u + 4u * (count))

TB58_CHECK_OFFSET(PaletteEntry, bRed, 0);
TB58_CHECK_OFFSET(PaletteEntry, bGreen, 1);
TB58_CHECK_OFFSET(PaletteEntry, bBlue, 2);
TB58_CHECK_OFFSET(PaletteEntry, bFlags, 3);
TB58_CHECK_SIZE(PaletteEntry, 4);
TB58_CHECK_OFFSET(PaletteInfo, wVersion, 0);
TB58_CHECK_OFFSET(PaletteInfo, wCount, 2);
TB58_CHECK_OFFSET(PaletteInfo, entries, 4);

/* ---- Exports --------------------------------------------------------------- */

/*
 * Fills the version record: the module's file version read from its own
 * version resource, the two fixed words, and zeros in the reserved words.
 * info->dwSize must be at least 32; bytes beyond the first 32 of a larger
 * record are left alone.
 * Last error: 87 (null record, dwSize below 32; the record is untouched);
 * a system code when the module file name or its version resource cannot be
 * read (the words from offset 4 on are already zero then).
 */
TB58WK31_API int32_t PatGetDllVersion(DllVersionInfo *info);

/*
 * The peripheral profile of a function kind (only the low 16 bits count:
 * TB58_KIND_PRINTER, _SCANNER, _COPIER or _MACHINE).
 * size: in, the capacity of profile in bytes; out, 20 whenever size is not
 * null.  Last error: 87 (null size or profile, kind not accepted), 122
 * (capacity below 20).
 */
TB58WK31_API int32_t PatGetPeripheralProfile(uint32_t kind, PeripheralProfile *profile, uint32_t *size);

/*
 * The model's colour palette.  size: in, the capacity of palette in bytes
 * (0 with a null palette asks for the size); out, the needed size when it is
 * too small.  This model has no palette: every valid call fails with
 * TB58_ERROR_NO_PALETTE.  Last error: 87 (null size, capacity without a
 * palette), TB58_ERROR_NO_PALETTE, 122.
 */
TB58WK31_API int32_t PatGetPalette(PaletteInfo *palette, uint32_t *size);

/*
 * One of the module's bitmap resources ("BM_BASE1", "BM_POINT_8_B", ...) as
 * a bitmap handle in the screen's format (an HBITMAP on Windows).  The
 * caller owns the handle and releases it with DeleteObject; GetObjectA
 * describes it.  Null with last error 87 for a null name, or with the
 * system's code (1814, resource name not found) when there is no such
 * bitmap.
 */
TB58WK31_API void *PatLoadBitmap(const char *name);

/*
 * The same resource as it lies in the module: a packed device-independent
 * bitmap (BITMAPINFOHEADER, colour table, RLE8-compressed pixels).  The data
 * is read-only, belongs to the module and stays valid while the module is
 * loaded; the caller does not free it.  Null with last error 87 for a null
 * name, or with the system's code when there is no such bitmap.
 */
TB58WK31_API const void *PatLoadDIBitmap(const char *name);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_RESOURCES_H */
