// Device URIs, and 'watch --once' against the built-in simulated printer
// (every build has the sim: transport).
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "base/cli_error.h"
#include "commands/commands.h"
#include "run_tb58mon.h"
#include "report/record_report.h"
#include "transport/printer_uri.h"

namespace tb58mon {
namespace {

TEST(PrinterUri, ReadsEveryKind) {
    PrinterUri uri = ParsePrinterUri("socket://printer.example:9101");
    EXPECT_EQ(uri.scheme, UriScheme::kSocket);
    EXPECT_EQ(uri.host, "printer.example");
    EXPECT_EQ(uri.port, 9101u);
    uri = ParsePrinterUri("socket://127.0.0.1");
    EXPECT_EQ(uri.port, kDefaultPjlPort);
    uri = ParsePrinterUri("socket://[::1]:9100/");
    EXPECT_EQ(uri.host, "::1");
    EXPECT_EQ(uri.port, 9100u);
    uri = ParsePrinterUri("snmp://printer.example");
    EXPECT_EQ(uri.scheme, UriScheme::kSnmp);
    EXPECT_EQ(uri.host, "printer.example");
    EXPECT_EQ(uri.port, kDefaultSnmpPort);
    uri = ParsePrinterUri("snmp://[::1]:16161");
    EXPECT_EQ(uri.host, "::1");
    EXPECT_EQ(uri.port, 16161u);
    uri = ParsePrinterUri("usb:///dev/usb/lp0");
    EXPECT_EQ(uri.scheme, UriScheme::kUsb);
    EXPECT_EQ(uri.path, "/dev/usb/lp0");
    uri = ParsePrinterUri("sim:jam-tray2-lct");
    EXPECT_EQ(uri.scheme, UriScheme::kSim);
    EXPECT_EQ(uri.path, "jam-tray2-lct");
}

TEST(PrinterUri, RefusesWhatNamesNoPrinter) {
    for (const char* bad : {"", "printer", "http://host", "socket://", "socket://host:", "socket://host:0",
                            "socket://host:65536", "socket://host:12ab", "socket://ho st", "socket://[::1",
                            "socket://[::1]x", "usb://", "usb:lp0", "snmp://", "snmp://host:0",
                            "snmp://host:65536", "snmp://[::1%eth0]", "snmp://-host"}) {
        SCOPED_TRACE(bad);
        try {
            ParsePrinterUri(bad);
            ADD_FAILURE() << "accepted";
        } catch (const CliError& e) {
            EXPECT_EQ(e.exit_code(), kExitBadArguments);
        }
    }
}

// Outside brackets an IPv4 address or a host name, inside an IPv6 address.
TEST(PrinterUri, HostsAreAddressesOrNames) {
    const std::string label63(63, 'a');
    // 253 characters: three labels of 63 and one of 61, joined by dots.
    const std::string name253 = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');
    ASSERT_EQ(name253.size(), 253u);
    const struct {
        std::string uri;
        std::string host;
    } good[] = {
        {"socket://192.0.2.10", "192.0.2.10"},
        {"socket://0.0.0.0:9100", "0.0.0.0"},
        {"socket://255.255.255.255", "255.255.255.255"},
        {"socket://printer", "printer"},
        {"socket://Printer-2.Example.", "Printer-2.Example."},
        {"socket://x1", "x1"},
        {"socket://" + label63 + ".example", label63 + ".example"},
        {"socket://" + name253 + ":9101", name253},
        {"socket://" + name253 + ".", name253 + "."},
        {"socket://[::1]", "::1"},
        {"socket://[2001:db8::10]:9101", "2001:db8::10"},
        {"socket://[::ffff:192.0.2.1]", "::ffff:192.0.2.1"},
    };
    for (const auto& g : good) {
        SCOPED_TRACE(g.uri);
        EXPECT_EQ(ParsePrinterUri(g.uri).host, g.host);
    }
    const struct {
        std::string uri;
        const char* message;
    } bad[] = {
        {"socket://256.0.0.1", "not an IPv4 address"},
        {"socket://1.2.3", "not an IPv4 address"},
        {"socket://1.2.3.4.5", "not an IPv4 address"},
        {"socket://3232235777", "not an IPv4 address"},
        {"socket://..", "not an IPv4 address"},
        {"socket://a..b", "empty label"},
        {"socket://.a", "empty label"},
        {"socket://a..", "empty label"},
        {"socket://-a.example", "starts or ends with '-'"},
        {"socket://a-.example", "starts or ends with '-'"},
        {"socket://a_b", "no host name has"},
        {"socket://a%2eb", "no host name has"},
        {"socket://ho\x1bst", "no host name has"},
        {"socket://h\xC3\xA9", "no host name has"},
        {"socket://" + std::string(64, 'a'), "longer than 63"},
        {"socket://" + name253 + "c", "longer than 253"},
        {"socket://[printer]", "only an IPv6 address"},
        {"socket://[192.0.2.1]", "only an IPv6 address"},
        {"socket://[::1::2]", "only an IPv6 address"},
        {"socket://[]", "only an IPv6 address"},
        {"socket://[fe80::1%eth0]", "zone ids"},
        {"socket://[fe80::1%25eth0]:9100", "zone ids"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.uri);
        try {
            ParsePrinterUri(b.uri);
            ADD_FAILURE() << "accepted";
        } catch (const CliError& e) {
            EXPECT_EQ(e.exit_code(), kExitBadArguments);
            EXPECT_NE(std::string(e.what()).find(b.message), std::string::npos) << e.what();
        }
    }
}

TEST(WatchOnce, ExitCodeTellsReadyAttentionAndNoResponse) {
    EXPECT_EQ(Tb58mon({"watch", "sim:all-well", "--once"}).code, 0);
    const Outcome jam = Tb58mon({"watch", "sim:jam-tray2-lct", "--once"});
    EXPECT_EQ(jam.code, 1);
    EXPECT_NE(jam.out.find("status: "), std::string::npos) << jam.out;
    EXPECT_EQ(Tb58mon({"watch", "sim:toner-low", "--once"}).code, 1);
    const Outcome silent = Tb58mon({"watch", "sim:no-response", "--once", "--json"});
    EXPECT_EQ(silent.code, 3);
    const Json report = Json::parse(silent.out);
    EXPECT_EQ(report["record"]["bNoResponse"], 1);
    EXPECT_EQ(report["state"]["response"], false);
    EXPECT_EQ(report["status"]["short"], "No Response from Machine");
    EXPECT_EQ(Tb58mon({"watch", "socket://host:99999", "--once"}).code, kExitBadArguments);
    EXPECT_EQ(Tb58mon({"watch", "sim:no-such-scenario", "--once"}).code, kExitBadArguments);
    EXPECT_EQ(Tb58mon({"watch", "sim:all-well", "--once", "--interval", "0"}).code, kExitBadArguments);
}

TEST(WatchOnce, GivesTheRecordAndTextsOfTheDemo) {
    for (const char* scenario : {"all-well", "maximal", "service-call", "no-response"}) {
        SCOPED_TRACE(scenario);
        const std::string uri = std::string("sim:") + scenario;
        const Outcome watch = Tb58mon({"watch", uri.c_str(), "--once", "--json", "--lang", "JP"});
        const Outcome demo = Tb58mon({"demo", "--scenario", scenario, "--json", "--lang", "JP", "--out", "watch_test.bmp"});
        ASSERT_EQ(demo.code, 0) << demo.err;
        const Json w = Json::parse(watch.out);
        const Json d = Json::parse(demo.out);
        EXPECT_EQ(w["record"], d["record"]);
        EXPECT_EQ(w["status"]["short"], d["status"]["short"]);
        EXPECT_EQ(w["status"]["long"], d["status"]["long"]);
    }
    std::remove("watch_test.bmp");
}

}  // namespace
}  // namespace tb58mon
