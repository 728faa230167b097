#include "serve/fleet_metrics.h"

#include <prometheus/counter.h>
#include <prometheus/gauge.h>
#include <prometheus/histogram.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <algorithm>
#include <set>
#include <vector>

namespace tb58mon {
namespace {

// A printer's text as a label value: letters, digits, blanks and "-_.+/"
// kept, anything else '_', at most 64 characters, so that no printer can
// write the exposition format or grow a label without bound.
std::string LabelText(std::string_view text) {
    std::string label;
    for (const char c : text.substr(0, 64)) {
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
                          c == '-' || c == '_' || c == '.' || c == '+' || c == '/';
        label += kept ? c : '_';
    }
    return label;
}

using prometheus::Counter;
using prometheus::Family;
using prometheus::Gauge;
using prometheus::Histogram;

}  // namespace

struct FleetMetrics::Impl {
    std::shared_ptr<prometheus::Registry> registry = std::make_shared<prometheus::Registry>();
    Family<Gauge>& health = prometheus::BuildGauge().Name("tb58_printer_health").Help("1 for the printer's health (error, no_response, attention, unknown, waiting, ready), 0 for the others").Register(*registry);
    Family<Gauge>& up = prometheus::BuildGauge().Name("tb58_printer_up").Help("1 when the last cycle was answered, 0 when the printer did not respond").Register(*registry);
    Family<Gauge>& code = prometheus::BuildGauge().Name("tb58_printer_engine_status_code").Help("The first engine status code of the printer (0: none)").Register(*registry);
    Family<Gauge>& error = prometheus::BuildGauge().Name("tb58_printer_error").Help("1 when the printer reports an error condition").Register(*registry);
    Family<Gauge>& offline = prometheus::BuildGauge().Name("tb58_printer_offline").Help("1 when the printer is offline").Register(*registry);
    Family<Gauge>& tray_level = prometheus::BuildGauge().Name("tb58_printer_tray_level_ratio").Help("Paper left in a tray, 0 to 1 of its capacity").Register(*registry);
    Family<Gauge>& toner = prometheus::BuildGauge().Name("tb58_printer_toner_state").Help("Toner: 0 ok, 1 low, 2 empty (from the printer's toner conditions)").Register(*registry);
    Family<Counter>& pages = prometheus::BuildCounter().Name("tb58_printer_pages_total").Help("The printer's page counter").Register(*registry);
    Family<Gauge>& contact = prometheus::BuildGauge().Name("tb58_printer_last_contact_timestamp_seconds").Help("Unix time of the printer's last answer").Register(*registry);
    Family<Gauge>& supply = prometheus::BuildGauge().Name("tb58_printer_supply_level_ratio").Help("What is left of a marker supply, 0 to 1 of its capacity (for a receptacle such as a waste toner box: the room left)").Register(*registry);
    Family<Gauge>& info = prometheus::BuildGauge().Name("tb58_printer_info").Help("1, labelled with the printer's model, serial number and firmware as its SNMP agent gives them").Register(*registry);
    Family<Histogram>& duration = prometheus::BuildHistogram().Name("tb58_poll_duration_seconds").Help("Time of one whole poll cycle").Register(*registry);
    Family<Counter>& errors = prometheus::BuildCounter().Name("tb58_poll_errors_total").Help("Poll cycles without response, by kind").Register(*registry);
    Histogram& cycle_time = duration.Add({}, Histogram::BucketBoundaries{0.001, 0.0025, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10});

    mutable std::mutex lock;
    std::map<std::string, std::set<std::string>> trays;  // the tray labels each printer has
    std::map<std::string, std::set<std::string>> error_kinds;
    std::map<std::string, double> pages_seen;
    std::map<std::string, std::vector<prometheus::Labels>> supply_series;  // each printer's supply series
    std::map<std::string, prometheus::Labels> info_series;

    void SetSupplies(const PrinterView& view) {
        std::vector<prometheus::Labels> now;
        for (const SupplyReading& reading : view.supplies) {
            if (!reading.ratio) continue;
            prometheus::Labels labels{{"printer", view.name},
                                      {"supply", LabelText(reading.description.empty() ? reading.type : reading.description)},
                                      {"type", reading.type},
                                      {"color", reading.color}};
            if (std::find(now.begin(), now.end(), labels) != now.end()) continue;  // two supplies of one name
            supply.Add(labels).Set(*reading.ratio);
            now.push_back(std::move(labels));
        }
        for (const prometheus::Labels& gone : supply_series[view.name]) {
            if (std::find(now.begin(), now.end(), gone) == now.end()) Remove(supply, gone);
        }
        supply_series[view.name] = std::move(now);
    }

    void SetInfo(const PrinterView& view) {
        if (!view.inventory) return;
        prometheus::Labels labels{{"printer", view.name},
                                  {"model", LabelText(view.inventory->model)},
                                  {"serial", LabelText(view.inventory->serial)},
                                  {"firmware", LabelText(view.inventory->firmware)}};
        const auto before = info_series.find(view.name);
        if (before != info_series.end() && before->second != labels) Remove(info, before->second);
        info.Add(labels).Set(1);
        info_series[view.name] = std::move(labels);
    }

    void ForgetSupplies(const std::string& name) {
        for (const prometheus::Labels& labels : supply_series[name]) Remove(supply, labels);
        supply_series.erase(name);
        if (const auto found = info_series.find(name); found != info_series.end()) Remove(info, found->second);
        info_series.erase(name);
    }  // the page counter each printer's series holds

    // "no response" -> "no_response"
    static std::string Label(std::string_view text) {
        std::string label(text);
        for (char& c : label) c = c == ' ' ? '_' : c;
        return label;
    }

    // The page counter as a Prometheus counter: it grows by what the printer
    // counted since; a printer whose counter went back (a new controller
    // board) starts a new series, which Prometheus reads as a reset.
    void SetPages(const std::string& name, double value) {
        const prometheus::Labels printer{{"printer", name}};
        const auto seen = pages_seen.find(name);
        if (seen != pages_seen.end() && value < seen->second) Remove(pages, printer);
        const double before = (seen != pages_seen.end() && value >= seen->second) ? seen->second : 0;
        pages.Add(printer).Increment(value - before);
        pages_seen[name] = value;
    }

    template <typename Metric>
    static void Remove(Family<Metric>& family, const prometheus::Labels& labels) {
        if (family.Has(labels)) family.Remove(&family.Add(labels));
    }
};

FleetMetrics::FleetMetrics() : impl_(std::make_unique<Impl>()) {}
FleetMetrics::~FleetMetrics() = default;

void FleetMetrics::Record(const PrinterView& view) {
    const std::lock_guard<std::mutex> lock(impl_->lock);
    Impl& m = *impl_;
    const prometheus::Labels printer{{"printer", view.name}};
    const bool up = view.health != PrinterHealth::kNoResponse;
    for (PrinterHealth health : kAllHealths) {
        m.health.Add({{"printer", view.name}, {"health", Impl::Label(HealthName(health))}}).Set(health == view.health ? 1 : 0);
    }
    m.up.Add(printer).Set(up ? 1 : 0);
    m.cycle_time.Observe(view.poll_seconds);
    const bool known = view.health != PrinterHealth::kUnknown;
    if (known) {
        m.code.Add(printer).Set(view.codes.empty() ? 0 : static_cast<double>(static_cast<uint32_t>(view.codes.front())));
        m.error.Add(printer).Set(view.error ? 1 : 0);
        m.offline.Add(printer).Set(view.offline ? 1 : 0);
    } else if (up) {
        // Nothing is claimed of a state that could not be read.
        for (Family<Gauge>* family : {&m.code, &m.error, &m.offline, &m.toner}) Impl::Remove(*family, printer);
    }
    if (!up) {
        const std::string label = Impl::Label(view.failure_kind.empty() ? "no answer" : view.failure_kind);
        m.errors.Add({{"printer", view.name}, {"kind", label}}).Increment();
        m.error_kinds[view.name].insert(label);
        return;
    }
    std::set<std::string> now;
    for (const TrayReading& tray : view.trays) {
        if (tray.level < 0) continue;
        m.tray_level.Add({{"printer", view.name}, {"tray", tray.name}}).Set(tray.level / 100.0);
        now.insert(tray.name);
    }
    for (const std::string& gone : m.trays[view.name]) {
        if (!now.count(gone)) Impl::Remove(m.tray_level, {{"printer", view.name}, {"tray", gone}});
    }
    m.trays[view.name] = now;
    if (known) m.toner.Add(printer).Set(view.toner ? static_cast<double>(*view.toner) : 0);
    if (view.counter) m.SetPages(view.name, static_cast<double>(*view.counter));
    m.SetSupplies(view);
    m.SetInfo(view);
    if (view.last_contact) {
        m.contact.Add(printer).Set(std::chrono::duration<double>(view.last_contact->time_since_epoch()).count());
    }
}

void FleetMetrics::Forget(const std::string& name) {
    const std::lock_guard<std::mutex> lock(impl_->lock);
    Impl& m = *impl_;
    const prometheus::Labels printer{{"printer", name}};
    for (Family<Gauge>* family : {&m.up, &m.code, &m.error, &m.offline, &m.toner, &m.contact}) {
        Impl::Remove(*family, printer);
    }
    Impl::Remove(m.pages, printer);
    m.pages_seen.erase(name);
    m.ForgetSupplies(name);
    for (PrinterHealth health : kAllHealths) Impl::Remove(m.health, {{"printer", name}, {"health", Impl::Label(HealthName(health))}});
    for (const std::string& tray : m.trays[name]) Impl::Remove(m.tray_level, {{"printer", name}, {"tray", tray}});
    for (const std::string& kind : m.error_kinds[name]) Impl::Remove(m.errors, {{"printer", name}, {"kind", kind}});
    m.trays.erase(name);
    m.error_kinds.erase(name);
}

std::string FleetMetrics::Text() const {
    const std::lock_guard<std::mutex> lock(impl_->lock);
    return prometheus::TextSerializer().Serialize(impl_->registry->Collect());
}

}  // namespace tb58mon
