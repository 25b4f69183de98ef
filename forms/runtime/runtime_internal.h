// Internals shared by the form runtime's sources. Nothing outside forms/runtime includes this.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/runtime/form.h"
#include "imaging/gdi_handles.h"
#include "forms/runtime/picture.h"

namespace forms {
namespace detail {

// Window classes of the runtime (ANSI classes: the program subclasses with the A functions).
constexpr const char* kFormClass = "TuconvForm";
constexpr const char* kLabelClass = "TuconvLabel";
constexpr const char* kPictureBoxClass = "TuconvPictureBox";
constexpr const char* kShapeBoxClass = "TuconvShapeBox";
constexpr const char* kGroupBoxClass = "TuconvGroupBox";

// Control identifiers and timer identifiers on the form window are this base plus the index.
constexpr int kControlIdBase = 1000;
// Timer of a picture box's animation, on the picture box's own window.
constexpr UINT_PTR kAnimationTimer = 1;

// Border colour of flat controls on skinned windows and of shape boxes.
constexpr COLORREF kFlatBorderColour = RGB(0x8E, 0x9F, 0xB3);

HINSTANCE Instance();
HFONT ControlFont();
bool RuntimeGdiplusRunning();

// Runs `action`, swallowing any exception: nothing may leave a window procedure.
template <typename Action>
void Guarded(Action&& action) noexcept {
    try {
        action();
    } catch (...) {
        OutputDebugStringA("forms: an event handler threw; the event was dropped\n");
    }
}

// Pictures of embedded resources. Still pictures are decoded once and shared; an animation is
// decoded afresh for each control that plays it, since each keeps its own current frame.
std::shared_ptr<Picture> ResourcePicture(const char* name);
std::shared_ptr<Picture> ResourceAnimation(const char* name);

struct ControlState {
    Window::Impl* form = nullptr;
    int index = -1;
    const ControlDesc* desc = nullptr;
    HWND hwnd = nullptr;
    int container = -1;  // index of the containing control, -1: the window
    bool hasChildren = false;
    int radioGroup = -1;  // radio buttons: first index of the group

    Window::Handler click, itemSelected, colourChanged, timer;
    Window::KeyHandler keyPressed;
    Window::MouseHandler leftMouseDown;
    int redirect = -1;  // index whose handlers get this control's events, -1: its own

    // Look.
    std::shared_ptr<Picture> picture;  // label background, picture box picture
    std::shared_ptr<Picture> buttonNormal, buttonHover, buttonPressed, buttonDisabled;
    COLORREF textColour = 0;
    COLORREF backColour = CLR_INVALID;
    COLORREF colour = 0;  // colour picker
    bool playAnimation = false;
    bool hovering = false;

    // Windowless controls.
    int period = 0;
    bool timerRunning = false;
    bool disabled = false;
    std::string text;

    // Background brush of a check box or radio button: the backdrop at its place.
    GdiBitmap brushBitmap;
    GdiBrush brush;
    RECT brushPlace{};
    unsigned brushGeneration = 0;
};

// The state of a control window of the runtime, or null.
ControlState* StateOf(HWND control);
void Attach(HWND control, ControlState* state);
void Detach(HWND control);
// The runtime's record of a form window, or null.
Window::Impl* FormOf(HWND form);
void DetachForm(HWND form);

// Painting (control_paint.cpp).
void PaintBackdrop(const ControlState& state, HDC dc, int width, int height);
void PaintPictureBoxSurface(const ControlState& state, HDC dc, int x, int y, int width, int height);
void DrawPictureButton(const ControlState& state, const DRAWITEMSTRUCT& item);
void DrawColourPicker(const ControlState& state, const DRAWITEMSTRUCT& item);
HBRUSH BackdropBrush(ControlState& state);
void RegisterControlClasses(HINSTANCE instance);
void InstallSubclasses(ControlState& state);
void ShowAnimationFrame(ControlState& state, int frame);
void UpdateAnimation(ControlState& state);

// Keyboard handling of the runtime's windows before dispatch (Tab moves the focus).
bool PreTranslate(MSG& message);
// One message through PreTranslate, TranslateMessage and DispatchMessageA.
void DispatchOne(MSG& message);

// Live windows of the runtime (for ShutdownRuntime).
void RegisterLiveWindow(Window::Impl* impl);
void UnregisterLiveWindow(Window::Impl* impl);

}  // namespace detail

struct Window::Impl {
    Impl(Window* window, const FormDesc& desc);

    Window* window;
    const FormDesc& desc;
    HWND hwnd = nullptr;
    std::vector<std::unique_ptr<detail::ControlState>> controls;
    Handler created, destroying;
    HWND modalOwner = nullptr;
    HWND savedFocus = nullptr;
    std::shared_ptr<detail::Picture> background;
    GdiBitmap backdrop;               // the client area's background, as painted
    unsigned backdropGeneration = 1;  // raised when a container's surface changes

    int IndexOf(const char* name) const;
    detail::ControlState* State(const char* name);

    // Creation.
    bool CreateWindowFrame(HWND owner);
    void RenderBackdrop();
    void CreateControls();
    void CreateControl(detail::ControlState& state);
    void ArrangeZOrder();
    void StartTimers();
    void FocusFirstControl();

    // Events.
    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void OnCommand(detail::ControlState& state, int code);
    void OnNotify(detail::ControlState& state, const NMHDR& header);
    void RaiseClick(int index);
    void RaiseItemSelected(int index);
    void RaiseKeyPressed(int index, int virtualKey);
    void RaiseLeftMouseDown(int index, int x, int y);
    void RaiseColourChanged(int index);
    void RaiseTimer(int index);
    detail::ControlState& Target(int index);

    void CheckRadio(int index);
    void ChooseColour(detail::ControlState& state);
    void ApplyTimer(detail::ControlState& state);
    void MoveFocus(HWND from, bool backwards);
    void ReleasePictures();
    void SurfaceChanged(detail::ControlState& container);
};

}  // namespace forms
