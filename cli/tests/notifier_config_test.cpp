// The [[notify]] tables of the fleet file, the durations, the printer
// patterns and the password file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "base/cli_error.h"
#include "notify/notifier_config_file.h"
#include "notify/password_file.h"
#include "serve/fleet_config.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

// A key given twice is TOML's own error: the last line of a case takes the
// place of the notifier's line of the same key.
std::string WithoutRepeatedKey(const std::string& text) {
    const size_t last = text.rfind('\n', text.size() - 2);
    if (last == std::string::npos || text.find("[[notify]]", last) != std::string::npos) return text;
    const std::string key = text.substr(last + 1, text.find(" =", last) - last - 1);
    const size_t earlier = text.rfind("\n" + key + " =", last - 1);
    if (earlier == std::string::npos || text.rfind("[[notify]]", last) > earlier) return text;
    const size_t end = text.find('\n', earlier + 1);
    return text.substr(0, earlier) + text.substr(end);
}

std::string ErrorOf(const std::string& raw) {
    const std::string text = WithoutRepeatedKey(raw);
    try {
        ParseFleetConfig(text, "fleet.toml");
    } catch (const CliError& e) {
        return e.what();
    }
    return "";
}

const char* const kWebhook = "[[notify]]\nname = \"w\"\ntype = \"webhook\"\nurl = \"https://h.example/x\"\non = [\"error\"]\n";
const char* const kEmail =
    "[[notify]]\nname = \"m\"\ntype = \"email\"\nurl = \"smtp://mail.example\"\nfrom = \"a@b.example\"\n"
    "to = [\"c@d.example\"]\non = [\"error\"]\n";

TEST(NotifierConfig, ReadsEveryKey) {
    const FleetConfig config = ParseFleetConfig(R"(
[[notify]]
name = "front-desk"
type = "webhook"
url = "https://hooks.example.org/printers"
headers = { X-Token = "abc", "X-Other" = "d e" }
on = ["error", "no_response", "recovered"]
printers = ["floor2-*", "lab"]
hold = "1m30s"
repeat = "4h"
expire = "2d"
lang = "DE"

[[notify]]
name = "mail"
type = "email"
url = "smtps://mail.example.org:465"
from = "printers@example.org"
to = ["a@example.org", "b@example.org"]
user = "printers"
password_file = "/etc/tb58mon/smtp.pw"
on = ["toner_low", "toner_empty", "tray_empty", "code", "attention", "unknown"]
)",
                                                "fleet.toml");
    ASSERT_EQ(config.notifiers.size(), 2u);
    const NotifierConfig& hook = config.notifiers[0];
    EXPECT_EQ(hook.type, NotifierType::kWebhook);
    ASSERT_EQ(hook.headers.size(), 2u);
    // In name order, as the table holds them.
    EXPECT_EQ(hook.headers[0].first, "X-Other");
    EXPECT_EQ(hook.headers[0].second, "d e");
    EXPECT_EQ(hook.headers[1].first, "X-Token");
    EXPECT_TRUE(hook.on.Has(NotifyRule::kError));
    EXPECT_TRUE(hook.on.Has(NotifyRule::kRecovered));
    EXPECT_FALSE(hook.on.Has(NotifyRule::kAttention));
    EXPECT_EQ(hook.hold, std::chrono::seconds(90));
    EXPECT_EQ(hook.repeat, std::chrono::seconds(4 * 3600));
    EXPECT_EQ(hook.expire, std::chrono::seconds(2 * 86400));
    EXPECT_EQ(hook.lang, "DE");
    const NotifierConfig& mail = config.notifiers[1];
    EXPECT_EQ(mail.type, NotifierType::kEmail);
    EXPECT_EQ(mail.to.size(), 2u);
    EXPECT_EQ(mail.password_file, "/etc/tb58mon/smtp.pw");
    EXPECT_TRUE(mail.password.empty());  // read later, by ReadNotifierPasswords
    EXPECT_EQ(mail.on.bits, 0xFF - 0x01 - 0x04);
    // The defaults.
    EXPECT_EQ(mail.hold, std::chrono::seconds(60));
    EXPECT_EQ(mail.repeat, std::chrono::seconds(0));
    EXPECT_EQ(mail.expire, std::chrono::seconds(86400));
    EXPECT_TRUE(mail.lang.empty());
    EXPECT_TRUE(mail.printers.empty());
}

TEST(NotifierConfig, ErrorsNameTheLineAndTheFault) {
    const std::string w = kWebhook;
    const std::string m = kEmail;
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {w + w, "fleet.toml:6: a second notifier named 'w'"},
        {"[notify]\nname = \"w\"\n", "fleet.toml:1: write notifiers as [[notify]]"},
        {w + "colour = 1\n", "fleet.toml:6: colour is not a key of a [[notify]] table"},
        {"[[notify]]\nname = \"w\"\nurl = \"https://h/\"\non = [\"error\"]\n", "a notifier needs a name, a type and a url"},
        {w + "type = \"sms\"\n", "type must be \"webhook\" or \"email\""},
        {w + "on = [\"jam\"]\n", "on names no rule 'jam'"},
        {w + "on = \"error\"\n", "on must be a list of texts"},
        {w + "hold = 60\n", "hold must be a text"},
        {w + "hold = \"60\"\n", "hold must be a duration"},
        {w + "hold = \"25h\"\n", "hold must be from 0s to 24h"},
        {w + "repeat = \"30s\"\n", "repeat must be \"off\" or from 1m to 30d"},
        {w + "repeat = \"31d\"\n", "repeat must be \"off\" or from 1m to 30d"},
        {w + "expire = \"59s\"\n", "expire must be from 1m to 30d"},
        {w + "lang = \"XX\"\n", "unknown language 'XX'"},
        {w + "headers = { \"X-A\" = \"a\\r\\nEvil: 1\" }\n", "header X-A: a value of at most 1024 bytes"},
        {w + "headers = { \"X A\" = \"a\" }\n", "header name 'X A' is not an HTTP token"},
        {w + "headers = { \"Idempotency-Key\" = \"a\" }\n", "header Idempotency-Key is set by the notifier itself"},
        {w + "headers = { \"content-LENGTH\" = \"5\" }\n", "is set by the notifier itself"},
        {w + "headers = { \"X-A\" = 5 }\n", "headers must be a table of texts"},
        {w + "printers = [\"\"]\n", "printers: '' is not a name or pattern"},
        {w + "from = \"a@b\"\n", "from, to, user and password_file are for type = \"email\""},
        {w + "starttls = false\n", "starttls is for smtp:// URLs"},
        {m + "headers = { X-A = \"1\" }\n", "headers are for type = \"webhook\""},
        {m + "user = \"u\"\n", "user and password_file go together"},
        {m + "password_file = \"/p\"\n", "user and password_file go together"},
        {m + "to = []\n", "to must list 1 to 32 mail addresses"},
        {m + "user = \"u\"\npassword_file = \"/p\"\nstarttls = false\n", "user and password_file need TLS"},
        {m + "to = [\"x@y\", \"evil@y\\r\\nBcc: z@w\"]\n", "is not a mail address"},
        {m + "to = [\"<x@y>\"]\n", "is not a mail address"},
        {"[[notify]]\nname = \"m\"\ntype = \"email\"\nurl = \"smtp://h\"\nto = [\"a@b\"]\non = [\"error\"]\n",
         "from must be a mail address"},
        {"[[notify]]\nname = \"a b\"\ntype = \"webhook\"\nurl = \"http://h/\"\non = [\"error\"]\n", "bad notifier name 'a b'"},
        {"[[notify]]\nname = \"w\"\ntype = \"webhook\"\nurl = \"http://h/\"\non = []\n", "on must name at least one rule"},
        {"[[notify]]\nname = \"w\"\ntype = \"webhook\"\nurl = \"smtp://h/\"\non = [\"error\"]\n",
         "url must start with http:// or https://"},
        {"[[notify]]\nname = \"w\"\ntype = \"email\"\nurl = \"https://h/\"\nfrom = \"a@b\"\nto = [\"a@b\"]\non = [\"error\"]\n",
         "url must start with smtp:// or smtps://"},
        {"[[notify]]\nname = \"w\"\ntype = \"webhook\"\nurl = \"https://u:p@h/\"\non = [\"error\"]\n",
         "url must not hold a user or password"},
        {"[[notify]]\nname = \"w\"\ntype = \"webhook\"\nurl = \"https://h/a b\"\non = [\"error\"]\n",
         "url must be an http:// or https:// URL of at most 2048 printable ASCII"},
        {"[[notify]]\nname = \"w\"\ntype = \"webhook\"\nurl = \"https:///x\"\non = [\"error\"]\n", "url"},
        {"[[notify]]\nname = \"m\"\ntype = \"email\"\nurl = \"smtps://h\"\nfrom = \"a@b\"\nto = [\"a@b\"]\n"
         "on = [\"error\"]\nstarttls = true\n",
         "starttls is for smtp:// URLs"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf(c.text);
        EXPECT_NE(error.find(c.message), std::string::npos) << c.text << "\n-> " << error;
    }
}

TEST(NotifierConfig, Durations) {
    const struct {
        const char* text;
        int64_t seconds;  // -1: refused
    } cases[] = {{"0s", 0},          {"90s", 90},       {"5m", 300},          {"1h", 3600},       {"2d", 172800},
                 {"1h30m", 5400},    {"1m1s", 61},      {"999999999s", 999999999},
                 {"1000000000s", -1}, {"", -1},         {"s", -1},            {"60", -1},         {"-5s", -1},
                 {"1.5h", -1},       {"5 m", -1},       {"5M", -1},           {"1w", -1},         {"1h30", -1}};
    for (const auto& c : cases) {
        std::chrono::seconds duration{-7};
        const bool read = ParseDuration(c.text, duration);
        EXPECT_EQ(read, c.seconds >= 0) << c.text;
        if (read) {
            EXPECT_EQ(duration.count(), c.seconds) << c.text;
        }
    }
}

TEST(NotifierConfig, EveryRuleWordRoundTrips) {
    for (const char* word : {"error", "attention", "no_response", "unknown", "toner_low", "toner_empty", "tray_empty",
                             "code", "recovered"}) {
        NotifyRule rule{};
        ASSERT_TRUE(ParseNotifyRule(word, rule)) << word;
        EXPECT_EQ(NotifyRuleName(rule), word);
    }
    NotifyRule rule{};
    EXPECT_FALSE(ParseNotifyRule("Error", rule));
    EXPECT_FALSE(ParseNotifyRule("no response", rule));
}

TEST(NotifierConfig, PrinterPatterns) {
    NotifierConfig notifier;
    EXPECT_TRUE(NotifierWatchesPrinter(notifier, "anything"));
    notifier.printers = {"floor2-*", "lab", "room-?"};
    EXPECT_TRUE(NotifierWatchesPrinter(notifier, "floor2-east"));
    EXPECT_TRUE(NotifierWatchesPrinter(notifier, "floor2-"));
    EXPECT_TRUE(NotifierWatchesPrinter(notifier, "lab"));
    EXPECT_TRUE(NotifierWatchesPrinter(notifier, "room-1"));
    EXPECT_FALSE(NotifierWatchesPrinter(notifier, "room-12"));
    EXPECT_FALSE(NotifierWatchesPrinter(notifier, "floor3-east"));
    EXPECT_FALSE(NotifierWatchesPrinter(notifier, "lab2"));
    EXPECT_FALSE(NotifierWatchesPrinter(notifier, "Lab"));
}

class PasswordFile : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text, mode_t mode) {
        const std::string path = folder_.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        chmod(path.c_str(), mode);
        return path;
    }
    std::string ErrorOf(const std::string& path) {
        try {
            ReadPasswordFile(path);
        } catch (const CliError& e) {
            return e.what();
        }
        return "";
    }
    TestFolder folder_;
};

TEST_F(PasswordFile, TheFirstLineOfAnOwnerOnlyFile) {
    EXPECT_EQ(ReadPasswordFile(Write("a", "s3cret pass\nsecond line\n", 0600)), "s3cret pass");
    EXPECT_EQ(ReadPasswordFile(Write("b", "crlf\r\n", 0400)), "crlf");
    EXPECT_EQ(ReadPasswordFile(Write("c", "no line end", 0600)), "no line end");
    EXPECT_EQ(ReadPasswordFile(Write("d", std::string(4095, 'x') + "\n", 0600)), std::string(4095, 'x'));
}

TEST_F(PasswordFile, RefusesWhatOthersMayReadAndWhatIsNoPassword) {
    EXPECT_NE(ErrorOf(Write("g", "pw\n", 0640)).find("chmod 600"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("o", "pw\n", 0604)).find("chmod 600"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("w", "pw\n", 0602)).find("chmod 600"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("e", "\nsecond\n", 0600)).find("first line is empty"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("c", "pw\x1b[2J\n", 0600)).find("control character"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("n", std::string("p\0w", 3), 0600)).find("control character"), std::string::npos);
    EXPECT_NE(ErrorOf(Write("big", std::string(4097, 'x'), 0600)).find("larger than 4096"), std::string::npos);
    EXPECT_NE(ErrorOf(folder_.path() + "/missing").find("No such file"), std::string::npos);
    EXPECT_NE(ErrorOf(folder_.path()).find("not a regular file"), std::string::npos);
    const std::string fifo = folder_.path() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(ErrorOf(fifo).find("not a regular file"), std::string::npos);  // and it did not wait for a writer
}

TEST_F(PasswordFile, ReadForEachNotifierThatNamesOne) {
    std::vector<NotifierConfig> notifiers(2);
    notifiers[0].password_file = Write("pw", "secret\n", 0600);
    ReadNotifierPasswords(notifiers);
    EXPECT_EQ(notifiers[0].password, "secret");
    EXPECT_TRUE(notifiers[1].password.empty());
}

}  // namespace
}  // namespace tb58mon
