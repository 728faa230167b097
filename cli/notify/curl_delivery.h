// Sending notices through libcurl's multi interface: many transfers at once
// on the one thread that calls Poll, none of them blocking it.  TLS is
// verified (libcurl's default, never switched off), redirects are not
// followed, only the notifier's own protocols are allowed, each transfer is
// bounded in time, and an answer's body is read up to 4 KiB: a receiver
// that streams forever is cut off there.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "notify/notifier_config.h"

namespace tb58mon {

struct DeliveryLimits {
    std::chrono::milliseconds connect_timeout{10000};
    std::chrono::milliseconds total_timeout{30000};
    size_t most_answer = 4096;  // bytes of an answer's body that are kept; more ends the transfer
    size_t most_transfers = 16; // at once; Start refuses more
};

struct DeliveryRequest {
    uint64_t tag = 0;           // the caller's, given back with the outcome
    NotifierConfig notifier;    // where and how
    std::string notice_id;      // the Idempotency-Key of a webhook
    std::string body;           // the webhook's JSON, or the whole mail
};

struct DeliveryOutcome {
    uint64_t tag = 0;
    bool taken = false;                     // HTTP 2xx, or the mail accepted for every recipient
    long status = 0;                        // the HTTP status or the last SMTP reply code; 0 for none
    std::string answer;                     // for people: "HTTP 200: ok", "timed out after 30000 ms: ..."
    std::chrono::seconds retry_after{0};    // the receiver's Retry-After, when it gave one
};

class CurlDelivery {
public:
    explicit CurlDelivery(const DeliveryLimits& limits = {});
    ~CurlDelivery();  // ends every transfer in progress
    CurlDelivery(const CurlDelivery&) = delete;
    CurlDelivery& operator=(const CurlDelivery&) = delete;

    // Starts a transfer; false when most_transfers are running already or
    // libcurl refuses it (the outcome then says why, with the tag).
    bool Start(const DeliveryRequest& request, DeliveryOutcome& refused);

    // Runs the transfers for at most wait (less when one ends or Wake is
    // called) and gives the outcomes of those that ended.
    std::vector<DeliveryOutcome> Poll(std::chrono::milliseconds wait);

    // Ends a Poll that waits, from any thread.
    void Wake();

    size_t Running() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tb58mon
