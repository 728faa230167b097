#include "sim/simulated_printer.h"

#include <vector>

#include "base/reply_words.h"

namespace tb58mon {
namespace {

constexpr std::string_view kUel = "\x1b%-12345X";
constexpr std::string_view kEol = "\r\n";
constexpr char kFormFeed = '\f';
constexpr int32_t kReadyCode = 10001;  // the status code of a printer that is ready

// The words of one PJL command line ("@PJL INQUIRE INTRAY1SIZE").
std::vector<std::string_view> LineWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') ++at;
        size_t end = at;
        while (end < line.size() && line[end] != ' ') ++end;
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// A section header line with its count: "IN TRAYS [2 ENUMERATED]".
std::string Section(std::string_view name, size_t count) {
    return std::string(name) + " [" + std::to_string(count) + " ENUMERATED]" + std::string(kEol);
}

std::string Item(std::string_view item) { return "\t" + std::string(item) + std::string(kEol); }

}  // namespace

std::optional<PrinterAnswer> SimulatedPrinter::Answer(std::string_view query_text, bool device_id_requested) {
    const int round = ++rounds_;
    if (scenario_.answers == Answers::kNone) return std::nullopt;
    if (scenario_.answers == Answers::kFirst && round > 1) return std::nullopt;
    PrinterAnswer answer;
    if (!query_text.empty()) answer.reply = ReplyTo(query_text);
    if (device_id_requested) answer.device_id = DeviceId();
    return answer;
}

std::string SimulatedPrinter::ReplyTo(std::string_view query_text) const {
    std::string reply(kUel);
    bool answered = false;
    while (!query_text.empty()) {
        const size_t end = query_text.find('\n');
        std::string_view line = query_text.substr(0, end);
        query_text = end == std::string_view::npos ? std::string_view() : query_text.substr(end + 1);
        // The UEL that opens the text comes before the first "@PJL".
        const size_t at = line.find("@PJL");
        if (at == std::string_view::npos) continue;
        line = line.substr(at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto words = LineWords(line);
        // USTATUS and USTATUSOFF switch the unsolicited status on or off;
        // they have no answer of their own.
        if (words.size() >= 2 && (words[1] == "USTATUS" || words[1] == "USTATUSOFF")) continue;
        // ECHO answers with its own line: the end-of-reply marker of a round.
        const bool echo = words.size() >= 2 && words[1] == "ECHO";
        if (words.size() < 3 && !echo) continue;  // "@PJL" alone asks nothing
        std::string body;
        if (echo) {
            // The line itself is the whole answer.
        } else if (words[1] == "INFO" && words[2] == "CONFIG") {
            body = InfoConfig();
        } else if (words[1] == "INFO" && words[2] == "OUTBINSTATUS") {
            body = InfoOutBinStatus();
        } else if (words[1] == "INFO" && words[2] == "TZMO") {
            body = InfoTzmo();
        } else if (words[1] == "INQUIRE") {
            body = Inquire(words[2]);
        } else {
            body = "?" + std::string(kEol);
        }
        if (answered) reply += kFormFeed;
        reply += std::string(line) + std::string(kEol) + body;
        answered = true;
    }
    if (answered) reply += kFormFeed;
    reply += kUel;
    return reply;
}

std::string SimulatedPrinter::UnsolicitedStatus() const {
    const int32_t code = scenario_.status_codes.empty() ? kReadyCode : scenario_.status_codes.front();
    const std::string display = scenario_.display.empty() ? "Ready" : scenario_.display;
    return "@PJL USTATUS DEVICE" + std::string(kEol) + "CODE=" + std::to_string(code) + std::string(kEol) +
           "DISPLAY=\"" + display + "\"" + std::string(kEol) + "ONLINE=TRUE" + std::string(kEol) + kFormFeed;
}

std::string SimulatedPrinter::InfoConfig() const {
    std::string body;
    if (!scenario_.trays.empty()) {
        body += Section("IN TRAYS", scenario_.trays.size());
        for (const ScenarioTray& tray : scenario_.trays) body += Item(FindTrayByName(tray.name)->config_item);
    }
    std::vector<std::string_view> out_trays;
    std::vector<std::string_view> entries;
    for (const std::string& option : scenario_.options) {
        (option.starts_with("OUTTRAY") ? out_trays : entries).push_back(option);
    }
    if (!out_trays.empty()) {
        body += Section("OUT TRAYS", out_trays.size());
        for (std::string_view item : out_trays) body += Item(item);
    }
    const size_t versions = scenario_.emulations.size() + (scenario_.firmware.empty() ? 0 : 1);
    if (versions != 0) {
        body += Section("VERSION", versions);
        if (!scenario_.firmware.empty()) body += Item("FIRMWARE " + scenario_.firmware);
        for (const ScenarioEmulation& e : scenario_.emulations) body += Item(e.name + " " + e.version);
    }
    if (scenario_.memory_bytes != 0) body += "MEMORY=" + std::to_string(scenario_.memory_bytes) + std::string(kEol);
    for (std::string_view entry : entries) body += std::string(entry) + std::string(kEol);
    if (!scenario_.punch.empty()) {
        body += Section("PUNCH", scenario_.punch.size());
        for (const std::string& keyword : scenario_.punch) body += Item(keyword);
    }
    return body;
}

std::string SimulatedPrinter::InfoOutBinStatus() const {
    std::string body;
    for (const ScenarioBin& bin : scenario_.bins) body += bin.entry + "=" + bin.state + std::string(kEol);
    return body;
}

std::string SimulatedPrinter::InfoTzmo() const {
    std::string body;
    if (!scenario_.tzmo_memory_usage.empty()) body += "MEMORYUSAGE=" + scenario_.tzmo_memory_usage + std::string(kEol);
    if (!scenario_.tzmo_other.empty()) body += "OTHER=\"" + scenario_.tzmo_other + "\"" + std::string(kEol);
    if (!scenario_.tzmo_image_rotation.empty()) {
        body += "IMAGEROTATION=" + scenario_.tzmo_image_rotation + std::string(kEol);
    }
    return body;
}

std::string SimulatedPrinter::Inquire(std::string_view variable) const {
    std::string answer = "?";
    const auto special = SpecialTrayTable();
    for (size_t i = 0; i < special.size(); ++i) {
        if (variable == special[i].variable) answer = scenario_.special_trays[i];
    }
    for (const ScenarioTray& tray : scenario_.trays) {
        const TrayWords& words = *FindTrayByName(tray.name);
        if (variable == words.state_variable) answer = tray.locked ? "LOCKED" : "UNLOCKED";
        if (variable == words.size_variable) answer = tray.size;
        if (variable == words.level_variable) answer = tray.quantity;
        if (variable == words.media_variable) answer = tray.media;
    }
    return answer + std::string(kEol);
}

std::string SimulatedPrinter::DeviceId() const {
    std::string id;
    if (!scenario_.maker.empty()) id += "MFG:" + scenario_.maker + ";";
    if (!scenario_.model.empty()) id += "MDL:" + scenario_.model + ";";
    if (!scenario_.command_set.empty()) id += "CMD:" + scenario_.command_set + ";";
    if (!scenario_.description.empty()) id += "DES:" + scenario_.description + ";";
    id += "STS:";
    for (size_t i = 0; i < scenario_.status_codes.size(); ++i) {
        if (i != 0) id += "/";
        id += std::to_string(scenario_.status_codes[i]);
    }
    id += "," + std::to_string(scenario_.state);
    if (!scenario_.display.empty()) id += "," + scenario_.display;
    id += ";";
    id += "QIJ:" + std::to_string(scenario_.counter) + "/" + scenario_.supplies + ";";
    return id;
}

}  // namespace tb58mon
