// The pull tokenizer over PJL text: one token per call, typed by where it
// stands in the PJL line structure (command line, reply body line, indented
// line, form feed).  Shared by the reply dispatcher, its handlers and the
// query/reply match.
//
// The text is a view: it ends at its first zero byte or at the end of the
// view, whichever comes first, so a reply item without a terminator is never
// read past its data.
#pragma once

#include <cstdint>
#include <string_view>

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

// Reads one token: *token is its text where it stands in the text (not
// cut, trailing blanks kept), *type its type.  Returns 0, or 13
// (ERROR_INVALID_DATA) for a line that does not fit the PJL shapes; the
// state is then back to searching for the next "@PJL".  Every reader of
// PJL text reads through this one call.
uint32_t PjlReadToken(PjlTokenizer* tokenizer, std::string_view* token, uint32_t* type);

// The same read with the token's text copied into buffer (zero-terminated,
// cut to capacity - 1 characters, then trailing blanks dropped; capacity
// must be at least 1).
uint32_t PjlNextToken(PjlTokenizer* tokenizer, char* buffer, uint32_t capacity, uint32_t* type);

// What PjlNextToken stores of a token's text: cut to capacity - 1
// characters, trailing blanks dropped, zero-terminated.  PjlCutToken gives
// the same text as a view.
std::string_view PjlCutToken(std::string_view token, uint32_t capacity);
void PjlCopyToken(std::string_view token, char* buffer, uint32_t capacity);

// The decimal value of a token: leading white space and a sign allowed,
// reading stops at the first non-digit, 0 without digits, saturating at the
// 32-bit signed limits.
int32_t DecimalValue(std::string_view text);

}  // namespace tb58::pjl
