/*
 * Printer information conversions and device names:
 * PatPMInfoToPrnInfoEx, PatPrnInfoExToPrnInfo and PatGetDeviceName.
 * Include <Tb58Wk31.h>, which includes this header.
 */
#ifndef TB58WK31_CONVERT_H
#define TB58WK31_CONVERT_H

#include "Tb58Wk31.h"
#include "Tb58Wk31PMInfo.h"
#include "Tb58Wk31PrnInfo.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Printer-management information into PrnInfoEx ---------------------- */

/*
 * Fills a PrnInfoEx from the printer-management information of one function
 * kind.
 *
 * kind     low 16 bits TB58_KIND_PRINTER, _SCANNER, _COPIER or _MACHINE;
 *          bit 31 (PMINFO_KIND_SUPPRESS) skips the status word conditions
 *          that may be suppressed (only -254, no response, stays).
 * pmInfo   a PMInfoPrinter (kind 1), PMInfoFunction (kinds 2, 8) or
 *          PMInfoMachine (kind 0x8000); only read.
 * variant  low byte PMINFO_VARIANT_PRINTER ('d'), _SCANNER ('e'), _COPIER
 *          ('f') or _MACHINE ('h'), matching the kind.
 * flags    PMINFO_MACHINE_... (kind 0x8000) or PMINFO_STATUS_WORD,
 *          _ENGINE_STATUS, _EMULATIONS, _FONTS: which parts are converted.
 * record   the caller's PrnInfoEx (dwSize at least 404).
 *
 * A part that is supplied replaces the record's chain (trays of form B are
 * added to those of form A; engine status entries of kinds 2 and 8 are
 * added to the record's); a part that is not supplied leaves the record as
 * it was.  Kinds 1, 2 and 8 with PMINFO_ENGINE_STATUS end with code 10001
 * (ready) when the record then holds no engine status code.
 *
 * Returns 1, or 0 with last error 87 (null pointer, kind not accepted,
 * dwSize below 404, variant not matching the kind: the record is untouched;
 * or a tray node that could not be allocated) or 8 (any other node or an
 * emulation version that could not be stored).  A failure ends the call at
 * once: chains rebuilt before it stay, the failing chain keeps the nodes
 * appended so far.
 *
 * Ownership: the texts and nodes the library stores in the record are fixed
 * global memory owned by the record; the library frees only what it
 * replaces or clears (the description text is released when the model
 * entry is converted).  The caller releases the rest with GlobalFree.
 */
TB58WK31_API int32_t PatPMInfoToPrnInfoEx(uint32_t kind, const void *pmInfo, uint32_t variant, uint32_t flags,
                                          PrnInfoEx *record);

/* ---- PrnInfoEx into the flat PrnInfo ------------------------------------- */

/*
 * Flattens a PrnInfoEx into the caller's 2400-byte PrnInfo.
 *
 * source   a PrnInfoEx with dwSize at least 404; only read.
 * target   receives the result: every byte is written (0 where nothing is
 *          copied), dwSize = 2400.
 * flags    INFO_STATUS, INFO_IDENTITY, INFO_SYSTEM, INFO_TRAY, INFO_OUTBIN,
 *          INFO_EMUL, INFO_FONT, INFO_ENGINE_STATUS, INFO_DEVICE: the
 *          categories copied.  The option words (hard disk, output, mailbox,
 *          punch) are derived whatever the flags.
 *
 * At most 64 trays (sizes and media; levels of the first 16), 16 output
 * bins and 32 emulations, fonts and engine status codes are copied; texts
 * are cut to their fields.  dwEngineStatus is the low 16 bits of the one
 * code when the record holds exactly one, else ((sum of the codes mod
 * 65536) << 16) | 107.
 *
 * Returns 1, or 0 with last error 87 (null pointer, source dwSize below 404;
 * the target is untouched).  The PrnInfo holds no pointers.
 */
TB58WK31_API int32_t PatPrnInfoExToPrnInfo(const PrnInfoEx *source, PrnInfo *target, uint32_t flags);

/* ---- Device names --------------------------------------------------------- */

/* Name selectors and their check bytes (low byte of the check argument). */
#define TB58_DEVICE_NAME_TRAY     1u  /* value: an English input tray name, e.g. "Tray 1" */
#define TB58_DEVICE_NAME_OUTBIN   2u  /* value: an English output bin name, e.g. "Copy Tray" */
#define TB58_DEVICE_NAME_OPTION   3u  /* value: an int32_t printer-management device code */
#define TB58_DEVICE_NAME_CHECK    0x97u  /* for trays and output bins */
#define TB58_OPTION_NAME_CHECK    0x96u  /* for options */

/*
 * The display name of an input tray, output bin or option in the current
 * display language.
 *
 * selector  TB58_DEVICE_NAME_TRAY, _OUTBIN or _OPTION.
 * value     the English name (compared exactly, case-sensitively) or a
 *           pointer to the device code.
 * check     low byte TB58_DEVICE_NAME_CHECK (trays, bins) or
 *           TB58_OPTION_NAME_CHECK (options).
 * buffer    receives the name; may be null to ask for the size.
 * size      in: the capacity of buffer; out: the size needed, terminator
 *           included (on success and on 122 only).
 *
 * Returns 1, or 0 with last error 87 (null size or value, selector not 1-3,
 * wrong check byte, name not in the table or without display text, a null
 * buffer with a capacity large enough), TB58_ERROR_NOT_FOUND (device code
 * without name, string missing), TB58_ERROR_UNKNOWN_LOCALE, or 122
 * (capacity below the needed size).  The buffer is written only on success.
 */
TB58WK31_API int32_t PatGetDeviceName(uint32_t selector, const void *value, uint32_t check, char *buffer,
                                      uint32_t *size);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_CONVERT_H */
