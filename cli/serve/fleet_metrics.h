// The fleet's numbers in the Prometheus text format, through
// prometheus-cpp's registry.  Labels are bounded: the printer's name (the
// configuration's, restricted to letters, digits, '-', '_', '.'), the
// English tray name from the model's tray table, and the kind of a poll
// error from a fixed list.  The texts of an snmp:// printer's agent (supply
// description, model, serial number) become labels only as letters,
// digits, blanks and "-_.+/", at most 64 characters; supply types and
// colours come from fixed lists.
//
//   tb58_printer_health{printer,health}          1 for the printer's health, 0 for the others
//   tb58_printer_up{printer}                     1 answered, 0 no response
//   tb58_printer_engine_status_code{printer}     the first engine status code (0: none); like the
//                                                error, offline and toner gauges, absent while
//                                                the status is unknown
//   tb58_printer_error{printer}, tb58_printer_offline{printer}
//   tb58_printer_tray_level_ratio{printer,tray}  0 to 1 of the tray's capacity
//   tb58_printer_toner_state{printer}            0 ok, 1 low, 2 empty
//   tb58_printer_pages_total{printer}          the page counter (a counter)
//   tb58_printer_last_contact_timestamp_seconds{printer}   Unix time of the last answer
//   tb58_printer_supply_level_ratio{printer,supply,type,color}  snmp://: 0 to 1, absent while unknown
//   tb58_printer_info{printer,model,serial,firmware}             snmp://: 1
//   tb58_poll_duration_seconds                   histogram of whole cycles
//   tb58_poll_errors_total{printer,kind}
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "serve/printer_view.h"

namespace prometheus {
class Registry;
}

namespace tb58mon {

class FleetMetrics {
public:
    FleetMetrics();
    ~FleetMetrics();
    FleetMetrics(const FleetMetrics&) = delete;
    FleetMetrics& operator=(const FleetMetrics&) = delete;

    // After a cycle of the printer.  Thread-safe.
    void Record(const PrinterView& view);
    // The printer left the fleet.  Thread-safe.
    void Forget(const std::string& printer);
    // The text format.  Thread-safe.
    std::string Text() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
