// Helpers shared by the imaging tests: GDI+ start-up, pixel reading, solid pictures, a scratch
// folder that is removed again.
#pragma once

#include <gtest/gtest.h>

#include "imaging/canvas.h"
#include "imaging/gdiplus_session.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace imaging_test {

inline int Alpha(gdip::ARGB c) { return static_cast<int>(c >> 24); }
inline int Red(gdip::ARGB c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int Green(gdip::ARGB c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Blue(gdip::ARGB c) { return static_cast<int>(c & 0xFF); }

// The largest difference of one channel (alpha included).
inline int ChannelDistance(gdip::ARGB a, gdip::ARGB b) {
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                         static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}

inline gdip::ARGB PixelAt(gdip::GpImage* image, int x, int y) {
    gdip::ARGB colour = 0;
    EXPECT_EQ(gdip::kOk, gdip::Table().GdipBitmapGetPixel(image, x, y, &colour))
        << "pixel (" << x << ", " << y << ")";
    return colour;
}

// Every pixel of a bitmap, row by row, as 32-bit ARGB.
inline std::vector<gdip::ARGB> Pixels(gdip::GpImage* image, int& width, int& height) {
    PictureSize(image, &width, &height);
    std::vector<gdip::ARGB> pixels(static_cast<std::size_t>(width) * height);
    gdip::Rect rect = {0, 0, width, height};
    gdip::BitmapData data{};
    if (gdip::Table().GdipBitmapLockBits(image, &rect, gdip::kImageLockModeRead,
                                         gdip::kPixelFormat32bppARGB, &data) != gdip::kOk) {
        ADD_FAILURE() << "the bitmap's pixels cannot be read";
        return {};
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const gdip::ARGB*>(
            static_cast<const BYTE*>(data.scan0) + static_cast<std::ptrdiff_t>(y) * data.stride);
        std::copy(row, row + width, pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    gdip::Table().GdipBitmapUnlockBits(image, &data);
    return pixels;
}

// A bitmap of one colour.
inline GdipImage SolidPicture(int width, int height, gdip::ARGB colour) {
    gdip::GpImage* bitmap = nullptr;
    gdip::Table().GdipCreateBitmapFromScan0(width, height, 0, gdip::kPixelFormat32bppARGB, nullptr,
                                            &bitmap);
    GdipImage image(bitmap);
    gdip::GpGraphics* graphics = nullptr;
    gdip::Table().GdipGetImageGraphicsContext(bitmap, &graphics);
    GdipGraphics owner(graphics);
    gdip::Table().GdipGraphicsClear(graphics, colour);
    return image;
}

// A fresh folder under the temporary folder, removed with its files at the end of the test.
class ScratchFolder {
  public:
    ScratchFolder() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        for (unsigned n = GetTickCount(); path_.empty(); ++n) {
            std::string candidate = std::string(base) + "imaging-test-" + std::to_string(n);
            if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate + "\\";
        }
    }
    ~ScratchFolder() {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((path_ + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder with its trailing backslash.
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// Starts the canvas layer's GDI+ once for the whole test program.
class GdiplusTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(EnsureCanvasGdiplus()); }
};

}  // namespace imaging_test

namespace imaging_test {

// A picture like a photograph: smooth colour waves over two gradients, with grain.
inline GdipImage PhotoLikePicture(int width, int height) {
    gdip::GpImage* bitmap = nullptr;
    gdip::Table().GdipCreateBitmapFromScan0(width, height, 0, gdip::kPixelFormat32bppARGB, nullptr,
                                            &bitmap);
    GdipImage image(bitmap);
    gdip::Rect rect = {0, 0, width, height};
    gdip::BitmapData data{};
    if (gdip::Table().GdipBitmapLockBits(bitmap, &rect, gdip::kImageLockModeWrite,
                                         gdip::kPixelFormat32bppARGB, &data) != gdip::kOk) {
        ADD_FAILURE() << "cannot write the picture";
        return image;
    }
    unsigned seed = 12345;
    auto grain = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % 9) - 4;
    };
    auto byte = [](double v) {
        return static_cast<gdip::ARGB>(std::clamp(static_cast<int>(v), 0, 255));
    };
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<gdip::ARGB*>(static_cast<BYTE*>(data.scan0) +
                                                  static_cast<std::ptrdiff_t>(y) * data.stride);
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            const double r = 255 * u * 0.7 + 60 * std::sin(v * 9) + 40 + grain();
            const double g = 200 * v + 40 * std::sin(u * 13 + v * 5) + 20 + grain();
            const double b = 120 + 100 * std::sin((u - v) * 7) + grain();
            row[x] = 0xFF000000u | byte(r) << 16 | byte(g) << 8 | byte(b);
        }
    }
    gdip::Table().GdipBitmapUnlockBits(bitmap, &data);
    return image;
}

// The first bytes of a file.
inline std::string FileStart(const std::string& path, std::size_t count) {
    std::string bytes(count, '\0');
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    DWORD read = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(count), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace imaging_test
