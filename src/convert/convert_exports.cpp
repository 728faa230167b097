// The conversion exports: PatPMInfoToPrnInfoEx and PatPrnInfoExToPrnInfo.
#include "Tb58Wk31.h"
#include "convert/pm_info_to_prn_info_ex.h"
#include "convert/prn_info_ex_to_prn_info.h"
#include "frame/export_frame.h"

namespace {

bool IsAcceptedKind(uint32_t kind) {
    const uint32_t low = kind & 0xFFFFu;
    return low == TB58_KIND_PRINTER || low == TB58_KIND_SCANNER || low == TB58_KIND_COPIER ||
           low == TB58_KIND_MACHINE;
}

}  // namespace

extern "C" TB58WK31_API int32_t PatPMInfoToPrnInfoEx(uint32_t kind, const void* pmInfo, uint32_t variant,
                                                     uint32_t flags, PrnInfoEx* record) {
    using namespace tb58;
    // Every check comes before the record is touched.
    if (pmInfo == nullptr || record == nullptr || !IsAcceptedKind(kind) || record->dwSize < PRNINFOEX_MIN_SIZE ||
        !convert::VariantMatchesKind(kind, variant)) {
        return frame::Finish(ERROR_INVALID_PARAMETER);
    }
    return frame::Finish(convert::PMInfoToPrnInfoEx(kind, pmInfo, flags, record));
}

extern "C" TB58WK31_API int32_t PatPrnInfoExToPrnInfo(const PrnInfoEx* source, PrnInfo* target, uint32_t flags) {
    using namespace tb58;
    if (source == nullptr || target == nullptr || source->dwSize < PRNINFOEX_MIN_SIZE) {
        return frame::Finish(ERROR_INVALID_PARAMETER);
    }
    convert::PrnInfoExToPrnInfo(*source, target, flags);
    return frame::Finish(ERROR_SUCCESS);
}
