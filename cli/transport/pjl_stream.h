// The PJL byte stream of one query round, as printers really send it.
//
// The transport appends "@PJL ECHO <cookie>" (a fresh random word per
// round) before the query's closing UEL; the printer answers the commands in
// order, so the echo of that cookie coming back marks the end of the reply.
// What arrives before the echo is the reply, cleaned of what printers mix
// in:
//   - NUL and EOT (0x04) bytes, which some printers send before a reply or
//     after a form feed, are removed wherever they stand;
//   - unsolicited "@PJL USTATUS ..." sections (a line that starts with it,
//     up to and with the next form feed) are cut out; the latest one is
//     kept for the report;
//   - CR CR LF line ends become CR LF.
// A reply may arrive in any number of pieces; the result does not depend on
// how it was cut.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tb58mon {

// A fresh random word for one round: "TB58" and 12 hexadecimal digits.
std::string MakeEchoCookie();

// The PJL echo command of a cookie: "@PJL ECHO <cookie>\r\n".
std::string EchoCommand(std::string_view cookie);

// The query text with the echo command inserted before its closing UEL
// (appended when the text does not end with a UEL).
std::string AddEchoCommand(std::string_view query_text, std::string_view cookie);

class PjlReplyFramer {
public:
    enum class State {
        kReading,   // the echo has not come back yet
        kComplete,  // the echo came back: the reply is whole
        kTooLarge,  // more than max_reply bytes arrived without the echo
    };

    PjlReplyFramer(std::string cookie, size_t max_reply);

    // Takes the next bytes from the printer; bytes after the echo, or after
    // the reply grew too large, are ignored.
    State Feed(std::string_view bytes);
    State state() const { return state_; }

    // The bytes taken so far (for the report of a round that failed).
    size_t bytes_received() const { return received_; }

    // Once complete: the reply without the echo section, cleaned as above.
    const std::string& reply() const { return reply_; }

    // The latest unsolicited USTATUS section before the echo (without its
    // form feed; empty when none came).  Set once complete.
    const std::string& ustatus() const { return ustatus_; }

private:
    void Finish(size_t echo_at);

    std::string cookie_;
    std::string echo_;  // "@PJL ECHO <cookie>"
    size_t max_reply_;
    std::string raw_;
    size_t scan_from_ = 0;
    size_t received_ = 0;
    State state_ = State::kReading;
    std::string reply_;
    std::string ustatus_;
};

// Cleans a reply as the framer does (NUL/EOT, USTATUS sections, CR CR LF);
// stores the latest USTATUS section in ustatus (unchanged when none).
std::string CleanReply(std::string_view raw, std::string& ustatus);

}  // namespace tb58mon
