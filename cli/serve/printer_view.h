// What 'tb58mon serve' knows of one printer after its latest cycle: an
// immutable view, shared by the web requests that read it while the next
// cycle runs.  The record stays with the view, so that the texts can be
// given in whatever language a request asks for; every library call on a
// record of a view is made under one lock (the library's display language
// is process-wide, and a record must not be used by two calls at once).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/library_calls.h"
#include "mib/supply_view.h"
#include "report/record_report.h"
#include "serve/fleet_config.h"
#include "monitor/monitor_cycle.h"
#include "monitor/printer_health.h"

namespace tb58mon {

struct TrayReading {
    uint16_t code = 0;
    std::string name;     // English name, as PatGetDeviceName takes it
    std::string size;     // the printer's paper size word
    int level = -1;       // percent; -1 when unknown (not asked, or an answer out of range)
    std::string media;
};

struct BinReading {
    uint16_t code = 0;
    std::string name;
    std::string state;
};

// The JSON text of a view in the languages asked so far, each made once: a
// view never changes, and making it takes the library lock.  A copy of a
// view starts without any.
class ViewJsonCache {
public:
    ViewJsonCache() = default;
    ViewJsonCache(const ViewJsonCache&) {}
    ViewJsonCache& operator=(const ViewJsonCache&) = delete;

    // The entry of lang, made by make when there is none yet.
    std::shared_ptr<const std::string> Get(std::string_view lang, const std::function<std::string()>& make) const;

private:
    mutable std::mutex lock_;
    mutable std::vector<std::pair<std::string, std::shared_ptr<const std::string>>> entries_;
};

struct PrinterView {
    std::string name;
    std::string uri;
    PrinterSettings settings;
    PrinterHealth health = PrinterHealth::kWaiting;
    std::string reason;             // why the last cycle got no response, or why its status is unknown
    std::string failure_kind;       // its outcome: "timed out", "reply not accepted", ...
    std::optional<std::chrono::system_clock::time_point> last_poll;
    std::optional<std::chrono::system_clock::time_point> last_contact;
    double poll_seconds = 0;
    uint64_t cycles = 0;
    std::vector<int32_t> codes;
    bool error = false;
    bool offline = false;
    std::vector<TrayReading> trays;
    std::vector<BinReading> bins;
    std::string toner;              // "ok", "low", "empty"; empty while not known
    std::optional<uint32_t> counter;
    std::string ustatus;
    std::vector<SupplyReading> supplies;        // snmp://: the marker supplies
    std::optional<Inventory> inventory;         // snmp://: serial number, model, memory, pages
    std::shared_ptr<OwnedRecord> record;        // null before the first cycle
    std::shared_ptr<const std::string> png;     // the status picture
    uint64_t picture_id = 0;                    // changes when the picture does
    ViewJsonCache json;                         // PrinterJson without the record, by language
};

// The lock of every library call on the records of views.
std::mutex& LibraryLock();

// A view of a printer not polled yet.
std::shared_ptr<const PrinterView> WaitingView(const PrinterConfig& printer);

// The view after a cycle.  A cycle without response keeps what was known of
// the trays, bins, toner and counter; the picture is drawn again only when
// the status or the configuration changed.
std::shared_ptr<const PrinterView> ViewAfterCycle(const PrinterView& before, std::shared_ptr<OwnedRecord> record,
                                                  const MonitorCycle& cycle, double seconds);

// The view as JSON, with the texts and names in lang (a PatSetLocale code);
// with_record adds the whole record.
Json PrinterJson(const PrinterView& view, std::string_view lang, bool with_record);

// PrinterJson without the record as text (invalid UTF-8 replaced), made
// once per view and language.
std::shared_ptr<const std::string> PrinterJsonText(const PrinterView& view, std::string_view lang);

}  // namespace tb58mon
