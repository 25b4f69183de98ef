#include "imaging/flatten.h"

#include <cstddef>

#include "imaging/flatten_rules.h"

gdip::Status FlattenOnto(gdip::GpImage* bitmap, std::uint32_t backgroundRgb) {
    const gdip::Api& api = gdip::Table();
    float width = 0, height = 0;
    gdip::Status status = api.GdipGetImageDimension(bitmap, &width, &height);
    if (status != gdip::kOk) return status;
    const gdip::Rect rect = {0, 0, static_cast<int>(width), static_cast<int>(height)};
    gdip::BitmapData data{};
    status =
        api.GdipBitmapLockBits(bitmap, &rect, gdip::kImageLockModeRead | gdip::kImageLockModeWrite,
                               gdip::kPixelFormat32bppARGB, &data);
    if (status != gdip::kOk) return status;
    for (UINT y = 0; y < data.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<BYTE*>(data.scan0) +
                                                     static_cast<std::ptrdiff_t>(y) * data.stride);
        for (UINT x = 0; x < data.width; ++x) row[x] = FlattenedPixel(row[x], backgroundRgb);
    }
    return api.GdipBitmapUnlockBits(bitmap, &data);
}
