// Building QueryInfo packets: PatCreateQueryInfo and
// PatCreateEmulUniqQueryInfo.
#include <memory>

#include "Tb58Wk31Query.h"
#include "core/info_item.h"
#include "core/mem_block.h"
#include "frame/export_frame.h"
#include "pjl/query_lines.h"

namespace tb58::pjl {
namespace {

struct TreeDeleter {
    void operator()(InfoItem* root) const noexcept { InfoItemFreeTree(root); }
};
using TreePtr = std::unique_ptr<InfoItem, TreeDeleter>;

bool Append(MemBlock* text, std::string_view line) {
    return MemBlockWrite(text, line.data(), static_cast<uint32_t>(line.size()));
}

constexpr uint32_t kDeviceIdFlags = INFO_STATUS | INFO_ENGINE_STATUS | INFO_IDENTITY;
constexpr uint32_t kConfigFlags = INFO_SYSTEM | INFO_EMUL | INFO_DEVICE;

bool AppendTrayLines(MemBlock* text, const PrnInfoEx& record) {
    if (record.pTrayInfo == nullptr) {
        for (const TrayInquiry* row = kTrayInquiries; row->tray != kTrayInquiryEnd; ++row) {
            if (!row->listed_only && !Append(text, row->lines)) return false;
        }
        return true;
    }
    for (const TrayInfoNode* node = record.pTrayInfo; node != nullptr;
         node = static_cast<const TrayInfoNode*>(node->next)) {
        for (const TrayInquiry* row = kTrayInquiries; row->tray != kTrayInquiryEnd; ++row) {
            if (row->tray == node->wTrayCode && !Append(text, row->lines)) return false;
        }
    }
    return true;
}

// Fills a QueryInfo root; 0 or ERROR_NOT_ENOUGH_MEMORY.
uint32_t FillQueryInfo(InfoItem* root, const PrnInfoEx& record, uint32_t flags) {
    MemBlockPtr text(MemBlockCreate(kQueryTextCapacity, 1));
    if (!text || !Append(text.get(), kOpeningLine)) return ERROR_NOT_ENOUGH_MEMORY;
    if ((flags & kDeviceIdFlags) != 0 && InfoItemCreate(root, ITEM_DEVICE_ID, nullptr, 0) == nullptr) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    bool content = false;
    if ((flags & kConfigFlags) != 0) {
        if (!Append(text.get(), kConfigLine)) return ERROR_NOT_ENOUGH_MEMORY;
        content = true;
    }
    if ((flags & INFO_TRAY) != 0) {
        if (!Append(text.get(), kSpecialTrayLines) || !AppendTrayLines(text.get(), record)) {
            return ERROR_NOT_ENOUGH_MEMORY;
        }
        content = true;
    }
    if ((flags & INFO_OUTBIN) != 0) {
        if (!Append(text.get(), kOutBinLine)) return ERROR_NOT_ENOUGH_MEMORY;
        content = true;
    }
    if (!content) return ERROR_SUCCESS;
    if (!Append(text.get(), kUel) || !Append(text.get(), std::string_view("", 1))) return ERROR_NOT_ENOUGH_MEMORY;
    MemBlockSeek(text.get(), 0, kSeekSet);
    const uint32_t length = MemBlockGetSize(text.get());
    const void* bytes = MemBlockRead(text.get(), length);
    return InfoItemCreate(root, ITEM_PJL_TEXT, bytes, length) == nullptr ? ERROR_NOT_ENOUGH_MEMORY : ERROR_SUCCESS;
}

}  // namespace
}  // namespace tb58::pjl

extern "C" TB58WK31_API InfoItem* PatCreateQueryInfo(const PrnInfoEx* record, uint32_t revision, uint32_t flags) {
    using namespace tb58;
    if (record == nullptr || (revision & 0xFF) != TB58_REVISION_QUERY) {
        return frame::FinishPointer<InfoItem>(ERROR_INVALID_PARAMETER, nullptr);
    }
    pjl::TreePtr root(InfoItemCreate(nullptr, ITEM_QUERY_INFO, nullptr, 0));
    if (!root) return frame::FinishPointer<InfoItem>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    if (record->dwSize < PRNINFOEX_MIN_SIZE) return frame::FinishPointer<InfoItem>(ERROR_INVALID_PARAMETER, nullptr);
    const uint32_t result = pjl::FillQueryInfo(root.get(), *record, flags);
    if (result != ERROR_SUCCESS) return frame::FinishPointer<InfoItem>(result, nullptr);
    return frame::FinishPointer(ERROR_SUCCESS, root.release());
}

extern "C" TB58WK31_API InfoItem* PatCreateEmulUniqQueryInfo(const void* context, uint32_t revision,
                                                             uint32_t emulation, uint32_t) {
    using namespace tb58;
    if (context == nullptr || (revision & 0xFF) != TB58_REVISION_QUERY) {
        return frame::FinishPointer<InfoItem>(ERROR_INVALID_PARAMETER, nullptr);
    }
    pjl::TreePtr root(InfoItemCreate(nullptr, ITEM_QUERY_INFO, nullptr, 0));
    if (!root) return frame::FinishPointer<InfoItem>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    if ((emulation & 0xFFFF) != TB58_EMULATION_TZMO) {
        return frame::FinishPointer<InfoItem>(ERROR_INVALID_PARAMETER, nullptr);
    }
    const std::string_view text = pjl::kEmulUniqText;
    if (InfoItemCreate(root.get(), ITEM_PJL_TEXT, text.data(), static_cast<uint32_t>(text.size() + 1)) == nullptr) {
        return frame::FinishPointer<InfoItem>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    }
    return frame::FinishPointer(ERROR_SUCCESS, root.release());
}
