// The status text exports: PatGetStatusString and PatGetStatusHelpFileName.
#include "Tb58Wk31.h"
#include "frame/export_frame.h"
#include "status/help_file_name.h"
#include "status/status_entries.h"
#include "status/status_record.h"
#include "status/status_selection.h"
#include "status/status_text.h"

namespace tb58::status {
namespace {

uint32_t GetStatusString(uint32_t kind, const InfoItem* packet, uint8_t selector, char* buffer, uint32_t* size) {
    PrnInfoEx merged{};
    const uint32_t found = GetStatusRecord(kind, packet, &merged);
    if (found != TB58_ERROR_SUCCESS) return found;
    const StatusContext context{kind, &merged};

    RecListPtr entries(CreateStatusEntryList());
    if (!entries) return ERROR_NOT_ENOUGH_MEMORY;
    // Any failure to build the entries is reported as a lack of memory; this
    // is also how a kind without priority table (the machine) is reported.
    if (BuildStatusEntries(context, entries.get()) != TB58_ERROR_SUCCESS) return ERROR_NOT_ENOUGH_MEMORY;

    char text[kStatusTextCapacity];
    const uint32_t composed = ComposeStatusText(context, entries.get(), selector, text, sizeof text);
    entries.reset();
    if (composed != TB58_ERROR_SUCCESS) return composed;
    return frame::DeliverText(text, buffer, size);
}

uint32_t GetStatusHelpFileName(uint32_t kind, const PrnInfoEx* record, char* buffer, uint32_t* size) {
    const StatusContext context{kind, record};
    RecListPtr codes(CreateStatusCodeList());
    if (!codes) return ERROR_NOT_ENOUGH_MEMORY;
    const uint32_t selected = SelectStatusCodes(context, codes.get());
    if (selected != TB58_ERROR_SUCCESS) return selected;
    char name[kHelpFileNameCapacity];
    const uint32_t composed = ComposeHelpFileName(context, codes.get(), name, sizeof name);
    codes.reset();
    if (composed != TB58_ERROR_SUCCESS) return composed;
    return frame::DeliverText(name, buffer, size);
}

}  // namespace
}  // namespace tb58::status

extern "C" TB58WK31_API int32_t PatGetStatusString(uint32_t kind, const InfoItem* packet, uint32_t revision,
                                                   uint32_t selector, char* buffer, uint32_t* size) {
    using namespace tb58;
    if (packet == nullptr || size == nullptr || (revision & 0xFF) != TB58_REVISION_STATUS ||
        !status::IsAcceptedKind(kind)) {
        return frame::Finish(ERROR_INVALID_PARAMETER);
    }
    return frame::Finish(status::GetStatusString(kind, packet, static_cast<uint8_t>(selector & 0xFF), buffer, size));
}

extern "C" TB58WK31_API int32_t PatGetStatusHelpFileName(uint32_t kind, const PrnInfoEx* record, uint32_t,
                                                         char* buffer, uint32_t* size) {
    using namespace tb58;
    if (size == nullptr || !status::IsAcceptedKind(kind) || record == nullptr) {
        return frame::Finish(ERROR_INVALID_PARAMETER);
    }
    return frame::Finish(status::GetStatusHelpFileName(kind, record, buffer, size));
}
