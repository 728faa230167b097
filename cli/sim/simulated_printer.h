// The simulated printer: it reads a PJL query text line by line and answers
// every command as a printer of this family does, from a scenario.  The
// answers double as a reference for the reply shapes the library reads:
//
//   <UEL>@PJL INFO CONFIG<CR><LF>           the command line, echoed
//   IN TRAYS [2 ENUMERATED]<CR><LF>          a section with a count
//   <TAB>INTRAY1<CR><LF>                     its items, indented by a TAB
//   MEMORY=536870912<CR><LF>                 an entry with a value
//   <FF>@PJL INQUIRE INTRAY1SIZE<CR><LF>     a form feed ends each answer
//   A4LONG<CR><LF>                           an INQUIRE answer: one word
//   <FF>@PJL ECHO TB58A1<CR><LF>             ECHO: the line is the answer
//   <FF><UEL>
//
// and its device ID is one line of "KEY:value;" fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/scenario.h"

namespace tb58mon {

// What the printer sends back for one query: the PJL reply text (empty
// when the query held no PJL text) and the device ID (empty when it was not
// asked for).
struct PrinterAnswer {
    std::string reply;
    std::string device_id;
};

class SimulatedPrinter {
public:
    explicit SimulatedPrinter(const Scenario& scenario) : scenario_(scenario) {}

    // Answers one query round; nothing (std::nullopt) when the printer does
    // not answer this round (the scenario's "answers").  Rounds are counted
    // from the first call.
    std::optional<PrinterAnswer> Answer(std::string_view query_text, bool device_id_requested);

    // The reply to a PJL query text: one answer per "@PJL" command line, in
    // the order of the query.  An INQUIRE of a variable the printer does not
    // know is answered "?".
    std::string ReplyTo(std::string_view query_text) const;

    // One unsolicited status section, as a printer sends it between answers
    // once USTATUS is on: "@PJL USTATUS DEVICE", CODE (the first status code,
    // 10001 when there is none), DISPLAY (the panel text, "Ready" when
    // empty), ONLINE=TRUE, and a form feed.
    std::string UnsolicitedStatus() const;

    // The IEEE 1284 device ID: MFG, MDL, CMD, DES, STS (codes separated by
    // '/', then the state number, then the panel text) and QIJ.
    std::string DeviceId() const;

private:
    std::string InfoConfig() const;
    std::string InfoOutBinStatus() const;
    std::string InfoTzmo() const;
    std::string Inquire(std::string_view variable) const;

    const Scenario& scenario_;
    int rounds_ = 0;
};

}  // namespace tb58mon
