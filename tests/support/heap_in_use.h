// The bytes the process's heap has handed out and not yet taken back, for
// telling whether a run of calls leaves anything behind.
#pragma once

#include <cstddef>

namespace tb58::test {

// The C allocator's figure on Linux (exact when its per-thread and fast free
// lists are off: GLIBC_TUNABLES=glibc.malloc.tcache_count=0:glibc.malloc.mxfast=0,
// as the tests run; with them on, blocks cached there count as in use); the
// sum over every heap of the process on Windows (global memory lives there).
// Not meaningful under the sanitizers, which keep their own heap
// (LeakSanitizer watches leaks there).
size_t HeapBytesInUse();

}  // namespace tb58::test
