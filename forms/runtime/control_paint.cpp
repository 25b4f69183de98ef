// How the runtime's own controls look and behave: labels, picture boxes, shape boxes and group
// boxes (window classes of the runtime), picture buttons and colour pickers (owner-drawn
// buttons), and the few standard controls it subclasses (numeric edit boxes, the list view's
// mouse press, flat borders on skinned windows).
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "forms/runtime/form_rules.h"
#include "forms/runtime/runtime_internal.h"
#include "forms/runtime/text.h"

namespace forms::detail {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// Opacity of a picture button's normal picture standing in for a missing disabled one.
constexpr BYTE kFadedOpacity = 110;
constexpr COLORREF kFocusedBorderColour = RGB(0x3C, 0x7F, 0xB1);

// Draws into an off-screen bitmap of a window's size and copies it to the target DC at the end,
// so that painting in layers (backdrop, picture, text) never flickers.
class BufferedPaint {
  public:
    BufferedPaint(HDC target, int width, int height)
        : target_(target),
          width_(width),
          height_(height),
          memory_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
          selection_(memory_.Get(), bitmap_.Get()) {}
    ~BufferedPaint() { BitBlt(target_, 0, 0, width_, height_, memory_.Get(), 0, 0, SRCCOPY); }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC Get() const { return memory_.Get(); }

  private:
    HDC target_;
    int width_, height_;
    OwnedDc memory_;
    GdiBitmap bitmap_;
    ObjectSelection selection_;
};

HFONT FontOf(HWND hwnd) {
    auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(hwnd, 0));
    return font != nullptr ? font : ControlFont();
}

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(0, GetWindowTextA(hwnd, &text[0], length + 1))));
    return text;
}

// The height of the font's em square in pixels: the size it was asked for, without the leading
// a face may add above its characters.
int EmHeight(HFONT font, const TEXTMETRICA& metrics) {
    LOGFONTA face{};
    if (GetObjectA(font, sizeof(face), &face) == sizeof(face) && face.lfHeight < 0)
        return -face.lfHeight;
    return std::max<int>(1, metrics.tmHeight - metrics.tmInternalLeading);
}

void FillColour(HDC dc, const RECT& area, COLORREF colour) {
    GdiBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.Get());
}

void FrameColour(HDC dc, const RECT& area, COLORREF colour) {
    GdiBrush brush(CreateSolidBrush(colour));
    FrameRect(dc, &area, brush.Get());
}

// Messages a container passes on: its controls' notifications reach the form's dispatch, and
// what the form does not know goes up to the container's own parent.
bool ForwardFromContainer(HWND container, ControlState* state, UINT message, WPARAM wParam,
                          LPARAM lParam, LRESULT* result) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            break;
        default:
            return false;
    }
    if (state != nullptr && state->form->HandleChildMessage(message, wParam, lParam, result))
        return true;
    HWND parent = GetParent(container);
    *result = parent != nullptr ? SendMessageA(parent, message, wParam, lParam)
                                : DefWindowProcA(container, message, wParam, lParam);
    return true;
}

// Window messages every runtime class answers alike: the font, and no background erasing
// (each paints its whole client area itself).
bool CommonMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
        case WM_SETFONT:
            SetWindowLongPtrA(hwnd, 0, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam) != 0) InvalidateRect(hwnd, nullptr, FALSE);
            *result = 0;
            return true;
        case WM_GETFONT:
            *result = GetWindowLongPtrA(hwnd, 0);
            return true;
        case WM_ERASEBKGND:
            *result = 1;
            return true;
        case WM_SETTEXT:
            *result = DefWindowProcA(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return true;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            *result = 0;
            return true;
        default:
            return false;
    }
}

// ---------------------------------------------------------------------------------------------
// Labels

void PaintLabel(const ControlState& state, HWND hwnd, HDC target) {
    RECT client{};
    GetClientRect(hwnd, &client);
    BufferedPaint buffer(target, client.right, client.bottom);
    HDC dc = buffer.Get();
    PaintBackdrop(state, dc, client.right, client.bottom);
    if (state.backColour != CLR_INVALID) FillColour(dc, client, state.backColour);
    if (state.picture) state.picture->Draw(dc, 0, 0);

    std::string caption = WindowText(hwnd);
    if (caption.empty()) return;
    ObjectSelection font(dc, FontOf(hwnd));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(hwnd) ? state.textColour : GetSysColor(COLOR_GRAYTEXT));
    // A label never wraps: its lines are the ones its text spells out. One line stands in the
    // middle of the label's height, level with the box beside it.
    constexpr UINT kLine = DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE;
    std::vector<std::string> lines = text::Split(text::ReplaceAll(caption, "\r\n", "\n"), "\n");
    if (lines.size() == 1) {
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
                  kLine | DT_VCENTER);
        return;
    }
    // Lines follow each other at the font's em height, so that captions written one under the
    // other ("\r\n\r\n" between them) keep level with a column of 24-pixel rows whatever
    // leading the installed face adds.
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    int pitch = EmHeight(FontOf(hwnd), metrics);
    int top = 0;
    for (const std::string& line : lines) {
        RECT row{0, top, client.right, top + metrics.tmHeight};
        DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &row, kLine);
        top += pitch;
    }
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlState* state = StateOf(hwnd);
    LRESULT result = 0;
    if (CommonMessage(hwnd, message, wParam, lParam, &result)) return result;
    switch (message) {
        case WM_NCHITTEST:
            // A label takes no mouse input: it lets presses through to what lies under it, so
            // the skinned window is dragged by its labels too.
            return HTTRANSPARENT;
        case WM_PAINT: {
            PaintCycle paint(hwnd);
            if (state != nullptr) PaintLabel(*state, hwnd, paint.Dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            if (state != nullptr) PaintLabel(*state, hwnd, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_NCDESTROY:
            Detach(hwnd);
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Picture boxes

void PaintPictureBox(const ControlState& state, HWND hwnd, HDC target) {
    RECT client{};
    GetClientRect(hwnd, &client);
    BufferedPaint buffer(target, client.right, client.bottom);
    if (state.backColour == CLR_INVALID)
        PaintBackdrop(state, buffer.Get(), client.right, client.bottom);
    PaintPictureBoxSurface(state, buffer.Get(), 0, 0, client.right, client.bottom);
}

void NextAnimationFrame(ControlState& state) {
    if (!state.playAnimation || !state.picture || !state.picture->Animated()) {
        KillTimer(state.hwnd, kAnimationTimer);
        return;
    }
    ShowAnimationFrame(state, (state.picture->Frame() + 1) % state.picture->FrameCount());
    SetTimer(state.hwnd, kAnimationTimer,
             static_cast<UINT>(state.picture->FrameDelay(state.picture->Frame())), nullptr);
}

LRESULT CALLBACK PictureBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlState* state = StateOf(hwnd);
    LRESULT result = 0;
    if (CommonMessage(hwnd, message, wParam, lParam, &result)) return result;
    if (ForwardFromContainer(hwnd, state, message, wParam, lParam, &result)) return result;
    switch (message) {
        case WM_PAINT: {
            PaintCycle paint(hwnd);
            if (state != nullptr) PaintPictureBox(*state, hwnd, paint.Dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            if (state != nullptr) PaintPictureBox(*state, hwnd, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kAnimationTimer) {
                if (state != nullptr) {
                    NextAnimationFrame(*state);
                } else {
                    KillTimer(hwnd, kAnimationTimer);
                }
                return 0;
            }
            break;
        case WM_NCDESTROY:
            KillTimer(hwnd, kAnimationTimer);
            Detach(hwnd);
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Shape boxes and group boxes

void PaintShapeBox(const ControlState& state, HWND hwnd, HDC target) {
    RECT client{};
    GetClientRect(hwnd, &client);
    BufferedPaint buffer(target, client.right, client.bottom);
    PaintBackdrop(state, buffer.Get(), client.right, client.bottom);
    if (state.backColour != CLR_INVALID) FillColour(buffer.Get(), client, state.backColour);
    FrameColour(buffer.Get(), client, kFlatBorderColour);
}

void PaintGroupBox(const ControlState& state, HWND hwnd, HDC target) {
    RECT client{};
    GetClientRect(hwnd, &client);
    BufferedPaint buffer(target, client.right, client.bottom);
    HDC dc = buffer.Get();
    PaintBackdrop(state, dc, client.right, client.bottom);
    ObjectSelection font(dc, FontOf(hwnd));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    std::string caption = WindowText(hwnd);
    RECT captionArea{8, 0, 8, metrics.tmHeight};
    if (!caption.empty()) {
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &captionArea,
                  DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        captionArea.right = std::min<LONG>(captionArea.right + 4, client.right - 4);
        captionArea.left = 6;
    }
    // The frame runs through the middle of the caption's line and leaves a gap for it.
    RECT frame{0, metrics.tmHeight / 2, client.right, client.bottom};
    int saved = SaveDC(dc);
    if (!caption.empty())
        ExcludeClipRect(dc, captionArea.left, captionArea.top, captionArea.right,
                        captionArea.bottom);
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    RestoreDC(dc, saved);
    if (caption.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(
        dc, IsWindowEnabled(hwnd) ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT));
    RECT textArea{captionArea.left + 2, 0, captionArea.right, metrics.tmHeight};
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &textArea,
              DT_SINGLELINE | DT_NOPREFIX);
}

template <void (*Paint)(const ControlState&, HWND, HDC)>
LRESULT CALLBACK FrameBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlState* state = StateOf(hwnd);
    LRESULT result = 0;
    if (CommonMessage(hwnd, message, wParam, lParam, &result)) return result;
    if (ForwardFromContainer(hwnd, state, message, wParam, lParam, &result)) return result;
    switch (message) {
        case WM_PAINT: {
            PaintCycle paint(hwnd);
            if (state != nullptr) Paint(*state, hwnd, paint.Dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            if (state != nullptr) Paint(*state, hwnd, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_NCDESTROY:
            Detach(hwnd);
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterRuntimeClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    info.lpfnWndProc = procedure;
    info.cbWndExtra = sizeof(LONG_PTR);  // the font
    info.hInstance = instance;
    info.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    info.lpszClassName = name;
    RegisterClassExA(&info);
}

// ---------------------------------------------------------------------------------------------
// Subclassed standard controls

bool HasFlatBorder(const ControlState& state) {
    ControlKind kind = state.desc->kind;
    bool boxed =
        kind == ControlKind::Edit || kind == ControlKind::ListBox || kind == ControlKind::ListView;
    return boxed && (GetWindowLongA(state.hwnd, GWL_STYLE) & WS_BORDER) != 0;
}

void PaintFlatBorder(HWND hwnd, bool focused) {
    HDC dc = GetWindowDC(hwnd);
    if (dc == nullptr) return;
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    FrameColour(dc, outer, focused ? kFocusedBorderColour : kFlatBorderColour);
    ReleaseDC(hwnd, dc);
}

// Pastes only the digits and minus signs of the clipboard's text.
void PasteNumeric(HWND edit) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(edit)) return;
    std::string pasted;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            SIZE_T size = GlobalSize(data);
            pasted.assign(chars, strnlen(chars, size));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    std::string kept = NumericCharacters(pasted);
    if (!kept.empty())
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
}

void MarkRowUnderPointer(HWND listView, LPARAM position) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    LRESULT row = SendMessageA(listView, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    bool onRow = row >= 0 && (hit.flags & LVHT_ONITEM) != 0;
    SendMessageA(listView, LVM_SETHOTITEM, static_cast<WPARAM>(onRow ? row : -1), 0);
}

LRESULT CALLBACK ControlSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR data) {
    auto* state = reinterpret_cast<ControlState*>(data);
    ControlKind kind = state->desc->kind;
    switch (message) {
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, ControlSubclass, id);
            return DefSubclassProc(hwnd, message, wParam, lParam);
        case WM_NCPAINT:
            if (HasFlatBorder(*state)) {
                LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
                PaintFlatBorder(hwnd, kind == ControlKind::Edit && GetFocus() == hwnd);
                return result;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (kind == ControlKind::Edit && HasFlatBorder(*state)) {
                LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
                PaintFlatBorder(hwnd, message == WM_SETFOCUS);
                return result;
            }
            break;
        case WM_CHAR:
            if (kind == ControlKind::Edit && (state->desc->flags & kNumeric) != 0 &&
                !NumericEditAccepts(static_cast<unsigned char>(wParam))) {
                return 0;
            }
            break;
        case WM_IME_CHAR:
            if (kind == ControlKind::Edit && (state->desc->flags & kNumeric) != 0) return 0;
            break;
        case WM_PASTE:
            if (kind == ControlKind::Edit && (state->desc->flags & kNumeric) != 0) {
                if ((GetWindowLongA(hwnd, GWL_STYLE) & ES_READONLY) == 0) PasteNumeric(hwnd);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            if (kind == ControlKind::ListView) {
                // The row under the pointer becomes the hot item, so that the handler can ask for
                // it (LVM_GETHOTITEM) whether or not the list view tracks the mouse; -1 over no
                // row.
                MarkRowUnderPointer(hwnd, lParam);
                // Before the list view's own handling, which may hold the press while it waits to
                // see whether a drag starts.
                state->form->RaiseLeftMouseDown(state->index, GET_X_LPARAM(lParam),
                                                GET_Y_LPARAM(lParam));
                if (!IsWindow(hwnd)) return 0;
            }
            break;
        case WM_LBUTTONDBLCLK:
            // A quick second press is one more click, not a double click that buttons drop.
            if (kind == ControlKind::PictureButton || kind == ControlKind::ColourPicker) {
                return DefSubclassProc(hwnd, WM_LBUTTONDOWN, wParam, lParam);
            }
            break;
        case WM_ERASEBKGND:
            if (kind == ControlKind::PictureButton || kind == ControlKind::ColourPicker) return 1;
            break;
        case WM_MOUSEMOVE:
            if (kind == ControlKind::PictureButton && !state->hovering) {
                state->hovering = true;
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
                TrackMouseEvent(&track);
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            break;
        case WM_SETCURSOR:
            // A picture button shows the hand, as a link does: it has no frame to say it is one.
            if (kind == ControlKind::PictureButton && LOWORD(lParam) == HTCLIENT &&
                IsWindowEnabled(hwnd)) {
                SetCursor(LoadCursorA(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_MOUSELEAVE:
            if (kind == ControlKind::PictureButton) {
                state->hovering = false;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Shared painting

void PaintBackdrop(const ControlState& state, HDC dc, int width, int height) {
    const Window::Impl& form = *state.form;
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    if (state.hwnd == nullptr || form.hwnd == nullptr) return;
    POINT origin{0, 0};
    MapWindowPoints(state.hwnd, form.hwnd, &origin, 1);
    if (form.backdrop) {
        OwnedDc source(CreateCompatibleDC(dc));
        ObjectSelection selected(source.Get(), form.backdrop.Get());
        BITMAP size{};
        GetObjectA(form.backdrop.Get(), sizeof(size), &size);
        int right = std::min<int>(width, size.bmWidth - origin.x);
        int bottom = std::min<int>(height, size.bmHeight - origin.y);
        if (right > 0 && bottom > 0)
            BitBlt(dc, 0, 0, right, bottom, source.Get(), origin.x, origin.y, SRCCOPY);
    }
    // Then the surfaces of the picture boxes the control stands in, the outermost first.
    std::vector<const ControlState*> chain;
    for (int up = state.container; up >= 0 && chain.size() < form.controls.size();
         up = form.controls[up]->container) {
        chain.push_back(form.controls[up].get());
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const ControlState& box = **it;
        if (box.desc->kind != ControlKind::PictureBox || box.hwnd == nullptr) continue;
        POINT offset{0, 0};
        MapWindowPoints(state.hwnd, box.hwnd, &offset, 1);
        RECT boxClient{};
        GetClientRect(box.hwnd, &boxClient);
        PaintPictureBoxSurface(box, dc, -offset.x, -offset.y, boxClient.right, boxClient.bottom);
    }
}

void PaintPictureBoxSurface(const ControlState& state, HDC dc, int x, int y, int width,
                            int height) {
    if (state.backColour != CLR_INVALID)
        FillColour(dc, RECT{x, y, x + width, y + height}, state.backColour);
    if (!state.picture) return;
    // A picture smaller than the box stands in its middle; a larger one from its top left.
    int left = x + std::max(0, (width - state.picture->Width()) / 2);
    int top = y + std::max(0, (height - state.picture->Height()) / 2);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, x, y, x + width, y + height);
    state.picture->Draw(dc, left, top);
    RestoreDC(dc, saved);
}

void DrawPictureButton(const ControlState& state, const DRAWITEMSTRUCT& item) {
    int width = item.rcItem.right - item.rcItem.left, height = item.rcItem.bottom - item.rcItem.top;
    BufferedPaint buffer(item.hDC, width, height);
    HDC dc = buffer.Get();
    PaintBackdrop(state, dc, width, height);
    const Picture* picture = state.buttonNormal.get();
    BYTE opacity = 255;
    int shift = 0;
    if ((item.itemState & ODS_DISABLED) != 0) {
        if (state.buttonDisabled) {
            picture = state.buttonDisabled.get();
        } else {
            opacity = kFadedOpacity;
        }
    } else if ((item.itemState & ODS_SELECTED) != 0) {
        if (state.buttonPressed) {
            picture = state.buttonPressed.get();
        } else {
            if (state.buttonHover) picture = state.buttonHover.get();
            shift = 1;  // no pressed picture: the picture sinks by a pixel
        }
    } else if (state.hovering && state.buttonHover) {
        picture = state.buttonHover.get();
    }
    if (picture == nullptr) return;
    picture->Draw(dc, (width - picture->Width()) / 2 + shift,
                  (height - picture->Height()) / 2 + shift, opacity);
}

void DrawColourPicker(const ControlState& state, const DRAWITEMSTRUCT& item) {
    int width = item.rcItem.right - item.rcItem.left, height = item.rcItem.bottom - item.rcItem.top;
    BufferedPaint buffer(item.hDC, width, height);
    HDC dc = buffer.Get();
    bool enabled = (item.itemState & ODS_DISABLED) == 0;
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    if (state.form->desc.frameless) {
        FrameColour(dc, all, kFlatBorderColour);
    } else {
        RECT edge = all;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }
    // A drop arrow on the right says that a click offers other colours.
    constexpr int kArrowWidth = 14;
    int arrowX = width - kArrowWidth / 2 - 3, arrowY = height / 2 - 1;
    COLORREF arrowColour = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    for (int row = 0; row < 3; ++row) {
        RECT line{arrowX - 2 + row, arrowY + row, arrowX + 3 - row, arrowY + row + 1};
        FillColour(dc, line, arrowColour);
    }
    int shift = (item.itemState & ODS_SELECTED) != 0 ? 1 : 0;
    RECT swatch{4 + shift, 4 + shift, width - kArrowWidth - 3 + shift, height - 4 + shift};
    if (swatch.right > swatch.left && swatch.bottom > swatch.top) {
        FillColour(dc, swatch, state.colour);
        FrameColour(dc, swatch, enabled ? RGB(0x40, 0x40, 0x40) : GetSysColor(COLOR_GRAYTEXT));
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus{2, 2, width - kArrowWidth - 1, height - 2};
        DrawFocusRect(dc, &focus);
    }
}

HBRUSH BackdropBrush(ControlState& state) {
    const Window::Impl& form = *state.form;
    RECT client{};
    GetClientRect(state.hwnd, &client);
    POINT origin{0, 0};
    MapWindowPoints(state.hwnd, form.hwnd, &origin, 1);
    RECT place{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    if (state.brush && EqualRect(&place, &state.brushPlace) &&
        state.brushGeneration == form.backdropGeneration) {
        return state.brush.Get();
    }
    WindowDc screen(nullptr);
    GdiBitmap bitmap(CreateCompatibleBitmap(screen.Get(), std::max<LONG>(1, client.right),
                                            std::max<LONG>(1, client.bottom)));
    {
        OwnedDc memory(CreateCompatibleDC(screen.Get()));
        ObjectSelection selected(memory.Get(), bitmap.Get());
        PaintBackdrop(state, memory.Get(), client.right, client.bottom);
    }
    state.brush.Reset(CreatePatternBrush(bitmap.Get()));
    state.brushBitmap = std::move(bitmap);
    state.brushPlace = place;
    state.brushGeneration = form.backdropGeneration;
    return state.brush.Get();
}

void ShowAnimationFrame(ControlState& state, int frame) {
    if (!state.picture || !state.picture->ShowFrame(frame)) return;
    if (state.hwnd == nullptr) return;
    if (state.hasChildren) {
        state.form->SurfaceChanged(state);
    } else {
        InvalidateRect(state.hwnd, nullptr, FALSE);
    }
}

void UpdateAnimation(ControlState& state) {
    if (state.hwnd == nullptr || state.desc->kind != ControlKind::PictureBox) return;
    if (state.playAnimation && state.picture && state.picture->Animated()) {
        SetTimer(state.hwnd, kAnimationTimer,
                 static_cast<UINT>(state.picture->FrameDelay(state.picture->Frame())), nullptr);
    } else {
        KillTimer(state.hwnd, kAnimationTimer);
    }
}

void RegisterControlClasses(HINSTANCE instance) {
    RegisterRuntimeClass(instance, kLabelClass, LabelProc);
    RegisterRuntimeClass(instance, kPictureBoxClass, PictureBoxProc);
    RegisterRuntimeClass(instance, kShapeBoxClass, FrameBoxProc<PaintShapeBox>);
    RegisterRuntimeClass(instance, kGroupBoxClass, FrameBoxProc<PaintGroupBox>);
}

void InstallSubclasses(ControlState& state) {
    switch (state.desc->kind) {
        case ControlKind::Edit:
        case ControlKind::ListBox:
        case ControlKind::ListView:
        case ControlKind::PictureButton:
        case ControlKind::ColourPicker:
            SetWindowSubclass(state.hwnd, ControlSubclass, kSubclassId,
                              reinterpret_cast<DWORD_PTR>(&state));
            break;
        default:
            break;
    }
}

}  // namespace forms::detail
