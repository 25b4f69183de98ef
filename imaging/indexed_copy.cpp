#include "imaging/indexed_copy.h"

#include "imaging/palette_quantizer.h"

#include <algorithm>
#include <new>

namespace {

// The pixels of a whole bitmap locked in one format; unlocked on destruction.
class LockedBits {
  public:
    LockedBits(gdip::GpImage* bitmap, UINT width, UINT height, UINT mode, gdip::PixelFormat format)
        : bitmap_(bitmap) {
        const gdip::Rect rect = {0, 0, static_cast<int>(width), static_cast<int>(height)};
        status_ = gdip::Table().GdipBitmapLockBits(bitmap, &rect, mode, format, &data_);
    }
    ~LockedBits() {
        if (status_ == gdip::kOk) gdip::Table().GdipBitmapUnlockBits(bitmap_, &data_);
    }
    LockedBits(const LockedBits&) = delete;
    LockedBits& operator=(const LockedBits&) = delete;

    gdip::Status Status() const { return status_; }
    BYTE* Row(UINT y) const {
        return static_cast<BYTE*>(data_.scan0) + static_cast<std::ptrdiff_t>(y) * data_.stride;
    }
    const gdip::BitmapData& Data() const { return data_; }

  private:
    gdip::GpImage* bitmap_;
    gdip::BitmapData data_{};
    gdip::Status status_ = gdip::kGenericError;
};

gdip::Status SetPalette(gdip::GpImage* bitmap, const palette::Palette& chosen) {
    gdip::ColorPalette entries{};
    entries.flags = 0;
    entries.count = 256;  // unused entries stay black
    std::copy_n(chosen.colours.begin(), std::min<std::size_t>(chosen.colours.size(), 256),
                entries.entries);
    return gdip::Table().GdipSetImagePalette(bitmap, &entries);
}

gdip::Status FillIndexedCopy(gdip::GpImage* source, UINT width, UINT height, GdipImage& copy) {
    LockedBits pixels(source, width, height, gdip::kImageLockModeRead, gdip::kPixelFormat32bppARGB);
    if (pixels.Status() != gdip::kOk) return pixels.Status();
    const gdip::BitmapData& data = pixels.Data();
    if (data.stride % 4 != 0) return gdip::kGenericError;
    palette::PixelView view;
    view.pixels = static_cast<const std::uint32_t*>(data.scan0);
    view.width = static_cast<int>(width);
    view.height = static_cast<int>(height);
    view.stride = data.stride / 4;
    const palette::Palette chosen = palette::BuildPalette(view);

    GdipImage indexed;
    gdip::GpImage* bitmap = nullptr;
    gdip::Status status =
        gdip::Table().GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height),
                                                0, gdip::kPixelFormat8bppIndexed, nullptr, &bitmap);
    indexed.Attach(bitmap);
    if (status != gdip::kOk || !indexed) return status != gdip::kOk ? status : gdip::kGenericError;
    status = SetPalette(indexed.Handle(), chosen);
    if (status != gdip::kOk) return status;
    {
        LockedBits indices(indexed.Handle(), width, height, gdip::kImageLockModeWrite,
                           gdip::kPixelFormat8bppIndexed);
        if (indices.Status() != gdip::kOk) return indices.Status();
        palette::Ditherer ditherer(chosen, static_cast<int>(width));
        for (UINT y = 0; y < height; ++y) {
            ditherer.MapRow(reinterpret_cast<const std::uint32_t*>(pixels.Row(y)), indices.Row(y));
        }
    }
    copy = std::move(indexed);
    return gdip::kOk;
}

}  // namespace

gdip::Status MakeIndexedCopy(gdip::GpImage* source, GdipImage& copy) {
    copy.Delete();
    if (source == nullptr) return gdip::kInvalidParameter;
    UINT width = 0, height = 0;
    if (gdip::Table().GdipGetImageWidth(source, &width) != gdip::kOk ||
        gdip::Table().GdipGetImageHeight(source, &height) != gdip::kOk || width == 0 ||
        height == 0) {
        return gdip::kInvalidParameter;
    }
    try {
        return FillIndexedCopy(source, width, height, copy);
    } catch (const std::bad_alloc&) {
        copy.Delete();
        return gdip::kOutOfMemory;
    }
}
