// Talking to a printer: one query round at a time.  A transport sends the
// PJL text of a QueryInfo, reads the printer's reply back and, when the
// query asks for it, the device ID, all before the deadline the caller
// gives (the whole cycle's, so that one timeout bounds every round and the
// SNMP requests of a check).  The printer is named by a device URI:
//
//   socket://HOST[:PORT]   PJL over TCP (port 9100), device ID over SNMP
//   snmp://HOST[:PORT]     SNMP alone (port 161): the Printer MIB and the device ID
//   usb:///dev/usb/lpN     a USB printer class device (Linux)
//   sim:NAME               the built-in simulated printer, in-process
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "mib/printer_mib.h"

namespace tb58mon {

// How a round ended.  Only kAnswered hands bytes to the library: a round
// that did not complete is a round without response, and what arrived of it
// is never read as a reply.
enum class RoundOutcome {
    kAnswered,     // the whole reply arrived (the echo of the round's cookie)
    kNoAnswer,     // the simulated printer does not answer this round
    kRefused,      // the connection was refused: the printer is busy or off
    kReset,        // the connection was reset
    kClosed,       // the printer closed the connection before the reply ended
    kTimedOut,     // the round's deadline passed
    kTooLarge,     // the reply grew past the cap; reading stopped
    kDeviceError,  // the device cannot be used (gone, busy, one-way, no such host)
};

// "answered", "refused", "timed out", ...
std::string_view RoundOutcomeName(RoundOutcome outcome);

struct RoundResult {
    RoundOutcome outcome = RoundOutcome::kNoAnswer;
    std::string reply;          // the PJL reply without the echo and unsolicited sections
    std::string device_id;      // empty when not asked, or when the printer gave none
    std::string device_id_note; // why a device ID that was asked for is missing
    std::string ustatus;        // the latest unsolicited status section, if any arrived
    std::string message;        // what went wrong, for people
    size_t bytes_read = 0;      // bytes that came from the printer this round
    // snmp://: what the agent said (the device ID is in device_id too), and
    // what was left unread ("the walk stopped: ...").
    std::optional<PrinterMib> mib;
    std::string mib_note;
};

using Deadline = std::chrono::steady_clock::time_point;

struct TransportOptions {
    size_t max_reply = 1024 * 1024;              // the largest reply read
    bool snmp = true;                            // read the device ID over SNMP (socket://)
    std::string community = "public";
    unsigned snmp_port = 161;
    std::string snmp_version = "2c";             // "1" or "2c"
    std::chrono::milliseconds snmp_timeout{1000};  // one SNMP try (one retry), within the deadline
    const std::atomic<bool>* stop = nullptr;     // when set, a round in progress ends early
};

class Transport {
public:
    virtual ~Transport() = default;
    // One round: sends query_text (the PJL text a QueryInfo holds; empty when
    // it holds none) and reads the reply; reads the device ID when asked.
    // Returns by the deadline (kTimedOut when it passed first).
    virtual RoundResult Exchange(std::string_view query_text, bool device_id_requested, Deadline deadline) = 0;
    // The printer as the user named it.
    virtual std::string Describe() const = 0;

    // True for snmp://: a round reads the printer's MIB (RoundResult::mib)
    // and sends no PJL; a cycle is that one round.
    virtual bool ReadsMib() const { return false; }
};

// Opens the transport a device URI names; throws BadArgument for a URI
// that is malformed or names no transport of this build.
std::unique_ptr<Transport> OpenTransport(std::string_view uri, const TransportOptions& options);

// The transports for socket:// and usb://; throws BadArgument where this
// build has no network (the Windows build).
std::unique_ptr<Transport> OpenSocketTransport(std::string_view host, unsigned port, const TransportOptions& options);
std::unique_ptr<Transport> OpenSnmpTransport(std::string_view host, unsigned port, const TransportOptions& options);
std::unique_ptr<Transport> OpenUsbTransport(std::string_view device_path, const TransportOptions& options);

// True when this build has the socket, SNMP and USB transports.
bool NetworkTransportsBuilt();

}  // namespace tb58mon
