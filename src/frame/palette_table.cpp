// The model's colour palette: this model has none, so the table holds only
// its end marker.
#include "frame/palette.h"

namespace tb58::frame {

constinit const PaletteEntry kModelPalette[] = {
    {0, 0, 0, kPaletteEnd},
};

}  // namespace tb58::frame
