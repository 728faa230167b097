// How many HTTP connections 'tb58mon serve' can take without starving the
// poller of descriptors: the soft open-file limit is raised to the hard
// one, and a reserve stays out of the HTTP front's reach: the poller's
// exchange descriptors (PollerDescriptors: a TCP and a UDP socket per open
// cycle) and a margin for everything else (the listening socket, event
// loops, standard streams, the fleet file on a reload).
#pragma once

#include <cstddef>

namespace tb58mon {

constexpr size_t kDescriptorMargin = 64;

struct ConnectionBudget {
    size_t open_file_limit = 0;
    size_t reserve = 0;       // for the poller and the rest
    size_t connections = 0;   // the cap on HTTP connections; 0: none fit
    bool shrunk = false;      // the cap is below what was asked for
};

// Raises the soft open-file limit as far as the hard limit allows and
// returns the soft limit in force afterwards.
size_t RaiseOpenFileLimit();

// The cap for wanted connections within open_file_limit, with a reserve
// for the poller's descriptors; the server's closing slack counts too.
ConnectionBudget PlanConnections(size_t open_file_limit, size_t poller_descriptors, size_t wanted);

}  // namespace tb58mon
