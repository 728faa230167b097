// Arbitrary bytes as a device ID, read twice into one record.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tb58::fuzz;
    UseOwnModule();
    PrnInfoEx record{};
    record.dwSize = sizeof record;
    for (int round = 0; round < 2; ++round) {
        InfoItem* root = NewItem(ITEM_CENTRO_DATA, nullptr, 0);
        AppendChild(root, NewItem(ITEM_DEVICE_ID, data, static_cast<uint32_t>(size)));
        PatSetCentroDataTo(root, 0, &record, 2);
        FreeTree(root);
    }
    ReleaseRecord(record);
    return 0;
}
