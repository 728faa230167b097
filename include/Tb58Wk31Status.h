/*
 * Status texts: PatGetStatusString and PatGetStatusHelpFileName.
 * Include <Tb58Wk31.h>, which includes this header.
 */
#ifndef TB58WK31_STATUS_H
#define TB58WK31_STATUS_H

#include "Tb58Wk31.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Status texts --------------------------------------------------------- */

/* Text selector (low byte of the selector argument). */
#define TB58_STATUS_SHORT_TEXT 1u
#define TB58_STATUS_LONG_TEXT  2u

/*
 * The status text of the most urgent conditions of a function kind, in the
 * current display language: a short label, or a long instruction that names
 * the trays, covers or colours concerned (at most 511 characters).
 *
 * kind      TB58_KIND_PRINTER, _SCANNER or _COPIER; with TB58_KIND_ALTERNATE
 *           for the alternate texts.  (TB58_KIND_MACHINE has no status text:
 *           the call fails with TB58_ERROR_NOT_ENOUGH_MEMORY, which callers
 *           of this family check for.)
 * packet    a status packet: root ITEM_STATUS whose children ITEM_STATUS_MACHINE
 *           and the kind's child each hold the address of a PrnInfoEx.
 * revision  TB58_REVISION_STATUS (low byte).
 * selector  TB58_STATUS_SHORT_TEXT or TB58_STATUS_LONG_TEXT (low byte).
 * buffer    receives the text; null asks for the size only.
 * size      in: the capacity of buffer; out: the size needed, terminator
 *           included (written once the text is composed, also on 122).
 *
 * Last error: 87 (null packet or size, wrong revision or kind, not a status
 * packet, a record whose dwSize is below 404), 8 (no memory; no priority
 * table for the kind), TB58_ERROR_NOT_FOUND (no condition with a text,
 * selector not 1 or 2), 122 (buffer null or too small).
 */
TB58WK31_API int32_t PatGetStatusString(uint32_t kind, const InfoItem *packet, uint32_t revision,
                                        uint32_t selector, char *buffer, uint32_t *size);

/*
 * The help file name for the record's current conditions.  This model
 * family has no help files: on success the name is empty (*size = 1).
 * record is read directly (no status packet).  Last error: 87 (null size or
 * record, kind not accepted), TB58_ERROR_NOT_FOUND (no priority table for
 * the kind value, e.g. TB58_KIND_MACHINE), 8, 122 (capacity below 1 or a
 * null buffer; *size = 1).
 */
TB58WK31_API int32_t PatGetStatusHelpFileName(uint32_t kind, const PrnInfoEx *record, uint32_t reserved,
                                              char *buffer, uint32_t *size);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_STATUS_H */
