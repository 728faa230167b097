// The command line in-process: help for every command, and wrong command
// lines that end with one line of error and exit code 2.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/cli_error.h"
#include "commands/commands.h"
#include "run_tb58mon.h"
#include "transport/transport.h"

namespace tb58mon {
namespace {

TEST(CommandLine, EveryCommandHasHelp) {
    for (const char* command :
         {"watch", "serve", "simulate", "notify-test", "demo", "query", "read", "status", "picture", "names"}) {
        const std::string_view name(command);
        if ((name == "simulate" || name == "serve" || name == "notify-test") && !NetworkTransportsBuilt()) {
            // The Windows build has no network printer and says so.
            const Outcome run = Tb58mon({command, "--help"});
            EXPECT_EQ(run.code, 2);
            EXPECT_NE(run.err.find("not part of the Windows build"), std::string::npos) << run.err;
            continue;
        }
        const Outcome run = Tb58mon({command, "--help"});
        EXPECT_EQ(run.code, 0) << command;
        EXPECT_NE(run.out.find(std::string("Usage: tb58mon ") + command), std::string::npos) << run.out;
        EXPECT_EQ(run.err, "");
    }
    const Outcome all = Tb58mon({"--help-all"});
    EXPECT_EQ(all.code, 0);
    EXPECT_NE(all.out.find("--no-response"), std::string::npos);
}

TEST(CommandLine, WrongCommandLinesAreOneLineAndExitCode2) {
    const struct {
        std::vector<const char*> args;
        const char* message;
    } cases[] = {
        {{"status", "--codes", "10001", "--kind", "4"}, "'4' is not a function kind"},
        {{"picture", "--codes", "10001", "--out", "status.gif"}, "must end in"},
        {{"demo", "--out", "status"}, "must end in"},
        {{"query", "--flags", "tray,nonsense"}, "'nonsense' is not a flag"},
        {{"names"}, "--tray"},
        {{"names", "--tray", "Tray 3", "--bin", "Copy Tray"}, "2 were given"},
        {{"names", "--tray", "Tray 9"}, "no display name for tray \"Tray 9\""},
        {{"names", "--option", "649,650"}, "--option takes one device code"},
        {{"status", "--options", "70000"}, "is not a number from 0 to 65535"},
        {{"status", "--lang"}, "--lang"},
        {{"demo", "--scenario", "all-well", "--scenario-file", "x.txt"}, "not both"},
        {{"read", "--reply", "x", "--device-id", "a", "--device-id-file", "b"}, "not both"},
        {{"demo", "--frobnicate"}, "--frobnicate"},
    };
    for (const auto& c : cases) {
        const Outcome run = Tb58mon({c.args.begin(), c.args.end()});
        SCOPED_TRACE(c.args.front());
        EXPECT_EQ(run.code, 2) << run.err;
        EXPECT_EQ(run.err.rfind("tb58mon: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;  // one line
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

// --max-reply from 1 KiB to 64 MiB; a number that does not fit is refused,
// never wrapped around to one that does.
TEST(CommandLine, MaxReplyAtItsBounds) {
    for (const char* accepted : {"1024", "67108864", "1048576", "0001024"}) {
        SCOPED_TRACE(accepted);
        const Outcome run = Tb58mon({"watch", "sim:all-well", "--once", "--max-reply", accepted});
        EXPECT_EQ(run.code, 0) << run.err;
    }
    for (const char* refused : {"-1", "0", "1023", "67108865", "18446744073709551615", "18446744073709551616",
                                "-18446744073709550592", "99999999999999999999999", "1e9", "1k", "0x400", "+2048",
                                "2048 ", "", "1024.0"}) {
        SCOPED_TRACE(refused);
        const Outcome run = Tb58mon({"watch", "sim:all-well", "--once", "--max-reply", refused});
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("is not a number of bytes from 1024 to 67108864"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
    // The same bounds for a caller that fills the options itself.
    WatchOptions options;
    options.uri = "sim:all-well";
    options.once = true;
    std::ostringstream out;
    for (const size_t bad : {size_t{0}, kSmallestMaxReply - 1, kLargestMaxReply + 1, ~size_t{0}}) {
        options.max_reply = bad;
        try {
            RunWatch(options, out, out);
            ADD_FAILURE() << bad << " accepted";
        } catch (const CliError& e) {
            EXPECT_EQ(e.exit_code(), kExitBadArguments);
        }
    }
    options.max_reply = kLargestMaxReply;
    EXPECT_EQ(RunWatch(options, out, out), 0);
}

TEST(CommandLine, OfflineCommandsPrintTheirResult) {
    const Outcome list = Tb58mon({"demo", "--list"});
    EXPECT_EQ(list.code, 0);
    EXPECT_NE(list.out.find("service-call"), std::string::npos);
    EXPECT_NE(list.out.find("Service call SC541"), std::string::npos);

    const Outcome query = Tb58mon({"query", "--flags", "outbin,identity"});
    EXPECT_EQ(query.code, 0);
    EXPECT_NE(query.out.find("PatCreateQueryInfo(record, 2, INFO_OUTBIN | INFO_IDENTITY)"), std::string::npos);
    EXPECT_NE(query.out.find("<ESC>%-12345X@PJL<CR><LF>\n"), std::string::npos) << query.out;
    EXPECT_NE(query.out.find("@PJL INFO OUTBINSTATUS<CR><LF>"), std::string::npos);
    EXPECT_NE(query.out.find("requested"), std::string::npos);

    const Outcome names = Tb58mon({"names", "--option", "649", "--lang", "EN"});
    EXPECT_EQ(names.out, "Booklet Processor\n");
    const Outcome status = Tb58mon({"status", "--codes", "30341", "--options", "38", "--long", "--lang", "en"});
    EXPECT_EQ(status.out, "The following paper output tray(s) is full: \nFinisher Shift Tray 1\n");
    const Outcome none = Tb58mon({"status", "--codes", "12345"});
    EXPECT_EQ(none.code, 0);
    EXPECT_NE(none.out.find("no text"), std::string::npos);
}

}  // namespace
}  // namespace tb58mon
