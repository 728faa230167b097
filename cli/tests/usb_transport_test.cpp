// The usb:// transport on a pseudo-terminal in raw mode standing in for
// the printer's device file: the query goes out, the reply comes back in
// pieces under the deadline; a device that does not answer, or is not
// there, ends the round with a clear outcome.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <string>
#include <thread>

#include "base/cli_error.h"
#include "run_tb58mon.h"
#include "sim/scenario_library.h"
#include "sim/simulated_printer.h"
#include "transport/async_transport.h"
#include "transport/transport.h"

namespace tb58mon {
namespace {

constexpr std::string_view kUel = "\x1b%-12345X";

Deadline After(int milliseconds) { return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds); }

class PseudoDevice {
public:
    PseudoDevice() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        path_ = ptsname(master_);
        // Raw mode, so that the line discipline passes every byte unchanged;
        // kept open so that the setting stays.
        slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
        termios mode{};
        tcgetattr(slave_, &mode);
        cfmakeraw(&mode);
        tcsetattr(slave_, TCSANOW, &mode);
    }
    ~PseudoDevice() {
        if (slave_ >= 0) close(slave_);
        if (master_ >= 0) close(master_);
    }
    PseudoDevice(const PseudoDevice&) = delete;
    PseudoDevice& operator=(const PseudoDevice&) = delete;

    bool ok() const { return slave_ >= 0; }
    const std::string& path() const { return path_; }

    // The printer's side: reads the query (at most 3 s), answers it as the
    // simulated printer does, in pieces of 7 bytes.
    void AnswerOnce(const Scenario& scenario) {
        std::string query;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (std::chrono::steady_clock::now() < until) {
            pollfd ready{master_, POLLIN, 0};
            if (poll(&ready, 1, 50) <= 0) continue;
            char buffer[512];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            query.append(buffer, static_cast<size_t>(n));
            if (query.size() > kUel.size() && query.ends_with(kUel) && query.find("@PJL ECHO") != std::string::npos) {
                break;
            }
        }
        const std::string reply = SimulatedPrinter(scenario).ReplyTo(query);
        for (size_t at = 0; at < reply.size(); at += 7) {
            const std::string piece = reply.substr(at, 7);
            if (write(master_, piece.data(), piece.size()) < 0) return;
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

TEST(UsbTransport, ReadsTheReplyInPiecesUntilTheEcho) {
    PseudoDevice device;
    ASSERT_TRUE(device.ok());
    const Scenario scenario = LoadScenario("all-well");
    TransportOptions options;
    const auto printer = OpenUsbTransport(device.path(), options);
    std::thread side([&] { device.AnswerOnce(scenario); });
    const std::string query = std::string(kUel) + "@PJL\r\n@PJL INFO CONFIG\r\n" + std::string(kUel);
    const RoundResult result = printer->Exchange(query, true, After(3000));
    side.join();
    ASSERT_EQ(result.outcome, RoundOutcome::kAnswered) << result.message;
    // The reply as the printer gave it, up to the echo's answer.
    // (the printer's reply to the query alone, without its closing UEL)
    const std::string whole = SimulatedPrinter(scenario).ReplyTo(query);
    EXPECT_EQ(result.reply, whole.substr(0, whole.size() - kUel.size()));
    EXPECT_TRUE(result.reply.ends_with("DISK\r\n\f")) << result.reply;
    // A pseudo-terminal has no device ID: the request goes unanswered.
    EXPECT_TRUE(result.device_id.empty());
    EXPECT_FALSE(result.device_id_note.empty());
}

TEST(UsbTransport, ADeviceThatDoesNotAnswerOrIsNotThere) {
    PseudoDevice device;
    ASSERT_TRUE(device.ok());
    TransportOptions options;
    RoundResult result = OpenUsbTransport(device.path(), options)->Exchange("@PJL INFO CONFIG\r\n", false, After(300));
    EXPECT_EQ(result.outcome, RoundOutcome::kTimedOut);
    result = OpenUsbTransport("/dev/usb/tb58-no-such-printer", options)->Exchange("@PJL INFO CONFIG\r\n", false, After(300));
    EXPECT_EQ(result.outcome, RoundOutcome::kDeviceError);
    EXPECT_NE(result.message.find("is gone"), std::string::npos) << result.message;
}

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A mistyped device path must never be written to: only a character device
// is opened, never through a symbolic link, whatever the path names.
TEST(UsbTransport, OpensCharacterDevicesOnly) {
    PseudoDevice device;
    ASSERT_TRUE(device.ok());
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("tb58-usb-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "disk.img").string();
    const std::string text(4096, 'D');
    std::ofstream(file, std::ios::binary) << text;
    const std::string link = (folder / "lp0").string();
    std::filesystem::create_symlink(device.path(), link);
    const std::string file_link = (folder / "lp1").string();
    std::filesystem::create_symlink(file, file_link);
    const std::string fifo = (folder / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    // Refused when the transport is opened (exit code 2 for watch) ...
    TransportOptions options;
    for (const std::string& path : {file, link, file_link, fifo, folder.string()}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(OpenUsbTransport(path, options), CliError);
        const Outcome watch = Tb58mon({"watch", "usb://" + path, "--once", "--timeout", "1"});
        EXPECT_EQ(watch.code, 2) << watch.out << watch.err;
        EXPECT_TRUE(watch.err.find("not a character device") != std::string::npos ||
                    watch.err.find("symbolic link") != std::string::npos)
            << watch.err;
    }
    // ... and by every round, for a path that changed since.
    std::string error;
    EXPECT_EQ(OpenPrinterDevice(file, error), -1);
    EXPECT_NE(error.find("not a character device"), std::string::npos) << error;
    EXPECT_EQ(OpenPrinterDevice(link, error), -1);
    EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
    EXPECT_EQ(OpenPrinterDevice(fifo, error), -1);
    EXPECT_EQ(Contents(file), text);  // not a byte written
    const int fd = OpenPrinterDevice(device.path(), error);
    EXPECT_GE(fd, 0) << error;
    if (fd >= 0) close(fd);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tb58mon
