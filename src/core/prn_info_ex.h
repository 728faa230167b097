// Named-slot operations on the printer information record.  Every filler
// reaches the record's strings and chains through these, by slot name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Tb58Wk31PrnInfoEx.h"

namespace tb58 {

class RecordJournal;

// Where a chain slot lies in a record.
struct ChainSlot {
    ChainNode* first;         // the first node when the slot was resolved
    void* first_location;     // the record's first-node pointer field
    uint32_t* count_location;  // the record's node count field
};

// The record's chains, in the order of their fields.
enum class ChainId : uint32_t {
    kEngineStatus,
    kLoadedEmul,
    kLoadedFont,
    kTrayInfo,
    kOutBinInfo,
    kDeviceInfo,
    kEmulUniqInfo,
    kCounterInfo,
    kSupplyInfo,
    kColorCorrection,
    kCustomMediaInfo,
};
inline constexpr size_t kChainCount = 11;

// Where a chain lies in a record.
ChainSlot PrnInfoExChain(PrnInfoEx* record, ChainId chain);

// Replaces the string slot ("pModelName", "pMakerName", "pDescription",
// "pSYSVersion", "pMainProgVersion", "pQXSVersion") with a copy of text in
// its own global memory block.  0 for any other name (record unchanged) or
// a failed allocation (the old text is released and the slot left null).
int PrnInfoExSetString(PrnInfoEx* record, std::string_view slot, std::string_view text);
// The same, keeping the old text for the journal when it asks for it.
int PrnInfoExSetString(PrnInfoEx* record, std::string_view slot, std::string_view text, RecordJournal* journal);

// Resolves one of the eleven chain slot names ("pEngineStatus", ...,
// "pCustomMediaInfo"); 0 for any other name (out is not written).
int PrnInfoExGetSlot(PrnInfoEx* record, std::string_view slot, ChainSlot* out);

// Links node (whose next must be null) behind the last node of the named
// chain and counts it; the record owns the node from then on.  An unknown
// slot name returns 0 and leaves record and node alone (the node stays the
// caller's).
int PrnInfoExAppend(PrnInfoEx* record, std::string_view slot, ChainNode* node);

// Frees every node of the named chain; pointer null, count 0.  An unknown
// slot name returns 0 and touches nothing.
int PrnInfoExClear(PrnInfoEx* record, std::string_view slot);

// 1 when pDeviceInfo holds a node with the option code.
int PrnInfoExHasDevice(const PrnInfoEx* record, uint16_t option_code);

enum DeviceTestMode : uint32_t {
    kDevicesAll = 1,  // every code present
    kDevicesAny = 2,  // some code present
    // any other mode: the first code alone
};

// Tests count (>= 1) option codes against pDeviceInfo; 0 for count 0.
int PrnInfoExTestDevices(const PrnInfoEx* record, const uint16_t* codes, uint32_t count, uint32_t mode);

// Appends an EngineStatusNode with code and an empty text; a failed
// allocation loses the code silently.
void PrnInfoExAddEngineStatus(PrnInfoEx* record, int32_t code);

// The first node of a chain field, read without regard to its node type.
ChainNode* FirstNode(const void* first_location);

}  // namespace tb58
