#include <malloc.h>

#include "support/heap_in_use.h"

namespace tb58::test {

size_t HeapBytesInUse() { return mallinfo2().uordblks; }

}  // namespace tb58::test
