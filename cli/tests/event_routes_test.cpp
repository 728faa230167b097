// The history routes over a real event store in a test folder, fed from
// the sample fleet's views: paging, every parameter at its edges and in
// hostile forms, the texts in the display languages, the last events in
// /printers.json, and a store that cannot be read.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "events/event_store.h"
#include "events/view_observation.h"
#include "sample_fleet.h"
#include "serve/http_router.h"
#include "test_folder.h"

namespace tb58mon {
namespace {

constexpr int32_t kJam = 42000;

class EventRoutes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fleet_ = new std::shared_ptr<const FleetSnapshot>(test::SampleFleet()); }
    static void TearDownTestSuite() {
        delete fleet_;
        fleet_ = nullptr;
    }

    void SetUp() override {
        EventStoreOptions options;
        options.directory = folder_.path();
        options.batch_interval = std::chrono::milliseconds(5);
        store_ = std::make_unique<EventStore>(options);
        sources_.snapshot = [] { return *fleet_; };
        sources_.read_events = [this](const std::function<void(sqlite3*)>& read) { return store_->Read(read); };
        sources_.recent_events = [this] { return store_->Recent(); };
        const int64_t clock =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        // The two hours of observations below stay within one UTC day: in
        // the first two hours of a day they would end the day before, and
        // the store would add that day's pages event.
        const int64_t into_day = clock % 86400;
        now_ = into_day >= 7200 + 60 ? clock : clock - into_day - 60;
        // Each printer of the fleet as its views are, then the jam cleared and back 60 times.
        for (const auto& view : (*fleet_)->printers) {
            PrinterObservation seen = ObservationOfView(*view, now_);
            seen.time = now_ - 7200;
            store_->Observe(view->name, view->uri, seen);
        }
        for (int i = 0; i < 60; ++i) {
            PrinterObservation ready;
            ready.time = now_ - 3600 + 20 * i;
            ready.health = PrinterHealth::kReady;
            ready.toner = TonerLevel::kOk;
            PrinterObservation jam = ready;
            jam.time += 10;
            jam.health = PrinterHealth::kError;
            jam.codes = {kJam};
            store_->Observe("jam", "sim:jam-tray2-lct", ready);
            store_->Observe("jam", "sim:jam-tray2-lct", jam);
        }
        store_->Flush();
    }

    HttpReply Ask(const std::string& path, HttpFields query = {}) const {
        return RouteRequest(HttpRequest{"GET", path, std::move(query), {{"Host", "127.0.0.1"}}}, sources_, options_);
    }

    static Json Body(const HttpReply& reply) {
        Json json;
        EXPECT_NO_THROW(json = Json::parse(reply.body)) << reply.body;
        return json;
    }

    // The error of a 400 answer; fails the test for any other.
    std::string BadRequest(const std::string& path, HttpFields query) const {
        const HttpReply reply = Ask(path, std::move(query));
        EXPECT_EQ(reply.status, 400u) << path << " " << reply.body;
        return Body(reply).value("error", "");
    }

    static inline std::shared_ptr<const FleetSnapshot>* fleet_ = nullptr;
    TestFolder folder_;
    std::unique_ptr<EventStore> store_;
    RouteSources sources_;
    RouterOptions options_;
    int64_t now_ = 0;
};

TEST_F(EventRoutes, TheFirstViewsGiveTheirEventsWithTexts) {
    const Json events = Body(Ask("/events.json", {{"before", "4"}}))["events"];
    // From the baseline (ready): the jammed printer's health and code, the silent one's health.
    std::multiset<std::string> kinds;
    for (const Json& event : events)
        kinds.insert(event["printer"].get<std::string>() + ":" + event["kind"].get<std::string>());
    EXPECT_EQ(kinds.count("jam:health"), 1u) << events.dump();
    EXPECT_EQ(kinds.count("jam:code_began"), 1u) << events.dump();
    EXPECT_EQ(kinds.count("quiet:health"), 1u) << events.dump();
    EXPECT_EQ(kinds.count("ready:health"), 0u) << events.dump();
    for (const Json& event : events) {
        for (const char* field :
             {"id", "printer", "uri", "time", "kind", "health", "previous_health", "code", "codes", "tray", "tray_name",
              "level", "toner", "previous_toner", "value", "day", "short", "long"}) {
            EXPECT_TRUE(event.contains(field)) << field;
        }
        if (event["kind"] == "code_began") {
            EXPECT_TRUE(event["short"].is_string());
        }
    }
}

TEST_F(EventRoutes, PagesGoBackwardsWithoutGapsOrRepeats) {
    std::string path = "/events.json";
    HttpFields query = {{"limit", "7"}, {"printer", "jam"}, {"lang", "de"}};
    std::set<int64_t> seen;
    int64_t last = INT64_MAX;
    for (int pages = 0; pages < 100; ++pages) {
        const Json body = Body(Ask(path, query));
        EXPECT_EQ(body["language"], "DE");
        ASSERT_LE(body["events"].size(), 7u);
        for (const Json& event : body["events"]) {
            EXPECT_EQ(event["printer"], "jam");
            const int64_t id = event["id"];
            EXPECT_LT(id, last);
            last = id;
            seen.insert(id);
        }
        if (body["next"].is_null()) break;
        // The link as a client follows it.
        const std::string next = body["next"];
        ASSERT_EQ(next.rfind("/events.json?printer=jam&before=", 0), 0u) << next;
        EXPECT_NE(next.find("&lang=DE"), std::string::npos) << next;
        query = {{"printer", "jam"}, {"before", std::to_string(last)}, {"limit", "7"}, {"lang", "de"}};
    }
    // 2 at first (health, code_began), then 4 for each of 60 rounds.
    EXPECT_EQ(seen.size(), 2u + 60u * 4u);
    // An exact last page has no next.
    const Json exact = Body(Ask("/events.json", {{"printer", "quiet"}, {"limit", "1"}}));
    EXPECT_EQ(exact["events"].size(), 1u);
    EXPECT_TRUE(exact["next"].is_null());
}

TEST_F(EventRoutes, SinceAndThePrinterRoute) {
    const std::string since = RfcTime(now_ - 3600 + 20 * 50);
    const Json body = Body(Ask("/printers/jam/events.json", {{"since", since}, {"limit", "1000"}}));
    EXPECT_EQ(body["events"].size(), 40u);  // the last 10 rounds
    for (const Json& event : body["events"]) EXPECT_GE(event["time"].get<std::string>(), since);
    // With an offset, and later than everything: none.
    EXPECT_EQ(Body(Ask("/events.json", {{"since", RfcTime(now_ + 3600).substr(0, 19) + "+00:00"}}))["events"].size(),
              0u);
    const Json paged = Body(Ask("/printers/jam/events.json", {{"limit", "1"}}));
    EXPECT_EQ(paged["next"].get<std::string>().rfind("/printers/jam/events.json?before=", 0), 0u);
    EXPECT_EQ(Ask("/printers/nobody/events.json").status, 404u);
    EXPECT_EQ(Ask("/printers/events.json").status, 404u);  // a printer named "events" (there is none)
    EXPECT_EQ(Ask("/printers//events.json").status, 404u);
    EXPECT_EQ(Ask("/printers/a/b/events.json").status, 404u);
}

TEST_F(EventRoutes, EveryParameterIsCheckedAtItsEdges) {
    EXPECT_EQ(Ask("/events.json", {{"limit", "1"}}).status, 200u);
    EXPECT_EQ(Ask("/events.json", {{"limit", "1000"}}).status, 200u);
    EXPECT_EQ(Ask("/events.json", {{"before", "9223372036854775807"}}).status, 200u);
    EXPECT_EQ(Ask("/events.json", {{"before", "1"}}).status, 200u);
    const std::pair<std::string, std::string> bad[] = {{"limit", "0"},
                                                       {"limit", "1001"},
                                                       {"limit", "-1"},
                                                       {"limit", ""},
                                                       {"limit", "1e2"},
                                                       {"limit", " 5"},
                                                       {"before", "0"},
                                                       {"before", "9223372036854775808"},
                                                       {"before", "99999999999999999999999"},
                                                       {"before", "-5"},
                                                       {"since", "yesterday"},
                                                       {"since", "2026-12-10T12:00:00"},
                                                       {"since", "2026-02-30T00:00:00Z"},
                                                       {"printer", "a b"},
                                                       {"printer", "\xff\xfe"},
                                                       {"printer", std::string(65, 'x')},
                                                       {"printer", ""}};
    for (const auto& [name, value] : bad) {
        const std::string error = BadRequest("/events.json", {{name, value}});
        EXPECT_NE(error.find("parameter " + name), std::string::npos)
            << name << "=" << value << ": " << error;
    }
    EXPECT_NE(BadRequest("/events.json", {{"limit", "5"}, {"limit", "6"}}).find("twice"), std::string::npos);
    EXPECT_NE(BadRequest("/events.json", {{"lang", "XX"}}).find("lang"), std::string::npos);
    EXPECT_NE(BadRequest("/events.json", {{"since", "\xc3\x28"}}).find("since"), std::string::npos);
    EXPECT_EQ(Ask("/history.json", {{"hours", "1"}}).status, 200u);
    EXPECT_EQ(Ask("/history.json", {{"hours", "168"}}).status, 200u);
    for (const char* hours : {"0", "169", "24h", "", "-1"}) {
        EXPECT_NE(BadRequest("/history.json", {{"hours", hours}}).find("parameter hours"), std::string::npos) << hours;
    }
}

TEST_F(EventRoutes, TheHistoryGivesEachPrintersSpans) {
    const Json body = Body(Ask("/history.json", {{"hours", "3"}}));
    ASSERT_EQ(body["printers"].size(), (*fleet_)->printers.size());
    for (const Json& printer : body["printers"]) {
        if (printer["name"] == "quiet") {
            ASSERT_EQ(printer["spans"].size(), 1u);
            EXPECT_EQ(printer["spans"][0]["health"], "no_response");
            EXPECT_TRUE(printer["spans"][0]["to"].is_null());
        } else if (printer["name"] == "jam") {
            // Jams 10 s apart are one span (joined), still open.
            ASSERT_GE(printer["spans"].size(), 1u);
            EXPECT_EQ(printer["spans"].back()["health"], "error");
            EXPECT_EQ(printer["spans"].back()["codes"], Json::array({kJam}));
        } else {
            EXPECT_TRUE(printer["spans"].empty()) << printer.dump();
        }
    }
    // A window of one hour cuts the spans that began before it.
    const Json hour = Body(Ask("/history.json", {{"hours", "1"}}));
    EXPECT_EQ(*ParseRfcTime(hour["to"].get<std::string>()) - *ParseRfcTime(hour["from"].get<std::string>()), 3600);
    for (const Json& printer : hour["printers"]) {
        for (const Json& span : printer["spans"])
            EXPECT_GE(span["from"].get<std::string>(), hour["from"].get<std::string>());
    }
}

TEST_F(EventRoutes, AFlappingPrinterKeepsItsNewestThousandSpans) {
    // A store of its own, where one printer of the fleet jammed 1,100 times
    // two minutes apart: spans too far apart to be joined.
    TestFolder folder;
    EventStoreOptions options;
    options.directory = folder.path();
    options.batch_interval = std::chrono::milliseconds(5);
    EventStore store(options);
    const std::string name = (*fleet_)->printers.front()->name;
    const int64_t first = now_ - 150'000;
    for (int i = 0; i < 1100; ++i) {
        PrinterObservation ready;
        ready.time = first + 120 * i;
        ready.health = PrinterHealth::kReady;
        ready.toner = TonerLevel::kOk;
        PrinterObservation jam = ready;
        jam.time += 10;
        jam.health = PrinterHealth::kError;
        jam.codes = {kJam};
        store.Observe(name, "sim:flapping", jam);
        store.Observe(name, "sim:flapping", ready);
    }
    store.Flush();
    RouteSources sources = sources_;
    sources.read_events = [&store](const std::function<void(sqlite3*)>& read) { return store.Read(read); };
    const HttpReply reply =
        RouteRequest(HttpRequest{"GET", "/history.json", {{"hours", "48"}}, {{"Host", "127.0.0.1"}}}, sources, options_);
    const Json body = Body(reply);
    for (const Json& printer : body["printers"]) {
        if (printer["name"] != name) continue;
        ASSERT_EQ(printer["spans"].size(), 1000u);
        EXPECT_EQ(printer.value("omitted", 0), 100);
        // The newest are kept.
        EXPECT_EQ(printer["spans"].back()["from"], RfcTime(first + 120 * 1099 + 10));
        return;
    }
    FAIL() << "printer not in /history.json";
}

TEST_F(EventRoutes, PrintersJsonHoldsTheLastFiveEventsInTheLanguage) {
    const Json en = Body(Ask("/printers.json"));
    const Json jp = Body(Ask("/printers.json", {{"lang", "JP"}}));
    for (size_t i = 0; i < en["printers"].size(); ++i) {
        const Json& printer = en["printers"][i];
        ASSERT_TRUE(printer["events"].is_array()) << printer.dump();
        if (printer["name"] == "jam") {
            ASSERT_EQ(printer["events"].size(), 5u);
            EXPECT_GT(printer["events"][0]["id"], printer["events"][4]["id"]);
            const Json& began =
                printer["events"][0]["kind"] == "code_began" ? printer["events"][0] : printer["events"][1];
            EXPECT_NE(began["short"], jp["printers"][i]["events"][began == printer["events"][0] ? 0 : 1]["short"]);
        }
        if (printer["name"] == "ready") {
            EXPECT_TRUE(printer["events"].empty());
        }
    }
}

TEST_F(EventRoutes, NoStoreOrAnUnreadableOneIs503) {
    RouteSources without = sources_;
    without.read_events = nullptr;
    without.recent_events = nullptr;
    for (const char* path : {"/events.json", "/history.json", "/printers/jam/events.json"}) {
        EXPECT_EQ(RouteRequest(HttpRequest{"GET", path, {}, {}}, without, options_).status, 503u) << path;
    }
    EXPECT_EQ(
        Body(RouteRequest(HttpRequest{"GET", "/printers.json", {}, {}}, without, options_))["printers"][0]["events"],
        Json::array());
    store_.reset();
    std::ofstream(folder_ / "events.db", std::ios::binary | std::ios::trunc) << std::string(4096, '\x01');
    std::remove((folder_ / "events.db-wal").c_str());
    EventStoreOptions options;
    options.directory = folder_.path();
    store_ = std::make_unique<EventStore>(options);
    EXPECT_EQ(Ask("/events.json").status, 503u);
    EXPECT_EQ(Ask("/history.json").status, 503u);
}

}  // namespace
}  // namespace tb58mon
