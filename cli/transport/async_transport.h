// Query rounds on an event loop (the network build): the fleet poller runs
// every printer's exchanges on its one asio loop, so that a printer that
// accepts a connection and never answers costs a socket and a timer, not a
// thread.  A round is started on the loop's thread and reports once, on the
// same thread, by its deadline.
//
// The synchronous transports of the network build (watch) run the same
// rounds on a loop of their own (SyncTransport), so both commands share one
// implementation of each exchange.
#pragma once

#include <asio/io_context.hpp>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "transport/transport.h"

namespace tb58mon {

class AsyncTransport {
public:
    using Done = std::function<void(RoundResult)>;

    virtual ~AsyncTransport() = default;  // cancels a round in progress

    // Starts one round on the loop's thread.  done is called exactly once,
    // on the loop's thread and never from inside Start, at the latest when
    // the deadline passes -- unless Cancel comes first.  One round at a time.
    virtual void Start(std::string_view query_text, bool device_id_requested, Deadline deadline, Done done) = 0;

    // Ends the round in progress at once (its sockets close); its done is
    // never called.  Nothing happens when no round runs.
    virtual void Cancel() = 0;

    virtual std::string Describe() const = 0;

    // True for snmp://: a round reads the printer's MIB (see Transport).
    virtual bool ReadsMib() const { return false; }
};

// The transport a device URI names, on the loop io; throws BadArgument for
// a URI that is malformed.  sim: printers answer at once (posted).
std::unique_ptr<AsyncTransport> OpenAsyncTransport(asio::io_context& io, std::string_view uri,
                                                   const TransportOptions& options);

std::unique_ptr<AsyncTransport> OpenAsyncSocketTransport(asio::io_context& io, std::string host, unsigned port,
                                                         const TransportOptions& options);
std::unique_ptr<AsyncTransport> OpenAsyncSnmpTransport(asio::io_context& io, std::string host, unsigned port,
                                                       const TransportOptions& options);
std::unique_ptr<AsyncTransport> OpenAsyncUsbTransport(asio::io_context& io, std::string device_path,
                                                      const TransportOptions& options);
// Opens a printer's device file for usb://: a character device only, never
// through a symbolic link, read-write and non-blocking.  Returns the
// descriptor, or -1 with error saying why (nothing was written).
int OpenPrinterDevice(const std::string& path, std::string& error);

// A synchronous transport (sim:) run on the loop: each round is answered by
// a handler posted to it.
std::unique_ptr<AsyncTransport> RunOnLoop(asio::io_context& io, std::unique_ptr<Transport> transport);

// A synchronous transport over a round on a loop of its own: Exchange runs
// the loop until the round reports (and ends it early when options.stop is
// set).
std::unique_ptr<Transport> SyncTransport(
    const std::function<std::unique_ptr<AsyncTransport>(asio::io_context&)>& open, const TransportOptions& options);

}  // namespace tb58mon
