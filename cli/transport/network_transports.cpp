// This build has the network and USB transports.
#include "transport/transport.h"

namespace tb58mon {

bool NetworkTransportsBuilt() { return true; }

}  // namespace tb58mon
