#include "serve/fleet_poller.h"

#include <asio.hpp>

#include <future>
#include <map>
#include <optional>
#include <mutex>
#include <random>
#include <thread>

#include "transport/transport.h"

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLongestBackOff = 3;  // 2^3 = 8 intervals
constexpr auto kQueuedRetry = std::chrono::milliseconds(20);

std::chrono::milliseconds Milliseconds(double seconds) {
    return std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000));
}

TransportOptions OptionsOf(const PrinterSettings& settings, const PollerOptions& poller) {
    TransportOptions options;
    options.timeout = Milliseconds(settings.timeout);
    options.max_reply = poller.max_reply;
    options.snmp = settings.snmp;
    options.community = settings.community;
    options.snmp_port = settings.snmp_port;
    return options;
}

}  // namespace

// Handlers and tasks hold the Impl by plain pointer: the FleetPoller's
// destructor waits for the workers and the loop before the Impl goes, and
// handlers that never ran go with its io_context.
struct FleetPoller::Impl {
    struct Slot {
        PrinterConfig config;
        std::unique_ptr<Transport> transport;
        std::unique_ptr<asio::steady_timer> timer;
        std::shared_ptr<const PrinterView> view;
        bool busy = false;
        bool removed = false;
        std::optional<PrinterConfig> pending;  // new settings, taken when the cycle in progress ends
        int failures = 0;
    };

    Impl(const PollerOptions& poller_options, FleetMetrics& fleet_metrics)
        : options(poller_options), metrics(fleet_metrics), workers(poller_options.workers) {}

    PollerOptions options;
    FleetMetrics& metrics;
    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> keep_running = asio::make_work_guard(io);
    asio::thread_pool workers;
    std::thread loop;
    std::mt19937 random{std::random_device{}()};

    // Touched on the loop's thread only.
    std::map<std::string, std::shared_ptr<Slot>> slots;
    std::vector<std::string> order;
    size_t in_flight = 0;

    mutable std::mutex snapshot_lock;
    std::shared_ptr<const FleetSnapshot> snapshot = std::make_shared<FleetSnapshot>();

    void Publish() {
        auto next = std::make_shared<FleetSnapshot>();
        next->taken = std::chrono::system_clock::now();
        for (const std::string& name : order) next->printers.push_back(slots.at(name)->view);
        const std::lock_guard<std::mutex> lock(snapshot_lock);
        snapshot = std::move(next);
    }

    void Schedule(const std::shared_ptr<Slot>& slot, Clock::duration delay) {
        slot->timer->expires_after(delay);
        slot->timer->async_wait([self = this, slot](const std::error_code& error) {
            if (!error && !slot->removed) self->Start(slot);
        });
    }

    void ScheduleNext(const std::shared_ptr<Slot>& slot) {
        const auto interval = Milliseconds(slot->config.settings.interval);
        std::uniform_real_distribution<double> jitter(0.9, 1.1);
        const auto wait = std::chrono::duration_cast<Clock::duration>(interval * (1 << slot->failures) * jitter(random));
        Schedule(slot, wait);
    }

    void Start(const std::shared_ptr<Slot>& slot) {
        if (in_flight >= options.max_in_flight) {
            Schedule(slot, kQueuedRetry);
            return;
        }
        ++in_flight;
        slot->busy = true;
        asio::post(workers, [self = this, slot] {
            const auto started = Clock::now();
            auto record = std::make_shared<OwnedRecord>();
            std::shared_ptr<const PrinterView> view;
            try {
                const MonitorCycle cycle = RunMonitorCycle(record->get(), *slot->transport);
                const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
                view = ViewAfterCycle(*slot->view, std::move(record), cycle, seconds);
            } catch (const std::exception& e) {
                // A library call that failed (out of memory): a cycle without
                // response, so that the printer is tried again later.
                MonitorCycle failed;
                failed.no_response = true;
                failed.reason = e.what();
                auto empty = std::make_shared<OwnedRecord>();
                (*empty)->bNoResponse = 1;
                try {
                    view = ViewAfterCycle(*slot->view, std::move(empty), failed, 0);
                } catch (const std::exception&) {
                    view = slot->view;
                }
            }
            asio::post(self->io, [self, slot, view] { self->Finish(slot, view); });
        });
    }

    void Finish(const std::shared_ptr<Slot>& slot, std::shared_ptr<const PrinterView> view) {
        --in_flight;
        slot->busy = false;
        if (slot->removed) return;
        slot->view = std::move(view);
        if (slot->pending) {
            TakeSettings(*slot, *slot->pending);
            slot->pending.reset();
        }
        slot->failures =
            slot->view->health == PrinterHealth::kNoResponse ? std::min(slot->failures + 1, kLongestBackOff) : 0;
        metrics.Record(*slot->view);
        Publish();
        ScheduleNext(slot);
    }

    void TakeSettings(Slot& slot, const PrinterConfig& printer) {
        slot.config = printer;
        slot.transport = OpenTransport(printer.uri, OptionsOf(printer.settings, options));
        auto view = std::make_shared<PrinterView>(*slot.view);
        view->settings = printer.settings;
        slot.view = std::move(view);
    }

    // On the loop's thread.
    void Apply(const FleetConfig& config) {
        std::map<std::string, std::shared_ptr<Slot>> next;
        std::vector<std::string> next_order;
        for (const PrinterConfig& printer : config.printers) {
            auto found = slots.find(printer.name);
            std::shared_ptr<Slot> slot;
            if (found != slots.end() && found->second->config.uri == printer.uri) {
                // The same printer: its state stays; a cycle in progress keeps
                // its transport and the new settings follow it.
                slot = found->second;
                if (slot->busy) slot->pending = printer;
                else TakeSettings(*slot, printer);
            } else {
                slot = std::make_shared<Slot>();
                slot->config = printer;
                slot->transport = OpenTransport(printer.uri, OptionsOf(printer.settings, options));
                slot->timer = std::make_unique<asio::steady_timer>(io);
                slot->view = WaitingView(printer);
                std::uniform_real_distribution<double> spread(0, printer.settings.interval);
                Schedule(slot, std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(spread(random))));
            }
            next[printer.name] = slot;
            next_order.push_back(printer.name);
        }
        for (auto& [name, slot] : slots) {
            if (next.count(name) && next[name] == slot) continue;
            slot->removed = true;
            slot->timer->cancel();
            if (!next.count(name)) metrics.Forget(name);
        }
        slots = std::move(next);
        order = std::move(next_order);
        Publish();
    }
};

FleetPoller::FleetPoller(const FleetConfig& config, const PollerOptions& options, FleetMetrics& metrics)
    : impl_(std::make_unique<Impl>(options, metrics)) {
    impl_->Apply(config);  // the loop is not running yet: this thread is its only user
    impl_->loop = std::thread([impl = impl_.get()] { impl->io.run(); });
}

FleetPoller::~FleetPoller() {
    asio::post(impl_->io, [impl = impl_.get()] {
        for (auto& [name, slot] : impl->slots) {
            slot->removed = true;
            slot->timer->cancel();
        }
        impl->keep_running.reset();
    });
    impl_->workers.join();  // the cycles in progress end within their deadlines
    impl_->io.stop();
    if (impl_->loop.joinable()) impl_->loop.join();
}

std::shared_ptr<const FleetSnapshot> FleetPoller::Snapshot() const {
    const std::lock_guard<std::mutex> lock(impl_->snapshot_lock);
    return impl_->snapshot;
}

void FleetPoller::Reload(const FleetConfig& config) {
    // Opening the transports can fail on a bad URI: check on this thread first.
    for (const PrinterConfig& printer : config.printers) OpenTransport(printer.uri, OptionsOf(printer.settings, impl_->options));
    std::promise<void> done;
    asio::post(impl_->io, [impl = impl_.get(), &config, &done] {
        try {
            impl->Apply(config);
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());
        }
    });
    done.get_future().get();
}

}  // namespace tb58mon
