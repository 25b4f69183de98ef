// A GDI+ brush of any kind, owning its one native brush.
//
// The program draws with solid brushes only. The other kinds (hatch, linear gradient, texture,
// path gradient) are here as one family: each member is named after the flat function it calls
// without the "Gdip" prefix, passes the brush first and its own arguments after, and returns the
// GDI+ status. Creating members free the brush held before and leave the object empty when GDI+
// fails. Array arguments are checked against their count, so GDI+ never reads or writes past
// them. Wrap modes default to 0 (tile), except the path gradient's 4 (clamp); matrix orders
// default to 0 (prepend).
#pragma once

#include "imaging/gdip_handles.h"

#include <vector>

class GdipBrush {
  public:
    GdipBrush() = default;
    ~GdipBrush() = default;
    GdipBrush(const GdipBrush&) = delete;
    GdipBrush& operator=(const GdipBrush&) = delete;

    void Delete() { brush_.Delete(); }
    gdip::Status CreateSolidFill(gdip::ARGB colour);
    gdip::GpBrush* Handle() const { return brush_.Handle(); }
    void Attach(gdip::GpBrush* brush) { brush_.Attach(brush); }

    // The brush family.
    gdip::Status CloneBrush(GdipBrush& clone) const;
    gdip::Status GetBrushType(int& type) const;
    gdip::Status SetSolidFillColor(gdip::ARGB colour);
    gdip::Status GetSolidFillColor(gdip::ARGB& colour) const;
    gdip::Status CreateHatchBrush(int hatchStyle, gdip::ARGB foreground, gdip::ARGB background);
    gdip::Status GetHatchStyle(int& hatchStyle) const;
    gdip::Status GetHatchForegroundColor(gdip::ARGB& colour) const;
    gdip::Status GetHatchBackgroundColor(gdip::ARGB& colour) const;
    gdip::Status CreateLineBrush(const gdip::PointF& from, const gdip::PointF& to,
                                 gdip::ARGB colour1, gdip::ARGB colour2);
    gdip::Status CreateLineBrushFromRect(const gdip::RectF& rect, gdip::ARGB colour1,
                                         gdip::ARGB colour2, int gradientMode);
    gdip::Status CreateLineBrushFromRectWithAngle(const gdip::RectF& rect, gdip::ARGB colour1,
                                                  gdip::ARGB colour2, float angle,
                                                  bool isAngleScalable);
    gdip::Status SetLineColors(gdip::ARGB colour1, gdip::ARGB colour2);
    gdip::Status GetLineColors(gdip::ARGB& colour1, gdip::ARGB& colour2) const;
    gdip::Status GetLineRect(gdip::RectF& rect) const;
    gdip::Status SetLineGammaCorrection(bool useGamma);
    gdip::Status GetLineGammaCorrection(bool& useGamma) const;
    gdip::Status GetLineBlendCount(int& count) const;
    gdip::Status SetLineBlend(const std::vector<float>& factors,
                              const std::vector<float>& positions, int count);
    gdip::Status GetLineBlend(std::vector<float>& factors, std::vector<float>& positions,
                              int count) const;
    gdip::Status GetLinePresetBlendCount(int& count) const;
    gdip::Status SetLinePresetBlend(const std::vector<gdip::ARGB>& colours,
                                    const std::vector<float>& positions, int count);
    gdip::Status GetLinePresetBlend(std::vector<gdip::ARGB>& colours, std::vector<float>& positions,
                                    int count) const;
    gdip::Status SetLineSigmaBlend(float focus, float scale);
    gdip::Status SetLineLinearBlend(float focus, float scale);
    gdip::Status SetLineWrapMode(int wrapMode);
    gdip::Status GetLineWrapMode(int& wrapMode) const;
    gdip::Status CreateTexture(const GdipImage& image, int wrapMode = 0);
    gdip::Status CreateTexture2(const GdipImage& image, float x, float y, float width,
                                float height);
    gdip::Status CreateTexture2(const GdipImage& image, int wrapMode, float x, float y, float width,
                                float height);
    gdip::Status SetTextureWrapMode(int wrapMode);
    gdip::Status GetTextureWrapMode(int& wrapMode) const;
    gdip::Status GetTextureImage(GdipImage& image) const;
    gdip::Status SetTextureTransform(const GdipMatrix& matrix);
    gdip::Status GetTextureTransform(GdipMatrix& matrix) const;
    gdip::Status ResetTextureTransform();
    gdip::Status MultiplyTextureTransform(const GdipMatrix& matrix, int order = 0);
    gdip::Status TranslateTextureTransform(float dx, float dy, int order = 0);
    gdip::Status ScaleTextureTransform(float sx, float sy, int order = 0);
    gdip::Status RotateTextureTransform(float angle, int order = 0);
    gdip::Status SetLineTransform(const GdipMatrix& matrix);
    gdip::Status GetLineTransform(GdipMatrix& matrix) const;
    gdip::Status ResetLineTransform();
    gdip::Status MultiplyLineTransform(const GdipMatrix& matrix, int order = 0);
    gdip::Status TranslateLineTransform(float dx, float dy, int order = 0);
    gdip::Status ScaleLineTransform(float sx, float sy, int order = 0);
    gdip::Status RotateLineTransform(float angle, int order = 0);
    gdip::Status CreatePathGradient(const std::vector<gdip::PointF>& points, int count,
                                    int wrapMode = 4);
    gdip::Status CreatePathGradientFromPath(const GdipPath& path);
    gdip::Status SetPathGradientCenterColor(gdip::ARGB colour);
    gdip::Status GetPathGradientCenterColor(gdip::ARGB& colour) const;
    gdip::Status GetPathGradientTransform(GdipMatrix& matrix) const;
    gdip::Status SetPathGradientTransform(const GdipMatrix& matrix);
    gdip::Status ResetPathGradientTransform();
    gdip::Status MultiplyPathGradientTransform(const GdipMatrix& matrix, int order = 0);
    gdip::Status TranslatePathGradientTransform(float dx, float dy, int order = 0);
    gdip::Status ScalePathGradientTransform(float sx, float sy, int order = 0);
    gdip::Status RotatePathGradientTransform(float angle, int order = 0);
    gdip::Status SetPathGradientPath(const GdipPath& path);
    gdip::Status GetPathGradientPath(GdipPath& path) const;
    gdip::Status SetPathGradientCenterPoint(const gdip::PointF& point);
    gdip::Status GetPathGradientCenterPoint(gdip::PointF& point) const;
    gdip::Status GetPathGradientRect(gdip::RectF& rect) const;
    gdip::Status SetPathGradientWrapMode(int wrapMode);
    gdip::Status GetPathGradientWrapMode(int& wrapMode) const;

  private:
    GdipHandle<gdip_traits::Brush> brush_;
};
