// Printer-management information built the way a caller builds it, from the
// public layout: lists of entry pointers, every value "not supplied" until
// a test sets it.
#pragma once

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "Tb58Wk31PMInfo.h"

namespace tb58::test {

inline const char* const kAllOnesText = static_cast<const char*>(PMINFO_NOT_SUPPLIED_POINTER);

// A PMList of entries of one type.  Entries keep their addresses as more are
// added; list() lays out the pointer array afresh.
template <typename Entry>
class PMListOf {
public:
    Entry& Add(const Entry& entry) {
        entries_.push_back(entry);
        return entries_.back();
    }
    // An entry pointer that is not supplied (null or all-ones).
    void AddMissing(const void* pointer) { missing_.emplace_back(entries_.size() + missing_.size(), pointer); }

    const PMList* list() {
        pointers_.clear();
        size_t next_entry = 0;
        size_t next_missing = 0;
        for (size_t i = 0; i < entries_.size() + missing_.size(); ++i) {
            if (next_missing < missing_.size() && missing_[next_missing].first == i) {
                pointers_.push_back(missing_[next_missing++].second);
            } else {
                pointers_.push_back(&entries_[next_entry++]);
            }
        }
        list_.count = static_cast<uint32_t>(pointers_.size());
        list_.reserved = 0;
        list_.entries = pointers_.data();
        return &list_;
    }

private:
    std::deque<Entry> entries_;
    std::vector<std::pair<size_t, const void*>> missing_;
    std::vector<const void*> pointers_;
    PMList list_{};
};

inline PMTrayEntryA TrayA(const char* name, uint32_t state = 0, uint32_t dimension1 = 210,
                          uint32_t dimension2 = 297, uint32_t media_bit = 0x1, uint32_t attributes = 0) {
    PMTrayEntryA entry{};
    entry.pTrayName = name;
    entry.dwState = state;
    entry.dwDimension1 = dimension1;
    entry.dwDimension2 = dimension2;
    entry.pMediaName = nullptr;
    entry.dwMediaBit = media_bit;
    entry.pSecondMediaBit = nullptr;
    entry.dwAttributes = attributes;
    return entry;
}

inline PMTrayEntryB TrayB(const char* name, uint32_t state = 0, uint32_t dimension1 = 210,
                          uint32_t dimension2 = 297, uint32_t media_bit = 0x1, uint32_t attributes = 0) {
    PMTrayEntryB entry{};
    entry.pTrayName = name;
    entry.dwState = state;
    entry.dwDimension1 = dimension1;
    entry.dwDimension2 = dimension2;
    entry.pMediaName = nullptr;
    entry.dwMediaBit = media_bit;
    entry.dwAttributes = attributes;
    return entry;
}

inline PMOutBinEntry OutBin(const char* name, uint32_t state = 0) {
    PMOutBinEntry entry{};
    entry.pBinName = name;
    entry.dwState = state;
    return entry;
}

inline PMOptionEntry Option(uint32_t device_code) { return PMOptionEntry{device_code}; }

inline PMEmulEntry Emulation(const char* name, const char* version) {
    PMEmulEntry entry{};
    entry.pEmulName = name;
    entry.pVersion = version;
    return entry;
}

inline PMFontEntry Font(const char* name) { return PMFontEntry{name}; }

inline PMEngineStatusEntry EngineStatus(int32_t code, const char* text = nullptr, uint32_t severity = 1) {
    PMEngineStatusEntry entry{};
    entry.dwCode = code;
    entry.pText = text;
    entry.dwSeverity = severity;
    return entry;
}

inline PMModelEntry Model(const char* name, const char* version, uint32_t memory, const char* maker) {
    PMModelEntry entry{};
    entry.pModelName = name;
    entry.pSYSVersion = version;
    entry.dwMemorySize = memory;
    entry.pMakerName = maker;
    return entry;
}

}  // namespace tb58::test
