// The one drawing surface of the program.
//
// A bitmap canvas (CreateBlank, LoadFile, LoadBytes) holds a GDI+ bitmap and the graphics context
// that draws into it. A DC canvas (CreateForDc) holds a memory DC with a compatible bitmap that a
// window can be painted from; its graphics context draws into that DC, and its image is a
// separate bitmap of the same size that drawing does not reach.
//
// The canvas owns every handle it holds; images passed to the drawing operations stay their
// caller's. Each creating operation first releases what the canvas held and makes sure the canvas
// layer's GDI+ start-up has been made. Release keeps the width, the height and the last error.
//
// Optional arguments: std::optional where an operation tests whether the argument was supplied,
// a plain default where only its value counts.
#pragma once

#include "imaging/gdi_handles.h"
#include "imaging/gdip_handles.h"
#include "shellutil/global_buffer.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class GdipFont;
class GdipBrush;

class Canvas {
  public:
    Canvas() = default;
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // A new bitmap of that size (32-bit ARGB unless a format is supplied), filled with the colour
    // when one is supplied. The width and height are kept even when it fails.
    bool CreateBlank(int width, int height, std::optional<COLORREF> fillColour = std::nullopt,
                     std::optional<gdip::PixelFormat> pixelFormat = std::nullopt);
    // The picture file, with a graphics context on it.
    bool LoadFile(const std::string& path);
    // A picture file held in memory, with a graphics context on it.
    bool LoadBytes(const std::vector<std::uint8_t>& bytes);
    // A memory DC compatible with the reference DC (the screen's when null) and a bitmap of that
    // size in it, filled with the colour when one is supplied. Reports success whatever happens.
    bool CreateForDc(int width, int height, std::optional<COLORREF> fillColour = std::nullopt,
                     HDC referenceDc = nullptr);
    void Release();

    // Draws a GDI+ image at (x, y): at its own size when neither size is supplied, otherwise
    // scaled, a supplied size above 0 replacing the image's own. False when the image's size
    // cannot be read.
    bool DrawImage(gdip::GpImage* image, int x, int y, std::optional<int> width = std::nullopt,
                   std::optional<int> height = std::nullopt);
    // Draws part of an image; true exactly when GDI+ reports success.
    bool DrawImagePart(gdip::GpImage* image, float x, float y, float sourceX, float sourceY,
                       float sourceWidth, float sourceHeight, int sourceUnit);
    // Draws a text with an optional drop shadow and an optional glow under it; returns the status
    // of drawing the text itself. The shadow is drawn when its colour is supplied (offset 2 and
    // opacity 255 unless supplied); the glow when its colour is supplied (width 2 rings and
    // opacity 255 unless supplied), its rings from the outermost inwards, each 20 alpha steps
    // fainter than the one inside it and never below 0.
    gdip::Status DrawEffectText(const std::string& text, float x, float y, const GdipFont& font,
                                const GdipBrush& mainBrush,
                                std::optional<COLORREF> shadowColour = std::nullopt,
                                std::optional<int> shadowOffset = std::nullopt,
                                std::optional<int> shadowOpacity = std::nullopt,
                                std::optional<COLORREF> glowColour = std::nullopt,
                                std::optional<int> glowWidth = std::nullopt,
                                std::optional<int> glowOpacity = std::nullopt);
    // Decodes a picture held in memory and draws it scaled into (x, y, width, height), a width or
    // height of 0 or less keeping the picture's own. On failure the reason is in LastError().
    bool DrawPictureBytes(const std::vector<std::uint8_t>& bytes, int x, int y, int width = 0,
                          int height = 0);
    // Writes the canvas's picture to a file, in the format of the code or, for 0, of the path's
    // extension. Returns the GDI+ status: 0 when the file was written. A failed save leaves no
    // file behind unless one of that name was there before.
    gdip::Status SaveToFile(const std::string& path, int formatCode = 0);
    // The encoded picture (BMP unless a code is supplied) into `bytes`, replacing what it held;
    // empty when it could not be encoded.
    void SaveToBytesInto(std::vector<std::uint8_t>& bytes,
                         std::optional<int> formatCode = std::nullopt);
    std::vector<std::uint8_t> SaveToBytes(std::optional<int> formatCode = std::nullopt);
    // A GDI DC on the graphics context's surface, obtained once and held until Release. While it
    // is held, GDI+ drawing on the canvas is refused.
    HDC GetDC();
    gdip::GpGraphics* Graphics() const { return graphics_.Handle(); }
    gdip::GpImage* Image() const { return image_.Handle(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Copies from the canvas's GDI DC at (sourceX, sourceY) to the target DC at (x, y); a width or
    // height not supplied is the canvas's.
    void BlitToDc(HDC targetDc, int x, int y, std::optional<int> width = std::nullopt,
                  std::optional<int> height = std::nullopt, int sourceX = 0, int sourceY = 0);
    // Copies the whole canvas from its GDI DC to the window's client area at (0, 0).
    void BlitToWindow(HWND window);
    // Serves the window's paint request: a DC canvas copies itself whole to (0, 0); a bitmap
    // canvas draws nothing. The paint cycle is completed either way.
    void PaintWindow(HWND window);

    // The message of the last failure of DrawPictureBytes.
    const std::string& LastError() const { return lastError_; }

  private:
    bool AttachGraphicsToImage();
    void Fill(COLORREF colour);

    GdipImage image_;
    GdipGraphics graphics_;
    OwnedDc memoryDc_;
    GdiBitmap dcBitmap_;
    ObjectSelection savedBitmap_;  // dcBitmap_ selected into memoryDc_
    HDC graphicsDc_ = nullptr;     // from graphics_, handed back on Release
    GlobalBuffer sourceBytes_;     // the bytes a LoadBytes picture may still read
    int width_ = 0;
    int height_ = 0;
    std::string lastError_;
};

// A picture file loaded with GDI+; empty when it could not be loaded. The caller owns it.
GdipImage LoadPictureFile(const std::string& path);

// The picture's width and height, truncated toward zero, into each one requested; both 0 when
// they cannot be read.
void PictureSize(gdip::GpImage* image, int* width = nullptr, int* height = nullptr);

// Frees a picture (nothing when it is empty).
void DisposePicture(GdipImage& image);
