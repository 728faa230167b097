#include "sim/network_printer.h"

#include <fcntl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <exception>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string_view>
#include <thread>
#include <utility>

#include <asio.hpp>

#include "base/cli_error.h"
#include "sim/simulated_printer.h"
#include "sim/agent_bindings.h"
#include "sim/snmp_agent.h"

namespace tb58mon {
namespace {

using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kUel = "\x1b%-12345X";
constexpr std::string_view kPjl = "@PJL";
constexpr std::string_view kEchoCommand = "@PJL ECHO";
constexpr size_t kMaxQuery = 1024 * 1024;
constexpr auto kQueryDeadline = std::chrono::seconds(10);
constexpr auto kWriteIdleLimit = std::chrono::seconds(30);
constexpr auto kStallLimit = std::chrono::seconds(30);
constexpr auto kTricklePause = std::chrono::microseconds(200);
constexpr auto kAcceptRetryPause = std::chrono::milliseconds(100);
constexpr size_t kWriteChunk = 64 * 1024;
constexpr size_t kGarbageMin = 256;
constexpr size_t kGarbageMax = 4096;
// NUL NUL EOT: what some printers send before a reply and after form feeds.
constexpr std::string_view kNulPrefix{"\0\0\x04", 3};

// The end of the first complete query in text: just after a UEL that
// follows an "@PJL"; npos while the query goes on.
size_t QueryEnd(std::string_view text) {
    const size_t pjl = text.find(kPjl);
    if (pjl == std::string_view::npos) return std::string_view::npos;
    const size_t uel = text.find(kUel, pjl + kPjl.size());
    return uel == std::string_view::npos ? std::string_view::npos : uel + kUel.size();
}

// N bytes of an answer a printer might give to a long INFO VARIABLES: lines
// of "NAME=VALUE [...]", ended by a form feed.
std::string HugeAnswer(size_t size) {
    std::string text = "@PJL INFO VARIABLES\r\n";
    for (size_t n = 1; text.size() < size; ++n) {
        text += "VARIABLE" + std::to_string(n) + "=" + std::to_string(n * 7 % 1000) + " [2 RANGE]\r\n\t1\r\n\t999\r\n";
    }
    text.resize(size > 0 ? size - 1 : 0);
    if (size > 0) text += '\f';
    return text;
}

// Random bytes without '@', so that no echo can appear in them.
std::string Noise(std::mt19937& random) {
    std::uniform_int_distribution<size_t> length(kGarbageMin, kGarbageMax);
    std::uniform_int_distribution<int> byte(0, 254);
    std::string noise(length(random), '\0');
    for (char& c : noise) {
        const int b = byte(random);
        c = static_cast<char>(b >= '@' ? b + 1 : b);
    }
    return noise;
}

// Inserts insert after every form feed of text; the last form feed is
// skipped when skip_last is set.
std::string AfterFormFeeds(std::string_view text, std::string_view insert, bool skip_last) {
    const size_t last = text.rfind('\f');
    std::string out;
    out.reserve(text.size() + insert.size() * 8);
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\f' && !(skip_last && i == last)) out += insert;
    }
    return out;
}

// The bytes sent for a reply under the fault switches.  The echo answer
// (from the last "@PJL ECHO" on; else the closing UEL) keeps its place at
// the end; garbage and huge change what stands before it.
std::string ApplyFaults(const std::string& reply, const FaultSwitches& faults, std::string_view status,
                        std::mt19937& random) {
    size_t tail_at = reply.rfind(kEchoCommand);
    if (tail_at == std::string::npos) tail_at = reply.ends_with(kUel) ? reply.size() - kUel.size() : reply.size();
    std::string head = reply.substr(0, tail_at);
    const std::string tail = reply.substr(tail_at);
    if (faults.garbage) {
        head = std::string(kUel) + Noise(random);
        if (!tail.empty()) head += '\f';
    }
    if (faults.huge > 0) head += HugeAnswer(faults.huge);
    std::string bytes = head + tail;
    if (faults.ustatus) bytes = AfterFormFeeds(bytes, status, true);
    if (faults.nul_prefix) bytes = std::string(kNulPrefix) + AfterFormFeeds(bytes, kNulPrefix, false);
    if (faults.no_ff) std::erase(bytes, '\f');
    return bytes;
}

std::string FaultNames(const FaultSwitches& f) {
    std::string names;
    auto add = [&names](const std::string& name) { names += (names.empty() ? "" : ", ") + name; };
    if (f.trickle) add("trickle");
    if (f.no_ff) add("no-ff");
    if (f.stall_after >= 0) add("stall-after " + std::to_string(f.stall_after));
    if (f.drop_after >= 0) add("drop-after " + std::to_string(f.drop_after));
    if (f.refuse) add("refuse");
    if (f.garbage) add("garbage");
    if (f.huge > 0) add("huge " + std::to_string(f.huge));
    if (f.ustatus) add("ustatus");
    if (f.nul_prefix) add("nul-prefix");
    if (f.delay_ms > 0) add("delay " + std::to_string(f.delay_ms) + " ms");
    if (f.snmp_silent) add("snmp-silent");
    if (f.snmp_rows > 0) add("snmp-rows " + std::to_string(f.snmp_rows));
    if (f.snmp_wrong_types) add("snmp-wrong-types");
    if (f.snmp_extreme) add("snmp-extreme");
    return names;
}

void CloseOnExec(int fd) {
    const int flags = fcntl(fd, F_GETFD);
    if (flags >= 0) fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
}

// The scenario being served and its printer, which counts the rounds.
struct Served {
    explicit Served(Scenario s) : scenario(std::move(s)), printer(scenario) {}
    Scenario scenario;
    SimulatedPrinter printer;
};

}  // namespace

class NetworkPrinter::Impl {
public:
    Impl(Scenario scenario, NetworkPrinterConfig config);
    ~Impl();

    // What a connection answers to a query: the bytes to send (nullopt: no
    // answer) and the faults they go out with.
    struct Reply {
        std::optional<std::string> bytes;
        FaultSwitches faults;
    };
    Reply Answer(std::string_view query);

    void Log(const std::string& line) const;
    void Accept(uint64_t generation);
    void Forget(uint64_t id) { live_.erase(id); }

    void SetScenario(Scenario scenario);
    void SetFaults(const FaultSwitches& faults);
    void SetAvailable(bool on);
    unsigned pjl_port() const { return endpoint_.port(); }
    unsigned snmp_port() const { return agent_ ? agent_->port() : 0; }
    std::string snmp_host() const { return agent_ ? agent_->host() : std::string(); }
    bool loopback_only() const { return IsLoopbackAddress(endpoint_.address().to_string()); }
    size_t connections() const { return connections_.load(); }

    asio::io_context io;

private:
    class Connection;

    // Runs work on the server thread and waits for it; its exception comes
    // back to the caller.
    void OnServer(const std::function<void()>& work);
    // Opens or closes the listener to match available_ and the refuse switch.
    void UpdateListener();
    void OpenListener();
    void UpdateAgent();

    NetworkPrinterConfig config_;
    tcp::endpoint endpoint_;  // set by the constructor; read-only afterwards
    tcp::acceptor acceptor_{io};
    asio::steady_timer accept_retry_{io};
    uint64_t accept_generation_ = 0;
    std::map<uint64_t, std::weak_ptr<Connection>> live_;  // server thread only
    std::atomic<size_t> connections_{0};
    std::unique_ptr<SnmpAgent> agent_;

    mutable std::mutex mutex_;  // guards what follows
    std::shared_ptr<Served> served_;
    FaultSwitches faults_;
    bool available_ = true;
    std::mt19937 random_{std::random_device{}()};

    asio::executor_work_guard<asio::io_context::executor_type> work_ = asio::make_work_guard(io);
    std::thread thread_;
};

// One client: reads queries, sends replies, until either side closes.
class NetworkPrinter::Impl::Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(Impl& server, tcp::socket socket, uint64_t id)
        : server_(server), socket_(std::move(socket)), id_(id) {
        asio::error_code ec;
        const tcp::endpoint peer = socket_.remote_endpoint(ec);
        name_ = "connection " + std::to_string(id) + (ec ? "" : " from " + peer.address().to_string() + ":" +
                                                                     std::to_string(peer.port()));
        CloseOnExec(socket_.native_handle());
    }

    void Start() {
        WatchDeadline();
        ReadQuery();
    }

    // Closes the socket; every pending operation ends with it.
    void Close() {
        if (closed_) return;
        closed_ = true;
        asio::error_code ignored;
        socket_.shutdown(tcp::socket::shutdown_both, ignored);
        socket_.close(ignored);
        deadline_.cancel();
        pause_.cancel();
        server_.Forget(id_);
    }

private:
    void Finish(const std::string& what) {
        if (!closed_) server_.Log(name_ + ": " + what);
        Close();
    }

    // The one deadline of the connection: moved for each phase; when it
    // passes, the connection closes.
    void WatchDeadline() {
        deadline_.async_wait([self = shared_from_this()](const asio::error_code&) {
            if (self->closed_) return;
            if (self->deadline_.expiry() <= Clock::now()) {
                self->Finish(self->on_deadline_);
            } else {
                self->WatchDeadline();
            }
        });
    }

    void SetDeadline(Clock::duration limit, std::string what) {
        on_deadline_ = std::move(what);
        deadline_.expires_after(limit);
    }

    void ReadQuery() {
        SetDeadline(kQueryDeadline, "no whole query within 10 s, closed");
        TakeQuery();
    }

    // Answers a query already read, or reads on.
    void TakeQuery() {
        const size_t end = QueryEnd(query_);
        if (end != std::string::npos) {
            const std::string query = query_.substr(0, end);
            query_.erase(0, end);
            Answer(query, false);
            return;
        }
        if (query_.size() > kMaxQuery) {
            Finish("query larger than 1 MiB, closed");
            return;
        }
        socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](const asio::error_code& ec,
                                                                                    size_t size) {
            if (self->closed_) return;
            self->query_.append(self->buffer_.data(), size);
            if (ec == asio::error::eof) {
                // The client closed its side: what it sent is the query.
                if (self->query_.find(kPjl) == std::string::npos) {
                    self->Finish(self->rounds_ == 0 ? "closed without a query" : "closed by the client");
                } else {
                    self->Answer(std::exchange(self->query_, std::string()), true);
                }
                return;
            }
            if (ec) {
                self->Finish("read failed (" + ec.message() + ")");
                return;
            }
            self->TakeQuery();
        });
    }

    void Answer(const std::string& query, bool last) {
        ++rounds_;
        Reply reply = server_.Answer(query);
        if (!reply.bytes) {
            Finish("query of " + std::to_string(query.size()) + " bytes not answered (the scenario answers no more)");
            return;
        }
        faults_ = reply.faults;
        out_ = std::move(*reply.bytes);
        last_ = last;
        limit_ = out_.size();
        cut_ = Cut::kNone;
        const auto within = [this](long n) { return n >= 0 && static_cast<size_t>(n) < limit_; };
        if (within(faults_.drop_after)) {
            limit_ = static_cast<size_t>(faults_.drop_after);
            cut_ = Cut::kDrop;
        }
        if (within(faults_.stall_after)) {
            limit_ = static_cast<size_t>(faults_.stall_after);
            cut_ = Cut::kStall;
        }
        if (faults_.trickle) {
            asio::error_code ignored;
            socket_.set_option(tcp::no_delay(true), ignored);
        }
        sent_ = 0;
        if (faults_.delay_ms <= 0) return Write();
        pause_.expires_after(std::chrono::milliseconds(faults_.delay_ms));
        pause_.async_wait([self = shared_from_this()](const asio::error_code& error) {
            if (!self->closed_ && !error) self->Write();
        });
    }

    void Write() {
        if (sent_ >= limit_) {
            Written();
            return;
        }
        SetDeadline(kWriteIdleLimit, "the client read nothing for 30 s, closed");
        const size_t chunk = std::min(limit_ - sent_, faults_.trickle ? size_t{1} : kWriteChunk);
        asio::async_write(socket_, asio::buffer(out_.data() + sent_, chunk),
                          [self = shared_from_this()](const asio::error_code& ec, size_t size) {
                              if (self->closed_) return;
                              if (ec) {
                                  self->Finish("write failed after " + std::to_string(self->sent_) + " bytes (" +
                                               ec.message() + ")");
                                  return;
                              }
                              self->sent_ += size;
                              if (self->faults_.trickle && self->sent_ < self->limit_) {
                                  self->pause_.expires_after(kTricklePause);
                                  self->pause_.async_wait([self](const asio::error_code& pause_error) {
                                      if (!self->closed_ && !pause_error) self->Write();
                                  });
                              } else {
                                  self->Write();
                              }
                          });
    }

    void Written() {
        const std::string sent = std::to_string(sent_) + " of " + std::to_string(out_.size()) + " bytes";
        out_.clear();
        out_.shrink_to_fit();
        switch (cut_) {
            case Cut::kDrop:
                Finish("dropped after " + sent);
                return;
            case Cut::kStall:
                server_.Log(name_ + ": stalled after " + sent);
                SetDeadline(kStallLimit, "stalled for 30 s, closed");
                WaitForClose();
                return;
            case Cut::kNone:
                break;
        }
        server_.Log(name_ + ": answered " + std::to_string(sent_) + " bytes");
        if (last_) {
            Finish("closed after the answer");
        } else {
            ReadQuery();
        }
    }

    // A stalled connection reads (and drops) whatever comes until the
    // client closes or the deadline passes.
    void WaitForClose() {
        socket_.async_read_some(asio::buffer(buffer_), [self = shared_from_this()](const asio::error_code& ec, size_t) {
            if (self->closed_) return;
            if (ec) {
                self->Finish("closed by the client while stalled");
                return;
            }
            self->WaitForClose();
        });
    }

    enum class Cut { kNone, kDrop, kStall };

    Impl& server_;
    tcp::socket socket_;
    uint64_t id_;
    std::string name_;
    asio::steady_timer deadline_{socket_.get_executor(), Clock::time_point::max()};
    asio::steady_timer pause_{socket_.get_executor()};
    std::string on_deadline_;
    std::array<char, 16 * 1024> buffer_{};
    std::string query_;
    size_t rounds_ = 0;
    FaultSwitches faults_;
    std::string out_;
    size_t sent_ = 0;
    size_t limit_ = 0;
    Cut cut_ = Cut::kNone;
    bool last_ = false;
    bool closed_ = false;
};

NetworkPrinter::Impl::Impl(Scenario scenario, NetworkPrinterConfig config)
    : config_(std::move(config)),
      served_(std::make_shared<Served>(std::move(scenario))),
      faults_(config_.faults),
      available_(config_.available) {
    if (config_.listen_port > 65535) throw Failure("the port " + std::to_string(config_.listen_port) + " is not a port");
    const std::string place = config_.listen_host + ":" + std::to_string(config_.listen_port);
    asio::error_code ec;
    tcp::resolver resolver(io);
    const auto found = resolver.resolve(config_.listen_host, std::to_string(config_.listen_port),
                                        tcp::resolver::passive | tcp::resolver::numeric_service, ec);
    if (ec || found.empty()) {
        throw Failure("cannot listen on " + place + ": " + (ec ? ec.message() : "no such address"));
    }
    endpoint_ = found.begin()->endpoint();
    // Bind once even when nothing is to listen yet, so that the port number
    // is known and stays the same.
    OpenListener();
    endpoint_ = acceptor_.local_endpoint(ec);
    if (ec) throw Failure("cannot listen on " + place + ": " + ec.message());
    if (!available_ || faults_.refuse) {
        acceptor_.close(ec);
    } else {
        Accept(accept_generation_);
    }
    if (config_.snmp_port != 0) {
        const std::string host = endpoint_.address().is_v4() ? endpoint_.address().to_string() : "127.0.0.1";
        agent_ = std::make_unique<SnmpAgent>(host, config_.snmp_port, served_->printer.DeviceId());
        UpdateAgent();
    }
    thread_ = std::thread([this] {
        while (true) {
            try {
                io.run();
                return;
            } catch (const std::exception& error) {
                Log(std::string("server error: ") + error.what());
            } catch (...) {
                Log("server error");
            }
        }
    });
}

NetworkPrinter::Impl::~Impl() {
    work_.reset();
    io.stop();
    if (thread_.joinable()) thread_.join();
    // The connections end with the handlers the io_context still holds.
}

void NetworkPrinter::Impl::Log(const std::string& line) const {
    if (!config_.on_event) return;
    try {
        config_.on_event(line);
    } catch (...) {
        // A callback that fails loses its line, nothing more.
    }
}

void NetworkPrinter::Impl::OpenListener() {
    asio::error_code ec;
    acceptor_.open(endpoint_.protocol(), ec);
    if (!ec) acceptor_.set_option(tcp::acceptor::reuse_address(true), ec);
    if (!ec) acceptor_.bind(endpoint_, ec);
    if (!ec) acceptor_.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        asio::error_code ignored;
        acceptor_.close(ignored);
        throw Failure("cannot listen on " + config_.listen_host + ":" + std::to_string(endpoint_.port()) + ": " +
                      ec.message());
    }
    CloseOnExec(acceptor_.native_handle());
    ++accept_generation_;
}

void NetworkPrinter::Impl::Accept(uint64_t generation) {
    acceptor_.async_accept([this, generation](const asio::error_code& ec, tcp::socket socket) {
        // A handler of a listener closed since then has nothing to do.
        if (generation != accept_generation_ || !acceptor_.is_open()) return;
        if (ec) {
            Log("accept failed (" + ec.message() + ")");
            accept_retry_.expires_after(kAcceptRetryPause);
            accept_retry_.async_wait([this, generation](const asio::error_code& wait_error) {
                if (!wait_error && generation == accept_generation_ && acceptor_.is_open()) Accept(generation);
            });
            return;
        }
        const uint64_t id = ++connections_;
        auto connection = std::make_shared<Connection>(*this, std::move(socket), id);
        live_[id] = connection;
        connection->Start();
        Accept(generation);
    });
}

NetworkPrinter::Impl::Reply NetworkPrinter::Impl::Answer(std::string_view query) {
    const std::lock_guard<std::mutex> lock(mutex_);
    Reply reply;
    reply.faults = faults_;
    const auto answer = served_->printer.Answer(query, false);
    if (answer) {
        reply.bytes = ApplyFaults(answer->reply, faults_, served_->printer.UnsolicitedStatus(), random_);
    }
    return reply;
}

void NetworkPrinter::Impl::OnServer(const std::function<void()>& work) {
    if (std::this_thread::get_id() == thread_.get_id()) {
        work();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    asio::post(io, [&work, &done] {
        try {
            work();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    finished.get();
}

void NetworkPrinter::Impl::UpdateListener() {
    bool listen = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        listen = available_ && !faults_.refuse;
    }
    if (listen && !acceptor_.is_open()) {
        OpenListener();
        Accept(accept_generation_);
    } else if (!listen && acceptor_.is_open()) {
        asio::error_code ignored;
        acceptor_.close(ignored);
        accept_retry_.cancel();
        ++accept_generation_;
    }
}

void NetworkPrinter::Impl::UpdateAgent() {
    if (!agent_) return;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (available_ && served_->scenario.answers != Answers::kNone) {
        agent_->SetBindings(AgentBindings(served_->scenario, faults_));
    } else {
        agent_->ClearDeviceId();
    }
    agent_->SetSilent(faults_.snmp_silent);
}

void NetworkPrinter::Impl::SetScenario(Scenario scenario) {
    auto served = std::make_shared<Served>(std::move(scenario));
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        served_ = std::move(served);
    }
    UpdateAgent();
}

void NetworkPrinter::Impl::SetFaults(const FaultSwitches& faults) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        faults_ = faults;
    }
    OnServer([this] { UpdateListener(); });
    UpdateAgent();
}

void NetworkPrinter::Impl::SetAvailable(bool on) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        available_ = on;
    }
    OnServer([this, on] {
        UpdateListener();
        if (!on) {
            // Switched off: the open connections end too.
            auto live = live_;
            for (auto& [id, weak] : live) {
                if (auto connection = weak.lock()) connection->Close();
            }
        }
    });
    UpdateAgent();
}

bool IsLoopbackAddress(const std::string& address) {
    asio::error_code error;
    const asio::ip::address parsed = asio::ip::make_address(address, error);
    if (error) return false;
    if (parsed.is_v6() && parsed.to_v6().is_v4_mapped()) {
        return asio::ip::make_address_v4(asio::ip::v4_mapped, parsed.to_v6()).is_loopback();
    }
    return parsed.is_loopback();
}

NetworkPrinter::NetworkPrinter(Scenario scenario, NetworkPrinterConfig config)
    : impl_(std::make_unique<Impl>(std::move(scenario), std::move(config))) {}

NetworkPrinter::~NetworkPrinter() = default;

unsigned NetworkPrinter::pjl_port() const { return impl_->pjl_port(); }
unsigned NetworkPrinter::snmp_port() const { return impl_->snmp_port(); }
std::string NetworkPrinter::snmp_host() const { return impl_->snmp_host(); }
bool NetworkPrinter::loopback_only() const { return impl_->loopback_only(); }
void NetworkPrinter::SetScenario(Scenario scenario) { impl_->SetScenario(std::move(scenario)); }
void NetworkPrinter::SetFaults(const FaultSwitches& faults) { impl_->SetFaults(faults); }
void NetworkPrinter::SetAvailable(bool on) { impl_->SetAvailable(on); }
size_t NetworkPrinter::connections() const { return impl_->connections(); }

std::string DescribeFaults(const FaultSwitches& faults) { return FaultNames(faults); }

}  // namespace tb58mon
