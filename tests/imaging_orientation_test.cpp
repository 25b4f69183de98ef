// Photos whose EXIF orientation says "turned" are loaded upright.
#include <gtest/gtest.h>

#include "imaging/orientation_rules.h"
#include "tests/imaging_test_support.h"
#include "tests/support/orientation_fixture.h"

namespace {

using imaging_test::ChannelDistance;
using imaging_test::PixelAt;
using namespace testing_support;

class OrientationTest : public imaging_test::GdiplusTest {
  protected:
    imaging_test::ScratchFolder folder_;
};

// The colour at the middle of the upright marker and at the middle of the far corner.
void ExpectUprightMarker(gdip::GpImage* image, const std::string& name) {
    int width = 0, height = 0;
    PictureSize(image, &width, &height);
    ASSERT_EQ(kUprightWidth, width) << name;
    ASSERT_EQ(kUprightHeight, height) << name;
    EXPECT_LE(ChannelDistance(kMarkerColour, PixelAt(image, kMarkerWidth / 2, kMarkerHeight / 2)),
              48)
        << name << ": the marker is not in the top-left corner";
    EXPECT_LE(ChannelDistance(kFieldColour, PixelAt(image, kUprightWidth - 4, kUprightHeight - 4)),
              48)
        << name << ": the bottom-right corner is not the field";
    EXPECT_LE(ChannelDistance(kFieldColour, PixelAt(image, kUprightWidth - 4, 3)), 48)
        << name << ": the top-right corner is not the field";
    EXPECT_LE(ChannelDistance(kFieldColour, PixelAt(image, 3, kUprightHeight - 4)), 48)
        << name << ": the bottom-left corner is not the field";
}

TEST_F(OrientationTest, EveryOrientationLoadsUpright) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string name = "orientation " + std::to_string(orientation);
        const std::string path = folder_.Path() + "photo" + std::to_string(orientation) + ".jpg";
        ASSERT_TRUE(WriteOrientedJpeg(path, orientation)) << name;
        GdipImage image = LoadPictureFile(path);
        ASSERT_TRUE(image) << name;
        ExpectUprightMarker(image.Handle(), name);
    }
}

TEST_F(OrientationTest, APictureWithoutTheTagIsUsedAsDecoded) {
    const std::string path = folder_.Path() + "plain.jpg";
    const std::string noBlock;
    ASSERT_TRUE(WriteOrientedJpeg(path, 1, &noBlock));
    GdipImage image = LoadPictureFile(path);
    ASSERT_TRUE(image);
    ExpectUprightMarker(image.Handle(), "no EXIF block");
}

TEST_F(OrientationTest, ABrokenExifBlockLeavesThePictureAsDecoded) {
    // Stored upright, with an EXIF block whose IFD offset points far past its end.
    std::string broken = ExifOrientationBlock(6);
    broken[4 + 6 + 4] = '\x7F';
    broken[4 + 6 + 5] = '\x7F';
    const std::string path = folder_.Path() + "broken.jpg";
    ASSERT_TRUE(WriteOrientedJpeg(path, 1, &broken));
    GdipImage image = LoadPictureFile(path);
    ASSERT_TRUE(image) << "a broken EXIF block must not stop the picture from loading";
    ExpectUprightMarker(image.Handle(), "broken EXIF block");
}

TEST(OrientationRules, TurnsAndSwaps) {
    struct Case {
        int orientation, rotateFlip;
        bool swaps;
    } cases[] = {{0, 0, false}, {1, 0, false}, {2, 4, false}, {3, 2, false}, {4, 6, false},
                 {5, 5, true},  {6, 1, true},  {7, 7, true},  {8, 3, true},  {9, 0, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.rotateFlip, RotateFlipForOrientation(c.orientation))
            << "orientation " << c.orientation;
        EXPECT_EQ(c.swaps, OrientationSwapsSides(c.orientation)) << "orientation " << c.orientation;
    }
}

}  // namespace

namespace {

// A JPEG start with the given segments and then the start of the image data.
std::string JpegWith(const std::string& segments) {
    return std::string("\xFF\xD8", 2) + segments + std::string("\xFF\xDA\x00\x02", 4);
}

std::string BigEndianExif(int orientation) {
    std::string tiff = std::string("MM\0*\0\0\0\x08", 8) + std::string("\0\x01", 2) +
                       std::string("\x01\x12\0\x03\0\0\0\x01", 8) + static_cast<char>(0) +
                       static_cast<char>(orientation) + std::string("\0\0", 2) +
                       std::string("\0\0\0\0", 4);
    const std::string payload = std::string("Exif\0\0", 6) + tiff;
    const std::size_t length = payload.size() + 2;
    return std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
           static_cast<char>(length & 0xFF) + payload;
}

TEST(ExifOrientationOfJpeg, ReadsTheTagAndRefusesEverythingDamaged) {
    const std::string app0 = std::string("\xFF\xE0\x00\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 18);
    std::string truncated = JpegWith(ExifOrientationBlock(6));
    truncated.resize(truncated.size() - 12);
    std::string wrongType = ExifOrientationBlock(6);
    wrongType[4 + 6 + 8 + 2 + 2] = '\x04';  // LONG instead of SHORT
    struct Case {
        const char* name;
        std::string bytes;
        int orientation;
    } cases[] = {
        {"little-endian block", JpegWith(ExifOrientationBlock(6)), 6},
        {"big-endian block", JpegWith(BigEndianExif(8)), 8},
        {"after a JFIF block", JpegWith(app0 + ExifOrientationBlock(3)), 3},
        {"no EXIF block", JpegWith(app0), 0},
        {"value 9 is no orientation", JpegWith(ExifOrientationBlock(9)), 0},
        {"value 0 is no orientation", JpegWith(ExifOrientationBlock(0)), 0},
        {"wrong value type", JpegWith(wrongType), 0},
        {"block cut short", truncated, 0},
        {"not a JPEG", std::string("\x89PNG\r\n\x1A\n", 8) + ExifOrientationBlock(6), 0},
        {"empty", std::string(), 0},
        {"segment length past the end",
         std::string("\xFF\xD8\xFF\xE1\xFF\xFF"
                     "Exif",
                     10),
         0},
        {"segment length below 2", std::string("\xFF\xD8\xFF\xE1\x00\x01\xFF\xE1", 8), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.orientation, ExifOrientationOfJpeg(c.bytes)) << c.name;
}

}  // namespace
