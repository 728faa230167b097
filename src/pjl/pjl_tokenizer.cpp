#include "pjl/pjl_tokenizer.h"

#include <climits>
#include <cstring>

#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

constexpr char kTab = '\t';
constexpr char kLf = '\n';
constexpr char kCr = '\r';
constexpr char kFf = '\f';
constexpr char kEsc = '\x1b';

// The byte at the position; 0 at the end of the text.
char Peek(const PjlTokenizer& t) { return t.position < t.end ? *t.position : '\0'; }

void Skip(PjlTokenizer& t) {
    if (t.position < t.end) ++t.position;
}

void SkipSpacesAndCrs(PjlTokenizer& t) {
    const char* at = t.position;
    while (at < t.end && (*at == ' ' || *at == kCr)) ++at;
    t.position = at;
}

// The bytes that end a word: CR, LF, '=', ':', '[', ']', the end, and a
// space unless spaces belong to the word.  One table for each case.
struct WordEnds {
    bool with_space[256];
    bool without_space[256];
};

constexpr WordEnds MakeWordEnds() {
    WordEnds ends{};
    for (unsigned char c : {'\r', '\n', '=', ':', '[', ']', '\0'}) {
        ends.with_space[c] = true;
        ends.without_space[c] = true;
    }
    ends.with_space[static_cast<unsigned char>(' ')] = true;
    return ends;
}

constexpr WordEnds kWordEnds = MakeWordEnds();

// Scans one token with a default type; token is its text in the reply.
uint32_t Scan(PjlTokenizer& t, std::string_view& token, uint32_t default_type) {
    const char c = Peek(t);
    uint32_t type = default_type;
    if (c == '\0' || c == kTab || c == kLf || c == kFf) {
        if (c != '\0') {
            token = std::string_view(t.position, 1);
            Skip(t);
        }
        type = c == kTab ? PJL_TOK_TAB : c == kLf ? PJL_TOK_EOL : c == kFf ? PJL_TOK_FF : PJL_TOK_END;
    } else if (c == '"') {
        Skip(t);
        const char* start = t.position;
        while (t.position < t.end && *t.position != '"' && *t.position != '\0') ++t.position;
        token = std::string_view(start, static_cast<size_t>(t.position - start));
        if (Peek(t) == '"') Skip(t);
    } else {
        const bool* ends = default_type == PJL_TOK_ENTRY ? kWordEnds.without_space : kWordEnds.with_space;
        const char* const start = t.position;
        const char* const end = t.end;
        const char* at = start;
        while (at < end && !ends[static_cast<unsigned char>(*at)]) ++at;
        t.position = at;
        token = std::string_view(start, static_cast<size_t>(at - start));
    }
    SkipSpacesAndCrs(t);
    return type;
}

// Moves to the next "@PJL"; false at the end of the text.
bool FindPrefix(PjlTokenizer& t) {
    static constexpr std::string_view kPrefix = "@PJL";
    while (t.position < t.end) {
        const void* at = std::memchr(t.position, '@', static_cast<size_t>(t.end - t.position));
        if (at == nullptr) break;
        t.position = static_cast<const char*>(at);
        if (static_cast<size_t>(t.end - t.position) >= kPrefix.size() &&
            std::memcmp(t.position, kPrefix.data(), kPrefix.size()) == 0) {
            return true;
        }
        ++t.position;
    }
    t.position = t.end;
    return false;
}

}  // namespace

std::string_view PjlCutToken(std::string_view token, uint32_t capacity) {
    size_t length = token.size() < capacity - 1 ? token.size() : capacity - 1;
    while (length > 0 && token[length - 1] == ' ') --length;
    return token.substr(0, length);
}

void PjlCopyToken(std::string_view token, char* buffer, uint32_t capacity) {
    const std::string_view cut = PjlCutToken(token, capacity);
    if (!cut.empty()) std::memcpy(buffer, cut.data(), cut.size());
    buffer[cut.size()] = '\0';
}

void PjlTokenizerInit(PjlTokenizer* tokenizer, std::string_view text) {
    const void* zero = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
    tokenizer->position = text.data();
    tokenizer->end = zero != nullptr ? static_cast<const char*>(zero) : text.data() + text.size();
    tokenizer->state = PjlState::LINE_SEARCH;
}

uint32_t PjlReadToken(PjlTokenizer* tokenizer, std::string_view* token, uint32_t* type) {
    PjlTokenizer& t = *tokenizer;
    std::string_view& text = *token;
    text = {};
    uint32_t result = ERROR_SUCCESS;
    bool error = false;
    uint32_t token_type = PJL_TOK_END;
    PjlState next = t.state;

    switch (t.state) {
        case PjlState::LINE_SEARCH:
            if (FindPrefix(t)) {
                text = std::string_view(t.position, 4);
                t.position += 4;
                SkipSpacesAndCrs(t);
                token_type = PJL_TOK_PREFIX;
                next = PjlState::COMMAND;
            } else {
                token_type = PJL_TOK_END;
            }
            break;
        case PjlState::COMMAND:
            token_type = Scan(t, text, PJL_TOK_COMMAND);
            next = token_type == PJL_TOK_EOL ? PjlState::LINE_SEARCH : PjlState::ARGUMENT;
            break;
        case PjlState::ARGUMENT:
            token_type = Scan(t, text, PJL_TOK_ARGUMENT);
            if (token_type == PJL_TOK_EOL) {
                next = PjlState::LINE_SEARCH;
            } else if (Peek(t) == ':') {
                Skip(t);
                SkipSpacesAndCrs(t);
                token_type = PJL_TOK_QUALIFIER;
                next = PjlState::QUALIFIED;
            } else if (Peek(t) == '=') {
                Skip(t);
                SkipSpacesAndCrs(t);
                next = PjlState::ARG_VALUE;
            } else {
                next = PjlState::COMMAND_END;
            }
            break;
        case PjlState::QUALIFIED:
            token_type = Scan(t, text, PJL_TOK_QUALIFIED);
            if (token_type == PJL_TOK_QUALIFIED) {
                next = PjlState::ARGUMENT;
            } else {
                error = true;
            }
            break;
        case PjlState::ARG_VALUE:
            token_type = Scan(t, text, PJL_TOK_ARG_VALUE);
            next = token_type == PJL_TOK_EOL ? PjlState::LINE_SEARCH : PjlState::COMMAND_END;
            break;
        case PjlState::COMMAND_END:
            token_type = Scan(t, text, PJL_TOK_EOL);
            if (token_type != PJL_TOK_EOL) {
                error = true;
            } else {
                const char c = Peek(t);
                next = (c == '@' || c == kEsc) ? PjlState::LINE_SEARCH : PjlState::ENTRY;
            }
            break;
        case PjlState::ENTRY:
            token_type = Scan(t, text, PJL_TOK_ENTRY);
            if (token_type != PJL_TOK_ENTRY) {
                error = true;
            } else if (Peek(t) == kLf) {
                next = PjlState::ENTRY_END;
            } else if (Peek(t) == '[') {
                Skip(t);
                next = PjlState::COUNT;
            } else if (Peek(t) == '=') {
                Skip(t);
                next = PjlState::ENTRY_VALUE;
            } else {
                error = true;
            }
            break;
        case PjlState::ENTRY_VALUE:
            token_type = Scan(t, text, PJL_TOK_ENTRY_VALUE);
            if (token_type != PJL_TOK_ENTRY_VALUE) {
                error = true;
            } else if (Peek(t) == '[') {
                Skip(t);
                next = PjlState::COUNT;
            } else {
                next = PjlState::ENTRY_END;
            }
            break;
        case PjlState::COUNT:
            token_type = Scan(t, text, PJL_TOK_COUNT);
            if (token_type == PJL_TOK_COUNT) {
                next = PjlState::COUNT_KIND;
            } else {
                error = true;
            }
            break;
        case PjlState::COUNT_KIND: {
            const char* before = t.position;
            token_type = Scan(t, text, PJL_TOK_COUNT_KIND);
            if (token_type != PJL_TOK_COUNT_KIND) {
                error = true;
            } else if (Peek(t) == ']') {
                Skip(t);
                SkipSpacesAndCrs(t);
                next = PjlState::ENTRY_END;
            } else if (t.position == before) {
                // A character that ends words but not the brackets ('=', ':',
                // '['): staying would read the same empty word forever.
                error = true;
            }
            break;
        }
        case PjlState::ENTRY_END:
            token_type = Scan(t, text, PJL_TOK_EOL);
            if (token_type != PJL_TOK_EOL) {
                error = true;
            } else {
                const char c = Peek(t);
                next = c == '@' ? PjlState::LINE_SEARCH
                       : (c == kTab || c == kFf) ? PjlState::ITEM_START
                                                 : PjlState::ENTRY;
            }
            break;
        case PjlState::ITEM_START:
            token_type = Scan(t, text, PJL_TOK_TAB);
            if (token_type == PJL_TOK_FF) {
                next = PjlState::LINE_SEARCH;
            } else if (token_type == PJL_TOK_TAB) {
                next = PjlState::ITEM;
            } else {
                error = true;
            }
            break;
        case PjlState::ITEM:
            token_type = Scan(t, text, PJL_TOK_ITEM);
            if (token_type != PJL_TOK_ITEM) {
                error = true;
            } else if (Peek(t) == '=') {
                Skip(t);
                SkipSpacesAndCrs(t);
                next = PjlState::ITEM_VALUE;
            } else if (Peek(t) == kLf) {
                next = PjlState::ENTRY_END;
            } else {
                next = PjlState::ITEM_VALUE;
            }
            break;
        case PjlState::ITEM_VALUE:
            token_type = Scan(t, text, PJL_TOK_ITEM_VALUE);
            if (token_type == PJL_TOK_ITEM_VALUE && Peek(t) == kLf) {
                next = PjlState::ENTRY_END;
            } else {
                error = true;
            }
            break;
    }

    if (error) {
        result = ERROR_INVALID_DATA;
        next = PjlState::LINE_SEARCH;
    }
    // The end rule: the text ended inside a line.
    if (token_type == PJL_TOK_END && next != PjlState::LINE_SEARCH) {
        next = PjlState::LINE_SEARCH;
        result = ERROR_INVALID_DATA;
    }
    t.state = next;
    *type = token_type;
    return result;
}

uint32_t PjlNextToken(PjlTokenizer* tokenizer, char* buffer, uint32_t capacity, uint32_t* type) {
    std::string_view token;
    const uint32_t result = PjlReadToken(tokenizer, &token, type);
    PjlCopyToken(token, buffer, capacity);
    return result;
}

int32_t DecimalValue(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > int64_t{INT32_MAX} + 1) break;  // saturates below
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace tb58::pjl
