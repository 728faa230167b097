// Reading a packed device-independent bitmap (info header, colour table,
// pixel bits), as an RT_BITMAP resource holds it, into 32-bit pixels: the
// decoder of the public caller kit, which the bitmap services use too.
#pragma once

#include <Tb58Wk31Dib.hpp>

namespace tb58::platform {

using tb58dib::DecodeDibPixels;
using tb58dib::DibLayout;
using tb58dib::kDibRgb;
using tb58dib::kDibRle8;
using tb58dib::kMaxDibPixels;
using tb58dib::ReadDibLayout;

}  // namespace tb58::platform
