#include "convert/prn_info_ex_to_prn_info.h"

#include <cstring>

#include "Tb58Wk31Codes.h"
#include "Tb58Wk31InfoFlags.h"
#include "convert/fixed_text.h"
#include "core/chain_node.h"
#include "core/prn_info_ex.h"

namespace tb58::convert {
namespace {

struct OutputOptionBit {
    uint16_t option;
    uint32_t bit;
};
constexpr OutputOptionBit kOutputOptionBits[] = {
    {TB58_OPTION_STANDARD_OUTPUT_TRAY, PRNINFO_OUTPUT_STANDARD_TRAY},
    {TB58_OPTION_FINISHER_TWO_SHIFT, PRNINFO_OUTPUT_BOOKLET},
    {TB58_OPTION_FINISHER_BOOKLET, PRNINFO_OUTPUT_BOOKLET_A},
    {TB58_OPTION_FINISHER, PRNINFO_OUTPUT_FINISHER},
    {TB58_OPTION_FINISHER_A, PRNINFO_OUTPUT_FINISHER_A},
};

// The punch units, tested in this order.
constexpr uint16_t kPunchUnits[] = {TB58_OPTION_PUNCH_JP2,  TB58_OPTION_PUNCH_JP2_US3, TB58_OPTION_PUNCH_US2_US3,
                                    TB58_OPTION_PUNCH_JP2_EU4, TB58_OPTION_PUNCH_NEU4, TB58_OPTION_PUNCH_US2,
                                    TB58_OPTION_PUNCH_US3,  TB58_OPTION_PUNCH_EU4};

// Calls visit(node, index) for the first limit nodes of a chain; returns how
// many it visited.
template <typename Node, typename Visit>
uint32_t WalkChain(const Node* first, uint32_t limit, Visit visit) {
    uint32_t index = 0;
    for (const Node* node = first; node != nullptr && index < limit;
         node = static_cast<const Node*>(node->next), ++index) {
        visit(*node, index);
    }
    return index;
}

void CopyText(char* field, size_t field_size, const char* text) {
    if (text != nullptr) CopyToField(field, field_size, text);
}

void CopyTrays(const PrnInfoEx& source, PrnInfo* target) {
    const uint32_t written = WalkChain(source.pTrayInfo, PRNINFO_MAX_TRAYS, [&](const TrayInfoNode& node, uint32_t i) {
        target->TraySize[i] = {node.wTrayCode, node.wPaperSize};
        target->TrayMedia[i] = {node.wTrayCode, node.wMediaCode};
        // The level table holds the first trays only.
        if (i < PRNINFO_MAX_TRAY_LEVELS) target->TrayLevel[i] = {node.wTrayCode, node.wPaperLevel};
    });
    target->nTraySize = written;
    target->nTrayLevel = written < PRNINFO_MAX_TRAY_LEVELS ? written : PRNINFO_MAX_TRAY_LEVELS;
    target->dwTrayState = source.dwTrayState;
}

void DeriveOptionWords(const PrnInfoEx& source, PrnInfo* target) {
    if (PrnInfoExHasDevice(&source, TB58_OPTION_DISK)) target->dwHardDisk = PRNINFO_HARD_DISK_INSTALLED;
    uint32_t output = 0;
    for (const OutputOptionBit& row : kOutputOptionBits) {
        if (PrnInfoExHasDevice(&source, row.option)) output |= row.bit;
    }
    target->dwOutputOptions = output;
    if (PrnInfoExHasDevice(&source, TB58_OPTION_MAILBOX)) target->dwMailboxOptions = PRNINFO_MAILBOX_INSTALLED;
    if (PrnInfoExTestDevices(&source, kPunchUnits, sizeof kPunchUnits / sizeof kPunchUnits[0], kDevicesAny)) {
        target->dwPunchOptions = PRNINFO_PUNCH_INSTALLED;
    }
}

}  // namespace

void CopyEngineStatus(const PrnInfoEx& source, PrnInfo* target) {
    // A count of 1 whose chain is empty is read as the chain says: no codes.
    if (source.nEngineStatus == 1 && source.pEngineStatus != nullptr) {
        target->nEngineStatus = 1;
        target->dwEngineStatus = source.pEngineStatus->wCode;
    } else {
        uint32_t sum = 0;
        target->nEngineStatus =
            WalkChain(source.pEngineStatus, PRNINFO_MAX_CODES, [&](const EngineStatusNode& node, uint32_t i) {
                target->dwEngineStatusCodes[i] = node.dwCode;
                sum += static_cast<uint32_t>(node.dwCode);
            });
        target->dwEngineStatus = ((sum & 0xFFFFu) << 16) | PRNINFO_ENGINE_STATUS_SUM_MARK;
    }
    target->bError = source.bError;
}

void PrnInfoExToPrnInfo(const PrnInfoEx& source, PrnInfo* target, uint32_t flags) {
    std::memset(target, 0, sizeof *target);
    target->dwSize = PRNINFO_SIZE;

    if ((flags & INFO_STATUS) != 0) {
        target->dwOnline = source.bOnline;
        target->dwNoResponse = source.bNoResponse;
        target->bOffline = source.bOffline;
        target->bPrinting = source.bPrinting;
    }
    if ((flags & INFO_IDENTITY) != 0) {
        CopyText(target->szModelName, sizeof target->szModelName, source.pModelName);
        CopyText(target->szMakerName, sizeof target->szMakerName, source.pMakerName);
        CopyText(target->szDescription, sizeof target->szDescription, source.pDescription);
        target->bModelCode = source.bModelCode;
    }
    if ((flags & INFO_SYSTEM) != 0) {
        CopyText(target->szSYSVersion, sizeof target->szSYSVersion, source.pSYSVersion);
        target->dwMemorySize = source.dwMemorySize;
    }
    if ((flags & INFO_TRAY) != 0) CopyTrays(source, target);
    if ((flags & INFO_OUTBIN) != 0) {
        target->nOutBin = WalkChain(source.pOutBinInfo, PRNINFO_MAX_OUTBINS,
                                    [&](const OutBinInfoNode& node, uint32_t i) {
                                        target->OutBin[i] = {node.wBinCode, node.wState};
                                    });
        target->dwOutBinState = source.dwOutBinState;
    }
    if ((flags & INFO_EMUL) != 0) {
        target->nLoadedEmul = WalkChain(source.pLoadedEmul, PRNINFO_MAX_CODES,
                                        [&](const LoadedEmulNode& node, uint32_t i) {
                                            target->dwLoadedEmul[i] = node.wEmulCode;
                                        });
        target->dwLoadedEmulState = source.dwLoadedEmulState;
        CopyText(target->szQXSVersion, sizeof target->szQXSVersion, source.pQXSVersion);
        CopyText(target->szMainProgVersion, sizeof target->szMainProgVersion, source.pMainProgVersion);
    }
    if ((flags & INFO_FONT) != 0) {
        target->nLoadedFont = WalkChain(source.pLoadedFont, PRNINFO_MAX_CODES,
                                        [&](const LoadedFontNode& node, uint32_t i) {
                                            target->dwLoadedFont[i] = node.wFontCode;
                                        });
    }
    if ((flags & INFO_ENGINE_STATUS) != 0) CopyEngineStatus(source, target);
    if ((flags & INFO_DEVICE) != 0 && PrnInfoExHasDevice(&source, TB58_OPTION_DUPLEX)) {
        target->dwDuplex = PRNINFO_DUPLEX_INSTALLED;
    }
    DeriveOptionWords(source, target);
}

}  // namespace tb58::convert
