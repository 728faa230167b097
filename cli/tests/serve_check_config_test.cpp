// serve --check-config: reads what 'serve' would read at its start and says
// whether it is good, without polling, listening or making the state folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <asio.hpp>

#include <filesystem>
#include <fstream>

#include "run_tb58mon.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

std::string Write(const TestFolder& folder, const std::string& name, const std::string& text, int mode = 0600) {
    const std::string path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    ::chmod(path.c_str(), static_cast<mode_t>(mode));
    return path;
}

constexpr const char* kGoodFleet =
    "[defaults]\ninterval = 5\n\n"
    "[[printer]]\nname = \"front\"\nuri = \"sim:all-well\"\n\n"
    "[[printer]]\nname = \"back\"\nuri = \"socket://192.0.2.10\"\n\n";

std::string MailNotifier(const std::string& password_file) {
    return "[[notify]]\nname = \"desk\"\ntype = \"email\"\nurl = \"smtp://127.0.0.1:2525\"\n"
           "from = \"a@example.org\"\nto = [\"b@example.org\"]\nuser = \"printers\"\n"
           "password_file = \"" + password_file + "\"\non = [\"error\"]\n";
}

Outcome Check(std::vector<std::string> more) {
    std::vector<std::string> args{"serve", "--check-config"};
    args.insert(args.end(), more.begin(), more.end());
    return Tb58mon(args);
}

TEST(ServeCheckConfig, AGoodFleetFileGetsOneLineOfSummary) {
    TestFolder folder;
    const std::string password = Write(folder, "smtp.pw", "secret\n", 0600);
    const std::string fleet = Write(folder, "fleet.toml", kGoodFleet + MailNotifier(password));
    const Outcome outcome = Check({"--config", fleet});
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_EQ(outcome.out, fleet + ": 2 printers, 1 notifier\n");
    EXPECT_EQ(outcome.err, "");

    const Outcome with_option = Check({"--config", fleet, "--printer", "third=sim:jam-tray2-lct"});
    EXPECT_EQ(with_option.code, 0) << with_option.err;
    EXPECT_EQ(with_option.out, fleet + " and --printer: 3 printers, 1 notifier\n");

    const Outcome options_only = Check({"--printer", "one=sim:all-well"});
    EXPECT_EQ(options_only.code, 0) << options_only.err;
    EXPECT_EQ(options_only.out, "--printer: 1 printer, 0 notifiers\n");
}

TEST(ServeCheckConfig, StartsNothing) {
    TestFolder folder;
    const std::string fleet = Write(folder, "fleet.toml", kGoodFleet);
    // The port is taken and the state folder's parent does not exist: the
    // service could not start, but the check neither listens nor makes it.
    asio::io_context io;
    asio::ip::tcp::acceptor taken(io, asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    const std::string listen = "127.0.0.1:" + std::to_string(taken.local_endpoint().port());
    const std::string state = folder / "missing/state";
    const Outcome outcome = Check({"--config", fleet, "--listen", listen, "--state-dir", state});
    EXPECT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

// Each fault of the file: exit 2 and the file and line on standard error.
TEST(ServeCheckConfig, AFaultOfTheFileIsToldWithItsLine) {
    TestFolder folder;
    struct Case {
        const char* text;
        const char* where;  // after "FILE:"
        const char* says;
    };
    const Case cases[] = {
        {"[defaults]\ninterval = 5\n\n[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\ncolour = 1\n", "7:",
         "colour"},
        {"[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n",
         "4:", "a second printer named 'a'"},
        {"\n\n[[printer]\nname = \"a\"\n", "3:", ""},
        {"[[printer]]\nname = \"a\"\nuri = \"ftp://x\"\n", "1:", ""},
        {"[[printer]]\nname = \"a\xff\"\nuri = \"sim:all-well\"\n", "2:", ""},
        {"[defaults]\ntimeout = -1\n[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n", "1:", "timeout"},
        {"[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n\n[[notify]]\nname = \"n\"\ntype = \"pigeon\"\n", "7:",
         "type"},
        {"[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n\n[[printer]]\nname = \"b\"\nuri = \"sim:nope\"\n", "5:",
         "unknown scenario 'nope'"},
    };
    for (const Case& c : cases) {
        const std::string fleet = Write(folder, "fleet.toml", c.text);
        const Outcome outcome = Check({"--config", fleet});
        EXPECT_EQ(outcome.code, 2) << c.text;
        EXPECT_EQ(outcome.out, "") << c.text;
        EXPECT_NE(outcome.err.find(fleet + ":" + c.where), std::string::npos) << c.text << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(c.says), std::string::npos) << c.text << "\n" << outcome.err;
    }
}

TEST(ServeCheckConfig, FilesThatCannotBeReadAreFaultsOfTheConfiguration) {
    TestFolder folder;
    EXPECT_EQ(Check({"--config", folder / "absent.toml"}).code, 2);
    EXPECT_EQ(Check({"--config", folder.path()}).code, 2);
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(Check({"--config", folder / "fifo"}).code, 2);  // and does not wait for a writer

    // A password file that others may read, that is missing, or empty.
    const std::string open_password = Write(folder, "open.pw", "secret\n", 0644);
    const std::string empty_password = Write(folder, "empty.pw", "", 0600);
    for (const std::string& password : {open_password, folder / "absent.pw", empty_password}) {
        const std::string fleet = Write(folder, "fleet.toml", kGoodFleet + MailNotifier(password));
        const Outcome outcome = Check({"--config", fleet});
        EXPECT_EQ(outcome.code, 2) << password;
        EXPECT_NE(outcome.err.find(password), std::string::npos) << outcome.err;
    }
}

TEST(ServeCheckConfig, TheServiceOptionsAreCheckedToo) {
    TestFolder folder;
    const std::string fleet = Write(folder, "fleet.toml", kGoodFleet);
    const std::vector<std::vector<std::string>> bad = {
        {"--listen", "127.0.0.1:99999"},       {"--listen", "nowhere"},
        {"--max-in-flight", "0"},              {"--max-in-flight", "4097"},
        {"--max-connections", "0"},            {"--max-connections-per-client", "100001"},
        {"--keep-days", "0"},                  {"--keep-days", "36501"},
        {"--max-events", "999"},               {"--public-url", "ftp://example.org"},
        {"--allow-host", "bad host"},          {"--lang", "XX"},
        {"--printer", "front=sim:all-well"},   {"--printer", "x=sim:no-such-scenario"},
        {"--interval", "0"},
    };
    for (const auto& options : bad) {
        std::vector<std::string> args{"--config", fleet};
        args.insert(args.end(), options.begin(), options.end());
        const Outcome outcome = Check(args);
        EXPECT_EQ(outcome.code, 2) << options[0] << " " << options[1];
        EXPECT_EQ(outcome.out, "") << options[0];
    }
    // Both ends of the ranges are good.
    EXPECT_EQ(Check({"--config", fleet, "--max-in-flight", "4096", "--keep-days", "36500", "--max-events", "1000",
                     "--max-connections", "100000"})
                  .code,
              0);
    EXPECT_EQ(Check({"--config", fleet, "--max-in-flight", "1", "--keep-days", "1", "--max-events", "1000000000"})
                  .code,
              0);
}

}  // namespace
}  // namespace tb58mon
