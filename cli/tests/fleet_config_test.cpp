// The fleet file of 'tb58mon serve': what it accepts, and clear errors with
// the line for what it does not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cli_error.h"
#include "base/printer_name.h"
#include "serve/fleet_config.h"

namespace tb58mon {
namespace {

TEST(FleetConfig, SnmpVersionOneOrTwoC) {
    const FleetConfig config = ParseFleetConfig(R"(
[defaults]
snmp_version = "1"

[[printer]]
name = "old"
uri = "snmp://192.0.2.10"

[[printer]]
name = "new"
uri = "snmp://192.0.2.11"
snmp_version = "2c"
)",
                                                "fleet.toml");
    ASSERT_EQ(config.printers.size(), 2u);
    EXPECT_EQ(config.printers[0].settings.snmp_version, "1");
    EXPECT_EQ(config.printers[1].settings.snmp_version, "2c");
    EXPECT_EQ(ParseFleetConfig("[[printer]]\nname = \"p\"\nuri = \"snmp://192.0.2.1\"\n", "f.toml")
                  .printers.at(0)
                  .settings.snmp_version,
              "2c");
    for (const char* bad : {"\"3\"", "\"2\"", "\"v2c\"", "\"\"", "2", "1"}) {
        const std::string text = std::string("[[printer]]\nname = \"p\"\nuri = \"snmp://192.0.2.1\"\nsnmp_version = ") + bad + "\n";
        try {
            ParseFleetConfig(text, "f.toml");
            ADD_FAILURE() << bad << " was accepted";
        } catch (const CliError& error) {
            EXPECT_NE(std::string(error.what()).find("f.toml:4: snmp_version must be"), std::string::npos) << error.what();
        }
    }
}

TEST(FleetConfig, DefaultsAndPrinterValues) {
    const FleetConfig config = ParseFleetConfig(R"(
[defaults]
interval = 10
lang = "DE"
snmp_port = 1161

[[printer]]
name = "office-2f"
uri = "socket://192.0.2.10"

[[printer]]
name = "print.room_1"
uri = "usb:///dev/usb/lp0"
interval = 2.5
lang = "jp"
snmp = false
community = "private"
)",
                                                "fleet.toml");
    ASSERT_EQ(config.printers.size(), 2u);
    EXPECT_EQ(config.printers[0].name, "office-2f");
    EXPECT_EQ(config.printers[0].settings.interval, 10);
    EXPECT_EQ(config.printers[0].settings.lang, "DE");
    EXPECT_EQ(config.printers[0].settings.snmp_port, 1161u);
    EXPECT_EQ(config.printers[0].settings.community, "public");
    EXPECT_EQ(config.printers[1].settings.interval, 2.5);
    EXPECT_EQ(config.printers[1].settings.lang, "jp");
    EXPECT_FALSE(config.printers[1].settings.snmp);
    EXPECT_EQ(config.printers[1].settings.community, "private");
    EXPECT_EQ(config.printers[1].settings.snmp_port, 1161u);
}

TEST(FleetConfig, ErrorsNameTheLineAndTheFault) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"[[printer]]\nname = \"a\"\nuri = \"socket://h\"\n[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n",
         "fleet.toml:4: a second printer named 'a'"},
        {"[[printer]]\nname = \"a b\"\nuri = \"socket://h\"\n", "fleet.toml:1: bad printer name 'a b'"},
        {"[[printer]]\nname = \"a\"\nuri = \"http://h\"\n", "fleet.toml:1: bad printer URI 'http://h'"},
        {"[[printer]]\nname = \"a\"\n", "fleet.toml:1: a printer needs a name and a uri"},
        {"[[printer]]\nname = \"a\"\nuri = \"socket://h\"\ncolour = 1\n", "fleet.toml:4: colour is not a key"},
        {"[defaults]\ninterval = \"5\"\n", "fleet.toml:2: interval must be a number of seconds"},
        {"[defaults]\ninterval = 0\n", "interval must be from 0.05"},
        {"[defaults]\nlang = \"XX\"\n", "unknown language 'XX'"},
        {"[defaults]\nsnmp_port = 70000\n", "fleet.toml:2: snmp_port must be a port number"},
        {"[printers]\n", "fleet.toml:1: unknown table 'printers'"},
        {"[defaults\n", "fleet.toml:1: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseFleetConfig(c.text, "fleet.toml");
            ADD_FAILURE() << "accepted";
        } catch (const CliError& e) {
            EXPECT_EQ(e.exit_code(), kExitBadArguments);
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

// Both times at both ends of their ranges, in the defaults and per
// printer: interval 0.05..86400, timeout 0.05..600 seconds.
TEST(FleetConfig, IntervalAndTimeoutAtTheirBounds) {
    struct Bound {
        const char* key;
        std::vector<std::string> good;
        std::vector<std::string> bad;
    };
    const Bound bounds[] = {
        {"interval", {"0.05", "1", "86400", "86400.0"}, {"0.0499", "0", "-1", "-0.05", "86400.001", "86401", "inf", "-inf", "nan"}},
        {"timeout", {"0.05", "5", "600", "600.0"}, {"0.0499", "0", "-5", "600.001", "601", "inf", "-inf", "nan", "1e9"}},
    };
    for (const Bound& bound : bounds) {
        for (const bool per_printer : {false, true}) {
            auto file = [&](const std::string& value) {
                const std::string line = std::string(bound.key) + " = " + value + "\n";
                return per_printer ? "[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n" + line
                                   : "[defaults]\n" + line + "[[printer]]\nname = \"a\"\nuri = \"sim:all-well\"\n";
            };
            for (const std::string& value : bound.good) {
                SCOPED_TRACE(file(value));
                EXPECT_NO_THROW(ParseFleetConfig(file(value), "fleet.toml"));
            }
            for (const std::string& value : bound.bad) {
                SCOPED_TRACE(file(value));
                try {
                    ParseFleetConfig(file(value), "fleet.toml");
                    ADD_FAILURE() << "accepted";
                } catch (const CliError& e) {
                    EXPECT_EQ(e.exit_code(), kExitBadArguments);
                    EXPECT_NE(std::string(e.what()).find(std::string(bound.key) + " must be from 0.05"), std::string::npos)
                        << e.what();
                }
            }
        }
    }
}

TEST(FleetConfig, PrinterNamesAtTheirBounds) {
    for (const std::string& good : std::vector<std::string>{"a", ".a", "..a", "a.", "...", "_", std::string(64, 'x')}) {
        SCOPED_TRACE(good);
        EXPECT_NO_THROW(CheckPrinterName(good));
    }
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "a/b", "a b", "a\x1b", std::string(65, 'x'), std::string("a\0b", 3)}) {
        SCOPED_TRACE(bad);
        try {
            CheckPrinterName(bad);
            ADD_FAILURE() << "accepted";
        } catch (const CliError& e) {
            EXPECT_EQ(e.exit_code(), kExitBadArguments);
        }
    }
    // The same from the file and the command line.
    EXPECT_THROW(ParseFleetConfig("[[printer]]\nname = \"..\"\nuri = \"sim:all-well\"\n", "fleet.toml"), CliError);
    EXPECT_THROW(ParsePrinterOption(".=sim:all-well", PrinterSettings()), CliError);
}

TEST(FleetConfig, PrinterOptions) {
    const PrinterConfig printer = ParsePrinterOption("lab=socket://127.0.0.1:9100", PrinterSettings());
    EXPECT_EQ(printer.name, "lab");
    EXPECT_EQ(printer.uri, "socket://127.0.0.1:9100");
    EXPECT_THROW(ParsePrinterOption("socket://127.0.0.1", PrinterSettings()), CliError);
    EXPECT_THROW(ParsePrinterOption("=socket://127.0.0.1", PrinterSettings()), CliError);
    EXPECT_THROW(ParsePrinterOption("lab=nowhere", PrinterSettings()), CliError);
}

}  // namespace
}  // namespace tb58mon
