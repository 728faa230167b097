#include "library/library_lock.h"

namespace tb58mon {

std::mutex& LibraryLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace tb58mon
