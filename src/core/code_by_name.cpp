#include "core/code_by_name.h"

#include <cstring>

namespace tb58 {
namespace {

// Whether a zero-terminated name holds exactly text's bytes; compared byte
// by byte, so that most names are ruled out at their first byte and none is
// read past its end.
bool NameEquals(const char* name, std::string_view text) {
    for (const char c : text) {
        if (c == '\0' || *name != c) return false;
        ++name;
    }
    return *name == '\0';
}

}  // namespace

uint32_t LookupCodeByName(const char* text, const CodeByNameRow* rows) {
    if (text == nullptr || rows == nullptr) return 0xFFFFFFFFu;
    const CodeByNameRow* row = rows;
    while (row->name != nullptr && std::strcmp(row->name, text) != 0) ++row;
    return row->code;
}

uint32_t LookupCodeByName(std::string_view text, const CodeByNameRow* rows) {
    if (rows == nullptr) return 0xFFFFFFFFu;
    const CodeByNameRow* row = rows;
    while (row->name != nullptr && !NameEquals(row->name, text)) ++row;
    return row->code;
}

}  // namespace tb58
