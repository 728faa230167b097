// Walking a PJL reply once and calling the handlers that the dispatch tables
// attach to exact keyword paths (command, argument, entry, item, item value).
//
// A reply goes through one loop (reply_dispatch.cpp): the tokenizer hands
// out each token once, as a view into the reply; a token that sets a path
// level looks the path up in the dispatch index, and each handler found
// reads on from the same tokenizer, as far as its line or section goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "Tb58Wk31PrnInfoEx.h"
#include "core/chain_tails.h"
#include "core/keyword_set.h"
#include "pjl/pjl_tokenizer.h"

namespace tb58::pjl {

// What the handlers of one reply work on: the tokenizer they read from and
// the record they fill and its chains, appended to at their remembered ends.
struct PjlReply {
    PjlTokenizer tokenizer;
    ChainTails chains;

    PrnInfoEx& record() { return chains.record(); }
};

// Every read of a reply walk, by the dispatcher and by its handlers; a
// reader passes over the token types it ignores (Passed; the dispatcher:
// those that set no path level).
template <uint32_t Passed = 0>
[[gnu::always_inline]] inline uint32_t PjlReadReplyToken(PjlReply& reply, std::string_view* token, uint32_t* type) {
    return PjlReadToken<Passed>(&reply.tokenizer, token, type);
}

// A reply handler: reads further tokens as it needs and stores what it read
// in the record; value is its row's value.  A handler stores only: whether
// the reply may be stored at all was decided before the walk.  A line it
// cannot read is left as it is, and the walk goes on behind it.
using PjlHandler = void (*)(PjlReply& reply, uint32_t value);

constexpr size_t kPathLevels = 5;

// One table row: five path texts (an empty text matches only an empty
// level), the handler and the value it is called with.
struct PjlDispatchRow {
    std::string_view path[kPathLevels];
    PjlHandler handler;
    uint32_t value;
};

// One handler call of a path, with its row's value.
struct PjlDispatchCall {
    PjlHandler handler;
    uint32_t value;
};

// The number a path level's text has in the dispatch index: 0 for an empty
// level, 1 + the keyword's place for a text that some row names at some
// level, kUnknownKeyword for any other text (no row names that path).
constexpr uint32_t kUnknownKeyword = 0xFF;

// A path as the numbers of its levels' texts, eight bits a level.
using PjlPathKey = uint64_t;

constexpr PjlPathKey PathKeyWith(PjlPathKey key, size_t level, uint32_t number) {
    const unsigned shift = static_cast<unsigned>(8 * level);
    return (key & ~(PjlPathKey{0xFF} << shift)) | PjlPathKey{number} << shift;
}

// One path that rows name, with its calls: the model rows' in table order,
// then the common rows'.
struct PjlDispatchPath {
    std::string_view level[kPathLevels];
    PjlPathKey key;
    uint16_t first_call;
    uint16_t call_count;
};

// A model table merged with the common table at compile time
// (dispatch_index.h): the keywords its rows name, every path's calls, and
// perfect hashes of both, so that a token's keyword is found with one probe
// and one comparison, and a path's calls with one probe.
struct PjlDispatchIndex {
    static constexpr unsigned kKeywordSlotBits = 10;
    static constexpr unsigned kPathSlotBits = 9;
    KeywordSetView<kKeywordSlotBits> keywords;
    const PjlDispatchPath* paths;
    const PjlDispatchCall* calls;
    const uint8_t* path_slots;  // 1 << kPathSlotBits entries: path number + 1, or 0
    uint64_t path_seed;

    // The number of a level's text (cut as the dispatcher reads tokens).
    uint32_t LevelNumber(std::string_view text) const {
        const uint32_t found = keywords.Find(text);
        if (found != 0) return found;
        return text.empty() ? 0 : kUnknownKeyword;
    }

    // The entry of a path given by its levels' numbers, or null when no row
    // names it.
    const PjlDispatchPath* Find(PjlPathKey key) const {
        const uint8_t slot = path_slots[HashSlot<kPathSlotBits>(key, path_seed)];
        if (slot == 0 || paths[slot - 1].key != key) return nullptr;
        return &paths[slot - 1];
    }

    // The same for a path given by its texts.
    const PjlDispatchPath* Find(const std::string_view (&levels)[kPathLevels]) const {
        PjlPathKey key = 0;
        for (size_t at = 0; at < kPathLevels; ++at) {
            const uint32_t number = LevelNumber(levels[at]);
            if (number == kUnknownKeyword) return nullptr;
            key = PathKeyWith(key, at, number);
        }
        return Find(key);
    }
};

// This model's rows (trays, bins, options) in search order, and their
// index, which includes the general INFO sections (common_dispatch_rows.h).
extern const std::span<const PjlDispatchRow> kModelDispatchRows;
extern const PjlDispatchIndex kModelDispatchIndex;

// Walks the reply text; for every command, argument, entry, item and item
// value token, calls every matching model row's handler, then every matching
// common row's handler.  Returns 0, or 13 when a token the dispatcher itself
// reads breaks the PJL line shapes (the rest of the text is not read).
uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchIndex& index, std::string_view reply);

}  // namespace tb58::pjl
