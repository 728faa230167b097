#include "core/code_by_name.h"

#include <cstring>

#include "core/short_text_equal.h"

namespace tb58 {

uint32_t LookupCodeByName(const char* text, const CodeByNameRow* rows) {
    if (text == nullptr || rows == nullptr) return 0xFFFFFFFFu;
    const CodeByNameRow* row = rows;
    while (row->name != nullptr && std::strcmp(row->name, text) != 0) ++row;
    return row->code;
}

uint32_t LookupCodeByName(std::string_view text, const CodeByNameRow* rows) {
    if (rows == nullptr) return 0xFFFFFFFFu;
    const CodeByNameRow* row = rows;
    while (row->name != nullptr && !ShortTextEqual(std::string_view(row->name, row->length), text)) ++row;
    return row->code;
}

}  // namespace tb58
