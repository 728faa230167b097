#include "transport/snmp_device_id.h"

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
#include <vector>

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

// ppmPrinterIEEE1284DeviceId.1
const oid kDeviceIdObject[] = {1, 3, 6, 1, 4, 1, 2699, 1, 2, 1, 2, 1, 1, 3, 1};
constexpr size_t kDeviceIdObjectLength = sizeof kDeviceIdObject / sizeof kDeviceIdObject[0];
constexpr auto kShortestTry = std::chrono::milliseconds(20);

// The library is set up once per process: no MIB files are read (the
// object is asked by number), no configuration or persistent files, and
// nothing is logged (what a printer sends must not reach the terminal;
// every failure is reported in the reading).
void InitialiseOnce() {
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

std::string PeerName(const SnmpTarget& target) {
    const bool ipv6 = target.address.find(':') != std::string::npos;
    return (ipv6 ? "udp6:[" : "udp:") + target.address + (ipv6 ? "]:" : ":") + std::to_string(target.port);
}

// The reading a response PDU gives.
SnmpReading ReadResponse(const netsnmp_pdu* pdu) {
    SnmpReading reading;
    if (pdu->errstat != SNMP_ERR_NOERROR) {
        reading.error = std::string("SNMP error: ") + snmp_errstring(static_cast<int>(pdu->errstat));
        return reading;
    }
    const netsnmp_variable_list* value = pdu->variables;
    const bool same_object = value != nullptr && value->name_length == kDeviceIdObjectLength &&
                             std::equal(kDeviceIdObject, kDeviceIdObject + kDeviceIdObjectLength, value->name);
    if (!same_object || value->type != ASN_OCTET_STR || (value->val_len > 0 && value->val.string == nullptr)) {
        reading.error = "the printer has no device ID object (ppmPrinterIEEE1284DeviceId)";
        return reading;
    }
    reading.value.assign(reinterpret_cast<const char*>(value->val.string), value->val_len);
    // A device ID ends at its first zero byte, as the library reads it.
    if (const size_t zero = reading.value.find('\0'); zero != std::string::npos) reading.value.resize(zero);
    reading.ok = true;
    return reading;
}

class DeviceIdRead final : public SnmpDeviceIdRead, public std::enable_shared_from_this<DeviceIdRead> {
public:
    DeviceIdRead(asio::io_context& io, SnmpTarget target, Deadline deadline, std::function<void(SnmpReading)> done)
        : target_(std::move(target)), deadline_(deadline), done_(std::move(done)), socket_(io), timer_(io) {}

    ~DeviceIdRead() override {
        finished_ = true;  // net-snmp may call back while the session closes
        Close();
    }

    void Begin() {
        InitialiseOnce();
        peer_ = PeerName(target_);
        if (!Open()) return;
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
        auto* self = static_cast<DeviceIdRead*>(magic);
        if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu != nullptr) {
            self->Finish(ReadResponse(pdu));
        } else {
            self->Finish(SnmpReading{false, {}, NoAnswer(self->peer_)});
        }
        return 1;
    }

private:
    static std::string NoAnswer(const std::string& peer) { return std::string(kSnmpDidNotAnswer) + " (" + peer + ")"; }

    bool Open() {
        std::vector<u_char> community(target_.community.begin(), target_.community.end());
        netsnmp_session settings;
        snmp_sess_init(&settings);
        settings.peername = peer_.data();
        settings.version = target_.version == "1" ? SNMP_VERSION_1 : SNMP_VERSION_2c;
        settings.community = community.data();
        settings.community_len = community.size();
        settings.retries = 1;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
        const auto one_try = std::max(kShortestTry, std::min(target_.try_timeout, left / 2));
        settings.timeout = static_cast<long>(std::chrono::microseconds(one_try).count());
        session_ = snmp_sess_open(&settings);
        if (session_ == nullptr) return Fail("cannot open an SNMP session to " + peer_);
        netsnmp_transport* transport = snmp_sess_transport(session_);
        netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
        if (transport == nullptr || transport->sock < 0 || request == nullptr) {
            if (request != nullptr) snmp_free_pdu(request);
            return Fail("cannot open an SNMP session to " + peer_);
        }
        snmp_add_null_var(request, kDeviceIdObject, kDeviceIdObjectLength);
        if (snmp_sess_async_send(session_, request, &DeviceIdRead::OnResponse, this) == 0) {
            snmp_free_pdu(request);
            return Fail("cannot send the SNMP request to " + peer_);
        }
        std::error_code error;
        socket_.assign(transport->sock, error);
        if (error) return Fail("cannot wait for SNMP answers: " + error.message());
        return true;
    }

    bool Fail(std::string message) {
        Finish(SnmpReading{false, {}, std::move(message)});
        return false;
    }

    void WaitForAnswer() {
        socket_.async_wait(asio::posix::stream_descriptor::wait_read,
                           [self = shared_from_this()](const std::error_code& error) {
                               if (error || self->finished_) return;
                               self->ReadAnswer();
                               if (!self->finished_) self->WaitForAnswer();
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
        if (finished_) return;
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
            if (error || self->finished_) return;
            if (Clock::now() >= self->deadline_) return self->Finish(SnmpReading{false, {}, NoAnswer(self->peer_)});
            snmp_sess_timeout(self->session_);  // resends, or calls OnResponse when the retry ran out
            self->ArmTimer();
        });
    }

    // Reported from the loop, never from inside Start or net-snmp's
    // callback; the session is closed there too.
    void Finish(SnmpReading reading) {
        if (finished_) return;
        finished_ = true;
        asio::post(timer_.get_executor(), [self = shared_from_this(), reading = std::move(reading)]() mutable {
            self->Close();
            if (auto done = std::move(self->done_)) {
                self->done_ = nullptr;
                done(std::move(reading));
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
    std::function<void(SnmpReading)> done_;
    std::string peer_;
    void* session_ = nullptr;
    bool finished_ = false;
    asio::posix::stream_descriptor socket_;
    asio::steady_timer timer_;
};

}  // namespace

std::shared_ptr<SnmpDeviceIdRead> StartSnmpDeviceIdRead(asio::io_context& io, const SnmpTarget& target,
                                                        Deadline deadline, std::function<void(SnmpReading)> done) {
    auto read = std::make_shared<DeviceIdRead>(io, target, deadline, std::move(done));
    read->Begin();
    return read;
}

SnmpReading ReadDeviceIdOverSnmp(const std::string& address, unsigned port, const std::string& community,
                                 const std::string& version, std::chrono::milliseconds timeout) {
    asio::io_context io;
    SnmpReading result;
    SnmpTarget target{address, port, community, version, timeout / 2};
    StartSnmpDeviceIdRead(io, target, Clock::now() + timeout, [&result](SnmpReading reading) { result = std::move(reading); });
    io.run();
    return result;
}

}  // namespace tb58mon
