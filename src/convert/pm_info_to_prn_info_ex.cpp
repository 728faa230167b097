#include "convert/pm_info_to_prn_info_ex.h"

#include "Tb58Wk31.h"
#include "convert/device_name_tables.h"
#include "convert/fixed_text.h"
#include "convert/pm_info_access.h"
#include "convert/pm_tables.h"
#include "convert/tray_node.h"
#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "platform/win32_api.h"

namespace tb58::convert {
namespace {

constexpr int32_t kReadyCode = 10001;
constexpr uint32_t kBinCodeUnknown = 255;
constexpr uint32_t kBinStateFull = 2;
constexpr uint32_t kSeverityError = 3;
constexpr uint32_t kEmulationMainProgram = 1;
constexpr uint32_t kEmulationQXS = 2;

ChainNode* AsChainNode(void* node) { return static_cast<ChainNode*>(node); }

// ---- Kind 0x8000 ----------------------------------------------------------

void ConvertModel(const PMModelEntry& model, PrnInfoEx* record) {
    if (IsSupplied(model.pModelName)) {
        record->bModelCode = PrnInfoExSetString(record, TextId::pModelName, model.pModelName)
                                 ? static_cast<uint8_t>(LookupCodeByName(model.pModelName, kModelNames) & 0xFF)
                                 : 255;
    }
    if (IsSupplied(model.pSYSVersion)) PrnInfoExSetString(record, TextId::pSYSVersion, model.pSYSVersion);
    if (IsSupplied(model.dwMemorySize)) record->dwMemorySize = model.dwMemorySize >> 10;
    if (IsSupplied(model.pMakerName)) PrnInfoExSetString(record, TextId::pMakerName, model.pMakerName);
    // The description is not part of printer-management information: it is
    // dropped, and its text released (the record owns it).
    if (record->pDescription != nullptr) GlobalFree(record->pDescription);
    record->pDescription = nullptr;
}

template <typename Entry>
uint32_t AppendTrays(const PMEntries& trays, PrnInfoEx* record) {
    for (uint32_t i = 0; i < trays.count(); ++i) {
        const Entry* entry = trays.EntryAt<Entry>(i);
        if (entry == nullptr) continue;
        TrayInfoNode* node = BuildTrayNode(*entry);
        if (node == nullptr) return ERROR_INVALID_PARAMETER;  // as trays have always reported it
        PrnInfoExAppend(record, ChainId::pTrayInfo, AsChainNode(node));
    }
    return ERROR_SUCCESS;
}

uint32_t ConvertOutBins(const PMEntries& bins, PrnInfoEx* record) {
    PrnInfoExClear(record, ChainId::pOutBinInfo);
    for (uint32_t i = 0; i < bins.count(); ++i) {
        const auto* entry = bins.EntryAt<PMOutBinEntry>(i);
        if (entry == nullptr) continue;
        auto* node = AllocNode<OutBinInfoNode>();
        if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
        const uint32_t code =
            IsSupplied(entry->pBinName) ? FindDeviceName(kOutBinNames, entry->pBinName)->code : kBinCodeUnknown;
        node->wBinCode = static_cast<uint16_t>(code);
        const bool full = IsSupplied(entry->dwState) && (entry->dwState & 0x1) != 0;
        node->wState = static_cast<uint16_t>(full ? kBinStateFull : 0);
        PrnInfoExAppend(record, ChainId::pOutBinInfo, AsChainNode(node));
    }
    record->dwOutBinState = 255;
    return ERROR_SUCCESS;
}

uint32_t ConvertOptions(const PMEntries& options, PrnInfoEx* record) {
    PrnInfoExClear(record, ChainId::pDeviceInfo);
    for (uint32_t i = 0; i < options.count(); ++i) {
        const auto* entry = options.EntryAt<PMOptionEntry>(i);
        if (entry == nullptr) continue;
        auto* node = AllocNode<DeviceInfoNode>();
        if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
        if (IsSupplied(entry->dwDeviceCode)) {
            node->wOptionCode = static_cast<uint16_t>(LookupCodeByValue(kDeviceCodes, entry->dwDeviceCode));
            node->reserved = 0;
        }
        PrnInfoExAppend(record, ChainId::pDeviceInfo, AsChainNode(node));
    }
    return ERROR_SUCCESS;
}

// ---- Kinds 1, 2 and 8 -----------------------------------------------------

uint32_t ConvertEngineStatus(const PMEntries& entries, PrnInfoEx* record) {
    record->bError = 0;
    for (uint32_t i = 0; i < entries.count(); ++i) {
        const auto* entry = entries.EntryAt<PMEngineStatusEntry>(i);
        if (entry == nullptr) continue;
        auto* node = AllocNode<EngineStatusNode>();
        if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
        node->wCode = static_cast<uint16_t>(static_cast<uint32_t>(entry->dwCode) & 0xFFFF);
        node->dwCode = entry->dwCode;
        if (IsSupplied(entry->pText)) CopyToField(node->szText, entry->pText);
        PrnInfoExAppend(record, ChainId::pEngineStatus, AsChainNode(node));
        if (!IsSupplied(entry->dwSeverity) || entry->dwSeverity == kSeverityError) record->bError = 1;
    }
    return ERROR_SUCCESS;
}

uint32_t ConvertEmulations(const PMEntries& emulations, PrnInfoEx* record) {
    PrnInfoExClear(record, ChainId::pLoadedEmul);
    for (uint32_t i = 0; i < emulations.count(); ++i) {
        const auto* entry = emulations.EntryAt<PMEmulEntry>(i);
        if (entry == nullptr) continue;
        NodePtr<LoadedEmulNode> node(AllocNode<LoadedEmulNode>());
        if (!node) return ERROR_NOT_ENOUGH_MEMORY;
        const uint32_t code = IsSupplied(entry->pEmulName) ? LookupCodeByName(entry->pEmulName, kEmulationNames) : 0;
        node->wEmulCode = static_cast<uint16_t>(code);
        const char* version = IsSupplied(entry->pVersion) ? entry->pVersion : nullptr;
        if (version != nullptr && code == kEmulationMainProgram) {
            if (!PrnInfoExSetString(record, TextId::pMainProgVersion, version)) return ERROR_NOT_ENOUGH_MEMORY;
        } else if (version != nullptr && code == kEmulationQXS) {
            if (!PrnInfoExSetString(record, TextId::pQXSVersion, version)) return ERROR_NOT_ENOUGH_MEMORY;
        }
        CopyToField(node->szVersion, version);
        PrnInfoExAppend(record, ChainId::pLoadedEmul, AsChainNode(node.release()));
    }
    record->dwLoadedEmulState = 0;
    return ERROR_SUCCESS;
}

uint32_t ConvertFonts(const PMEntries& fonts, PrnInfoEx* record) {
    PrnInfoExClear(record, ChainId::pLoadedFont);
    for (uint32_t i = 0; i < fonts.count(); ++i) {
        const auto* entry = fonts.EntryAt<PMFontEntry>(i);
        if (entry == nullptr) continue;
        auto* node = AllocNode<LoadedFontNode>();
        if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
        const uint32_t code = IsSupplied(entry->pFontName) ? LookupCodeByName(entry->pFontName, kFontNames) : 0;
        node->wFontCode = static_cast<uint16_t>(code);
        PrnInfoExAppend(record, ChainId::pLoadedFont, AsChainNode(node));
    }
    return ERROR_SUCCESS;
}

// Ready, when the engine status entries were asked for and nothing else
// stands in the record.
void AddReadyWhenEmpty(uint32_t flags, PrnInfoEx* record) {
    if ((flags & PMINFO_ENGINE_STATUS) != 0 && record->nEngineStatus == 0) {
        PrnInfoExAddEngineStatus(record, kReadyCode);
    }
}

}  // namespace

bool VariantMatchesKind(uint32_t kind, uint32_t variant) {
    const auto letter = static_cast<uint8_t>(variant & 0xFF);
    switch (kind & 0xFFFF) {
        case TB58_KIND_PRINTER: return letter == PMINFO_VARIANT_PRINTER;
        case TB58_KIND_SCANNER: return letter == PMINFO_VARIANT_SCANNER;
        case TB58_KIND_COPIER: return letter == PMINFO_VARIANT_COPIER;
        case TB58_KIND_MACHINE: return letter == PMINFO_VARIANT_MACHINE;
        default: return false;
    }
}

void ApplyStatusWord(PrnInfoEx* record, uint32_t word, uint32_t kind, bool suppress) {
    if (!IsSupplied(word)) return;
    for (const StatusWordRow* row = kStatusWordConditions; row->kind_mask != kValueTableEnd; ++row) {
        if ((row->kind_mask & kind) == 0 || (row->bit_mask & word) == 0) continue;
        if (row->suppressible && suppress) continue;
        PrnInfoExAddEngineStatus(record, row->code);
    }
}

uint32_t ConvertMachine(const PMInfoMachine& info, uint32_t flags, PrnInfoEx* record) {
    if ((flags & PMINFO_MACHINE_MODEL) != 0 && IsSupplied(info.pModel)) ConvertModel(*info.pModel, record);

    // Asking for trays of either form starts the tray chain afresh.
    if ((flags & (PMINFO_MACHINE_TRAYS_A | PMINFO_MACHINE_TRAYS_B)) != 0) PrnInfoExClear(record, ChainId::pTrayInfo);
    if ((flags & PMINFO_MACHINE_TRAYS_A) != 0) {
        const PMEntries trays(info.pTraysA);
        if (trays.supplied()) {
            PrnInfoExClear(record, ChainId::pTrayInfo);
            const uint32_t result = AppendTrays<PMTrayEntryA>(trays, record);
            if (result != ERROR_SUCCESS) return result;
            record->dwTrayState = 0;
        }
    }
    if ((flags & PMINFO_MACHINE_TRAYS_B) != 0) {
        const PMEntries trays(info.pTraysB);
        if (trays.supplied()) {
            const uint32_t result = AppendTrays<PMTrayEntryB>(trays, record);  // behind those of form A
            if (result != ERROR_SUCCESS) return result;
            record->dwTrayState = 0;
        }
    }
    if ((flags & PMINFO_MACHINE_OUTBINS) != 0) {
        const PMEntries bins(info.pOutBins);
        if (bins.supplied()) {
            const uint32_t result = ConvertOutBins(bins, record);
            if (result != ERROR_SUCCESS) return result;
        }
    }
    if ((flags & PMINFO_MACHINE_OPTIONS) != 0) {
        const PMEntries options(info.pOptions);
        if (options.supplied()) {
            const uint32_t result = ConvertOptions(options, record);
            if (result != ERROR_SUCCESS) return result;
        }
    }
    return ERROR_SUCCESS;
}

uint32_t ConvertPrinter(const PMInfoPrinter& info, uint32_t flags, bool suppress, PrnInfoEx* record) {
    if ((flags & (PMINFO_STATUS_WORD | PMINFO_ENGINE_STATUS)) != 0) PrnInfoExClear(record, ChainId::pEngineStatus);
    if ((flags & PMINFO_STATUS_WORD) != 0 && IsSupplied(info.pStatusWord) && IsSupplied(*info.pStatusWord)) {
        const uint32_t word = *info.pStatusWord;
        record->bOnline = static_cast<uint8_t>(word & 0x1);
        record->bOffline = static_cast<uint8_t>(1 - (word & 0x1));
        record->bNoResponse = static_cast<uint8_t>((word >> 27) & 0x1);
        record->bPrinting = static_cast<uint8_t>((word >> 22) & 0x1);
        ApplyStatusWord(record, word, TB58_KIND_PRINTER, suppress);
    }
    if ((flags & PMINFO_EMULATIONS) != 0) {
        const PMEntries emulations(info.pEmulations);
        if (emulations.supplied()) {
            const uint32_t result = ConvertEmulations(emulations, record);
            if (result != ERROR_SUCCESS) return result;
        }
    }
    if ((flags & PMINFO_FONTS) != 0) {
        const PMEntries fonts(info.pFonts);
        if (fonts.supplied()) {
            const uint32_t result = ConvertFonts(fonts, record);
            if (result != ERROR_SUCCESS) return result;
        }
    }
    if ((flags & PMINFO_ENGINE_STATUS) != 0) {
        const PMEntries entries(info.pEngineStatus);
        if (entries.supplied()) {
            const uint32_t result = ConvertEngineStatus(entries, record);
            if (result != ERROR_SUCCESS) return result;
        }
    }
    AddReadyWhenEmpty(flags, record);
    return ERROR_SUCCESS;
}

uint32_t ConvertFunction(const PMInfoFunction& info, uint32_t kind, uint32_t flags, bool suppress,
                         PrnInfoEx* record) {
    if ((flags & PMINFO_ENGINE_STATUS) != 0) {
        const PMEntries entries(info.pEngineStatus);
        if (entries.supplied()) {
            // Added behind the codes the record already holds.
            const uint32_t result = ConvertEngineStatus(entries, record);
            if (result != ERROR_SUCCESS) return result;
        }
    }
    if ((flags & PMINFO_STATUS_WORD) != 0 && IsSupplied(info.pStatusWord)) {
        ApplyStatusWord(record, *info.pStatusWord, kind, suppress);
    }
    AddReadyWhenEmpty(flags, record);
    return ERROR_SUCCESS;
}

uint32_t PMInfoToPrnInfoEx(uint32_t kind, const void* pm_info, uint32_t flags, PrnInfoEx* record) {
    const bool suppress = (kind & PMINFO_KIND_SUPPRESS) != 0;
    switch (kind & 0xFFFF) {
        case TB58_KIND_MACHINE:
            return ConvertMachine(*static_cast<const PMInfoMachine*>(pm_info), flags, record);
        case TB58_KIND_PRINTER:
            return ConvertPrinter(*static_cast<const PMInfoPrinter*>(pm_info), flags, suppress, record);
        case TB58_KIND_SCANNER:
        case TB58_KIND_COPIER:
            return ConvertFunction(*static_cast<const PMInfoFunction*>(pm_info), kind & 0xFFFF, flags, suppress,
                                   record);
        default:
            return ERROR_INVALID_PARAMETER;
    }
}

}  // namespace tb58::convert
