// Owners of GDI+ objects: each holds one native handle, null when it holds nothing, and frees it
// when it is deleted, re-attached or destroyed. Copying is refused; moving hands the object on.
//
// Delete frees the held object (nothing when empty); Attach frees the held object first and then
// keeps the given one; Handle returns it; Detach gives it up without freeing it.
#pragma once

#include "imaging/gdiplus_api.h"

#include <utility>

template <typename Traits>
class GdipHandle {
  public:
    using Native = typename Traits::Native;

    GdipHandle() = default;
    explicit GdipHandle(Native* handle) : handle_(handle) {}
    ~GdipHandle() { Delete(); }
    GdipHandle(const GdipHandle&) = delete;
    GdipHandle& operator=(const GdipHandle&) = delete;
    GdipHandle(GdipHandle&& other) noexcept : handle_(other.Detach()) {}
    GdipHandle& operator=(GdipHandle&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    void Delete() {
        if (handle_ != nullptr) {
            Traits::Free(handle_);
            handle_ = nullptr;
        }
    }
    Native* Handle() const { return handle_; }
    void Attach(Native* handle) {
        if (handle == handle_) return;
        Delete();
        handle_ = handle;
    }
    Native* Detach() { return std::exchange(handle_, nullptr); }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    Native* handle_ = nullptr;
};

namespace gdip_traits {

struct Image {
    using Native = gdip::GpImage;
    static void Free(Native* handle) { gdip::Table().GdipDisposeImage(handle); }
};
struct Graphics {
    using Native = gdip::GpGraphics;
    static void Free(Native* handle) { gdip::Table().GdipDeleteGraphics(handle); }
};
struct Matrix {
    using Native = gdip::GpMatrix;
    static void Free(Native* handle) { gdip::Table().GdipDeleteMatrix(handle); }
};
struct Path {
    using Native = gdip::GpPath;
    static void Free(Native* handle) { gdip::Table().GdipDeletePath(handle); }
};
struct Font {
    using Native = gdip::GpFont;
    static void Free(Native* handle) { gdip::Table().GdipDeleteFont(handle); }
};
struct FontFamily {
    using Native = gdip::GpFontFamily;
    static void Free(Native* handle) { gdip::Table().GdipDeleteFontFamily(handle); }
};
struct Brush {
    using Native = gdip::GpBrush;
    static void Free(Native* handle) { gdip::Table().GdipDeleteBrush(handle); }
};

}  // namespace gdip_traits

// A GDI+ image (bitmap). Its owner disposes of it.
using GdipImage = GdipHandle<gdip_traits::Image>;

// A GDI+ graphics context.
using GdipGraphics = GdipHandle<gdip_traits::Graphics>;

// A GDI+ matrix, as the brush transforms take and fill it.
class GdipMatrix : public GdipHandle<gdip_traits::Matrix> {
  public:
    // The identity matrix.
    gdip::Status Create();
    // The matrix (m11 m12; m21 m22; dx dy).
    gdip::Status Create(float m11, float m12, float m21, float m22, float dx, float dy);
    // The six elements in the order m11, m12, m21, m22, dx, dy.
    gdip::Status GetElements(float (&elements)[6]) const;
};

// A GDI+ path, as the path-gradient brushes take and fill it.
class GdipPath : public GdipHandle<gdip_traits::Path> {
  public:
    // An empty path; fill mode 0 is alternate.
    gdip::Status Create(int fillMode = 0);
    gdip::Status AddRectangle(const gdip::RectF& rect);
    gdip::Status GetPointCount(int& count) const;
};
