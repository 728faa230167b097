// usb:///dev/usb/lpN: a USB printer class device of the Linux usblp driver.
// The query is written and the reply read on a non-blocking descriptor
// watched by the caller's loop, under the round's deadline; the device ID
// comes from the driver's LPIOC_GET_DEVICE_ID ioctl.  A device that is
// busy, gone or one-way gives a clear message, never a hang.
//
// Only a character device is opened, and never through a symbolic link: a
// mistyped path such as usb:///dev/sda, or a regular file, is refused before
// a byte is written.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <asio/posix/stream_descriptor.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>

#include <array>
#include <cerrno>
#include <cstring>

#include "base/cli_error.h"
#include "transport/async_transport.h"
#include "transport/pjl_stream.h"
#include "transport/round_report.h"
#include "transport/usb_device_id.h"

namespace tb58mon {
namespace {

// The usblp driver's request for the device ID into a buffer of len bytes.
constexpr unsigned long DeviceIdRequest(unsigned long len) { return _IOC(_IOC_READ, 'P', 1, len); }
constexpr size_t kDeviceIdBuffer = 1024;
constexpr size_t kUsbReadPiece = 16384;
constexpr auto kEmptyReadPause = std::chrono::milliseconds(20);

std::string OpenError(const std::string& path, int error) {
    switch (error) {
        case EBUSY: return path + " is in use by another program (EBUSY): a print spooler may hold it";
        case ENOENT:
        case ENODEV:
        case ENXIO: return path + " is gone: the printer is off or unplugged (" + std::strerror(error) + ")";
        case EACCES:
        case EPERM: return "no permission to open " + path + ": run as a member of its group (usually lp)";
        case ELOOP: return path + " is a symbolic link: give the printer's device file itself";
        default: return "cannot open " + path + ": " + std::strerror(error);
    }
}

// A path that is there but cannot be a printer's device file is a mistake
// in the URI, refused when the transport is opened; a device that is not
// there (yet) is a printer that is off, reported by each round.
void CheckDevicePath(const std::string& path) {
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0) return;
    if (S_ISLNK(named.st_mode)) throw BadArgument("usb://" + path + ": " + OpenError(path, ELOOP));
    if (!S_ISCHR(named.st_mode)) {
        throw BadArgument("usb://" + path + ": not a character device (a printer's device file is, e.g. /dev/usb/lp0)");
    }
}

}  // namespace

int OpenPrinterDevice(const std::string& path, std::string& error) {
    struct stat named {};
    if (lstat(path.c_str(), &named) != 0) {
        error = OpenError(path, errno);
        return -1;
    }
    if (S_ISLNK(named.st_mode)) {
        error = OpenError(path, ELOOP);
        return -1;
    }
    if (!S_ISCHR(named.st_mode)) {
        error = path + " is not a character device (a printer's device file is, e.g. /dev/usb/lp0): not opened";
        return -1;
    }
    const int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0) {
        error = OpenError(path, errno);
        return -1;
    }
    // The file opened must be the one looked at.
    struct stat opened {};
    if (fstat(fd, &opened) != 0 || !S_ISCHR(opened.st_mode) || opened.st_rdev != named.st_rdev ||
        opened.st_ino != named.st_ino) {
        close(fd);
        error = path + " changed while it was opened: not used";
        return -1;
    }
    return fd;
}

namespace {

class UsbRound : public std::enable_shared_from_this<UsbRound> {
public:
    UsbRound(asio::io_context& io, std::string path, const TransportOptions& options, Deadline deadline,
             AsyncTransport::Done done)
        : path_(std::move(path)),
          options_(options),
          report_(io, std::move(done)),
          device_(io),
          deadline_timer_(io),
          pause_(io),
          cookie_(MakeEchoCookie()),
          framer_(cookie_, options.max_reply) {
        deadline_timer_.expires_at(deadline);
    }

    void Begin(std::string_view query_text, bool device_id_requested) {
        device_id_requested_ = device_id_requested;
        std::string error;
        const int fd = OpenPrinterDevice(path_, error);
        if (fd < 0) return Fail(RoundOutcome::kDeviceError, error);
        std::error_code assigned;
        device_.assign(fd, assigned);
        if (assigned) {
            close(fd);
            return Fail(RoundOutcome::kDeviceError, path_ + " cannot be waited on: " + assigned.message());
        }
        deadline_timer_.async_wait([self = shared_from_this()](const std::error_code& cancelled) {
            if (!cancelled) self->OnDeadline();
        });
        if (query_text.empty()) return Answered();
        request_ = AddEchoCommand(query_text, cookie_);
        WaitToWrite();
    }

    void Cancel() {
        report_.Cancel();
        Close();
    }

private:
    void WaitToWrite() {
        device_.async_wait(asio::posix::stream_descriptor::wait_write, [self = shared_from_this()](const std::error_code& error) {
            if (self->report_.ended()) return;
            if (error) return self->Fail(RoundOutcome::kDeviceError, "writing to " + self->path_ + ": " + error.message());
            self->Write();
        });
    }

    void Write() {
        const ssize_t n = write(device_.native_handle(), request_.data() + sent_, request_.size() - sent_);
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return Fail(RoundOutcome::kDeviceError, "writing to " + path_ + ": " + std::strerror(errno));
        }
        if (n > 0) sent_ += static_cast<size_t>(n);
        if (sent_ < request_.size()) return WaitToWrite();
        buffer_ = std::make_unique<std::array<char, kUsbReadPiece>>();
        WaitToRead();
    }

    void WaitToRead() {
        device_.async_wait(asio::posix::stream_descriptor::wait_read, [self = shared_from_this()](const std::error_code& error) {
            if (self->report_.ended()) return;
            if (error) return self->Fail(RoundOutcome::kDeviceError, "reading " + self->path_ + ": " + error.message());
            self->Read();
        });
    }

    void Read() {
        const ssize_t n = read(device_.native_handle(), buffer_->data(), buffer_->size());
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) return WaitToRead();
            if (errno == EINVAL) {
                return Fail(RoundOutcome::kDeviceError, path_ + " cannot send data back: a one-way printer or interface (EINVAL)");
            }
            if (errno == ENODEV) return Fail(RoundOutcome::kDeviceError, path_ + " is gone (unplugged)");
            return Fail(RoundOutcome::kDeviceError, "reading " + path_ + ": " + std::strerror(errno));
        }
        if (n == 0) {
            // The driver has nothing yet, though it said readable.
            pause_.expires_after(kEmptyReadPause);
            pause_.async_wait([self = shared_from_this()](const std::error_code& error) {
                if (!error && !self->report_.ended()) self->WaitToRead();
            });
            return;
        }
        const auto state = framer_.Feed(std::string_view(buffer_->data(), static_cast<size_t>(n)));
        if (state == PjlReplyFramer::State::kTooLarge) {
            return Fail(RoundOutcome::kTooLarge,
                        "the reply grew past " + std::to_string(options_.max_reply) + " bytes; reading stopped");
        }
        if (state != PjlReplyFramer::State::kComplete) return WaitToRead();
        report_.result.reply = framer_.reply();
        report_.result.ustatus = framer_.ustatus();
        Answered();
    }

    void Answered() {
        report_.result.outcome = RoundOutcome::kAnswered;
        report_.result.bytes_read = framer_.bytes_received();
        if (device_id_requested_) {
            std::array<uint8_t, kDeviceIdBuffer> buffer{};
            if (ioctl(device_.native_handle(), DeviceIdRequest(buffer.size()), buffer.data()) < 0) {
                report_.result.device_id_note = "the device gives no device ID: " + std::string(std::strerror(errno));
            } else {
                report_.result.device_id = DeviceIdFromIoctlBuffer(buffer);
            }
        }
        Report();
    }

    void OnDeadline() {
        if (report_.ended()) return;
        const bool sending = sent_ < request_.size();
        Fail(RoundOutcome::kTimedOut, sending ? "the printer did not take the query in time"
                                              : "no whole reply in time (" + std::to_string(framer_.bytes_received()) +
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
        deadline_timer_.cancel();
        pause_.cancel();
        device_.close(ignored);
        buffer_.reset();
    }

    std::string path_;
    TransportOptions options_;
    RoundReport report_;
    asio::posix::stream_descriptor device_;
    asio::steady_timer deadline_timer_;
    asio::steady_timer pause_;
    std::string cookie_;
    PjlReplyFramer framer_;
    std::string request_;
    size_t sent_ = 0;
    bool device_id_requested_ = false;
    std::unique_ptr<std::array<char, kUsbReadPiece>> buffer_;
};

class AsyncUsbTransport final : public AsyncTransport {
public:
    AsyncUsbTransport(asio::io_context& io, std::string path, const TransportOptions& options)
        : io_(io), path_(std::move(path)), options_(options) {}
    ~AsyncUsbTransport() override { Cancel(); }

    void Start(std::string_view query_text, bool device_id_requested, Deadline deadline, Done done) override {
        Cancel();
        round_ = std::make_shared<UsbRound>(io_, path_, options_, deadline, std::move(done));
        round_->Begin(query_text, device_id_requested);
    }

    void Cancel() override {
        if (round_) round_->Cancel();
        round_.reset();
    }

    std::string Describe() const override { return "usb://" + path_; }

private:
    asio::io_context& io_;
    std::string path_;
    TransportOptions options_;
    std::shared_ptr<UsbRound> round_;
};

}  // namespace

std::unique_ptr<AsyncTransport> OpenAsyncUsbTransport(asio::io_context& io, std::string device_path,
                                                      const TransportOptions& options) {
    CheckDevicePath(device_path);
    return std::make_unique<AsyncUsbTransport>(io, std::move(device_path), options);
}

std::unique_ptr<Transport> OpenUsbTransport(std::string_view device_path, const TransportOptions& options) {
    const std::string path(device_path);
    return SyncTransport([path, options](asio::io_context& io) { return OpenAsyncUsbTransport(io, path, options); },
                         options);
}

}  // namespace tb58mon
