#include "watch/watch_view.h"

#include <algorithm>

#include "report/status_report.h"

namespace tb58mon {
namespace {

// The serial number an snmp:// printer gave; empty for none.
std::string Serial(const PrinterState& printer) { return printer.inventory ? printer.inventory->serial : ""; }

// A text of several lines on one line.
std::string OneLine(std::string text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n') {
            while (!out.empty() && out.back() == ' ') out.pop_back();
            if (!out.empty()) out += " / ";
            continue;
        }
        out += text[i];
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// A tray's line: "A4LONG, 80 %, PLAIN, front cover" (a level only where the
// printer is asked for it).
std::string TrayLine(const TrayReading& tray) {
    std::string value = tray.size.empty() ? "-" : tray.size;
    if (tray.level_asked) value += tray.level >= 0 ? ", " + std::to_string(tray.level) + " %" : ", -";
    value += ", " + (tray.media.empty() ? std::string("-") : tray.media);
    for (const std::string& role : tray.roles) value += ", " + role;
    return value;
}

}  // namespace

WatchState DescribeWatchState(PrnInfoEx* record, const PrinterState& printer, const std::string& ustatus,
                              uint32_t kind, uint32_t code_page) {
    WatchState state;
    state.printer = printer;
    state.response = printer.health != PrinterHealth::kNoResponse;
    state.status_known = CodesKnown(printer.health);
    state.ustatus = OneLine(ustatus);
    const StatusTexts texts = ReadStatusTexts(record, kind, code_page);
    state.short_text = texts.short_text.value_or("");
    state.long_text = OneLine(texts.long_text.value_or(""));
    for (const TrayReading& tray : printer.trays) {
        state.trays.emplace_back(LocalizedDeviceName(TB58_DEVICE_NAME_TRAY, tray.name, code_page), TrayLine(tray));
    }
    for (const BinReading& bin : printer.bins) {
        const std::string name =
            bin.name.empty() ? std::string("bin") : LocalizedDeviceName(TB58_DEVICE_NAME_OUTBIN, bin.name, code_page);
        state.bins.emplace_back(name, bin.state.empty() ? std::string("-") : bin.state);
    }
    return state;
}

std::vector<std::pair<std::string, std::string>> WatchLines(const WatchState& state) {
    std::vector<std::pair<std::string, std::string>> lines;
    std::string status;
    if (state.response && !state.status_known) {
        // The library would read an empty code list as a ready printer.
        status = "unknown  (" + state.printer.reason + ")";
    } else {
        status = state.short_text.empty() ? "-" : state.short_text;
        if (!state.long_text.empty() && state.long_text != state.short_text) status += " | " + state.long_text;
        if (!state.response) status += "  (" + state.printer.reason + ")";
    }
    lines.emplace_back("status", status);
    for (const auto& [name, value] : state.trays) lines.emplace_back("tray " + name, value);
    for (const auto& [name, value] : state.bins) lines.emplace_back("bin " + name, value);
    const PrinterState& printer = state.printer;
    for (const SupplyReading& supply : printer.supplies) {
        lines.emplace_back("supply " + (supply.description.empty() ? supply.type : supply.description), SupplyLine(supply));
    }
    if (printer.toner) lines.emplace_back("toner", std::string(TonerName(*printer.toner)));
    else if (state.response) lines.emplace_back("toner", "unknown");
    if (printer.counter) lines.emplace_back("counter", std::to_string(*printer.counter));
    if (const std::string serial = Serial(printer); !serial.empty()) lines.emplace_back("serial", serial);
    return lines;
}

std::vector<std::pair<std::string, std::string>> ChangedLines(const WatchState* before, const WatchState& now) {
    const auto lines = WatchLines(now);
    if (before == nullptr) return lines;
    const auto old_lines = WatchLines(*before);
    std::vector<std::pair<std::string, std::string>> changed;
    for (const auto& line : lines) {
        if (std::find(old_lines.begin(), old_lines.end(), line) == old_lines.end()) changed.push_back(line);
    }
    // (clang 14, which builds the fuzz targets, cannot capture a structured binding)
    for (const auto& old : old_lines) {
        const bool kept = std::any_of(lines.begin(), lines.end(), [&](const auto& line) { return line.first == old.first; });
        if (!kept) changed.emplace_back(old.first, "gone");
    }
    return changed;
}

bool StatusChanged(const WatchState* before, const WatchState& now) {
    return before == nullptr || before->response != now.response || before->status_known != now.status_known ||
           before->printer.codes != now.printer.codes || before->short_text != now.short_text ||
           before->long_text != now.long_text;
}

Json WatchStateJson(const WatchState& state) {
    Json trays = Json::array();
    for (const auto& [name, value] : state.trays) trays.push_back({{"name", name}, {"state", value}});
    Json bins = Json::array();
    for (const auto& [name, value] : state.bins) bins.push_back({{"name", name}, {"state", value}});
    const PrinterState& printer = state.printer;
    const std::string serial = Serial(printer);
    Json json;
    json["response"] = state.response;
    json["reason"] = state.response ? Json(nullptr) : Json(printer.reason);
    json["status_known"] = state.status_known;
    json["status_note"] = state.response && !state.status_known ? Json(printer.reason) : Json(nullptr);
    const bool texts = !state.response || state.status_known;
    json["short"] = texts ? Json(state.short_text) : Json(nullptr);
    json["long"] = texts ? Json(state.long_text) : Json(nullptr);
    json["codes"] = printer.codes;
    json["trays"] = trays;
    json["bins"] = bins;
    json["toner"] = printer.toner ? Json(std::string(TonerName(*printer.toner))) : Json(nullptr);
    json["counter"] = printer.counter ? Json(std::to_string(*printer.counter)) : Json(nullptr);
    json["ustatus"] = state.ustatus.empty() ? Json(nullptr) : Json(state.ustatus);
    if (!printer.supplies.empty() || !serial.empty()) {
        json["supplies"] = SuppliesJson(printer.supplies);
        json["serial"] = serial.empty() ? Json(nullptr) : Json(serial);
    }
    return json;
}

int WatchExitCode(const WatchState& state) {
    switch (state.printer.health) {
        case PrinterHealth::kNoResponse: return kExitNoResponse;
        case PrinterHealth::kReady: return 0;
        default: return kExitAttention;
    }
}

}  // namespace tb58mon
