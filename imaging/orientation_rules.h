// How a photo's EXIF orientation (tag 0x0112) turns into the rotation and flip that make the
// decoded pixels upright. Phones and cameras store a portrait shot sideways and only set the
// tag; a converted picture is a new bitmap without the tag, so the turn must be applied to the
// pixels themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The EXIF property id of the orientation.
constexpr std::uint32_t kExifOrientationTag = 0x0112;

// The GDI+ RotateFlipType that makes a picture with this orientation upright; 0 (no change) for
// orientation 1 and for any value outside 1..8.
int RotateFlipForOrientation(int orientation);

// True when the turn swaps the picture's width and height (orientations 5 to 8).
bool OrientationSwapsSides(int orientation);

// The orientation recorded in the EXIF block of a JPEG file's first bytes (the "Exif" APP1
// segment, either byte order), or 0 when the bytes are no JPEG, carry no such block, or the
// block is damaged. Used where the imaging component does not report the tag itself. Every
// offset is checked against the bytes given: any input is safe.
int ExifOrientationOfJpeg(const std::string& bytes);

// How many leading bytes of a file ExifOrientationOfJpeg needs at most: the APP1 segment lies
// near the start and is at most 64 KB long.
constexpr std::size_t kExifSearchBytes = 256 * 1024;
