/*
 * The PJL query cycle: building QueryInfo packets and reading the printer's
 * replies into a PrnInfoEx.  Include <Tb58Wk31.h>, which includes this
 * header.
 *
 *   1. PatCreateQueryInfo(record, TB58_REVISION_QUERY, INFO_... flags) gives
 *      a QueryInfo: an empty ITEM_DEVICE_ID child when the device ID must be
 *      read too, and one ITEM_PJL_TEXT child with the PJL text to send.
 *   2. The caller sends the text, reads the reply (each answer ends with a
 *      form feed) and the device ID, and builds a CentroData packet: root
 *      ITEM_CENTRO_DATA with the QueryInfo it sent, an ITEM_PJL_TEXT child
 *      with the reply text and an ITEM_DEVICE_ID child with the device ID.
 *   3. PatSetCentroDataTo(packet, 0, record, TB58_REVISION_QUERY) checks that
 *      the reply answers the query and stores what it carries in the record.
 *   4. The caller releases every item of the QueryInfo with GlobalFree.
 */
#ifndef TB58WK31_QUERY_H
#define TB58WK31_QUERY_H

#include "Tb58Wk31.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The emulation whose unique information PatCreateEmulUniqQueryInfo asks
 * for: TB58_EMULATION_TZMO (Tb58Wk31Codes.h). */

/*
 * A new QueryInfo asking for the categories of flags (INFO_...).  The tray
 * inquiries follow the trays listed in record->pTrayInfo (all fixed trays
 * when it lists none).  The record is read, never changed.
 * Returns the root item (the caller owns the packet and frees each item
 * with GlobalFree), or null with last error 87 (null record, revision low
 * byte not 2, dwSize below 404) or 8 (no memory; nothing stays allocated).
 * A long tray list gets a text as long as it needs.
 */
TB58WK31_API InfoItem *PatCreateQueryInfo(const PrnInfoEx *record, uint32_t revision, uint32_t flags);

/*
 * A new QueryInfo asking for the unique information of an emulation; only
 * TB58_EMULATION_TZMO (low 16 bits of emulation) has one.  context must not
 * be null (it is not read); value is not read.  Answer it with a CentroData
 * whose root is ITEM_EMUL_CENTRO_DATA holding the uint32 15.
 * Null with last error 87 (null context, revision, emulation) or 8.
 */
TB58WK31_API InfoItem *PatCreateEmulUniqQueryInfo(const void *context, uint32_t revision, uint32_t emulation,
                                                  uint32_t value);

/*
 * Stores the replies of a CentroData packet in the record, after checking
 * that they answer the packet's QueryInfo.  value is not read.  Returns 1,
 * or 0 with last error 87 (null packet or record, revision, root key not
 * ITEM_CENTRO_DATA/ITEM_EMUL_CENTRO_DATA, dwSize below 404, an empty reply
 * or device ID child, an emulation root not holding 15), 0x20000002 (a
 * reply that does not answer its query), 13 (a malformed query text) or 8.
 * A malformed reply is not an error: what could be read is stored.
 */
TB58WK31_API int32_t PatSetCentroDataTo(const InfoItem *packet, uint32_t value, PrnInfoEx *record,
                                        uint32_t revision);

#ifdef __cplusplus
}
#endif

#endif /* TB58WK31_QUERY_H */
