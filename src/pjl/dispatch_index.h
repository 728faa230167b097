// Building a dispatch index at compile time: a model table and the common
// table merged into one list of paths, each with its handler calls in the
// order the look-up makes them (the model rows in table order, then the
// common rows), and a perfect hash that finds a path's entry in one probe.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "pjl/reply_dispatch.h"

namespace tb58::pjl {

template <size_t Rows>
struct PjlDispatchIndexData {
    std::array<PjlDispatchPath, Rows> paths{};
    std::array<PjlDispatchCall, Rows> calls{};
    std::array<uint8_t, size_t{1} << PjlDispatchIndex::kSlotBits> slots{};
    uint64_t seed = 0;
    size_t path_count = 0;

    constexpr PjlDispatchIndex View() const { return {paths.data(), calls.data(), slots.data(), seed}; }
};

constexpr bool SamePath(const std::string_view (&a)[kPathLevels], const std::string_view (&b)[kPathLevels]) {
    for (size_t at = 0; at < kPathLevels; ++at) {
        if (a[at] != b[at]) return false;
    }
    return true;
}

constexpr uint64_t HashPath(const std::string_view (&levels)[kPathLevels]) {
    uint64_t level_hashes[kPathLevels] = {};
    for (size_t at = 0; at < kPathLevels; ++at) level_hashes[at] = HashPathLevel(levels[at]);
    return HashPath(level_hashes);
}

template <size_t ModelRows, size_t CommonRows>
consteval PjlDispatchIndexData<ModelRows + CommonRows> MakeDispatchIndex(const PjlDispatchRow (&model)[ModelRows],
                                                                        const PjlDispatchRow (&common)[CommonRows]) {
    static_assert(ModelRows + CommonRows < 255, "a slot holds a path number below 255");
    PjlDispatchIndexData<ModelRows + CommonRows> index{};
    size_t calls = 0;
    const auto add_path = [&](const PjlDispatchRow& row) {
        for (size_t p = 0; p < index.path_count; ++p) {
            if (SamePath(index.paths[p].level, row.path)) return;  // listed already
        }
        PjlDispatchPath& path = index.paths[index.path_count++];
        for (size_t at = 0; at < kPathLevels; ++at) path.level[at] = row.path[at];
        path.hash = HashPath(row.path);
        path.first_call = static_cast<uint16_t>(calls);
        PjlHandler fallback = nullptr;  // the first common row of the path
        for (const PjlDispatchRow& c : common) {
            if (SamePath(c.path, row.path)) {
                fallback = c.handler;
                break;
            }
        }
        for (const PjlDispatchRow& m : model) {
            if (SamePath(m.path, row.path)) index.calls[calls++] = PjlDispatchCall{m.handler, fallback, m.value};
        }
        for (const PjlDispatchRow& c : common) {
            if (SamePath(c.path, row.path)) index.calls[calls++] = PjlDispatchCall{c.handler, c.handler, c.value};
        }
        path.call_count = static_cast<uint16_t>(calls - path.first_call);
    };
    for (const PjlDispatchRow& row : model) add_path(row);
    for (const PjlDispatchRow& row : common) add_path(row);

    // The first seed under which no two paths share a slot.
    for (uint64_t attempt = 1; attempt < 100000; ++attempt) {
        const uint64_t seed = attempt * 0x9e3779b97f4a7c15ull;
        std::array<uint8_t, size_t{1} << PjlDispatchIndex::kSlotBits> slots{};
        bool collision = false;
        for (size_t p = 0; p < index.path_count && !collision; ++p) {
            uint8_t& slot = slots[PjlDispatchIndex::Slot(index.paths[p].hash, seed)];
            collision = slot != 0;
            slot = static_cast<uint8_t>(p + 1);
        }
        if (!collision) {
            index.slots = slots;
            index.seed = seed;
            return index;
        }
    }
    throw "no perfect hash for these paths";
}

}  // namespace tb58::pjl
