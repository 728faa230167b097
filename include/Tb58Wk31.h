/*
 * Tb58Wk31 — printer data library for one family of multifunction printers.
 *
 * Public interface: the exported Pat... functions and the error codes they
 * leave in the calling thread's last-error value (GetLastError()).
 *
 * Every export returns 1/0 (or a pointer/null) and sets the thread's last
 * error: 0 on success, one of the codes below on failure.  Memory that the
 * library hands to the caller is fixed global memory released with
 * GlobalFree; on systems other than Windows, <Tb58Wk31Platform.h> declares
 * GlobalAlloc, GlobalFree, GlobalSize, GetLastError and SetLastError, which
 * the library itself exports.
 *
 * The header is C-compatible and uses fixed-width types only.
 */
#ifndef TB58WK31_H
#define TB58WK31_H

#include <stddef.h>
#include <stdint.h>

#include "Tb58Wk31Codes.h"
#include "Tb58Wk31InfoFlags.h"
#include "Tb58Wk31InfoItem.h"
#include "Tb58Wk31PMInfo.h"
#include "Tb58Wk31PrnInfo.h"
#include "Tb58Wk31PrnInfoEx.h"

#if defined(TB58WK31_BUILDING) && defined(__ELF__)
#define TB58WK31_API __attribute__((visibility("default")))
#else
#define TB58WK31_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Error codes (the value left in the thread's last error) ---------- */
#define TB58_ERROR_SUCCESS              0u          /* every successful call sets it explicitly */
#define TB58_ERROR_NOT_ENOUGH_MEMORY    8u          /* a global memory allocation failed */
#define TB58_ERROR_INVALID_DATA         13u         /* a query text in a reply packet breaks the PJL line shapes */
#define TB58_ERROR_INVALID_PARAMETER    87u         /* null pointer, kind not accepted, wrong revision, bad record */
#define TB58_ERROR_INSUFFICIENT_BUFFER  122u        /* caller's buffer too small; needed size reported where documented */
#define TB58_ERROR_UNKNOWN_LOCALE       0x20000001u /* language code not known, or no code page for the language */
#define TB58_ERROR_REPLY_MISMATCH       0x20000002u /* a reply packet that does not answer its query */
#define TB58_ERROR_NO_PALETTE           0x20000003u /* the model has no colour palette */
#define TB58_ERROR_NOT_FOUND            0x2000FFFFu /* a lookup found nothing (table, string, name too long, work allocation) */

/* Function kinds (TB58_KIND_...), tray, bin, option and emulation codes:
 * Tb58Wk31Codes.h. */

/* ---- Interface revisions (low byte of a revision argument) ------------- */
#define TB58_REVISION_QUERY    2u  /* query and reply exports */
#define TB58_REVISION_STATUS   3u  /* status exports */

/* ---- Display language ---------------------------------------------------- */

/*
 * Selects the display language of every text the library hands out.
 * code: a language code such as "EN", "DE" or "JP" (case does not matter;
 * only the first 9 characters are compared).  Accepted codes: JP EN DE FR
 * IT ES NL SV DA NO CS HU PT PL FI.
 * Returns 1 on success; 0 with last error 87 for a null code or
 * TB58_ERROR_UNKNOWN_LOCALE for a code not in that list (the language in
 * force stays).  Until the first successful call the language is the
 * user's default (Windows language id 0x0400).
 */
TB58WK31_API int32_t PatSetLocale(const char *code);

#ifdef __cplusplus
}
#endif

/* The exports of each subsystem. */
#include "Tb58Wk31Query.h"
#include "Tb58Wk31Status.h"
#include "Tb58Wk31Resources.h"
#include "Tb58Wk31Picture.h"
#include "Tb58Wk31Convert.h"

#endif /* TB58WK31_H */
