// Which Host headers the status service answers: the loopback names in
// every form, --allow-host names, and the near misses a rebinding page or a
// sloppy parser would let through.
#include <gtest/gtest.h>

#include "base/cli_error.h"
#include "serve/host_rule.h"

namespace tb58mon {
namespace {

TEST(HostRule, LoopbackListenHosts) {
    for (const char* host : {"127.0.0.1", "127.0.0.0", "127.255.255.255", "localhost", "LocalHost", "::1", "[::1]",
                             "::ffff:127.0.0.1", "0:0:0:0:0:0:0:1"}) {
        EXPECT_TRUE(IsLoopbackHost(host)) << host;
    }
    for (const char* host : {"126.255.255.255", "128.0.0.1", "0.0.0.0", "::", "192.168.1.10", "::2", "::ffff:10.0.0.1",
                             "localhost.example", "127.0.0.1.example", "", "[::1"}) {
        EXPECT_FALSE(IsLoopbackHost(host)) << host;
    }
}

TEST(HostRule, CheckedOnLoopbackOrWithAllowedNames) {
    EXPECT_TRUE(HostRuleFor("127.0.0.1", {}).check);
    EXPECT_TRUE(HostRuleFor("::1", {}).check);
    EXPECT_FALSE(HostRuleFor("0.0.0.0", {}).check);
    EXPECT_FALSE(HostRuleFor("192.0.2.7", {}).check);
    EXPECT_TRUE(HostRuleFor("0.0.0.0", {"printers.example"}).check);
}

TEST(HostRule, LoopbackNamesInEveryFormPass) {
    const HostRule rule = HostRuleFor("127.0.0.1", {});
    for (const char* host : {"localhost", "LOCALHOST", "localhost.", "localhost:8631", "127.0.0.1", "127.0.0.1:8631",
                             "127.1.2.3", "127.255.255.255:1", "[::1]", "[::1]:8631", "[0:0:0:0:0:0:0:1]:80",
                             "[::ffff:127.0.0.1]", "127.0.0.1:65535", "127.0.0.1:99999"}) {
        EXPECT_TRUE(HostAllowed(host, rule)) << host;
    }
}

TEST(HostRule, OtherNamesAndMalformedValuesAreRefused) {
    const HostRule rule = HostRuleFor("127.0.0.1", {});
    for (const char* host : {"attacker.example", "attacker.example:8631", "127.0.0.1.attacker.example",
                             "localhost.attacker.example", "localhostx", "[::2]", "::1", "[::1", "[::1]x",
                             "[::1]:", "127.0.0.1:", "127.0.0.1:123456", "127.0.0.1:80:80", "127.0.0.1:8o",
                             "127.0.0.256", "126.0.0.1", "0x7f.0.0.1", "", " ", "local host", "localhost\r\n",
                             "[attacker.example]", "\xff\xfe", "192.168.0.1"}) {
        EXPECT_FALSE(HostAllowed(host, rule)) << host;
    }
    EXPECT_FALSE(HostAllowed(std::string(300, 'a'), rule));
}

TEST(HostRule, AllowedNamesPassWithAnyPort) {
    const HostRule rule = HostRuleFor("127.0.0.1", {NormalizeAllowHost("Printers.Example"), NormalizeAllowHost("fe80::7")});
    EXPECT_TRUE(HostAllowed("printers.example", rule));
    EXPECT_TRUE(HostAllowed("PRINTERS.example:8631", rule));
    EXPECT_TRUE(HostAllowed("[FE80::7]:80", rule));
    EXPECT_TRUE(HostAllowed("localhost", rule));  // the loopback names stay
    EXPECT_FALSE(HostAllowed("other.example", rule));
    EXPECT_FALSE(HostAllowed("printers.example.attacker.example", rule));
    EXPECT_FALSE(HostAllowed("[fe80::8]", rule));
}

TEST(HostRule, NotCheckedOnOtherAddressesWithoutAllowedNames) {
    const HostRule open = HostRuleFor("0.0.0.0", {});
    EXPECT_TRUE(HostAllowed("attacker.example", open));
    EXPECT_TRUE(HostAllowed("", open));
    const HostRule named = HostRuleFor("0.0.0.0", {"printers.example"});
    EXPECT_TRUE(HostAllowed("printers.example", named));
    EXPECT_TRUE(HostAllowed("127.0.0.1", named));
    EXPECT_FALSE(HostAllowed("attacker.example", named));
}

TEST(HostRule, AllowHostValues) {
    EXPECT_EQ(NormalizeAllowHost("Printers.Example"), "printers.example");
    EXPECT_EQ(NormalizeAllowHost("printers.example."), "printers.example");
    EXPECT_EQ(NormalizeAllowHost("192.0.2.7"), "192.0.2.7");
    EXPECT_EQ(NormalizeAllowHost("FE80::1"), "[fe80::1]");
    EXPECT_EQ(NormalizeAllowHost("[fe80::1]"), "[fe80::1]");
    for (const char* bad : {"", "printers.example:8631", "[::1]:80", "a b", "a/b", "http://a", "[fe80::1", "x:y"}) {
        EXPECT_THROW(NormalizeAllowHost(bad), CliError) << bad;
    }
    EXPECT_NO_THROW(NormalizeAllowHost(std::string(253, 'a')));
    EXPECT_THROW(NormalizeAllowHost(std::string(254, 'a')), CliError);
}

}  // namespace
}  // namespace tb58mon
