#include "transport/async_transport.h"

#include <asio/post.hpp>

#include <optional>

namespace tb58mon {
namespace {

constexpr auto kStopCheck = std::chrono::milliseconds(100);

// A synchronous transport's rounds, each answered by a handler posted to
// the loop.  A cancelled round's handler finds its generation gone.
class LoopedTransport final : public AsyncTransport {
public:
    LoopedTransport(asio::io_context& io, std::unique_ptr<Transport> transport)
        : io_(io), state_(std::make_shared<State>(std::move(transport))) {}
    ~LoopedTransport() override { Cancel(); }

    void Start(std::string_view query_text, bool device_id_requested, Deadline deadline, Done done) override {
        const uint64_t generation = ++state_->generation;
        asio::post(io_, [state = state_, generation, query = std::string(query_text), device_id_requested, deadline,
                         done = std::move(done)] {
            if (state->generation != generation) return;
            done(state->transport->Exchange(query, device_id_requested, deadline));
        });
    }

    void Cancel() override { ++state_->generation; }

    std::string Describe() const override { return state_->transport->Describe(); }
    bool ReadsMib() const override { return state_->transport->ReadsMib(); }

private:
    struct State {
        explicit State(std::unique_ptr<Transport> t) : transport(std::move(t)) {}
        std::unique_ptr<Transport> transport;
        uint64_t generation = 0;
    };
    asio::io_context& io_;
    std::shared_ptr<State> state_;
};

class SyncOverLoop final : public Transport {
public:
    SyncOverLoop(const std::function<std::unique_ptr<AsyncTransport>(asio::io_context&)>& open,
                 const TransportOptions& options)
        : transport_(open(io_)), stop_(options.stop) {}

    RoundResult Exchange(std::string_view query_text, bool device_id_requested, Deadline deadline) override {
        std::optional<RoundResult> result;
        transport_->Start(query_text, device_id_requested, deadline, [&result](RoundResult r) { result = std::move(r); });
        while (!result) {
            if (stop_ != nullptr && stop_->load()) {
                transport_->Cancel();
                RoundResult stopped;
                stopped.outcome = RoundOutcome::kTimedOut;
                stopped.message = "stopped";
                return stopped;
            }
            if (io_.stopped()) io_.restart();
            io_.run_one_for(kStopCheck);
        }
        return std::move(*result);
    }

    std::string Describe() const override { return transport_->Describe(); }
    bool ReadsMib() const override { return transport_->ReadsMib(); }

private:
    asio::io_context io_;
    std::unique_ptr<AsyncTransport> transport_;
    const std::atomic<bool>* stop_;
};

}  // namespace

std::unique_ptr<AsyncTransport> RunOnLoop(asio::io_context& io, std::unique_ptr<Transport> transport) {
    return std::make_unique<LoopedTransport>(io, std::move(transport));
}

std::unique_ptr<Transport> SyncTransport(
    const std::function<std::unique_ptr<AsyncTransport>(asio::io_context&)>& open, const TransportOptions& options) {
    return std::make_unique<SyncOverLoop>(open, options);
}

}  // namespace tb58mon
