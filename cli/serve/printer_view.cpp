#include "serve/printer_view.h"

#include <ctime>
#include <map>

#include "base/reply_words.h"
#include "base/terminal_text.h"
#include "base/text_format.h"
#include "image/image_files.h"
#include "image/picture.h"
#include "report/record_report.h"
#include "report/status_report.h"

namespace tb58mon {
namespace {

Json TimeJson(const std::optional<std::chrono::system_clock::time_point>& time) {
    return time ? Json(UtcIsoTime(*time)) : Json(nullptr);
}

bool SameConfiguration(const PrinterView& a, const PrinterView& b) {
    if (a.trays.size() != b.trays.size() || a.bins.size() != b.bins.size()) return false;
    for (size_t i = 0; i < a.trays.size(); ++i) {
        if (a.trays[i].code != b.trays[i].code) return false;
    }
    return true;
}

// The status picture of a record as PNG bytes; the caller holds
// LibraryLock().  Printers in the same state and configuration share one
// picture: the pictures are kept by their layer lists while a view uses them.
std::shared_ptr<const std::string> DrawPng(PrnInfoEx* record) {
    static std::map<std::string, std::weak_ptr<const std::string>> drawn;
    static ModuleBitmaps bitmaps;
    const std::vector<Layer> layers = PictureLayers(record, TB58_KIND_PRINTER);
    std::string key;
    for (const Layer& layer : layers) {
        key += layer.name + ' ' + std::to_string(layer.x) + ' ' + std::to_string(layer.y) + ' ' +
               std::to_string(layer.rop) + ';';
    }
    if (auto found = drawn.find(key); found != drawn.end()) {
        if (auto png = found->second.lock()) return png;
    }
    const Picture picture =
        DrawLayers(layers, [&](const std::string& name) -> const Image& { return bitmaps.Get(name); });
    auto png = std::make_shared<const std::string>(EncodePng(picture.image));
    if (drawn.size() > 4096) std::erase_if(drawn, [](const auto& entry) { return entry.second.expired(); });
    drawn[key] = png;
    return png;
}

}  // namespace

std::shared_ptr<const PrinterView> WaitingView(const PrinterConfig& printer) {
    auto view = std::make_shared<PrinterView>();
    view->name = printer.name;
    view->uri = printer.uri;
    view->settings = printer.settings;
    // The machine as a fresh record shows it, until the first cycle.
    OwnedRecord fresh;
    const std::lock_guard<std::mutex> lock(LibraryLock());
    view->png = DrawPng(fresh.get());
    return view;
}

std::shared_ptr<const PrinterView> ViewAfterCycle(const PrinterView& before, std::shared_ptr<OwnedRecord> record,
                                                  const MonitorCycle& cycle, double seconds) {
    auto view = std::make_shared<PrinterView>();
    static_cast<PrinterState&>(*view) = StateAfterCycle(before, *record->get(), cycle, std::chrono::system_clock::now());
    view->name = before.name;
    view->uri = before.uri;
    view->settings = before.settings;
    view->cycles = before.cycles + 1;
    view->poll_seconds = seconds;
    view->record = std::move(record);
    const bool same_picture = before.png != nullptr && before.codes == view->codes &&
                              (before.health == PrinterHealth::kNoResponse) ==
                                  (view->health == PrinterHealth::kNoResponse) &&
                              SameConfiguration(before, *view);
    if (same_picture) {
        view->png = before.png;
        view->picture_id = before.picture_id;
    } else {
        const std::lock_guard<std::mutex> lock(LibraryLock());
        view->png = DrawPng(view->record->get());
        view->picture_id = view->png == before.png ? before.picture_id : before.picture_id + 1;
    }
    return view;
}

std::shared_ptr<const std::string> PrinterJsonText(const PrinterView& view, std::string_view lang) {
    return view.json.Get(lang, [&] {
        return PrinterJson(view, lang, false).dump(-1, ' ', false, Json::error_handler_t::replace);
    });
}

Json PrinterJson(const PrinterView& view, std::string_view lang, bool with_record) {
    Json json;
    json["name"] = view.name;
    json["uri"] = view.uri;
    json["state"] = std::string(HealthName(view.health));
    json["response"] = view.health != PrinterHealth::kNoResponse && view.health != PrinterHealth::kWaiting;
    json["reason"] = view.reason.empty() ? Json(nullptr) : Json(view.reason);
    json["short"] = nullptr;
    json["long"] = nullptr;
    Json trays = Json::array();
    Json bins = Json::array();
    Json record = nullptr;
    if (view.record != nullptr) {
        const std::lock_guard<std::mutex> lock(LibraryLock());
        SetLocale(lang);
        const uint32_t code_page = CodePageOfLanguage(lang);
        PrnInfoEx* r = view.record->get();
        if (view.health != PrinterHealth::kUnknown) {
            const StatusTexts texts = ReadStatusTexts(r, TB58_KIND_PRINTER, code_page);
            json["short"] = texts.short_text ? Json(*texts.short_text) : Json(nullptr);
            json["long"] = texts.long_text ? Json(*texts.long_text) : Json(nullptr);
        }
        for (const TrayReading& tray : view.trays) {
            trays.push_back({{"name", LocalizedDeviceName(TB58_DEVICE_NAME_TRAY, tray.name, code_page)},
                             {"code", tray.code},
                             {"size", tray.size},
                             {"level", tray.level < 0 ? Json(nullptr) : Json(tray.level)},
                             {"media", tray.media}});
        }
        for (const BinReading& bin : view.bins) {
            bins.push_back({{"name", bin.name.empty() ? bin.name
                                                      : LocalizedDeviceName(TB58_DEVICE_NAME_OUTBIN, bin.name, code_page)},
                            {"code", bin.code},
                            {"state", bin.state}});
        }
        if (with_record) record = RecordJson(ViewRecord(*r));
    }
    json["codes"] = view.codes;
    const bool known = view.health != PrinterHealth::kUnknown;
    json["error"] = known ? Json(view.error) : Json(nullptr);
    json["offline"] = known ? Json(view.offline) : Json(nullptr);
    json["trays"] = trays;
    json["bins"] = bins;
    json["toner"] = view.toner ? Json(std::string(TonerName(*view.toner))) : Json(nullptr);
    json["counter"] = view.counter ? Json(*view.counter) : Json(nullptr);
    if (view.inventory) {
        json["supplies"] = SuppliesJson(view.supplies);
        json["serial"] = view.inventory->serial.empty() ? Json(nullptr) : Json(view.inventory->serial);
        json["model"] = view.inventory->model.empty() ? Json(nullptr) : Json(view.inventory->model);
        json["memory_kib"] = view.inventory->memory_kib ? Json(*view.inventory->memory_kib) : Json(nullptr);
        json["pages"] = view.inventory->pages ? Json(*view.inventory->pages) : Json(nullptr);
    }
    json["last_poll"] = TimeJson(view.last_poll);
    json["last_contact"] = TimeJson(view.last_contact);
    json["poll_seconds"] = view.poll_seconds;
    json["picture"] = "/printers/" + view.name + ".png?v=" + std::to_string(view.picture_id);
    if (with_record) json["record"] = record;
    return json;
}

}  // namespace tb58mon
