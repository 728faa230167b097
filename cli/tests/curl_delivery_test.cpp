// Delivery's bounds against receivers of the test on 127.0.0.1: a receiver
// with a self-signed certificate is refused (verification stays on), an
// answer that never ends is cut at the cap, a receiver that stalls is left
// after the timeout, and a receiver that is not there is an answer, not a
// wait.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "notice_receivers.h"
#include "notify/curl_delivery.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;

DeliveryRequest Post(const std::string& url) {
    DeliveryRequest request;
    request.tag = 7;
    request.notifier.name = "hook";
    request.notifier.type = NotifierType::kWebhook;
    request.notifier.url = url;
    request.notice_id = "1-hook";
    request.body = "{}";
    return request;
}

// Runs one transfer to its end (at most 10 s).
DeliveryOutcome Deliver(const DeliveryRequest& request, const DeliveryLimits& limits = {}) {
    CurlDelivery delivery(limits);
    DeliveryOutcome outcome;
    if (!delivery.Start(request, outcome)) return outcome;
    for (int i = 0; i < 100 && delivery.Running() > 0; ++i) {
        for (const DeliveryOutcome& done : delivery.Poll(100ms)) outcome = done;
    }
    return outcome;
}

std::string ReadText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

TEST(CurlDelivery, AReceiverWithASelfSignedCertificateIsRefused) {
    TestFolder folder;
    const std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                                "-addext subjectAltName=IP:127.0.0.1 -keyout " + (folder / "key.pem") +
                                " -out " + (folder / "cert.pem") + " > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "openssl cannot make a certificate";
    test::WebhookReceiver receiver(0, ReadText(folder / "cert.pem"), ReadText(folder / "key.pem"));
    const DeliveryOutcome outcome = Deliver(Post(receiver.Url()));
    EXPECT_FALSE(outcome.taken);
    EXPECT_EQ(outcome.tag, 7u);
    EXPECT_NE(outcome.answer.find("certificate"), std::string::npos) << outcome.answer;
    EXPECT_EQ(receiver.Seen(), 0u);
}

TEST(CurlDelivery, AnAnswerThatNeverEndsIsCutAtTheCap) {
    test::WebhookReceiver receiver;
    receiver.SetMode(test::WebhookReceiver::Mode::kStream);
    DeliveryLimits limits;
    limits.total_timeout = 5000ms;
    const auto start = std::chrono::steady_clock::now();
    const DeliveryOutcome outcome = Deliver(Post(receiver.Url()), limits);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 4s);  // cut, not timed out
    EXPECT_TRUE(outcome.taken) << outcome.answer;              // a 2xx is taken however long its body
    EXPECT_EQ(outcome.status, 200);
    EXPECT_LE(outcome.answer.size(), 220u);
}

TEST(CurlDelivery, AStallingReceiverIsLeftAfterTheTimeoutAndAMissingOneAtOnce) {
    test::WebhookReceiver receiver;
    receiver.SetMode(test::WebhookReceiver::Mode::kStall);
    DeliveryLimits limits;
    limits.total_timeout = 800ms;
    const DeliveryOutcome stalled = Deliver(Post(receiver.Url()), limits);
    EXPECT_FALSE(stalled.taken);
    EXPECT_NE(stalled.answer.find("imeout"), std::string::npos) << stalled.answer;
    std::string gone;
    {
        test::WebhookReceiver closed;
        gone = closed.Url();
    }
    const DeliveryOutcome missing = Deliver(Post(gone), limits);
    EXPECT_FALSE(missing.taken);
    EXPECT_EQ(missing.status, 0);
}

TEST(CurlDelivery, NoMoreTransfersThanTheLimitAtOnce) {
    test::WebhookReceiver receiver;
    receiver.SetMode(test::WebhookReceiver::Mode::kStall);
    DeliveryLimits limits;
    limits.most_transfers = 2;
    limits.total_timeout = 500ms;
    CurlDelivery delivery(limits);
    DeliveryOutcome refused;
    EXPECT_TRUE(delivery.Start(Post(receiver.Url()), refused));
    EXPECT_TRUE(delivery.Start(Post(receiver.Url()), refused));
    EXPECT_FALSE(delivery.Start(Post(receiver.Url()), refused));
    EXPECT_EQ(refused.answer, "too many transfers at once");
}

}  // namespace
}  // namespace tb58mon
