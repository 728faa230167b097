#include "transport/pjl_stream.h"

#include <cstdint>
#include <random>

namespace tb58mon {
namespace {

constexpr std::string_view kUel = "\x1b%-12345X";
constexpr std::string_view kUstatus = "@PJL USTATUS";
constexpr char kFormFeed = '\f';
constexpr char kNul = '\0';
constexpr char kEot = '\x04';

bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == kFormFeed; }

// A USTATUS section starts a line: at the start of the text, after a line
// end or a form feed, or right after a UEL.
bool StartsLine(std::string_view text, size_t at) {
    if (at == 0) return true;
    if (IsLineEnd(text[at - 1])) return true;
    return at >= kUel.size() && text.substr(at - kUel.size(), kUel.size()) == kUel;
}

bool IsUstatusAt(std::string_view text, size_t at) {
    if (text.substr(at, kUstatus.size()) != kUstatus || !StartsLine(text, at)) return false;
    const size_t next = at + kUstatus.size();
    return next >= text.size() || text[next] == ' ' || text[next] == '\r' || text[next] == '\n';
}

// CR CR LF (any run of CRs before a LF) becomes CR LF.
std::string CollapseCarriageReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\r') {
            size_t run = i;
            while (run < text.size() && text[run] == '\r') ++run;
            if (run < text.size() && text[run] == '\n') {
                out += '\r';  // one CR of the run is kept, then the LF
                i = run - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

std::string MakeEchoCookie() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    const uint64_t value = generator();
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string cookie = "TB58";
    for (int shift = 44; shift >= 0; shift -= 4) cookie += kHex[(value >> shift) & 0xF];
    return cookie;
}

std::string EchoCommand(std::string_view cookie) { return "@PJL ECHO " + std::string(cookie) + "\r\n"; }

std::string AddEchoCommand(std::string_view query_text, std::string_view cookie) {
    const std::string echo = EchoCommand(cookie);
    if (query_text.size() > kUel.size() && query_text.ends_with(kUel)) {
        const std::string_view body = query_text.substr(0, query_text.size() - kUel.size());
        return std::string(body) + echo + std::string(kUel);
    }
    return std::string(query_text) + echo;
}

std::string CleanReply(std::string_view raw, std::string& ustatus) {
    std::string text;
    text.reserve(raw.size());
    for (char c : raw) {
        if (c != kNul && c != kEot) text += c;
    }
    std::string kept;
    kept.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const size_t found = text.find(kUstatus, at);
        if (found == std::string::npos) {
            kept.append(text, at);
            break;
        }
        if (!IsUstatusAt(text, found)) {
            kept.append(text, at, found + 1 - at);
            at = found + 1;
            continue;
        }
        kept.append(text, at, found - at);
        const size_t end = text.find(kFormFeed, found);
        const size_t section_end = end == std::string::npos ? text.size() : end;
        ustatus = CollapseCarriageReturns(std::string_view(text).substr(found, section_end - found));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return CollapseCarriageReturns(kept);
}

PjlReplyFramer::PjlReplyFramer(std::string cookie, size_t max_reply)
    : cookie_(std::move(cookie)), echo_("@PJL ECHO " + cookie_), max_reply_(max_reply) {}

PjlReplyFramer::State PjlReplyFramer::Feed(std::string_view bytes) {
    if (state_ != State::kReading) return state_;
    received_ += bytes.size();
    // Only what can still hold the echo is kept past the cap: never more
    // than max_reply bytes plus one echo line.
    const size_t room = max_reply_ + echo_.size() + 1 > raw_.size() ? max_reply_ + echo_.size() + 1 - raw_.size() : 0;
    raw_.append(bytes.substr(0, room));
    // The echo and the byte after its cookie (a line end) must both be here.
    while (true) {
        const size_t found = raw_.find(echo_, scan_from_);
        if (found == std::string::npos || found > max_reply_) break;
        const size_t after = found + echo_.size();
        if (after >= raw_.size()) {
            scan_from_ = found;  // wait for the byte that ends the cookie
            return state_;
        }
        if (IsLineEnd(raw_[after]) || raw_[after] == ' ') {
            Finish(found);
            return state_;
        }
        scan_from_ = found + 1;  // a longer word that starts with the cookie
    }
    if (raw_.size() > max_reply_ + echo_.size()) {
        state_ = State::kTooLarge;
        raw_.clear();
        raw_.shrink_to_fit();
        return state_;
    }
    scan_from_ = raw_.size() >= echo_.size() ? raw_.size() - echo_.size() + 1 : 0;
    // A match that started before scan_from_ would have been found already.
    if (scan_from_ > 0) --scan_from_;
    return state_;
}

void PjlReplyFramer::Finish(size_t echo_at) {
    // The echo's line starts at "@PJL ECHO"; what stands before it (up to
    // and with the previous answer's form feed) is the reply.
    reply_ = CleanReply(std::string_view(raw_).substr(0, echo_at), ustatus_);
    raw_.clear();
    raw_.shrink_to_fit();
    state_ = State::kComplete;
}

}  // namespace tb58mon
