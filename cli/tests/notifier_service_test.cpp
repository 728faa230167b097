// The notifier with the event store and receivers on 127.0.0.1: a jam is
// told once after its hold and its clearing once, in the notifier's
// language; a jam shorter than the hold tells nobody; a receiver that
// refuses, stalls, is down and is back gets each notice exactly once; a
// restart keeps what is pending; a notice not taken before expire is given
// up; a mail is proper MIME with the picture attached.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "events/event_store.h"
#include "notice_receivers.h"
#include "notify/notifier_service.h"
#include "notify/notify_metrics.h"
#include "notify/notify_outbox.h"
#include "report/record_report.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;
using test::SmtpReceiver;
using test::WebhookReceiver;

constexpr int32_t kJam = 42000;  // a paper jam (misfeed)

int64_t Now() { return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count(); }

PrinterObservation Ready() {
    PrinterObservation observation;
    observation.time = Now();
    observation.health = PrinterHealth::kReady;
    observation.toner = TonerLevel::kOk;
    return observation;
}

PrinterObservation Jammed() {
    PrinterObservation observation = Ready();
    observation.health = PrinterHealth::kError;
    observation.codes = {kJam};
    return observation;
}

NotifierConfig Hook(const std::string& url, std::chrono::seconds hold = 1s) {
    NotifierConfig notifier;
    notifier.name = "desk";
    notifier.type = NotifierType::kWebhook;
    notifier.url = url;
    notifier.headers = {{"X-Test", "yes"}};
    notifier.on.Add(NotifyRule::kError);
    notifier.on.Add(NotifyRule::kRecovered);
    notifier.hold = hold;
    notifier.lang = "DE";
    return notifier;
}

NotifierServiceOptions FastOptions() {
    NotifierServiceOptions options;
    options.base_url = "http://127.0.0.1:8631";
    options.retry.first = 1s;
    options.retry.longest = 2s;
    options.limits.connect_timeout = 1000ms;
    options.limits.total_timeout = 1500ms;
    options.tick = 100ms;
    return options;
}

// A store and its notifier, started; stopped (notifier first) when destroyed.
struct Service {
    NotifyMetrics metrics;
    std::unique_ptr<NotifierService> notifier;
    std::unique_ptr<EventStore> store;
    Service(const TestFolder& folder, std::vector<NotifierConfig> notifiers,
            NotifierServiceOptions options = FastOptions())
        : notifier(std::make_unique<NotifierService>(std::move(notifiers), std::move(options), &metrics)),
          store(std::make_unique<EventStore>(StoreOptions(folder), notifier->Hooks())) {
        notifier->Start(*store);
    }
    ~Service() {
        notifier.reset();  // before the store it uses
        store.reset();
    }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
    static EventStoreOptions StoreOptions(const TestFolder& folder) {
        EventStoreOptions options;
        options.directory = folder.path();
        options.batch_interval = 50ms;
        return options;
    }
    std::vector<OutboxEntry> Outbox() {
        store->Flush();
        std::vector<OutboxEntry> entries;
        store->Read([&](sqlite3* db) { entries = ReadOutbox(db); });
        return entries;
    }
};

std::string Base64Decoded(const std::string& text) {
    static const std::string kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        const size_t digit = kDigits.find(c);
        if (digit == std::string::npos) continue;
        bits = (bits << 6) | static_cast<uint32_t>(digit);
        count += 6;
        if (count >= 8) {
            count -= 8;
            bytes += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return bytes;
}

Json BodyOf(const test::ReceivedHook& hook) { return Json::parse(hook.body, nullptr, false); }

TEST(NotifierService, AJamIsToldOnceAfterItsHoldAndItsClearingOnceInTheNotifiersLanguage) {
    TestFolder folder;
    WebhookReceiver receiver;
    auto service = std::make_unique<Service>(folder, std::vector{Hook(receiver.Url())});
    service->store->Observe("p1", "sim:jam-tray2-lct", Ready());
    service->store->Observe("p1", "sim:jam-tray2-lct", Jammed());
    ASSERT_TRUE(receiver.WaitTaken(1, 10s));
    std::this_thread::sleep_for(1500ms);  // a second notice would be here by now
    ASSERT_EQ(receiver.Taken().size(), 1u);
    const test::ReceivedHook problem = receiver.Taken()[0];
    const Json body = BodyOf(problem);
    ASSERT_FALSE(body.is_discarded()) << problem.body;
    EXPECT_EQ(problem.idempotency_key, body["notification_id"]);
    EXPECT_EQ(problem.extra_header, "yes");
    EXPECT_NE(problem.content_type.find("application/json"), std::string::npos);
    EXPECT_EQ(body["notice"], "problem");
    EXPECT_EQ(body["printer"], "p1");
    EXPECT_EQ(body["health"], "error");
    EXPECT_EQ(body["language"], "DE");
    EXPECT_EQ(body["codes"], Json::array({kJam}));
    EXPECT_EQ(problem.idempotency_key, std::to_string(body["id"].get<int64_t>()) + "-desk");
    EXPECT_NE(body["picture"].get<std::string>().find("http://127.0.0.1:8631/"), std::string::npos);
    EXPECT_FALSE(body["short"].get<std::string>().empty());

    service->store->Observe("p1", "sim:jam-tray2-lct", Ready());
    ASSERT_TRUE(receiver.WaitTaken(2, 10s));
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(receiver.Taken().size(), 2u);
    EXPECT_EQ(BodyOf(receiver.Taken()[1])["notice"], "recovered");
    EXPECT_NE(receiver.Taken()[1].idempotency_key, problem.idempotency_key);
    const std::string metrics = service->metrics.Text();
    EXPECT_NE(metrics.find("tb58_notifications_total{notifier=\"desk\",outcome=\"sent\"} 2"), std::string::npos) << metrics;
    for (const OutboxEntry& entry : service->Outbox()) EXPECT_EQ(entry.state, OutboxState::kSent);
}

TEST(NotifierService, AJamShorterThanItsHoldPagesNobody) {
    TestFolder folder;
    WebhookReceiver receiver;
    Service service(folder, {Hook(receiver.Url(), 2s)});
    service.store->Observe("p1", "sim:jam-tray2-lct", Ready());
    service.store->Observe("p1", "sim:jam-tray2-lct", Jammed());
    std::this_thread::sleep_for(300ms);
    service.store->Observe("p1", "sim:jam-tray2-lct", Ready());
    std::this_thread::sleep_for(3500ms);
    EXPECT_EQ(receiver.Seen(), 0u);
    EXPECT_TRUE(service.Outbox().empty());
}

TEST(NotifierService, AReceiverThatRefusesStallsIsDownAndIsBackGetsEachNoticeOnce) {
    TestFolder folder;
    auto receiver = std::make_unique<WebhookReceiver>();
    const unsigned port = receiver->port();
    receiver->SetMode(WebhookReceiver::Mode::kRefuse);
    NotifierConfig hook = Hook(receiver->Url(), 0s);
    Service service(folder, {hook});
    service.store->Observe("p1", "sim:jam-tray2-lct", Jammed());
    service.store->Observe("p2", "sim:jam-tray2-lct", Jammed());
    ASSERT_TRUE(receiver->WaitSeen(2, 10s));
    receiver->SetMode(WebhookReceiver::Mode::kStall);
    const size_t seen = receiver->Seen();
    ASSERT_TRUE(receiver->WaitSeen(seen + 1, 10s));
    receiver.reset();  // down
    std::this_thread::sleep_for(2500ms);
    receiver = std::make_unique<WebhookReceiver>(port);
    ASSERT_TRUE(receiver->WaitTaken(2, 15s));
    std::this_thread::sleep_for(2500ms);
    std::set<std::string> keys;
    for (const auto& taken : receiver->Taken()) keys.insert(taken.idempotency_key);
    EXPECT_EQ(receiver->Taken().size(), 2u);
    EXPECT_EQ(keys.size(), 2u);
    const std::vector<OutboxEntry> outbox = service.Outbox();
    ASSERT_EQ(outbox.size(), 2u);
    for (const OutboxEntry& entry : outbox) {
        EXPECT_EQ(entry.state, OutboxState::kSent);
        EXPECT_GE(entry.tries, 2);
    }
    EXPECT_EQ(service.metrics.Text().find("outcome=\"failed\"} 0"), std::string::npos);
}

TEST(NotifierService, ARestartKeepsPendingNoticesAndHeldOnes) {
    TestFolder folder;
    auto receiver = std::make_unique<WebhookReceiver>();
    const unsigned port = receiver->port();
    const std::string url = receiver->Url();
    receiver.reset();  // down from the start
    {
        Service service(folder, {Hook(url, 0s)});
        service.store->Observe("p1", "sim:jam-tray2-lct", Jammed());
        std::this_thread::sleep_for(1500ms);
        const std::vector<OutboxEntry> outbox = service.Outbox();
        ASSERT_EQ(outbox.size(), 1u);
        EXPECT_EQ(outbox[0].state, OutboxState::kPending);
    }
    {
        // Held, not yet due, when the service stops: due after the restart.
        Service service(folder, {Hook(url, 2s)});
        service.store->Observe("p2", "sim:jam-tray2-lct", Jammed());
        service.store->Flush();
    }
    receiver = std::make_unique<WebhookReceiver>(port);
    Service service(folder, {Hook(url, 2s)});
    service.store->Observe("p1", "sim:jam-tray2-lct", Jammed());  // the same state: no new event
    ASSERT_TRUE(receiver->WaitTaken(2, 15s));
    std::this_thread::sleep_for(1500ms);
    ASSERT_EQ(receiver->Taken().size(), 2u);
    EXPECT_EQ(BodyOf(receiver->Taken()[0])["printer"], "p1");
    EXPECT_EQ(BodyOf(receiver->Taken()[1])["printer"], "p2");
}

TEST(NotifierService, AToldProblemThatLastsGetsNumberedRemindersAndTheirEndOneNotice) {
    TestFolder folder;
    WebhookReceiver receiver;
    NotifierConfig hook = Hook(receiver.Url(), 0s);
    hook.repeat = 1s;
    Service service(folder, {hook});
    service.store->Observe("p1", "sim:jam-tray2-lct", Jammed());
    ASSERT_TRUE(receiver.WaitTaken(3, 10s));
    service.store->Observe("p1", "sim:jam-tray2-lct", Ready());
    std::this_thread::sleep_for(2500ms);
    const std::vector<test::ReceivedHook> taken = receiver.Taken();
    ASSERT_GE(taken.size(), 4u);
    EXPECT_EQ(BodyOf(taken[0])["notice"], "problem");
    EXPECT_EQ(BodyOf(taken[1])["notice"], "reminder");
    EXPECT_EQ(BodyOf(taken[1])["reminder"], 1);
    EXPECT_EQ(taken[1].idempotency_key, taken[0].idempotency_key + "-r1");
    EXPECT_EQ(taken[2].idempotency_key, taken[0].idempotency_key + "-r2");
    EXPECT_EQ(BodyOf(taken.back())["notice"], "recovered");
    for (size_t i = 1; i + 1 < taken.size(); ++i) EXPECT_EQ(BodyOf(taken[i])["notice"], "reminder");
}

TEST(NotifierService, ANotifierTakenOutOfTheFileKeepsNothingPending) {
    TestFolder folder;
    std::string url;
    {
        WebhookReceiver gone;
        url = gone.Url();
    }
    {
        Service service(folder, {Hook(url, 0s)});
        service.store->Observe("p1", "sim:jam-tray2-lct", Jammed());
        std::this_thread::sleep_for(1500ms);
        ASSERT_EQ(service.Outbox().size(), 1u);
        // A reload without it: its notice goes.
        NotifierConfig other = Hook(url, 0s);
        other.name = "other";
        service.notifier->Reload({other});
        EXPECT_TRUE(service.Outbox().empty());
        service.store->Observe("p2", "sim:jam-tray2-lct", Jammed());
        std::this_thread::sleep_for(1500ms);
        ASSERT_EQ(service.Outbox().size(), 1u);
    }
    // Taken out while the service was stopped: gone at the start.
    Service service(folder, {Hook(url, 0s)});
    EXPECT_TRUE(service.Outbox().empty());
}

TEST(NotifierService, ANoticeNotTakenBeforeExpireIsGivenUpAndCounted) {
    TestFolder folder;
    std::string url;
    {
        WebhookReceiver gone;
        url = gone.Url();
    }
    NotifierConfig hook = Hook(url, 0s);
    hook.expire = 2s;
    Service service(folder, {hook});
    service.store->Observe("p1", "sim:jam-tray2-lct", Jammed());
    std::vector<OutboxEntry> outbox;
    for (int i = 0; i < 60; ++i) {
        std::this_thread::sleep_for(100ms);
        outbox = service.Outbox();
        if (!outbox.empty() && outbox[0].state == OutboxState::kExpired) break;
    }
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_EQ(outbox[0].state, OutboxState::kExpired);
    EXPECT_NE(service.metrics.Text().find("outcome=\"expired\"} 1"), std::string::npos);
}

TEST(NotifierService, AMailIsPlainTextInTheNotifiersLanguageWithThePictureAttached) {
    TestFolder folder;
    SmtpReceiver receiver;
    NotifierConfig mail;
    mail.name = "mail";
    mail.type = NotifierType::kEmail;
    mail.url = receiver.Url();
    mail.starttls = false;
    mail.from = "printers@example.org";
    mail.to = {"desk@example.org", "lead@example.org"};
    mail.on.Add(NotifyRule::kError);
    mail.hold = 0s;
    mail.lang = "DE";
    NotifierServiceOptions options = FastOptions();
    options.picture = [](const std::string&) { return std::make_shared<const std::string>("\x89PNG\r\n\x1a\nfake"); };
    Service service(folder, {mail}, options);
    // A printer name is the configuration's; a hostile one cannot reach here,
    // but the URI can carry anything: it never reaches a header.
    service.store->Observe("p1", "socket://x\r\nBcc: evil@example.org", Jammed());
    ASSERT_TRUE(receiver.WaitMails(1, 10s));
    const std::string text = receiver.Mails()[0];
    EXPECT_EQ(receiver.Recipients().size(), 2u);
    EXPECT_NE(text.find("Subject: =?UTF-8?B?"), std::string::npos) << text;
    EXPECT_NE(text.find("MIME-Version: 1.0"), std::string::npos);
    EXPECT_NE(text.find("Content-Type: image/png"), std::string::npos);
    EXPECT_NE(text.find("charset=UTF-8"), std::string::npos);
    // The subject in German: "[tb58mon] p1: Papierstau".
    const size_t word = text.find("Subject: =?UTF-8?B?") + 19;
    EXPECT_NE(Base64Decoded(text.substr(word, text.find("?=", word) - word)).find("p1: Papierstau"), std::string::npos);
    // The body's labels are the catalog's German words, not English ones.
    const size_t plain = text.find("charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n");
    ASSERT_NE(plain, std::string::npos);
    const size_t body_at = text.find("\r\n\r\n", plain) + 4;
    std::string encoded_body = text.substr(body_at, text.find("\r\n--", body_at) - body_at);
    std::erase(encoded_body, '\r');
    std::erase(encoded_body, '\n');
    const std::string body = Base64Decoded(encoded_body);
    EXPECT_NE(body.find("Drucker: p1"), std::string::npos) << body;
    EXPECT_NE(body.find("Status: Fehler"), std::string::npos) << body;
    EXPECT_EQ(body.find("Printer"), std::string::npos) << body;
    EXPECT_EQ(body.find("Health"), std::string::npos) << body;
    EXPECT_EQ(text.find("\r\nBcc:"), std::string::npos);
    const std::string head = text.substr(0, text.find("\r\n\r\n"));
    EXPECT_EQ(head.find("evil"), std::string::npos);
}

}  // namespace
}  // namespace tb58mon
