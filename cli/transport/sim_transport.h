// The sim: transport: the built-in simulated printer, in-process.  It
// answers as the network printer of 'tb58mon simulate' does, without a
// socket, so that every command works without hardware.
#pragma once

#include <memory>

#include "sim/scenario.h"
#include "transport/transport.h"

namespace tb58mon {

std::unique_ptr<Transport> OpenSimTransport(Scenario scenario);

}  // namespace tb58mon
