// The fleet in one line for the service manager ('systemctl status'):
// "12 printers, 2 need attention".
#pragma once

#include <string>

#include "serve/fleet_poller.h"

namespace tb58mon {

// A printer needs attention when its health is error, no response,
// attention or unknown: everything but ready and not polled yet.
std::string FleetStatusLine(const FleetSnapshot& snapshot);

}  // namespace tb58mon
