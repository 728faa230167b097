/* The public headers compile as C, with their layout checks, and a caller
 * can build a status packet item by hand from the public layout. */
#include <string.h>

#include "Tb58Wk31Platform.h"

int tb58_c_build_status_child(void *out, const PrnInfoEx *record);

/* Lays out one status packet child (header + 8-byte record address) in out,
 * which must hold INFO_ITEM_HEADER_SIZE + 8 bytes; returns its size. */
int tb58_c_build_status_child(void *out, const PrnInfoEx *record) {
    InfoItem item;
    memset(&item, 0, sizeof item);
    item.key = ITEM_STATUS_MACHINE;
    item.dataLength = (uint32_t)sizeof record;
    memcpy(out, &item, sizeof item);
    memcpy((char *)out + INFO_ITEM_HEADER_SIZE, &record, sizeof record);
    return (int)(INFO_ITEM_HEADER_SIZE + sizeof record);
}
