// Form windows: building a window and its controls from a form description, the window
// procedure, event dispatch and modal showing.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "forms/runtime/form.h"
#include "forms/runtime/form_rules.h"
#include "forms/runtime/modal.h"
#include "forms/runtime/runtime_internal.h"

namespace forms {

using detail::ControlState;

namespace {

bool IsContainer(ControlKind kind) {
    return kind == ControlKind::PictureBox || kind == ControlKind::ShapeBox ||
           kind == ControlKind::GroupBox;
}

bool IsWindowless(ControlKind kind) {
    return kind == ControlKind::Timer || kind == ControlKind::CommonDialog;
}

void ReportUnknownName(const char* name) {
    std::string message = "forms: no control named \"";
    message += name != nullptr ? name : "(null)";
    message += "\"\n";
    OutputDebugStringA(message.c_str());
    if (IsDebuggerPresent()) DebugBreak();
}

// The area a window of the form is centred on: its owner when that is on view, otherwise the
// work area of the screen; and the work area it must stay inside.
void CentringAreas(HWND owner, RECT* area, RECT* bounds) {
    HMONITOR monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        *bounds = info.rcWork;
    } else {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, bounds, 0);
    }
    *area = *bounds;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, area);
}

POINT CentredPosition(HWND owner, int width, int height) {
    RECT area{}, bounds{};
    CentringAreas(owner, &area, &bounds);
    return POINT{CentredOrigin(width, {area.left, area.right - area.left},
                               {bounds.left, bounds.right - bounds.left}),
                 CentredOrigin(height, {area.top, area.bottom - area.top},
                               {bounds.top, bounds.bottom - bounds.top})};
}

bool AncestorsEnabled(HWND control, HWND form) {
    for (HWND h = control; h != nullptr && h != form; h = GetParent(h)) {
        if (!IsWindowEnabled(h)) return false;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Window::Impl: building

Window::Impl::Impl(Window* owner, const FormDesc& formDesc) : window(owner), desc(formDesc) {
    const std::vector<ControlDesc>& list = desc.controls;
    controls.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto state = std::make_unique<ControlState>();
        state->form = this;
        state->index = static_cast<int>(i);
        state->desc = &list[i];
        controls.push_back(std::move(state));
    }
    // Containers: only picture boxes, shape boxes and group boxes hold controls; a name that is
    // unknown, no container or part of a loop leaves the control on the window.
    for (auto& state : controls) {
        int container = state->desc->container != nullptr ? IndexOf(state->desc->container) : -1;
        if (container < 0 || container == state->index || !IsContainer(list[container].kind))
            continue;
        bool loops = false;
        for (int up = container, steps = 0; up >= 0; up = controls[up]->container, ++steps) {
            if (up == state->index || steps > static_cast<int>(list.size())) {
                loops = true;
                break;
            }
        }
        if (loops) continue;
        state->container = container;
        controls[container]->hasChildren = true;
    }
    // Radio groups: consecutive radio buttons of one container, a new group at kGroupStart.
    std::vector<std::pair<int, int>> open;  // container -> first radio of the open group
    auto groupOf = [&](int container) -> int& {
        for (auto& entry : open) {
            if (entry.first == container) return entry.second;
        }
        open.emplace_back(container, -1);
        return open.back().second;
    };
    for (auto& state : controls) {
        ControlKind kind = state->desc->kind;
        if (IsWindowless(kind)) continue;
        int& group = groupOf(state->container);
        if (kind != ControlKind::RadioButton) {
            group = -1;
            continue;
        }
        if (group < 0 || (state->desc->flags & kGroupStart) != 0) group = state->index;
        state->radioGroup = group;
    }
}

int Window::Impl::IndexOf(const char* name) const {
    if (name == nullptr) return -1;
    for (std::size_t i = 0; i < desc.controls.size(); ++i) {
        const char* candidate = desc.controls[i].name;
        if (candidate != nullptr && std::strcmp(candidate, name) == 0) return static_cast<int>(i);
    }
    return -1;
}

ControlState* Window::Impl::State(const char* name) {
    int index = IndexOf(name);
    if (index < 0) {
        ReportUnknownName(name);
        return nullptr;
    }
    return controls[index].get();
}

bool Window::Impl::CreateWindowFrame(HWND owner) {
    DWORD style = WS_CLIPCHILDREN | (desc.minimizeBox ? WS_MINIMIZEBOX : 0);
    style |= desc.frameless ? WS_POPUP : (WS_CAPTION | WS_SYSMENU);
    DWORD exStyle = WS_EX_CONTROLPARENT;
    if (desc.showInTaskbar && owner == nullptr) exStyle |= WS_EX_APPWINDOW;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (desc.centred) {
        POINT at = CentredPosition(owner, desc.width, desc.height);
        x = at.x;
        y = at.y;
    }
    HWND created = CreateWindowExA(
        exStyle, detail::kFormClass, desc.caption != nullptr ? desc.caption : "", style, x, y,
        desc.width, desc.height, owner, nullptr, detail::Instance(), this);
    return created != nullptr;
}

void Window::Impl::RenderBackdrop() {
    RECT client{};
    GetClientRect(hwnd, &client);
    int width = std::max<int>(1, client.right), height = std::max<int>(1, client.bottom);
    background = detail::ResourcePicture(desc.background);
    WindowDc screen(nullptr);
    backdrop.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
    OwnedDc memory(CreateCompatibleDC(screen.Get()));
    ObjectSelection selected(memory.Get(), backdrop.Get());
    RECT all{0, 0, width, height};
    FillRect(memory.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    if (background) background->Draw(memory.Get(), 0, 0);
    ++backdropGeneration;
}

void Window::Impl::CreateControls() {
    std::vector<char> made(controls.size(), 0);
    // A container is made before the controls it holds.
    std::function<void(int)> make = [&](int index) {
        if (made[index]) return;
        made[index] = 1;
        if (controls[index]->container >= 0) make(controls[index]->container);
        CreateControl(*controls[index]);
    };
    for (std::size_t i = 0; i < controls.size(); ++i) make(static_cast<int>(i));
}

void Window::Impl::CreateControl(ControlState& state) {
    const ControlDesc& d = *state.desc;
    // What code may change later starts again from the description at every creation.
    state.textColour = d.textColour;
    state.backColour = d.backColour;
    state.colour = d.backColour != CLR_INVALID ? d.backColour : 0;
    state.playAnimation = (d.flags & kAnimate) != 0;
    state.period = std::max(0, d.interval);
    state.disabled = (d.flags & kDisabled) != 0;
    state.text = d.text != nullptr ? d.text : "";
    state.hovering = false;
    state.timerRunning = false;
    if (IsWindowless(d.kind)) return;

    ControlKind containerKind =
        state.container >= 0 ? controls[state.container]->desc->kind : ControlKind::Label;
    HWND parent = state.container >= 0 ? controls[state.container]->hwnd : hwnd;
    if (parent == nullptr) return;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | d.extraStyle;
    if ((d.flags & kHidden) == 0) style |= WS_VISIBLE;
    if ((d.flags & kDisabled) != 0) style |= WS_DISABLED;
    DWORD exStyle = 0;
    // Boxes that take input get a border: flat on a skinned window, sunken on a normal one, and
    // none inside a shape box, whose frame is theirs.
    auto bordered = [&] {
        if (state.container >= 0 && containerKind == ControlKind::ShapeBox) return;
        if (desc.frameless) {
            style |= WS_BORDER;
        } else {
            exStyle |= WS_EX_CLIENTEDGE;
        }
    };
    const char* className = "BUTTON";
    int height = d.height;
    switch (d.kind) {
        case ControlKind::Label:
            className = detail::kLabelClass;
            break;
        case ControlKind::PictureButton:
            style |= BS_OWNERDRAW;
            break;
        case ControlKind::PictureBox:
            className = detail::kPictureBoxClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::ShapeBox:
            className = detail::kShapeBoxClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::GroupBox:
            className = detail::kGroupBoxClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::CheckBox:
            style |= BS_AUTOCHECKBOX | WS_TABSTOP;
            break;
        case ControlKind::RadioButton:
            // Checked by the runtime, which knows the groups from the description.
            style |= BS_RADIOBUTTON | WS_TABSTOP;
            break;
        case ControlKind::ComboList:
            className = "COMBOBOX";
            style |= CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP;
            if ((d.flags & kSorted) != 0) style |= CBS_SORT;
            height += 240;  // room for the dropped list
            break;
        case ControlKind::Edit:
            className = "EDIT";
            style |= ES_AUTOHSCROLL | WS_TABSTOP;
            if ((d.flags & kReadOnly) != 0) style |= ES_READONLY;
            bordered();
            break;
        case ControlKind::ListBox:
            className = "LISTBOX";
            style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
            bordered();
            break;
        case ControlKind::ListView:
            className = WC_LISTVIEWA;
            style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP;
            bordered();
            break;
        case ControlKind::Button:
            style |= BS_PUSHBUTTON | WS_TABSTOP;
            break;
        case ControlKind::ColourPicker:
            style |= BS_OWNERDRAW | WS_TABSTOP;
            break;
        case ControlKind::Timer:
        case ControlKind::CommonDialog:
            return;
    }
    const char* caption = d.kind == ControlKind::ComboList || d.kind == ControlKind::ListBox ||
                                  d.kind == ControlKind::ListView
                              ? ""
                              : state.text.c_str();
    HWND control = CreateWindowExA(
        exStyle, className, caption, style, d.x, d.y, d.width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(detail::kControlIdBase + state.index)),
        detail::Instance(), nullptr);
    if (control == nullptr) return;
    state.hwnd = control;
    detail::Attach(control, &state);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(detail::ControlFont()), FALSE);

    switch (d.kind) {
        case ControlKind::Label:
            state.picture = detail::ResourcePicture(d.picture);
            break;
        case ControlKind::PictureBox:
            state.picture = detail::ResourceAnimation(d.picture);
            detail::UpdateAnimation(state);
            break;
        case ControlKind::PictureButton:
            if (d.picture != nullptr) {
                std::string base = d.picture;
                state.buttonNormal = detail::ResourcePicture((base + "_normal").c_str());
                state.buttonHover = detail::ResourcePicture((base + "_hover").c_str());
                state.buttonPressed = detail::ResourcePicture((base + "_pressed").c_str());
                state.buttonDisabled = detail::ResourcePicture((base + "_disabled").c_str());
            }
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            if ((d.flags & kChecked) != 0) SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
            break;
        case ControlKind::ComboList: {
            for (const char* item : d.items)
                SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item ? item : ""));
            SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(d.selected), 0);
            // The closed box takes the height of the description: its selection field grows or
            // shrinks by the difference (down to the least height the font allows).
            RECT closed{};
            GetWindowRect(control, &closed);
            int difference = d.height - (closed.bottom - closed.top);
            LRESULT itemHeight =
                SendMessageA(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            if (difference != 0 && itemHeight != CB_ERR && itemHeight + difference > 0) {
                SendMessageA(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                             itemHeight + difference);
            }
            break;
        }
        case ControlKind::ListBox:
            for (const char* item : d.items) {
                SendMessageA(control, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(item ? item : ""));
            }
            if (d.selected >= 0)
                SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(d.selected), 0);
            break;
        case ControlKind::ListView: {
            SendMessageA(control, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                         static_cast<LPARAM>(d.listViewExStyle));
            if (d.backColour != CLR_INVALID) {
                SendMessageA(control, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(d.backColour));
                SendMessageA(control, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(d.backColour));
                SendMessageA(control, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(d.textColour));
            }
            int column = 0;
            for (const ListViewColumn& c : d.columns) {
                LVCOLUMNA info{};
                info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
                info.fmt = LVCFMT_LEFT;
                info.cx = c.width;
                info.pszText = const_cast<char*>(c.caption != nullptr ? c.caption : "");
                info.iSubItem = column;
                SendMessageA(control, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                             reinterpret_cast<LPARAM>(&info));
                ++column;
            }
            break;
        }
        default:
            break;
    }
    detail::InstallSubclasses(state);
}

void Window::Impl::ArrangeZOrder() {
    // A control declared later lies over the ones declared before it (so that a panel moved over
    // other controls covers them); labels lie under every other control, so that a control placed
    // on a label's text area stays whole and takes the clicks.
    constexpr UINT kKeep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW;
    for (auto& state : controls) {
        if (state->hwnd != nullptr && state->desc->kind != ControlKind::Label) {
            SetWindowPos(state->hwnd, HWND_TOP, 0, 0, 0, 0, kKeep);
        }
    }
    for (auto& state : controls) {
        if (state->hwnd != nullptr && state->desc->kind == ControlKind::Label) {
            SetWindowPos(state->hwnd, HWND_BOTTOM, 0, 0, 0, 0, kKeep);
        }
    }
}

void Window::Impl::StartTimers() {
    for (auto& state : controls) {
        if (state->desc->kind == ControlKind::Timer) ApplyTimer(*state);
    }
}

void Window::Impl::ApplyTimer(ControlState& state) {
    UINT_PTR id = static_cast<UINT_PTR>(detail::kControlIdBase + state.index);
    bool run = hwnd != nullptr && state.period > 0 && !state.disabled;
    if (run) {
        SetTimer(hwnd, id, static_cast<UINT>(state.period), nullptr);
        state.timerRunning = true;
    } else if (state.timerRunning) {
        if (hwnd != nullptr) KillTimer(hwnd, id);
        state.timerRunning = false;
    }
}

// ---------------------------------------------------------------------------------------------
// Focus

void Window::Impl::MoveFocus(HWND from, bool backwards) {
    auto focusable = [&](const ControlState& s) {
        if (s.hwnd == nullptr) return false;
        if ((GetWindowLongA(s.hwnd, GWL_STYLE) & WS_TABSTOP) == 0) return false;
        return IsWindowVisible(s.hwnd) && AncestorsEnabled(s.hwnd, hwnd);
    };
    // A radio group is one stop: its checked button, or its first one when none is checked.
    auto stop = [&](const ControlState& s) {
        if (!focusable(s)) return false;
        if (s.desc->kind != ControlKind::RadioButton) return true;
        if (SendMessageA(s.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) return true;
        for (auto& other : controls) {
            if (other->radioGroup != s.radioGroup || !focusable(*other)) continue;
            if (SendMessageA(other->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) return false;
        }
        for (auto& other : controls) {
            if (other->radioGroup == s.radioGroup && focusable(*other)) return other.get() == &s;
        }
        return false;
    };
    int count = static_cast<int>(controls.size());
    if (count == 0) return;
    int current = -1;
    for (int i = 0; i < count; ++i) {
        HWND h = controls[i]->hwnd;
        if (h != nullptr && from != nullptr && (h == from || IsChild(h, from))) current = i;
    }
    int step = backwards ? -1 : 1;
    int start = current >= 0 ? current : (backwards ? 0 : count - 1);
    for (int n = 1; n <= count; ++n) {
        int i = ((start + step * n) % count + count) % count;
        ControlState& candidate = *controls[i];
        if (!stop(candidate)) continue;
        SetFocus(candidate.hwnd);
        if (candidate.desc->kind == ControlKind::Edit)
            SendMessageA(candidate.hwnd, EM_SETSEL, 0, -1);
        return;
    }
}

void Window::Impl::FocusFirstControl() {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd, focus)) return;  // the created handler chose already
    MoveFocus(nullptr, false);
}

namespace detail {

bool PreTranslate(MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    Window::Impl* form = FormOf(GetAncestor(message.hwnd, GA_ROOT));
    if (form == nullptr) return false;
    LRESULT wants =
        SendMessageA(message.hwnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&message));
    if ((wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0) return false;
    form->MoveFocus(message.hwnd, GetKeyState(VK_SHIFT) < 0);
    return true;
}

}  // namespace detail

// ---------------------------------------------------------------------------------------------
// Window::Impl: events

ControlState& Window::Impl::Target(int index) {
    int redirect = controls[index]->redirect;
    return *controls[redirect >= 0 ? redirect : index];
}

void Window::Impl::RaiseClick(int index) {
    Handler handler = Target(index).click;
    if (handler) detail::Guarded(handler);
}

void Window::Impl::RaiseItemSelected(int index) {
    Handler handler = Target(index).itemSelected;
    if (handler) detail::Guarded(handler);
}

void Window::Impl::RaiseKeyPressed(int index, int virtualKey) {
    KeyHandler handler = Target(index).keyPressed;
    if (handler) detail::Guarded([&] { handler(virtualKey); });
}

void Window::Impl::RaiseLeftMouseDown(int index, int x, int y) {
    MouseHandler handler = Target(index).leftMouseDown;
    if (handler) detail::Guarded([&] { handler(x, y); });
}

void Window::Impl::RaiseColourChanged(int index) {
    Handler handler = Target(index).colourChanged;
    if (handler) detail::Guarded(handler);
}

void Window::Impl::RaiseTimer(int index) {
    Handler handler = Target(index).timer;
    if (handler) detail::Guarded(handler);
}

void Window::Impl::CheckRadio(int index) {
    ControlState& chosen = *controls[index];
    for (auto& other : controls) {
        if (other->hwnd == nullptr || other->desc->kind != ControlKind::RadioButton) continue;
        if (other.get() == &chosen) {
            SendMessageA(other->hwnd, BM_SETCHECK, BST_CHECKED, 0);
        } else if (chosen.radioGroup >= 0 && other->radioGroup == chosen.radioGroup) {
            SendMessageA(other->hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

void Window::Impl::ChooseColour(ControlState& state) {
    std::optional<COLORREF> chosen;
    detail::Guarded([&] { chosen = Modal().ChooseColour(hwnd, state.colour); });
    if (!chosen || *chosen == state.colour) return;
    state.colour = *chosen;
    if (state.hwnd != nullptr) InvalidateRect(state.hwnd, nullptr, FALSE);
    RaiseColourChanged(state.index);
}

void Window::Impl::OnCommand(ControlState& state, int code) {
    switch (state.desc->kind) {
        case ControlKind::Button:
        case ControlKind::PictureButton:
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) RaiseClick(state.index);
            break;
        case ControlKind::RadioButton:
            if (code == BN_CLICKED) {
                CheckRadio(state.index);
                RaiseClick(state.index);
            }
            break;
        case ControlKind::ColourPicker:
            if (code == BN_CLICKED) ChooseColour(state);
            break;
        case ControlKind::ComboList:
            if (code == CBN_SELCHANGE) RaiseItemSelected(state.index);
            break;
        case ControlKind::ListBox:
            if (code == LBN_SELCHANGE) RaiseItemSelected(state.index);
            break;
        default:
            break;
    }
}

void Window::Impl::OnNotify(ControlState& state, const NMHDR& header) {
    if (state.desc->kind == ControlKind::ListView && header.code == LVN_KEYDOWN) {
        RaiseKeyPressed(state.index, reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
    }
}

bool Window::Impl::HandleChildMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto ours = [&](HWND child) -> ControlState* {
        ControlState* state = detail::StateOf(child);
        return state != nullptr && state->form == this ? state : nullptr;
    };
    switch (message) {
        case WM_COMMAND: {
            ControlState* state = lParam != 0 ? ours(reinterpret_cast<HWND>(lParam)) : nullptr;
            if (state == nullptr) return false;
            OnCommand(*state, HIWORD(wParam));
            *result = 0;
            return true;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            ControlState* state = header != nullptr ? ours(header->hwndFrom) : nullptr;
            if (state == nullptr) return false;
            OnNotify(*state, *header);
            *result = 0;
            return true;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            ControlState* state = item != nullptr ? ours(item->hwndItem) : nullptr;
            if (state == nullptr) return false;
            if (state->desc->kind == ControlKind::PictureButton) {
                detail::DrawPictureButton(*state, *item);
            } else if (state->desc->kind == ControlKind::ColourPicker) {
                detail::DrawColourPicker(*state, *item);
            } else {
                return false;
            }
            *result = TRUE;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            ControlState* state = ours(reinterpret_cast<HWND>(lParam));
            if (state == nullptr) return false;
            ControlKind kind = state->desc->kind;
            if (kind != ControlKind::CheckBox && kind != ControlKind::RadioButton) return false;
            // Check boxes and radio buttons show what lies behind them (the window's picture).
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, state->textColour);
            *result = reinterpret_cast<LRESULT>(detail::BackdropBrush(*state));
            return *result != 0;
        }
        default:
            return false;
    }
}

void Window::Impl::SurfaceChanged(ControlState& container) {
    if (container.hwnd == nullptr) return;
    if (container.hasChildren) ++backdropGeneration;
    RedrawWindow(container.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Window::Impl::ReleasePictures() {
    for (auto& state : controls) {
        if (state->hwnd != nullptr && state->desc->kind == ControlKind::PictureBox) {
            KillTimer(state->hwnd, detail::kAnimationTimer);
        }
        state->picture.reset();
        state->buttonNormal.reset();
        state->buttonHover.reset();
        state->buttonPressed.reset();
        state->buttonDisabled.reset();
    }
    background.reset();
}

LRESULT Window::Impl::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND self = hwnd;
    LRESULT handled = 0;
    if (HandleChildMessage(message, wParam, lParam, &handled)) return handled;
    switch (message) {
        case WM_NCHITTEST: {
            // A skinned window is dragged by its own surface, as by a title bar.
            LRESULT hit = DefWindowProcA(self, message, wParam, lParam);
            return desc.frameless && hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_ERASEBKGND:
        case WM_PRINTCLIENT: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            RECT client{};
            GetClientRect(self, &client);
            if (backdrop) {
                OwnedDc source(CreateCompatibleDC(dc));
                ObjectSelection selected(source.Get(), backdrop.Get());
                BitBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
            } else {
                FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            }
            return 1;
        }
        case WM_PAINT: {
            PaintCycle paint(self);
            return 0;
        }
        case WM_TIMER: {
            int index = static_cast<int>(wParam) - detail::kControlIdBase;
            if (index >= 0 && index < static_cast<int>(controls.size()) &&
                controls[index]->desc->kind == ControlKind::Timer) {
                RaiseTimer(index);
                return 0;
            }
            break;
        }
        case WM_ACTIVATE:
            // Keep the focused control across deactivation, as dialogs do.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                savedFocus = focus != nullptr && IsChild(self, focus) ? focus : nullptr;
                return 0;
            }
            if (HIWORD(wParam) == 0 && savedFocus != nullptr && IsWindow(savedFocus) &&
                IsChild(self, savedFocus) && IsWindowVisible(savedFocus) &&
                AncestorsEnabled(savedFocus, self)) {
                SetFocus(savedFocus);
                return 0;
            }
            break;
        case WM_DESTROY: {
            // The owner of a modal window takes input again before this one goes, so that the
            // activation falls back to it.
            if (modalOwner != nullptr && IsWindow(modalOwner)) EnableWindow(modalOwner, TRUE);
            for (auto& state : controls) {
                if (state->desc->kind == ControlKind::Timer) {
                    KillTimer(self, static_cast<UINT_PTR>(detail::kControlIdBase + state->index));
                    state->timerRunning = false;
                }
            }
            Handler handler = destroying;
            if (handler) detail::Guarded(handler);
            return 0;
        }
        case WM_NCDESTROY: {
            detail::DetachForm(self);
            hwnd = nullptr;
            window->hwnd_ = nullptr;
            for (auto& state : controls) {
                state->hwnd = nullptr;
                state->brush.Reset();
                state->brushBitmap.Reset();
            }
            backdrop.Reset();
            savedFocus = nullptr;
            if (window->quitOnDestroy_) PostQuitMessage(0);
            return DefWindowProcA(self, message, wParam, lParam);
        }
        default:
            break;
    }
    return DefWindowProcA(self, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Window

Window::Window(const FormDesc& desc) : desc_(desc), impl_(std::make_unique<Impl>(this, desc)) {
    detail::RegisterLiveWindow(impl_.get());
}

Window::~Window() {
    Destroy();
    impl_->ReleasePictures();
    detail::UnregisterLiveWindow(impl_.get());
}

void Window::OnClick(const char* control, Handler handler) {
    if (ControlState* state = impl_->State(control)) state->click = std::move(handler);
}

void Window::OnItemSelected(const char* control, Handler handler) {
    if (ControlState* state = impl_->State(control)) state->itemSelected = std::move(handler);
}

void Window::OnKeyPressed(const char* control, KeyHandler handler) {
    if (ControlState* state = impl_->State(control)) state->keyPressed = std::move(handler);
}

void Window::OnLeftMouseDown(const char* control, MouseHandler handler) {
    if (ControlState* state = impl_->State(control)) state->leftMouseDown = std::move(handler);
}

void Window::OnColourChanged(const char* control, Handler handler) {
    if (ControlState* state = impl_->State(control)) state->colourChanged = std::move(handler);
}

void Window::OnTimer(const char* control, Handler handler) {
    if (ControlState* state = impl_->State(control)) state->timer = std::move(handler);
}

void Window::OnCreated(Handler handler) { impl_->created = std::move(handler); }

void Window::OnDestroying(Handler handler) { impl_->destroying = std::move(handler); }

void Window::Redirect(const char* from, const char* to) {
    ControlState* source = impl_->State(from);
    ControlState* target = impl_->State(to);
    if (source != nullptr && target != nullptr)
        source->redirect = target->index == source->index ? -1 : target->index;
}

bool Window::Create(HWND owner) {
    if (Exists()) return true;
    if (!impl_->CreateWindowFrame(owner)) return false;
    hwnd_ = impl_->hwnd;
    impl_->RenderBackdrop();
    impl_->CreateControls();
    impl_->ArrangeZOrder();
    impl_->StartTimers();
    Handler created = impl_->created;
    if (created) detail::Guarded(created);
    if (!Exists()) return false;
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    impl_->FocusFirstControl();
    return true;
}

void Window::ShowModal(HWND owner) {
    if (Exists()) return;
    // Only an owner that takes input now is disabled, and given back its input afterwards.
    HWND disabledOwner =
        owner != nullptr && IsWindow(owner) && IsWindowEnabled(owner) ? owner : nullptr;
    if (disabledOwner != nullptr) EnableWindow(disabledOwner, FALSE);
    impl_->modalOwner = disabledOwner;
    if (Create(owner)) {
        MSG message{};
        while (Exists()) {
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) {
                // The program is asked to end: close this window and let the outer loop see it.
                PostQuitMessage(static_cast<int>(message.wParam));
                Destroy();
                break;
            }
            if (got == -1) break;
            detail::DispatchOne(message);
        }
    }
    impl_->modalOwner = nullptr;
    if (disabledOwner != nullptr && IsWindow(disabledOwner)) {
        EnableWindow(disabledOwner, TRUE);
        SetActiveWindow(disabledOwner);
    }
}

void Window::Destroy() {
    if (Exists()) DestroyWindow(hwnd_);
}

Control Window::operator[](const char* name) {
    Control control = Find(name);
    if (!control) ReportUnknownName(name);
    return control;
}

Control Window::Find(const char* name) {
    int index = impl_->IndexOf(name);
    return index >= 0 ? Control(this, index) : Control();
}

int Window::DisplayState() const {
    if (!Exists()) return 0;
    if (IsIconic(hwnd_)) return 2;
    if (IsZoomed(hwnd_)) return 3;
    return 0;
}

void Window::SetDisplayState(int state) {
    if (!Exists()) return;
    switch (state) {
        case 1: {
            if (IsIconic(hwnd_) || IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
            RECT outer{};
            GetWindowRect(hwnd_, &outer);
            POINT at = CentredPosition(GetWindow(hwnd_, GW_OWNER), outer.right - outer.left,
                                       outer.bottom - outer.top);
            SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case 2:
            ShowWindow(hwnd_, SW_MINIMIZE);
            break;
        case 3:
            ShowWindow(hwnd_, SW_MAXIMIZE);
            break;
        default:
            if (IsIconic(hwnd_) || IsZoomed(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
            break;
    }
}

}  // namespace forms
