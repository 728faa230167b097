// The model, font and media name tables of this model family: no rows, so
// every name gives the default code.
#include "convert/pm_tables.h"

namespace tb58::convert {

const CodeByNameRow kModelNames[] = {{nullptr, 255}};
const CodeByNameRow kFontNames[] = {{nullptr, 0}};
const CodeByNameRow kMediaNames[] = {{nullptr, 0}};

}  // namespace tb58::convert
