// Lays a 32-bit ARGB bitmap with transparency onto an opaque background colour, in place. The
// batch run does it before writing a format that keeps no alpha: its encoder would otherwise drop
// the alpha, so that transparent areas came out black and half-transparent ones at full strength.
#pragma once

#include <cstdint>

#include "imaging/gdiplus_api.h"

// Every pixel of the bitmap mixed over `backgroundRgb` (0xRRGGBB) and made opaque. The bitmap
// is changed in place: no second bitmap is made. Returns the GDI+ status of reaching its pixels.
gdip::Status FlattenOnto(gdip::GpImage* bitmap, std::uint32_t backgroundRgb);
