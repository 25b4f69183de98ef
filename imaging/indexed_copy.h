// An 8-bit indexed copy of a bitmap, with a palette chosen for the bitmap's own colours. The GIF
// encoder is given this copy: some GDI+ versions write an empty picture from a 32-bit bitmap, and
// those that convert it themselves use a fixed halftone palette.
#pragma once

#include "imaging/gdip_handles.h"

// Fills `copy` with the indexed copy of `source`; on failure `copy` is left empty.
gdip::Status MakeIndexedCopy(gdip::GpImage* source, GdipImage& copy);
