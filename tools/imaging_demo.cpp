// Writes one 640 × 480 canvas, a picture with a text that has a glow and a drop shadow, in each of
// the five output formats, into the folder named on the command line. Prints one line per file and
// ends with 1 when any file could not be written.
#include "imaging/canvas.h"
#include "imaging/conversions.h"
#include "imaging/gdi_text.h"
#include "imaging/gdip_brush.h"
#include "imaging/gdip_font.h"
#include "imaging/gdiplus_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 640, kHeight = 480;
const char kText[] = "榆雀图片\r\nImaging";
const char kFace[] = "宋体";
constexpr int kFontSize = 56;
constexpr int kOpacity = 204;

// A small picture of soft colour waves, drawn scaled up over the whole canvas.
GdipImage MakePicture(int width, int height) {
    gdip::GpImage* bitmap = nullptr;
    gdip::Table().GdipCreateBitmapFromScan0(width, height, 0, gdip::kPixelFormat32bppARGB, nullptr,
                                            &bitmap);
    GdipImage picture(bitmap);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            auto channel = [](double value) {
                return static_cast<gdip::ARGB>(std::clamp(static_cast<int>(value), 0, 255));
            };
            const gdip::ARGB r = channel(70 + 150 * u + 30 * std::sin(v * 8));
            const gdip::ARGB g = channel(90 + 120 * v + 30 * std::sin(u * 11));
            const gdip::ARGB b = channel(160 + 80 * std::sin((u + v) * 5));
            gdip::Table().GdipBitmapSetPixel(bitmap, x, y, 0xFF000000u | r << 16 | g << 8 | b);
        }
    }
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: imaging_demo <output folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    if (!EnsureCanvasGdiplus()) {
        std::fprintf(stderr, "GDI+ could not be started\n");
        return 1;
    }

    int failures = 0;
    {
        Canvas canvas;
        if (!canvas.CreateBlank(kWidth, kHeight)) {
            std::fprintf(stderr, "no canvas\n");
            return 1;
        }
        GdipImage picture = MakePicture(160, 120);
        canvas.DrawImage(picture.Handle(), 0, 0, kWidth, kHeight);

        GdipFont font;
        font.Create(kFace, static_cast<float>(kFontSize), 1, gdip::kUnitPixel);
        GdiFont gdiFont = CreateGdiFont(kFontSize, 0, 0, 0, true, false, false, false, kFace);
        std::int32_t textWidth = 0, textHeight = 0;
        MeasureText(kText, textWidth, textHeight, gdiFont.Get());
        GdipBrush textBrush;
        textBrush.CreateSolidFill(ToArgb(RGB(255, 255, 255), kOpacity));
        const float x = static_cast<float>((kWidth - textWidth) / 2);
        const float y = static_cast<float>((kHeight - textHeight) / 2);
        const gdip::Status drawn = canvas.DrawEffectText(
            kText, x, y, font, textBrush, RGB(0, 0, 0), 4, kOpacity, RGB(255, 160, 0), 2, kOpacity);
        if (drawn != gdip::kOk) {
            std::fprintf(stderr, "the text was not drawn: status %d\n", drawn);
            ++failures;
        }

        for (const char* extension : {"bmp", "jpg", "gif", "tiff", "png"}) {
            const std::string path = folder + "demo." + extension;
            const gdip::Status status = canvas.SaveToFile(path);
            std::printf("%s: %s\n", path.c_str(), status == gdip::kOk ? "written" : "FAILED");
            if (status != gdip::kOk) ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
