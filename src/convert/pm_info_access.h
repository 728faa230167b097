// Reading a caller's PMInfo: every value is optional.  A pointer that is
// null or all-ones and a uint32 that is 0xFFFFFFFF mean "not supplied".
#pragma once

#include <cstdint>

#include "Tb58Wk31PMInfo.h"

namespace tb58::convert {

inline bool IsSupplied(const void* pointer) {
    const auto value = reinterpret_cast<uintptr_t>(pointer);
    return value != 0 && value != ~uintptr_t{0};
}

inline bool IsSupplied(uint32_t value) { return value != PMINFO_NOT_SUPPLIED; }

// The entries of a list, when it is supplied: the list pointer, its count
// and (for a count above 0) its entry array must all be supplied.  An entry
// pointer that is itself not supplied stands for no entry; EntryAt gives
// null for it and the converters skip it.
class PMEntries {
public:
    explicit PMEntries(const PMList* list) {
        if (!IsSupplied(list) || !IsSupplied(list->count)) return;
        if (list->count != 0 && !IsSupplied(static_cast<const void*>(list->entries))) return;
        supplied_ = true;
        count_ = list->count;
        entries_ = list->entries;
    }

    bool supplied() const { return supplied_; }
    uint32_t count() const { return count_; }

    template <typename Entry>
    const Entry* EntryAt(uint32_t index) const {
        const void* entry = entries_[index];
        return IsSupplied(entry) ? static_cast<const Entry*>(entry) : nullptr;
    }

private:
    bool supplied_ = false;
    uint32_t count_ = 0;
    const void* const* entries_ = nullptr;
};

}  // namespace tb58::convert
