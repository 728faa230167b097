/*
 * The information packet: a tree of items, each one fixed global memory
 * block (GlobalAlloc, GMEM_FIXED) of 48 header bytes followed by its data.
 *
 *   QueryInfo   (built by the library)  root ITEM_QUERY_INFO; children: an
 *               empty ITEM_DEVICE_ID request, then one ITEM_PJL_TEXT with
 *               the query text (its terminating zero counted in the length).
 *   CentroData  (built by the caller)   root ITEM_CENTRO_DATA, or
 *               ITEM_EMUL_CENTRO_DATA with a 4-byte emulation code (15);
 *               children in any order: the QueryInfo that was sent, an
 *               ITEM_PJL_TEXT with the reply text, an ITEM_DEVICE_ID with
 *               the device ID text.
 *   Status      (built by the caller)   root ITEM_STATUS; children keyed
 *               ITEM_STATUS_PRINTER ... ITEM_STATUS_FUNCTION4 whose 8 data
 *               bytes hold the address of a PrnInfoEx record.
 *
 * Children of an item form a chain from firstChild through next to
 * lastChild, in the order they were appended; each names its parent.  Texts
 * are read up to their first zero byte and never past dataLength.  Every
 * item is released on its own with GlobalFree; the library never releases
 * or changes a packet the caller built.
 */
#ifndef TB58WK31_INFO_ITEM_H
#define TB58WK31_INFO_ITEM_H

#include <stdint.h>

#include "Tb58Wk31Layout.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Item keys. */
#define ITEM_QUERY_INFO        1u     /* root of a QueryInfo; also a child of a CentroData */
#define ITEM_CENTRO_DATA       2u     /* root of a CentroData answering PatCreateQueryInfo */
#define ITEM_EMUL_CENTRO_DATA  3u     /* root of a CentroData answering PatCreateEmulUniqQueryInfo */
#define ITEM_STATUS            10u    /* root of a status packet */
#define ITEM_PJL_TEXT          1000u  /* PJL query text, or the printer's PJL reply text */
#define ITEM_DEVICE_ID         1002u  /* device ID request (no data), or the device ID text */

/* Children of a status packet root: the address of a PrnInfoEx record. */
#define ITEM_STATUS_PRINTER    1u  /* the record of function kind 1 */
#define ITEM_STATUS_MACHINE    2u  /* the overall record; always read */
#define ITEM_STATUS_SCANNER    3u  /* the record of function kind 2 */
#define ITEM_STATUS_COPIER     4u  /* the record of function kind 8 */
#define ITEM_STATUS_FUNCTION4  5u  /* the record of function kind 4 (not used by the exports) */

typedef struct InfoItem {
    uint32_t key;
    uint32_t reserved1;          /* not written by the library */
    struct InfoItem *parent;     /* null for a root */
    struct InfoItem *firstChild;
    struct InfoItem *next;       /* next sibling; null for the last child and for a root */
    struct InfoItem *lastChild;
    uint32_t dataLength;         /* number of data bytes after the header */
    uint32_t reserved2;          /* not written by the library */
    /* dataLength bytes of data follow */
} InfoItem;

#define INFO_ITEM_HEADER_SIZE 48u

TB58_CHECK_OFFSET(InfoItem, key, 0);
TB58_CHECK_OFFSET(InfoItem, reserved1, 4);
TB58_CHECK_OFFSET(InfoItem, parent, 8);
TB58_CHECK_OFFSET(InfoItem, firstChild, 16);
TB58_CHECK_OFFSET(InfoItem, next, 24);
TB58_CHECK_OFFSET(InfoItem, lastChild, 32);
TB58_CHECK_OFFSET(InfoItem, dataLength, 40);
TB58_CHECK_OFFSET(InfoItem, reserved2, 44);
TB58_CHECK_SIZE(InfoItem, INFO_ITEM_HEADER_SIZE);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_INFO_ITEM_H */
