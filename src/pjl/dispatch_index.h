// Building a dispatch index at compile time: a model table and the common
// table merged into one list of paths, each with its handler calls in the
// order the look-up makes them (the model rows in table order, then the
// common rows); the keywords the rows name, each numbered; and perfect
// hashes that find a keyword and a path's entry in one probe each.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/keyword_set.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {

template <size_t Rows>
struct PjlDispatchIndexData {
    KeywordSet<Rows * kPathLevels < 254 ? Rows * kPathLevels : 254, PjlDispatchIndex::kKeywordSlotBits> keywords{};
    std::array<PjlDispatchPath, Rows> paths{};
    std::array<PjlDispatchCall, Rows> calls{};
    std::array<uint8_t, size_t{1} << PjlDispatchIndex::kPathSlotBits> path_slots{};
    uint64_t path_seed = 0;
    size_t path_count = 0;

    constexpr PjlDispatchIndex View() const {
        return {keywords.View(), paths.data(), calls.data(), path_slots.data(), path_seed};
    }
};

constexpr bool SamePath(const std::string_view (&a)[kPathLevels], const std::string_view (&b)[kPathLevels]) {
    for (size_t at = 0; at < kPathLevels; ++at) {
        if (a[at] != b[at]) return false;
    }
    return true;
}

template <size_t ModelRows, size_t CommonRows>
consteval PjlDispatchIndexData<ModelRows + CommonRows> MakeDispatchIndex(
    const std::array<PjlDispatchRow, ModelRows>& model, const PjlDispatchRow (&common)[CommonRows]) {
    static_assert(ModelRows + CommonRows < 255, "a slot holds a path number below 255");
    PjlDispatchIndexData<ModelRows + CommonRows> index{};

    // Every text a row names at any level is a keyword.
    const auto add_keywords = [&index](const PjlDispatchRow& row) {
        for (const std::string_view text : row.path) {
            if (!text.empty()) index.keywords.Add(text);
        }
    };
    for (const PjlDispatchRow& row : model) add_keywords(row);
    for (const PjlDispatchRow& row : common) add_keywords(row);
    index.keywords.Seal();

    size_t calls = 0;
    const auto add_path = [&](const PjlDispatchRow& row) {
        for (size_t p = 0; p < index.path_count; ++p) {
            if (SamePath(index.paths[p].level, row.path)) return;  // listed already
        }
        PjlDispatchPath& path = index.paths[index.path_count++];
        path.key = 0;
        for (size_t at = 0; at < kPathLevels; ++at) {
            path.level[at] = row.path[at];
            path.key = PathKeyWith(path.key, at, row.path[at].empty() ? 0 : index.keywords.FindConstant(row.path[at]));
        }
        path.first_call = static_cast<uint16_t>(calls);
        for (const PjlDispatchRow& m : model) {
            if (SamePath(m.path, row.path)) index.calls[calls++] = PjlDispatchCall{m.handler, m.value};
        }
        for (const PjlDispatchRow& c : common) {
            if (SamePath(c.path, row.path)) index.calls[calls++] = PjlDispatchCall{c.handler, c.value};
        }
        path.call_count = static_cast<uint16_t>(calls - path.first_call);
    };
    for (const PjlDispatchRow& row : model) add_path(row);
    for (const PjlDispatchRow& row : common) add_path(row);

    std::array<uint64_t, ModelRows + CommonRows> keys{};
    for (size_t p = 0; p < index.path_count; ++p) keys[p] = index.paths[p].key;
    index.path_seed = FindSlotSeed<PjlDispatchIndex::kPathSlotBits>(keys, index.path_count);
    if (index.path_seed == 0) throw "no perfect hash for these paths";
    for (size_t p = 0; p < index.path_count; ++p) {
        index.path_slots[HashSlot<PjlDispatchIndex::kPathSlotBits>(keys[p], index.path_seed)] =
            static_cast<uint8_t>(p + 1);
    }
    return index;
}

}  // namespace tb58::pjl
