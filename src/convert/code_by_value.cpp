#include "convert/pm_tables.h"

namespace tb58::convert {

uint32_t LookupCodeByValue(const CodeByValueRow* rows, uint32_t value) {
    const CodeByValueRow* row = rows;
    while (row->value != kValueTableEnd && row->value != value) ++row;
    return row->code;
}

}  // namespace tb58::convert
