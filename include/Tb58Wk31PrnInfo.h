/*
 * The plain printer information record, PrnInfo: one flat block of 2400
 * bytes with fixed-size texts and arrays, filled from a PrnInfoEx by
 * PatPrnInfoExToPrnInfo.  The caller allocates it; the library writes every
 * byte of it (what a conversion does not fill is 0) and keeps no pointer
 * into it.
 *
 * Codes (tray, paper size, level, media, bin, bin state, emulation, font)
 * are those of the PrnInfoEx nodes, widened to 32 bits.  Texts are
 * zero-terminated and cut to their field.
 */
#ifndef TB58WK31_PRNINFO_H
#define TB58WK31_PRNINFO_H

#include <stdint.h>

#include "Tb58Wk31Layout.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PRNINFO_SIZE            2400u
#define PRNINFO_MAX_TRAYS       64u   /* TraySize, TrayMedia */
#define PRNINFO_MAX_TRAY_LEVELS 16u   /* TrayLevel: the first 16 trays */
#define PRNINFO_MAX_OUTBINS     16u
#define PRNINFO_MAX_CODES       32u   /* emulations, fonts, engine status codes */

/* dwEngineStatus when it sums the codes: ((sum mod 65536) << 16) | 107. */
#define PRNINFO_ENGINE_STATUS_SUM_MARK 107u

/* Option words. */
#define PRNINFO_DUPLEX_INSTALLED      1u
#define PRNINFO_HARD_DISK_INSTALLED   0x10003u
#define PRNINFO_OUTPUT_STANDARD_TRAY  0x02u   /* option 6, OUTTRAYSTANDARD */
#define PRNINFO_OUTPUT_FINISHER       0x08u   /* option 114, OUTTRAYFINISHVOLE */
#define PRNINFO_OUTPUT_BOOKLET_A      0x10u   /* option 115, OUTTRAYBOOKLETA */
#define PRNINFO_OUTPUT_BOOKLET        0x40u   /* option 38, OUTTRAYBOOKLET */
#define PRNINFO_OUTPUT_FINISHER_A     0x80u   /* option 21, OUTTRAYFINISHVOLEA */
#define PRNINFO_MAILBOX_INSTALLED     0x02u   /* option 8 */
#define PRNINFO_PUNCH_INSTALLED       0x02u   /* any punch unit */

/* A (code, value) pair: (tray, paper size), (tray, level), (tray, media), (bin, state). */
typedef struct PrnInfoPair {
    uint32_t dwCode;
    uint32_t dwValue;
} PrnInfoPair;

typedef struct PrnInfo {
    uint32_t dwEngineStatus;       /* the single code's low 16 bits, or the sum form above */
    uint32_t dwOnline;
    uint32_t dwTrayState;
    uint32_t reserved12;
    uint32_t dwMemorySize;         /* KiB */
    char szSYSVersion[16];
    char szMainProgVersion[16];
    char szQXSVersion[16];
    uint32_t dwLoadedEmulState;
    uint32_t dwLoadedEmul[32];
    uint32_t nLoadedEmul;
    uint32_t dwLoadedFont[32];
    uint32_t nLoadedFont;
    PrnInfoPair TraySize[64];      /* (tray code, paper size code) */
    uint32_t nTraySize;
    char szModelName[256];
    char szMakerName[16];
    char szDescription[256];
    uint8_t bModelCode;
    uint8_t bOffline;
    uint8_t bError;
    uint8_t bPrinting;
    uint32_t dwSize;               /* always PRNINFO_SIZE */
    uint8_t reserved1388[36];
    PrnInfoPair TrayLevel[16];     /* (tray code, paper level) of the first 16 trays */
    uint32_t nTrayLevel;
    PrnInfoPair OutBin[16];        /* (bin code, bin state) */
    uint32_t nOutBin;
    uint32_t dwDuplex;
    uint32_t dwHardDisk;
    uint8_t reserved1696[8];
    uint32_t dwOutputOptions;
    uint32_t dwMailboxOptions;
    uint32_t dwPunchOptions;
    uint32_t dwOutBinState;
    int32_t dwEngineStatusCodes[32];
    uint32_t nEngineStatus;
    uint32_t reserved1852;
    uint32_t dwNoResponse;
    uint32_t reserved1860;
    PrnInfoPair TrayMedia[64];     /* (tray code, media code) */
    uint8_t reserved2376[24];
} PrnInfo;

TB58_CHECK_SIZE(PrnInfoPair, 8);
TB58_CHECK_OFFSET(PrnInfo, dwEngineStatus, 0);
TB58_CHECK_OFFSET(PrnInfo, dwOnline, 4);
TB58_CHECK_OFFSET(PrnInfo, dwTrayState, 8);
TB58_CHECK_OFFSET(PrnInfo, reserved12, 12);
TB58_CHECK_OFFSET(PrnInfo, dwMemorySize, 16);
TB58_CHECK_OFFSET(PrnInfo, szSYSVersion, 20);
TB58_CHECK_OFFSET(PrnInfo, szMainProgVersion, 36);
TB58_CHECK_OFFSET(PrnInfo, szQXSVersion, 52);
TB58_CHECK_OFFSET(PrnInfo, dwLoadedEmulState, 68);
TB58_CHECK_OFFSET(PrnInfo, dwLoadedEmul, 72);
TB58_CHECK_OFFSET(PrnInfo, nLoadedEmul, 200);
TB58_CHECK_OFFSET(PrnInfo, dwLoadedFont, 204);
TB58_CHECK_OFFSET(PrnInfo, nLoadedFont, 332);
TB58_CHECK_OFFSET(PrnInfo, TraySize, 336);
TB58_CHECK_OFFSET(PrnInfo, nTraySize, 848);
TB58_CHECK_OFFSET(PrnInfo, szModelName, 852);
TB58_CHECK_OFFSET(PrnInfo, szMakerName, 1108);
TB58_CHECK_OFFSET(PrnInfo, szDescription, 1124);
TB58_CHECK_OFFSET(PrnInfo, bModelCode, 1380);
TB58_CHECK_OFFSET(PrnInfo, bOffline, 1381);
TB58_CHECK_OFFSET(PrnInfo, bError, 1382);
TB58_CHECK_OFFSET(PrnInfo, bPrinting, 1383);
TB58_CHECK_OFFSET(PrnInfo, dwSize, 1384);
TB58_CHECK_OFFSET(PrnInfo, reserved1388, 1388);
TB58_CHECK_OFFSET(PrnInfo, TrayLevel, 1424);
TB58_CHECK_OFFSET(PrnInfo, nTrayLevel, 1552);
TB58_CHECK_OFFSET(PrnInfo, OutBin, 1556);
TB58_CHECK_OFFSET(PrnInfo, nOutBin, 1684);
TB58_CHECK_OFFSET(PrnInfo, dwDuplex, 1688);
TB58_CHECK_OFFSET(PrnInfo, dwHardDisk, 1692);
TB58_CHECK_OFFSET(PrnInfo, reserved1696, 1696);
TB58_CHECK_OFFSET(PrnInfo, dwOutputOptions, 1704);
TB58_CHECK_OFFSET(PrnInfo, dwMailboxOptions, 1708);
TB58_CHECK_OFFSET(PrnInfo, dwPunchOptions, 1712);
TB58_CHECK_OFFSET(PrnInfo, dwOutBinState, 1716);
TB58_CHECK_OFFSET(PrnInfo, dwEngineStatusCodes, 1720);
TB58_CHECK_OFFSET(PrnInfo, nEngineStatus, 1848);
TB58_CHECK_OFFSET(PrnInfo, reserved1852, 1852);
TB58_CHECK_OFFSET(PrnInfo, dwNoResponse, 1856);
TB58_CHECK_OFFSET(PrnInfo, reserved1860, 1860);
TB58_CHECK_OFFSET(PrnInfo, TrayMedia, 1864);
TB58_CHECK_OFFSET(PrnInfo, reserved2376, 2376);
TB58_CHECK_SIZE(PrnInfo, PRNINFO_SIZE);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_PRNINFO_H */
