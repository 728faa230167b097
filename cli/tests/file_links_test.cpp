// Links, FIFOs and devices where a file is expected (POSIX systems): a
// link planted beside a picture is never written through, and a file a
// service reads must be a regular file, refused at once otherwise.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>

#include "base/cli_error.h"
#include "base/read_file.h"
#include "base/replace_file.h"
#include "run_tb58mon.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

bool IsLinkTo(const std::string& link, const std::string& target) {
    return std::filesystem::is_symlink(link) && std::filesystem::read_symlink(link) == target;
}

// Links at every name beside the target that a writer might use: the
// target's own, and names made from it.  None is written through.
TEST(ReplaceFileContents, NeverWritesThroughAPlantedLink) {
    const TestFolder folder;
    const std::string victim = folder / "victim";
    WriteText(victim, "precious");
    const std::string target = folder / "status.png";
    const char* planted[] = {".status.partial.png", "status.png.partial", "status.png.tmp", ".status.png",
                             "status.png~", ".status.png.partial"};
    for (const char* name : planted) std::filesystem::create_symlink(victim, folder / name);
    for (int round = 0; round < 20; ++round) ReplaceFileContents(target, "picture " + std::to_string(round));
    EXPECT_EQ(Contents(victim), "precious");
    EXPECT_EQ(Contents(target), "picture 19");
    EXPECT_FALSE(std::filesystem::is_symlink(target));
    for (const char* name : planted) EXPECT_TRUE(IsLinkTo(folder / name, victim)) << name;
    // A link in the target's own place is replaced by the file, not followed.
    const std::string linked = folder / "linked.bmp";
    std::filesystem::create_symlink(victim, linked);
    ReplaceFileContents(linked, "new");
    EXPECT_EQ(Contents(victim), "precious");
    EXPECT_EQ(Contents(linked), "new");
    EXPECT_FALSE(std::filesystem::is_symlink(linked));
    // Nothing but the target, the victim and the links is left.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 3 + std::size(planted));
}

TEST(ReplaceFileContents, TheModeIsTheUsualOneLessTheUmask) {
    const TestFolder folder;
    const mode_t before = umask(022);
    ReplaceFileContents(folder / "open.bmp", "x");
    umask(077);
    ReplaceFileContents(folder / "private.bmp", "x");
    umask(before);
    struct stat status {};
    ASSERT_EQ(stat((folder / "open.bmp").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
    ASSERT_EQ(stat((folder / "private.bmp").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

// watch --out with the link of the old fixed temporary name in place.
TEST(ReplaceFileContents, WatchOutWritesThePictureNotTheLink) {
    const TestFolder folder;
    const std::string victim = folder / "victim";
    WriteText(victim, "precious");
    std::filesystem::create_symlink(victim, folder / ".status.partial.bmp");
    const std::string picture = folder / "status.bmp";
    const Outcome outcome = Tb58mon({"watch", "sim:all-well", "--once", "--out", picture});
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_TRUE(Contents(victim) == "precious") << "the picture went through the link";
    EXPECT_EQ(Contents(picture).substr(0, 2), "BM");
    const Outcome missing = Tb58mon({"watch", "sim:all-well", "--once", "--out", folder / "no/such/status.bmp"});
    EXPECT_EQ(missing.code, kExitFailure);
    EXPECT_NE(missing.err.find("cannot write " + folder / "no/such/status.bmp" + ": cannot create a file in the folder"),
              std::string::npos)
        << missing.err;
}

std::string FailureOf(const std::string& path) {
    try {
        ReadRegularFile(path);
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitFailure);
        return e.what();
    }
    return "";
}

TEST(ReadRegularFile, AFifoIsRefusedWithoutBlocking) {
    const TestFolder folder;
    const std::string fifo = folder / "fleet.toml";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return FailureOf(fifo); });
    if (reading.wait_for(5s) != std::future_status::ready) {
        // Let the blocked reader go before failing.
        const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) close(writer);
        FAIL() << "blocked on a FIFO";
    }
    EXPECT_NE(reading.get().find("cannot read " + fifo + ": a FIFO, not a regular file"), std::string::npos);
    // serve with it as its fleet file ends at once with the message.
    auto serving = std::async(std::launch::async, [&] {
        return Tb58mon({"serve", "--config", fifo, "--listen", "127.0.0.1:0", "--run-for", "1"});
    });
    ASSERT_EQ(serving.wait_for(5s), std::future_status::ready) << "serve blocked on a FIFO";
    const Outcome outcome = serving.get();
    EXPECT_EQ(outcome.code, kExitFailure);
    EXPECT_NE(outcome.err.find("a FIFO, not a regular file"), std::string::npos) << outcome.err;
}

TEST(ReadRegularFile, DevicesAndDirectoriesAreRefusedLinksFollowed) {
    const TestFolder folder;
    EXPECT_NE(FailureOf("/dev/null").find("cannot read /dev/null: a character device"), std::string::npos);
    EXPECT_NE(FailureOf(folder.path()).find("a directory, not a regular file"), std::string::npos);
    EXPECT_NE(FailureOf(folder / "missing").find("No such file or directory"), std::string::npos);
    const std::string file = folder / "fleet.toml";
    WriteText(file, "[defaults]\n");
    std::filesystem::create_symlink(file, folder / "link.toml");
    EXPECT_EQ(ReadRegularFile(folder / "link.toml"), "[defaults]\n");
    std::filesystem::create_symlink("/dev/zero", folder / "zero.toml");
    EXPECT_NE(FailureOf(folder / "zero.toml").find("a character device"), std::string::npos);
    std::filesystem::create_symlink(folder / "nowhere", folder / "dangling.toml");
    EXPECT_NE(FailureOf(folder / "dangling.toml").find("No such file or directory"), std::string::npos);
    // Unreadable (root reads anything: nothing to see then).
    chmod(file.c_str(), 0);
    if (geteuid() != 0) {
        EXPECT_NE(FailureOf(file).find("Permission denied"), std::string::npos);
    }
}

}  // namespace
}  // namespace tb58mon
