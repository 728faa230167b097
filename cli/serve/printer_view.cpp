#include "serve/printer_view.h"

#include <ctime>
#include <map>

#include "base/reply_words.h"
#include "base/terminal_text.h"
#include "base/text_format.h"
#include "image/image_files.h"
#include "image/picture.h"
#include "monitor/cycle_record_view.h"
#include "report/status_report.h"
#include "watch/watch_view.h"

namespace tb58mon {
namespace {

constexpr uint32_t kPrinterKind = 1;

Json TimeJson(const std::optional<std::chrono::system_clock::time_point>& time) {
    return time ? Json(UtcIsoTime(*time)) : Json(nullptr);
}

void ReadConfiguration(const PrnInfoEx& record, const MonitorCycle& cycle, PrinterView& view) {
    const RecordView words = ViewCycleRecord(record, cycle);
    for (const TrayView& tray : words.trays) {
        view.trays.push_back({tray.code, tray.name.value_or("Tray " + std::to_string(tray.code)),
                              tray.paper_size_word.value_or(""), tray.percent ? int{*tray.percent} : -1,
                              tray.media_word.value_or("")});
    }
    for (const BinView& bin : words.bins) {
        view.bins.push_back({bin.code, bin.name.value_or(""), bin.state_word.value_or("")});
    }
    if (!words.counters.empty()) view.counter = words.counters.front().value;
    if (cycle.mib) {
        view.supplies = ReadSupplies(*cycle.mib);
        view.inventory = ReadInventory(*cycle.mib);
    }
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
    const std::vector<Layer> layers = PictureLayers(record, kPrinterKind);
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

std::mutex& LibraryLock() {
    static std::mutex lock;
    return lock;
}

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
    view->name = before.name;
    view->uri = before.uri;
    view->settings = before.settings;
    view->cycles = before.cycles + 1;
    view->poll_seconds = seconds;
    view->last_poll = std::chrono::system_clock::now();
    view->last_contact = cycle.no_response ? before.last_contact : view->last_poll;
    view->ustatus = cycle.ustatus.empty() ? before.ustatus : cycle.ustatus;
    const PrnInfoEx& r = *record->get();
    for (const EngineStatusNode* node = r.pEngineStatus; node != nullptr;
         node = static_cast<const EngineStatusNode*>(node->next)) {
        view->codes.push_back(node->dwCode);
    }
    view->error = r.bError != 0;
    view->offline = r.bOffline != 0;
    if (cycle.no_response) {
        view->health = PrinterHealth::kNoResponse;
        view->reason = cycle.reason;
        for (const QueryRound& round : cycle.rounds) {
            if (!round.answered) view->failure_kind = std::string(RoundOutcomeName(round.outcome));
            else if (!round.stored) view->failure_kind = "reply not accepted";
        }
        view->trays = before.trays;
        view->bins = before.bins;
        view->toner = before.toner;
        view->counter = before.counter;
        view->supplies = before.supplies;
        view->inventory = before.inventory;
    } else if (!cycle.status_read) {
        // Trays and bins came; the state did not: nothing is claimed of it.
        ReadConfiguration(r, cycle, *view);
        view->health = PrinterHealth::kUnknown;
        view->reason = cycle.status_note;
    } else {
        ReadConfiguration(r, cycle, *view);
        view->toner = TonerStateFromLevels(view->supplies).value_or(TonerState(view->codes));
        view->health = view->error ? PrinterHealth::kError
                       : NeedsAttention(r, view->codes) ? PrinterHealth::kAttention
                                                        : PrinterHealth::kReady;
    }
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

std::shared_ptr<const std::string> ViewJsonCache::Get(std::string_view lang,
                                                      const std::function<std::string()>& make) const {
    const std::lock_guard<std::mutex> lock(lock_);
    for (const auto& [code, text] : entries_) {
        if (code == lang) return text;
    }
    auto text = std::make_shared<const std::string>(make());
    entries_.emplace_back(std::string(lang), text);
    return text;
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
            const Json status = StatusJson(r, kPrinterKind, code_page);
            json["short"] = status["short"];
            json["long"] = status["long"];
        }
        for (const TrayReading& tray : view.trays) {
            const auto local = GetDeviceName(TB58_DEVICE_NAME_TRAY, tray.name.c_str());
            trays.push_back({{"name", local ? Json(AnsiToUtf8(*local, code_page)) : Json(tray.name)},
                             {"code", tray.code},
                             {"size", tray.size},
                             {"level", tray.level < 0 ? Json(nullptr) : Json(tray.level)},
                             {"media", tray.media}});
        }
        for (const BinReading& bin : view.bins) {
            const auto local = bin.name.empty() ? std::nullopt : GetDeviceName(TB58_DEVICE_NAME_OUTBIN, bin.name.c_str());
            bins.push_back({{"name", local ? Json(AnsiToUtf8(*local, code_page)) : Json(bin.name)},
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
    json["toner"] = view.toner.empty() ? Json(nullptr) : Json(view.toner);
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
