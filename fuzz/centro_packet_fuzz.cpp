// CentroData packet shapes from the input: root key and data, children of
// any key, data length and order, texts with or without a zero inside their
// data, and a QueryInfo child built by the library or by hand; into a fresh
// record or into one that holds trays, versions, options, bins and the
// emulation's information already (which a reply that does not answer its
// query must leave as it was).
#include "fuzz_support.h"

namespace {

constexpr char kFillingReply[] =
    "@PJL INFO CONFIG\r\nIN TRAYS [2 ENUMERATED]\r\n\tINTRAY1\r\n\tINTRAYLCT\r\n"
    "VERSION [2 ENUMERATED]\r\n\tFIRMWARE 1.07\r\n\tWEXA 4.02\r\nDUPLEX\r\n\f"
    "@PJL INFO OUTBINSTATUS\r\nUPPER=READY\r\n\f@PJL INQUIRE INTRAY1SIZE\r\nA4LONG\r\n\f"
    "@PJL INFO TZMO\r\nMEMORYUSAGE=USER\r\n\f";

void Fill(PrnInfoEx& record) {
    using namespace tb58::fuzz;
    InfoItem* root = NewItem(ITEM_CENTRO_DATA, nullptr, 0);
    AppendChild(root, NewItem(ITEM_PJL_TEXT, kFillingReply, sizeof kFillingReply));
    PatSetCentroDataTo(root, 0, &record, 2);
    FreeTree(root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tb58::fuzz;
    UseOwnModule();
    Input input(data, size);
    PrnInfoEx record{};
    const uint8_t record_shape = input.Byte();
    record.dwSize = (record_shape & 1) ? sizeof record : 403;
    if ((record_shape & 3) == 3) Fill(record);
    const uint32_t root_keys[] = {ITEM_CENTRO_DATA, ITEM_EMUL_CENTRO_DATA, ITEM_QUERY_INFO, input.Word()};
    const uint32_t root_key = root_keys[input.Byte() % 4];
    const std::string_view root_data = input.Bytes(input.Byte() % 9);
    InfoItem* root = NewItem(root_key, root_data.data(), static_cast<uint32_t>(root_data.size()));
    const uint8_t children = input.Byte() % 6;
    for (uint8_t i = 0; i < children && !input.Empty(); ++i) {
        const uint8_t shape = input.Byte();
        if (shape % 5 == 0) {
            InfoItem* query = PatCreateQueryInfo(&record, 2, input.Word());
            if (query != nullptr) AppendChild(root, query);
            continue;
        }
        const uint32_t keys[] = {ITEM_PJL_TEXT, ITEM_DEVICE_ID, ITEM_QUERY_INFO, input.Word()};
        const std::string_view text = input.Bytes(input.Byte() * 4u);
        InfoItem* child = NewItem(keys[shape % 4], text.data(), static_cast<uint32_t>(text.size()));
        if (child->key == ITEM_QUERY_INFO && (shape & 0x80) != 0) {
            // A hand-made QueryInfo with its own request children.
            const std::string_view query_text = input.Bytes(input.Byte());
            AppendChild(child, NewItem(ITEM_PJL_TEXT, query_text.data(), static_cast<uint32_t>(query_text.size())));
            if (shape & 0x40) AppendChild(child, NewItem(ITEM_DEVICE_ID, nullptr, 0));
        }
        AppendChild(root, child);
    }
    PatSetCentroDataTo(root, input.Word(), &record, 2 | (input.Byte() << 8));
    FreeTree(root);
    ReleaseRecord(record);
    return 0;
}
