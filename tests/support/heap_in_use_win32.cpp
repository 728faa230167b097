#include <windows.h>

#include <vector>

#include "support/heap_in_use.h"

namespace tb58::test {

size_t HeapBytesInUse() {
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    size_t in_use = 0;
    for (DWORD i = 0; i < count && i < heaps.size(); ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) in_use += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return in_use;
}

}  // namespace tb58::test
