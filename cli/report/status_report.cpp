#include "report/status_report.h"

#include <string>

#include "library/library_calls.h"
#include "base/printable_text.h"
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

StatusTexts ReadStatusTexts(PrnInfoEx* record, uint32_t kind, uint32_t code_page) {
    StatusPacket packet(record, kind);
    StatusTexts texts;
    if (auto text = GetStatusString(kind, packet.root(), TB58_STATUS_SHORT_TEXT)) {
        texts.short_text = AnsiToUtf8(*text, code_page);
    }
    if (auto text = GetStatusString(kind, packet.root(), TB58_STATUS_LONG_TEXT)) {
        texts.long_text = AnsiToUtf8(*text, code_page);
    }
    return texts;
}

Json StatusJson(PrnInfoEx* record, uint32_t kind, uint32_t code_page) {
    const StatusTexts texts = ReadStatusTexts(record, kind, code_page);
    Json json;
    json["kind"] = std::string(FunctionKindName(kind));
    json["kind_value"] = kind;
    json["alternate"] = (kind & TB58_KIND_ALTERNATE) != 0;
    json["short"] = texts.short_text ? Json(*texts.short_text) : Json(nullptr);
    json["long"] = texts.long_text ? Json(*texts.long_text) : Json(nullptr);
    return json;
}

std::string LocalizedDeviceName(uint32_t selector, const std::string& english, uint32_t code_page) {
    const auto local = GetDeviceName(selector, english.c_str());
    return local ? AnsiToUtf8(*local, code_page) : english;
}

Json NamesJson(const RecordView& record, uint32_t code_page) {
    const auto localized = [code_page](uint32_t selector, const void* value) {
        return Localized(GetDeviceName(selector, value), code_page);
    };
    Json trays = Json::array();
    for (const TrayView& tray : record.trays) {
        trays.push_back({{"wTrayCode", tray.code},
                         {"english", tray.name ? Json(*tray.name) : Json(nullptr)},
                         {"name", tray.name ? localized(TB58_DEVICE_NAME_TRAY, tray.name->c_str()) : Json(nullptr)}});
    }
    Json bins = Json::array();
    for (const BinView& bin : record.bins) {
        bins.push_back({{"wBinCode", bin.code},
                        {"english", bin.name ? Json(*bin.name) : Json(nullptr)},
                        {"name", bin.name ? localized(TB58_DEVICE_NAME_OUTBIN, bin.name->c_str()) : Json(nullptr)}});
    }
    Json options = Json::array();
    for (const OptionView& option : record.options) {
        options.push_back({{"wOptionCode", option.code},
                           {"english", option.description ? Json(*option.description) : Json(nullptr)},
                           {"device_code", option.device_code},
                           {"name", option.device_code == 0 ? Json(nullptr)
                                                            : localized(TB58_DEVICE_NAME_OPTION, &option.device_code)}});
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

// The texts may hold the printer's panel text: shown without its control
// characters.
void PrintStatus(std::ostream& out, const Json& status) {
    Field(out, "Short text",
          status["short"].is_null() ? "(none: TB58_ERROR_NOT_FOUND)" : PrintableLines(Str(status["short"])));
    Field(out, "Long text",
          status["long"].is_null() ? "(none: TB58_ERROR_NOT_FOUND)" : PrintableLines(Str(status["long"])));
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
