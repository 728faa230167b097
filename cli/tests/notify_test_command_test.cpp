// tb58mon notify-test against receivers of the test on 127.0.0.1: one
// sample to each notifier (or the one named), what each receiver answered,
// and the exit code.
#include <gtest/gtest.h>

#include <fstream>

#include "notice_receivers.h"
#include "report/record_report.h"
#include "run_tb58mon.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;

std::string FleetFile(const TestFolder& folder, const std::string& hook_url, const std::string& smtp_url,
                      const std::string& dead_url) {
    const std::string path = folder / "fleet.toml";
    std::ofstream(path) << "[[printer]]\nname = \"desk-1\"\nuri = \"socket://192.0.2.1\"\n\n"
                        << "[[notify]]\nname = \"hook\"\ntype = \"webhook\"\nurl = \"" << hook_url
                        << "\"\non = [\"error\"]\nlang = \"DE\"\n\n"
                        << "[[notify]]\nname = \"mail\"\ntype = \"email\"\nurl = \"" << smtp_url
                        << "\"\nstarttls = false\nfrom = \"a@example.org\"\nto = [\"b@example.org\"]\non = [\"error\"]\n\n"
                        << "[[notify]]\nname = \"dead\"\ntype = \"webhook\"\nurl = \"" << dead_url
                        << "\"\non = [\"error\"]\n";
    return path;
}

TEST(NotifyTestCommand, SendsOneSampleToEachNotifierAndSaysWhatTheReceiverAnswered) {
    TestFolder folder;
    test::WebhookReceiver hook;
    test::SmtpReceiver mail;
    std::string dead_url;
    {
        test::WebhookReceiver gone;
        dead_url = gone.Url();
    }
    const std::string config = FleetFile(folder, hook.Url(), mail.Url(), dead_url);

    const Outcome all = Tb58mon({"notify-test", "--config", config});
    EXPECT_EQ(all.code, 1) << all.out << all.err;
    EXPECT_NE(all.out.find("hook (" + hook.Url() + "): taken - HTTP 200: ok"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("mail (" + mail.Url() + "): taken - SMTP 250"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("dead (" + dead_url + "): NOT taken - "), std::string::npos) << all.out;
    ASSERT_EQ(hook.Taken().size(), 1u);
    const Json body = Json::parse(hook.Taken()[0].body, nullptr, false);
    EXPECT_EQ(body["notice"], "test");
    EXPECT_EQ(body["printer"], "desk-1");  // the first printer the notifier watches
    EXPECT_EQ(body["language"], "DE");
    EXPECT_EQ(hook.Taken()[0].idempotency_key.rfind("test-", 0), 0u);
    EXPECT_EQ(mail.Mails().size(), 1u);

    const Outcome one = Tb58mon({"notify-test", "--config", config, "--notifier", "hook"});
    EXPECT_EQ(one.code, 0) << one.out << one.err;
    EXPECT_EQ(hook.Taken().size(), 2u);
    EXPECT_EQ(mail.Mails().size(), 1u);

    const Outcome unknown = Tb58mon({"notify-test", "--config", config, "--notifier", "nobody"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("no notifier named 'nobody'"), std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace tb58mon
