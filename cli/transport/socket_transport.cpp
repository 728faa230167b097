// socket://HOST[:PORT]: PJL over TCP, one connection per round, under one
// deadline for the whole round; the device ID over SNMP after the reply.
#include <asio.hpp>

#include <array>

#include "transport/pjl_stream.h"
#include "transport/snmp_device_id.h"
#include "transport/transport.h"

namespace tb58mon {
namespace {

constexpr auto kPollStep = std::chrono::milliseconds(100);

RoundOutcome OutcomeOf(const std::error_code& error) {
    if (error == asio::error::connection_refused) return RoundOutcome::kRefused;
    if (error == asio::error::connection_reset || error == asio::error::broken_pipe ||
        error == asio::error::connection_aborted) {
        return RoundOutcome::kReset;
    }
    if (error == asio::error::eof) return RoundOutcome::kClosed;
    return RoundOutcome::kDeviceError;
}

// One PJL exchange on one connection.
class PjlExchange {
public:
    PjlExchange(std::string host, unsigned port, const TransportOptions& options)
        : host_(std::move(host)),
          port_(port),
          options_(options),
          resolver_(io_),
          socket_(io_),
          cookie_(MakeEchoCookie()),
          framer_(cookie_, options.max_reply) {}

    RoundResult Run(std::string_view query_text) {
        request_ = AddEchoCommand(query_text, cookie_);
        // An address needs no name look-up (which would cost a thread).
        std::error_code not_an_address;
        const asio::ip::address address = asio::ip::make_address(host_, not_an_address);
        if (!not_an_address) {
            Connect(asio::ip::tcp::resolver::results_type::create(asio::ip::tcp::endpoint(address, static_cast<unsigned short>(port_)), host_, std::to_string(port_)));
        } else {
            Resolve();
        }
        return Wait();
    }

private:
    void Resolve() {
        resolver_.async_resolve(host_, std::to_string(port_),
                                [this](const std::error_code& error, const asio::ip::tcp::resolver::results_type& hosts) {
                                    if (error) return Fail(RoundOutcome::kDeviceError, "cannot find host " + host_ + ": " + error.message());
                                    Connect(hosts);
                                });
    }

    RoundResult Wait() {
        const auto deadline = std::chrono::steady_clock::now() + options_.timeout;
        while (!finished_) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline) {
                Fail(RoundOutcome::kTimedOut, "no whole reply within " + std::to_string(options_.timeout.count()) +
                                                  " ms (" + std::to_string(framer_.bytes_received()) + " bytes came)");
                break;
            }
            if (options_.stop != nullptr && options_.stop->load()) {
                Fail(RoundOutcome::kTimedOut, "stopped");
                break;
            }
            io_.run_for(std::min<std::chrono::steady_clock::duration>(kPollStep, deadline - now));
            if (io_.stopped() && !finished_) io_.restart();
        }
        std::error_code ignored;
        socket_.close(ignored);
        resolver_.cancel();
        result_.bytes_read = framer_.bytes_received();
        return std::move(result_);
    }

    void Connect(const asio::ip::tcp::resolver::results_type& hosts) {
        asio::async_connect(socket_, hosts, [this](const std::error_code& error, const asio::ip::tcp::endpoint&) {
            if (error == asio::error::connection_refused) {
                return Fail(RoundOutcome::kRefused, "nothing answers on " + host_ + ":" + std::to_string(port_) +
                                                        " (the printer is off, or busy printing)");
            }
            if (error) {
                return Fail(OutcomeOf(error), "cannot connect to " + host_ + ":" + std::to_string(port_) + ": " +
                                                  error.message());
            }
            asio::async_write(socket_, asio::buffer(request_), [this](const std::error_code& write_error, size_t) {
                if (write_error) return Fail(OutcomeOf(write_error), "sending the query: " + write_error.message());
                Read();
            });
        });
    }

    void Read() {
        socket_.async_read_some(asio::buffer(buffer_), [this](const std::error_code& error, size_t size) {
            if (finished_) return;
            const auto state = framer_.Feed(std::string_view(buffer_.data(), size));
            if (state == PjlReplyFramer::State::kComplete) {
                finished_ = true;
                result_.outcome = RoundOutcome::kAnswered;
                result_.reply = framer_.reply();
                result_.ustatus = framer_.ustatus();
                return;
            }
            if (state == PjlReplyFramer::State::kTooLarge) {
                return Fail(RoundOutcome::kTooLarge,
                            "the reply grew past " + std::to_string(options_.max_reply) + " bytes; reading stopped");
            }
            if (error == asio::error::eof) {
                return Fail(RoundOutcome::kClosed, "the printer closed the connection after " +
                                                       std::to_string(framer_.bytes_received()) + " bytes, before the reply ended");
            }
            if (error) return Fail(OutcomeOf(error), "reading the reply: " + error.message());
            Read();
        });
    }

    void Fail(RoundOutcome outcome, std::string message) {
        if (finished_) return;
        finished_ = true;
        result_.outcome = outcome;
        result_.message = std::move(message);
        io_.stop();
    }

    std::string host_;
    unsigned port_;
    const TransportOptions& options_;
    asio::io_context io_;
    asio::ip::tcp::resolver resolver_;
    asio::ip::tcp::socket socket_;
    std::string cookie_;
    PjlReplyFramer framer_;
    std::string request_;
    std::array<char, 16384> buffer_{};
    bool finished_ = false;
    RoundResult result_;
};

class SocketTransport final : public Transport {
public:
    SocketTransport(std::string host, unsigned port, const TransportOptions& options)
        : host_(std::move(host)), port_(port), options_(options) {}

    RoundResult Exchange(std::string_view query_text, bool device_id_requested) override {
        RoundResult result;
        if (!query_text.empty()) {
            PjlExchange exchange(host_, port_, options_);
            result = exchange.Run(query_text);
            if (result.outcome != RoundOutcome::kAnswered) return result;
        } else {
            result.outcome = RoundOutcome::kAnswered;
        }
        if (!device_id_requested) return result;
        if (!options_.snmp) {
            result.device_id_note = "not read (--no-snmp)";
            return result;
        }
        const SnmpReading reading =
            ReadDeviceIdOverSnmp(host_, options_.snmp_port, options_.community, options_.snmp_version, options_.snmp_timeout);
        if (reading.ok) {
            result.device_id = reading.value;
        } else {
            result.device_id_note = reading.error;
        }
        return result;
    }

    std::string Describe() const override {
        const bool ipv6 = host_.find(':') != std::string::npos;
        return "socket://" + (ipv6 ? "[" + host_ + "]" : host_) + ":" + std::to_string(port_);
    }

private:
    std::string host_;
    unsigned port_;
    TransportOptions options_;
};

}  // namespace

std::unique_ptr<Transport> OpenSocketTransport(std::string_view host, unsigned port, const TransportOptions& options) {
    return std::make_unique<SocketTransport>(std::string(host), port, options);
}

}  // namespace tb58mon
