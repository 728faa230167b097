#include "pjl/query_reply_match.h"

#include <span>

#include "Tb58Wk31Query.h"
#include "core/short_text_equal.h"
#include "pjl/pjl_tokenizer.h"
#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

// The query's arguments are held in groups of this many; the queries the
// library builds fit in one.
constexpr size_t kArgumentGroup = 64;

// The match looks at argument tokens, the end and misfits only.
constexpr uint32_t kAllButArguments = ~PjlTokenTypes({PJL_TOK_ARGUMENT});

struct QueryArgument {
    std::string_view text;
    bool answered;
};

// The query's arguments in query order, up to its first misfit or up to
// the group's size: result is the query's misfit (13) or 0, more says that
// arguments are left over for the next group.
struct QueryArguments {
    std::span<QueryArgument> arguments;
    uint32_t result = ERROR_SUCCESS;
    bool more = false;
};

QueryArguments ReadQueryArguments(PjlTokenizer& tokenizer, std::span<QueryArgument> group) {
    QueryArguments read;
    size_t count = 0;
    uint32_t type = 0;
    while (count < group.size()) {
        std::string_view token;
        read.result = PjlReadToken<kAllButArguments>(&tokenizer, &token, &type);
        if (read.result != ERROR_SUCCESS || type == PJL_TOK_END) break;
        if (type == PJL_TOK_ARGUMENT) group[count++] = {PjlCutToken(token, kMatchTokenCapacity), false};
    }
    read.more = count == group.size();
    read.arguments = group.first(count);
    return read;
}

// Marks the argument a reply's argument token answers.  A reply answers in
// the order of its query, so the look-up starts behind the argument answered
// last and stops at the first one the token answers; an argument asked twice
// is marked once (Answered counts the others).
struct AnswerMarks {
    std::span<QueryArgument> arguments;
    size_t open;
    size_t next = 0;

    void See(std::string_view token) {
        const std::string_view answer = PjlCutToken(token, kMatchTokenCapacity);
        const size_t count = arguments.size();
        size_t at = next;
        for (size_t looked = 0; looked < count; ++looked, ++at) {
            if (at == count) at = 0;
            QueryArgument& argument = arguments[at];
            if (!argument.answered && ShortTextEqual(argument.text, answer)) {
                argument.answered = true;
                --open;
                next = at + 1;
                return;
            }
        }
    }
};

// Reads the reply only to mark the arguments it answers: up to its first
// misfit, its last form feed, or the token that answers the last open one.
void MarkAnswered(std::span<QueryArgument> arguments, std::string_view reply) {
    const size_t last_feed = reply.rfind('\f');
    if (last_feed == std::string_view::npos) return;
    AnswerMarks marks{arguments, arguments.size()};
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, reply);
    std::string_view token;
    uint32_t type = PJL_TOK_END;
    do {
        // Nothing after a misfit counts.
        if (PjlReadToken<kAllButArguments>(&tokenizer, &token, &type) != ERROR_SUCCESS) return;
        if (type != PJL_TOK_ARGUMENT) continue;
        if (static_cast<size_t>(tokenizer.position - reply.data()) > last_feed) return;
        marks.See(token);
    } while (type != PJL_TOK_END && marks.open != 0);
}

// Whether the argument at index is answered: marked itself, or asked
// before under the same text and marked there.
bool Answered(std::span<const QueryArgument> arguments, size_t index) {
    if (arguments[index].answered) return true;
    for (const QueryArgument& other : arguments) {
        if (other.answered && ShortTextEqual(other.text, arguments[index].text)) return true;
    }
    return false;
}

// The match's result once the reply has been read: an unanswered argument
// gives TB58_ERROR_REPLY_MISMATCH, a misfit in the query its error,
// whichever comes first in the query.
uint32_t Verdict(const QueryArguments& query) {
    for (size_t at = 0; at < query.arguments.size(); ++at) {
        if (!Answered(query.arguments, at)) return TB58_ERROR_REPLY_MISMATCH;
    }
    return query.result;
}

}  // namespace

// The query is read a group of arguments at a time, and the reply once per
// group.
uint32_t MatchQueryAndReply(std::string_view query, std::string_view reply) {
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, query);
    for (;;) {
        QueryArgument group[kArgumentGroup];
        const QueryArguments read = ReadQueryArguments(tokenizer, group);
        MarkAnswered(read.arguments, reply);
        const uint32_t verdict = Verdict(read);
        if (verdict != ERROR_SUCCESS || !read.more) return verdict;
    }
}

}  // namespace tb58::pjl
