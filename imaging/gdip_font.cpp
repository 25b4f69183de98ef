#include "imaging/gdip_font.h"

#include "imaging/conversions.h"

gdip::Status GdipFontFamily::CreateFromName(const std::string& name) {
    const WideText wideName = ToWideText(name);
    gdip::GpFontFamily* family = nullptr;
    const gdip::Status status =
        gdip::Table().GdipCreateFontFamilyFromName(wideName.data(), nullptr, &family);
    Attach(family);
    return status;
}

gdip::Status GdipFont::Create(const std::string& family, float size, std::int32_t style,
                              std::int32_t unit) {
    GdipFontFamily fontFamily;
    // A missing family shows only through the font's status: GDI+ then receives a null family.
    fontFamily.CreateFromName(family);
    gdip::GpFont* font = nullptr;
    const gdip::Status status =
        gdip::Table().GdipCreateFont(fontFamily.Handle(), size, style, unit, &font);
    Attach(font);
    return status;
}

gdip::Status GdipFont::CreateFromDC(HDC dc) {
    gdip::GpFont* font = nullptr;
    const gdip::Status status = gdip::Table().GdipCreateFontFromDC(dc, &font);
    Attach(font);
    return status;
}

gdip::Status GdipFont::GetStyle(std::int32_t& style) const {
    INT value = style;
    const gdip::Status status = gdip::Table().GdipGetFontStyle(Handle(), &value);
    style = value;
    return status;
}

gdip::Status GdipFont::GetSize(float& size) const {
    return gdip::Table().GdipGetFontSize(Handle(), &size);
}

gdip::Status GdipFont::GetUnit(std::int32_t& unit) const {
    int value = unit;
    const gdip::Status status = gdip::Table().GdipGetFontUnit(Handle(), &value);
    unit = value;
    return status;
}

gdip::Status GdipFont::GetHeight(const GdipGraphics& graphics, float& height) const {
    return gdip::Table().GdipGetFontHeight(Handle(), graphics.Handle(), &height);
}
