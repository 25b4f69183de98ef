// GDI+ font and font family, each owning its one native object.
//
// Creating members free what the object held before and leave it empty when GDI+ fails; every
// member returns the GDI+ status (0 success). Using an empty object passes null to GDI+, which
// answers with its invalid-parameter status.
#pragma once

#include "imaging/gdip_handles.h"

#include <windows.h>

#include <cstdint>
#include <string>

class GdipFontFamily {
  public:
    GdipFontFamily() = default;
    ~GdipFontFamily() = default;
    GdipFontFamily(const GdipFontFamily&) = delete;
    GdipFontFamily& operator=(const GdipFontFamily&) = delete;

    void Delete() { family_.Delete(); }
    // The installed family of that name (system text).
    gdip::Status CreateFromName(const std::string& name);
    gdip::GpFontFamily* Handle() const { return family_.Handle(); }
    void Attach(gdip::GpFontFamily* family) { family_.Attach(family); }

  private:
    GdipHandle<gdip_traits::FontFamily> family_;
};

class GdipFont {
  public:
    GdipFont() = default;
    ~GdipFont() = default;
    GdipFont(const GdipFont&) = delete;
    GdipFont& operator=(const GdipFont&) = delete;

    void Delete() { font_.Delete(); }
    // A font of the named family. Style bits: 1 bold, 2 italic, 4 underline, 8 strikeout.
    // Unit 2 is the pixel. A family that is not installed gives a non-zero status and no font.
    gdip::Status Create(const std::string& family, float size = 12.0f, std::int32_t style = 0,
                        std::int32_t unit = gdip::kUnitPixel);
    // The font selected into a device context.
    gdip::Status CreateFromDC(HDC dc);
    gdip::GpFont* Handle() const { return font_.Handle(); }
    void Attach(gdip::GpFont* font) { font_.Attach(font); }
    gdip::Status GetStyle(std::int32_t& style) const;
    gdip::Status GetSize(float& size) const;
    gdip::Status GetUnit(std::int32_t& unit) const;
    gdip::Status GetHeight(const GdipGraphics& graphics, float& height) const;

  private:
    GdipHandle<gdip_traits::Font> font_;
};
