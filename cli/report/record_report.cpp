#include "report/record_report.h"

#include <string>

#include "base/reply_words.h"
#include "base/terminal_text.h"
#include "base/text_format.h"

namespace tb58mon {
namespace {

constexpr uint32_t kPrinterCodePage = 1252;

template <typename Node>
const Node* Next(const Node* node) {
    return static_cast<const Node*>(node->next);
}

Json Text(const char* text) {
    if (text == nullptr) return nullptr;
    return AnsiToUtf8(text, kPrinterCodePage);
}

// The text of a fixed field (never read past its size).
std::string FieldText(const char* field, size_t size) {
    size_t length = 0;
    while (length < size && field[length] != '\0') ++length;
    return AnsiToUtf8(std::string_view(field, length), kPrinterCodePage);
}

Json Word(std::span<const WordCode> table, uint32_t code) {
    const WordCode* row = FindCode(table, code);
    if (row == nullptr) return nullptr;
    return std::string(row->word);
}

Json TrayRoles(uint32_t attributes) {
    Json roles = Json::array();
    if ((attributes & TRAY_ATTR_LOCKED) != 0) roles.push_back("locked");
    if ((attributes & TRAY_ATTR_FRONT_COVER) != 0) roles.push_back("front cover");
    if ((attributes & TRAY_ATTR_SLIP_SHEET) != 0) roles.push_back("slip sheet");
    if ((attributes & TRAY_ATTR_CHAPTER) != 0) roles.push_back("chapter");
    if ((attributes & TRAY_ATTR_BACK_COVER) != 0) roles.push_back("back cover");
    return roles;
}

std::string Str(const Json& value) {
    if (value.is_null()) return "-";
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
}

}  // namespace

bool HasOption(const PrnInfoEx& record, uint16_t code) {
    for (const DeviceInfoNode* node = record.pDeviceInfo; node != nullptr; node = Next(node)) {
        if (node->wOptionCode == code) return true;
    }
    return false;
}

std::string_view BinEnglishName(uint16_t code, bool two_shift_trays) {
    const BinWords* bin = FindBinByCode(code);
    if (bin == nullptr) return {};
    if (two_shift_trays && !bin->english_name_two_shift_trays.empty()) return bin->english_name_two_shift_trays;
    return bin->english_name;
}

Json RecordJson(const PrnInfoEx& record) {
    Json json;
    json["pModelName"] = Text(record.pModelName);
    json["bModelCode"] = record.bModelCode;
    json["pMakerName"] = Text(record.pMakerName);
    json["pDescription"] = Text(record.pDescription);
    json["pSYSVersion"] = Text(record.pSYSVersion);
    json["pMainProgVersion"] = Text(record.pMainProgVersion);
    json["pQXSVersion"] = Text(record.pQXSVersion);
    json["dwMemorySize"] = record.dwMemorySize;
    json["bOnline"] = record.bOnline;
    json["bOffline"] = record.bOffline;
    json["bError"] = record.bError;
    json["bPrinting"] = record.bPrinting;
    json["bNoResponse"] = record.bNoResponse;

    Json emulations = Json::array();
    for (const LoadedEmulNode* node = record.pLoadedEmul; node != nullptr; node = Next(node)) {
        emulations.push_back({{"wEmulCode", node->wEmulCode},
                              {"emulation", Word(EmulationNameTable(), node->wEmulCode)},
                              {"szVersion", FieldText(node->szVersion, sizeof node->szVersion)}});
    }
    json["pLoadedEmul"] = emulations;

    Json trays = Json::array();
    for (const TrayInfoNode* node = record.pTrayInfo; node != nullptr; node = Next(node)) {
        const TrayWords* tray = FindTrayByCode(node->wTrayCode);
        trays.push_back({{"wTrayCode", node->wTrayCode},
                         {"tray", tray == nullptr ? Json(nullptr) : Json(std::string(tray->english_name))},
                         {"wPaperSize", node->wPaperSize},
                         {"paper_size", Word(PaperSizeTable(), node->wPaperSize)},
                         {"wPaperLevel", node->wPaperLevel},
                         {"wMediaCode", node->wMediaCode},
                         {"media", Word(MediaTable(), node->wMediaCode)},
                         {"dwAttributes", node->dwAttributes},
                         {"roles", TrayRoles(node->dwAttributes)}});
    }
    json["pTrayInfo"] = trays;

    const bool two_shift_trays = HasOption(record, TB58_OPTION_FINISHER_TWO_SHIFT);
    Json bins = Json::array();
    for (const OutBinInfoNode* node = record.pOutBinInfo; node != nullptr; node = Next(node)) {
        const std::string_view name = BinEnglishName(node->wBinCode, two_shift_trays);
        bins.push_back({{"wBinCode", node->wBinCode},
                        {"bin", name.empty() ? Json(nullptr) : Json(std::string(name))},
                        {"wState", node->wState},
                        {"state", Word(BinStateTable(), node->wState)}});
    }
    json["dwOutBinState"] = record.dwOutBinState;
    json["pOutBinInfo"] = bins;

    Json options = Json::array();
    for (const DeviceInfoNode* node = record.pDeviceInfo; node != nullptr; node = Next(node)) {
        const OptionWords* option = FindOptionByCode(node->wOptionCode);
        options.push_back(
            {{"wOptionCode", node->wOptionCode},
             {"option", option == nullptr ? Json(nullptr) : Json(std::string(option->description))}});
    }
    json["pDeviceInfo"] = options;

    Json status = Json::array();
    for (const EngineStatusNode* node = record.pEngineStatus; node != nullptr; node = Next(node)) {
        status.push_back({{"dwCode", node->dwCode}, {"szText", FieldText(node->szText, sizeof node->szText)}});
    }
    json["pEngineStatus"] = status;

    Json unique = Json::array();
    for (const EmulUniqInfoNode* node = record.pEmulUniqInfo; node != nullptr; node = Next(node)) {
        unique.push_back({{"wEmulCode", node->wEmulCode},
                          {"dwMemoryUsage", node->dwMemoryUsage},
                          {"memory_usage", Word(MemoryUsageTable(), node->dwMemoryUsage)},
                          {"szOther", FieldText(node->szOther, sizeof node->szOther)},
                          {"dwImageRotation", node->dwImageRotation},
                          {"image_rotation", Word(ImageRotationTable(), node->dwImageRotation)}});
    }
    json["pEmulUniqInfo"] = unique;

    Json counters = Json::array();
    for (const CounterInfoNode* node = record.pCounterInfo; node != nullptr; node = Next(node)) {
        counters.push_back({{"wId", node->wId}, {"dwValue", node->dwValue}});
    }
    json["pCounterInfo"] = counters;
    Json supplies = Json::array();
    for (const SupplyInfoNode* node = record.pSupplyInfo; node != nullptr; node = Next(node)) {
        supplies.push_back({{"wId", node->wId}, {"dwValue", node->dwValue}});
    }
    json["pSupplyInfo"] = supplies;
    return json;
}

void PrintRecord(std::ostream& out, const Json& r) {
    Field(out, "Model", Str(r["pModelName"]) + "  (bModelCode " + Str(r["bModelCode"]) + ")");
    Field(out, "Maker", Str(r["pMakerName"]));
    Field(out, "Description", Str(r["pDescription"]));
    Field(out, "Firmware", Str(r["pSYSVersion"]));
    Field(out, "Emulation 1", Str(r["pMainProgVersion"]) + "  (pMainProgVersion)");
    Field(out, "Emulation 2", Str(r["pQXSVersion"]) + "  (pQXSVersion)");
    std::string emulations;
    for (const Json& e : r["pLoadedEmul"]) {
        if (!emulations.empty()) emulations += "\n";
        emulations += Str(e["emulation"]) + " " + Str(e["szVersion"]) + "  (code " + Str(e["wEmulCode"]) + ")";
    }
    Field(out, "Emulations", emulations.empty() ? "-" : emulations);
    Field(out, "Memory", Str(r["dwMemorySize"]) + " KiB");
    Field(out, "State", std::string(r["bOnline"].get<int>() == 1 ? "online" : "offline") + "  (bOnline " +
                            Str(r["bOnline"]) + ", bOffline " + Str(r["bOffline"]) + ", bError " +
                            Str(r["bError"]) + ", bNoResponse " + Str(r["bNoResponse"]) + ")");
    std::string trays;
    for (const Json& t : r["pTrayInfo"]) {
        if (!trays.empty()) trays += "\n";
        std::string roles;
        for (const Json& role : t["roles"]) roles += (roles.empty() ? "" : ", ") + role.get<std::string>();
        // The printer is not asked for the level of the bypass tray and the
        // inserter: their level field stays 0 and says nothing.
        const TrayWords* words = FindTrayByCode(t["wTrayCode"].get<uint16_t>());
        const bool level_asked = words != nullptr && !words->level_variable.empty();
        std::string line = Pad(Str(t["tray"]) + " (" + Str(t["wTrayCode"]) + ")", 18) +
                           Pad(Str(t["paper_size"]), 12) + Pad(level_asked ? Str(t["wPaperLevel"]) + "%" : "-", 6) +
                           Pad(Str(t["media"]), 14) + roles;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        trays += line;
    }
    Field(out, "Trays", trays.empty() ? "-" : trays);
    std::string bins;
    for (const Json& b : r["pOutBinInfo"]) {
        if (!bins.empty()) bins += "\n";
        bins += Pad(Str(b["bin"]) + " (" + Str(b["wBinCode"]) + ")", 28) + Str(b["state"]);
    }
    Field(out, "Output bins", bins.empty() ? "-" : bins);
    std::string options;
    for (const Json& o : r["pDeviceInfo"]) {
        if (!options.empty()) options += "\n";
        options += Str(o["option"]) + " (" + Str(o["wOptionCode"]) + ")";
    }
    Field(out, "Options", options.empty() ? "-" : options);
    std::string status;
    for (const Json& s : r["pEngineStatus"]) {
        if (!status.empty()) status += "\n";
        status += Str(s["dwCode"]);
        if (!s["szText"].get<std::string>().empty()) status += "  \"" + Str(s["szText"]) + "\"";
    }
    Field(out, "Engine status", status.empty() ? "-" : status);
    for (const Json& u : r["pEmulUniqInfo"]) {
        Field(out, "TZMO", "memory usage " + Str(u["memory_usage"]) + ", image rotation " + Str(u["image_rotation"]) +
                               ", other \"" + Str(u["szOther"]) + "\"");
    }
    for (const Json& c : r["pCounterInfo"]) Field(out, "Counter", Str(c["dwValue"]));
}

}  // namespace tb58mon
