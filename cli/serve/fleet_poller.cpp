#include "serve/fleet_poller.h"

#include <asio/executor_work_guard.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <asio/thread_pool.hpp>

#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "base/cli_error.h"
#include "monitor/monitor_cycle.h"
#include "monitor/poll_schedule.h"
#include "transport/async_transport.h"

namespace tb58mon {
namespace {

using Clock = std::chrono::steady_clock;

Clock::duration Seconds(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

size_t PollerDescriptors(const PollerOptions& options) { return 2 * options.max_in_flight; }

// Everything but the snapshot is touched on the loop's thread only.  The
// view pool's tasks hold what they use by shared pointer and hand their
// result back to the loop; the destructor joins the pool before the loop's
// objects go.
struct FleetPoller::Impl {
    // One cycle in progress.
    struct Run {
        Run(std::shared_ptr<OwnedRecord> r, bool reads_mib)
            : record(std::move(r)), steps(record->get(), false, reads_mib) {}
        std::shared_ptr<OwnedRecord> record;
        CycleSteps steps;
        Clock::time_point started;
        Deadline deadline;
        bool suspect = false;   // counted among the suspects' cycles
        bool released = false;  // its room in the cap is given back
    };

    struct Slot {
        explicit Slot(asio::io_context& io) : timer(io) {}
        PrinterConfig config;
        std::unique_ptr<AsyncTransport> transport;
        asio::steady_timer timer;
        std::shared_ptr<const PrinterView> view;
        std::shared_ptr<Run> run;  // the cycle in progress, or null
        bool queued = false;
        bool removed = false;
        std::optional<PrinterConfig> pending;  // new settings, taken when the cycle in progress ends
        int failures = 0;
    };

    Impl(const PollerOptions& poller_options, FleetMetrics& fleet_metrics)
        : options(poller_options),
          metrics(fleet_metrics),
          suspect_cap(std::max<size_t>(1, poller_options.max_in_flight / 2)),
          views(std::max<size_t>(1, poller_options.view_threads)) {}

    PollerOptions options;
    FleetMetrics& metrics;
    size_t suspect_cap;
    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> keep_running = asio::make_work_guard(io);
    asio::steady_timer ticker{io};  // options.on_tick's
    asio::thread_pool views;
    std::thread loop;
    std::mt19937 random{std::random_device{}()};

    std::map<std::string, std::shared_ptr<Slot>> slots;
    std::vector<std::string> order;
    size_t in_flight = 0;
    size_t suspects_in_flight = 0;
    std::deque<std::shared_ptr<Slot>> waiting;          // due printers that answered last time
    std::deque<std::shared_ptr<Slot>> suspects_waiting; // due printers that did not

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
        slot->timer.expires_after(delay);
        slot->timer.async_wait([self = this, slot](const std::error_code& error) {
            if (!error && !slot->removed) self->Due(slot);
        });
    }

    void ScheduleNext(const std::shared_ptr<Slot>& slot) {
        std::uniform_real_distribution<double> jitter(0.9, 1.1);
        Schedule(slot, Seconds(slot->config.settings.interval * BackOffFactor(slot->failures) * jitter(random)));
    }

    static bool Suspect(const Slot& slot) { return slot.failures > 0; }

    bool Room(bool suspect) const {
        return in_flight < options.max_in_flight && (!suspect || suspects_in_flight < suspect_cap);
    }

    void Due(const std::shared_ptr<Slot>& slot) {
        if (slot->run || slot->queued) return;
        if (Room(Suspect(*slot))) return Begin(slot);
        slot->queued = true;
        (Suspect(*slot) ? suspects_waiting : waiting).push_back(slot);
    }

    // Starts the queued printers there is room for: those that answered
    // last time first.
    void StartWaiting() {
        for (auto* queue : {&waiting, &suspects_waiting}) {
            while (!queue->empty() && Room(queue == &suspects_waiting)) {
                std::shared_ptr<Slot> slot = std::move(queue->front());
                queue->pop_front();
                slot->queued = false;
                if (!slot->removed && !slot->run) Begin(slot);
            }
        }
    }

    void Begin(const std::shared_ptr<Slot>& slot) {
        auto run = std::make_shared<Run>(std::make_shared<OwnedRecord>(), slot->transport->ReadsMib());
        run->started = Clock::now();
        run->deadline = run->started + Seconds(slot->config.settings.timeout);
        run->suspect = Suspect(*slot);
        slot->run = run;
        ++in_flight;
        if (run->suspect) ++suspects_in_flight;
        Step(slot, run);
    }

    // The cycle's next round, or its end.
    void Step(const std::shared_ptr<Slot>& slot, const std::shared_ptr<Run>& run) {
        const QueryRequest* request = nullptr;
        try {
            request = run->steps.Next();
        } catch (const std::exception& e) {
            return Failed(slot, run, e.what());
        }
        if (request == nullptr) return Complete(slot, run, run->steps.Finish());
        slot->transport->Start(request->text, request->device_id_requested, run->deadline,
                               [self = this, slot, run](RoundResult result) {
                                   if (slot->run != run) return;
                                   run->steps.Take(std::move(result));
                                   self->Step(slot, run);
                               });
    }

    // A library call that failed (out of memory): a cycle without response,
    // so that the printer is tried again later.
    void Failed(const std::shared_ptr<Slot>& slot, const std::shared_ptr<Run>& run, const std::string& why) {
        MonitorCycle failed;
        failed.no_response = true;
        failed.reason = why;
        run->record = std::make_shared<OwnedRecord>();
        (*run->record)->bNoResponse = 1;
        Complete(slot, run, std::move(failed));
    }

    // The view is made on the pool; the loop takes it back.
    void Complete(const std::shared_ptr<Slot>& slot, const std::shared_ptr<Run>& run, MonitorCycle cycle) {
        Release(*run);
        const double seconds = std::chrono::duration<double>(Clock::now() - run->started).count();
        asio::post(views, [self = this, slot, run, before = slot->view, cycle = std::move(cycle), seconds] {
            std::shared_ptr<const PrinterView> view;
            try {
                view = ViewAfterCycle(*before, run->record, cycle, seconds);
            } catch (const std::exception&) {
                view = before;
            }
            asio::post(self->io, [self, slot, run, view] { self->Finish(slot, run, view); });
        });
        StartWaiting();
    }

    void Release(Run& run) {
        if (run.released) return;
        run.released = true;
        --in_flight;
        if (run.suspect) --suspects_in_flight;
    }

    void Finish(const std::shared_ptr<Slot>& slot, const std::shared_ptr<Run>& run,
                std::shared_ptr<const PrinterView> view) {
        if (slot->run != run || slot->removed) return;
        slot->run.reset();
        slot->view = std::move(view);
        if (slot->pending) {
            TakeSettings(*slot, *slot->pending);
            slot->pending.reset();
        }
        slot->failures = FailuresAfter(slot->failures, slot->view->health != PrinterHealth::kNoResponse);
        metrics.Record(*slot->view);
        if (options.on_view) options.on_view(*slot->view);
        Publish();
        ScheduleNext(slot);
    }

    void TakeSettings(Slot& slot, const PrinterConfig& printer) {
        slot.config = printer;
        slot.transport = OpenAsyncTransport(io, printer.uri, TransportOptionsOf(printer.settings, options.max_reply));
        auto view = std::make_shared<PrinterView>(*slot.view);
        view->settings = printer.settings;
        slot.view = std::move(view);
    }

    void Remove(Slot& slot) {
        slot.removed = true;
        slot.timer.cancel();
        if (slot.transport) slot.transport->Cancel();
        if (slot.run) {
            Release(*slot.run);
            slot.run.reset();
        }
    }

    std::shared_ptr<Slot> NewSlot(const PrinterConfig& printer) {
        auto slot = std::make_shared<Slot>(io);
        slot->config = printer;
        slot->transport = OpenAsyncTransport(io, printer.uri, TransportOptionsOf(printer.settings, options.max_reply));
        slot->view = WaitingView(printer);
        std::uniform_real_distribution<double> spread(0, printer.settings.interval);
        Schedule(slot, Seconds(spread(random)));
        return slot;
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
                if (slot->run) slot->pending = printer;
                else TakeSettings(*slot, printer);
            } else {
                slot = NewSlot(printer);
            }
            next[printer.name] = slot;
            next_order.push_back(printer.name);
        }
        for (auto& [name, slot] : slots) {
            if (next.count(name) && next[name] == slot) continue;
            Remove(*slot);
            if (!next.count(name)) metrics.Forget(name);
        }
        slots = std::move(next);
        order = std::move(next_order);
        Publish();
        StartWaiting();
    }

    // options.on_tick every options.tick_interval, from a timer on the loop:
    // a loop that is stuck stops ticking.
    void Tick() {
        ticker.expires_after(options.tick_interval);
        ticker.async_wait([this](const std::error_code& error) {
            if (error) return;
            options.on_tick();
            Tick();
        });
    }

    void StopAll() {
        ticker.cancel();
        for (auto& [name, slot] : slots) Remove(*slot);
        waiting.clear();
        suspects_waiting.clear();
        keep_running.reset();
    }
};

FleetPoller::FleetPoller(const FleetConfig& config, const PollerOptions& options, FleetMetrics& metrics)
    : impl_(std::make_unique<Impl>(options, metrics)) {
    if (options.max_in_flight == 0) throw BadArgument("the poller needs room for one cycle at least");
    impl_->Apply(config);  // the loop is not running yet: this thread is its only user
    if (options.on_tick && options.tick_interval.count() > 0) {
        options.on_tick();
        impl_->Tick();
    }
    // A handler that throws (out of memory) ends its own work only: the loop
    // goes on.
    impl_->loop = std::thread([impl = impl_.get()] {
        while (true) {
            try {
                impl->io.run();
                return;
            } catch (const std::exception&) {
            }
        }
    });
}

FleetPoller::~FleetPoller() {
    std::promise<void> stopped;
    asio::post(impl_->io, [impl = impl_.get(), &stopped] {
        impl->StopAll();
        stopped.set_value();
    });
    stopped.get_future().wait();
    impl_->views.join();  // views in the making end; their results find the loop stopping
    impl_->io.stop();
    if (impl_->loop.joinable()) impl_->loop.join();
}

std::shared_ptr<const FleetSnapshot> FleetPoller::Snapshot() const {
    const std::lock_guard<std::mutex> lock(impl_->snapshot_lock);
    return impl_->snapshot;
}

void CheckFleetUris(const FleetConfig& config, const PollerOptions& options) {
    asio::io_context check;
    for (const PrinterConfig& printer : config.printers) {
        try {
            OpenAsyncTransport(check, printer.uri, TransportOptionsOf(printer.settings, options.max_reply));
        } catch (const CliError& e) {
            if (printer.where.empty()) throw;
            throw CliError(e.exit_code(), printer.where + ": " + e.what());
        }
    }
}

void FleetPoller::Reload(const FleetConfig& config) {
    // Opening the transports can fail on a bad URI: check on this thread first.
    CheckFleetUris(config, impl_->options);
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
