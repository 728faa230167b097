#include "mib/mib_pminfo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

#include "base/reply_words.h"
#include "library/query_packets.h"

namespace tb58mon {
namespace {

// PrtSubUnitStatusTC: the low three bits are the availability, then the
// alert bits.
constexpr int32_t kAvailabilityMask = 0x7;
constexpr int32_t kUnavailableOnRequest = 1;
constexpr int32_t kUnavailableBroken = 3;
constexpr int32_t kNonCriticalAlert = 8;
constexpr int32_t kCriticalAlert = 16;

// The longest text handed to the library from an agent.
constexpr size_t kLongestText = 255;

// The number of single media bits the library may know (bits 0 to 22).
constexpr unsigned kMediaBits = 23;

std::string LibraryText(std::string_view text) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    return std::string(text.substr(0, kLongestText));
}

// Millimetres from one declared dimension; PMINFO_NOT_SUPPLIED when it is
// no positive number in a unit we know.
uint32_t Millimetres(std::optional<int32_t> value, std::optional<int32_t> unit) {
    if (!value || !unit || *value <= 0) return PMINFO_NOT_SUPPLIED;
    double mm = 0;
    if (*unit == kDimMicrometers) mm = *value / 1000.0;
    else if (*unit == kDimTenThousandthsOfInches) mm = *value * 25.4 / 10000.0;
    else return PMINFO_NOT_SUPPLIED;
    // Nothing a tray holds is longer than 10 m; a larger number is no size.
    if (mm > 10000.0) return PMINFO_NOT_SUPPLIED;
    return static_cast<uint32_t>(std::lround(mm));
}

// A media word without case, spaces, '-' and '_': "Plain", "plain-paper"
// and "PLAIN" meet.
std::string MediaKey(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c == ' ' || c == '-' || c == '_') continue;
        key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return key;
}

// The media code the library gives each single media bit, learned from the
// library itself once: one tray of form B per bit, converted into a scratch
// record.  0 for a bit the library does not know.
const std::array<uint16_t, kMediaBits>& MediaCodeOfBit() {
    static std::array<uint16_t, kMediaBits> codes{};
    static std::once_flag once;
    std::call_once(once, [] {
        for (unsigned bit = 0; bit < kMediaBits; ++bit) {
            PMTrayEntryB tray{};
            tray.pTrayName = nullptr;
            tray.dwState = 0;
            tray.dwDimension1 = PMINFO_NOT_SUPPLIED;
            tray.dwDimension2 = PMINFO_NOT_SUPPLIED;
            tray.pMediaName = nullptr;
            tray.dwMediaBit = 1u << bit;
            tray.dwAttributes = 0;
            const void* entries[] = {&tray};
            const PMList list{1, 0, entries};
            PMInfoMachine machine{};
            machine.pModel = static_cast<const PMModelEntry*>(PMINFO_NOT_SUPPLIED_POINTER);
            machine.pTraysA = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
            machine.pOutBins = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
            machine.pOptions = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
            machine.pTraysB = &list;
            OwnedRecord scratch;
            if (PatPMInfoToPrnInfoEx(TB58_KIND_MACHINE, &machine, PMINFO_VARIANT_MACHINE, PMINFO_MACHINE_TRAYS_B,
                                     scratch.get()) == 1 &&
                scratch->pTrayInfo != nullptr) {
                codes[bit] = scratch->pTrayInfo->wMediaCode;
            }
        }
    });
    return codes;
}

// The entries of one call, kept alive until the library has read them.
struct MachineInfo {
    PMModelEntry model{};
    std::string model_name;
    std::vector<PMTrayEntryB> trays;
    std::vector<std::string> tray_names;
    std::vector<std::string> media_names;
    std::vector<PMOutBinEntry> bins;
    std::vector<std::string> bin_names;
    std::vector<const void*> tray_pointers;
    std::vector<const void*> bin_pointers;
    PMList tray_list{};
    PMList bin_list{};
    PMInfoMachine machine{};
};

void AddTrays(const PrinterMib& mib, MachineInfo& info) {
    info.trays.reserve(mib.inputs.size());
    for (const MibInput& input : mib.inputs) {
        info.tray_names.push_back(LibraryText(input.name));
        info.media_names.push_back(LibraryText(input.media_name));
    }
    for (size_t i = 0; i < mib.inputs.size(); ++i) {
        const MibInput& input = mib.inputs[i];
        PMTrayEntryB tray{};
        tray.pTrayName = info.tray_names[i].c_str();
        tray.dwState = TrayStateOf(input);
        const auto [feed, cross] = TrayDimensionsMm(input);
        tray.dwDimension1 = feed;
        tray.dwDimension2 = cross;
        tray.pMediaName = info.media_names[i].empty() ? nullptr : info.media_names[i].c_str();
        tray.dwMediaBit = MediaBitOf(input.media_name);
        tray.dwAttributes = 0;
        info.trays.push_back(tray);
    }
    for (const PMTrayEntryB& tray : info.trays) info.tray_pointers.push_back(&tray);
    info.tray_list = PMList{static_cast<uint32_t>(info.tray_pointers.size()), 0, info.tray_pointers.data()};
}

void AddBins(const PrinterMib& mib, MachineInfo& info) {
    info.bins.reserve(mib.outputs.size());
    for (const MibOutput& output : mib.outputs) info.bin_names.push_back(LibraryText(output.name));
    for (size_t i = 0; i < mib.outputs.size(); ++i) {
        PMOutBinEntry bin{};
        bin.pBinName = info.bin_names[i].empty() ? nullptr : info.bin_names[i].c_str();
        bin.dwState = BinStateOf(mib.outputs[i]);
        info.bins.push_back(bin);
    }
    for (const PMOutBinEntry& bin : info.bins) info.bin_pointers.push_back(&bin);
    info.bin_list = PMList{static_cast<uint32_t>(info.bin_pointers.size()), 0, info.bin_pointers.data()};
}

void StoreMachine(PrnInfoEx* record, const PrinterMib& mib) {
    MachineInfo info;
    uint32_t flags = 0;
    info.machine.pModel = static_cast<const PMModelEntry*>(PMINFO_NOT_SUPPLIED_POINTER);
    info.machine.pTraysA = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    info.machine.pOptions = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    info.machine.pOutBins = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    info.machine.pTraysB = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    if (!mib.hr_descr.empty() || mib.memory_kib) {
        info.model_name = LibraryText(mib.hr_descr);
        info.model.pModelName = info.model_name.empty() ? nullptr : info.model_name.c_str();
        info.model.pSYSVersion = nullptr;
        info.model.pMakerName = nullptr;
        // The entry counts bytes in 32 bits: 4 GiB or more cannot be said.
        const bool fits = mib.memory_kib && *mib.memory_kib < (int64_t{1} << 22);
        info.model.dwMemorySize = fits ? static_cast<uint32_t>(*mib.memory_kib) << 10 : PMINFO_NOT_SUPPLIED;
        info.machine.pModel = &info.model;
        flags |= PMINFO_MACHINE_MODEL;
    }
    if (mib.printer_mib) {
        AddTrays(mib, info);
        AddBins(mib, info);
        info.machine.pTraysB = &info.tray_list;
        info.machine.pOutBins = &info.bin_list;
        flags |= PMINFO_MACHINE_TRAYS_B | PMINFO_MACHINE_OUTBINS;
    }
    if (flags == 0) return;
    if (PatPMInfoToPrnInfoEx(TB58_KIND_MACHINE, &info.machine, PMINFO_VARIANT_MACHINE, flags, record) != 1) {
        throw CallFailed("PatPMInfoToPrnInfoEx(machine)");
    }
}

// Printer-management device codes of the options the MIB shows: a paper
// source that is an option (the large-capacity tray, the interposer, the
// manual feed tray), a duplex path, mailbox trays, and a finisher's two
// shift trays (bins 4 and 27 together).
constexpr uint32_t kDeviceLct = 638;
constexpr uint32_t kDeviceInterposer = 639;
constexpr uint32_t kDeviceManualFeed = 640;
constexpr uint32_t kDeviceDuplex = 642;
constexpr uint32_t kDeviceFinisherTwoShift = 644;
constexpr uint32_t kDeviceMailbox = 648;

std::vector<uint32_t> OptionDevices(const PrnInfoEx& record, const PrinterMib& mib) {
    std::vector<uint32_t> devices;
    for (const TrayInfoNode* node = record.pTrayInfo; node != nullptr;
         node = static_cast<const TrayInfoNode*>(node->next)) {
        if (node->wTrayCode == TB58_TRAY_LCT) devices.push_back(kDeviceLct);
        if (node->wTrayCode == TB58_TRAY_INTERPOSER) devices.push_back(kDeviceInterposer);
        if (node->wTrayCode == TB58_TRAY_BYPASS) devices.push_back(kDeviceManualFeed);
    }
    bool shift_1 = false;
    bool shift_2 = false;
    for (const OutBinInfoNode* node = record.pOutBinInfo; node != nullptr;
         node = static_cast<const OutBinInfoNode*>(node->next)) {
        if (node->wBinCode >= TB58_BIN_MAILBOX_1 && node->wBinCode <= TB58_BIN_MAILBOX_9) devices.push_back(kDeviceMailbox);
        shift_1 = shift_1 || node->wBinCode == TB58_BIN_FINISHER_SHIFT;
        shift_2 = shift_2 || node->wBinCode == TB58_BIN_FINISHER_BOOKLET;
    }
    if (shift_1 && shift_2) devices.push_back(kDeviceFinisherTwoShift);
    const bool duplex = std::any_of(mib.media_paths.begin(), mib.media_paths.end(), [](const MibMediaPath& path) {
        return path.type == kMediaPathLongEdgeDuplex || path.type == kMediaPathShortEdgeDuplex;
    });
    if (duplex) devices.push_back(kDeviceDuplex);
    std::sort(devices.begin(), devices.end());
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

void StoreOptions(PrnInfoEx* record, const PrinterMib& mib) {
    if (!mib.printer_mib) return;
    const std::vector<uint32_t> devices = OptionDevices(*record, mib);
    std::vector<PMOptionEntry> entries;
    for (const uint32_t device : devices) entries.push_back(PMOptionEntry{device});
    std::vector<const void*> pointers;
    for (const PMOptionEntry& entry : entries) pointers.push_back(&entry);
    const PMList list{static_cast<uint32_t>(pointers.size()), 0, pointers.data()};
    PMInfoMachine machine{};
    machine.pModel = static_cast<const PMModelEntry*>(PMINFO_NOT_SUPPLIED_POINTER);
    machine.pTraysA = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    machine.pOutBins = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    machine.pTraysB = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    machine.pOptions = &list;
    if (PatPMInfoToPrnInfoEx(TB58_KIND_MACHINE, &machine, PMINFO_VARIANT_MACHINE, PMINFO_MACHINE_OPTIONS, record) != 1) {
        throw CallFailed("PatPMInfoToPrnInfoEx(options)");
    }
}

void StorePrinterStatus(PrnInfoEx* record, const PrinterMib& mib) {
    const uint32_t word = StatusWordOf(mib);
    if (word == PMINFO_NOT_SUPPLIED) return;
    PMInfoPrinter printer{};
    printer.pStatusWord = &word;
    printer.pFonts = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    printer.pEmulations = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    printer.pEngineStatus = static_cast<const PMList*>(PMINFO_NOT_SUPPLIED_POINTER);
    if (PatPMInfoToPrnInfoEx(TB58_KIND_PRINTER, &printer, PMINFO_VARIANT_PRINTER, PMINFO_STATUS_WORD, record) != 1) {
        throw CallFailed("PatPMInfoToPrnInfoEx(printer)");
    }
}

}  // namespace

uint32_t StatusWordOf(const PrinterMib& mib) {
    if (!mib.hr_device_status && !mib.hr_printer_status) return PMINFO_NOT_SUPPLIED;
    uint32_t word = 0;
    const int32_t device = mib.hr_device_status.value_or(static_cast<int32_t>(HrDeviceStatus::kRunning));
    if (device == static_cast<int32_t>(HrDeviceStatus::kRunning) ||
        device == static_cast<int32_t>(HrDeviceStatus::kWarning) ||
        device == static_cast<int32_t>(HrDeviceStatus::kTesting)) {
        word |= kStatusWordOnline;
    }
    if (mib.hr_printer_status == static_cast<int32_t>(HrPrinterStatus::kPrinting)) word |= kStatusWordPrinting;
    if (mib.hr_printer_status == static_cast<int32_t>(HrPrinterStatus::kWarmup)) word |= kStatusWordWarmingUp;
    return word;
}

std::optional<double> InputLevelRatio(const MibInput& input) {
    if (!input.current_level || !input.max_capacity) return std::nullopt;
    if (*input.current_level < 0 || *input.max_capacity <= 0) return std::nullopt;
    return std::min(1.0, static_cast<double>(*input.current_level) / *input.max_capacity);
}

uint32_t TrayStateOf(const MibInput& input) {
    const int32_t availability = input.status ? (*input.status & kAvailabilityMask) : 0;
    const bool no_media = input.status && (*input.status & kCriticalAlert) != 0 &&
                          (availability == kUnavailableOnRequest || availability == kUnavailableBroken);
    if (no_media || (input.current_level && *input.current_level == 0)) return kTrayStateEmpty;
    const std::optional<double> ratio = InputLevelRatio(input);
    if (!ratio) return 0;
    if (*ratio <= 0.10) return kTrayStateAt10;
    if (*ratio <= 0.25) return kTrayStateAt25;
    if (*ratio <= 0.50) return kTrayStateAt50;
    if (*ratio <= 0.75) return kTrayStateAt75;
    return 0;
}

std::pair<uint32_t, uint32_t> TrayDimensionsMm(const MibInput& input) {
    return {Millimetres(input.feed_dim, input.dim_unit), Millimetres(input.xfeed_dim, input.dim_unit)};
}

uint32_t BinStateOf(const MibOutput& output) {
    const bool no_room = output.remaining && *output.remaining == 0 && output.max_capacity && *output.max_capacity != 0;
    const bool alert = output.status && (*output.status & kCriticalAlert) != 0;
    const bool broken = output.status && (*output.status & kAvailabilityMask) == kUnavailableBroken &&
                        (*output.status & kNonCriticalAlert) != 0;
    return (no_room || alert || broken) ? 1u : 0u;
}

uint32_t MediaBitOf(std::string_view media_name) {
    const std::string key = MediaKey(media_name);
    if (key.empty()) return PMINFO_NOT_SUPPLIED;
    for (const WordCode& row : MediaTable()) {
        if (MediaKey(row.word) != key) continue;
        const auto& codes = MediaCodeOfBit();
        for (unsigned bit = 0; bit < kMediaBits; ++bit) {
            if (codes[bit] == row.code) return 1u << bit;
        }
        return PMINFO_NOT_SUPPLIED;
    }
    return PMINFO_NOT_SUPPLIED;
}

void StoreMibInRecord(PrnInfoEx* record, const PrinterMib& mib) {
    StoreMachine(record, mib);
    StoreOptions(record, mib);
    // The status word first: converting it empties the engine status codes,
    // which the device ID then brings.
    StorePrinterStatus(record, mib);
    const std::string_view id(mib.device_id.data(), std::min(mib.device_id.find('\0'), mib.device_id.size()));
    if (!id.empty()) StoreReplies(record, nullptr, false, "", id);
}

}  // namespace tb58mon
