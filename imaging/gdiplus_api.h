// GDI+ (gdiplus.dll, flat interface), bound by name at run time through one table.
//
// The table lists every flat function the program calls. Each entry is looked up once, when the
// table is first used. Available() is true only when the DLL and every entry were found; the
// start-up helpers refuse to start GDI+ otherwise. When an entry is missing, every entry of the
// table is bound to a stand-in that answers "not initialised", so no call ever jumps through null.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>

namespace gdip {

// Opaque GDI+ object types.
struct GpImage;
struct GpGraphics;
struct GpFont;
struct GpFontFamily;
struct GpFontCollection;
struct GpBrush;
struct GpStringFormat;
struct GpMatrix;
struct GpPath;

using Status = int;  // 0 is Ok
constexpr Status kOk = 0;
constexpr Status kGenericError = 1;
constexpr Status kInvalidParameter = 2;
constexpr Status kOutOfMemory = 3;
constexpr Status kWin32Error = 7;
constexpr Status kUnknownImageFormat = 13;
constexpr Status kGdiplusNotInitialized = 18;

using ARGB = std::uint32_t;
using PixelFormat = int;
constexpr PixelFormat kPixelFormat32bppARGB = 0x26200A;
constexpr PixelFormat kPixelFormat8bppIndexed = 0x30803;
constexpr int kUnitPixel = 2;

// Bitmap lock modes.
constexpr UINT kImageLockModeRead = 1;
constexpr UINT kImageLockModeWrite = 2;

struct PointF { float x, y; };
struct RectF { float x, y, width, height; };
struct Rect { int x, y, width, height; };

struct StartupInput {
    UINT32 version = 1;
    void* debugEventCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};

struct BitmapData {
    UINT width, height;
    INT stride;
    PixelFormat pixelFormat;
    void* scan0;
    UINT_PTR reserved;
};

struct ColorPalette {
    UINT flags;
    UINT count;
    ARGB entries[256];
};

struct PropertyItem {
    ULONG id;
    ULONG length;
    WORD type;
    void* value;
};

struct EncoderParameters;

// X(name, return type, parameter list)
// clang-format off
#define GDIP_FUNCTIONS(X)                                                                          \
    X(GdiplusStartup, Status, (ULONG_PTR* token, const StartupInput* input, void* output))         \
    X(GdiplusShutdown, void, (ULONG_PTR token))                                                    \
    X(GdipLoadImageFromFile, Status, (const WCHAR* file, GpImage** image))                         \
    X(GdipLoadImageFromStream, Status, (IStream* stream, GpImage** image))                         \
    X(GdipGetImageDimension, Status, (GpImage* image, float* width, float* height))                \
    X(GdipGetImageWidth, Status, (GpImage* image, UINT* width))                                    \
    X(GdipGetImageHeight, Status, (GpImage* image, UINT* height))                                  \
    X(GdipGetImagePixelFormat, Status, (GpImage* image, PixelFormat* format))                      \
    X(GdipCreateBitmapFromScan0, Status,                                                           \
      (INT width, INT height, INT stride, PixelFormat format, BYTE* scan0, GpImage** bitmap))      \
    X(GdipGetImageGraphicsContext, Status, (GpImage* image, GpGraphics** graphics))                \
    X(GdipCreateFromHDC, Status, (HDC hdc, GpGraphics** graphics))                                 \
    X(GdipCreateBitmapFromGraphics, Status,                                                        \
      (INT width, INT height, GpGraphics* target, GpImage** bitmap))                               \
    X(GdipFillRectangle, Status,                                                                   \
      (GpGraphics* graphics, GpBrush* brush, float x, float y, float width, float height))         \
    X(GdipGraphicsClear, Status, (GpGraphics* graphics, ARGB colour))                              \
    X(GdipDrawImage, Status, (GpGraphics* graphics, GpImage* image, float x, float y))             \
    X(GdipDrawImageRect, Status,                                                                   \
      (GpGraphics* graphics, GpImage* image, float x, float y, float width, float height))         \
    X(GdipDrawImagePointRect, Status,                                                              \
      (GpGraphics* graphics, GpImage* image, float x, float y, float srcx, float srcy,             \
       float srcwidth, float srcheight, int srcUnit))                                              \
    X(GdipDrawString, Status,                                                                      \
      (GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,                    \
       const RectF* layoutRect, const GpStringFormat* format, const GpBrush* brush))               \
    X(GdipCreateFontFamilyFromName, Status,                                                        \
      (const WCHAR* name, GpFontCollection* collection, GpFontFamily** family))                    \
    X(GdipDeleteFontFamily, Status, (GpFontFamily* family))                                        \
    X(GdipCreateFont, Status,                                                                      \
      (const GpFontFamily* family, float emSize, INT style, int unit, GpFont** font))              \
    X(GdipCreateFontFromDC, Status, (HDC hdc, GpFont** font))                                      \
    X(GdipDeleteFont, Status, (GpFont* font))                                                      \
    X(GdipGetFontStyle, Status, (GpFont* font, INT* style))                                        \
    X(GdipGetFontSize, Status, (GpFont* font, float* size))                                        \
    X(GdipGetFontUnit, Status, (GpFont* font, int* unit))                                          \
    X(GdipGetFontHeight, Status, (const GpFont* font, const GpGraphics* graphics, float* height))  \
    X(GdipCreateSolidFill, Status, (ARGB colour, GpBrush** brush))                                 \
    X(GdipDeleteBrush, Status, (GpBrush* brush))                                                   \
    X(GdipSaveImageToFile, Status,                                                                 \
      (GpImage* image, const WCHAR* file, const CLSID* encoder, const EncoderParameters* params))  \
    X(GdipSaveImageToStream, Status,                                                               \
      (GpImage* image, IStream* stream, const CLSID* encoder, const EncoderParameters* params))    \
    X(GdipGetDC, Status, (GpGraphics* graphics, HDC* hdc))                                         \
    X(GdipReleaseDC, Status, (GpGraphics* graphics, HDC hdc))                                      \
    X(GdipDisposeImage, Status, (GpImage* image))                                                  \
    X(GdipDeleteGraphics, Status, (GpGraphics* graphics))                                          \
    X(GdipCloneImage, Status, (GpImage* image, GpImage** clone))                                   \
    X(GdipBitmapLockBits, Status,                                                                  \
      (GpImage* bitmap, const Rect* rect, UINT flags, PixelFormat format, BitmapData* data))       \
    X(GdipBitmapUnlockBits, Status, (GpImage* bitmap, BitmapData* data))                           \
    X(GdipBitmapGetPixel, Status, (GpImage* bitmap, INT x, INT y, ARGB* colour))                   \
    X(GdipBitmapSetPixel, Status, (GpImage* bitmap, INT x, INT y, ARGB colour))                    \
    X(GdipSetImagePalette, Status, (GpImage* image, const ColorPalette* palette))                  \
    X(GdipCreateHBITMAPFromBitmap, Status, (GpImage* bitmap, HBITMAP* hbitmap, ARGB background))   \
    X(GdipCreateBitmapFromHBITMAP, Status, (HBITMAP hbitmap, HPALETTE palette, GpImage** bitmap))  \
    X(GdipImageGetFrameDimensionsCount, Status, (GpImage* image, UINT* count))                     \
    X(GdipImageGetFrameDimensionsList, Status, (GpImage* image, GUID* ids, UINT count))            \
    X(GdipImageGetFrameCount, Status, (GpImage* image, const GUID* dimension, UINT* count))        \
    X(GdipImageSelectActiveFrame, Status, (GpImage* image, const GUID* dimension, UINT index))     \
    X(GdipGetPropertyItemSize, Status, (GpImage* image, PROPID id, UINT* size))                    \
    X(GdipGetPropertyItem, Status, (GpImage* image, PROPID id, UINT size, PropertyItem* item))     \
    X(GdipImageRotateFlip, Status, (GpImage* image, int rotateFlipType))                           \
    X(GdipGetImageRawFormat, Status, (GpImage* image, GUID* format))                           \
    X(GdipGetImagePaletteSize, Status, (GpImage* image, INT* size))                            \
    X(GdipGetImagePalette, Status, (GpImage* image, ColorPalette* palette, INT size))          \
    X(GdipSetTextRenderingHint, Status, (GpGraphics* graphics, int hint))                      \
    X(GdipSetCompositingMode, Status, (GpGraphics* graphics, int mode))                        \
    GDIP_MATRIX_AND_PATH_FUNCTIONS(X)                                                          \
    GDIP_BRUSH_FUNCTIONS(X)

// Matrices and paths: the brush family takes them as arguments.
#define GDIP_MATRIX_AND_PATH_FUNCTIONS(X)                                                          \
    X(GdipCreateMatrix, Status, (GpMatrix** matrix))                                               \
    X(GdipCreateMatrix2, Status,                                                                   \
      (float m11, float m12, float m21, float m22, float dx, float dy, GpMatrix** matrix))         \
    X(GdipDeleteMatrix, Status, (GpMatrix* matrix))                                                \
    X(GdipGetMatrixElements, Status, (const GpMatrix* matrix, float* elements))                    \
    X(GdipCreatePath, Status, (int fillMode, GpPath** path))                                       \
    X(GdipDeletePath, Status, (GpPath* path))                                                      \
    X(GdipAddPathRectangle, Status, (GpPath* path, float x, float y, float width, float height))   \
    X(GdipGetPointCount, Status, (GpPath* path, INT* count))

// Every brush kind: solid, hatch, linear gradient, texture, path gradient. The flat interface
// names each kind's own handle type; all of them are brushes, passed here as GpBrush.
#define GDIP_BRUSH_FUNCTIONS(X)                                                                    \
    X(GdipCloneBrush, Status, (GpBrush* brush, GpBrush** clone))                                   \
    X(GdipGetBrushType, Status, (GpBrush* brush, int* type))                                       \
    X(GdipSetSolidFillColor, Status, (GpBrush* brush, ARGB colour))                                \
    X(GdipGetSolidFillColor, Status, (GpBrush* brush, ARGB* colour))                               \
    X(GdipCreateHatchBrush, Status, (int style, ARGB fore, ARGB back, GpBrush** brush))            \
    X(GdipGetHatchStyle, Status, (GpBrush* brush, int* style))                                     \
    X(GdipGetHatchForegroundColor, Status, (GpBrush* brush, ARGB* colour))                         \
    X(GdipGetHatchBackgroundColor, Status, (GpBrush* brush, ARGB* colour))                         \
    X(GdipCreateLineBrush, Status,                                                                 \
      (const PointF* from, const PointF* to, ARGB colour1, ARGB colour2, int wrapMode,             \
       GpBrush** brush))                                                                           \
    X(GdipCreateLineBrushFromRect, Status,                                                         \
      (const RectF* rect, ARGB colour1, ARGB colour2, int mode, int wrapMode, GpBrush** brush))    \
    X(GdipCreateLineBrushFromRectWithAngle, Status,                                                \
      (const RectF* rect, ARGB colour1, ARGB colour2, float angle, BOOL isAngleScalable,           \
       int wrapMode, GpBrush** brush))                                                             \
    X(GdipSetLineColors, Status, (GpBrush* brush, ARGB colour1, ARGB colour2))                     \
    X(GdipGetLineColors, Status, (GpBrush* brush, ARGB* colours))                                  \
    X(GdipGetLineRect, Status, (GpBrush* brush, RectF* rect))                                      \
    X(GdipSetLineGammaCorrection, Status, (GpBrush* brush, BOOL useGamma))                         \
    X(GdipGetLineGammaCorrection, Status, (GpBrush* brush, BOOL* useGamma))                        \
    X(GdipGetLineBlendCount, Status, (GpBrush* brush, INT* count))                                 \
    X(GdipSetLineBlend, Status,                                                                    \
      (GpBrush* brush, const float* factors, const float* positions, INT count))                   \
    X(GdipGetLineBlend, Status, (GpBrush* brush, float* factors, float* positions, INT count))     \
    X(GdipGetLinePresetBlendCount, Status, (GpBrush* brush, INT* count))                           \
    X(GdipSetLinePresetBlend, Status,                                                              \
      (GpBrush* brush, const ARGB* colours, const float* positions, INT count))                    \
    X(GdipGetLinePresetBlend, Status,                                                              \
      (GpBrush* brush, ARGB* colours, float* positions, INT count))                                \
    X(GdipSetLineSigmaBlend, Status, (GpBrush* brush, float focus, float scale))                   \
    X(GdipSetLineLinearBlend, Status, (GpBrush* brush, float focus, float scale))                  \
    X(GdipSetLineWrapMode, Status, (GpBrush* brush, int wrapMode))                                 \
    X(GdipGetLineWrapMode, Status, (GpBrush* brush, int* wrapMode))                                \
    X(GdipCreateTexture, Status, (GpImage* image, int wrapMode, GpBrush** brush))                  \
    X(GdipCreateTexture2, Status,                                                                  \
      (GpImage* image, int wrapMode, float x, float y, float width, float height,                  \
       GpBrush** brush))                                                                           \
    X(GdipSetTextureWrapMode, Status, (GpBrush* brush, int wrapMode))                              \
    X(GdipGetTextureWrapMode, Status, (GpBrush* brush, int* wrapMode))                             \
    X(GdipGetTextureImage, Status, (GpBrush* brush, GpImage** image))                              \
    X(GdipSetTextureTransform, Status, (GpBrush* brush, const GpMatrix* matrix))                   \
    X(GdipGetTextureTransform, Status, (GpBrush* brush, GpMatrix* matrix))                         \
    X(GdipResetTextureTransform, Status, (GpBrush* brush))                                         \
    X(GdipMultiplyTextureTransform, Status, (GpBrush* brush, const GpMatrix* matrix, int order))   \
    X(GdipTranslateTextureTransform, Status, (GpBrush* brush, float dx, float dy, int order))      \
    X(GdipScaleTextureTransform, Status, (GpBrush* brush, float sx, float sy, int order))          \
    X(GdipRotateTextureTransform, Status, (GpBrush* brush, float angle, int order))                \
    X(GdipSetLineTransform, Status, (GpBrush* brush, const GpMatrix* matrix))                      \
    X(GdipGetLineTransform, Status, (GpBrush* brush, GpMatrix* matrix))                            \
    X(GdipResetLineTransform, Status, (GpBrush* brush))                                            \
    X(GdipMultiplyLineTransform, Status, (GpBrush* brush, const GpMatrix* matrix, int order))      \
    X(GdipTranslateLineTransform, Status, (GpBrush* brush, float dx, float dy, int order))         \
    X(GdipScaleLineTransform, Status, (GpBrush* brush, float sx, float sy, int order))             \
    X(GdipRotateLineTransform, Status, (GpBrush* brush, float angle, int order))                   \
    X(GdipCreatePathGradient, Status,                                                              \
      (const PointF* points, INT count, int wrapMode, GpBrush** brush))                            \
    X(GdipCreatePathGradientFromPath, Status, (const GpPath* path, GpBrush** brush))               \
    X(GdipSetPathGradientCenterColor, Status, (GpBrush* brush, ARGB colour))                       \
    X(GdipGetPathGradientCenterColor, Status, (GpBrush* brush, ARGB* colour))                      \
    X(GdipGetPathGradientTransform, Status, (GpBrush* brush, GpMatrix* matrix))                    \
    X(GdipSetPathGradientTransform, Status, (GpBrush* brush, GpMatrix* matrix))                    \
    X(GdipResetPathGradientTransform, Status, (GpBrush* brush))                                    \
    X(GdipMultiplyPathGradientTransform, Status,                                                   \
      (GpBrush* brush, const GpMatrix* matrix, int order))                                         \
    X(GdipTranslatePathGradientTransform, Status,                                                  \
      (GpBrush* brush, float dx, float dy, int order))                                             \
    X(GdipScalePathGradientTransform, Status, (GpBrush* brush, float sx, float sy, int order))     \
    X(GdipRotatePathGradientTransform, Status, (GpBrush* brush, float angle, int order))           \
    X(GdipSetPathGradientPath, Status, (GpBrush* brush, const GpPath* path))                       \
    X(GdipGetPathGradientPath, Status, (GpBrush* brush, GpPath* path))                             \
    X(GdipSetPathGradientCenterPoint, Status, (GpBrush* brush, const PointF* point))               \
    X(GdipGetPathGradientCenterPoint, Status, (GpBrush* brush, PointF* point))                     \
    X(GdipGetPathGradientRect, Status, (GpBrush* brush, RectF* rect))                              \
    X(GdipSetPathGradientWrapMode, Status, (GpBrush* brush, int wrapMode))                         \
    X(GdipGetPathGradientWrapMode, Status, (GpBrush* brush, int* wrapMode))
// clang-format on

struct Api {
#define GDIP_DECLARE_POINTER(name, ret, params) ret(WINAPI* name) params = nullptr;
    GDIP_FUNCTIONS(GDIP_DECLARE_POINTER)
#undef GDIP_DECLARE_POINTER
    HMODULE module = nullptr;
    // True when the DLL and every entry were found. Otherwise every entry is a stand-in that
    // answers "not initialised" (void entries do nothing), so a call never jumps through null.
    bool complete = false;
};

// The bound table. The first call loads gdiplus.dll and looks every function up.
const Api& Table();

// True when gdiplus.dll and every function of the table were found.
bool Available();

}  // namespace gdip
