// Arbitrary bytes as the PJL reply of a CentroData packet, with or without
// the QueryInfo it answers (flags from the input), into PatSetCentroDataTo
// on a record that keeps its contents across the replies of one input.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tb58::fuzz;
    UseOwnModule();
    Input input(data, size);
    PrnInfoEx record{};
    record.dwSize = sizeof record;
    const uint32_t flags = input.Word();
    const bool with_query = (input.Byte() & 1) != 0;
    const uint8_t replies = static_cast<uint8_t>(1 + (input.Byte() % 3));
    const std::string_view rest = input.Rest();
    const size_t part = rest.size() / replies;
    for (uint8_t i = 0; i < replies; ++i) {
        const std::string_view reply = rest.substr(i * part, i + 1 == replies ? std::string_view::npos : part);
        InfoItem* root = NewItem(ITEM_CENTRO_DATA, nullptr, 0);
        if (with_query) {
            InfoItem* query = PatCreateQueryInfo(&record, 2, flags);
            if (query != nullptr) AppendChild(root, query);
        }
        // The reply as it came: no terminator is added.
        AppendChild(root, NewItem(ITEM_PJL_TEXT, reply.data(), static_cast<uint32_t>(reply.size())));
        PatSetCentroDataTo(root, 0, &record, 2);
        FreeTree(root);
    }
    ReleaseRecord(record);
    return 0;
}
