#include "status/picture/bitmap_composition.h"

#include "Tb58Wk31.h"
#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "status/picture/bitmap_layers.h"
#include "status/picture/bitmap_layout_rules.h"
#include "status/picture/bitmap_lookup.h"

namespace tb58::status {

uint32_t CollectStatusLayers(const StatusContext& context, RecList* codes, MemBlock* block) {
    const StatusBitmapRecord* main_body = FindDeviceBitmapTable(kMainBodyDevice);
    RecListIter iterator;
    RecListIterInit(codes, &iterator);
    uint32_t code = 0;
    while (RecListIterNext(&iterator, &code)) {
        // One decision per code, used for every table.
        const bool wildcard = !StatusKeyExists(code);
        if (main_body != nullptr) {
            const uint32_t added = AddRecordLayers(block, FindStatusBitmapRecord(main_body, code, wildcard));
            if (added != ERROR_SUCCESS) return added;
        }
        for (const DeviceInfoNode* device = context.record->pDeviceInfo; device != nullptr;
             device = static_cast<const DeviceInfoNode*>(device->next)) {
            const StatusBitmapRecord* table = FindDeviceBitmapTable(static_cast<int16_t>(device->wOptionCode));
            if (table == nullptr) continue;
            const uint32_t added = AddRecordLayers(block, FindStatusBitmapRecord(table, code, wildcard));
            if (added != ERROR_SUCCESS) return added;
        }
    }
    return ERROR_SUCCESS;
}

uint32_t ApplyLayoutRules(const StatusContext& context, RecList* codes, RecList* blocks) {
    MemBlock* block = nullptr;
    if (!RecListGet(blocks, 1, &block) || block == nullptr) return ERROR_SUCCESS;
    const uint32_t collected = CollectStatusLayers(context, codes, block);
    if (collected != ERROR_SUCCESS) return collected;
    const PrnInfoEx& record = *context.record;

    // Fourth-tray rule.
    if (ChainFindCode(reinterpret_cast<ChainNode*>(record.pTrayInfo), TB58_TRAY_4) == nullptr) {
        RemoveLayers(block, kLayerMainBody);
        const uint32_t added = AddNamedLayer(block, kBodyWithoutFourthTray, 0, 0, kLayerMainBody);
        if (added != ERROR_SUCCESS) return added;
        for (uint8_t layer : kTrayMarkersWithFourthTray) RemoveLayers(block, layer);
    } else {
        for (uint8_t layer : kTrayMarkersWithoutFourthTray) RemoveLayers(block, layer);
    }

    // Booklet rule: applies even when no finisher is installed.
    if (PrnInfoExHasDevice(&record, TB58_OPTION_BOOKLET_PROCESSOR)) {
        RemoveLayers(block, kLayerFinisher);
        const uint32_t added = AddNamedLayer(block, kFinisherBesideBookletProcessor, 0, 0, kLayerFinisher);
        if (added != ERROR_SUCCESS) return added;
    }

    // Offset rule.
    const int32_t a = PrnInfoExHasDevice(&record, TB58_OPTION_INTERPOSER) ? kInterposerWidth : 0;
    const int32_t b = PrnInfoExHasDevice(&record, TB58_OPTION_Z_FOLDING_UNIT) ? kZFoldWidth : 0;
    if (a != 0 || b != 0) {
        for (const LayerShift& shift : kLayerShifts) {
            const int32_t dx = -((shift.by_interposer ? a : 0) + (shift.by_zfold ? b : 0));
            if (dx != 0) ShiftLayers(block, shift.layer, dx, 0);
        }
    }

    // Overlay rule.
    RemoveLayers(block, IsAlternate(context) ? kLayerNormalOnly : kLayerAlternateOnly);
    return ERROR_SUCCESS;
}

}  // namespace tb58::status
