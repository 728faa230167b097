// snmp://HOST[:PORT]: a printer watched over SNMP alone.  A round sends no
// PJL: it reads the printer's MIB (StartPrinterMibRead) by the round's
// deadline and hands it back parsed, with the device ID.
#include <asio/ip/udp.hpp>
#include <asio/steady_timer.hpp>

#include <optional>

#include "mib/mib_binding.h"
#include "transport/async_transport.h"
#include "transport/printer_uri.h"
#include "transport/snmp_mib_read.h"

namespace tb58mon {
namespace {

using asio::ip::udp;

std::string HostText(const std::string& host, unsigned port) {
    const bool ipv6 = host.find(':') != std::string::npos;
    return "snmp://" + (ipv6 ? "[" + host + "]" : host) + (port == kDefaultSnmpPort ? "" : ":" + std::to_string(port));
}

RoundResult ResultOf(MibReading reading) {
    RoundResult result;
    if (!reading.answered) {
        result.outcome = RoundOutcome::kTimedOut;
        result.message = std::move(reading.error);
        return result;
    }
    result.outcome = RoundOutcome::kAnswered;
    for (const MibBinding& binding : reading.bindings) result.bytes_read += binding.text.size();
    PrinterMib mib = ParsePrinterMib(reading.bindings);
    result.device_id = mib.device_id.substr(0, mib.device_id.find('\0'));
    if (result.device_id.empty()) result.device_id_note = "the printer has no device ID object (ppmPrinterIEEE1284DeviceId)";
    result.mib = std::move(mib);
    result.mib_note = std::move(reading.note);
    return result;
}

class AsyncSnmpTransport final : public AsyncTransport {
public:
    AsyncSnmpTransport(asio::io_context& io, std::string host, unsigned port, const TransportOptions& options)
        : io_(io), host_(std::move(host)), port_(port), options_(options), timer_(io) {}
    ~AsyncSnmpTransport() override {
        Cancel();
        alive_.reset();  // handlers still queued see that the transport is gone
    }

    void Start(std::string_view, bool, Deadline deadline, Done done) override {
        Cancel();
        done_ = std::move(done);
        deadline_ = deadline;
        // An address needs no name look-up (which runs on asio's resolver thread).
        std::error_code not_an_address;
        const asio::ip::address address = asio::ip::make_address(host_, not_an_address);
        if (!not_an_address) return Read(address);
        // A look-up has no deadline of its own: the round's timer ends it.
        const uint64_t round = round_;
        const std::weak_ptr<bool> alive = alive_;
        timer_.expires_at(deadline);
        timer_.async_wait([this, round, alive](const std::error_code& error) {
            if (error || alive.expired() || round != round_ || !done_) return;
            RoundResult result;
            result.outcome = RoundOutcome::kTimedOut;
            result.message = "cannot find host " + host_ + " in time";
            Cancel(std::move(result));
        });
        resolver_.emplace(io_);
        resolver_->async_resolve(host_, std::to_string(port_),
                                 [this, round, alive](const std::error_code& error, udp::resolver::results_type hosts) {
                                     if (alive.expired() || round != round_ || !done_) return;
                                     timer_.cancel();
                                     if (error || hosts.empty()) {
                                         RoundResult result;
                                         result.outcome = RoundOutcome::kDeviceError;
                                         result.message = "cannot find host " + host_ + ": " + error.message();
                                         return Report(std::move(result));
                                     }
                                     Read(hosts.begin()->endpoint().address());
                                 });
    }

    void Cancel() override {
        ++round_;
        done_ = nullptr;
        timer_.cancel();
        if (resolver_) resolver_->cancel();
        resolver_.reset();
        if (read_) read_->Cancel();
        read_.reset();
    }

    std::string Describe() const override { return HostText(host_, port_); }
    bool ReadsMib() const override { return true; }

private:
    void Read(const asio::ip::address& address) {
        SnmpTarget target{address.to_string(), port_, options_.community, options_.snmp_version, options_.snmp_timeout};
        const uint64_t round = round_;
        read_ = StartPrinterMibRead(io_, target, deadline_, [this, round](MibReading reading) {
            if (round != round_) return;
            Report(ResultOf(std::move(reading)));
        });
    }

    // Ends the round with result (from the loop).
    void Cancel(RoundResult result) {
        Done done = std::move(done_);
        Cancel();
        if (done) done(std::move(result));
    }

    // Reported from the loop (the resolver's and the read's handlers run
    // there), never from inside Start.
    void Report(RoundResult result) {
        if (auto done = std::move(done_)) {
            done_ = nullptr;
            done(std::move(result));
        }
    }

    asio::io_context& io_;
    std::string host_;
    unsigned port_;
    TransportOptions options_;
    Deadline deadline_{};
    Done done_;
    uint64_t round_ = 0;
    asio::steady_timer timer_;
    std::optional<udp::resolver> resolver_;
    std::shared_ptr<SnmpMibRead> read_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace

std::unique_ptr<AsyncTransport> OpenAsyncSnmpTransport(asio::io_context& io, std::string host, unsigned port,
                                                       const TransportOptions& options) {
    return std::make_unique<AsyncSnmpTransport>(io, std::move(host), port, options);
}

std::unique_ptr<Transport> OpenSnmpTransport(std::string_view host, unsigned port, const TransportOptions& options) {
    const std::string name(host);
    return SyncTransport(
        [name, port, options](asio::io_context& io) { return OpenAsyncSnmpTransport(io, name, port, options); },
        options);
}

}  // namespace tb58mon
