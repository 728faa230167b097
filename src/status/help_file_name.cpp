#include "status/help_file_name.h"

#include "Tb58Wk31.h"

namespace tb58::status {

uint32_t ComposeHelpFileName(const StatusContext&, RecList*, char* out, int32_t capacity) {
    if (capacity > 0) out[0] = '\0';
    return TB58_ERROR_SUCCESS;
}

}  // namespace tb58::status
