// A small synchronous SNMP client for the tests of the simulated agent:
// GET, and walks by GETBULK, through net-snmp's single-session API, over
// loopback only, each request bounded in time and every walk in length.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "mib/mib_binding.h"

namespace tb58mon {

struct SnmpAnswer {
    bool answered = false;              // false: no answer in time (or no session)
    std::vector<MibBinding> bindings;   // objects that exist (noSuch... and endOfMibView left out)
    size_t missing = 0;                 // noSuchObject / noSuchInstance answers
};

// GET of the objects from 127.0.0.1:port.
SnmpAnswer SnmpGet(unsigned port, const std::vector<ObjectId>& oids,
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

// GETNEXT of the objects: the object after each.
SnmpAnswer SnmpGetNext(unsigned port, const std::vector<ObjectId>& oids,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

// Every object below root, in the order the agent gives them, at most
// limit of them; answered is false when a request got no answer.  Stops
// when the agent answers an OID that is not after the one asked (a loop).
SnmpAnswer SnmpWalk(unsigned port, const ObjectId& root, size_t limit = 100000,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

}  // namespace tb58mon
