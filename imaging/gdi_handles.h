// Owners of classic GDI handles, for the whole program (imaging, the form runtime, the windows): a
// GDI object (font, bitmap, brush), a memory or display DC, a window's DC, an object selected into
// a DC, a paint cycle. Each frees or restores what it holds when it is reset or destroyed; copying
// is refused.
#pragma once

#include <windows.h>

#include <utility>

// A GDI object (HFONT, HBITMAP, ...), deleted with DeleteObject.
template <typename Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr && handle_ != handle) DeleteObject(handle_);
        handle_ = handle;
    }
    Handle Release() { return std::exchange(handle_, nullptr); }

  private:
    Handle handle_ = nullptr;
};

using GdiFont = GdiObject<HFONT>;
using GdiBitmap = GdiObject<HBITMAP>;
using GdiBrush = GdiObject<HBRUSH>;

// A DC made by CreateCompatibleDC or CreateDCA, deleted with DeleteDC.
class OwnedDc {
  public:
    OwnedDc() = default;
    explicit OwnedDc(HDC dc) : dc_(dc) {}
    ~OwnedDc() { Reset(); }
    OwnedDc(const OwnedDc&) = delete;
    OwnedDc& operator=(const OwnedDc&) = delete;

    HDC Get() const { return dc_; }
    void Reset(HDC dc = nullptr) {
        if (dc_ != nullptr && dc_ != dc) DeleteDC(dc_);
        dc_ = dc;
    }

  private:
    HDC dc_ = nullptr;
};

// The DC of a window (or of the screen, for no window), handed back with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC; the object it replaced is selected back on Restore or destruction.
class ObjectSelection {
  public:
    ObjectSelection() = default;
    ObjectSelection(HDC dc, HGDIOBJ object) { Select(dc, object); }
    ~ObjectSelection() { Restore(); }
    ObjectSelection(const ObjectSelection&) = delete;
    ObjectSelection& operator=(const ObjectSelection&) = delete;

    // Selects `object` into `dc` (restoring any earlier selection first). False when GDI refused.
    bool Select(HDC dc, HGDIOBJ object) {
        Restore();
        if (dc == nullptr || object == nullptr) return false;
        HGDIOBJ previous = SelectObject(dc, object);
        if (previous == nullptr || previous == HGDI_ERROR) return false;
        dc_ = dc;
        previous_ = previous;
        return true;
    }
    void Restore() {
        if (dc_ != nullptr) SelectObject(dc_, previous_);
        dc_ = nullptr;
        previous_ = nullptr;
    }
    bool Active() const { return dc_ != nullptr; }

  private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// One paint cycle of a window: BeginPaint now, EndPaint on destruction.
class PaintCycle {
  public:
    explicit PaintCycle(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintCycle() { EndPaint(window_, &paint_); }
    PaintCycle(const PaintCycle&) = delete;
    PaintCycle& operator=(const PaintCycle&) = delete;

    HDC Dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};
