// A status packet whose records come from the input (engine codes with
// texts, options, trays, bNoResponse), any kind value and selector, any of
// the language codes, into the status text, help file name and picture
// exports.
#include "fuzz_support.h"

namespace {

using namespace tb58::fuzz;

template <typename Node>
Node* AppendNode(void* first_location, uint32_t* count) {
    auto* node = static_cast<Node*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(Node)));
    node->size = sizeof(Node);
    void** link = static_cast<void**>(first_location);
    while (*link != nullptr) link = &static_cast<ChainNode*>(*link)->next;
    *link = node;
    ++*count;
    return node;
}

void FillRecord(Input& input, PrnInfoEx& record) {
    record.dwSize = (input.Byte() & 7) == 0 ? 400 : sizeof record;
    record.bNoResponse = (input.Byte() & 3) == 0 ? 1 : 0;
    const uint8_t codes = input.Byte() % 12;
    for (uint8_t i = 0; i < codes; ++i) {
        auto* node = AppendNode<EngineStatusNode>(&record.pEngineStatus, &record.nEngineStatus);
        // Mostly codes near the ones the tables know, sometimes anything.
        const uint32_t pick = input.Word();
        node->dwCode = static_cast<int32_t>((pick & 0x80000000u) ? pick : 10000 + pick % 540000);
        node->wCode = static_cast<uint16_t>(node->dwCode & 0xFFFF);
        const std::string_view text = input.Bytes(input.Byte() % 8 == 0 ? 260 : input.Byte() % 16);
        std::memcpy(node->szText, text.data(), text.size());  // may fill the field without a zero
    }
    const uint8_t options = input.Byte() % 6;
    for (uint8_t i = 0; i < options; ++i) {
        static const uint16_t kKnown[] = {1, 8, 21, 22, 38, 41, 104, 113, 114, 115, 16, 4};
        const uint8_t pick = input.Byte();
        AppendNode<DeviceInfoNode>(&record.pDeviceInfo, &record.nDeviceInfo)->wOptionCode =
            pick < 200 ? kKnown[pick % 12] : pick;
    }
    const uint8_t trays = input.Byte() % 6;
    for (uint8_t i = 0; i < trays; ++i) {
        AppendNode<TrayInfoNode>(&record.pTrayInfo, &record.nTrayInfo)->wTrayCode = input.Byte() % 12;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UseOwnModule();
    Input input(data, size);
    static const char* const kLanguages[] = {"JP", "EN", "DE", "FR", "IT", "ES", "NL", "SV",
                                             "DA", "NO", "CS", "HU", "PT", "PL", "FI"};
    PatSetLocale(kLanguages[input.Byte() % 15]);
    static const uint32_t kKinds[] = {1, 2, 8, 0x8000, 0x80000001u, 0x80000002u, 0x80000008u, 4};
    const uint8_t kind_pick = input.Byte();
    const uint32_t kind = kind_pick < 240 ? kKinds[kind_pick % 8] : input.Word();
    const uint32_t selector = input.Byte() % 4;

    PrnInfoEx machine{};
    PrnInfoEx function{};
    FillRecord(input, machine);
    FillRecord(input, function);
    InfoItem* root = NewItem(ITEM_STATUS, nullptr, 0);
    PrnInfoEx* machine_address = &machine;
    PrnInfoEx* function_address = &function;
    AppendChild(root, NewItem(ITEM_STATUS_MACHINE, &machine_address, sizeof machine_address));
    AppendChild(root, NewItem(1 + input.Byte() % 5, &function_address, sizeof function_address));

    char text[512];
    uint32_t text_size = input.Byte() & 1 ? sizeof text : input.Byte();
    PatGetStatusString(kind, root, 3, selector, text, &text_size);
    uint32_t name_size = sizeof text;
    PatGetStatusHelpFileName(kind, &function, 0, text, &name_size);
    BitmapInfo* picture = PatCreateBitmapInfo(kind, root, 3);
    if (picture != nullptr) PatDisposeBitmapInfo(picture);

    FreeTree(root);
    ReleaseRecord(machine);
    ReleaseRecord(function);
    return 0;
}
