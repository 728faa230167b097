#include "transport/sim_transport.h"

#include "sim/simulated_printer.h"

namespace tb58mon {
namespace {

class SimTransport final : public Transport {
public:
    explicit SimTransport(Scenario scenario) : scenario_(std::move(scenario)), printer_(scenario_) {}

    RoundResult Exchange(std::string_view query_text, bool device_id_requested, Deadline) override {
        RoundResult result;
        const auto answer = printer_.Answer(query_text, device_id_requested);
        if (!answer) {
            result.outcome = RoundOutcome::kNoAnswer;
            result.message = "the simulated printer does not answer";
            return result;
        }
        result.outcome = RoundOutcome::kAnswered;
        result.reply = answer->reply;
        result.device_id = answer->device_id;
        result.bytes_read = result.reply.size();
        return result;
    }

    std::string Describe() const override { return "sim:" + scenario_.name; }

private:
    Scenario scenario_;
    SimulatedPrinter printer_;
};

}  // namespace

std::unique_ptr<Transport> OpenSimTransport(Scenario scenario) {
    return std::make_unique<SimTransport>(std::move(scenario));
}

}  // namespace tb58mon
