// socket://HOST[:PORT]: PJL over TCP, one connection per round, and the
// device ID over SNMP after the reply, all on the caller's loop under the
// round's deadline.  A round that waits costs its socket, its timer and,
// while the SNMP request runs, a UDP socket.
#include <asio/connect.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <asio/write.hpp>

#include <array>
#include <optional>

#include "transport/async_transport.h"
#include "transport/pjl_stream.h"
#include "transport/round_report.h"
#include "transport/snmp_device_id.h"

namespace tb58mon {
namespace {

using asio::ip::tcp;
constexpr size_t kSocketReadPiece = 16384;
constexpr std::string_view kSnmpSilentEarlier = "SNMP did not answer earlier in this cycle";

RoundOutcome OutcomeOf(const std::error_code& error) {
    if (error == asio::error::connection_refused) return RoundOutcome::kRefused;
    if (error == asio::error::connection_reset || error == asio::error::broken_pipe ||
        error == asio::error::connection_aborted) {
        return RoundOutcome::kReset;
    }
    if (error == asio::error::eof) return RoundOutcome::kClosed;
    return RoundOutcome::kDeviceError;
}

std::string HostPortText(const std::string& host, unsigned port) {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

// One round: look-up (for a name), connect, send, read to the echo, then
// the device ID.  Its handlers hold it; Cancel closes what it has open.
class SocketRound : public std::enable_shared_from_this<SocketRound> {
public:
    SocketRound(asio::io_context& io, const std::string& host, unsigned port, const TransportOptions& options,
                Deadline deadline, AsyncTransport::Done done)
        : io_(io),
          host_(host),
          port_(port),
          options_(options),
          deadline_(deadline),
          report_(io, std::move(done)),
          socket_(io),
          timer_(io),
          cookie_(MakeEchoCookie()),
          framer_(cookie_, options.max_reply) {}

    // snmp_silent: SNMP did not answer earlier in this cycle; it is not
    // asked again.
    void Begin(std::string_view query_text, bool device_id_requested, bool snmp_silent) {
        device_id_requested_ = device_id_requested;
        snmp_silent_ = snmp_silent;
        if (!query_text.empty()) request_ = AddEchoCommand(query_text, cookie_);
        timer_.expires_at(deadline_);
        timer_.async_wait([self = shared_from_this()](const std::error_code& error) {
            if (!error) self->OnDeadline();
        });
        // An address needs no name look-up (which runs on asio's resolver thread).
        std::error_code not_an_address;
        const asio::ip::address address = asio::ip::make_address(host_, not_an_address);
        if (!not_an_address) return Connect({tcp::endpoint(address, static_cast<unsigned short>(port_))});
        resolver_.emplace(io_);
        resolver_->async_resolve(host_, std::to_string(port_),
                                 [self = shared_from_this()](const std::error_code& error, tcp::resolver::results_type hosts) {
                                     if (self->report_.ended()) return;
                                     if (error) {
                                         return self->Fail(RoundOutcome::kDeviceError,
                                                           "cannot find host " + self->host_ + ": " + error.message());
                                     }
                                     self->Connect({hosts.begin(), hosts.end()});
                                 });
    }

    void Cancel() {
        report_.Cancel();
        Close();
    }

private:
    void Connect(std::vector<tcp::endpoint> endpoints) {
        if (request_.empty()) {
            // Nothing to send: only the device ID is asked.
            address_ = endpoints.front().address();
            report_.result.outcome = RoundOutcome::kAnswered;
            return ReadDeviceId();
        }
        asio::async_connect(socket_, endpoints, [self = shared_from_this()](const std::error_code& error, const tcp::endpoint& peer) {
            if (self->report_.ended()) return;
            if (error == asio::error::connection_refused) {
                return self->Fail(RoundOutcome::kRefused, "nothing answers on " + HostPortText(self->host_, self->port_) +
                                                              " (the printer is off, or busy printing)");
            }
            if (error) {
                return self->Fail(OutcomeOf(error), "cannot connect to " + HostPortText(self->host_, self->port_) +
                                                        ": " + error.message());
            }
            self->address_ = peer.address();
            asio::async_write(self->socket_, asio::buffer(self->request_),
                              [self](const std::error_code& write_error, size_t) {
                                  if (self->report_.ended()) return;
                                  if (write_error) {
                                      return self->Fail(OutcomeOf(write_error), "sending the query: " + write_error.message());
                                  }
                                  self->buffer_ = std::make_unique<std::array<char, kSocketReadPiece>>();
                                  self->Read();
                              });
        });
    }

    void Read() {
        socket_.async_read_some(asio::buffer(*buffer_), [self = shared_from_this()](const std::error_code& error, size_t size) {
            if (self->report_.ended()) return;
            const auto state = self->framer_.Feed(std::string_view(self->buffer_->data(), size));
            if (state == PjlReplyFramer::State::kComplete) return self->ReplyComplete();
            if (state == PjlReplyFramer::State::kTooLarge) {
                return self->Fail(RoundOutcome::kTooLarge, "the reply grew past " + std::to_string(self->options_.max_reply) +
                                                               " bytes; reading stopped");
            }
            if (error == asio::error::eof) {
                return self->Fail(RoundOutcome::kClosed, "the printer closed the connection after " +
                                                             std::to_string(self->framer_.bytes_received()) +
                                                             " bytes, before the reply ended");
            }
            if (error) return self->Fail(OutcomeOf(error), "reading the reply: " + error.message());
            self->Read();
        });
    }

    void ReplyComplete() {
        std::error_code ignored;
        socket_.close(ignored);
        buffer_.reset();
        report_.result.outcome = RoundOutcome::kAnswered;
        report_.result.reply = framer_.reply();
        report_.result.ustatus = framer_.ustatus();
        report_.result.bytes_read = framer_.bytes_received();
        ReadDeviceId();
    }

    void ReadDeviceId() {
        if (!device_id_requested_) return Report();
        if (!options_.snmp) {
            report_.result.device_id_note = "SNMP is off (--no-snmp)";
            return Report();
        }
        if (snmp_silent_) {
            report_.result.device_id_note = std::string(kSnmpSilentEarlier);
            return Report();
        }
        // The SNMP request reports by its own deadline: at most two tries,
        // and at most half the time left, so that a silent agent leaves the
        // rounds after this one their time.
        timer_.cancel();
        const auto left = std::max(Deadline::duration::zero(), deadline_ - std::chrono::steady_clock::now());
        const auto budget = std::min<Deadline::duration>(2 * options_.snmp_timeout, left / 2);
        SnmpTarget target{address_.to_string(), options_.snmp_port, options_.community, options_.snmp_version,
                          std::chrono::duration_cast<std::chrono::milliseconds>(budget / 2)};
        const Deadline snmp_deadline = std::chrono::steady_clock::now() + budget;
        snmp_ = StartSnmpDeviceIdRead(io_, target, snmp_deadline, [self = shared_from_this()](SnmpReading reading) {
            if (self->report_.ended()) return;
            if (reading.ok) {
                self->report_.result.device_id = std::move(reading.value);
            } else {
                self->report_.result.device_id_note = std::move(reading.error);
            }
            self->Report();
        });
    }

    void OnDeadline() {
        if (report_.ended()) return;
        Fail(RoundOutcome::kTimedOut, "no whole reply by the deadline (" + std::to_string(framer_.bytes_received()) +
                                          " bytes came)");
    }

    void Fail(RoundOutcome outcome, std::string message) {
        report_.result.outcome = outcome;
        report_.result.message = std::move(message);
        report_.result.bytes_read = framer_.bytes_received();
        Report();
    }

    void Report() {
        if (!report_.End()) return;
        Close();
        report_.Post(shared_from_this());
    }

    void Close() {
        std::error_code ignored;
        timer_.cancel();
        socket_.close(ignored);
        if (resolver_) resolver_->cancel();
        if (snmp_) {
            snmp_->Cancel();
            snmp_.reset();
        }
        buffer_.reset();
    }

    asio::io_context& io_;
    std::string host_;
    unsigned port_;
    TransportOptions options_;
    Deadline deadline_;
    RoundReport report_;
    tcp::socket socket_;
    asio::steady_timer timer_;
    std::optional<tcp::resolver> resolver_;
    std::string cookie_;
    PjlReplyFramer framer_;
    std::string request_;
    bool device_id_requested_ = false;
    bool snmp_silent_ = false;
    std::unique_ptr<std::array<char, kSocketReadPiece>> buffer_;
    asio::ip::address address_;
    std::shared_ptr<SnmpDeviceIdRead> snmp_;
};

class AsyncSocketTransport final : public AsyncTransport {
public:
    AsyncSocketTransport(asio::io_context& io, std::string host, unsigned port, const TransportOptions& options)
        : io_(io), host_(std::move(host)), port_(port), options_(options) {}
    ~AsyncSocketTransport() override { Cancel(); }

    // The rounds of one cycle share its deadline: an agent that did not
    // answer in one is not asked again in the next.
    void Start(std::string_view query_text, bool device_id_requested, Deadline deadline, Done done) override {
        Cancel();
        const bool silent = silent_cycle_ == deadline;
        auto report = [this, deadline, done = std::move(done)](RoundResult result) {
            if (result.device_id_note.starts_with(kSnmpDidNotAnswer)) silent_cycle_ = deadline;
            done(std::move(result));
        };
        round_ = std::make_shared<SocketRound>(io_, host_, port_, options_, deadline, std::move(report));
        round_->Begin(query_text, device_id_requested, silent);
    }

    void Cancel() override {
        if (round_) round_->Cancel();
        round_.reset();
    }

    std::string Describe() const override { return "socket://" + HostPortText(host_, port_); }

private:
    asio::io_context& io_;
    std::string host_;
    unsigned port_;
    TransportOptions options_;
    std::shared_ptr<SocketRound> round_;
    Deadline silent_cycle_{};
};

}  // namespace

std::unique_ptr<AsyncTransport> OpenAsyncSocketTransport(asio::io_context& io, std::string host, unsigned port,
                                                         const TransportOptions& options) {
    return std::make_unique<AsyncSocketTransport>(io, std::move(host), port, options);
}

std::unique_ptr<Transport> OpenSocketTransport(std::string_view host, unsigned port, const TransportOptions& options) {
    const std::string name(host);
    return SyncTransport(
        [name, port, options](asio::io_context& io) { return OpenAsyncSocketTransport(io, name, port, options); },
        options);
}

}  // namespace tb58mon
