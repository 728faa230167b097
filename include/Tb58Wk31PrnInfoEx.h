/*
 * The printer information record, PrnInfoEx, and the item nodes of its
 * chains.
 *
 * The caller allocates the record, sets dwSize to at least
 * PRNINFOEX_MIN_SIZE (sizeof(PrnInfoEx) will do), every pointer to null and
 * every count to 0, and passes it to the exports that fill or read it.  The
 * library works on bytes 0 to 279 only.  It stores texts and chain nodes in
 * fixed global memory and frees only what it replaces or clears; a caller
 * that discards a record releases every text with GlobalFree and every
 * node of every chain with GlobalFree, following next before freeing.
 *
 * Every node starts with the ChainNode header: next (bytes 0-7), the node's
 * total size (8-11) and a 16-bit item code (12-13).
 */
#ifndef TB58WK31_PRNINFOEX_H
#define TB58WK31_PRNINFOEX_H

#include <stdint.h>

#include "Tb58Wk31Codes.h"

#include "Tb58Wk31Layout.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PRNINFOEX_MIN_SIZE 404u

/* The header every node shares; code is the node's item code. */
typedef struct ChainNode {
    void *next;        /* the next node of the chain, or null */
    uint32_t size;     /* total size of the node in bytes */
    uint16_t code;     /* item code */
    uint16_t reserved;
} ChainNode;

typedef struct EngineStatusNode {
    void *next;
    uint32_t size;          /* 280 */
    uint16_t wCode;         /* engine status code, low 16 bits */
    uint16_t reserved;
    int32_t dwCode;         /* engine status code, all 32 bits (10001, 40800, -254, ...) */
    char szText[260];       /* status text; empty unless the source supplied one */
} EngineStatusNode;

typedef struct LoadedEmulNode {
    void *next;
    uint32_t size;          /* 32 */
    uint16_t wEmulCode;     /* TB58_EMULATION_... */
    char szVersion[18];     /* version text */
} LoadedEmulNode;

typedef struct LoadedFontNode {
    void *next;
    uint32_t size;          /* 16 */
    uint16_t wFontCode;
    uint16_t reserved;
} LoadedFontNode;

/* Tray attribute bits: TRAY_ATTR_... in Tb58Wk31Codes.h. */

typedef struct TrayInfoNode {
    void *next;
    uint32_t size;          /* 24 */
    uint16_t wTrayCode;     /* TB58_TRAY_... (Tb58Wk31Codes.h), 0 unknown */
    uint16_t wPaperSize;    /* paper size code */
    uint16_t wPaperLevel;   /* percent of capacity left */
    uint16_t wMediaCode;    /* media code */
    uint32_t dwAttributes;  /* TRAY_ATTR_... bits */
} TrayInfoNode;

typedef struct OutBinInfoNode {
    void *next;
    uint32_t size;          /* 16 */
    uint16_t wBinCode;      /* TB58_BIN_... (mailbox trays 1-9: 7-15), 255 unknown */
    uint16_t wState;        /* TB58_BIN_STATE_... */
} OutBinInfoNode;

typedef struct DeviceInfoNode {
    void *next;
    uint32_t size;          /* 16 */
    uint16_t wOptionCode;   /* installed option, TB58_OPTION_... */
    uint16_t reserved;      /* set to 0 */
} DeviceInfoNode;

typedef struct EmulUniqInfoNode {
    void *next;
    uint32_t size;          /* 64 */
    uint16_t wEmulCode;     /* the library creates only TB58_EMULATION_TZMO */
    uint16_t reserved1;
    uint32_t dwMemoryUsage; /* 1 "PAGE", 2 "USER", 0 other */
    char szOther[33];       /* "OTHER" text */
    uint8_t reserved2[3];
    uint32_t dwImageRotation; /* 1 "POSSIBLE", 2 "IMPOSSIBLE", 0 other */
    uint32_t reserved3;
} EmulUniqInfoNode;

typedef struct CounterInfoNode {
    void *next;
    uint32_t size;          /* 24 */
    uint16_t wId;           /* counter or supply id */
    uint16_t reserved1;
    uint32_t dwValue;
    uint32_t reserved2;
} CounterInfoNode;

typedef CounterInfoNode SupplyInfoNode;

typedef struct PrnInfoEx {
    uint32_t dwSize;                 /* size of the record; at least PRNINFOEX_MIN_SIZE */
    uint32_t reserved04;
    uint32_t nEngineStatus;
    uint32_t reserved12;
    EngineStatusNode *pEngineStatus;
    char *pModelName;
    char *pMakerName;
    char *pDescription;
    char *pSYSVersion;               /* system (firmware) version */
    char *pMainProgVersion;          /* version of emulation 1 */
    char *pQXSVersion;               /* version of emulation 2 */
    uint32_t dwMemorySize;           /* installed memory in KiB */
    uint8_t bOnline;
    uint8_t bModelCode;
    uint8_t bOffline;
    uint8_t bError;
    uint8_t bPrinting;
    uint8_t bNoResponse;             /* non-zero: the status counts code -254 as present */
    uint8_t reserved82[2];
    uint32_t dwLoadedEmulState;
    uint32_t nLoadedEmul;
    uint32_t reserved92;
    LoadedEmulNode *pLoadedEmul;
    uint32_t nLoadedFont;
    uint32_t reserved108;
    LoadedFontNode *pLoadedFont;
    uint32_t dwTrayState;
    uint32_t nTrayInfo;
    TrayInfoNode *pTrayInfo;
    uint32_t dwOutBinState;
    uint32_t nOutBinInfo;
    OutBinInfoNode *pOutBinInfo;
    uint32_t nDeviceInfo;
    uint32_t reserved156;
    DeviceInfoNode *pDeviceInfo;
    uint32_t nEmulUniqInfo;
    uint32_t reserved172;
    EmulUniqInfoNode *pEmulUniqInfo;
    uint8_t reserved184[36];
    uint32_t nCounterInfo;
    CounterInfoNode *pCounterInfo;
    uint32_t nSupplyInfo;
    uint32_t reserved236;
    SupplyInfoNode *pSupplyInfo;
    uint32_t nColorCorrection;
    uint32_t reserved252;
    void *pColorCorrection;          /* never filled by the library */
    uint32_t nCustomMediaInfo;
    uint32_t reserved268;
    void *pCustomMediaInfo;          /* never filled by the library */
    uint8_t reserved280[124];
} PrnInfoEx;

/*
 * The record's texts and chains, in the order of their fields, for code
 * that walks every one of them (to release a record, copy or compare it):
 *   TB58_PRNINFOEX_TEXTS(X)   expands X(pointer field) for each text;
 *   TB58_PRNINFOEX_CHAINS(X)  expands X(first-node field, count field) for
 *                             each chain.
 * Tb58Wk31Kit.hpp releases a record with them.
 */
#define TB58_PRNINFOEX_TEXTS(X) \
    X(pModelName)               \
    X(pMakerName)               \
    X(pDescription)             \
    X(pSYSVersion)              \
    X(pMainProgVersion)         \
    X(pQXSVersion)

#define TB58_PRNINFOEX_CHAINS(X)                \
    X(pEngineStatus, nEngineStatus)             \
    X(pLoadedEmul, nLoadedEmul)                 \
    X(pLoadedFont, nLoadedFont)                 \
    X(pTrayInfo, nTrayInfo)                     \
    X(pOutBinInfo, nOutBinInfo)                 \
    X(pDeviceInfo, nDeviceInfo)                 \
    X(pEmulUniqInfo, nEmulUniqInfo)             \
    X(pCounterInfo, nCounterInfo)               \
    X(pSupplyInfo, nSupplyInfo)                 \
    X(pColorCorrection, nColorCorrection)       \
    X(pCustomMediaInfo, nCustomMediaInfo)

/* The bytes of the record the library reads and writes. */
#define PRNINFOEX_USED_SIZE 280u

TB58_CHECK_OFFSET(ChainNode, next, 0);
TB58_CHECK_OFFSET(ChainNode, size, 8);
TB58_CHECK_OFFSET(ChainNode, code, 12);
TB58_CHECK_SIZE(ChainNode, 16);

TB58_CHECK_OFFSET(EngineStatusNode, wCode, 12);
TB58_CHECK_OFFSET(EngineStatusNode, dwCode, 16);
TB58_CHECK_OFFSET(EngineStatusNode, szText, 20);
TB58_CHECK_SIZE(EngineStatusNode, 280);
TB58_CHECK_OFFSET(LoadedEmulNode, wEmulCode, 12);
TB58_CHECK_OFFSET(LoadedEmulNode, szVersion, 14);
TB58_CHECK_SIZE(LoadedEmulNode, 32);
TB58_CHECK_OFFSET(LoadedFontNode, wFontCode, 12);
TB58_CHECK_SIZE(LoadedFontNode, 16);
TB58_CHECK_OFFSET(TrayInfoNode, wTrayCode, 12);
TB58_CHECK_OFFSET(TrayInfoNode, wPaperSize, 14);
TB58_CHECK_OFFSET(TrayInfoNode, wPaperLevel, 16);
TB58_CHECK_OFFSET(TrayInfoNode, wMediaCode, 18);
TB58_CHECK_OFFSET(TrayInfoNode, dwAttributes, 20);
TB58_CHECK_SIZE(TrayInfoNode, 24);
TB58_CHECK_OFFSET(OutBinInfoNode, wBinCode, 12);
TB58_CHECK_OFFSET(OutBinInfoNode, wState, 14);
TB58_CHECK_SIZE(OutBinInfoNode, 16);
TB58_CHECK_OFFSET(DeviceInfoNode, wOptionCode, 12);
TB58_CHECK_OFFSET(DeviceInfoNode, reserved, 14);
TB58_CHECK_SIZE(DeviceInfoNode, 16);
TB58_CHECK_OFFSET(EmulUniqInfoNode, wEmulCode, 12);
TB58_CHECK_OFFSET(EmulUniqInfoNode, dwMemoryUsage, 16);
TB58_CHECK_OFFSET(EmulUniqInfoNode, szOther, 20);
TB58_CHECK_OFFSET(EmulUniqInfoNode, dwImageRotation, 56);
TB58_CHECK_SIZE(EmulUniqInfoNode, 64);
TB58_CHECK_OFFSET(CounterInfoNode, wId, 12);
TB58_CHECK_OFFSET(CounterInfoNode, dwValue, 16);
TB58_CHECK_SIZE(CounterInfoNode, 24);

TB58_CHECK_OFFSET(PrnInfoEx, dwSize, 0);
TB58_CHECK_OFFSET(PrnInfoEx, nEngineStatus, 8);
TB58_CHECK_OFFSET(PrnInfoEx, pEngineStatus, 16);
TB58_CHECK_OFFSET(PrnInfoEx, pModelName, 24);
TB58_CHECK_OFFSET(PrnInfoEx, pMakerName, 32);
TB58_CHECK_OFFSET(PrnInfoEx, pDescription, 40);
TB58_CHECK_OFFSET(PrnInfoEx, pSYSVersion, 48);
TB58_CHECK_OFFSET(PrnInfoEx, pMainProgVersion, 56);
TB58_CHECK_OFFSET(PrnInfoEx, pQXSVersion, 64);
TB58_CHECK_OFFSET(PrnInfoEx, dwMemorySize, 72);
TB58_CHECK_OFFSET(PrnInfoEx, bOnline, 76);
TB58_CHECK_OFFSET(PrnInfoEx, bModelCode, 77);
TB58_CHECK_OFFSET(PrnInfoEx, bOffline, 78);
TB58_CHECK_OFFSET(PrnInfoEx, bError, 79);
TB58_CHECK_OFFSET(PrnInfoEx, bPrinting, 80);
TB58_CHECK_OFFSET(PrnInfoEx, bNoResponse, 81);
TB58_CHECK_OFFSET(PrnInfoEx, dwLoadedEmulState, 84);
TB58_CHECK_OFFSET(PrnInfoEx, nLoadedEmul, 88);
TB58_CHECK_OFFSET(PrnInfoEx, pLoadedEmul, 96);
TB58_CHECK_OFFSET(PrnInfoEx, nLoadedFont, 104);
TB58_CHECK_OFFSET(PrnInfoEx, pLoadedFont, 112);
TB58_CHECK_OFFSET(PrnInfoEx, dwTrayState, 120);
TB58_CHECK_OFFSET(PrnInfoEx, nTrayInfo, 124);
TB58_CHECK_OFFSET(PrnInfoEx, pTrayInfo, 128);
TB58_CHECK_OFFSET(PrnInfoEx, dwOutBinState, 136);
TB58_CHECK_OFFSET(PrnInfoEx, nOutBinInfo, 140);
TB58_CHECK_OFFSET(PrnInfoEx, pOutBinInfo, 144);
TB58_CHECK_OFFSET(PrnInfoEx, nDeviceInfo, 152);
TB58_CHECK_OFFSET(PrnInfoEx, pDeviceInfo, 160);
TB58_CHECK_OFFSET(PrnInfoEx, nEmulUniqInfo, 168);
TB58_CHECK_OFFSET(PrnInfoEx, pEmulUniqInfo, 176);
TB58_CHECK_OFFSET(PrnInfoEx, reserved184, 184);
TB58_CHECK_OFFSET(PrnInfoEx, nCounterInfo, 220);
TB58_CHECK_OFFSET(PrnInfoEx, pCounterInfo, 224);
TB58_CHECK_OFFSET(PrnInfoEx, nSupplyInfo, 232);
TB58_CHECK_OFFSET(PrnInfoEx, pSupplyInfo, 240);
TB58_CHECK_OFFSET(PrnInfoEx, nColorCorrection, 248);
TB58_CHECK_OFFSET(PrnInfoEx, pColorCorrection, 256);
TB58_CHECK_OFFSET(PrnInfoEx, nCustomMediaInfo, 264);
TB58_CHECK_OFFSET(PrnInfoEx, pCustomMediaInfo, 272);
TB58_CHECK_OFFSET(PrnInfoEx, reserved280, PRNINFOEX_USED_SIZE);
TB58_STATIC_ASSERT(sizeof(PrnInfoEx) >= PRNINFOEX_MIN_SIZE, "a PrnInfoEx holds at least 404 bytes");

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_PRNINFOEX_H */
