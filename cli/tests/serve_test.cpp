// The fleet service over loopback: 20 simulated network printers with mixed
// scenarios and faults, polled concurrently, read back through HTTP as JSON,
// pictures and metrics.  Every wait is bounded; servers are started here on
// 127.0.0.1 and stop with the test.
#include <gtest/gtest.h>

#include <asio.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <thread>

#include "http_test_client.h"
#include "report/record_report.h"
#include "serve/fleet_poller.h"
#include "serve/http_service.h"
#include "sim/network_printer.h"
#include "sim/scenario_library.h"
#include "sim/snmp_agent.h"

namespace tb58mon {
namespace {

using namespace std::chrono_literals;

struct Fleet {
    std::vector<std::unique_ptr<NetworkPrinter>> printers;
    FleetConfig config;
};

// Printer i serves scenario i of the built-in ones, in turn (p0-all-well,
// p1-finisher-full, ..., p7-tray-empty, p8-waste-nearly-full, p9-all-well,
// ...), its device ID through an agent of its own; p5 stalls, p7 trickles,
// p8 sends unsolicited status, p9 NUL/EOT.
Fleet StartFleet(size_t count, bool snmp) {
    Fleet fleet;
    const auto files = EmbeddedScenarioFiles();
    for (size_t i = 0; i < count; ++i) {
        NetworkPrinterConfig config;
        if (snmp) {
            // Free UDP ports: one that was bound a moment ago is free.
            asio::io_context io;
            asio::ip::udp::socket probe(io, asio::ip::udp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
            config.snmp_port = probe.local_endpoint().port();
        }
        if (i == 5) config.faults.stall_after = 100;
        if (i == 7) config.faults.trickle = true;
        if (i == 8) config.faults.ustatus = true;
        if (i == 9) config.faults.nul_prefix = true;
        const EmbeddedFile& file = files[i % files.size()];
        fleet.printers.push_back(std::make_unique<NetworkPrinter>(ParseScenario(file.name, file.text), config));
        PrinterConfig printer;
        printer.name = "p" + std::to_string(i) + "-" + std::string(file.name);
        printer.uri = "socket://127.0.0.1:" + std::to_string(fleet.printers.back()->pjl_port());
        printer.settings.interval = 0.3;
        printer.settings.timeout = 1;
        printer.settings.snmp = snmp;
        printer.settings.snmp_port = fleet.printers.back()->snmp_port();
        fleet.config.printers.push_back(printer);
    }
    return fleet;
}

// Waits (at most 20 s) until check holds for the snapshot.
bool WaitFor(const FleetPoller& poller, const std::function<bool(const FleetSnapshot&)>& check) {
    for (int i = 0; i < 400; ++i) {
        if (check(*poller.Snapshot())) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

bool EveryPrinterPolled(const FleetSnapshot& snapshot) {
    for (const auto& view : snapshot.printers) {
        if (view->cycles == 0) return false;
    }
    return true;
}

// The value of a metric line with exactly these labels, or NaN.
double Metric(const std::string& text, const std::string& name, const std::string& labels) {
    const std::string prefix = name + "{" + labels + "} ";
    const size_t at = text.find("\n" + prefix);
    if (at == std::string::npos) return std::nan("");
    return std::stod(text.substr(at + 1 + prefix.size()));
}

class FleetService : public ::testing::Test {
protected:
    void Start(size_t count, bool snmp) {
        fleet_ = StartFleet(count, snmp);
        PollerOptions options;
        options.max_in_flight = 6;
        poller_ = std::make_unique<FleetPoller>(fleet_.config, options, metrics_);
        http_ = std::make_unique<HttpService>([this] { return poller_->Snapshot(); }, [this] { return metrics_.Text(); },
                                              HttpServiceOptions{});
        port_ = http_->Start("127.0.0.1", 0);
        client_ = std::make_unique<test::TestClient>(port_);
    }
    void TearDown() override {
        client_.reset();
        http_.reset();
        poller_.reset();
    }
    const PrinterView& View(const std::string& name) {
        for (const auto& view : poller_->Snapshot()->printers) {
            if (view->name == name) return *view;
        }
        throw std::runtime_error("no printer " + name);
    }

    Fleet fleet_;
    FleetMetrics metrics_;
    std::unique_ptr<FleetPoller> poller_;
    std::unique_ptr<HttpService> http_;
    unsigned port_ = 0;
    std::unique_ptr<test::TestClient> client_;
};

TEST_F(FleetService, TwentyPrintersReachTheirStatesInJsonAndMetrics) {
    if (!std::filesystem::exists(std::string(kSnmpdPath))) GTEST_SKIP() << "snmpd is not installed";
    Start(20, true);
    ASSERT_TRUE(WaitFor(*poller_, EveryPrinterPolled));
    // A stalling printer does not hold the others back: while it takes its
    // deadline, every other printer goes through several cycles.
    const uint64_t staller_cycles = View("p5-service-call").cycles;
    ASSERT_TRUE(WaitFor(*poller_, [](const FleetSnapshot& s) {
        for (const auto& view : s.printers) {
            if (view->name != "p5-service-call" && view->cycles < 4) return false;
        }
        return true;
    }));
    EXPECT_LE(View("p5-service-call").cycles, staller_cycles + 2);

    const auto fleet = client_->Get("/printers.json?lang=EN");
    ASSERT_TRUE(fleet);
    ASSERT_EQ(fleet->status, 200);
    const Json json = Json::parse(fleet->body);
    ASSERT_EQ(json["printers"].size(), 20u);
    std::map<std::string, Json> by_name;
    for (const Json& p : json["printers"]) by_name[p["name"]] = p;
    // Worst first.
    EXPECT_EQ(json["printers"][0]["state"], "error");
    EXPECT_EQ(json["printers"][19]["state"], "ready");
    EXPECT_EQ(by_name["p0-all-well"]["state"], "ready");
    EXPECT_EQ(by_name["p0-all-well"]["short"], "Operational");
    EXPECT_EQ(by_name["p2-jam-tray2-lct"]["state"], "error");
    EXPECT_EQ(by_name["p2-jam-tray2-lct"]["short"], "Paper Misfeed");
    EXPECT_EQ(by_name["p5-service-call"]["state"], "no response");  // it stalls
    EXPECT_EQ(by_name["p5-service-call"]["short"], "No Response from Machine");
    EXPECT_EQ(by_name["p4-no-response"]["state"], "no response");  // answers its first round only
    EXPECT_EQ(by_name["p14-service-call"]["codes"], Json::array({40800}));
    EXPECT_EQ(by_name["p6-toner-low"]["toner"], "low");
    EXPECT_EQ(by_name["p6-toner-low"]["state"], "attention");
    // Trickled, with unsolicited status, with NUL/EOT: answered all the same.
    EXPECT_EQ(by_name["p7-tray-empty"]["codes"], Json::array({41401}));
    EXPECT_EQ(by_name["p8-waste-nearly-full"]["codes"], Json::array({10032}));
    EXPECT_EQ(by_name["p9-all-well"]["state"], "ready");
    EXPECT_EQ(by_name["p10-finisher-full"]["codes"], Json::array({40341}));

    // One printer, with its record, in Japanese.
    const auto one = client_->Get("/printers/p2-jam-tray2-lct.json?lang=jp");
    ASSERT_TRUE(one);
    ASSERT_EQ(one->status, 200);
    const Json jam = Json::parse(one->body);
    EXPECT_NE(jam["short"], "Paper Misfeed");
    EXPECT_EQ(jam["record"]["pEngineStatus"][0]["dwCode"], 42000);
    // Its picture.
    const auto png = client_->Get("/printers/p2-jam-tray2-lct.png");
    ASSERT_TRUE(png);
    EXPECT_EQ(png->status, 200);
    EXPECT_EQ(png->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(png->body.substr(1, 3), "PNG");

    const auto metrics = client_->Get("/metrics");
    ASSERT_TRUE(metrics);
    const std::string text = "\n" + metrics->body;
    EXPECT_EQ(Metric(text, "tb58_printer_up", "printer=\"p0-all-well\""), 1);
    EXPECT_EQ(Metric(text, "tb58_printer_up", "printer=\"p5-service-call\""), 0);
    EXPECT_EQ(Metric(text, "tb58_printer_engine_status_code", "printer=\"p2-jam-tray2-lct\""), 42000);
    EXPECT_EQ(Metric(text, "tb58_printer_error", "printer=\"p2-jam-tray2-lct\""), 1);
    EXPECT_EQ(Metric(text, "tb58_printer_toner_state", "printer=\"p6-toner-low\""), 1);
    EXPECT_DOUBLE_EQ(Metric(text, "tb58_printer_tray_level_ratio", "printer=\"p0-all-well\",tray=\"Tray 1\""),
                     by_name["p0-all-well"]["trays"][0]["level"].get<double>() / 100);
    EXPECT_GE(Metric(text, "tb58_poll_errors_total", "kind=\"timed_out\",printer=\"p5-service-call\""), 1);
    // Every line is a comment or "name{labels} value", label values from
    // names only; promtool, where it is installed, agrees.
    const std::regex line(R"((#.*)|([a-z_0-9]+(\{([a-z_]+="[A-Za-z0-9 _.\-+]*",?)*\})? [-+0-9.e]+|[-+]Inf))");
    std::istringstream lines(metrics->body);
    for (std::string l; std::getline(lines, l);) EXPECT_TRUE(std::regex_match(l, line)) << l;
    if (std::filesystem::exists("/usr/bin/promtool")) {
        const std::string file = "serve_test_metrics.txt";
        std::ofstream(file) << metrics->body;
        EXPECT_EQ(std::system(("/usr/bin/promtool check metrics < " + file).c_str()), 0);
        std::remove(file.c_str());
    }
}

TEST_F(FleetService, AStoppedPrinterBecomesNoResponseAndRecovers) {
    Start(3, false);
    ASSERT_TRUE(WaitFor(*poller_, EveryPrinterPolled));
    const std::string name = fleet_.config.printers[0].name;
    EXPECT_NE(View(name).health, PrinterHealth::kNoResponse);
    fleet_.printers[0]->SetAvailable(false);
    ASSERT_TRUE(WaitFor(*poller_, [&](const FleetSnapshot&) { return View(name).health == PrinterHealth::kNoResponse; }));
    EXPECT_EQ(View(name).failure_kind, "connection refused");
    EXPECT_FALSE(View(name).trays.empty());  // what was known stays
    fleet_.printers[0]->SetAvailable(true);
    ASSERT_TRUE(WaitFor(*poller_, [&](const FleetSnapshot&) { return View(name).health != PrinterHealth::kNoResponse; }));
}

TEST_F(FleetService, BadRequestsGetAClear4xx) {
    Start(1, false);
    EXPECT_EQ(client_->Get("/healthz")->status, 200);
    const auto unknown = client_->Get("/printers/nobody.json");
    EXPECT_EQ(unknown->status, 404);
    EXPECT_NE(unknown->body.find("no printer named 'nobody'"), std::string::npos);
    EXPECT_EQ(client_->Get("/printers/nobody.png")->status, 404);
    EXPECT_EQ(client_->Get("/printers/a%2F..%2Fb.json")->status, 404);
    EXPECT_EQ(client_->Get("/nothing-here")->status, 404);
    const auto language = client_->Get("/printers.json?lang=XX");
    EXPECT_EQ(language->status, 400);
    EXPECT_NE(language->body.find("unknown language 'XX'"), std::string::npos);
    EXPECT_EQ(client_->Get("/?lang=klingon")->status, 400);
    EXPECT_EQ(client_->Post("/printers.json", "x", "text/plain")->status, 405);
    EXPECT_EQ(client_->Post("/metrics", std::string(100000, 'x'), "text/plain")->status, 413);
    const auto long_path = client_->Get("/" + std::string(20000, 'a'));
    EXPECT_TRUE(!long_path || long_path->status == 414 || long_path->status == 400);
    // The service still answers.
    const auto page = client_->Get("/?lang=ja");
    EXPECT_EQ(page->status, 400);
    const auto ok = client_->Get("/?lang=jp");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 200);
    EXPECT_NE(ok->body.find(fleet_.config.printers[0].name), std::string::npos);
}

TEST_F(FleetService, ReloadKeepsThePrintersThatStay) {
    Start(2, false);
    ASSERT_TRUE(WaitFor(*poller_, EveryPrinterPolled));
    const std::string kept = fleet_.config.printers[0].name;
    const uint64_t cycles = View(kept).cycles;
    FleetConfig next;
    next.printers.push_back(fleet_.config.printers[0]);
    PrinterConfig added;
    added.name = "added";
    added.uri = "sim:jam-tray2-lct";
    added.settings.interval = 0.2;
    next.printers.push_back(added);
    poller_->Reload(next);
    const auto snapshot = poller_->Snapshot();
    ASSERT_EQ(snapshot->printers.size(), 2u);
    EXPECT_GE(View(kept).cycles, cycles);  // its state stayed
    EXPECT_EQ(snapshot->printers[1]->name, "added");
    ASSERT_TRUE(WaitFor(*poller_, EveryPrinterPolled));
    EXPECT_EQ(View("added").health, PrinterHealth::kError);
    EXPECT_EQ(client_->Get("/printers/" + fleet_.config.printers[1].name + ".json")->status, 404);
    // Gone from the metrics too.
    EXPECT_EQ(metrics_.Text().find("printer=\"" + fleet_.config.printers[1].name + "\""), std::string::npos);
}

}  // namespace
}  // namespace tb58mon
