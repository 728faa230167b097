#include "pjl/pjl_token_tape.h"

#include "platform/win32_api.h"

namespace tb58::pjl {

bool PjlTokenTape::Record(std::string_view text) {
    // About one token per five bytes of a reply; the block grows as needed.
    const uint32_t step = static_cast<uint32_t>(sizeof(PjlTokenRecord) * (text.size() / 5 + 64));
    block_.reset(MemBlockCreate(step, 1));
    if (!block_) return false;
    count_ = 0;
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, text);
    text_ = std::string_view(text.data(), static_cast<size_t>(tokenizer.end - text.data()));
    // Tokens are collected in a small batch and written to the block together.
    PjlTokenRecord batch[64];
    uint32_t batched = 0;
    uint32_t type = 0;
    do {
        std::string_view token;
        const uint32_t result = PjlReadToken(&tokenizer, &token, &type);
        PjlTokenRecord& record = batch[batched++];
        record.start = static_cast<uint32_t>(token.data() != nullptr ? token.data() - text.data() : 0);
        record.length = static_cast<uint32_t>(token.size());
        record.after = static_cast<uint32_t>(tokenizer.position - text.data());
        record.type = static_cast<uint16_t>(type);
        record.failed = result != ERROR_SUCCESS ? 1 : 0;
        if (batched == std::size(batch) || type == PJL_TOK_END) {
            if (!MemBlockWrite(block_.get(), batch, static_cast<uint32_t>(batched * sizeof(PjlTokenRecord)))) {
                return false;
            }
            count_ += batched;
            batched = 0;
        }
    } while (type != PJL_TOK_END);
    return true;
}

void PjlTokenizerReplay(PjlTokenizer* tokenizer, const PjlTokenTape& tape) {
    PjlTokenizerInit(tokenizer, tape.text());
    tokenizer->replay = tape.begin();
    tokenizer->replay_end = tape.end();
}

}  // namespace tb58::pjl
