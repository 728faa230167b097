#include "watch/watch_view.h"

#include "monitor/cycle_record_view.h"

#include <algorithm>

#include "base/engine_code_classes.h"
#include "base/reply_words.h"
#include "report/status_report.h"

namespace tb58mon {
namespace {

std::string StringOr(const Json& value, std::string_view fallback) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number()) return value.dump();
    return std::string(fallback);
}

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

}  // namespace

std::string TonerState(const std::vector<int32_t>& codes) {
    std::string state = "ok";
    for (int32_t code : codes) {
        if (IsOfClass(code, EngineCodeClass::TONER_RUN_OUT) || IsOfClass(code, EngineCodeClass::NO_TONER)) {
            return "empty";
        }
        if (IsOfClass(code, EngineCodeClass::TONER_LOW)) state = "low";
    }
    return state;
}

bool IsNormalStateCode(int32_t code) {
    return IsOfClass(code, EngineCodeClass::READY) || IsOfClass(code, EngineCodeClass::WARMING_UP) ||
           IsOfClass(code, EngineCodeClass::PRINTING) || IsOfClass(code, EngineCodeClass::ENERGY_SAVER);
}

bool NeedsAttention(const PrnInfoEx& record, const std::vector<int32_t>& codes) {
    if (record.bError != 0 || record.bOffline != 0) return true;
    return !std::all_of(codes.begin(), codes.end(), IsNormalStateCode);
}

WatchState DescribeWatchState(PrnInfoEx* record, const MonitorCycle& cycle, uint32_t kind, uint32_t code_page,
                              const WatchState* before) {
    WatchState state;
    state.response = !cycle.no_response;
    state.reason = cycle.reason;
    state.status_known = state.response && cycle.status_read;
    state.status_note = cycle.status_note;
    state.ustatus = OneLine(cycle.ustatus);
    const Json status = StatusJson(record, kind, code_page);
    state.short_text = StringOr(status["short"], "");
    state.long_text = OneLine(StringOr(status["long"], ""));
    for (const EngineStatusNode* node = record->pEngineStatus; node != nullptr;
         node = static_cast<const EngineStatusNode*>(node->next)) {
        state.codes.push_back(node->dwCode);
    }
    if (!state.response && before != nullptr) {
        state.trays = before->trays;
        state.bins = before->bins;
        state.toner = before->toner;
        state.counter = before->counter;
        state.supplies = before->supplies;
        state.serial = before->serial;
        return state;
    }
    const RecordView view = ViewCycleRecord(*record, cycle);
    const Json names = NamesJson(view, code_page);
    for (size_t i = 0; i < view.trays.size(); ++i) {
        const TrayView& tray = view.trays[i];
        const std::string name = StringOr(names["trays"][i]["name"], tray.name.value_or("tray"));
        std::string value = tray.paper_size_word.value_or("-");
        if (tray.level_asked) value += tray.percent ? ", " + std::to_string(*tray.percent) + " %" : ", -";
        value += ", " + tray.media_word.value_or("-");
        for (const std::string& role : tray.roles) value += ", " + role;
        state.trays.emplace_back(name, value);
    }
    for (size_t i = 0; i < view.bins.size(); ++i) {
        const BinView& bin = view.bins[i];
        const std::string name = StringOr(names["bins"][i]["name"], bin.name.value_or("bin"));
        state.bins.emplace_back(name, bin.state_word.value_or("-"));
    }
    if (cycle.mib) {
        state.supplies = ReadSupplies(*cycle.mib);
        state.serial = ReadInventory(*cycle.mib).serial;
    }
    const std::optional<std::string> from_levels = TonerStateFromLevels(state.supplies);
    state.toner = state.status_known ? from_levels.value_or(TonerState(state.codes)) : "";
    if (!view.counters.empty()) state.counter = std::to_string(view.counters.front().value);
    return state;
}

std::vector<std::pair<std::string, std::string>> WatchLines(const WatchState& state) {
    std::vector<std::pair<std::string, std::string>> lines;
    std::string status;
    if (state.response && !state.status_known) {
        // The library would read an empty code list as a ready printer.
        status = "unknown  (" + state.status_note + ")";
    } else {
        status = state.short_text.empty() ? "-" : state.short_text;
        if (!state.long_text.empty() && state.long_text != state.short_text) status += " | " + state.long_text;
        if (!state.response) status += "  (" + state.reason + ")";
    }
    lines.emplace_back("status", status);
    for (const auto& [name, value] : state.trays) lines.emplace_back("tray " + name, value);
    for (const auto& [name, value] : state.bins) lines.emplace_back("bin " + name, value);
    for (const SupplyReading& supply : state.supplies) {
        lines.emplace_back("supply " + (supply.description.empty() ? supply.type : supply.description), SupplyLine(supply));
    }
    if (!state.toner.empty()) lines.emplace_back("toner", state.toner);
    else if (state.response) lines.emplace_back("toner", "unknown");
    if (!state.counter.empty()) lines.emplace_back("counter", state.counter);
    if (!state.serial.empty()) lines.emplace_back("serial", state.serial);
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
           before->codes != now.codes || before->short_text != now.short_text || before->long_text != now.long_text;
}

Json WatchStateJson(const WatchState& state) {
    Json trays = Json::array();
    for (const auto& [name, value] : state.trays) trays.push_back({{"name", name}, {"state", value}});
    Json bins = Json::array();
    for (const auto& [name, value] : state.bins) bins.push_back({{"name", name}, {"state", value}});
    Json json;
    json["response"] = state.response;
    json["reason"] = state.response ? Json(nullptr) : Json(state.reason);
    json["status_known"] = state.status_known;
    json["status_note"] = state.response && !state.status_known ? Json(state.status_note) : Json(nullptr);
    const bool texts = !state.response || state.status_known;
    json["short"] = texts ? Json(state.short_text) : Json(nullptr);
    json["long"] = texts ? Json(state.long_text) : Json(nullptr);
    json["codes"] = state.codes;
    json["trays"] = trays;
    json["bins"] = bins;
    json["toner"] = state.toner.empty() ? Json(nullptr) : Json(state.toner);
    json["counter"] = state.counter.empty() ? Json(nullptr) : Json(state.counter);
    json["ustatus"] = state.ustatus.empty() ? Json(nullptr) : Json(state.ustatus);
    if (!state.supplies.empty() || !state.serial.empty()) {
        json["supplies"] = SuppliesJson(state.supplies);
        json["serial"] = state.serial.empty() ? Json(nullptr) : Json(state.serial);
    }
    return json;
}

int WatchExitCode(const WatchState& state, const PrnInfoEx& record) {
    if (!state.response) return kExitNoResponse;
    if (!state.status_known) return kExitAttention;
    return NeedsAttention(record, state.codes) ? kExitAttention : 0;
}

}  // namespace tb58mon
