#include "imaging/canvas.h"

#include "imaging/conversions.h"
#include "imaging/gdip_brush.h"
#include "imaging/gdiplus_session.h"
#include "imaging/orientation_rules.h"

#include <vector>

namespace {

const gdip::Api& Gdip() { return gdip::Table(); }

// A dimension truncated toward zero; 0 for one no int can hold.
int Truncated(float dimension) {
    if (!(dimension > -2147483648.0f && dimension < 2147483648.0f)) return 0;
    return static_cast<int>(dimension);
}

// The image's size truncated toward zero; 0 × 0 when it cannot be read.
void ReadSize(gdip::GpImage* image, int& width, int& height) {
    float w = 0, h = 0;
    Gdip().GdipGetImageDimension(image, &w, &h);
    width = Truncated(w);
    height = Truncated(h);
}

// The picture's EXIF orientation, or 0 when it has none or it cannot be read.
int ReadExifOrientation(gdip::GpImage* image) {
    UINT size = 0;
    if (Gdip().GdipGetPropertyItemSize(image, kExifOrientationTag, &size) != gdip::kOk) return 0;
    if (size < sizeof(gdip::PropertyItem) + sizeof(std::uint16_t) || size > 4096) return 0;
    std::vector<std::uint64_t> storage((size + 7) / 8);  // aligned for the item header
    auto* item = reinterpret_cast<gdip::PropertyItem*>(storage.data());
    if (Gdip().GdipGetPropertyItem(image, kExifOrientationTag, size, item) != gdip::kOk) return 0;
    constexpr WORD kTypeShort = 3;
    if (item->type != kTypeShort || item->length < sizeof(std::uint16_t) || item->value == nullptr)
        return 0;
    std::uint16_t value = 0;
    memcpy(&value, item->value, sizeof value);
    return value;
}

// The EXIF orientation read from the file's own first bytes, for decoders that do not report
// the tag (the JPEG decoder under Wine reports none).
int ReadExifOrientationFromFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    std::string head(kExifSearchBytes, '\0');
    DWORD read = 0;
    const BOOL ok = ReadFile(file, &head[0], static_cast<DWORD>(head.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok) return 0;
    head.resize(read);
    return ExifOrientationOfJpeg(head);
}

// Turns a decoded photo upright by its EXIF orientation; a picture without the tag, with
// orientation 1, or whose tag cannot be read stays as decoded.
void ApplyExifOrientation(gdip::GpImage* image, const std::string& path) {
    int orientation = ReadExifOrientation(image);
    if (orientation == 0) orientation = ReadExifOrientationFromFile(path);
    // A RotateFlipType of 4..7 means the rotation of (type & 3) followed by a horizontal flip.
    // The two steps are made one at a time: Wine's GDI+ turns the combined mirrored quarter
    // turns (5 and 7) the wrong way, while each step on its own is the same everywhere.
    const int rotateFlip = RotateFlipForOrientation(orientation);
    const int rotation = rotateFlip & 3;
    const bool flipX = (rotateFlip & 4) != 0;
    constexpr int kRotateNoneFlipX = 4;
    if (rotation != 0) Gdip().GdipImageRotateFlip(image, rotation);
    if (flipX) Gdip().GdipImageRotateFlip(image, kRotateNoneFlipX);
}

}  // namespace

Canvas::~Canvas() { Release(); }

bool Canvas::CreateBlank(int width, int height, std::optional<COLORREF> fillColour,
                         std::optional<gdip::PixelFormat> pixelFormat) {
    EnsureCanvasGdiplus();
    Release();
    width_ = width;
    height_ = height;
    gdip::GpImage* bitmap = nullptr;
    Gdip().GdipCreateBitmapFromScan0(
        width, height, 0, pixelFormat.value_or(gdip::kPixelFormat32bppARGB), nullptr, &bitmap);
    image_.Attach(bitmap);
    if (!image_) return false;
    if (!AttachGraphicsToImage()) return false;
    if (fillColour) Fill(*fillColour);
    return true;
}

bool Canvas::LoadFile(const std::string& path) {
    Release();
    EnsureCanvasGdiplus();
    const WideText widePath = ToWideText(path);
    gdip::GpImage* picture = nullptr;
    Gdip().GdipLoadImageFromFile(widePath.data(), &picture);
    image_.Attach(picture);
    if (!image_) return false;
    ReadSize(image_.Handle(), width_, height_);
    return AttachGraphicsToImage();
}

bool Canvas::LoadBytes(const std::vector<std::uint8_t>& bytes) {
    Release();
    EnsureCanvasGdiplus();
    // The decoded picture may read its stream while it lives: the buffer stays with the canvas
    // until Release has disposed of the picture.
    IStream* stream = sourceBytes_.Open(bytes);
    gdip::GpImage* picture = nullptr;
    Gdip().GdipLoadImageFromStream(stream, &picture);
    image_.Attach(picture);
    if (!image_) {
        sourceBytes_.Free();
        return false;
    }
    ReadSize(image_.Handle(), width_, height_);
    return AttachGraphicsToImage();
}

bool Canvas::CreateForDc(int width, int height, std::optional<COLORREF> fillColour,
                         HDC referenceDc) {
    EnsureCanvasGdiplus();
    Release();
    width_ = width;
    height_ = height;
    if (referenceDc != nullptr) {
        memoryDc_.Reset(CreateCompatibleDC(referenceDc));
        dcBitmap_.Reset(CreateCompatibleBitmap(referenceDc, width, height));
    } else {
        WindowDc screen(nullptr);
        memoryDc_.Reset(CreateCompatibleDC(screen.Get()));
        dcBitmap_.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
    }
    savedBitmap_.Select(memoryDc_.Get(), dcBitmap_.Get());
    gdip::GpGraphics* graphics = nullptr;
    Gdip().GdipCreateFromHDC(memoryDc_.Get(), &graphics);
    graphics_.Attach(graphics);
    gdip::GpImage* bitmap = nullptr;
    Gdip().GdipCreateBitmapFromGraphics(width, height, graphics_.Handle(), &bitmap);
    image_.Attach(bitmap);
    if (fillColour) Fill(*fillColour);
    return true;
}

void Canvas::Release() {
    // The DC taken from the graphics context goes back before the context is deleted, and the
    // context drawing on the memory DC goes before the DC.
    if (graphicsDc_ != nullptr) {
        Gdip().GdipReleaseDC(graphics_.Handle(), graphicsDc_);
        graphicsDc_ = nullptr;
    }
    graphics_.Delete();
    image_.Delete();
    sourceBytes_.Free();
    savedBitmap_.Restore();
    memoryDc_.Reset();
    dcBitmap_.Reset();
}

bool Canvas::DrawImage(gdip::GpImage* image, int x, int y, std::optional<int> width,
                       std::optional<int> height) {
    if (!width && !height) {
        Gdip().GdipDrawImage(graphics_.Handle(), image, static_cast<float>(x),
                             static_cast<float>(y));
        return true;
    }
    float imageWidth = 0, imageHeight = 0;
    if (Gdip().GdipGetImageDimension(image, &imageWidth, &imageHeight) != gdip::kOk) return false;
    const float drawnWidth = width && *width > 0 ? static_cast<float>(*width) : imageWidth;
    const float drawnHeight = height && *height > 0 ? static_cast<float>(*height) : imageHeight;
    Gdip().GdipDrawImageRect(graphics_.Handle(), image, static_cast<float>(x),
                             static_cast<float>(y), drawnWidth, drawnHeight);
    return true;
}

bool Canvas::DrawImagePart(gdip::GpImage* image, float x, float y, float sourceX, float sourceY,
                           float sourceWidth, float sourceHeight, int sourceUnit) {
    return Gdip().GdipDrawImagePointRect(graphics_.Handle(), image, x, y, sourceX, sourceY,
                                         sourceWidth, sourceHeight, sourceUnit) == gdip::kOk;
}

bool Canvas::DrawPictureBytes(const std::vector<std::uint8_t>& bytes, int x, int y, int width,
                              int height) {
    // Declared before the picture, so the picture is disposed of before its bytes are freed.
    GlobalBuffer buffer;
    IStream* stream = buffer.Open(bytes);
    if (stream == nullptr) {
        lastError_ = "画图片:创建字节流失败";
        return false;
    }
    GdipImage picture;
    gdip::GpImage* decoded = nullptr;
    const gdip::Status loaded = Gdip().GdipLoadImageFromStream(stream, &decoded);
    picture.Attach(decoded);
    if (loaded != gdip::kOk) {
        lastError_ = "画图片:载入图片失败";
        return false;
    }
    float pictureWidth = 0, pictureHeight = 0;
    if (Gdip().GdipGetImageDimension(picture.Handle(), &pictureWidth, &pictureHeight) !=
        gdip::kOk) {
        lastError_ = "画图片:取图片尺寸失败";
        return false;
    }
    const float drawnWidth = width > 0 ? static_cast<float>(width) : pictureWidth;
    const float drawnHeight = height > 0 ? static_cast<float>(height) : pictureHeight;
    if (Gdip().GdipDrawImageRect(graphics_.Handle(), picture.Handle(), static_cast<float>(x),
                                 static_cast<float>(y), drawnWidth, drawnHeight) != gdip::kOk) {
        lastError_ = "画图片:画出图片失败";
        return false;
    }
    return true;
}

HDC Canvas::GetDC() {
    if (graphicsDc_ == nullptr) {
        HDC dc = nullptr;
        if (Gdip().GdipGetDC(graphics_.Handle(), &dc) == gdip::kOk) graphicsDc_ = dc;
    }
    return graphicsDc_;
}

void Canvas::BlitToDc(HDC targetDc, int x, int y, std::optional<int> width,
                      std::optional<int> height, int sourceX, int sourceY) {
    HDC source = GetDC();
    if (source == nullptr || targetDc == nullptr) return;
    BitBlt(targetDc, x, y, width.value_or(width_), height.value_or(height_), source, sourceX,
           sourceY, SRCCOPY);
}

void Canvas::BlitToWindow(HWND window) {
    HDC source = GetDC();
    WindowDc target(window);
    if (source == nullptr || target.Get() == nullptr) return;
    BitBlt(target.Get(), 0, 0, width_, height_, source, 0, 0, SRCCOPY);
}

void Canvas::PaintWindow(HWND window) {
    PaintCycle paint(window);
    if (memoryDc_.Get() != nullptr && paint.Dc() != nullptr) {
        BitBlt(paint.Dc(), 0, 0, width_, height_, memoryDc_.Get(), 0, 0, SRCCOPY);
    }
}

bool Canvas::AttachGraphicsToImage() {
    gdip::GpGraphics* graphics = nullptr;
    Gdip().GdipGetImageGraphicsContext(image_.Handle(), &graphics);
    graphics_.Attach(graphics);
    if (graphics_) return true;
    image_.Delete();
    sourceBytes_.Free();
    return false;
}

void Canvas::Fill(COLORREF colour) {
    GdipBrush brush;
    brush.CreateSolidFill(ToArgb(colour));
    Gdip().GdipFillRectangle(graphics_.Handle(), brush.Handle(), 0.0f, 0.0f,
                             static_cast<float>(width_), static_cast<float>(height_));
}

GdipImage LoadPictureFile(const std::string& path) {
    const WideText widePath = ToWideText(path);
    gdip::GpImage* picture = nullptr;
    const gdip::Status status = Gdip().GdipLoadImageFromFile(widePath.data(), &picture);
    GdipImage image(picture);
    if (status != gdip::kOk) image.Delete();
    if (image) ApplyExifOrientation(image.Handle(), path);
    return image;
}

void PictureSize(gdip::GpImage* image, int* width, int* height) {
    int w = 0, h = 0;
    ReadSize(image, w, h);
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
}

void DisposePicture(GdipImage& image) { image.Delete(); }
