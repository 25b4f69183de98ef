#include "imaging/gdip_brush.h"

#include <cstddef>

namespace {

const gdip::Api& Gdip() { return gdip::Table(); }

// Creating members: GDI+ fills a local handle, which the object then keeps, freeing its previous
// brush; a failed creation leaves the object empty.
template <typename Create>
gdip::Status AttachCreated(GdipBrush& target, Create&& create) {
    gdip::GpBrush* brush = nullptr;
    const gdip::Status status = create(&brush);
    target.Attach(brush);
    return status;
}

// True when `count` elements fit in every array given.
template <typename... Arrays>
bool CountFits(int count, const Arrays&... arrays) {
    if (count < 0) return false;
    return ((static_cast<std::size_t>(count) <= arrays.size()) && ...);
}

}  // namespace

gdip::Status GdipBrush::CreateSolidFill(gdip::ARGB colour) {
    return AttachCreated(
        *this, [&](gdip::GpBrush** brush) { return Gdip().GdipCreateSolidFill(colour, brush); });
}

gdip::Status GdipBrush::CloneBrush(GdipBrush& clone) const {
    return AttachCreated(
        clone, [&](gdip::GpBrush** brush) { return Gdip().GdipCloneBrush(Handle(), brush); });
}

gdip::Status GdipBrush::GetBrushType(int& type) const {
    return Gdip().GdipGetBrushType(Handle(), &type);
}

gdip::Status GdipBrush::SetSolidFillColor(gdip::ARGB colour) {
    return Gdip().GdipSetSolidFillColor(Handle(), colour);
}

gdip::Status GdipBrush::GetSolidFillColor(gdip::ARGB& colour) const {
    return Gdip().GdipGetSolidFillColor(Handle(), &colour);
}

gdip::Status GdipBrush::CreateHatchBrush(int hatchStyle, gdip::ARGB foreground,
                                         gdip::ARGB background) {
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreateHatchBrush(hatchStyle, foreground, background, brush);
    });
}

gdip::Status GdipBrush::GetHatchStyle(int& hatchStyle) const {
    return Gdip().GdipGetHatchStyle(Handle(), &hatchStyle);
}

gdip::Status GdipBrush::GetHatchForegroundColor(gdip::ARGB& colour) const {
    return Gdip().GdipGetHatchForegroundColor(Handle(), &colour);
}

gdip::Status GdipBrush::GetHatchBackgroundColor(gdip::ARGB& colour) const {
    return Gdip().GdipGetHatchBackgroundColor(Handle(), &colour);
}

gdip::Status GdipBrush::CreateLineBrush(const gdip::PointF& from, const gdip::PointF& to,
                                        gdip::ARGB colour1, gdip::ARGB colour2) {
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreateLineBrush(&from, &to, colour1, colour2, 0, brush);
    });
}

gdip::Status GdipBrush::CreateLineBrushFromRect(const gdip::RectF& rect, gdip::ARGB colour1,
                                                gdip::ARGB colour2, int gradientMode) {
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreateLineBrushFromRect(&rect, colour1, colour2, gradientMode, 0, brush);
    });
}

gdip::Status GdipBrush::CreateLineBrushFromRectWithAngle(const gdip::RectF& rect,
                                                         gdip::ARGB colour1, gdip::ARGB colour2,
                                                         float angle, bool isAngleScalable) {
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreateLineBrushFromRectWithAngle(
            &rect, colour1, colour2, angle, isAngleScalable ? TRUE : FALSE, 0, brush);
    });
}

gdip::Status GdipBrush::SetLineColors(gdip::ARGB colour1, gdip::ARGB colour2) {
    return Gdip().GdipSetLineColors(Handle(), colour1, colour2);
}

gdip::Status GdipBrush::GetLineColors(gdip::ARGB& colour1, gdip::ARGB& colour2) const {
    gdip::ARGB colours[2] = {colour1, colour2};
    const gdip::Status status = Gdip().GdipGetLineColors(Handle(), colours);
    colour1 = colours[0];
    colour2 = colours[1];
    return status;
}

gdip::Status GdipBrush::GetLineRect(gdip::RectF& rect) const {
    return Gdip().GdipGetLineRect(Handle(), &rect);
}

gdip::Status GdipBrush::SetLineGammaCorrection(bool useGamma) {
    return Gdip().GdipSetLineGammaCorrection(Handle(), useGamma ? TRUE : FALSE);
}

gdip::Status GdipBrush::GetLineGammaCorrection(bool& useGamma) const {
    BOOL value = useGamma ? TRUE : FALSE;
    const gdip::Status status = Gdip().GdipGetLineGammaCorrection(Handle(), &value);
    useGamma = value != FALSE;
    return status;
}

gdip::Status GdipBrush::GetLineBlendCount(int& count) const {
    return Gdip().GdipGetLineBlendCount(Handle(), &count);
}

gdip::Status GdipBrush::SetLineBlend(const std::vector<float>& factors,
                                     const std::vector<float>& positions, int count) {
    if (!CountFits(count, factors, positions)) return gdip::kInvalidParameter;
    return Gdip().GdipSetLineBlend(Handle(), factors.data(), positions.data(), count);
}

gdip::Status GdipBrush::GetLineBlend(std::vector<float>& factors, std::vector<float>& positions,
                                     int count) const {
    if (!CountFits(count, factors, positions)) return gdip::kInvalidParameter;
    return Gdip().GdipGetLineBlend(Handle(), factors.data(), positions.data(), count);
}

gdip::Status GdipBrush::GetLinePresetBlendCount(int& count) const {
    return Gdip().GdipGetLinePresetBlendCount(Handle(), &count);
}

gdip::Status GdipBrush::SetLinePresetBlend(const std::vector<gdip::ARGB>& colours,
                                           const std::vector<float>& positions, int count) {
    if (!CountFits(count, colours, positions)) return gdip::kInvalidParameter;
    return Gdip().GdipSetLinePresetBlend(Handle(), colours.data(), positions.data(), count);
}

gdip::Status GdipBrush::GetLinePresetBlend(std::vector<gdip::ARGB>& colours,
                                           std::vector<float>& positions, int count) const {
    if (!CountFits(count, colours, positions)) return gdip::kInvalidParameter;
    return Gdip().GdipGetLinePresetBlend(Handle(), colours.data(), positions.data(), count);
}

gdip::Status GdipBrush::SetLineSigmaBlend(float focus, float scale) {
    return Gdip().GdipSetLineSigmaBlend(Handle(), focus, scale);
}

gdip::Status GdipBrush::SetLineLinearBlend(float focus, float scale) {
    return Gdip().GdipSetLineLinearBlend(Handle(), focus, scale);
}

gdip::Status GdipBrush::SetLineWrapMode(int wrapMode) {
    return Gdip().GdipSetLineWrapMode(Handle(), wrapMode);
}

gdip::Status GdipBrush::GetLineWrapMode(int& wrapMode) const {
    return Gdip().GdipGetLineWrapMode(Handle(), &wrapMode);
}

gdip::Status GdipBrush::CreateTexture(const GdipImage& image, int wrapMode) {
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreateTexture(image.Handle(), wrapMode, brush);
    });
}

gdip::Status GdipBrush::CreateTexture2(const GdipImage& image, float x, float y, float width,
                                       float height) {
    return CreateTexture2(image, 0, x, y, width, height);
}

gdip::Status GdipBrush::CreateTexture2(const GdipImage& image, int wrapMode, float x, float y,
                                       float width, float height) {
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreateTexture2(image.Handle(), wrapMode, x, y, width, height, brush);
    });
}

gdip::Status GdipBrush::SetTextureWrapMode(int wrapMode) {
    return Gdip().GdipSetTextureWrapMode(Handle(), wrapMode);
}

gdip::Status GdipBrush::GetTextureWrapMode(int& wrapMode) const {
    return Gdip().GdipGetTextureWrapMode(Handle(), &wrapMode);
}

gdip::Status GdipBrush::GetTextureImage(GdipImage& image) const {
    gdip::GpImage* texture = nullptr;
    const gdip::Status status = Gdip().GdipGetTextureImage(Handle(), &texture);
    image.Attach(texture);
    return status;
}

gdip::Status GdipBrush::SetTextureTransform(const GdipMatrix& matrix) {
    return Gdip().GdipSetTextureTransform(Handle(), matrix.Handle());
}

gdip::Status GdipBrush::GetTextureTransform(GdipMatrix& matrix) const {
    return Gdip().GdipGetTextureTransform(Handle(), matrix.Handle());
}

gdip::Status GdipBrush::ResetTextureTransform() {
    return Gdip().GdipResetTextureTransform(Handle());
}

gdip::Status GdipBrush::MultiplyTextureTransform(const GdipMatrix& matrix, int order) {
    return Gdip().GdipMultiplyTextureTransform(Handle(), matrix.Handle(), order);
}

gdip::Status GdipBrush::TranslateTextureTransform(float dx, float dy, int order) {
    return Gdip().GdipTranslateTextureTransform(Handle(), dx, dy, order);
}

gdip::Status GdipBrush::ScaleTextureTransform(float sx, float sy, int order) {
    return Gdip().GdipScaleTextureTransform(Handle(), sx, sy, order);
}

gdip::Status GdipBrush::RotateTextureTransform(float angle, int order) {
    return Gdip().GdipRotateTextureTransform(Handle(), angle, order);
}

gdip::Status GdipBrush::SetLineTransform(const GdipMatrix& matrix) {
    return Gdip().GdipSetLineTransform(Handle(), matrix.Handle());
}

gdip::Status GdipBrush::GetLineTransform(GdipMatrix& matrix) const {
    return Gdip().GdipGetLineTransform(Handle(), matrix.Handle());
}

gdip::Status GdipBrush::ResetLineTransform() { return Gdip().GdipResetLineTransform(Handle()); }

gdip::Status GdipBrush::MultiplyLineTransform(const GdipMatrix& matrix, int order) {
    return Gdip().GdipMultiplyLineTransform(Handle(), matrix.Handle(), order);
}

gdip::Status GdipBrush::TranslateLineTransform(float dx, float dy, int order) {
    return Gdip().GdipTranslateLineTransform(Handle(), dx, dy, order);
}

gdip::Status GdipBrush::ScaleLineTransform(float sx, float sy, int order) {
    return Gdip().GdipScaleLineTransform(Handle(), sx, sy, order);
}

gdip::Status GdipBrush::RotateLineTransform(float angle, int order) {
    return Gdip().GdipRotateLineTransform(Handle(), angle, order);
}

gdip::Status GdipBrush::CreatePathGradient(const std::vector<gdip::PointF>& points, int count,
                                           int wrapMode) {
    if (!CountFits(count, points)) return gdip::kInvalidParameter;
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreatePathGradient(points.data(), count, wrapMode, brush);
    });
}

gdip::Status GdipBrush::CreatePathGradientFromPath(const GdipPath& path) {
    return AttachCreated(*this, [&](gdip::GpBrush** brush) {
        return Gdip().GdipCreatePathGradientFromPath(path.Handle(), brush);
    });
}

gdip::Status GdipBrush::SetPathGradientCenterColor(gdip::ARGB colour) {
    return Gdip().GdipSetPathGradientCenterColor(Handle(), colour);
}

gdip::Status GdipBrush::GetPathGradientCenterColor(gdip::ARGB& colour) const {
    return Gdip().GdipGetPathGradientCenterColor(Handle(), &colour);
}

gdip::Status GdipBrush::GetPathGradientTransform(GdipMatrix& matrix) const {
    return Gdip().GdipGetPathGradientTransform(Handle(), matrix.Handle());
}

gdip::Status GdipBrush::SetPathGradientTransform(const GdipMatrix& matrix) {
    return Gdip().GdipSetPathGradientTransform(Handle(), matrix.Handle());
}

gdip::Status GdipBrush::ResetPathGradientTransform() {
    return Gdip().GdipResetPathGradientTransform(Handle());
}

gdip::Status GdipBrush::MultiplyPathGradientTransform(const GdipMatrix& matrix, int order) {
    return Gdip().GdipMultiplyPathGradientTransform(Handle(), matrix.Handle(), order);
}

gdip::Status GdipBrush::TranslatePathGradientTransform(float dx, float dy, int order) {
    return Gdip().GdipTranslatePathGradientTransform(Handle(), dx, dy, order);
}

gdip::Status GdipBrush::ScalePathGradientTransform(float sx, float sy, int order) {
    return Gdip().GdipScalePathGradientTransform(Handle(), sx, sy, order);
}

gdip::Status GdipBrush::RotatePathGradientTransform(float angle, int order) {
    return Gdip().GdipRotatePathGradientTransform(Handle(), angle, order);
}

gdip::Status GdipBrush::SetPathGradientPath(const GdipPath& path) {
    return Gdip().GdipSetPathGradientPath(Handle(), path.Handle());
}

gdip::Status GdipBrush::GetPathGradientPath(GdipPath& path) const {
    return Gdip().GdipGetPathGradientPath(Handle(), path.Handle());
}

gdip::Status GdipBrush::SetPathGradientCenterPoint(const gdip::PointF& point) {
    return Gdip().GdipSetPathGradientCenterPoint(Handle(), &point);
}

gdip::Status GdipBrush::GetPathGradientCenterPoint(gdip::PointF& point) const {
    return Gdip().GdipGetPathGradientCenterPoint(Handle(), &point);
}

gdip::Status GdipBrush::GetPathGradientRect(gdip::RectF& rect) const {
    return Gdip().GdipGetPathGradientRect(Handle(), &rect);
}

gdip::Status GdipBrush::SetPathGradientWrapMode(int wrapMode) {
    return Gdip().GdipSetPathGradientWrapMode(Handle(), wrapMode);
}

gdip::Status GdipBrush::GetPathGradientWrapMode(int& wrapMode) const {
    return Gdip().GdipGetPathGradientWrapMode(Handle(), &wrapMode);
}
