// A reply's token sequence, recorded once and replayed.  The sequence of
// tokens, types and results depends on the text alone, never on who reads
// it, so the query/reply match records it while it looks for arguments and
// the dispatcher and its handlers replay it instead of reading the text a
// second time.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/mem_block.h"
#include "pjl/pjl_tokenizer.h"

namespace tb58::pjl {

// The recorded tokens of one reply text, up to and including the first
// PJL_TOK_END.
class PjlTokenTape {
public:
    // Records every token of text.  False when memory runs out.
    bool Record(std::string_view text);

    const PjlTokenRecord* begin() const { return static_cast<const PjlTokenRecord*>(block_->data); }
    const PjlTokenRecord* end() const { return begin() + count_; }
    std::string_view text() const { return text_; }

private:
    MemBlockPtr block_;
    std::string_view text_;
    uint32_t count_ = 0;
};

// Sets up a tokenizer that hands out the tape's tokens, as PjlNextToken
// would read them from the tape's text.
void PjlTokenizerReplay(PjlTokenizer* tokenizer, const PjlTokenTape& tape);

// PjlNextToken on a replaying tokenizer is PjlReplayToken (pjl_tokenizer.h):
// past the recorded end it gives PJL_TOK_END with success, as a live
// tokenizer does at the end.

}  // namespace tb58::pjl
