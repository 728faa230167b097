// How a round on a loop ends: its result is handed to the caller once, from
// a handler of the loop (never from inside the call that started the
// round), unless the round was cancelled first.
#pragma once

#include <asio/io_context.hpp>
#include <asio/post.hpp>

#include <memory>

#include "transport/async_transport.h"

namespace tb58mon {

class RoundReport {
public:
    RoundReport(asio::io_context& io, AsyncTransport::Done done) : io_(io), done_(std::move(done)) {}

    RoundResult result;

    // True once the round has ended (reported or cancelled): its handlers
    // then do nothing.
    bool ended() const { return ended_; }

    // Ends the round; false when it had ended already.
    bool End() {
        if (ended_) return false;
        ended_ = true;
        return true;
    }

    // Hands the result to the caller from the loop; keep holds the round
    // (and with it this report) until then.
    void Post(std::shared_ptr<void> keep) {
        asio::post(io_, [this, keep = std::move(keep)] {
            if (auto done = std::move(done_)) {
                done_ = nullptr;
                done(std::move(result));
            }
        });
    }

    // Ends the round without a report.
    void Cancel() {
        ended_ = true;
        done_ = nullptr;
    }

private:
    asio::io_context& io_;
    AsyncTransport::Done done_;
    bool ended_ = false;
};

}  // namespace tb58mon
