// Writing a file whole beside its place and renaming it there, and reading
// a file that must be a regular file: what every build does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/cli_error.h"
#include "base/read_file.h"
#include "base/replace_file.h"
#include "image/image_files.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

std::string Contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
}

size_t EntriesOf(const std::string& folder) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
    return count;
}

// The message of the Failure that work throws; empty when it throws none.
template <typename Work>
std::string FailureOf(Work work) {
    try {
        work();
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitFailure);
        return e.what();
    }
    return "";
}

TEST(ReplaceFileContents, WritesAndReplacesLeavingNothingBeside) {
    const TestFolder folder;
    const std::string target = folder / "status.bmp";
    ReplaceFileContents(target, "first");
    EXPECT_EQ(Contents(target), "first");
    ReplaceFileContents(target, std::string(100000, 'x'));
    EXPECT_EQ(Contents(target), std::string(100000, 'x'));
    ReplaceFileContents(target, "");
    EXPECT_EQ(Contents(target), "");
    EXPECT_EQ(EntriesOf(folder.path()), 1u);
    // The picture through it reads back as a BMP of its size.
    ReplacePicture(target, Image{3, 2, {0, 0, 0, 0, 0, 0}});
    const std::string bmp = Contents(target);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(EntriesOf(folder.path()), 1u);
}

TEST(ReplaceFileContents, FailsClearlyAndLeavesNothingBehind) {
    const TestFolder folder;
    const std::string missing = folder / "no/such/status.bmp";
    std::string message = FailureOf([&] { ReplaceFileContents(missing, "x"); });
    EXPECT_NE(message.find("cannot write " + missing + ": cannot create a file in the folder " + folder / "no/such/"),
              std::string::npos)
        << message;
    // A folder where the file should be: it stays, and no partial file does.
    const std::string taken = folder / "taken.bmp";
    std::filesystem::create_directory(taken);
    message = FailureOf([&] { ReplaceFileContents(taken, "x"); });
    EXPECT_NE(message.find("cannot write " + taken), std::string::npos) << message;
    EXPECT_TRUE(std::filesystem::is_directory(taken));
    EXPECT_EQ(EntriesOf(folder.path()), 1u);
    EXPECT_NE(FailureOf([&] { ReplaceFileContents(folder.path() + "/", "x"); }).find("not a file name"), std::string::npos);
    EXPECT_NE(FailureOf([&] { ReplaceFileContents("", "x"); }).find("not a file name"), std::string::npos);
    // The picture's name is checked before anything is written.
    try {
        ReplacePicture(folder / "status.gif", Image{1, 1, {0}});
        ADD_FAILURE() << "wrote a .gif";
    } catch (const CliError& e) {
        EXPECT_EQ(e.exit_code(), kExitBadArguments);
    }
    EXPECT_EQ(EntriesOf(folder.path()), 1u);
}

TEST(ReadRegularFile, ReadsAFileUpToItsBound) {
    const TestFolder folder;
    const std::string path = folder / "fleet.toml";
    WriteText(path, "0123456789");
    EXPECT_EQ(ReadRegularFile(path), "0123456789");
    EXPECT_EQ(ReadRegularFile(path, 10), "0123456789");
    EXPECT_NE(FailureOf([&] { ReadRegularFile(path, 9); }).find("larger than 9 bytes"), std::string::npos);
    WriteText(path, "");
    EXPECT_EQ(ReadRegularFile(path, 0), "");
}

TEST(ReadRegularFile, RefusesWhatIsNoRegularFile) {
    const TestFolder folder;
    std::string message = FailureOf([&] { ReadRegularFile(folder.path()); });
    EXPECT_NE(message.find("cannot read " + folder.path() + ": a directory"), std::string::npos) << message;
    message = FailureOf([&] { ReadRegularFile(folder / "missing.toml"); });
    EXPECT_NE(message.find("cannot read " + folder / "missing.toml"), std::string::npos) << message;
}

}  // namespace
}  // namespace tb58mon
