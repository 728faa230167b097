#include "report/record_report.h"

#include <string>

#include "base/printable_text.h"
#include "base/text_format.h"

namespace tb58mon {
namespace {

Json Of(const Word& word) { return word ? Json(*word) : Json(nullptr); }

// A text for people: what the printer sent without its control characters.
std::string Str(const Word& word) { return word ? PrintableText(*word) : "-"; }

template <typename Number>
std::string Str(Number number) {
    return std::to_string(number);
}

}  // namespace

Json RecordJson(const RecordView& r) {
    Json json;
    json["pModelName"] = Of(r.model);
    json["bModelCode"] = r.model_code;
    json["pMakerName"] = Of(r.maker);
    json["pDescription"] = Of(r.description);
    json["pSYSVersion"] = Of(r.firmware);
    json["pMainProgVersion"] = Of(r.emulation_1_version);
    json["pQXSVersion"] = Of(r.emulation_2_version);
    json["dwMemorySize"] = r.memory_size;
    json["bOnline"] = r.online;
    json["bOffline"] = r.offline;
    json["bError"] = r.error;
    json["bPrinting"] = r.printing;
    json["bNoResponse"] = r.no_response;

    Json emulations = Json::array();
    for (const EmulationView& e : r.emulations) {
        emulations.push_back({{"wEmulCode", e.code}, {"emulation", Of(e.name)}, {"szVersion", e.version}});
    }
    json["pLoadedEmul"] = emulations;

    Json trays = Json::array();
    for (const TrayView& t : r.trays) {
        trays.push_back({{"wTrayCode", t.code},
                         {"tray", Of(t.name)},
                         {"wPaperSize", t.paper_size},
                         {"paper_size", Of(t.paper_size_word)},
                         {"wPaperLevel", t.level},
                         {"wMediaCode", t.media},
                         {"media", Of(t.media_word)},
                         {"dwAttributes", t.attributes},
                         {"roles", t.roles}});
    }
    json["pTrayInfo"] = trays;

    Json bins = Json::array();
    for (const BinView& b : r.bins) {
        bins.push_back({{"wBinCode", b.code}, {"bin", Of(b.name)}, {"wState", b.state}, {"state", Of(b.state_word)}});
    }
    json["dwOutBinState"] = r.out_bin_state;
    json["pOutBinInfo"] = bins;

    Json options = Json::array();
    for (const OptionView& o : r.options) options.push_back({{"wOptionCode", o.code}, {"option", Of(o.description)}});
    json["pDeviceInfo"] = options;

    Json status = Json::array();
    for (const EngineStatusView& s : r.engine_status) status.push_back({{"dwCode", s.code}, {"szText", s.text}});
    json["pEngineStatus"] = status;

    Json unique = Json::array();
    for (const EmulationUniqueView& u : r.emulation_unique) {
        unique.push_back({{"wEmulCode", u.code},
                          {"dwMemoryUsage", u.memory_usage},
                          {"memory_usage", Of(u.memory_usage_word)},
                          {"szOther", u.other},
                          {"dwImageRotation", u.image_rotation},
                          {"image_rotation", Of(u.image_rotation_word)}});
    }
    json["pEmulUniqInfo"] = unique;

    Json counters = Json::array();
    for (const CountView& c : r.counters) counters.push_back({{"wId", c.id}, {"dwValue", c.value}});
    json["pCounterInfo"] = counters;
    Json supplies = Json::array();
    for (const CountView& c : r.supplies) supplies.push_back({{"wId", c.id}, {"dwValue", c.value}});
    json["pSupplyInfo"] = supplies;
    return json;
}

void PrintRecord(std::ostream& out, const RecordView& r) {
    Field(out, "Model", Str(r.model) + "  (bModelCode " + Str(r.model_code) + ")");
    Field(out, "Maker", Str(r.maker));
    Field(out, "Description", Str(r.description));
    Field(out, "Firmware", Str(r.firmware));
    Field(out, "Emulation 1", Str(r.emulation_1_version) + "  (pMainProgVersion)");
    Field(out, "Emulation 2", Str(r.emulation_2_version) + "  (pQXSVersion)");
    std::string emulations;
    for (const EmulationView& e : r.emulations) {
        if (!emulations.empty()) emulations += "\n";
        emulations += Str(e.name) + " " + PrintableText(e.version) + "  (code " + Str(e.code) + ")";
    }
    Field(out, "Emulations", emulations.empty() ? "-" : emulations);
    Field(out, "Memory", Str(r.memory_size) + " KiB");
    Field(out, "State", std::string(r.online == 1 ? "online" : "offline") + "  (bOnline " + Str(r.online) +
                            ", bOffline " + Str(r.offline) + ", bError " + Str(r.error) + ", bNoResponse " +
                            Str(r.no_response) + ")");
    std::string trays;
    for (const TrayView& t : r.trays) {
        if (!trays.empty()) trays += "\n";
        std::string roles;
        for (const std::string& role : t.roles) roles += (roles.empty() ? "" : ", ") + role;
        std::string line = Pad(Str(t.name) + " (" + Str(t.code) + ")", 18) + Pad(Str(t.paper_size_word), 12) +
                           Pad(t.percent ? Str(*t.percent) + "%" : "-", 6) + Pad(Str(t.media_word), 14) + roles;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        trays += line;
    }
    Field(out, "Trays", trays.empty() ? "-" : trays);
    std::string bins;
    for (const BinView& b : r.bins) {
        if (!bins.empty()) bins += "\n";
        bins += Pad(Str(b.name) + " (" + Str(b.code) + ")", 28) + Str(b.state_word);
    }
    Field(out, "Output bins", bins.empty() ? "-" : bins);
    std::string options;
    for (const OptionView& o : r.options) {
        if (!options.empty()) options += "\n";
        options += Str(o.description) + " (" + Str(o.code) + ")";
    }
    Field(out, "Options", options.empty() ? "-" : options);
    std::string status;
    for (const EngineStatusView& s : r.engine_status) {
        if (!status.empty()) status += "\n";
        status += Str(s.code);
        if (!s.text.empty()) status += "  \"" + PrintableText(s.text) + "\"";
    }
    Field(out, "Engine status", status.empty() ? "-" : status);
    for (const EmulationUniqueView& u : r.emulation_unique) {
        Field(out, "TZMO", "memory usage " + Str(u.memory_usage_word) + ", image rotation " +
                               Str(u.image_rotation_word) + ", other \"" + PrintableText(u.other) + "\"");
    }
    for (const CountView& c : r.counters) Field(out, "Counter", Str(c.value));
}

}  // namespace tb58mon
