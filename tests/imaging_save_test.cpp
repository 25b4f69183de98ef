// Saving a canvas: the format chosen by code or extension, the written files and bytes, the
// failures that leave nothing behind, and GIF pictures that keep their colours.
#include "imaging_test_support.h"

#include "imaging/image_format.h"

#include <string>

namespace {

using imaging_test::FileExists;
using imaging_test::FileStart;
using imaging_test::PixelAt;

struct FormatFacts {
    const char* name;
    unsigned long rawFormat;  // Data1 of the GDI+ file format identifier
    std::string signature;
};

const FormatFacts kBmp = {"BMP", 0xB96B3CAB, "BM"};
const FormatFacts kJpeg = {"JPEG", 0xB96B3CAE, "\xFF\xD8\xFF"};
const FormatFacts kGif = {"GIF", 0xB96B3CB0, "GIF8"};
const FormatFacts kTiff = {"TIFF", 0xB96B3CB1, ""};  // "II*\0" or "MM\0*"
const FormatFacts kPng = {"PNG", 0xB96B3CAF, "\x89PNG"};

bool SignatureMatches(const FormatFacts& format, const std::string& start) {
    if (format.rawFormat == kTiff.rawFormat) {
        return start.compare(0, 4, std::string("II*\0", 4)) == 0 ||
               start.compare(0, 4, std::string("MM\0*", 4)) == 0;
    }
    return start.compare(0, format.signature.size(), format.signature) == 0;
}

// Decodes a file and checks its format and size.
void ExpectPictureFile(const std::string& path, const FormatFacts& format, int width, int height) {
    EXPECT_TRUE(SignatureMatches(format, FileStart(path, 8))) << "signature of " << format.name;
    GdipImage picture = LoadPictureFile(path);
    ASSERT_TRUE(picture) << path << " does not decode";
    GUID raw = {};
    ASSERT_EQ(gdip::kOk, gdip::Table().GdipGetImageRawFormat(picture.Handle(), &raw));
    EXPECT_EQ(format.rawFormat, raw.Data1) << "decoded format, expected " << format.name;
    int decodedWidth = 0, decodedHeight = 0;
    PictureSize(picture.Handle(), &decodedWidth, &decodedHeight);
    EXPECT_EQ(width, decodedWidth);
    EXPECT_EQ(height, decodedHeight);
}

class SaveTest : public imaging_test::GdiplusTest {
  protected:
    void SetUp() override { ASSERT_TRUE(canvas_.CreateBlank(64, 48, RGB(200, 120, 40))); }

    Canvas canvas_;
    imaging_test::ScratchFolder folder_;
};

TEST_F(SaveTest, SaveToFileChoosesTheEncoderByCodeOrLowerCasedExtension) {
    struct Case {
        const char* file;
        int code;
        const FormatFacts& format;
    } cases[] = {
        {"a.bmp", 0, kBmp},      {"a.JPG", 0, kJpeg},    {"a.gif", 0, kGif},
        {"a.tiff", 0, kTiff},    {"a.png", 0, kPng},     {"a.tif", 0, kJpeg},
        {"a.jpeg", 0, kJpeg},    {"a.b.png", 0, kPng},   {"no extension", 0, kJpeg},
        {"code4.png", 4, kTiff}, {"code1.jpg", 1, kBmp}, {"图片.Png", 0, kPng},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ", code " + std::to_string(c.code));
        const std::string path = folder_.Path() + c.file;
        EXPECT_EQ(gdip::kOk, canvas_.SaveToFile(path, c.code));
        ExpectPictureFile(path, c.format, 64, 48);
    }
}

TEST_F(SaveTest, SaveToFileWithoutACodeDerivesItFromThePath) {
    const std::string path = folder_.Path() + "default.bmp";
    EXPECT_EQ(gdip::kOk, canvas_.SaveToFile(path));
    ExpectPictureFile(path, kBmp, 64, 48);
}

TEST_F(SaveTest, SaveToFileReplacesAFileOfThatName) {
    const std::string path = folder_.Path() + "again.png";
    ASSERT_EQ(gdip::kOk, canvas_.SaveToFile(path));
    ASSERT_TRUE(canvas_.CreateBlank(10, 5, RGB(0, 0, 0)));
    EXPECT_EQ(gdip::kOk, canvas_.SaveToFile(path));
    ExpectPictureFile(path, kPng, 10, 5);
}

TEST_F(SaveTest, AFailedSaveReportsItAndLeavesNoFile) {
    Canvas noPicture;
    EXPECT_FALSE(noPicture.CreateBlank(0, 48));
    struct Case {
        const char* name;
        Canvas& canvas;
        std::string path;
        int code;
    } cases[] = {
        {"a side of 0", noPicture, folder_.Path() + "zero.png", 0},
        {"a never created canvas", noPicture, folder_.Path() + "never.bmp", 0},
        {"a code without encoder", canvas_, folder_.Path() + "code9.png", 9},
        {"a negative code", canvas_, folder_.Path() + "minus.png", -2},
        {"a missing folder", canvas_, folder_.Path() + "missing\\a.png", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(gdip::kOk, c.canvas.SaveToFile(c.path, c.code));
        EXPECT_FALSE(FileExists(c.path));
    }
}

TEST_F(SaveTest, SaveToBytesGivesBmpUnlessACodeIsSupplied) {
    const std::vector<std::uint8_t> bmp = canvas_.SaveToBytes();
    ASSERT_GE(bmp.size(), 2u);
    EXPECT_EQ('B', bmp[0]);
    EXPECT_EQ('M', bmp[1]);
    Canvas decoded;
    ASSERT_TRUE(decoded.LoadBytes(bmp));
    EXPECT_EQ(64, decoded.Width());
    EXPECT_EQ(48, decoded.Height());
    EXPECT_EQ(0xFFC87828u, PixelAt(decoded.Image(), 10, 10));

    struct Case {
        int code;
        const FormatFacts& format;
    } cases[] = {{1, kBmp}, {2, kJpeg}, {3, kGif}, {4, kTiff}, {5, kPng}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format.name);
        const std::vector<std::uint8_t> bytes = canvas_.SaveToBytes(c.code);
        EXPECT_TRUE(SignatureMatches(c.format, std::string(bytes.begin(), bytes.end())));
        Canvas back;
        EXPECT_TRUE(back.LoadBytes(bytes) || c.code == 3);  // a GIF decodes to an indexed bitmap
    }
}

TEST_F(SaveTest, SaveToBytesWithASupplied0OrNoPictureGivesNothing) {
    EXPECT_TRUE(canvas_.SaveToBytes(0).empty()) << "a supplied 0 has no encoder";
    Canvas empty;
    EXPECT_TRUE(empty.SaveToBytes().empty());
}

TEST_F(SaveTest, SaveToBytesIntoReplacesWhatTheVariableHeld) {
    std::vector<std::uint8_t> bytes(5000, 0xAB);
    canvas_.SaveToBytesInto(bytes, 5);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(0x89, bytes[0]);
    EXPECT_EQ(canvas_.SaveToBytes(5), bytes);
    canvas_.SaveToBytesInto(bytes);
    EXPECT_EQ('B', bytes[0]);
    canvas_.SaveToBytesInto(bytes, 77);
    EXPECT_TRUE(bytes.empty());
}

// Pixels of a decoded file compared with those of the canvas it was saved from.
struct Difference {
    double mean = 0;
    int worst = 0;
};

Difference Compare(gdip::GpImage* original, gdip::GpImage* decoded) {
    int width = 0, height = 0, decodedWidth = 0, decodedHeight = 0;
    const std::vector<gdip::ARGB> a = imaging_test::Pixels(original, width, height);
    const std::vector<gdip::ARGB> b = imaging_test::Pixels(decoded, decodedWidth, decodedHeight);
    Difference difference;
    if (a.size() != b.size() || a.empty()) {
        ADD_FAILURE() << "sizes differ";
        return difference;
    }
    double total = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int shift : {0, 8, 16}) {
            const int d = std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                   static_cast<int>((b[i] >> shift) & 0xFF));
            total += d;
            difference.worst = std::max(difference.worst, d);
        }
        EXPECT_EQ(0xFFu, b[i] >> 24) << "pixel " << i << " is not opaque";
    }
    difference.mean = total / (3.0 * a.size());
    return difference;
}

TEST_F(SaveTest, AGifOfAPhotoDecodesToTheSameSizeWithEveryPixelClose) {
    Canvas photo;
    ASSERT_TRUE(photo.CreateBlank(320, 240));
    GdipImage picture = imaging_test::PhotoLikePicture(320, 240);
    ASSERT_TRUE(photo.DrawImage(picture.Handle(), 0, 0, 320, 240));
    const std::string path = folder_.Path() + "photo.gif";
    ASSERT_EQ(gdip::kOk, photo.SaveToFile(path));
    ExpectPictureFile(path, kGif, 320, 240);
    GdipImage decoded = LoadPictureFile(path);
    ASSERT_TRUE(decoded);
    const Difference difference = Compare(photo.Image(), decoded.Handle());
    EXPECT_LT(difference.mean, 8.0);
    EXPECT_LE(difference.worst, 48);
}

TEST_F(SaveTest, AGifOfFewColoursKeepsThemExactly) {
    Canvas flat;
    ASSERT_TRUE(flat.CreateBlank(90, 60, RGB(255, 255, 255)));
    GdipImage red = imaging_test::SolidPicture(30, 30, 0xFFFF0000);
    GdipImage teal = imaging_test::SolidPicture(30, 30, 0xFF00807F);
    flat.DrawImage(red.Handle(), 0, 0, 30, 30);
    flat.DrawImage(teal.Handle(), 50, 20, 30, 30);
    const std::string path = folder_.Path() + "flat.gif";
    ASSERT_EQ(gdip::kOk, flat.SaveToFile(path));
    GdipImage decoded = LoadPictureFile(path);
    ASSERT_TRUE(decoded);
    const Difference difference = Compare(flat.Image(), decoded.Handle());
    EXPECT_EQ(0, difference.worst);
}

TEST_F(SaveTest, GifBytesAreAGifPictureToo) {
    Canvas photo;
    ASSERT_TRUE(photo.CreateBlank(40, 30));
    GdipImage picture = imaging_test::PhotoLikePicture(40, 30);
    photo.DrawImage(picture.Handle(), 0, 0, 40, 30);
    const std::vector<std::uint8_t> bytes = photo.SaveToBytes(3);
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_TRUE(SignatureMatches(kGif, std::string(bytes.begin(), bytes.end())));
    const std::string path = folder_.Path() + "bytes.gif";
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    GdipImage decoded = LoadPictureFile(path);
    ASSERT_TRUE(decoded);
    EXPECT_LT(Compare(photo.Image(), decoded.Handle()).mean, 8.0);
}

TEST_F(SaveTest, ADcCanvasSavesItsImage) {
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateForDc(33, 22, RGB(0, 0, 255)));
    const std::string path = folder_.Path() + "dc.png";
    EXPECT_EQ(gdip::kOk, canvas.SaveToFile(path));
    ExpectPictureFile(path, kPng, 33, 22);
}

}  // namespace
