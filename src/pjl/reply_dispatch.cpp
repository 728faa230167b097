#include "pjl/reply_dispatch.h"

#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

// The tokens that set no path level, which the walk passes over inside the
// tokenizer.  Line ends are among them: the item levels (3, 4) belong to one
// line, and an entry or an item starts a new line and empties the levels
// below its own, which is what a line end would have done before it.
constexpr uint32_t kPassedTypes =
    PjlTokenTypes({PJL_TOK_EOL, PJL_TOK_PREFIX, PJL_TOK_QUALIFIER, PJL_TOK_QUALIFIED, PJL_TOK_ARG_VALUE,
                   PJL_TOK_ENTRY_VALUE, PJL_TOK_COUNT, PJL_TOK_COUNT_KIND, PJL_TOK_FF, PJL_TOK_TAB});

// The path key with the levels from level on emptied.
constexpr PjlPathKey LevelsBelow(PjlPathKey key, size_t level) { return key & ((PjlPathKey{1} << (8 * level)) - 1); }

}  // namespace

uint32_t PjlReplyDispatch(PrnInfoEx& record, const PjlDispatchIndex& index, std::string_view text) {
    PjlReply reply{PjlTokenizer{}, ChainTails(record)};
    PjlTokenizerInit(&reply.tokenizer, text);
    // The current path: each level's number in the index, from the level's
    // text cut as the dispatcher reads tokens (up to 32 characters).  A level
    // no row names holds kUnknownKeyword, so the path is found in no entry.
    PjlPathKey path = 0;
    uint32_t type = PJL_TOK_END;
    do {
        std::string_view token;
        const uint32_t result = PjlReadReplyToken<kPassedTypes>(reply, &token, &type);
        if (result != ERROR_SUCCESS) return result;
        size_t level = 0;  // the level the token sets
        switch (type) {
            case PJL_TOK_COMMAND:
                level = 0;
                path = 0;
                break;
            case PJL_TOK_ARGUMENT: level = 1; break;
            case PJL_TOK_ENTRY:
                level = 2;
                path = LevelsBelow(path, 3);
                break;
            case PJL_TOK_ITEM:
                level = 3;
                path = LevelsBelow(path, 4);
                break;
            case PJL_TOK_ITEM_VALUE: level = 4; break;
            default:
                continue;
        }
        path = PathKeyWith(path, level, index.LevelNumber(PjlCutToken(token, kDispatchTokenCapacity)));
        const PjlDispatchPath* entry = index.Find(path);
        if (entry == nullptr) continue;
        // A handler reads on from the tokenizer; the loop goes on after
        // wherever the last one left it, and still ends on this token's type.
        for (uint16_t i = 0; i < entry->call_count; ++i) {
            const PjlDispatchCall& call = index.calls[entry->first_call + i];
            call.handler(reply, call.value);
        }
    } while (type != PJL_TOK_END);
    return ERROR_SUCCESS;
}

}  // namespace tb58::pjl
