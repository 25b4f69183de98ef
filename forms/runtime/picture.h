// A decoded picture of the form runtime: any picture file GDI+ reads (PNG, GIF, JPEG, BMP, ...),
// held as a premultiplied 32-bit bitmap of its current frame, ready to paint with GDI.
//
// A still picture lets go of its GDI+ image as soon as its bitmap is made; an animated one keeps
// it (and the stream it was read from) to render its other frames, until ReleaseFrames.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "imaging/gdi_handles.h"

namespace gdip {
struct GpImage;
}

namespace forms::detail {

class Picture {
  public:
    // Null when the bytes are no picture GDI+ can read, when the picture is absurdly large, or
    // when the runtime's GDI+ is not running. `animate`: keep the frames of an animated picture.
    static std::unique_ptr<Picture> Decode(const unsigned char* data, std::size_t size,
                                           bool animate);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int FrameCount() const { return static_cast<int>(delays_.size()); }
    bool Animated() const { return FrameCount() > 1 && image_ != nullptr; }
    int Frame() const { return frame_; }
    // How long `frame` stays on view, in milliseconds.
    int FrameDelay(int frame) const;
    // Renders `frame` (of an animated picture); false when it cannot, the old frame then stays.
    bool ShowFrame(int frame);
    // Lets go of the GDI+ image; the current frame stays paintable.
    void ReleaseFrames();

    // Paints the current frame at its own size, blending its transparent parts over what the DC
    // holds. `opacity` 0..255 fades the whole picture (a disabled picture button).
    void Draw(HDC dc, int x, int y, BYTE opacity = 255) const;

  private:
    Picture() = default;
    bool RenderCurrentFrame();

    gdip::GpImage* image_ = nullptr;
    IStream* stream_ = nullptr;
    int width_ = 0, height_ = 0;
    int frame_ = 0;
    std::vector<int> delays_;  // one per frame, milliseconds
    GdiBitmap bitmap_;
    bool translucent_ = false;
};

// Number of GDI+ images the runtime's pictures hold right now (none may outlive GDI+).
int LivePictureImages();

}  // namespace forms::detail
