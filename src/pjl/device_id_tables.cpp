// This model's device ID tables.  The model reports no command sets and no
// supply values the library stores, and its model names carry no code.
#include "pjl/device_id_parser.h"

namespace tb58::pjl {
namespace {

constexpr auto kCommandSets = MakeDefaultOnlyTable(0);
constexpr auto kModelNames = MakeDefaultOnlyTable(255);

}  // namespace

const CodeByNameRow* const kCommandSetCodes = kCommandSets.data();
const CodeByNameRow* const kModelNameCodes = kModelNames.data();
const uint16_t kSupplyIds[] = {kSupplyIdsEnd};

}  // namespace tb58::pjl
