// Windows has no journal: lines keep their time stamps.
#include "base/journal_stream.h"

namespace tb58mon {

bool NamesStream(std::string_view, unsigned long long, unsigned long long) { return false; }
bool StandardOutputIsJournal() { return false; }
bool StandardErrorIsJournal() { return false; }

}  // namespace tb58mon
