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

uint32_t PjlReplayToken(PjlTokenizer* tokenizer, char* buffer, uint32_t capacity, uint32_t* type) {
    PjlTokenizer& t = *tokenizer;
    if (t.replay == t.replay_end) {
        buffer[0] = '\0';
        *type = PJL_TOK_END;
        return ERROR_SUCCESS;
    }
    const PjlTokenRecord& record = *t.replay++;
    // The copy PjlCopyToken makes, written out: tokens are short, and this
    // runs for every token the dispatcher and its handlers read.
    const char* source = t.start + record.start;
    uint32_t length = record.length < capacity - 1 ? record.length : capacity - 1;
    while (length > 0 && source[length - 1] == ' ') --length;
    for (uint32_t i = 0; i < length; ++i) buffer[i] = source[i];
    buffer[length] = '\0';
    t.position = t.start + record.after;
    *type = record.type;
    return record.failed != 0 ? ERROR_INVALID_DATA : ERROR_SUCCESS;
}

}  // namespace tb58::pjl
