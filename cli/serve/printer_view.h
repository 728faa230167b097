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
#include "base/json.h"
#include "base/view_json_cache.h"
#include "library/library_lock.h"
#include "serve/fleet_config.h"
#include "monitor/monitor_cycle.h"
#include "monitor/printer_state.h"

namespace tb58mon {

// The printer's state (printer_state.h) and what the service keeps beside
// it: its names, the cycles, the record and the picture.
struct PrinterView : PrinterState {
    std::string name;
    std::string uri;
    PrinterSettings settings;
    double poll_seconds = 0;
    uint64_t cycles = 0;
    std::shared_ptr<OwnedRecord> record;     // null before the first cycle
    std::shared_ptr<const std::string> png;  // the status picture
    uint64_t picture_id = 0;                 // changes when the picture does
    ViewJsonCache json;                      // PrinterJson without the record, by language
};

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
