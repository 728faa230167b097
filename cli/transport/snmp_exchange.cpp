#include "transport/snmp_exchange.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>
#include <sys/time.h>

#include <asio/post.hpp>
#include <asio/posix/stream_descriptor.hpp>
#include <asio/steady_timer.hpp>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace tb58mon {

// The library is set up once per process: no MIB files are read (objects
// are asked by number), no configuration or persistent files, and nothing
// is logged (what a printer sends must not reach the terminal; every
// failure is reported in the response).
void InitialiseSnmpLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_CONFIG_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
        setenv("MIBS", "", 0);
        init_snmp("tb58mon");
        snmp_disable_log();
    });
}

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kShortestTry = std::chrono::milliseconds(20);
// The longest object identifier taken from an agent.
constexpr size_t kLongestOid = 64;

std::string PeerName(const SnmpTarget& target) {
    const bool ipv6 = target.address.find(':') != std::string::npos;
    return (ipv6 ? "udp6:[" : "udp:") + target.address + (ipv6 ? "]:" : ":") + std::to_string(target.port);
}

// One variable binding as the monitor reads it.
SnmpBinding ReadBinding(const netsnmp_variable_list& variable) {
    SnmpBinding out;
    const size_t length = std::min(variable.name_length, kLongestOid);
    out.binding.oid.assign(variable.name, variable.name + length);
    switch (variable.type) {
        case ASN_INTEGER:
            out.binding.type = MibType::kInteger;
            out.binding.number = variable.val.integer != nullptr ? *variable.val.integer : 0;
            break;
        case ASN_GAUGE:  // also Unsigned32
        case ASN_COUNTER:
        case ASN_TIMETICKS:
            out.binding.type = variable.type == ASN_COUNTER    ? MibType::kCounter
                               : variable.type == ASN_TIMETICKS ? MibType::kTimeTicks
                                                                : MibType::kGauge;
            // net-snmp keeps 32-bit unsigned values in a long.
            out.binding.number = variable.val.integer != nullptr ? (*variable.val.integer & 0xFFFFFFFFL) : 0;
            break;
        case ASN_OCTET_STR:
            out.binding.type = MibType::kOctets;
            if (variable.val.string != nullptr) {
                out.binding.text.assign(reinterpret_cast<const char*>(variable.val.string), variable.val_len);
            }
            break;
        case ASN_OBJECT_ID:
            out.binding.type = MibType::kObjectId;
            if (variable.val.objid != nullptr) {
                const size_t count = std::min(variable.val_len / sizeof(oid), kLongestOid);
                out.binding.oid_value.assign(variable.val.objid, variable.val.objid + count);
            }
            break;
        default:
            out.exception = true;
            out.end_of_view = variable.type == SNMP_ENDOFMIBVIEW;
            break;
    }
    return out;
}

SnmpResponse ReadResponse(const netsnmp_pdu& pdu) {
    SnmpResponse response;
    response.answered = true;
    response.error_status = pdu.errstat;
    response.error_index = pdu.errindex;
    for (const netsnmp_variable_list* variable = pdu.variables; variable != nullptr;
         variable = variable->next_variable) {
        response.bindings.push_back(ReadBinding(*variable));
        response.bytes += response.bindings.back().binding.text.size();
    }
    return response;
}

class Exchange final : public SnmpExchange, public std::enable_shared_from_this<Exchange> {
public:
    Exchange(asio::io_context& io, SnmpTarget target, Deadline deadline)
        : target_(std::move(target)), deadline_(deadline), socket_(io), timer_(io) {}

    ~Exchange() override {
        finished_ = true;  // net-snmp may call back while the session closes
        Close();
    }

    bool Open() {
        InitialiseSnmpLibrary();
        peer_ = PeerName(target_);
        community_.assign(target_.community.begin(), target_.community.end());
        netsnmp_session settings;
        snmp_sess_init(&settings);
        settings.peername = peer_.data();
        settings.version = target_.version == "1" ? SNMP_VERSION_1 : SNMP_VERSION_2c;
        settings.community = community_.data();
        settings.community_len = community_.size();
        settings.retries = 1;
        session_ = snmp_sess_open(&settings);
        if (session_ == nullptr) return false;
        netsnmp_transport* transport = snmp_sess_transport(session_);
        if (transport == nullptr || transport->sock < 0) return false;
        std::error_code error;
        socket_.assign(transport->sock, error);
        return !error;
    }

    const std::string& Peer() const override { return peer_; }

    void Request(SnmpRequestType type, const std::vector<ObjectId>& objects, int max_repetitions,
                 std::function<void(SnmpResponse)> done) override {
        done_ = std::move(done);
        finished_ = false;
        if (session_ == nullptr) return Fail("cannot open an SNMP session to " + peer_);
        if (!Send(type, objects, max_repetitions)) return Fail("cannot send the SNMP request to " + peer_);
        WaitForAnswer();
        ArmTimer();
    }

    void Cancel() override {
        finished_ = true;
        done_ = nullptr;
        Close();
    }

    // net-snmp's callback, from inside snmp_sess_read2 or snmp_sess_timeout:
    // a response arrived, or the last retry timed out.
    static int OnResponse(int operation, netsnmp_session*, int, netsnmp_pdu* pdu, void* magic) {
        auto* self = static_cast<Exchange*>(magic);
        if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu != nullptr) {
            self->Finish(ReadResponse(*pdu));
        } else {
            self->Fail(self->NoAnswer());
        }
        return 1;
    }

private:
    std::string NoAnswer() const { return std::string(kSnmpDidNotAnswer) + " (" + peer_ + ")"; }

    bool Send(SnmpRequestType type, const std::vector<ObjectId>& objects, int max_repetitions) {
        const int pdu_type = type == SnmpRequestType::kGet       ? SNMP_MSG_GET
                             : type == SnmpRequestType::kGetNext ? SNMP_MSG_GETNEXT
                                                                 : SNMP_MSG_GETBULK;
        netsnmp_pdu* request = snmp_pdu_create(pdu_type);
        if (request == nullptr) return false;
        if (type == SnmpRequestType::kGetBulk) {
            request->non_repeaters = 0;
            request->max_repetitions = std::max(1, max_repetitions);
        }
        for (const ObjectId& object : objects) {
            std::vector<oid> name(object.begin(), object.end());
            snmp_add_null_var(request, name.data(), name.size());
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        const auto one_try = std::max(kShortestTry, std::min(target_.try_timeout, left / 2));
        snmp_sess_session(session_)->timeout = static_cast<long>(std::chrono::microseconds(one_try).count());
        if (snmp_sess_async_send(session_, request, &Exchange::OnResponse, this) == 0) {
            snmp_free_pdu(request);
            return false;
        }
        return true;
    }

    void Fail(std::string message) {
        SnmpResponse response;
        response.error = std::move(message);
        Finish(std::move(response));
    }

    // One wait at a time: a wait of an earlier request (cancelled when it
    // finished) is ignored by its generation.
    void WaitForAnswer() {
        const uint64_t generation = ++generation_;
        socket_.async_wait(asio::posix::stream_descriptor::wait_read,
                           [self = shared_from_this(), generation](const std::error_code& error) {
                               if (error || generation != self->generation_ || self->session_ == nullptr) return;
                               self->ReadAnswer();
                               if (!self->finished_ && generation == self->generation_) self->WaitForAnswer();
                           });
    }

    void ReadAnswer() {
        const int fd = socket_.native_handle();
        netsnmp_large_fd_set ready;
        netsnmp_large_fd_set_init(&ready, fd + 1);
        NETSNMP_LARGE_FD_ZERO(&ready);
        NETSNMP_LARGE_FD_SET(fd, &ready);
        snmp_sess_read2(session_, &ready);  // calls OnResponse for an answer to the request
        netsnmp_large_fd_set_cleanup(&ready);
    }

    // The timer runs to the next retry net-snmp wants, or to the deadline.
    void ArmTimer() {
        if (finished_ || session_ == nullptr) return;
        auto wake = deadline_;
        int fds = 0;
        int block = 0;
        const auto left = std::max(Clock::duration::zero(), deadline_ - Clock::now());
        const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        timeval next{static_cast<time_t>(micros / 1000000), static_cast<suseconds_t>(micros % 1000000)};
        netsnmp_large_fd_set unused;
        netsnmp_large_fd_set_init(&unused, FD_SETSIZE);
        NETSNMP_LARGE_FD_ZERO(&unused);
        snmp_sess_select_info2(session_, &fds, &unused, &next, &block);
        netsnmp_large_fd_set_cleanup(&unused);
        if (block == 0) {
            const auto retry = Clock::now() + std::chrono::seconds(next.tv_sec) + std::chrono::microseconds(next.tv_usec);
            wake = std::min(wake, retry);
        }
        timer_.expires_at(wake);
        timer_.async_wait([self = shared_from_this()](const std::error_code& error) {
            if (error || self->finished_ || self->session_ == nullptr) return;
            if (Clock::now() >= self->deadline_) return self->Fail(self->NoAnswer());
            snmp_sess_timeout(self->session_);  // resends, or calls OnResponse when the retry ran out
            self->ArmTimer();
        });
    }

    // Reported from the loop, never from inside Request or net-snmp's
    // callback.  The session stays open for the next request.
    void Finish(SnmpResponse response) {
        if (finished_) return;
        finished_ = true;
        timer_.cancel();
        ++generation_;
        std::error_code ignored;
        if (socket_.is_open()) socket_.cancel(ignored);  // nothing holds the session between requests
        asio::post(timer_.get_executor(), [self = shared_from_this(), response = std::move(response)]() mutable {
            if (auto done = std::move(self->done_)) {
                self->done_ = nullptr;
                done(std::move(response));
            }
        });
    }

    void Close() {
        std::error_code ignored;
        timer_.cancel();
        if (socket_.is_open()) {
            socket_.cancel(ignored);
            socket_.release();  // net-snmp closes its own socket
        }
        if (session_ != nullptr) {
            void* session = session_;
            session_ = nullptr;
            snmp_sess_close(session);
        }
    }

    SnmpTarget target_;
    Deadline deadline_;
    std::function<void(SnmpResponse)> done_;
    std::string peer_;
    std::vector<u_char> community_;
    void* session_ = nullptr;
    bool finished_ = true;
    uint64_t generation_ = 0;
    asio::posix::stream_descriptor socket_;
    asio::steady_timer timer_;
};

}  // namespace

std::shared_ptr<SnmpExchange> OpenSnmpExchange(asio::io_context& io, const SnmpTarget& target, Deadline deadline) {
    auto exchange = std::make_shared<Exchange>(io, target, deadline);
    if (!exchange->Open()) exchange->Cancel();
    return exchange;
}

}  // namespace tb58mon
