#include "report/record_view.h"

#include <span>
#include <string_view>

#include "base/reply_words.h"
#include "base/terminal_text.h"
#include "report/tray_level.h"

namespace tb58mon {
namespace {

// Texts from the printer are in code page 1252.
constexpr uint32_t kPrinterCodePage = 1252;

template <typename Node>
const Node* Next(const Node* node) {
    return static_cast<const Node*>(node->next);
}

Word Text(const char* text) {
    if (text == nullptr) return std::nullopt;
    return AnsiToUtf8(text, kPrinterCodePage);
}

// The text of a fixed field (never read past its size).
std::string FieldText(const char* field, size_t size) {
    size_t length = 0;
    while (length < size && field[length] != '\0') ++length;
    return AnsiToUtf8(std::string_view(field, length), kPrinterCodePage);
}

Word WordFor(std::span<const WordCode> table, uint32_t code) {
    const WordCode* row = FindCode(table, code);
    if (row == nullptr) return std::nullopt;
    return std::string(row->word);
}

Word Name(std::string_view name) {
    if (name.empty()) return std::nullopt;
    return std::string(name);
}

std::vector<std::string> TrayRoles(uint32_t attributes) {
    std::vector<std::string> roles;
    if ((attributes & TRAY_ATTR_LOCKED) != 0) roles.emplace_back("locked");
    for (const SpecialTrayWords& role : SpecialTrayTable()) {
        // Two inquiries share the chapter role: name it once.
        if ((attributes & role.attribute) != 0 && (roles.empty() || roles.back() != role.role)) {
            roles.emplace_back(role.role);
        }
    }
    return roles;
}

bool HasOption(const PrnInfoEx& record, uint16_t code) {
    for (const DeviceInfoNode* node = record.pDeviceInfo; node != nullptr; node = Next(node)) {
        if (node->wOptionCode == code) return true;
    }
    return false;
}

}  // namespace

RecordView ViewRecord(const PrnInfoEx& record, std::span<const std::string_view> replies) {
    RecordView view;
    view.model = Text(record.pModelName);
    view.model_code = record.bModelCode;
    view.maker = Text(record.pMakerName);
    view.description = Text(record.pDescription);
    view.firmware = Text(record.pSYSVersion);
    view.emulation_1_version = Text(record.pMainProgVersion);
    view.emulation_2_version = Text(record.pQXSVersion);
    view.memory_size = record.dwMemorySize;
    view.online = record.bOnline;
    view.offline = record.bOffline;
    view.error = record.bError;
    view.printing = record.bPrinting;
    view.no_response = record.bNoResponse;
    view.out_bin_state = record.dwOutBinState;

    for (const LoadedEmulNode* node = record.pLoadedEmul; node != nullptr; node = Next(node)) {
        view.emulations.push_back({node->wEmulCode, WordFor(EmulationNameTable(), node->wEmulCode),
                                   FieldText(node->szVersion, sizeof node->szVersion)});
    }
    for (const TrayInfoNode* node = record.pTrayInfo; node != nullptr; node = Next(node)) {
        const TrayWords* words = FindTrayByCode(node->wTrayCode);
        TrayView tray;
        tray.code = node->wTrayCode;
        tray.name = words == nullptr ? std::nullopt : Name(words->english_name);
        tray.paper_size = node->wPaperSize;
        tray.paper_size_word = WordFor(PaperSizeTable(), node->wPaperSize);
        tray.level = node->wPaperLevel;
        // The printer is not asked for the level of the bypass tray and the
        // inserter: their level field stays 0 and says nothing.
        tray.level_asked = words != nullptr && !words->level_variable.empty();
        tray.percent = TrayLevel(node->wPaperLevel, tray.level_asked ? words->level_variable : "", replies);
        tray.media = node->wMediaCode;
        tray.media_word = WordFor(MediaTable(), node->wMediaCode);
        tray.attributes = node->dwAttributes;
        tray.roles = TrayRoles(node->dwAttributes);
        view.trays.push_back(std::move(tray));
    }
    // With the finisher of two shift trays, bins 4 and 27 are its shift
    // trays 1 and 2.
    const bool two_shift_trays = HasOption(record, TB58_OPTION_FINISHER_TWO_SHIFT);
    for (const OutBinInfoNode* node = record.pOutBinInfo; node != nullptr; node = Next(node)) {
        const BinWords* words = FindBinByCode(node->wBinCode);
        BinView bin;
        bin.code = node->wBinCode;
        if (words != nullptr) {
            bin.name = two_shift_trays && !words->english_name_two_shift_trays.empty()
                           ? Name(words->english_name_two_shift_trays)
                           : Name(words->english_name);
        }
        bin.state = node->wState;
        bin.state_word = WordFor(BinStateTable(), node->wState);
        view.bins.push_back(std::move(bin));
    }
    for (const DeviceInfoNode* node = record.pDeviceInfo; node != nullptr; node = Next(node)) {
        const OptionWords* option = FindOptionByCode(node->wOptionCode);
        view.options.push_back({node->wOptionCode, option == nullptr ? std::nullopt : Name(option->description),
                                option == nullptr ? 0 : option->device_code});
    }
    for (const EngineStatusNode* node = record.pEngineStatus; node != nullptr; node = Next(node)) {
        view.engine_status.push_back({node->dwCode, FieldText(node->szText, sizeof node->szText)});
    }
    for (const EmulUniqInfoNode* node = record.pEmulUniqInfo; node != nullptr; node = Next(node)) {
        view.emulation_unique.push_back({node->wEmulCode, node->dwMemoryUsage,
                                         WordFor(MemoryUsageTable(), node->dwMemoryUsage),
                                         FieldText(node->szOther, sizeof node->szOther), node->dwImageRotation,
                                         WordFor(ImageRotationTable(), node->dwImageRotation)});
    }
    for (const CounterInfoNode* node = record.pCounterInfo; node != nullptr; node = Next(node)) {
        view.counters.push_back({node->wId, node->dwValue});
    }
    for (const SupplyInfoNode* node = record.pSupplyInfo; node != nullptr; node = Next(node)) {
        view.supplies.push_back({node->wId, node->dwValue});
    }
    return view;
}

}  // namespace tb58mon
