// SNMP requests on an asio loop: net-snmp's asynchronous single-session
// API, its UDP socket watched by the loop and its retries driven by a
// timer, so that a request costs a socket and a timer while it waits, never
// a thread.  One session sends one request at a time; each request takes
// at most two tries, each of at most target.try_timeout and never more than
// half of the time left before the deadline.
#pragma once

#include <asio/io_context.hpp>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mib/mib_binding.h"
#include "transport/transport.h"

namespace tb58mon {

// Sets net-snmp up once per process (any thread): no MIB files, no
// configuration or persistent files, nothing logged.
void InitialiseSnmpLibrary();

// How the error of a request that got no answer starts.
constexpr std::string_view kSnmpDidNotAnswer = "SNMP did not answer";

struct SnmpTarget {
    std::string address;  // an IPv4 or IPv6 address (no name: a look-up would block the loop)
    unsigned port = 161;
    std::string community = "public";
    std::string version = "2c";  // "1" or "2c"
    std::chrono::milliseconds try_timeout{1000};  // one try; one retry follows
};

enum class SnmpRequestType { kGet, kGetNext, kGetBulk };

// A response's bindings in the order they came.  A binding whose value is
// an exception (noSuchObject, noSuchInstance, endOfMibView) or of a type
// the monitor never reads (Counter64, IpAddress, Opaque, ...) has
// exception set and no value.
struct SnmpBinding {
    MibBinding binding;
    bool exception = false;
    bool end_of_view = false;
};

struct SnmpResponse {
    bool answered = false;      // a response PDU arrived
    long error_status = 0;      // the PDU's error-status (0: none)
    long error_index = 0;       // and its error-index (1-based)
    std::vector<SnmpBinding> bindings;
    size_t bytes = 0;           // value bytes of the bindings
    std::string error;          // why there is no answer: "SNMP did not answer (udp:...)", ...
};

class SnmpExchange {
public:
    virtual ~SnmpExchange() = default;
    // Sends one request (on the loop's thread); done is called once, on the
    // loop's thread and never from inside Request, by the deadline -- unless
    // Cancel comes first.  For kGetBulk, max_repetitions is the repetitions
    // of every object (no non-repeaters).
    virtual void Request(SnmpRequestType type, const std::vector<ObjectId>& objects, int max_repetitions,
                         std::function<void(SnmpResponse)> done) = 0;
    // Ends the request in progress and the session; done is never called.
    virtual void Cancel() = 0;
    virtual const std::string& Peer() const = 0;  // "udp:127.0.0.1:161"
};

// Opens a session to target on io; requests end by deadline.  The session
// keeps itself alive while a request runs.
std::shared_ptr<SnmpExchange> OpenSnmpExchange(asio::io_context& io, const SnmpTarget& target, Deadline deadline);

}  // namespace tb58mon
