#include "transport/snmp_device_id.h"

#include <asio/io_context.hpp>

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

// The reading a response gives.
SnmpReading ReadResponse(const SnmpResponse& response) {
    SnmpReading reading;
    if (!response.answered) {
        reading.error = response.error;
        return reading;
    }
    if (response.error_status != 0) {
        reading.error = "SNMP error: error-status " + std::to_string(response.error_status);
        return reading;
    }
    const SnmpBinding* value = response.bindings.empty() ? nullptr : &response.bindings.front();
    if (value == nullptr || value->exception || value->binding.oid != mib_oid::kPpmPrinterIEEE1284DeviceId ||
        value->binding.type != MibType::kOctets) {
        reading.error = "the printer has no device ID object (ppmPrinterIEEE1284DeviceId)";
        return reading;
    }
    reading.value = value->binding.text;
    // A device ID ends at its first zero byte, as the library reads it.
    if (const size_t zero = reading.value.find('\0'); zero != std::string::npos) reading.value.resize(zero);
    reading.ok = true;
    return reading;
}

class DeviceIdRead final : public SnmpDeviceIdRead {
public:
    explicit DeviceIdRead(std::shared_ptr<SnmpExchange> exchange) : exchange_(std::move(exchange)) {}
    ~DeviceIdRead() override { exchange_->Cancel(); }

    void Begin(std::function<void(SnmpReading)> done) {
        exchange_->Request(SnmpRequestType::kGet, {mib_oid::kPpmPrinterIEEE1284DeviceId}, 0,
                           [exchange = exchange_, done = std::move(done)](SnmpResponse response) {
                               exchange->Cancel();  // the session closes with its one request
                               done(ReadResponse(response));
                           });
    }

    void Cancel() override { exchange_->Cancel(); }

private:
    std::shared_ptr<SnmpExchange> exchange_;
};

}  // namespace

std::shared_ptr<SnmpDeviceIdRead> StartSnmpDeviceIdRead(asio::io_context& io, const SnmpTarget& target,
                                                        Deadline deadline, std::function<void(SnmpReading)> done) {
    auto read = std::make_shared<DeviceIdRead>(OpenSnmpExchange(io, target, deadline));
    read->Begin(std::move(done));
    return read;
}

SnmpReading ReadDeviceIdOverSnmp(const std::string& address, unsigned port, const std::string& community,
                                 const std::string& version, std::chrono::milliseconds timeout) {
    asio::io_context io;
    SnmpReading result;
    SnmpTarget target{address, port, community, version, timeout / 2};
    const auto read = StartSnmpDeviceIdRead(io, target, Clock::now() + timeout,
                                            [&result](SnmpReading reading) { result = std::move(reading); });
    io.run();
    return result;
}

}  // namespace tb58mon
