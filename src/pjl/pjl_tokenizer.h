// The pull tokenizer over PJL text: one token per call, typed by where it
// stands in the PJL line structure (command line, reply body line, indented
// line, form feed).  Its readers are the reply dispatcher and its handlers
// (reply_dispatch.h) and the match of a reply with its query
// (query_reply_match.cpp); each reads through PjlReadToken, naming the
// token types it passes over.
//
// The text is a view: it ends at its first zero byte or at the end of the
// view, whichever comes first, so a reply item without a terminator is never
// read past its data.
//
// PjlReadToken is defined here, inline: inlined into its readers' loops it
// costs a few instructions a byte, which the intake's figures count on.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "platform/win32_api.h"

namespace tb58::pjl {

enum PjlTokenType : uint32_t {
    PJL_TOK_PREFIX = 1,        // "@PJL"
    PJL_TOK_COMMAND = 2,       // the command word
    PJL_TOK_EOL = 3,           // a line end; also a further word at the end of a line
    PJL_TOK_ARGUMENT = 4,      // the command's argument
    PJL_TOK_QUALIFIER = 5,     // an argument followed by a colon
    PJL_TOK_QUALIFIED = 6,     // the word after that colon
    PJL_TOK_ARG_VALUE = 7,     // the value after an argument and '='
    PJL_TOK_ENTRY = 8,         // the opening text of a body line (spaces belong to it)
    PJL_TOK_ENTRY_VALUE = 9,   // the value after an entry and '='
    PJL_TOK_COUNT = 10,        // the first word inside square brackets
    PJL_TOK_COUNT_KIND = 11,   // each further word inside square brackets
    PJL_TOK_ITEM = 12,         // the first word of an indented line
    PJL_TOK_ITEM_VALUE = 13,   // the word after the item
    PJL_TOK_FF = 14,           // a form feed: end of the reply to one command
    PJL_TOK_TAB = 15,          // the TAB that opens an indented line
    PJL_TOK_END = 255,         // end of the text
};

enum class PjlState : uint32_t {
    LINE_SEARCH = 1,
    COMMAND = 2,
    ARGUMENT = 3,
    QUALIFIED = 4,
    ARG_VALUE = 5,
    COMMAND_END = 6,
    ENTRY = 7,
    ENTRY_VALUE = 8,
    COUNT = 9,
    COUNT_KIND = 10,
    ENTRY_END = 11,
    ITEM_START = 12,
    ITEM = 13,
    ITEM_VALUE = 14,
};

struct PjlTokenizer {
    const char* position;  // next unread byte
    const char* end;       // the end of the text
    PjlState state;
};

// Token buffer sizes of the dispatcher (tokens up to 32 characters) and of
// the query/reply match (up to 99).
constexpr uint32_t kDispatchTokenCapacity = 33;
constexpr uint32_t kMatchTokenCapacity = 100;

void PjlTokenizerInit(PjlTokenizer* tokenizer, std::string_view text);

namespace tokenizer_detail {

constexpr char kTab = '\t';
constexpr char kLf = '\n';
constexpr char kFf = '\f';
constexpr char kEsc = '\x1b';

// What each byte means to the scan, one table for all questions.
enum ByteClass : uint8_t {
    kEndsWord = 1,        // CR, LF, '=', ':', '[', ']': ends any word
    kEndsPlainWord = 2,   // the same and a space: ends a word that is not an entry
    kStandsAlone = 4,     // TAB, LF, FF: a token of its own where a token starts
    kBlank = 8,           // space and CR, skipped after every token
};

constexpr std::array<uint8_t, 256> MakeByteClasses() {
    std::array<uint8_t, 256> classes{};
    for (unsigned char c : {'\r', '\n', '=', ':', '[', ']'}) classes[c] |= kEndsWord | kEndsPlainWord;
    classes[static_cast<unsigned char>(' ')] |= kEndsPlainWord | kBlank;
    classes[static_cast<unsigned char>('\r')] |= kBlank;
    for (unsigned char c : {'\t', '\n', '\f'}) classes[c] |= kStandsAlone;
    return classes;
}

constexpr std::array<uint8_t, 256> kByteClass = MakeByteClasses();

// The type of a byte that is a token of its own.
constexpr std::array<uint8_t, 256> MakeStandAloneTypes() {
    std::array<uint8_t, 256> types{};
    types[static_cast<unsigned char>(kTab)] = PJL_TOK_TAB;
    types[static_cast<unsigned char>(kLf)] = PJL_TOK_EOL;
    types[static_cast<unsigned char>(kFf)] = PJL_TOK_FF;
    return types;
}

constexpr std::array<uint8_t, 256> kStandAloneType = MakeStandAloneTypes();

inline uint8_t ClassOf(char c) { return kByteClass[static_cast<unsigned char>(c)]; }

// The read position of one call, kept in locals: the text ends at end (its
// first zero byte or the end of the view), so no byte at or past end is read.
struct Cursor {
    const char* at;
    const char* const end;

    char Peek() const { return at < end ? *at : '\0'; }
    void Skip() {
        if (at < end) ++at;
    }
    void SkipBlanks() {
        while (at < end && (ClassOf(*at) & kBlank) != 0) ++at;
    }
};

// The first byte of [at, end) of a class in ends, or end: eight bytes a
// round while eight are left, then byte by byte.
[[gnu::always_inline]] inline const char* WordEnd(const char* at, const char* end, uint8_t ends) {
    while (end - at >= 8) {
        if ((ClassOf(at[0]) & ends) != 0) return at;
        if ((ClassOf(at[1]) & ends) != 0) return at + 1;
        if ((ClassOf(at[2]) & ends) != 0) return at + 2;
        if ((ClassOf(at[3]) & ends) != 0) return at + 3;
        if ((ClassOf(at[4]) & ends) != 0) return at + 4;
        if ((ClassOf(at[5]) & ends) != 0) return at + 5;
        if ((ClassOf(at[6]) & ends) != 0) return at + 6;
        if ((ClassOf(at[7]) & ends) != 0) return at + 7;
        at += 8;
    }
    while (at < end && (ClassOf(*at) & ends) == 0) ++at;
    return at;
}

// Scans one token with a default type; token is its text in the reply.
[[gnu::always_inline]] inline uint32_t Scan(Cursor& c, std::string_view& token, uint32_t default_type) {
    if (c.at == c.end) return PJL_TOK_END;
    const char first = *c.at;
    uint32_t type = default_type;
    if ((ClassOf(first) & kStandsAlone) != 0) {
        token = std::string_view(c.at, 1);
        ++c.at;
        type = kStandAloneType[static_cast<unsigned char>(first)];
    } else if (first == '"') {
        const char* start = ++c.at;
        while (c.at < c.end && *c.at != '"') ++c.at;
        token = std::string_view(start, static_cast<size_t>(c.at - start));
        c.Skip();  // the closing quote, when there is one
    } else {
        const char* const start = c.at;
        c.at = WordEnd(start, c.end, default_type == PJL_TOK_ENTRY ? kEndsWord : kEndsPlainWord);
        token = std::string_view(start, static_cast<size_t>(c.at - start));
    }
    c.SkipBlanks();
    return type;
}

// Moves to the next "@PJL"; false (at the end) when there is none.
inline bool FindPrefix(Cursor& c) {
    static constexpr std::string_view kPrefix = "@PJL";
    // Most often the prefix stands right at the position, after a form feed.
    if (c.end - c.at >= 4 && std::memcmp(c.at, kPrefix.data(), kPrefix.size()) == 0) return true;
    while (c.at < c.end) {
        const void* at = std::memchr(c.at, '@', static_cast<size_t>(c.end - c.at));
        if (at == nullptr) break;
        c.at = static_cast<const char*>(at);
        if (static_cast<size_t>(c.end - c.at) >= kPrefix.size() &&
            std::memcmp(c.at, kPrefix.data(), kPrefix.size()) == 0) {
            return true;
        }
        ++c.at;
    }
    c.at = c.end;
    return false;
}

// The reads of each state: the token at c, its type, the state after it;
// true for a misfit.

[[gnu::always_inline]] inline bool ReadLineSearch(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    if (FindPrefix(c)) {
        text = std::string_view(c.at, 4);
        c.at += 4;
        c.SkipBlanks();
        token_type = PJL_TOK_PREFIX;
        next = PjlState::COMMAND;
    }
    return false;
}

[[gnu::always_inline]] inline bool ReadCommand(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    token_type = Scan(c, text, PJL_TOK_COMMAND);
    next = token_type == PJL_TOK_EOL ? PjlState::LINE_SEARCH : PjlState::ARGUMENT;
    return false;
}

[[gnu::always_inline]] inline bool ReadArgument(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    token_type = Scan(c, text, PJL_TOK_ARGUMENT);
    if (token_type == PJL_TOK_EOL) {
        next = PjlState::LINE_SEARCH;
    } else if (c.Peek() == ':') {
        c.Skip();
        c.SkipBlanks();
        token_type = PJL_TOK_QUALIFIER;
        next = PjlState::QUALIFIED;
    } else if (c.Peek() == '=') {
        c.Skip();
        c.SkipBlanks();
        next = PjlState::ARG_VALUE;
    } else {
        next = PjlState::COMMAND_END;
    }
    return false;
}

[[gnu::always_inline]] inline bool ReadQualified(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_QUALIFIED);
    if (token_type == PJL_TOK_QUALIFIED) {
        next = PjlState::ARGUMENT;
    } else {
        error = true;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadArgValue(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    token_type = Scan(c, text, PJL_TOK_ARG_VALUE);
    next = token_type == PJL_TOK_EOL ? PjlState::LINE_SEARCH : PjlState::COMMAND_END;
    return false;
}

[[gnu::always_inline]] inline bool ReadCommandEnd(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_EOL);
    if (token_type != PJL_TOK_EOL) {
        error = true;
    } else {
        const char after = c.Peek();
        next = (after == '@' || after == kEsc) ? PjlState::LINE_SEARCH : PjlState::ENTRY;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadEntry(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_ENTRY);
    if (token_type != PJL_TOK_ENTRY) {
        error = true;
    } else if (c.Peek() == kLf) {
        next = PjlState::ENTRY_END;
    } else if (c.Peek() == '[') {
        c.Skip();
        next = PjlState::COUNT;
    } else if (c.Peek() == '=') {
        c.Skip();
        next = PjlState::ENTRY_VALUE;
    } else {
        error = true;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadEntryValue(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_ENTRY_VALUE);
    if (token_type != PJL_TOK_ENTRY_VALUE) {
        error = true;
    } else if (c.Peek() == '[') {
        c.Skip();
        next = PjlState::COUNT;
    } else {
        next = PjlState::ENTRY_END;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadCount(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_COUNT);
    if (token_type == PJL_TOK_COUNT) {
        next = PjlState::COUNT_KIND;
    } else {
        error = true;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadCountKind(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    const char* before = c.at;
    token_type = Scan(c, text, PJL_TOK_COUNT_KIND);
    if (token_type != PJL_TOK_COUNT_KIND) {
        error = true;
    } else if (c.Peek() == ']') {
        c.Skip();
        c.SkipBlanks();
        next = PjlState::ENTRY_END;
    } else if (c.at == before) {
        // A character that ends words but not the brackets ('=', ':',
        // '['): staying would read the same empty word forever.
        error = true;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadEntryEnd(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_EOL);
    if (token_type != PJL_TOK_EOL) {
        error = true;
    } else {
        const char after = c.Peek();
        next = after == '@'                       ? PjlState::LINE_SEARCH
               : (after == kTab || after == kFf) ? PjlState::ITEM_START
                                                 : PjlState::ENTRY;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadItemStart(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_TAB);
    if (token_type == PJL_TOK_FF) {
        next = PjlState::LINE_SEARCH;
    } else if (token_type == PJL_TOK_TAB) {
        next = PjlState::ITEM;
    } else {
        error = true;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadItem(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_ITEM);
    if (token_type != PJL_TOK_ITEM) {
        error = true;
    } else if (c.Peek() == '=') {
        c.Skip();
        c.SkipBlanks();
        next = PjlState::ITEM_VALUE;
    } else if (c.Peek() == kLf) {
        next = PjlState::ENTRY_END;
    } else {
        next = PjlState::ITEM_VALUE;
    }
    return error;
}

[[gnu::always_inline]] inline bool ReadItemValue(Cursor& c, std::string_view& text, uint32_t& token_type,
                                          PjlState& next) {
    bool error = false;
    token_type = Scan(c, text, PJL_TOK_ITEM_VALUE);
    if (token_type == PJL_TOK_ITEM_VALUE && c.Peek() == kLf) {
        next = PjlState::ENTRY_END;
    } else {
        error = true;
    }
    return error;
}

// One token read at c in state: text and type are the token's, state is
// the state after it.  Returns 0 or ERROR_INVALID_DATA.
[[gnu::always_inline]] inline uint32_t ReadOne(PjlState& state, Cursor& c, std::string_view& text,
                                               uint32_t& token_type) {
    bool error = false;
    token_type = PJL_TOK_END;
    text = {};
    PjlState next = state;

    switch (state) {
        case PjlState::LINE_SEARCH: error = ReadLineSearch(c, text, token_type, next); break;
        case PjlState::COMMAND: error = ReadCommand(c, text, token_type, next); break;
        case PjlState::ARGUMENT: error = ReadArgument(c, text, token_type, next); break;
        case PjlState::QUALIFIED: error = ReadQualified(c, text, token_type, next); break;
        case PjlState::ARG_VALUE: error = ReadArgValue(c, text, token_type, next); break;
        case PjlState::COMMAND_END: error = ReadCommandEnd(c, text, token_type, next); break;
        case PjlState::ENTRY: error = ReadEntry(c, text, token_type, next); break;
        case PjlState::ENTRY_VALUE: error = ReadEntryValue(c, text, token_type, next); break;
        case PjlState::COUNT: error = ReadCount(c, text, token_type, next); break;
        case PjlState::COUNT_KIND: error = ReadCountKind(c, text, token_type, next); break;
        case PjlState::ENTRY_END: error = ReadEntryEnd(c, text, token_type, next); break;
        case PjlState::ITEM_START: error = ReadItemStart(c, text, token_type, next); break;
        case PjlState::ITEM: error = ReadItem(c, text, token_type, next); break;
        case PjlState::ITEM_VALUE: error = ReadItemValue(c, text, token_type, next); break;
    }

    uint32_t result = ERROR_SUCCESS;
    if (error) {
        result = ERROR_INVALID_DATA;
        next = PjlState::LINE_SEARCH;
    }
    // The end rule: the text ended inside a line.
    if (token_type == PJL_TOK_END && next != PjlState::LINE_SEARCH) {
        next = PjlState::LINE_SEARCH;
        result = ERROR_INVALID_DATA;
    }
    state = next;
    return result;
}

}  // namespace tokenizer_detail

// A set of token types, one bit a type (types below 32).
constexpr uint32_t PjlTokenTypes(std::initializer_list<uint32_t> types) {
    uint32_t set = 0;
    for (const uint32_t type : types) set |= 1u << type;
    return set;
}

// The one read of PJL text: the next token of a type not in Passed (a set
// made by PjlTokenTypes), passing over those of the types in Passed, up to
// the end or a misfit.  *token is the token's text where it stands in the
// text (not cut, trailing blanks kept), *type its type.  Returns 0, or 13
// (ERROR_INVALID_DATA) for a line that does not fit the PJL shapes; the
// state is then back to searching for the next "@PJL".  A token passed over
// costs no more than its reading.
template <uint32_t Passed = 0>
[[gnu::always_inline]] inline uint32_t PjlReadToken(PjlTokenizer* tokenizer, std::string_view* token,
                                                           uint32_t* type) {
    tokenizer_detail::Cursor c{tokenizer->position, tokenizer->end};
    PjlState state = tokenizer->state;
    std::string_view text;
    uint32_t token_type = PJL_TOK_END;
    uint32_t result = ERROR_SUCCESS;
    do {
        result = tokenizer_detail::ReadOne(state, c, text, token_type);
    } while (result == ERROR_SUCCESS && token_type < 32 && ((Passed >> token_type) & 1) != 0);
    tokenizer->position = c.at;
    tokenizer->state = state;
    *token = text;
    *type = token_type;
    return result;
}

// A token's text as a reader keeps it: cut to capacity - 1 characters
// (capacity at least 1), then trailing blanks dropped.
inline std::string_view PjlCutToken(std::string_view token, uint32_t capacity) {
    size_t length = token.size() < capacity - 1 ? token.size() : capacity - 1;
    while (length > 0 && token[length - 1] == ' ') --length;
    return token.substr(0, length);
}

// The decimal value of a token: leading white space and a sign allowed,
// reading stops at the first non-digit, 0 without digits, saturating at the
// 32-bit signed limits.
int32_t DecimalValue(std::string_view text);

}  // namespace tb58::pjl
