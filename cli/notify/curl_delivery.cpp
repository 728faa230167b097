#include "notify/curl_delivery.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "base/printable_text.h"

namespace tb58mon {
namespace {

constexpr size_t kLongestAnswerText = 200;

void InitializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer {
    uint64_t tag = 0;
    bool smtp = false;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    curl_slist* recipients = nullptr;
    std::string body;
    size_t read_at = 0;
    std::string answer;
    size_t most_answer = 0;
    bool cut = false;
    char error[CURL_ERROR_SIZE] = {};

    Transfer() = default;
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;
    ~Transfer() {
        if (easy != nullptr) curl_easy_cleanup(easy);
        curl_slist_free_all(headers);
        curl_slist_free_all(recipients);
    }
};

size_t KeepAnswer(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    const size_t room = transfer->most_answer - std::min(transfer->most_answer, transfer->answer.size());
    transfer->answer.append(data, std::min(room, bytes));
    if (bytes > room) {
        transfer->cut = true;
        return 0;  // enough: the transfer ends here
    }
    return bytes;
}

size_t GiveMail(char* buffer, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = std::min(size * count, transfer->body.size() - transfer->read_at);
    std::memcpy(buffer, transfer->body.data() + transfer->read_at, bytes);
    transfer->read_at += bytes;
    return bytes;
}

bool Append(curl_slist*& list, const std::string& text) {
    curl_slist* longer = curl_slist_append(list, text.c_str());
    if (longer == nullptr) return false;
    list = longer;
    return true;
}

// The options of a webhook's POST.
bool SetUpWebhook(Transfer& transfer, const DeliveryRequest& request) {
    bool fine = Append(transfer.headers, "Content-Type: application/json; charset=utf-8") &&
                Append(transfer.headers, "Idempotency-Key: " + request.notice_id) && Append(transfer.headers, "Expect:");
    for (const auto& [name, value] : request.notifier.headers) fine = fine && Append(transfer.headers, name + ": " + value);
    CURL* easy = transfer.easy;
    return fine && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer.headers) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_POST, 1L) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(transfer.body.size())) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_POSTFIELDS, transfer.body.data()) == CURLE_OK;
}

// The options of a mail's SMTP transaction.
bool SetUpMail(Transfer& transfer, const DeliveryRequest& request) {
    const NotifierConfig& notifier = request.notifier;
    bool fine = true;
    for (const std::string& address : notifier.to) fine = fine && Append(transfer.recipients, "<" + address + ">");
    CURL* easy = transfer.easy;
    const bool starttls = notifier.url.compare(0, 7, "smtp://") == 0 && notifier.starttls;
    fine = fine && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "smtp,smtps") == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_MAIL_FROM, ("<" + notifier.from + ">").c_str()) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_MAIL_RCPT, transfer.recipients) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_READFUNCTION, GiveMail) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_READDATA, &transfer) == CURLE_OK &&
           curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(transfer.body.size())) == CURLE_OK;
    if (starttls) fine = fine && curl_easy_setopt(easy, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL)) == CURLE_OK;
    if (!notifier.user.empty()) {
        fine = fine && curl_easy_setopt(easy, CURLOPT_USERNAME, notifier.user.c_str()) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_PASSWORD, notifier.password.c_str()) == CURLE_OK;
    }
    return fine;
}

bool SetUp(Transfer& transfer, const DeliveryRequest& request, const DeliveryLimits& limits) {
    CURL* easy = transfer.easy;
    const bool common =
        curl_easy_setopt(easy, CURLOPT_URL, request.notifier.url.c_str()) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect_timeout.count())) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.total_timeout.count())) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, transfer.error) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_PRIVATE, &transfer) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_USERAGENT, "tb58mon") == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, KeepAnswer) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer) == CURLE_OK &&
        // TLS peer and host verification are libcurl's defaults; they are
        // named here so that no one takes them for forgotten.
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK &&
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
    return common && (transfer.smtp ? SetUpMail(transfer, request) : SetUpWebhook(transfer, request));
}

// The first line of an answer's body, printable, for people.
std::string FirstLine(const std::string& body) {
    std::string line = PrintableText(body.substr(0, body.find_first_of("\r\n")));
    if (line.size() > kLongestAnswerText) line = line.substr(0, kLongestAnswerText) + "...";
    return line;
}

DeliveryOutcome OutcomeOf(Transfer& transfer, CURLcode result) {
    DeliveryOutcome outcome;
    outcome.tag = transfer.tag;
    curl_easy_getinfo(transfer.easy, CURLINFO_RESPONSE_CODE, &outcome.status);
    curl_off_t retry_after = 0;
    if (curl_easy_getinfo(transfer.easy, CURLINFO_RETRY_AFTER, &retry_after) == CURLE_OK && retry_after > 0) {
        outcome.retry_after = std::chrono::seconds(std::min<curl_off_t>(retry_after, 86400));
    }
    const bool answered = result == CURLE_OK || (result == CURLE_WRITE_ERROR && transfer.cut);
    if (answered && !transfer.smtp) {
        outcome.taken = outcome.status >= 200 && outcome.status <= 299;
        outcome.answer = "HTTP " + std::to_string(outcome.status);
        const std::string line = FirstLine(transfer.answer);
        if (!line.empty()) outcome.answer += ": " + line;
        return outcome;
    }
    if (result == CURLE_OK) {
        outcome.taken = true;
        outcome.answer = "SMTP " + std::to_string(outcome.status) + ": accepted";
        return outcome;
    }
    outcome.answer = curl_easy_strerror(result);
    if (transfer.error[0] != '\0') outcome.answer += ": " + PrintableText(transfer.error);
    return outcome;
}

}  // namespace

struct CurlDelivery::Impl {
    DeliveryLimits limits;
    CURLM* multi = nullptr;
    std::vector<std::unique_ptr<Transfer>> transfers;

    // The outcomes of the transfers that ended; their handles are freed.
    std::vector<DeliveryOutcome> Ended() {
        std::vector<DeliveryOutcome> outcomes;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
            if (message->msg != CURLMSG_DONE) continue;
            char* tag = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &tag);
            const auto* done = reinterpret_cast<const Transfer*>(tag);
            const CURLcode result = message->data.result;
            curl_multi_remove_handle(multi, message->easy_handle);
            auto found = std::find_if(transfers.begin(), transfers.end(),
                                      [done](const auto& transfer) { return transfer.get() == done; });
            if (found == transfers.end()) continue;
            outcomes.push_back(OutcomeOf(**found, result));
            transfers.erase(found);
        }
        return outcomes;
    }
};

CurlDelivery::CurlDelivery(const DeliveryLimits& limits) : impl_(std::make_unique<Impl>()) {
    InitializeCurlOnce();
    impl_->limits = limits;
    impl_->multi = curl_multi_init();
}

CurlDelivery::~CurlDelivery() {
    for (const auto& transfer : impl_->transfers) curl_multi_remove_handle(impl_->multi, transfer->easy);
    impl_->transfers.clear();
    if (impl_->multi != nullptr) curl_multi_cleanup(impl_->multi);
}

bool CurlDelivery::Start(const DeliveryRequest& request, DeliveryOutcome& refused) {
    refused = DeliveryOutcome{};
    refused.tag = request.tag;
    if (impl_->multi == nullptr || impl_->transfers.size() >= impl_->limits.most_transfers) {
        refused.answer = "too many transfers at once";
        return false;
    }
    auto transfer = std::make_unique<Transfer>();
    transfer->tag = request.tag;
    transfer->smtp = request.notifier.type == NotifierType::kEmail;
    transfer->body = request.body;
    transfer->most_answer = impl_->limits.most_answer;
    transfer->easy = curl_easy_init();
    if (transfer->easy == nullptr || !SetUp(*transfer, request, impl_->limits) ||
        curl_multi_add_handle(impl_->multi, transfer->easy) != CURLM_OK) {
        refused.answer = "libcurl refused the transfer";
        return false;
    }
    impl_->transfers.push_back(std::move(transfer));
    return true;
}

std::vector<DeliveryOutcome> CurlDelivery::Poll(std::chrono::milliseconds wait) {
    int running = 0;
    curl_multi_perform(impl_->multi, &running);
    // A transfer that ended in the last call is given back at once, not
    // after the wait.
    std::vector<DeliveryOutcome> outcomes = impl_->Ended();
    if (!outcomes.empty()) return outcomes;
    curl_multi_poll(impl_->multi, nullptr, 0, static_cast<int>(std::max<int64_t>(0, wait.count())), nullptr);
    curl_multi_perform(impl_->multi, &running);
    return impl_->Ended();
}

void CurlDelivery::Wake() {
    if (impl_->multi != nullptr) curl_multi_wakeup(impl_->multi);
}

size_t CurlDelivery::Running() const { return impl_->transfers.size(); }

}  // namespace tb58mon
