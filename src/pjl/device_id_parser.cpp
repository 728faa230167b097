#include "pjl/device_id_parser.h"

#include <cstring>

#include "core/chain_node.h"
#include "core/error_status_codes.h"
#include "core/prn_info_ex.h"
#include "pjl/pjl_tokenizer.h"
#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

constexpr size_t kFieldCapacity = 256;    // keys, values, value parts
constexpr size_t kElementCapacity = 30;   // one element of a list

// Calls each(element) for the non-empty ','- or '/'-separated elements of a
// list, each cut to 29 characters.
template <typename Each>
void ForEachElement(const char* list, char separator, Each each) {
    FieldCursor cursor = MakeFieldCursor(list);
    const char delimiters[] = {separator, '\0'};
    while (!cursor.AtEnd()) {
        char element[kElementCapacity];
        SplitField(cursor, element, sizeof element, std::string_view(delimiters, 1));
        if (element[0] != '\0') each(element);
    }
}

void ReadStatus(PrnInfoEx& record, FieldCursor& cursor) {
    PrnInfoExClear(&record, ChainId::pEngineStatus);
    char codes[kFieldCapacity];
    SplitField(cursor, codes, sizeof codes, ",");
    bool error_seen = false;
    ForEachElement(codes, '/', [&](const char* element) {
        const int32_t code = DecimalValue(element);
        auto* node = AllocNode<EngineStatusNode>();
        if (node == nullptr) return;
        node->wCode = static_cast<uint16_t>(static_cast<uint32_t>(code) & 0xFFFF);
        node->dwCode = code;
        PrnInfoExAppend(&record, ChainId::pEngineStatus, reinterpret_cast<ChainNode*>(node));
        if (!error_seen) error_seen = IsErrorStatusCode(static_cast<uint32_t>(code));
    });

    char rest[kFieldCapacity];
    SplitField(cursor, rest, sizeof rest, ";");
    FieldCursor state_cursor = MakeFieldCursor(rest);
    char state[kElementCapacity];
    SplitField(state_cursor, state, sizeof state, ",");
    record.bOnline = static_cast<uint8_t>(static_cast<uint32_t>(DecimalValue(state)) & 0xFF);
    record.bOffline = record.bOnline != 1 ? 1 : 0;
    record.bError = error_seen ? 1 : 0;

    if (state_cursor.AtEnd()) return;
    const std::string_view text(state_cursor.position, static_cast<size_t>(state_cursor.end - state_cursor.position));
    for (EngineStatusNode* node = record.pEngineStatus; node != nullptr;
         node = static_cast<EngineStatusNode*>(node->next)) {
        const size_t length = text.size() < sizeof node->szText - 1 ? text.size() : sizeof node->szText - 1;
        std::memcpy(node->szText, text.data(), length);
        node->szText[length] = '\0';
    }
}

void ReadCounters(PrnInfoEx& record, FieldCursor& cursor) {
    PrnInfoExClear(&record, ChainId::pCounterInfo);
    PrnInfoExClear(&record, ChainId::pSupplyInfo);
    char counter[kFieldCapacity];
    SplitField(cursor, counter, sizeof counter, "/");
    if (auto* node = AllocNode<CounterInfoNode>()) {
        node->wId = 1;
        node->dwValue = static_cast<uint32_t>(DecimalValue(counter));
        PrnInfoExAppend(&record, ChainId::pCounterInfo, reinterpret_cast<ChainNode*>(node));
    }
    char supplies[kFieldCapacity];
    SplitField(cursor, supplies, sizeof supplies, ";");
    const uint16_t* id = kSupplyIds;
    ForEachElement(supplies, ',', [&](const char* element) {
        if (*id == kSupplyIdsEnd) return;
        if (auto* node = AllocNode<SupplyInfoNode>()) {
            node->wId = *id;
            node->dwValue = static_cast<uint32_t>(DecimalValue(element));
            PrnInfoExAppend(&record, ChainId::pSupplyInfo, reinterpret_cast<ChainNode*>(node));
        }
        ++id;
    });
}

void ReadCommandSets(PrnInfoEx& record, FieldCursor& cursor) {
    char sets[kFieldCapacity];
    SplitField(cursor, sets, sizeof sets, ";");
    if (kCommandSetCodes[0].name == nullptr) return;  // this model lists none
    PrnInfoExClear(&record, ChainId::pLoadedEmul);
    ForEachElement(sets, ',', [&](const char* element) {
        auto* node = AllocNode<LoadedEmulNode>();
        if (node == nullptr) return;
        node->wEmulCode = static_cast<uint16_t>(LookupCodeByName(element, kCommandSetCodes) & 0xFFFF);
        PrnInfoExAppend(&record, ChainId::pLoadedEmul, reinterpret_cast<ChainNode*>(node));
    });
}

}  // namespace

FieldCursor MakeFieldCursor(std::string_view text) {
    const void* zero = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
    return {text.data(), zero != nullptr ? static_cast<const char*>(zero) : text.data() + text.size()};
}

void SplitField(FieldCursor& cursor, char* destination, size_t capacity, std::string_view delimiters) {
    if (capacity == 0) {
        if (!cursor.AtEnd()) ++cursor.position;
        return;
    }
    // The field ends at the first delimiter within the next capacity - 1
    // bytes; with one delimiter (every field of a device ID) one memchr
    // finds it.
    const size_t left = cursor.AtEnd() ? 0 : static_cast<size_t>(cursor.end - cursor.position);
    const size_t window = left < capacity - 1 ? left : capacity - 1;
    size_t copied = window;
    if (delimiters.size() == 1) {
        const void* found = window == 0 ? nullptr : std::memchr(cursor.position, delimiters[0], window);
        if (found != nullptr) copied = static_cast<size_t>(static_cast<const char*>(found) - cursor.position);
    } else {
        for (size_t at = 0; at < window; ++at) {
            if (delimiters.find(cursor.position[at]) != std::string_view::npos) {
                copied = at;
                break;
            }
        }
    }
    if (copied != 0) std::memcpy(destination, cursor.position, copied);
    destination[copied] = '\0';
    cursor.position += copied;
    if (!cursor.AtEnd()) ++cursor.position;
}

uint32_t ParseDeviceId(PrnInfoEx& record, std::string_view text) {
    FieldCursor cursor = MakeFieldCursor(text);
    uint32_t result = ERROR_SUCCESS;
    while (!cursor.AtEnd() && result == ERROR_SUCCESS) {
        char key[kFieldCapacity];
        SplitField(cursor, key, sizeof key, ":");
        char value[kFieldCapacity];
        if (std::strcmp(key, "MFG") == 0) {
            SplitField(cursor, value, sizeof value, ";");
            if (!PrnInfoExSetString(&record, TextId::pMakerName, value)) result = ERROR_NOT_ENOUGH_MEMORY;
        } else if (std::strcmp(key, "DES") == 0) {
            SplitField(cursor, value, sizeof value, ";");
            if (!PrnInfoExSetString(&record, TextId::pDescription, value)) result = ERROR_NOT_ENOUGH_MEMORY;
        } else if (std::strcmp(key, "MDL") == 0) {
            SplitField(cursor, value, sizeof value, ";");
            record.bModelCode = PrnInfoExSetString(&record, TextId::pModelName, value)
                                    ? static_cast<uint8_t>(LookupCodeByName(record.pModelName, kModelNameCodes))
                                    : 255;
        } else if (std::strcmp(key, "CMD") == 0) {
            ReadCommandSets(record, cursor);
        } else if (std::strcmp(key, "STS") == 0) {
            ReadStatus(record, cursor);
        } else if (std::strcmp(key, "QIJ") == 0) {
            ReadCounters(record, cursor);
        } else {
            SplitField(cursor, value, sizeof value, ";");
        }
    }
    return result;
}

}  // namespace tb58::pjl
