// Walking a PJL reply once and calling the handlers that the dispatch tables
// attach to exact keyword paths (command, argument, entry, item, item value).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Tb58Wk31PrnInfoEx.h"
#include "pjl/pjl_token_tape.h"
#include "pjl/pjl_tokenizer.h"

namespace tb58::pjl {

struct PjlHandlerRef;

// A reply handler: reads further tokens as it needs and stores values in the
// record.  fallback is the handler of the first common row that matches the
// same path (no handler of this model uses it); value is the row's value.
// Returns 0 or an error code, which the dispatcher ignores.
using PjlHandler = uint32_t (*)(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef fallback,
                                uint32_t value);

struct PjlHandlerRef {
    PjlHandler handler;
};

constexpr size_t kPathLevels = 5;

// A hash of a whole path, so that a look-up compares texts only for the
// rows whose path hash equals the current one.
constexpr uint64_t HashPathLevel(const char* text) {
    uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    for (; *text != '\0'; ++text) hash = (hash ^ static_cast<unsigned char>(*text)) * 0x100000001b3ull;
    return hash;
}

constexpr uint64_t CombinePathHash(uint64_t path_hash, uint64_t level_hash) {
    return (path_hash ^ level_hash) * 0x9e3779b97f4a7c15ull + 0x632be59bd9b4e019ull;
}

// One row: five path texts (an empty text matches only an empty level), the
// handler and its value, and the hash of the path (made when the table is
// built, at compile time).  A table ends with a row whose first text is null.
struct PjlDispatchRow {
    constexpr PjlDispatchRow(const char* const (&row_path)[kPathLevels], PjlHandler row_handler, uint32_t row_value)
        : path{row_path[0], row_path[1], row_path[2], row_path[3], row_path[4]},
          handler(row_handler),
          value(row_value) {
        if (path[0] == nullptr) return;
        for (const char* level : path) path_hash = CombinePathHash(path_hash, HashPathLevel(level));
    }
    const char* path[kPathLevels];
    PjlHandler handler;
    uint32_t value;
    uint64_t path_hash = 0;
};

// A table as data: its rows in search order (ended by a row whose first
// text is null) and the row numbers sorted by path hash (then by row
// number), so that a look-up finds the rows of a path by binary search and
// still calls them in table order.
struct PjlDispatchTable {
    const PjlDispatchRow* rows;
    const uint16_t* by_hash;
    size_t count;
    // One bit per value of a path hash's top byte, set for the rows' paths:
    // most tokens of a reply lead to a path no row has, and the filter says
    // so without a search.
    std::array<uint64_t, 4> path_filter;
};

constexpr bool PathHashMayMatch(const std::array<uint64_t, 4>& filter, uint64_t path_hash) {
    const unsigned top = static_cast<unsigned>(path_hash >> 56);
    return ((filter[top >> 6] >> (top & 63)) & 1) != 0;
}

template <size_t Rows>
constexpr std::array<uint64_t, 4> MakePathHashFilter(const PjlDispatchRow (&rows)[Rows]) {
    std::array<uint64_t, 4> filter{};
    for (size_t i = 0; i + 1 < Rows; ++i) {
        const unsigned top = static_cast<unsigned>(rows[i].path_hash >> 56);
        filter[top >> 6] |= uint64_t{1} << (top & 63);
    }
    return filter;
}

template <size_t Rows>
constexpr std::array<uint16_t, Rows - 1> SortRowsByPathHash(const PjlDispatchRow (&rows)[Rows]) {
    std::array<uint16_t, Rows - 1> order{};
    for (size_t i = 0; i + 1 < Rows; ++i) {
        size_t at = i;  // insertion sort: stable, so equal hashes keep the row order
        while (at > 0 && rows[order[at - 1]].path_hash > rows[i].path_hash) {
            order[at] = order[at - 1];
            --at;
        }
        order[at] = static_cast<uint16_t>(i);
    }
    return order;
}

// The general INFO sections (7 rows), held by the dispatcher.
extern const PjlDispatchTable kCommonDispatchTable;
// This model's trays, bins and options (62 rows).
extern const PjlDispatchTable kModelDispatchTable;

// Walks the reply text; for every command, argument, entry, item and item
// value token, calls every matching model row's handler, then every matching
// common row's handler.  Returns 0, or 13 when a token the dispatcher itself
// reads breaks the PJL line shapes (the rest of the text is not read).
uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchTable& model_table, std::string_view reply);

// The same walk over a reply that was recorded on a tape.
uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchTable& model_table, const PjlTokenTape& tape);

}  // namespace tb58::pjl
