#include "report/status_report.h"

#include <string>

#include "library/library_calls.h"
#include "base/reply_words.h"
#include "base/terminal_text.h"
#include "base/text_format.h"
#include "base/value_lists.h"

namespace tb58mon {
namespace {

Json Localized(const std::optional<std::string>& text, uint32_t code_page) {
    if (!text) return nullptr;
    return AnsiToUtf8(*text, code_page);
}

std::string Str(const Json& value) {
    if (value.is_null()) return "-";
    if (value.is_string()) return value.get<std::string>();
    return value.dump();
}

}  // namespace

Json StatusJson(PrnInfoEx* record, uint32_t kind, uint32_t code_page) {
    StatusPacket packet(record, kind);
    Json json;
    json["kind"] = std::string(FunctionKindName(kind));
    json["kind_value"] = kind;
    json["alternate"] = (kind & TB58_KIND_ALTERNATE) != 0;
    json["short"] = Localized(GetStatusString(kind, packet.root(), TB58_STATUS_SHORT_TEXT), code_page);
    json["long"] = Localized(GetStatusString(kind, packet.root(), TB58_STATUS_LONG_TEXT), code_page);
    return json;
}

Json NamesJson(const PrnInfoEx& record, uint32_t code_page) {
    Json trays = Json::array();
    for (const TrayInfoNode* node = record.pTrayInfo; node != nullptr; node = static_cast<const TrayInfoNode*>(node->next)) {
        const TrayWords* tray = FindTrayByCode(node->wTrayCode);
        const std::string english = tray == nullptr ? "" : std::string(tray->english_name);
        trays.push_back({{"wTrayCode", node->wTrayCode},
                         {"english", tray == nullptr ? Json(nullptr) : Json(english)},
                         {"name", tray == nullptr ? Json(nullptr)
                                                  : Localized(GetDeviceName(TB58_DEVICE_NAME_TRAY, english.c_str()),
                                                              code_page)}});
    }
    const bool two_shift_trays = HasOption(record, TB58_OPTION_FINISHER_TWO_SHIFT);
    Json bins = Json::array();
    for (const OutBinInfoNode* node = record.pOutBinInfo; node != nullptr; node = static_cast<const OutBinInfoNode*>(node->next)) {
        const std::string english(BinEnglishName(node->wBinCode, two_shift_trays));
        bins.push_back({{"wBinCode", node->wBinCode},
                        {"english", english.empty() ? Json(nullptr) : Json(english)},
                        {"name", english.empty() ? Json(nullptr)
                                                 : Localized(GetDeviceName(TB58_DEVICE_NAME_OUTBIN, english.c_str()),
                                                             code_page)}});
    }
    Json options = Json::array();
    for (const DeviceInfoNode* node = record.pDeviceInfo; node != nullptr; node = static_cast<const DeviceInfoNode*>(node->next)) {
        const OptionWords* option = FindOptionByCode(node->wOptionCode);
        const int32_t device_code = option == nullptr ? 0 : option->device_code;
        options.push_back(
            {{"wOptionCode", node->wOptionCode},
             {"english", option == nullptr ? Json(nullptr) : Json(std::string(option->description))},
             {"device_code", device_code},
             {"name", device_code == 0 ? Json(nullptr)
                                       : Localized(GetDeviceName(TB58_DEVICE_NAME_OPTION, &device_code), code_page)}});
    }
    return {{"trays", trays}, {"bins", bins}, {"options", options}};
}

std::vector<Layer> PictureLayers(PrnInfoEx* record, uint32_t kind) {
    StatusPacket packet(record, kind);
    BitmapInfoPtr info(PatCreateBitmapInfo(kind, packet.root(), TB58_REVISION_STATUS));
    if (!info) throw CallFailed("PatCreateBitmapInfo");
    std::vector<Layer> layers;
    // Walk the description with its size fields as the strides.
    const auto* list_bytes = reinterpret_cast<const char*>(info->pLists);
    for (uint32_t l = 0; l < info->dwCount; ++l) {
        const auto* list = reinterpret_cast<const BitmapLayerList*>(list_bytes + size_t{l} * info->dwSize);
        const auto* layer_bytes = reinterpret_cast<const char*>(list->pLayers);
        for (uint32_t i = 0; i < list->dwCount; ++i) {
            const auto* layer = reinterpret_cast<const BitmapLayer*>(layer_bytes + size_t{i} * list->dwSize);
            size_t length = 0;
            while (length < sizeof layer->szName && layer->szName[length] != '\0') ++length;
            layers.push_back({std::string(layer->szName, length), layer->x, layer->y, layer->dwRop, layer->bLayer});
        }
    }
    return layers;
}

Json LayersJson(const std::vector<Layer>& layers) {
    Json json = Json::array();
    for (const Layer& layer : layers) {
        json.push_back({{"szName", layer.name},
                        {"x", layer.x},
                        {"y", layer.y},
                        {"dwRop", RopName(layer.rop)},
                        {"bLayer", layer.layer}});
    }
    return json;
}

void PrintStatus(std::ostream& out, const Json& status) {
    Field(out, "Short text", status["short"].is_null() ? "(none: TB58_ERROR_NOT_FOUND)" : Str(status["short"]));
    Field(out, "Long text", status["long"].is_null() ? "(none: TB58_ERROR_NOT_FOUND)" : Str(status["long"]));
}

void PrintNames(std::ostream& out, const Json& names) {
    auto print = [&](const char* label, const Json& rows, const char* code_key) {
        std::string lines;
        for (const Json& row : rows) {
            if (!lines.empty()) lines += "\n";
            lines += Pad(Str(row["english"]) + " (" + Str(row[code_key]) + ")", 34) + Str(row["name"]);
        }
        Field(out, label, lines.empty() ? "-" : lines);
    };
    print("Trays", names["trays"], "wTrayCode");
    print("Output bins", names["bins"], "wBinCode");
    print("Options", names["options"], "wOptionCode");
}

void PrintLayers(std::ostream& out, const Json& layers) {
    if (layers.empty()) out << "  (no layers)\n";
    for (const Json& layer : layers) {
        out << "  " << Pad(Str(layer["bLayer"]), 5) << Pad(Str(layer["szName"]), 16)
            << Pad("(" + Str(layer["x"]) + ", " + Str(layer["y"]) + ")", 12) << Str(layer["dwRop"]) << "\n";
    }
}

}  // namespace tb58mon
