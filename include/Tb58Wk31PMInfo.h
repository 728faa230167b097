/*
 * Printer-management information, PMInfo: what a caller learned about the
 * printer by other means than PJL, handed to PatPMInfoToPrnInfoEx.
 *
 * There is one PMInfo record per function kind: PMInfoMachine (kind 0x8000,
 * the machine as a whole), PMInfoPrinter (kind 1) and PMInfoFunction (kinds 2
 * and 8).  Every repeated item is a PMList: a count and an array of pointers
 * to entries.  The library only reads these records; the caller owns them.
 *
 * Every value is optional.  A pointer that is null or all-ones
 * (PMINFO_NOT_SUPPLIED_POINTER) and a uint32 that is 0xFFFFFFFF
 * (PMINFO_NOT_SUPPLIED) mean "not supplied", and a part that is not
 * supplied leaves the matching part of the PrnInfoEx record as it was.
 * Only the fields named below are read; the reserved bytes are never read,
 * so entries may carry more data of the caller's own.
 */
#ifndef TB58WK31_PMINFO_H
#define TB58WK31_PMINFO_H

#include <stdint.h>

#include "Tb58Wk31Layout.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PMINFO_NOT_SUPPLIED          0xFFFFFFFFu
#ifdef __cplusplus
#define PMINFO_NOT_SUPPLIED_POINTER  (reinterpret_cast<void *>(~static_cast<uintptr_t>(0)))
#else
#define PMINFO_NOT_SUPPLIED_POINTER  ((void *)~(uintptr_t)0)
#endif

/* Variant letters (low byte of the variant argument), one per kind. */
#define PMINFO_VARIANT_PRINTER  'd'  /* kind 1 */
#define PMINFO_VARIANT_SCANNER  'e'  /* kind 2 */
#define PMINFO_VARIANT_COPIER   'f'  /* kind 8 */
#define PMINFO_VARIANT_MACHINE  'h'  /* kind 0x8000 */

/* Conversion flags of kind 0x8000. */
#define PMINFO_MACHINE_MODEL    0x001u  /* model entry */
#define PMINFO_MACHINE_TRAYS_A  0x002u  /* trays, form A */
#define PMINFO_MACHINE_OUTBINS  0x004u  /* output bins */
#define PMINFO_MACHINE_OPTIONS  0x040u  /* installed options */
#define PMINFO_MACHINE_TRAYS_B  0x400u  /* trays, form B (added to those of form A) */

/* Conversion flags of kinds 1, 2 and 8. */
#define PMINFO_STATUS_WORD      0x001u  /* status word */
#define PMINFO_ENGINE_STATUS    0x002u  /* engine status entries */
#define PMINFO_EMULATIONS       0x004u  /* emulations (kind 1) */
#define PMINFO_FONTS            0x008u  /* fonts (kind 1) */

/* Bit 31 of the kind argument: the suppressible status word conditions are skipped. */
#define PMINFO_KIND_SUPPRESS    0x80000000u

/* Bits of a tray entry's attribute word and of a media bit. */
#define PMINFO_TRAY_ATTR_ANY_SIZE   0x00000100u  /* paper size code 2, dimensions ignored */
#define PMINFO_MEDIA_SECOND         0x00800000u  /* form A: the second media bit names the media */

typedef struct PMList {
    uint32_t count;        /* number of entries; PMINFO_NOT_SUPPLIED = not supplied */
    uint32_t reserved;
    const void *const *entries;  /* count pointers, one per entry */
} PMList;

typedef struct PMModelEntry {
    const char *pModelName;
    const char *pSYSVersion;
    uint32_t dwMemorySize;       /* in bytes */
    uint32_t reserved20;
    const char *pMakerName;
} PMModelEntry;

typedef struct PMTrayEntryA {
    const char *pTrayName;
    uint32_t dwState;            /* level and state bits */
    uint8_t reserved12[20];
    uint32_t dwDimension1;       /* paper dimension 1 in millimetres */
    uint32_t dwDimension2;       /* paper dimension 2 in millimetres */
    uint8_t reserved40[16];
    const char *pMediaName;
    uint8_t reserved64[24];
    uint32_t dwMediaBit;         /* one bit set */
    uint32_t reserved92;
    const uint32_t *pSecondMediaBit;  /* read when dwMediaBit has PMINFO_MEDIA_SECOND set */
    uint32_t reserved104;
    uint32_t dwAttributes;
} PMTrayEntryA;

typedef struct PMTrayEntryB {
    const char *pTrayName;
    uint32_t dwState;
    uint8_t reserved12[20];
    uint32_t dwDimension1;
    uint32_t dwDimension2;
    const char *pMediaName;
    uint8_t reserved48[12];
    uint32_t dwMediaBit;
    uint32_t reserved64;
    uint32_t dwAttributes;
} PMTrayEntryB;

typedef struct PMOutBinEntry {
    const char *pBinName;
    uint32_t dwState;            /* bit 0: full */
    uint32_t reserved12;
} PMOutBinEntry;

typedef struct PMEmulEntry {
    uint8_t reserved0[8];
    const char *pVersion;
    const char *pEmulName;
} PMEmulEntry;

typedef struct PMFontEntry {
    const char *pFontName;
} PMFontEntry;

typedef struct PMEngineStatusEntry {
    uint32_t reserved0;
    int32_t dwCode;              /* engine status code */
    const char *pText;           /* status text */
    uint32_t dwSeverity;         /* 3 or PMINFO_NOT_SUPPLIED: an error-class condition */
    uint32_t reserved20;
} PMEngineStatusEntry;

typedef struct PMOptionEntry {
    uint32_t dwDeviceCode;       /* printer-management device code (637 ...) */
} PMOptionEntry;

/* Kind 0x8000, variant 'h'. */
typedef struct PMInfoMachine {
    const PMModelEntry *pModel;
    const PMList *pTraysA;       /* of PMTrayEntryA */
    const PMList *pOutBins;      /* of PMOutBinEntry */
    const void *reserved24[3];
    const PMList *pOptions;      /* of PMOptionEntry */
    const void *reserved56[3];
    const PMList *pTraysB;       /* of PMTrayEntryB */
} PMInfoMachine;

/* Kind 1, variant 'd'. */
typedef struct PMInfoPrinter {
    const uint32_t *pStatusWord;
    const PMList *pFonts;        /* of PMFontEntry */
    const PMList *pEmulations;   /* of PMEmulEntry */
    const void *reserved24[3];
    const PMList *pEngineStatus; /* of PMEngineStatusEntry */
} PMInfoPrinter;

/* Kinds 2 ('e') and 8 ('f'). */
typedef struct PMInfoFunction {
    const uint32_t *pStatusWord;
    const PMList *pEngineStatus; /* of PMEngineStatusEntry */
} PMInfoFunction;

TB58_CHECK_OFFSET(PMList, count, 0);
TB58_CHECK_OFFSET(PMList, entries, 8);
TB58_CHECK_SIZE(PMList, 16);

TB58_CHECK_OFFSET(PMModelEntry, pModelName, 0);
TB58_CHECK_OFFSET(PMModelEntry, pSYSVersion, 8);
TB58_CHECK_OFFSET(PMModelEntry, dwMemorySize, 16);
TB58_CHECK_OFFSET(PMModelEntry, pMakerName, 24);

TB58_CHECK_OFFSET(PMTrayEntryA, pTrayName, 0);
TB58_CHECK_OFFSET(PMTrayEntryA, dwState, 8);
TB58_CHECK_OFFSET(PMTrayEntryA, dwDimension1, 32);
TB58_CHECK_OFFSET(PMTrayEntryA, dwDimension2, 36);
TB58_CHECK_OFFSET(PMTrayEntryA, pMediaName, 56);
TB58_CHECK_OFFSET(PMTrayEntryA, dwMediaBit, 88);
TB58_CHECK_OFFSET(PMTrayEntryA, pSecondMediaBit, 96);
TB58_CHECK_OFFSET(PMTrayEntryA, dwAttributes, 108);

TB58_CHECK_OFFSET(PMTrayEntryB, pTrayName, 0);
TB58_CHECK_OFFSET(PMTrayEntryB, dwState, 8);
TB58_CHECK_OFFSET(PMTrayEntryB, dwDimension1, 32);
TB58_CHECK_OFFSET(PMTrayEntryB, dwDimension2, 36);
TB58_CHECK_OFFSET(PMTrayEntryB, pMediaName, 40);
TB58_CHECK_OFFSET(PMTrayEntryB, dwMediaBit, 60);
TB58_CHECK_OFFSET(PMTrayEntryB, dwAttributes, 68);

TB58_CHECK_OFFSET(PMOutBinEntry, pBinName, 0);
TB58_CHECK_OFFSET(PMOutBinEntry, dwState, 8);

TB58_CHECK_OFFSET(PMEmulEntry, pVersion, 8);
TB58_CHECK_OFFSET(PMEmulEntry, pEmulName, 16);

TB58_CHECK_OFFSET(PMFontEntry, pFontName, 0);

TB58_CHECK_OFFSET(PMEngineStatusEntry, dwCode, 4);
TB58_CHECK_OFFSET(PMEngineStatusEntry, pText, 8);
TB58_CHECK_OFFSET(PMEngineStatusEntry, dwSeverity, 16);

TB58_CHECK_OFFSET(PMOptionEntry, dwDeviceCode, 0);

TB58_CHECK_OFFSET(PMInfoMachine, pModel, 0);
TB58_CHECK_OFFSET(PMInfoMachine, pTraysA, 8);
TB58_CHECK_OFFSET(PMInfoMachine, pOutBins, 16);
TB58_CHECK_OFFSET(PMInfoMachine, pOptions, 48);
TB58_CHECK_OFFSET(PMInfoMachine, pTraysB, 80);

TB58_CHECK_OFFSET(PMInfoPrinter, pStatusWord, 0);
TB58_CHECK_OFFSET(PMInfoPrinter, pFonts, 8);
TB58_CHECK_OFFSET(PMInfoPrinter, pEmulations, 16);
TB58_CHECK_OFFSET(PMInfoPrinter, pEngineStatus, 48);

TB58_CHECK_OFFSET(PMInfoFunction, pStatusWord, 0);
TB58_CHECK_OFFSET(PMInfoFunction, pEngineStatus, 8);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_PMINFO_H */
