// Whether a PJL reply answers the query it was sent for, decided before
// anything of the reply is stored.
//
// A query argument is answered by an argument token of the reply with the
// same text (both cut as the match reads tokens, up to 99 characters), read
// before the reply's first misfit, with a form feed somewhere after it.
// Only command lines carry argument tokens; the rest of the reply is read
// for its misfits alone.
#pragma once

#include <cstdint>
#include <string_view>

namespace tb58::pjl {

// 0 when every argument of query is answered; otherwise
// TB58_ERROR_REPLY_MISMATCH for an unanswered argument or the query's own
// misfit (13), whichever comes first in the query.
uint32_t MatchQueryAndReply(std::string_view query, std::string_view reply);

}  // namespace tb58::pjl
