// The simulated printer all-well with another answer to the quantity
// inquiry of tray 1 (its own is "4/5"): what a printer might send instead.
#pragma once

#include <memory>
#include <string>

#include "sim/scenario_library.h"
#include "transport/sim_transport.h"

namespace tb58mon {

class QuantityTransport final : public Transport {
public:
    explicit QuantityTransport(std::string answer)
        : printer_(OpenSimTransport(LoadScenario("all-well"))), answer_(std::move(answer)) {}
    RoundResult Exchange(std::string_view query_text, bool device_id_requested, Deadline deadline) override {
        RoundResult result = printer_->Exchange(query_text, device_id_requested, deadline);
        const std::string asked = "@PJL INQUIRE INTRAY1QUANT\r\n";
        const size_t at = result.reply.find(asked + "4/5\r\n");
        if (at != std::string::npos) result.reply.replace(at + asked.size(), 3, answer_);
        return result;
    }
    std::string Describe() const override { return "sim:all-well with tray 1 at " + answer_; }

private:
    std::unique_ptr<Transport> printer_;
    std::string answer_;
};

}  // namespace tb58mon
