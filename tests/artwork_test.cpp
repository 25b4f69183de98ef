// The embedded artwork: every picture the windows ask for by name is there, decodes with GDI+
// at its exact size, the animations play (several distinct frames, looping), the buttons blend
// into the background they sit on, and the icon and the font window's photograph are usable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/gdiplus_api.h"

namespace {

std::vector<unsigned char> Resource(const char* name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + SizeofResource(module, found));
}

class GdiplusSession {
  public:
    GdiplusSession() {
        gdip::StartupInput input;
        if (gdip::Available()) gdip::Table().GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() {
        if (token_) gdip::Table().GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Started() const { return token_ != 0; }

  private:
    ULONG_PTR token_ = 0;
};

// A picture decoded from bytes; owns the GDI+ image (and the stream it reads from).
class Picture {
  public:
    explicit Picture(const std::vector<unsigned char>& bytes) {
        if (bytes.empty()) return;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!memory) return;
        memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream_))) {
            GlobalFree(memory);
            return;
        }
        if (gdip::Table().GdipLoadImageFromStream(stream_, &image_) != gdip::kOk) image_ = nullptr;
    }
    ~Picture() {
        if (image_) gdip::Table().GdipDisposeImage(image_);
        if (stream_) stream_->Release();
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool Loaded() const { return image_ != nullptr; }
    gdip::GpImage* Image() const { return image_; }
    UINT Width() const {
        UINT w = 0;
        gdip::Table().GdipGetImageWidth(image_, &w);
        return w;
    }
    UINT Height() const {
        UINT h = 0;
        gdip::Table().GdipGetImageHeight(image_, &h);
        return h;
    }
    gdip::ARGB Pixel(int x, int y) const {
        gdip::ARGB colour = 0;
        gdip::Table().GdipBitmapGetPixel(image_, x, y, &colour);
        return colour;
    }
    UINT FrameCount() const {
        UINT count = 0;
        gdip::Table().GdipImageGetFrameCount(image_, &kFrameDimensionTime, &count);
        return count;
    }
    bool SelectFrame(UINT index) const {
        return gdip::Table().GdipImageSelectActiveFrame(image_, &kFrameDimensionTime, index) ==
               gdip::kOk;
    }
    // The raw bytes of a property item (empty when the picture has none).
    std::vector<unsigned char> Property(PROPID id) const {
        UINT size = 0;
        if (gdip::Table().GdipGetPropertyItemSize(image_, id, &size) != gdip::kOk || size == 0)
            return {};
        std::vector<unsigned char> buffer(size);
        auto* item = reinterpret_cast<gdip::PropertyItem*>(buffer.data());
        if (gdip::Table().GdipGetPropertyItem(image_, id, size, item) != gdip::kOk) return {};
        const auto* value = static_cast<const unsigned char*>(item->value);
        return std::vector<unsigned char>(value, value + item->length);
    }

    static constexpr GUID kFrameDimensionTime = {
        0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

  private:
    IStream* stream_ = nullptr;
    gdip::GpImage* image_ = nullptr;
};

int Channel(gdip::ARGB colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// Largest difference of the colour channels of two pixels.
int ColourDistance(gdip::ARGB a, gdip::ARGB b) {
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
    return worst;
}

// How many pixels of a sampling grid differ noticeably between two same-sized pictures.
int DifferingSamples(const Picture& a, const Picture& b, int step) {
    int differing = 0;
    for (UINT y = 0; y < a.Height(); y += step)
        for (UINT x = 0; x < a.Width(); x += step)
            if (ColourDistance(a.Pixel(x, y), b.Pixel(x, y)) > 8) ++differing;
    return differing;
}

class Artwork : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(session_.Started()); }
    GdiplusSession session_;
};

struct Placed {
    const char* name;  // resource base name
    int x, y;          // where it sits on the main window's background
    UINT width, height;
};

// Every picture button of the main window, with its place and size.
const Placed kButtons[] = {
    {"btn_add", 8, 410, 127, 36},     {"btn_delete", 140, 410, 127, 36},
    {"btn_clear", 272, 410, 127, 36}, {"btn_open_folder", 680, 424, 60, 25},
    {"btn_font", 574, 462, 60, 25},   {"btn_browse", 574, 489, 60, 25},
    {"btn_start", 648, 462, 75, 75},  {"btn_set_folder", 658, 427, 17, 17},
    {"btn_minimize", 687, 4, 27, 19}, {"btn_close", 713, 4, 27, 19},
};
const char* const kStates[] = {"normal", "hover", "pressed", "disabled"};

TEST_F(Artwork, EveryPictureDecodesAtItsSize) {
    struct Case {
        std::string name;
        UINT width, height;
    };
    std::vector<Case> cases = {
        {"main_background", 750, 560},      {"mask_background", 730, 100},
        {"size_label_background", 184, 26}, {"preview_placeholder", 255, 128},
        {"progress_strip", 251, 18},        {"font_preview_background", 340, 160},
    };
    for (const Placed& button : kButtons)
        for (const char* state : kStates)
            cases.push_back({std::string(button.name) + "_" + state, button.width, button.height});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture picture(Resource(c.name.c_str()));
        ASSERT_TRUE(picture.Loaded());
        EXPECT_EQ(c.width, picture.Width());
        EXPECT_EQ(c.height, picture.Height());
    }
}

TEST_F(Artwork, AnimationsHaveDistinctTimedFramesAndLoopForever) {
    constexpr PROPID kFrameDelay = 0x5100;
    constexpr PROPID kLoopCount = 0x5101;
    for (const char* name : {"preview_placeholder", "progress_strip"}) {
        SCOPED_TRACE(name);
        Picture first(Resource(name));
        Picture later(Resource(name));
        ASSERT_TRUE(first.Loaded());
        const UINT frames = first.FrameCount();
        EXPECT_GE(frames, 8u);
        EXPECT_LE(frames, 16u);

        std::vector<unsigned char> delays = first.Property(kFrameDelay);
        ASSERT_EQ(frames * 4u, delays.size());
        for (UINT i = 0; i < frames; ++i) {
            const unsigned delay = delays[i * 4] | delays[i * 4 + 1] << 8;
            EXPECT_GT(delay, 0u) << "frame " << i;
        }
        std::vector<unsigned char> loop = first.Property(kLoopCount);
        ASSERT_EQ(2u, loop.size());
        EXPECT_EQ(0, loop[0] | loop[1] << 8) << "0 loops forever";

        // A frame from the middle of the loop shows something else than the first one.
        ASSERT_TRUE(first.SelectFrame(0));
        ASSERT_TRUE(later.SelectFrame(frames / 2));
        EXPECT_GT(DifferingSamples(first, later, 3), 10);
    }
}

TEST_F(Artwork, ButtonStatesDifferAndCornersBlendIntoTheBackground) {
    Picture background(Resource("main_background"));
    ASSERT_TRUE(background.Loaded());
    for (const Placed& button : kButtons) {
        const std::string base = button.name;
        Picture normal(Resource((base + "_normal").c_str()));
        ASSERT_TRUE(normal.Loaded()) << base;
        for (const char* state : {"hover", "pressed", "disabled"}) {
            SCOPED_TRACE(base + "_" + state);
            Picture other(Resource((base + "_" + state).c_str()));
            ASSERT_TRUE(other.Loaded());
            EXPECT_GT(DifferingSamples(normal, other, 1), 0);
        }
        // The runtime blits the pictures opaque: the outermost corner pixel must be the
        // background's own pixel there, or a lighter/darker square corner would show.
        SCOPED_TRACE(base + " corners");
        const int right = static_cast<int>(button.width) - 1;
        EXPECT_LE(ColourDistance(normal.Pixel(0, 0), background.Pixel(button.x, button.y)), 12);
        EXPECT_LE(
            ColourDistance(normal.Pixel(right, 0), background.Pixel(button.x + right, button.y)),
            12);
    }
}

TEST_F(Artwork, FontPreviewPhotoIsASmallBaselineJpegOfSkyOverGrass) {
    std::vector<unsigned char> bytes = Resource("font_preview_background");
    EXPECT_GE(bytes.size(), 8000u);
    EXPECT_LE(bytes.size(), 10000u);
    bool baseline = false, progressive = false;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] != 0xFF) continue;
        baseline |= bytes[i + 1] == 0xC0;
        progressive |= bytes[i + 1] == 0xC2;
    }
    EXPECT_TRUE(baseline);
    EXPECT_FALSE(progressive);

    Picture photo(bytes);
    ASSERT_TRUE(photo.Loaded());
    GUID format{};
    ASSERT_EQ(gdip::kOk, gdip::Table().GdipGetImageRawFormat(photo.Image(), &format));
    const GUID kJpeg = {
        0xb96b3cae, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    EXPECT_TRUE(IsEqualGUID(kJpeg, format));
    // Blue sky in the top right, green grass along the bottom.
    const gdip::ARGB sky = photo.Pixel(320, 8);
    EXPECT_GT(Channel(sky, 0), Channel(sky, 16) + 40) << std::hex << sky;
    for (int x : {20, 170, 320}) {
        const gdip::ARGB grass = photo.Pixel(x, 150);
        SCOPED_TRACE(x);
        EXPECT_GT(Channel(grass, 8), Channel(grass, 0) + 30) << std::hex << grass;
        EXPECT_GT(Channel(grass, 8), Channel(grass, 16)) << std::hex << grass;
    }
}

TEST(ProgramIcon, LoadsAtEachDesignedSize) {
    for (int size : {16, 24, 32, 48, 64}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0));
        ASSERT_NE(nullptr, icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        EXPECT_EQ(size, bitmap.bmHeight);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

}  // namespace
