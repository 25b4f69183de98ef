// GDI fonts and text measuring. The text watermark is drawn with GDI+, but its size in pixels is
// measured with GDI on a display DC, and the placement of the watermark follows that size.
#pragma once

#include "imaging/gdi_handles.h"

#include <windows.h>

#include <cstdint>
#include <string>

class GdipFont;

// The one place GDI fonts are made, with the program's fixed creation parameters: weight 600 for
// bold (400 otherwise), default character set, character output and clipping precision, default
// quality, modern family. A positive height is the cell height. Empty when GDI refuses.
GdiFont CreateGdiFont(std::int32_t height, std::int32_t width, std::int32_t escapement,
                      std::int32_t orientation, bool bold, bool italic, bool underline,
                      bool strikeout, const std::string& face);

// The extent of a text laid out by DrawTextA (CR LF breaks lines), in the context's device units.
// Without a context it measures on a fresh display DC, in the given font or, without one, in
// 12-pixel "宋体". With a context and no font it measures in the context's current font. Whatever
// it selects or creates is restored or freed before it returns. 0 × 0 when measuring fails.
void MeasureText(const std::string& text, std::int32_t& width, std::int32_t& height,
                 HFONT font = nullptr, HDC dc = nullptr);

// The batch run's text watermark set-up, from the stored watermark font settings and the run's
// watermark text: creates the GDI+ font in `font` and measures the text.
void PrepareTextWatermark(std::int32_t& width, std::int32_t& height, GdipFont& font);
