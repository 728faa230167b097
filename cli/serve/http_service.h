// The status service's HTTP side (cpp-httplib): the page, the pictures,
// the JSON, the metrics and a health check, all read from the poller's
// current snapshot.  A request never polls a printer.
//
//   GET /                      the status page (?lang=CODE)
//   GET /printers.json         every printer, worst state first (?lang=CODE)
//   GET /printers/NAME.json    one printer with its whole record (?lang=CODE)
//   GET /printers/NAME.png     its status picture
//   GET /metrics               Prometheus text format
//   GET /healthz               "ok"
//
// An unknown printer or path is 404, a bad language 400, a method other
// than GET 405, an oversized request 413/414; every error is a small JSON
// object {"error": "..."}.
#pragma once

#include "base/terminal_text.h"

#include <memory>
#include <string>

#include "serve/fleet_metrics.h"
#include "serve/fleet_poller.h"

namespace tb58mon {

class HttpService {
public:
    HttpService(const FleetPoller& poller, const FleetMetrics& metrics);
    ~HttpService();  // stops serving
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds host:port (0: any free port) and serves on a thread of its own;
    // throws Failure when the address cannot be bound.  Returns the port.
    unsigned Start(const std::string& host, unsigned port);
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The fleet as /printers.json gives it: {"language", "generated",
// "printers": [...]}, worst state first, then by name.
Json FleetJson(const FleetSnapshot& snapshot, std::string_view lang);

}  // namespace tb58mon
