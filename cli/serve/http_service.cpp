#include "serve/http_service.h"

#include <httplib.h>

#include <algorithm>
#include <thread>

#include "base/cli_error.h"
#include "serve/status_page.h"

namespace tb58mon {
namespace {

constexpr size_t kLargestBody = 16 * 1024;

void SendError(httplib::Response& response, int status, const std::string& message) {
    response.status = status;
    response.set_content(Json{{"error", message}}.dump(), "application/json");
}

void SendJson(httplib::Response& response, const Json& json) {
    response.set_header("Cache-Control", "no-store");
    response.set_content(json.dump(-1, ' ', false, Json::error_handler_t::replace), "application/json; charset=utf-8");
}

// The ?lang= of a request, or the fleet's default; empty after an error
// response for a language that does not exist.
std::string RequestLanguage(const httplib::Request& request, httplib::Response& response) {
    if (!request.has_param("lang")) return "EN";
    const std::string code = LanguageCode(request.get_param_value("lang"));
    if (code.empty()) {
        std::string known;
        for (std::string_view language : LanguageCodes()) known += (known.empty() ? "" : " ") + std::string(language);
        SendError(response, 400, "unknown language '" + request.get_param_value("lang") + "' (known: " + known + ")");
    }
    return code;
}

std::shared_ptr<const PrinterView> FindPrinter(const FleetSnapshot& snapshot, const std::string& name) {
    for (const auto& view : snapshot.printers) {
        if (view->name == name) return view;
    }
    return nullptr;
}

}  // namespace

Json FleetJson(const FleetSnapshot& snapshot, std::string_view lang) {
    std::vector<std::shared_ptr<const PrinterView>> printers = snapshot.printers;
    std::stable_sort(printers.begin(), printers.end(), [](const auto& a, const auto& b) {
        if (a->health != b->health) return a->health < b->health;
        return a->name < b->name;
    });
    Json list = Json::array();
    for (const auto& view : printers) list.push_back(PrinterJson(*view, lang, false));
    return {{"language", std::string(lang)}, {"printers", list}};
}

struct HttpService::Impl {
    Impl(const FleetPoller& fleet_poller, const FleetMetrics& fleet_metrics)
        : poller(fleet_poller), metrics(fleet_metrics) {}
    const FleetPoller& poller;
    const FleetMetrics& metrics;
    httplib::Server server;
    std::thread thread;
};

HttpService::HttpService(const FleetPoller& poller, const FleetMetrics& metrics)
    : impl_(std::make_unique<Impl>(poller, metrics)) {
    httplib::Server& server = impl_->server;
    Impl& impl = *impl_;
    server.set_payload_max_length(kLargestBody);
    server.set_read_timeout(5, 0);
    server.set_write_timeout(5, 0);
    server.set_keep_alive_timeout(5);

    server.Get("/", [&impl](const httplib::Request& request, httplib::Response& response) {
        const std::string lang = RequestLanguage(request, response);
        if (lang.empty()) return;
        response.set_header("Cache-Control", "no-store");
        response.set_content(StatusPageHtml(FleetJson(*impl.poller.Snapshot(), lang), lang), "text/html; charset=utf-8");
    });
    server.Get("/printers.json", [&impl](const httplib::Request& request, httplib::Response& response) {
        const std::string lang = RequestLanguage(request, response);
        if (!lang.empty()) SendJson(response, FleetJson(*impl.poller.Snapshot(), lang));
    });
    server.Get(R"(/printers/([A-Za-z0-9_.\-]{1,64})\.json)", [&impl](const httplib::Request& request,
                                                                    httplib::Response& response) {
        const std::string lang = RequestLanguage(request, response);
        if (lang.empty()) return;
        const auto view = FindPrinter(*impl.poller.Snapshot(), request.matches[1]);
        if (view == nullptr) return SendError(response, 404, "no printer named '" + std::string(request.matches[1]) + "'");
        SendJson(response, PrinterJson(*view, lang, true));
    });
    server.Get(R"(/printers/([A-Za-z0-9_.\-]{1,64})\.png)", [&impl](const httplib::Request& request,
                                                                   httplib::Response& response) {
        const auto view = FindPrinter(*impl.poller.Snapshot(), request.matches[1]);
        if (view == nullptr) return SendError(response, 404, "no printer named '" + std::string(request.matches[1]) + "'");
        response.set_header("Cache-Control", "no-cache");
        response.set_content(*view->png, "image/png");
    });
    server.Get("/metrics", [&impl](const httplib::Request&, httplib::Response& response) {
        response.set_content(impl.metrics.Text(), "text/plain; version=0.0.4; charset=utf-8");
    });
    server.Get("/healthz", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("ok\n", "text/plain");
    });
    auto not_allowed = [](const httplib::Request&, httplib::Response& response) {
        SendError(response, 405, "only GET is served");
    };
    server.Post(".*", not_allowed);
    server.Put(".*", not_allowed);
    server.Delete(".*", not_allowed);
    server.Patch(".*", not_allowed);
    server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (response.status == 404 && response.body.empty()) {
            SendError(response, 404, "no such page: " + request.path);
        } else if (response.body.empty()) {
            SendError(response, response.status, "request refused (HTTP " + std::to_string(response.status) + ")");
        }
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
        std::string message = "internal error";
        try {
            if (error) std::rethrow_exception(error);
        } catch (const std::exception& e) {
            message = e.what();
        } catch (...) {
        }
        SendError(response, 500, message);
    });
}

HttpService::~HttpService() { Stop(); }

unsigned HttpService::Start(const std::string& host, unsigned port) {
    httplib::Server& server = impl_->server;
    int bound = 0;
    if (port == 0) {
        bound = server.bind_to_any_port(host);
    } else {
        bound = server.bind_to_port(host, static_cast<int>(port)) ? static_cast<int>(port) : -1;
    }
    if (bound <= 0) throw Failure("cannot listen on " + host + ":" + std::to_string(port));
    impl_->thread = std::thread([&server] { server.listen_after_bind(); });
    return static_cast<unsigned>(bound);
}

void HttpService::Stop() {
    impl_->server.stop();
    if (impl_->thread.joinable()) impl_->thread.join();
}

}  // namespace tb58mon
