// GDI+ (gdiplus.dll, flat interface), bound by name at run time through one table.
//
// The table lists every flat function the program calls. Each entry is looked up once, when the
// table is first used. Available() is true only when the DLL and every entry were found; the
// start-up helpers refuse to start GDI+ otherwise, so no null entry is ever called.
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
constexpr Status kInvalidParameter = 2;
constexpr Status kGdiplusNotInitialized = 18;

using ARGB = std::uint32_t;
using PixelFormat = int;
constexpr PixelFormat kPixelFormat32bppARGB = 0x26200A;
constexpr PixelFormat kPixelFormat8bppIndexed = 0x30803;
constexpr int kUnitPixel = 2;

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
    X(GdipGetImageRawFormat, Status, (GpImage* image, GUID* format))

struct Api {
#define GDIP_DECLARE_POINTER(name, ret, params) ret(WINAPI* name) params = nullptr;
    GDIP_FUNCTIONS(GDIP_DECLARE_POINTER)
#undef GDIP_DECLARE_POINTER
    HMODULE module = nullptr;
};

// The bound table. The first call loads gdiplus.dll and looks every function up.
const Api& Table();

// True when gdiplus.dll and every function of the table were found.
bool Available();

}  // namespace gdip
