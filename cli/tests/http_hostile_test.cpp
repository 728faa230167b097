// The HTTP front against hostile clients, over loopback: the in-process
// service over three simulated network printers that a real FleetPoller
// polls, and raw sockets that send what an attacker sends.  Every case
// checks that the service stays up, that /healthz answers another client
// within a second meanwhile, and that the printers go on being polled
// without a "no response".  The floods must keep the test process's
// resident memory within kMemoryBound of what it was before.
// Everything listens on 127.0.0.1, every loop is bounded in count and time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "http_test_client.h"
#include "report/record_report.h"
#include "serve/fleet_poller.h"
#include "serve/http_service.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::RawConnection;

constexpr size_t kMemoryBoundKiB = 64 * 1024;
constexpr auto kHeadTime = 2000ms;

class HostileClients : public ::testing::Test {
protected:
    void Start(ConnectionLimits limits = {}, std::vector<std::string> allow_hosts = {}) {
        for (const char* scenario : {"all-well", "jam-tray2-lct", "toner-low"}) {
            const EmbeddedFile* file = nullptr;
            for (const EmbeddedFile& f : EmbeddedScenarioFiles()) {
                if (f.name == scenario) file = &f;
            }
            ASSERT_NE(file, nullptr);
            printers_.push_back(std::make_unique<NetworkPrinter>(ParseScenario(file->name, file->text),
                                                                 NetworkPrinterConfig{}));
            PrinterConfig printer;
            printer.name = scenario;
            printer.uri = "socket://127.0.0.1:" + std::to_string(printers_.back()->pjl_port());
            printer.settings.interval = 0.3;
            printer.settings.timeout = 2;
            printer.settings.snmp = false;
            fleet_.printers.push_back(printer);
        }
        PollerOptions options;
        options.max_in_flight = 3;
        poller_ = std::make_unique<FleetPoller>(fleet_, options, metrics_);
        HttpServiceOptions http;
        limits.head_time = kHeadTime;
        http.limits = limits;
        http.allow_hosts = std::move(allow_hosts);
        http_ = std::make_unique<HttpService>([this] { return poller_->Snapshot(); }, [this] { return metrics_.Text(); },
                                              http);
        port_ = http_->Start("127.0.0.1", 0);
        ASSERT_TRUE(WaitForCycles(1)) << "the printers were never polled";
        cycles_before_ = Cycles();
    }

    void TearDown() override {
        http_.reset();
        poller_.reset();
    }

    std::vector<uint64_t> Cycles() const {
        std::vector<uint64_t> cycles;
        for (const auto& view : poller_->Snapshot()->printers) cycles.push_back(view->cycles);
        return cycles;
    }

    // Until every printer has done `more` cycles since the start (at most 10 s).
    bool WaitForCycles(uint64_t more) const {
        for (int i = 0; i < 200; ++i) {
            const auto snapshot = poller_->Snapshot();
            bool done = true;
            for (size_t p = 0; p < snapshot->printers.size(); ++p) {
                const uint64_t before = cycles_before_.empty() ? 0 : cycles_before_[p];
                done = done && snapshot->printers[p]->cycles >= before + more;
            }
            if (done) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // The printers went on being polled, every cycle answered.
    void ExpectPollingGoesOn() const {
        EXPECT_TRUE(WaitForCycles(2));
        for (const auto& view : poller_->Snapshot()->printers) {
            EXPECT_NE(view->health, PrinterHealth::kNoResponse) << view->name << ": " << view->reason;
        }
    }

    // /healthz from a client of its own: answered, and within a second.
    void ExpectHealthy(const std::string& when) const {
        const auto started = Clock::now();
        const auto answer = test::TestClient(port_).Get("/healthz");
        const auto took = Clock::now() - started;
        ASSERT_TRUE(answer.has_value()) << when;
        EXPECT_EQ(answer->status, 200) << when;
        EXPECT_EQ(answer->body, "ok\n") << when;
        EXPECT_LT(took, 1s) << when;
    }

    std::string Request(const std::string& target, const std::string& headers = "") const {
        return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
               "\r\nConnection: close\r\n" + headers + "\r\n";
    }

    std::vector<std::unique_ptr<NetworkPrinter>> printers_;
    FleetConfig fleet_;
    FleetMetrics metrics_;
    std::unique_ptr<FleetPoller> poller_;
    std::unique_ptr<HttpService> http_;
    unsigned port_ = 0;
    std::vector<uint64_t> cycles_before_;
};

// The most the test process's resident memory grows while work runs.
class PeakMemory {
public:
    PeakMemory() : base_(test::ResidentKiB()), peak_(base_) {
        sampler_ = std::thread([this] {
            while (!done_.load()) {
                const size_t now = test::ResidentKiB();
                if (now > peak_.load()) peak_.store(now);
                std::this_thread::sleep_for(5ms);
            }
        });
    }
    ~PeakMemory() { Stop(); }
    size_t GrowthKiB() {
        Stop();
        return peak_.load() > base_ ? peak_.load() - base_ : 0;
    }

private:
    void Stop() {
        done_.store(true);
        if (sampler_.joinable()) sampler_.join();
    }
    size_t base_;
    std::atomic<size_t> peak_;
    std::atomic<bool> done_{false};
    std::thread sampler_;
};

TEST_F(HostileClients, BytesThatAreNotUtf8GetJsonAndTheServiceStaysUp) {
    Start();
    for (const char* target : {"/%ff", "/printers/%C3%28.json", "/printers/%C3%28.png", "/%ed%a0%80",
                               "/%", "/%zz", "/printers/%2e%2e%2fetc.json"}) {
        const auto answer = test::Exchange(port_, Request(target));
        ASSERT_TRUE(answer.has_value()) << target;
        EXPECT_TRUE(answer->status == 404 || answer->status == 400) << target;
        if (answer->status == 404) {
            Json body;
            EXPECT_NO_THROW(body = Json::parse(answer->body)) << target << ": " << answer->body;
            EXPECT_TRUE(body["error"].is_string()) << target;
        }
        ExpectHealthy(target);
    }
    for (const char* target : {"/?lang=%ff", "/printers.json?lang=%C3%28", "/?lang=%00", "/?lang="}) {
        const auto answer = test::Exchange(port_, Request(target));
        ASSERT_TRUE(answer.has_value()) << target;
        EXPECT_EQ(answer->status, 400) << target;
        Json body;
        EXPECT_NO_THROW(body = Json::parse(answer->body)) << target;
        EXPECT_NE(body["error"].get<std::string>().find("lang"), std::string::npos) << target;
        for (const char* internal : {"exception", "type_error", "what", "invalid UTF-8", "[json."}) {
            EXPECT_EQ(answer->body.find(internal), std::string::npos) << target << ": " << answer->body;
        }
    }
    ExpectHealthy("at the end");
    ExpectPollingGoesOn();
}

TEST_F(HostileClients, ManyRangesGetTheWholeBodyOnce) {
    Start();
    std::string ranges = "Range: bytes=0-";
    for (int i = 0; i < 2600; ++i) ranges += ",0-";
    ranges += "\r\n";
    const auto plain = test::TestClient(port_).Get("/");
    ASSERT_TRUE(plain.has_value());
    PeakMemory memory;
    std::vector<std::thread> clients;
    std::atomic<int> whole{0};
    for (int c = 0; c < 8; ++c) {
        clients.emplace_back([&] {
            for (int round = 0; round < 5; ++round) {
                const auto answer = test::Exchange(port_, Request("/", ranges));
                if (answer && answer->status == 200 && answer->body.size() <= plain->body.size() + 64 &&
                    answer->get_header_value("Content-Type").starts_with("text/html")) {
                    ++whole;
                }
            }
        });
    }
    ExpectHealthy("during the range requests");
    for (auto& client : clients) client.join();
    EXPECT_EQ(whole.load(), 40);
    EXPECT_LT(memory.GrowthKiB(), kMemoryBoundKiB);
    ExpectHealthy("after the range requests");
    ExpectPollingGoesOn();
}

TEST_F(HostileClients, SlowHeadsAreCutAtTheDeadlineAndHoldNobody) {
    Start();
    // Eight clients trickle a request head, a byte every 500 ms: the
    // deadline counts from connecting, whatever arrives meanwhile.
    const std::string head = Request("/printers.json");
    std::vector<std::unique_ptr<RawConnection>> slow;
    for (int i = 0; i < 8; ++i) slow.push_back(std::make_unique<RawConnection>(port_));
    const auto started = Clock::now();
    std::vector<Clock::duration> closed_after(slow.size(), Clock::duration::zero());
    for (size_t step = 0; step < 16 && Clock::now() - started < kHeadTime + 3s; ++step) {
        for (size_t i = 0; i < slow.size(); ++i) {
            if (closed_after[i] != Clock::duration::zero()) continue;
            if (!slow[i]->Send(head.substr(step, 1)) || slow[i]->ClosedWithin(0ms)) closed_after[i] = Clock::now() - started;
        }
        ExpectHealthy("while heads trickle in");
        std::this_thread::sleep_for(500ms - std::min<Clock::duration>(500ms, (Clock::now() - started) % 500ms));
    }
    for (size_t i = 0; i < slow.size(); ++i) {
        EXPECT_NE(closed_after[i], Clock::duration::zero()) << "slow client " << i << " still open";
        EXPECT_LE(closed_after[i], kHeadTime + 1500ms) << "slow client " << i;  // seen at the next byte
        EXPECT_GE(closed_after[i], kHeadTime - 100ms) << "slow client " << i;
    }
    // A client idle after its answer is closed after the same time.
    RawConnection idle(port_);
    ASSERT_TRUE(idle.Send("GET /healthz HTTP/1.1\r\nHost: localhost\r\n\r\n"));
    EXPECT_FALSE(idle.ClosedWithin(kHeadTime - 500ms));
    EXPECT_TRUE(idle.ClosedWithin(1500ms));
    ExpectPollingGoesOn();
}

struct Crowd {
    const char* name;
    ConnectionLimits limits;
};

class IdleCrowd : public HostileClients, public ::testing::WithParamInterface<Crowd> {};

TEST_P(IdleCrowd, TwoHundredSlowOrIdleConnectionsShutNobodyOut) {
    Start(GetParam().limits);
    std::vector<std::unique_ptr<RawConnection>> crowd;
    for (int i = 0; i < 200; ++i) {
        crowd.push_back(std::make_unique<RawConnection>(port_));
        if (i % 2 == 0) crowd.back()->Send("GET /printers.json HTTP/1.1\r\n");  // half a head
    }
    for (int round = 0; round < 5; ++round) {
        ExpectHealthy("round " + std::to_string(round) + " with 200 connections open");
        std::this_thread::sleep_for(100ms);
    }
    const auto page = test::TestClient(port_).Get("/printers.json");
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->status, 200);
    ExpectPollingGoesOn();
}

ConnectionLimits Limits(size_t overall, size_t per_client) {
    ConnectionLimits limits;
    limits.max_connections = overall;
    limits.max_per_client = per_client;
    return limits;
}

INSTANTIATE_TEST_SUITE_P(Caps, IdleCrowd,
                         ::testing::Values(Crowd{"Defaults", ConnectionLimits{}}, Crowd{"RoomForAll", Limits(300, 300)},
                                           Crowd{"OverallCap", Limits(64, 300)}, Crowd{"ClientCap", Limits(300, 16)}),
                         [](const ::testing::TestParamInfo<Crowd>& crowd) { return std::string(crowd.param.name); });

TEST_F(HostileClients, HeaderFloodsAreRefusedWith431) {
    Start();
    // 40 KiB of header lines in one go: over the 32 KiB a connection may hold.
    std::string some;
    for (int i = 0; i < 5; ++i) some += "X-Fill-" + std::to_string(i) + ": " + std::string(8000, 'a') + "\r\n";
    const auto refused = test::Exchange(port_, Request("/", some));
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->status, 431);
    // Many short lines: refused by count.
    std::string many;
    for (int i = 0; i < 150; ++i) many += "X-" + std::to_string(i) + ": 1\r\n";
    const auto counted = test::Exchange(port_, Request("/", many));
    ASSERT_TRUE(counted.has_value());
    EXPECT_EQ(counted->status, 431);

    // Eight clients at once, each trying 12,500 lines of 8 KB (100 MB).
    PeakMemory memory;
    const std::string line = "X-Fill: " + std::string(8000, 'b') + "\r\n";
    std::atomic<int> cut_off{0};
    std::vector<std::thread> clients;
    for (int c = 0; c < 8; ++c) {
        clients.emplace_back([&] {
            RawConnection flood(port_);
            bool open = flood.Send("GET / HTTP/1.1\r\nHost: localhost\r\n");
            int sent = 0;
            while (open && sent < 12500) {
                open = flood.Send(line);
                ++sent;
            }
            if (sent < 12500) ++cut_off;
        });
    }
    ExpectHealthy("during the header floods");
    for (auto& client : clients) client.join();
    EXPECT_EQ(cut_off.load(), 8);
    EXPECT_LT(memory.GrowthKiB(), kMemoryBoundKiB);
    ExpectHealthy("after the header floods");
    ExpectPollingGoesOn();
}

TEST_F(HostileClients, OnlyLoopbackHostNamesAreAnswered) {
    Start(ConnectionLimits{}, {"printers.example"});
    const auto foreign = test::Exchange(port_, "GET /printers.json HTTP/1.1\r\nHost: attacker.example\r\n\r\n");
    ASSERT_TRUE(foreign.has_value());
    EXPECT_EQ(foreign->status, 421);
    EXPECT_EQ(foreign->body.find("printers"), std::string::npos);
    EXPECT_TRUE(Json::accept(foreign->body));
    for (const std::string& host : {"localhost:" + std::to_string(port_), std::string("127.0.0.1"),
                                   std::string("printers.example")}) {
        const auto answer = test::Exchange(port_, "GET /printers.json HTTP/1.1\r\nHost: " + host + "\r\n\r\n");
        ASSERT_TRUE(answer.has_value()) << host;
        EXPECT_EQ(answer->status, 200) << host;
    }
    const auto old = test::Exchange(port_, "GET /healthz HTTP/1.0\r\n\r\n");
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->status, 200);
    const auto method = test::Exchange(port_, "DELETE /printers.json HTTP/1.1\r\nHost: localhost\r\n\r\n");
    ASSERT_TRUE(method.has_value());
    EXPECT_EQ(method->status, 405);
}

}  // namespace
}  // namespace tb58mon
