// usb:///dev/usb/lpN: a USB printer class device of the Linux usblp driver.
// The query is written and the reply read on a non-blocking descriptor
// with poll, under one deadline for the round; the device ID comes from the
// driver's LPIOC_GET_DEVICE_ID ioctl.  A device that is busy, gone or
// one-way gives a clear message, never a hang.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <thread>

#include "transport/pjl_stream.h"
#include "transport/transport.h"
#include "transport/usb_device_id.h"

namespace tb58mon {
namespace {

// The usblp driver's request for the device ID into a buffer of len bytes.
constexpr unsigned long DeviceIdRequest(unsigned long len) { return _IOC(_IOC_READ, 'P', 1, len); }
constexpr size_t kDeviceIdBuffer = 1024;
constexpr auto kEmptyReadPause = std::chrono::milliseconds(20);

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

std::string OpenError(const std::string& path, int error) {
    switch (error) {
        case EBUSY: return path + " is in use by another program (EBUSY): a print spooler may hold it";
        case ENOENT:
        case ENODEV:
        case ENXIO: return path + " is gone: the printer is off or unplugged (" + std::strerror(error) + ")";
        case EACCES:
        case EPERM: return "no permission to open " + path + ": run as a member of its group (usually lp)";
        default: return "cannot open " + path + ": " + std::strerror(error);
    }
}

int Remaining(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left.count(), 100));
}

class UsbTransport final : public Transport {
public:
    UsbTransport(std::string path, const TransportOptions& options) : path_(std::move(path)), options_(options) {}

    RoundResult Exchange(std::string_view query_text, bool device_id_requested) override {
        RoundResult result;
        Descriptor device(open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
        if (device.get() < 0) {
            Failed(result, RoundOutcome::kDeviceError, OpenError(path_, errno));
            return result;
        }
        const auto deadline = std::chrono::steady_clock::now() + options_.timeout;
        if (!query_text.empty()) {
            const std::string cookie = MakeEchoCookie();
            if (!Write(device.get(), AddEchoCommand(query_text, cookie), deadline, result)) return result;
            if (!ReadReply(device.get(), cookie, deadline, result)) return result;
        }
        result.outcome = RoundOutcome::kAnswered;
        if (device_id_requested) {
            std::array<uint8_t, kDeviceIdBuffer> buffer{};
            if (ioctl(device.get(), DeviceIdRequest(buffer.size()), buffer.data()) < 0) {
                result.device_id_note = "the device gives no device ID: " + std::string(std::strerror(errno));
            } else {
                result.device_id = DeviceIdFromIoctlBuffer(buffer);
            }
        }
        return result;
    }

    std::string Describe() const override { return "usb://" + path_; }

private:
    bool Stopped() const { return options_.stop != nullptr && options_.stop->load(); }

    static bool Failed(RoundResult& result, RoundOutcome outcome, std::string message) {
        result.outcome = outcome;
        result.message = std::move(message);
        return false;
    }

    bool Write(int fd, const std::string& text, std::chrono::steady_clock::time_point deadline, RoundResult& result) {
        size_t sent = 0;
        while (sent < text.size()) {
            if (std::chrono::steady_clock::now() >= deadline || Stopped()) {
                return Failed(result, RoundOutcome::kTimedOut, "the printer did not take the query in time");
            }
            pollfd ready{fd, POLLOUT, 0};
            if (poll(&ready, 1, Remaining(deadline)) <= 0) continue;
            const ssize_t n = write(fd, text.data() + sent, text.size() - sent);
            if (n > 0) {
                sent += static_cast<size_t>(n);
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return Failed(result, RoundOutcome::kDeviceError, "writing to " + path_ + ": " + std::strerror(errno));
            }
        }
        return true;
    }

    bool ReadReply(int fd, const std::string& cookie, std::chrono::steady_clock::time_point deadline,
                   RoundResult& result) {
        PjlReplyFramer framer(cookie, options_.max_reply);
        std::array<char, 16384> buffer{};
        while (true) {
            if (std::chrono::steady_clock::now() >= deadline || Stopped()) {
                result.bytes_read = framer.bytes_received();
                return Failed(result, RoundOutcome::kTimedOut,
                              "no whole reply in time (" + std::to_string(framer.bytes_received()) + " bytes came)");
            }
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, Remaining(deadline)) <= 0) continue;
            const ssize_t n = read(fd, buffer.data(), buffer.size());
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                if (errno == EINVAL) {
                    return Failed(result, RoundOutcome::kDeviceError,
                                  path_ + " cannot send data back: a one-way printer or interface (EINVAL)");
                }
                if (errno == ENODEV) return Failed(result, RoundOutcome::kDeviceError, path_ + " is gone (unplugged)");
                return Failed(result, RoundOutcome::kDeviceError, "reading " + path_ + ": " + std::strerror(errno));
            }
            if (n == 0) {
                // The driver has nothing yet; poll may say readable all the same.
                std::this_thread::sleep_for(kEmptyReadPause);
                continue;
            }
            const auto state = framer.Feed(std::string_view(buffer.data(), static_cast<size_t>(n)));
            if (state == PjlReplyFramer::State::kTooLarge) {
                return Failed(result, RoundOutcome::kTooLarge,
                              "the reply grew past " + std::to_string(options_.max_reply) + " bytes; reading stopped");
            }
            if (state == PjlReplyFramer::State::kComplete) {
                result.reply = framer.reply();
                result.ustatus = framer.ustatus();
                result.bytes_read = framer.bytes_received();
                return true;
            }
        }
    }

    std::string path_;
    TransportOptions options_;
};

}  // namespace

std::unique_ptr<Transport> OpenUsbTransport(std::string_view device_path, const TransportOptions& options) {
    return std::make_unique<UsbTransport>(std::string(device_path), options);
}

}  // namespace tb58mon
