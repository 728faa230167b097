// The status service's routes without a socket: every route, the
// language parameter, bytes that are not UTF-8 in the path and the query,
// the Host rule, methods, and the limits on what a request may declare.
// Every error body must be JSON whatever the request held.
#include <gtest/gtest.h>

#include <stdexcept>

#include "sample_fleet.h"
#include "serve/http_router.h"

namespace tb58mon {
namespace {

class Router : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fleet_ = new std::shared_ptr<const FleetSnapshot>(test::SampleFleet()); }
    static void TearDownTestSuite() {
        delete fleet_;
        fleet_ = nullptr;
    }

    void SetUp() override {
        sources_.snapshot = [] { return *fleet_; };
        sources_.metrics = [] { return std::string("tb58_printer_up{printer=\"ready\"} 1\n"); };
        options_.hosts = HostRuleFor("127.0.0.1", {});
    }

    HttpReply Ask(const std::string& path, HttpFields query = {}, std::string method = "GET",
                  HttpFields headers = {{"Host", "127.0.0.1:8631"}}) const {
        return RouteRequest(HttpRequest{std::move(method), path, std::move(query), std::move(headers)}, sources_,
                            options_);
    }

    // The body as JSON; fails the test when it is not.
    static Json Body(const HttpReply& reply) {
        Json json;
        EXPECT_NO_THROW(json = Json::parse(reply.body)) << reply.body;
        return json;
    }

    static std::string Header(const HttpReply& reply, const std::string& name) {
        for (const auto& [key, value] : reply.headers) {
            if (key == name) return value;
        }
        return {};
    }

    static inline std::shared_ptr<const FleetSnapshot>* fleet_ = nullptr;
    RouteSources sources_;
    RouterOptions options_;
};

TEST_F(Router, EveryRouteAnswers) {
    const HttpReply page = Ask("/");
    EXPECT_EQ(page.status, 200u);
    EXPECT_EQ(page.content_type, "text/html; charset=utf-8");
    EXPECT_NE(page.body.find("\"name\":\"jam\""), std::string::npos);
    EXPECT_NE(Header(page, "Content-Security-Policy").find("frame-ancestors 'none'"), std::string::npos);

    const HttpReply fleet = Ask("/printers.json");
    EXPECT_EQ(fleet.status, 200u);
    EXPECT_EQ(fleet.content_type, "application/json; charset=utf-8");
    EXPECT_EQ(Header(fleet, "Cache-Control"), "no-store");
    const Json json = Body(fleet);
    EXPECT_EQ(json["language"], "EN");
    ASSERT_EQ(json["printers"].size(), 4u);
    EXPECT_EQ(json["printers"][0]["name"], "jam");  // worst first
    EXPECT_EQ(json["printers"][1]["name"], "quiet");
    EXPECT_EQ(json["printers"][2]["name"], "new");
    EXPECT_EQ(json["printers"][3]["name"], "ready");
    EXPECT_FALSE(json["printers"][0].contains("record"));

    const HttpReply one = Ask("/printers/jam.json");
    EXPECT_EQ(one.status, 200u);
    EXPECT_EQ(Body(one)["record"]["pEngineStatus"][0]["dwCode"], 42000);

    const HttpReply picture = Ask("/printers/jam.png");
    EXPECT_EQ(picture.status, 200u);
    EXPECT_EQ(picture.content_type, "image/png");
    EXPECT_EQ(Header(picture, "Cache-Control"), "no-cache");
    EXPECT_EQ(picture.body.substr(0, 4), "\x89PNG");
    EXPECT_EQ(Ask("/printers/new.png").status, 200u);  // the waiting printer has its picture too

    EXPECT_EQ(Ask("/metrics").body, "tb58_printer_up{printer=\"ready\"} 1\n");
    EXPECT_EQ(Ask("/metrics").content_type, "text/plain; version=0.0.4; charset=utf-8");
    EXPECT_EQ(Ask("/healthz").body, "ok\n");
    for (const char* path : {"/", "/printers.json", "/printers/ready.json", "/printers/ready.png", "/metrics", "/healthz"}) {
        EXPECT_EQ(Ask(path, {}, "HEAD").status, 200u) << path;
        EXPECT_EQ(Header(Ask(path), "X-Content-Type-Options"), "nosniff") << path;
    }
}

TEST_F(Router, UnknownPathsAndPrintersAre404WithJsonWhateverTheBytes) {
    const HttpReply unknown = Ask("/printers/nobody.json");
    EXPECT_EQ(unknown.status, 404u);
    EXPECT_EQ(Body(unknown)["error"], "no printer named 'nobody'");
    EXPECT_EQ(Ask("/printers/nobody.png").status, 404u);
    EXPECT_EQ(Body(Ask("/printers/" + std::string(64, 'x') + ".json"))["error"],
              "no printer named '" + std::string(64, 'x') + "'");
    for (const std::string& path :
         {std::string("/\xff"), std::string("/printers/\xC3\x28.json"), std::string("/printers/\xC3\x28.png"),
          std::string("/\xed\xa0\x80"), std::string("/\x01\x7f\x1b[2J"), std::string("/a\"b\\c"), std::string(""),
          std::string("//"), std::string("/printers/"), std::string("/printers/.json"), std::string("/printers/a/../b.json"),
          std::string("/printers/a b.json"), "/printers/" + std::string(65, 'x') + ".json", std::string("/printers.json/"),
          std::string("/PRINTERS.JSON"), std::string("/healthz/"), std::string("http://127.0.0.1/healthz"),
          "/" + std::string(8000, '\xff'), std::string("/\0x", 3)}) {
        const HttpReply reply = Ask(path);
        EXPECT_EQ(reply.status, 404u) << path;
        const Json body = Body(reply);
        EXPECT_TRUE(body.is_object() && body["error"].is_string()) << path;
        EXPECT_LT(reply.body.size(), 400u) << path;  // a long path is quoted in part
    }
}

TEST_F(Router, LanguageParameter) {
    const HttpReply unknown = Ask("/printers.json", {{"lang", "XX"}});
    EXPECT_EQ(unknown.status, 400u);
    const std::string message = Body(unknown)["error"];
    EXPECT_NE(message.find("unknown language 'XX'"), std::string::npos);
    EXPECT_NE(message.find("lang"), std::string::npos);
    for (const std::string& value : {std::string("\xff"), std::string("\xC3\x28"), std::string(""), std::string("J"),
                                    std::string("JPN"), std::string("JP\0", 3), std::string(5000, 'A')}) {
        for (const char* path : {"/", "/printers.json", "/printers/jam.json"}) {
            const HttpReply reply = Ask(path, {{"lang", value}});
            EXPECT_EQ(reply.status, 400u) << path;
            EXPECT_TRUE(Body(reply)["error"].is_string()) << path;
        }
    }
    EXPECT_EQ(Body(Ask("/printers.json", {{"lang", "jp"}}))["language"], "JP");
    EXPECT_EQ(Body(Ask("/printers.json", {{"x", "1"}, {"lang", "de"}, {"lang", "XX"}}))["language"], "DE");  // the first
    EXPECT_EQ(Ask("/printers.json", {{"LANG", "XX"}}).status, 200u);  // names are exact
    EXPECT_EQ(Ask("/printers/jam.png", {{"lang", "XX"}}).status, 200u);  // a picture has no language
    EXPECT_EQ(Ask("/healthz", {{"lang", "XX"}}).status, 200u);
}

TEST_F(Router, DefaultLanguage) {
    options_.default_lang = "DE";
    EXPECT_EQ(Body(Ask("/printers.json"))["language"], "DE");
    EXPECT_NE(Ask("/").body.find("\"language\":\"DE\""), std::string::npos);
    const Json jam = Body(Ask("/printers/jam.json"));
    EXPECT_NE(jam["short"], Body(Ask("/printers/jam.json", {{"lang", "EN"}}))["short"]);
    EXPECT_EQ(Body(Ask("/printers.json", {{"lang", "EN"}}))["language"], "EN");  // ?lang= overrides it
}

// The fleet's JSON is made of each view's text, kept per view and
// language: it must follow the language asked, the order of the healths,
// and every new view of a printer.
TEST_F(Router, TheFleetJsonFollowsLanguagesAndNewViews) {
    const Json english = Body(Ask("/printers.json", {{"lang", "EN"}}));
    const Json japanese = Body(Ask("/printers.json", {{"lang", "JP"}}));
    ASSERT_EQ(english["printers"].size(), 4u);
    std::vector<std::string> order;
    for (const Json& printer : english["printers"]) order.push_back(printer["name"]);
    EXPECT_EQ(order, (std::vector<std::string>{"jam", "quiet", "new", "ready"}));  // worst first
    EXPECT_EQ(english["printers"][0]["short"], "Paper Misfeed");
    EXPECT_NE(japanese["printers"][0]["short"], english["printers"][0]["short"]);
    EXPECT_EQ(Body(Ask("/printers.json", {{"lang", "EN"}})), english);  // asked again, the same

    // The jam is cleared: the printer's new view shows it at once.
    auto next = std::make_shared<FleetSnapshot>(**fleet_);
    next->printers[1] = test::ViewAfterOneCycle("jam", "sim:all-well");
    sources_.snapshot = [next] { return next; };
    const Json cleared = Body(Ask("/printers.json", {{"lang", "EN"}}));
    EXPECT_EQ(cleared["printers"][0]["name"], "quiet");  // the worst now
    for (const Json& printer : cleared["printers"]) {
        if (printer["name"] == "jam") {
            EXPECT_EQ(printer["state"], "ready");
        }
    }
    // A copy of a view (new settings) does not take the texts of the one copied.
    PrinterView copy(*next->printers[1]);
    copy.name = "copied";
    EXPECT_EQ(Json::parse(*PrinterJsonText(copy, "EN"))["name"], "copied");
}

TEST_F(Router, OnlyGetAndHeadAreServed) {
    for (const char* method : {"POST", "PUT", "DELETE", "PATCH", "OPTIONS", "TRACE", "CONNECT", "get", "", "G\xffT"}) {
        const HttpReply reply = Ask("/healthz", {}, method);
        EXPECT_EQ(reply.status, 405u) << method;
        EXPECT_EQ(Header(reply, "Allow"), "GET, HEAD");
        EXPECT_EQ(Body(reply)["error"], "only GET is served");
    }
}

TEST_F(Router, HostRule) {
    for (const char* host : {"127.0.0.1:8631", "localhost", "[::1]:8631"}) {
        EXPECT_EQ(Ask("/printers.json", {}, "GET", {{"Host", host}}).status, 200u) << host;
    }
    for (const char* host : {"attacker.example", "attacker.example:8631", "", "\xff"}) {
        const HttpReply reply = Ask("/printers.json", {}, "GET", {{"Host", host}});
        EXPECT_EQ(reply.status, 421u) << host;
        EXPECT_TRUE(Body(reply)["error"].is_string());
    }
    EXPECT_EQ(Ask("/healthz", {}, "GET", {{"host", "attacker.example"}}).status, 421u);  // any case of the name
    EXPECT_EQ(Ask("/printers.json", {}, "GET", {}).status, 200u);                        // HTTP/1.0: no Host
    EXPECT_EQ(Ask("/printers.json", {}, "GET", {{"Host", "localhost"}, {"HOST", "attacker.example"}}).status, 400u);
    options_.hosts = HostRuleFor("127.0.0.1", {"printers.example"});
    EXPECT_EQ(Ask("/", {}, "GET", {{"Host", "printers.example:8631"}}).status, 200u);
    options_.hosts = HostRuleFor("0.0.0.0", {});
    EXPECT_EQ(Ask("/", {}, "GET", {{"Host", "attacker.example"}}).status, 200u);
}

TEST_F(Router, DeclaredBodiesHeaderLinesAndLongTargets) {
    const auto with = [](HttpFields extra) {
        extra.insert(extra.begin(), {"Host", "localhost"});
        return extra;
    };
    EXPECT_EQ(Ask("/healthz", {}, "GET", with({{"Content-Length", "16384"}})).status, 200u);
    EXPECT_EQ(Ask("/healthz", {}, "GET", with({{"Content-Length", "0000000000000016384"}})).status, 200u);
    EXPECT_EQ(Ask("/healthz", {}, "GET", with({{"Content-Length", "0"}})).status, 200u);
    for (const char* length : {"16385", "0000000000016385", "99999999999999999999999999", "1000000"}) {
        EXPECT_EQ(Ask("/healthz", {}, "POST", with({{"content-length", length}})).status, 413u) << length;
    }
    for (const char* length : {"", "-1", "1e3", " 5", "0x10", "5,5"}) {
        EXPECT_EQ(Ask("/healthz", {}, "GET", with({{"Content-Length", length}})).status, 400u) << length;
    }
    HttpFields many = with({});
    while (many.size() < kMostHeaderLines) many.emplace_back("X-Filler", "x");
    EXPECT_EQ(Ask("/healthz", {}, "GET", many).status, 200u);
    many.emplace_back("X-Filler", "x");
    const HttpReply refused = Ask("/healthz", {}, "GET", many);
    EXPECT_EQ(refused.status, 431u);
    EXPECT_TRUE(Body(refused)["error"].is_string());

    EXPECT_EQ(Ask("/" + std::string(kLongestTarget - 1, 'a')).status, 404u);
    EXPECT_EQ(Ask("/" + std::string(kLongestTarget, 'a')).status, 414u);
    EXPECT_EQ(Ask("/healthz", {{"q", std::string(kLongestTarget, 'a')}}).status, 414u);
}

TEST_F(Router, InternalErrorsShowNoDetail) {
    sources_.snapshot = []() -> std::shared_ptr<const FleetSnapshot> {
        throw std::runtime_error("secret: /etc/tb58/fleet.toml line 3");
    };
    sources_.metrics = []() -> std::string { throw std::logic_error("secret: registry"); };
    for (const char* path : {"/", "/printers.json", "/printers/jam.json", "/printers/jam.png", "/metrics"}) {
        const HttpReply reply = Ask(path);
        EXPECT_EQ(reply.status, 500u) << path;
        EXPECT_EQ(Body(reply)["error"], "internal error");
        EXPECT_EQ(reply.body.find("secret"), std::string::npos);
    }
    EXPECT_EQ(Ask("/healthz").status, 200u);  // needs neither
    sources_.snapshot = [] { return std::shared_ptr<const FleetSnapshot>(); };
    EXPECT_EQ(Body(Ask("/printers.json"))["printers"].size(), 0u);  // no snapshot yet: an empty fleet
    EXPECT_EQ(Ask("/printers/jam.json").status, 404u);
}

}  // namespace
}  // namespace tb58mon
