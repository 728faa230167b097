// The lock of every library call on records that readers share (the
// service's views, the events' texts): the library's display language is
// process-wide, and a record must not be used by two calls at once.
#pragma once

#include <mutex>

namespace tb58mon {

std::mutex& LibraryLock();

}  // namespace tb58mon
