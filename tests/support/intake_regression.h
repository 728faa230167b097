// The intake cases whose outcomes the regression test keeps: the test
// replies whole, every cut of two of them, and a fixed stream of mutations,
// each with the query that asks for what the reply answers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/intake_cases.h"

namespace tb58::test {

struct IntakeTexts {
    std::string full_reply;  // tests/data/reply_full.pjl
    std::string tzmo_reply;  // tests/data/reply_tzmo.pjl
    std::string device_id;   // tests/data/device_id.txt
};

inline constexpr std::string_view kUel = "\x1b%-12345X";

// The query that asks every "@PJL COMMAND ARGUMENT" line of a reply asks.
inline std::string QueryAnsweredBy(std::string_view reply) {
    std::string query(kUel);
    for (size_t at = reply.find("@PJL "); at != std::string_view::npos; at = reply.find("@PJL ", at + 1)) {
        const size_t end = reply.find_first_of("\r\n", at);
        query.append(reply.substr(at, end - at)).append("\r\n");
    }
    return query.append(kUel);
}

// Several line shapes the test replies lack: a qualifier, a quoted
// argument, an argument with a value, a count with several words, a
// indented line with '=', noise between lines, a misfit in the last section.
inline constexpr std::string_view kShapesReply =
    "\x1b%-12345X@PJL INQUIRE LPARM:PCL FONTSOURCE\r\nI\r\n\f"
    "@PJL INFO \"OUT BINS\"\r\nX=1\r\n\f"
    "@PJL INQUIRE INTRAY2MEDIA\r\nRECYCLED\r\n\f"
    "noise @PJ @PJL DEFAULT COPIES=3\r\n"
    "@PJL INFO CONFIG\r\nIN TRAYS [2 ENUMERATED INPUT]\r\n\tINTRAY2=A4\r\n\tINTRAYLCT\r\n"
    "OUT TRAYS [1 ENUMERATED]\r\n\tOUTTRAYMAILBOX\r\nMEMORY=1023\r\n\f"
    "@PJL INQUIRE CHAPTERPRINTTRAY1\r\nLCT\r\n\f"
    "@PJL INFO OUTBINSTATUS\r\nOPTIONALOUTPUTBIN4=FULL\r\nUPPER=PAPEREXIST\r\n\f"
    "@PJL INFO TZMO\r\nMEMORYUSAGE=USER\r\nOTHER=\"a long text that is cut at thirty-two\"\r\n"
    "MEMORY=12 MB\r\n\f";

// About 4.9 KB: the full reply, then its bin and tray answers again, as a
// printer with many trays answers.
inline std::string LongReply(const std::string& full) {
    std::string reply = full;
    const size_t answers = full.find("@PJL INFO OUTBINSTATUS");
    while (reply.size() < 4000) reply += full.substr(answers);
    return reply;
}

inline IntakeCase PrefillCase(const IntakeTexts& texts) {
    IntakeCase c;
    c.query = QueryAnsweredBy(texts.full_reply);
    c.reply = texts.full_reply;
    c.device_id = texts.device_id;
    return c;
}

inline std::vector<IntakeCase> BaseCases(const IntakeTexts& texts) {
    std::vector<IntakeCase> cases;
    cases.push_back(PrefillCase(texts));
    IntakeCase long_reply = PrefillCase(texts);
    long_reply.reply = LongReply(texts.full_reply);
    cases.push_back(long_reply);
    IntakeCase tzmo;
    tzmo.query = QueryAnsweredBy(texts.tzmo_reply);
    tzmo.ask_device_id = false;
    tzmo.reply = texts.tzmo_reply;
    cases.push_back(tzmo);
    IntakeCase shapes;
    shapes.query = QueryAnsweredBy(kShapesReply);
    shapes.ask_device_id = false;
    shapes.reply = std::string(kShapesReply);
    cases.push_back(shapes);
    IntakeCase unpaired;  // no QueryInfo, the device ID first
    unpaired.reply = texts.full_reply;
    unpaired.device_id = texts.device_id;
    unpaired.device_id_first = true;
    cases.push_back(unpaired);
    return cases;
}

// Packets whose shape is rare: a device ID before a reply that must answer
// its query, and roots of key 3 with the emulation code they must hold and
// with another.  Each is read the way every other packet is.
inline std::vector<IntakeCase> RareCases(const IntakeTexts& texts) {
    std::vector<IntakeCase> cases;
    IntakeCase device_first = PrefillCase(texts);
    device_first.device_id_first = true;
    cases.push_back(device_first);
    for (const uint32_t emulation : {15u, 14u}) {
        IntakeCase root;
        root.query = QueryAnsweredBy(texts.tzmo_reply);
        root.ask_device_id = false;
        root.reply = texts.tzmo_reply;
        root.emulation = emulation;
        cases.push_back(root);
    }
    return cases;
}

// The cases the regression test runs, in a fixed order.
inline std::vector<IntakeCase> RegressionCases(const IntakeTexts& texts) {
    const std::vector<IntakeCase> bases = BaseCases(texts);
    std::vector<IntakeCase> cases = bases;
    // Every cut: the full reply without its query (the dispatch of a
    // partial text), the line shapes with theirs (the pairing check).
    for (const IntakeCase* base : {&bases[0], &bases[3]}) {
        for (size_t cut = 0; cut < base->reply.size(); ++cut) {
            IntakeCase c = *base;
            c.reply = base->reply.substr(0, cut);
            if (base == &bases[0]) c.query.clear();
            cases.push_back(c);
        }
    }
    for (size_t b = 0; b < bases.size(); ++b) {
        ReplyMutator mutator(1000 + b);
        for (unsigned i = 0; i < 300; ++i) {
            IntakeCase c = bases[b];
            c.reply = mutator.Mutate(bases[b].reply);
            c.prefill = i % 3 == 0;
            if (i % 2 == 1) c.query.clear();  // the dispatch without the pairing check
            cases.push_back(c);
        }
    }
    // Added later, behind the cases of the first digests.
    const std::vector<IntakeCase> rare = RareCases(texts);
    for (size_t r = 0; r < rare.size(); ++r) {
        cases.push_back(rare[r]);
        ReplyMutator mutator(2000 + r);
        for (unsigned i = 0; i < 100; ++i) {
            IntakeCase c = rare[r];
            c.reply = mutator.Mutate(rare[r].reply);
            c.prefill = i % 3 == 0;
            cases.push_back(c);
        }
    }
    return cases;
}

}  // namespace tb58::test
