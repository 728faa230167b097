#include "pjl/reply_dispatch.h"

#include "core/short_text_equal.h"

#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

constexpr uint64_t kEmptyLevelHash = HashPathLevel("");

// The current keyword path: each level's text, a view into the reply cut as
// the dispatcher reads tokens (up to 32 characters), and the path's hash.
struct Path {
    std::string_view level[kPathLevels];
    uint64_t level_hash[kPathLevels] = {kEmptyLevelHash, kEmptyLevelHash, kEmptyLevelHash, kEmptyLevelHash,
                                        kEmptyLevelHash};
    uint64_t hash = HashPath(level_hash);

    void Set(size_t at, std::string_view text) {
        level[at] = text;
        const uint64_t level_hash_now = HashPathLevel(text);
        hash += (level_hash_now - level_hash[at]) * kLevelWeight[at];
        level_hash[at] = level_hash_now;
    }
    void Clear(size_t at) {
        if (!level[at].empty()) Set(at, {});
    }
};

// The index entry of the current path, or null when no row names it.
const PjlDispatchPath* FindPath(const PjlDispatchIndex& index, const Path& path) {
    const uint64_t hash = path.hash;
    const uint8_t slot = index.slots[PjlDispatchIndex::Slot(hash, index.seed)];
    if (slot == 0) return nullptr;
    const PjlDispatchPath& entry = index.paths[slot - 1];
    if (entry.hash != hash) return nullptr;
    for (size_t at = 0; at < kPathLevels; ++at) {
        if (!ShortTextEqual(entry.level[at], path.level[at])) return nullptr;
    }
    return &entry;
}

}  // namespace

uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchIndex& index, std::string_view text) {
    return PjlReplyDispatch(record, index, text, nullptr, nullptr);
}

uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchIndex& index, std::string_view text,
                          RecordJournal* journal, PjlAnswerWatch* watch) {
    PjlReply reply{PjlTokenizer{}, ChainTails(record, journal), watch};
    PjlTokenizerInit(&reply.tokenizer, text);
    Path path;
    uint32_t type = PJL_TOK_END;
    do {
        std::string_view token;
        const uint32_t result = PjlReadReplyToken(reply, &token, &type);
        if (result != ERROR_SUCCESS) return result;
        size_t level = 0;  // the level the token sets
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
                continue;
            default:
                continue;
        }
        path.Set(level, PjlCutToken(token, kDispatchTokenCapacity));
        const PjlDispatchPath* entry = FindPath(index, path);
        if (entry == nullptr) continue;
        // A handler reads on from the tokenizer; the loop goes on after
        // wherever the last one left it, and still ends on this token's type.
        for (uint16_t i = 0; i < entry->call_count; ++i) {
            const PjlDispatchCall& call = index.calls[entry->first_call + i];
            call.handler(reply, PjlHandlerRef{call.fallback}, call.value);
        }
    } while (type != PJL_TOK_END);
    return ERROR_SUCCESS;
}

}  // namespace tb58::pjl
