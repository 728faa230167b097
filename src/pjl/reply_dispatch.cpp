#include "pjl/reply_dispatch.h"

#include <cstring>

#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

// The current keyword path, with the hash of each level and of the whole.
struct Path {
    char level[kPathLevels][kDispatchTokenCapacity] = {};
    uint64_t level_hash[kPathLevels] = {};
    uint64_t hash = 0;

    Path() {
        for (uint64_t& h : level_hash) h = HashPathLevel("");
        Rehash();
    }
    void Set(size_t at, const char* token) {
        std::memcpy(level[at], token, kDispatchTokenCapacity);
        level_hash[at] = HashPathLevel(level[at]);
    }
    void Clear(size_t at) {
        level[at][0] = '\0';
        level_hash[at] = HashPathLevel("");
    }
    void Rehash() {
        hash = 0;
        for (uint64_t h : level_hash) hash = CombinePathHash(hash, h);
    }
};

// Equal hashes are checked text by text, so that a path that only shares a
// hash with a row's never reaches its handler.
bool SamePath(const PjlDispatchRow& row, const Path& path) {
    for (size_t at = 0; at < kPathLevels; ++at) {
        if (std::strcmp(row.path[at], path.level[at]) != 0) return false;
    }
    return true;
}

// Calls fn(row) for every row of the table whose path is the current one,
// in table order.
template <typename Fn>
void ForEachMatch(const PjlDispatchTable& table, const Path& path, Fn fn) {
    if (!PathHashMayMatch(table.path_filter, path.hash)) return;
    size_t low = 0;
    size_t high = table.count;
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (table.rows[table.by_hash[mid]].path_hash < path.hash) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    for (size_t at = low; at < table.count && table.rows[table.by_hash[at]].path_hash == path.hash; ++at) {
        const PjlDispatchRow& row = table.rows[table.by_hash[at]];
        if (SamePath(row, path)) fn(row);
    }
}

void LookUp(PjlTokenizer& tokenizer, PrnInfoEx& record, const PjlDispatchTable& model_table, const Path& path) {
    PjlHandler common_handler = nullptr;
    ForEachMatch(kCommonDispatchTable, path, [&](const PjlDispatchRow& row) {
        if (common_handler == nullptr) common_handler = row.handler;
    });
    ForEachMatch(model_table, path, [&](const PjlDispatchRow& row) {
        row.handler(tokenizer, record, PjlHandlerRef{common_handler}, row.value);
    });
    if (common_handler == nullptr) return;
    ForEachMatch(kCommonDispatchTable, path, [&](const PjlDispatchRow& row) {
        row.handler(tokenizer, record, PjlHandlerRef{row.handler}, row.value);
    });
}

uint32_t Dispatch(PjlTokenizer& tokenizer, PrnInfoEx& record, const PjlDispatchTable& model_table) {
    Path path;
    char token[kDispatchTokenCapacity];
    uint32_t type = 0;
    do {
        const uint32_t result = PjlNextToken(&tokenizer, token, sizeof token, &type);
        if (result != ERROR_SUCCESS) return result;
        size_t level = kPathLevels;  // the level a token sets, if any
        switch (type) {
            case PJL_TOK_COMMAND:
                level = 0;
                for (size_t below = 1; below < kPathLevels; ++below) path.Clear(below);
                break;
            case PJL_TOK_ARGUMENT: level = 1; break;
            case PJL_TOK_ENTRY: level = 2; break;
            case PJL_TOK_ITEM: level = 3; break;
            case PJL_TOK_ITEM_VALUE: level = 4; break;
            case PJL_TOK_EOL:
                path.Clear(3);
                path.Clear(4);
                path.Rehash();
                break;
            default:
                break;
        }
        if (level < kPathLevels) {
            path.Set(level, token);
            path.Rehash();
            LookUp(tokenizer, record, model_table, path);
        }
    } while (type != PJL_TOK_END);
    return ERROR_SUCCESS;
}

}  // namespace

uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchTable& model_table, std::string_view reply) {
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, reply);
    return Dispatch(tokenizer, record, model_table);
}

uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchTable& model_table, const PjlTokenTape& tape) {
    PjlTokenizer tokenizer{};
    PjlTokenizerReplay(&tokenizer, tape);
    return Dispatch(tokenizer, record, model_table);
}

}  // namespace tb58::pjl
