/*
 * The status picture: PatCreateBitmapInfo and PatDisposeBitmapInfo.
 * Include <Tb58Wk31.h>, which includes this header.
 *
 * A picture is described as an ordered array of layers, each naming one of
 * the module's bitmap resources (load it with PatLoadBitmap or
 * PatLoadDIBitmap), its position and the raster operation to draw it with.
 * Drawn in array order onto a 320 x 200 canvas, the layers show the
 * machine's main body with its installed options and, on top, markers at
 * the places that need attention and whole-picture overlays.
 *
 * Walk the result from the BitmapInfo to its array of layer lists and from
 * each list to its layers, using dwSize as the stride of each array.
 */
#ifndef TB58WK31_PICTURE_H
#define TB58WK31_PICTURE_H

#include "Tb58Wk31.h"
#include "Tb58Wk31Layout.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Raster operations (the GDI codes of the same names). */
#define TB58_ROP_SRCCOPY  0x00CC0020u  /* copy the bitmap */
#define TB58_ROP_SRCAND   0x008800C6u  /* AND: a mask clears what it covers */
#define TB58_ROP_SRCPAINT 0x00EE0086u  /* OR: paints into the cleared area */

/* Description codes. */
#define TB58_BITMAP_INFO_CODE   201u  /* a BitmapInfo: an array of layer lists */
#define TB58_BITMAP_LIST_CODE   200u  /* a BitmapLayerList */

/*
 * One layer.  x and y place the bitmap's top-left corner relative to the
 * main body picture's origin; x may be negative (units to the left of the
 * canvas).  Layers with an even number are drawn transparently: first the
 * mask named NAME_B with SRCAND, then the picture NAME with SRCPAINT.
 */
typedef struct BitmapLayer {
    char szName[32];           /* bitmap resource name, zero-terminated (at most 31 characters) */
    int32_t x;
    int32_t y;
    uint32_t dwRop;            /* TB58_ROP_... */
    uint8_t bLayer;            /* layer number 1-255; higher numbers lie on top */
    uint8_t reserved[3];
} BitmapLayer;

typedef struct BitmapLayerList {
    uint8_t bCode;             /* TB58_BITMAP_LIST_CODE */
    uint8_t reserved1[3];
    uint32_t dwCount;          /* number of layers (may be 0) */
    uint32_t dwSize;           /* size of one layer: 48 */
    uint32_t reserved2;
    BitmapLayer *pLayers;      /* dwCount layers in drawing order; never null in a list made by the library */
} BitmapLayerList;

typedef struct BitmapInfo {
    uint8_t bCode;             /* TB58_BITMAP_INFO_CODE */
    uint8_t reserved1[3];
    uint32_t dwCount;          /* number of layer lists: always 1 */
    uint32_t dwSize;           /* size of one layer list: 24 */
    uint32_t reserved2;
    BitmapLayerList *pLists;
} BitmapInfo;

TB58_CHECK_OFFSET(BitmapLayer, szName, 0);
TB58_CHECK_OFFSET(BitmapLayer, x, 32);
TB58_CHECK_OFFSET(BitmapLayer, y, 36);
TB58_CHECK_OFFSET(BitmapLayer, dwRop, 40);
TB58_CHECK_OFFSET(BitmapLayer, bLayer, 44);
TB58_CHECK_OFFSET(BitmapLayer, reserved, 45);
TB58_CHECK_SIZE(BitmapLayer, 48);
TB58_CHECK_OFFSET(BitmapLayerList, bCode, 0);
TB58_CHECK_OFFSET(BitmapLayerList, dwCount, 4);
TB58_CHECK_OFFSET(BitmapLayerList, dwSize, 8);
TB58_CHECK_OFFSET(BitmapLayerList, pLayers, 16);
TB58_CHECK_SIZE(BitmapLayerList, 24);
TB58_CHECK_OFFSET(BitmapInfo, bCode, 0);
TB58_CHECK_OFFSET(BitmapInfo, dwCount, 4);
TB58_CHECK_OFFSET(BitmapInfo, dwSize, 8);
TB58_CHECK_OFFSET(BitmapInfo, pLists, 16);
TB58_CHECK_SIZE(BitmapInfo, 24);

/*
 * Describes the status picture of a function kind.
 *
 * kind      TB58_KIND_PRINTER, _SCANNER or _COPIER, with TB58_KIND_ALTERNATE
 *           for the alternate presentation; TB58_KIND_MACHINE is accepted
 *           and gives one empty layer list (it has no status priorities).
 * packet    a status packet, as for PatGetStatusString.
 * revision  TB58_REVISION_STATUS (low byte).
 *
 * Returns a new description that the caller releases with
 * PatDisposeBitmapInfo, or null.  Last error: 87 (null packet, wrong
 * revision or kind, not a status packet, a record whose dwSize is below
 * 404), 8 (not enough memory; nothing stays allocated).
 */
TB58WK31_API BitmapInfo *PatCreateBitmapInfo(uint32_t kind, const InfoItem *packet, uint32_t revision);

/*
 * Releases a description made by PatCreateBitmapInfo (code 201), or a lone
 * layer list (code 200) whose blocks are global memory.  The description is
 * checked before anything is released: a null pointer, another code, or a
 * list inside it whose code is not 200 fails with last error 87 and frees
 * nothing.
 */
TB58WK31_API int32_t PatDisposeBitmapInfo(void *description);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_PICTURE_H */
