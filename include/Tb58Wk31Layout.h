/*
 * Helpers for the public headers' compile-time layout checks.  The records
 * are laid out for 64-bit little-endian callers; the checks stop a build
 * whose layout would differ.
 */
#ifndef TB58WK31_LAYOUT_H
#define TB58WK31_LAYOUT_H

#include <stddef.h>

#ifdef __cplusplus
#define TB58_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define TB58_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

#define TB58_CHECK_OFFSET(type, field, offset) \
    TB58_STATIC_ASSERT(offsetof(type, field) == (offset), #type "." #field " must lie at offset " #offset)
#define TB58_CHECK_SIZE(type, size) TB58_STATIC_ASSERT(sizeof(type) == (size), #type " must be " #size " bytes")

TB58_STATIC_ASSERT(sizeof(void *) == 8, "the record layouts are those of 64-bit callers");

#endif /* TB58WK31_LAYOUT_H */
