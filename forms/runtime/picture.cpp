#include "forms/runtime/picture.h"

#include <objidl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "forms/runtime/form_rules.h"
#include "forms/runtime/runtime_internal.h"
#include "imaging/gdiplus_api.h"

namespace forms::detail {
namespace {

// Pictures beyond these sizes are refused rather than decoded into a huge bitmap.
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 32LL * 1024 * 1024;

constexpr PROPID kPropertyTagFrameDelay = 0x5100;
// FrameDimensionTime: the frames of an animated GIF.
const GUID kFrameDimensionTime = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

int g_liveImages = 0;

gdip::GpImage* LoadFromStream(IStream* stream) {
    gdip::GpImage* image = nullptr;
    if (gdip::Table().GdipLoadImageFromStream(stream, &image) != gdip::kOk) return nullptr;
    ++g_liveImages;
    return image;
}

void DisposeImage(gdip::GpImage*& image) {
    if (image == nullptr) return;
    gdip::Table().GdipDisposeImage(image);
    --g_liveImages;
    image = nullptr;
}

IStream* StreamOfCopy(const unsigned char* data, std::size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) return nullptr;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, data, size);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

int TimeFrameCount(gdip::GpImage* image) {
    const gdip::Api& api = gdip::Table();
    UINT dimensions = 0;
    if (api.GdipImageGetFrameDimensionsCount(image, &dimensions) != gdip::kOk || dimensions == 0)
        return 1;
    std::vector<GUID> ids(dimensions);
    if (api.GdipImageGetFrameDimensionsList(image, ids.data(), dimensions) != gdip::kOk) return 1;
    if (std::find(ids.begin(), ids.end(), kFrameDimensionTime) == ids.end()) return 1;
    UINT frames = 0;
    if (api.GdipImageGetFrameCount(image, &kFrameDimensionTime, &frames) != gdip::kOk) return 1;
    return std::max<int>(1, static_cast<int>(std::min<UINT>(frames, 10000)));
}

std::vector<int> FrameDelays(gdip::GpImage* image, int frames) {
    std::vector<int> delays(static_cast<std::size_t>(frames), FrameDelayMilliseconds(0));
    const gdip::Api& api = gdip::Table();
    UINT size = 0;
    if (api.GdipGetPropertyItemSize(image, kPropertyTagFrameDelay, &size) != gdip::kOk ||
        size < sizeof(gdip::PropertyItem)) {
        return delays;
    }
    std::vector<std::uint64_t> storage((size + 7) / 8);
    auto* item = reinterpret_cast<gdip::PropertyItem*>(storage.data());
    if (api.GdipGetPropertyItem(image, kPropertyTagFrameDelay, size, item) != gdip::kOk ||
        item->value == nullptr) {
        return delays;
    }
    std::size_t stored = std::min<std::size_t>(item->length / 4, delays.size());
    const auto* values = static_cast<const std::int32_t*>(item->value);
    for (std::size_t i = 0; i < stored; ++i) delays[i] = FrameDelayMilliseconds(values[i]);
    return delays;
}

// A GDI+ bitmap of the picture's current frame that LockBits accepts: the image itself when it is
// a bitmap, otherwise (a metafile) a copy drawn onto a new bitmap.
gdip::GpImage* LockableCopy(gdip::GpImage* image, int width, int height) {
    const gdip::Api& api = gdip::Table();
    gdip::GpImage* copy = nullptr;
    if (api.GdipCreateBitmapFromScan0(width, height, 0, gdip::kPixelFormat32bppARGB, nullptr,
                                      &copy) != gdip::kOk) {
        return nullptr;
    }
    ++g_liveImages;
    gdip::GpGraphics* graphics = nullptr;
    if (api.GdipGetImageGraphicsContext(copy, &graphics) == gdip::kOk) {
        api.GdipGraphicsClear(graphics, 0);
        api.GdipDrawImageRect(graphics, image, 0, 0, static_cast<float>(width),
                              static_cast<float>(height));
        api.GdipDeleteGraphics(graphics);
    }
    return copy;
}

// Copies 32-bit ARGB rows into a top-down DIB, premultiplying by alpha as AlphaBlend wants.
bool CopyPremultiplied(const gdip::BitmapData& data, void* bits, int width, int height,
                       bool* translucent) {
    auto* target = static_cast<std::uint8_t*>(bits);
    *translucent = false;
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(data.scan0) +
                          static_cast<std::ptrdiff_t>(y) * data.stride;
        std::uint8_t* out = target + static_cast<std::ptrdiff_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + x * 4;
            unsigned a = p[3];
            if (a != 255) *translucent = true;
            out[x * 4 + 0] = static_cast<std::uint8_t>(p[0] * a / 255);
            out[x * 4 + 1] = static_cast<std::uint8_t>(p[1] * a / 255);
            out[x * 4 + 2] = static_cast<std::uint8_t>(p[2] * a / 255);
            out[x * 4 + 3] = static_cast<std::uint8_t>(a);
        }
    }
    return true;
}

}  // namespace

int LivePictureImages() { return g_liveImages; }

std::unique_ptr<Picture> Picture::Decode(const unsigned char* data, std::size_t size,
                                         bool animate) {
    if (data == nullptr || size == 0 || !RuntimeGdiplusRunning()) return nullptr;
    std::unique_ptr<Picture> picture(new Picture());
    picture->stream_ = StreamOfCopy(data, size);
    if (picture->stream_ == nullptr) return nullptr;
    picture->image_ = LoadFromStream(picture->stream_);
    if (picture->image_ == nullptr) return nullptr;

    const gdip::Api& api = gdip::Table();
    UINT width = 0, height = 0;
    api.GdipGetImageWidth(picture->image_, &width);
    api.GdipGetImageHeight(picture->image_, &height);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<long long>(width) * height > kMaxPixels) {
        return nullptr;
    }
    picture->width_ = static_cast<int>(width);
    picture->height_ = static_cast<int>(height);
    int frames = TimeFrameCount(picture->image_);
    picture->delays_ = FrameDelays(picture->image_, frames);
    if (frames > 1) api.GdipImageSelectActiveFrame(picture->image_, &kFrameDimensionTime, 0);
    if (!picture->RenderCurrentFrame()) return nullptr;
    if (!animate || frames <= 1) picture->ReleaseFrames();
    return picture;
}

Picture::~Picture() { ReleaseFrames(); }

void Picture::ReleaseFrames() {
    DisposeImage(image_);
    if (stream_ != nullptr) {
        stream_->Release();
        stream_ = nullptr;
    }
}

int Picture::FrameDelay(int frame) const {
    if (frame < 0 || frame >= FrameCount()) return FrameDelayMilliseconds(0);
    return delays_[static_cast<std::size_t>(frame)];
}

bool Picture::ShowFrame(int frame) {
    if (image_ == nullptr || frame < 0 || frame >= FrameCount() || !RuntimeGdiplusRunning())
        return false;
    if (gdip::Table().GdipImageSelectActiveFrame(image_, &kFrameDimensionTime,
                                                 static_cast<UINT>(frame)) != gdip::kOk) {
        return false;
    }
    frame_ = frame;
    return RenderCurrentFrame();
}

bool Picture::RenderCurrentFrame() {
    const gdip::Api& api = gdip::Table();
    gdip::GpImage* source = image_;
    gdip::GpImage* copy = nullptr;
    gdip::Rect whole{0, 0, width_, height_};
    gdip::BitmapData data{};
    if (api.GdipBitmapLockBits(source, &whole, gdip::kImageLockModeRead,
                               gdip::kPixelFormat32bppARGB, &data) != gdip::kOk) {
        copy = LockableCopy(image_, width_, height_);
        if (copy == nullptr) return false;
        source = copy;
        if (api.GdipBitmapLockBits(source, &whole, gdip::kImageLockModeRead,
                                   gdip::kPixelFormat32bppARGB, &data) != gdip::kOk) {
            DisposeImage(copy);
            return false;
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool made = bitmap != nullptr && bits != nullptr;
    if (made) {
        GdiFlush();
        CopyPremultiplied(data, bits, width_, height_, &translucent_);
        bitmap_.Reset(bitmap);
    }
    api.GdipBitmapUnlockBits(source, &data);
    DisposeImage(copy);
    return made;
}

void Picture::Draw(HDC dc, int x, int y, BYTE opacity) const {
    if (!bitmap_ || opacity == 0) return;
    OwnedDc source(CreateCompatibleDC(dc));
    ObjectSelection selected(source.Get(), bitmap_.Get());
    if (!translucent_ && opacity == 255) {
        BitBlt(dc, x, y, width_, height_, source.Get(), 0, 0, SRCCOPY);
        return;
    }
    BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, width_, height_, source.Get(), 0, 0, width_, height_, blend);
}

}  // namespace forms::detail
