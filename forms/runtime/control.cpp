// The thin control wrappers: each property or operation is one or two messages to the control.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "forms/runtime/form.h"
#include "forms/runtime/modal.h"
#include "forms/runtime/runtime_internal.h"

namespace forms {

using detail::ControlState;

namespace {

const ControlDesc& NoDesc() {
    static const ControlDesc none{"", ControlKind::Label};
    return none;
}

std::string ListViewCell(HWND listView, int row, int column) {
    std::string text(256, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = &text[0];
        item.cchTextMax = static_cast<int>(text.size());
        int length = static_cast<int>(SendMessageA(
            listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length < static_cast<int>(text.size()) - 1 || text.size() >= (1u << 20)) {
            text.resize(static_cast<std::size_t>(std::max(0, length)));
            return text;
        }
        text.resize(text.size() * 4);
    }
}

}  // namespace

HWND Control::Hwnd() const {
    return window_ != nullptr ? window_->impl_->controls[index_]->hwnd : nullptr;
}

const ControlDesc& Control::Desc() const {
    return window_ != nullptr ? window_->desc_.controls[index_] : NoDesc();
}

// The runtime's state of this control; only called on a non-empty Control.
static ControlState& StateOf(Window* window, int index) { return *window->impl().controls[index]; }

bool Control::Checked() const { return Hwnd() != nullptr && Send(BM_GETCHECK) == BST_CHECKED; }

void Control::SetChecked(bool on) const {
    if (Hwnd() == nullptr) return;
    if (on && Desc().kind == ControlKind::RadioButton) {
        window_->impl().CheckRadio(
            index_);  // its group's other buttons go off, as a click would do
    } else {
        Send(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
    }
}

bool Control::Disabled() const {
    if (window_ == nullptr) return false;
    HWND hwnd = Hwnd();
    return hwnd != nullptr ? !IsWindowEnabled(hwnd) : StateOf(window_, index_).disabled;
}

void Control::SetDisabled(bool off) const {
    if (window_ == nullptr) return;
    ControlState& state = StateOf(window_, index_);
    state.disabled = off;
    if (state.hwnd != nullptr) {
        EnableWindow(state.hwnd, off ? FALSE : TRUE);
    } else if (Desc().kind == ControlKind::Timer) {
        window_->impl().ApplyTimer(state);
    }
}

bool Control::Visible() const {
    HWND hwnd = Hwnd();
    return hwnd != nullptr && (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool on) const {
    HWND hwnd = Hwnd();
    if (hwnd != nullptr) ShowWindow(hwnd, on ? SW_SHOWNA : SW_HIDE);
}

std::string Control::Text() const {
    if (window_ == nullptr) return {};
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return StateOf(window_, index_).text;
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return text;
}

void Control::SetText(const std::string& text) const {
    if (window_ == nullptr) return;
    StateOf(window_, index_).text = text;
    if (HWND hwnd = Hwnd()) SetWindowTextA(hwnd, text.c_str());
}

int Control::Left() const {
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return Desc().x;
    RECT place{};
    GetWindowRect(hwnd, &place);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&place), 2);
    return place.left;
}

int Control::Top() const {
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return Desc().y;
    RECT place{};
    GetWindowRect(hwnd, &place);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&place), 2);
    return place.top;
}

void Control::Move(int left, int top) const {
    HWND hwnd = Hwnd();
    if (hwnd == nullptr) return;
    // Not copied along: what shows through a control depends on where it stands.
    SetWindowPos(hwnd, nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Control::SetTextColour(COLORREF colour) const {
    if (window_ == nullptr) return;
    StateOf(window_, index_).textColour = colour;
    if (HWND hwnd = Hwnd()) InvalidateRect(hwnd, nullptr, FALSE);
}

COLORREF Control::TextColour() const {
    return window_ != nullptr ? StateOf(window_, index_).textColour : 0;
}

int Control::Selected() const {
    if (Hwnd() == nullptr) return -1;
    LRESULT index = Desc().kind == ControlKind::ListBox ? Send(LB_GETCURSEL) : Send(CB_GETCURSEL);
    return index < 0 ? -1 : static_cast<int>(index);
}

void Control::SetSelected(int index) const {
    if (Hwnd() == nullptr) return;
    Send(Desc().kind == ControlKind::ListBox ? LB_SETCURSEL : CB_SETCURSEL,
         static_cast<WPARAM>(index));
}

int Control::ItemCount() const {
    if (Hwnd() == nullptr) return 0;
    LRESULT count = Desc().kind == ControlKind::ListBox ? Send(LB_GETCOUNT) : Send(CB_GETCOUNT);
    return count < 0 ? 0 : static_cast<int>(count);
}

std::string Control::ItemText(int index) const {
    if (Hwnd() == nullptr || index < 0) return {};
    bool listBox = Desc().kind == ControlKind::ListBox;
    LRESULT length = Send(listBox ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    LRESULT copied = Send(listBox ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, copied)));
    return text;
}

int Control::SelectPrefix(const std::string& prefix) const {
    if (Hwnd() == nullptr) return -1;
    bool listBox = Desc().kind == ControlKind::ListBox;
    LRESULT index = Send(listBox ? LB_SELECTSTRING : CB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(prefix.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

void Control::AddItem(const std::string& text) const {
    if (Hwnd() == nullptr) return;
    if (Desc().kind == ControlKind::ListBox) {
        Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    } else {
        Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void Control::ClearItems() const {
    if (Hwnd() == nullptr) return;
    Send(Desc().kind == ControlKind::ListBox ? LB_RESETCONTENT : CB_RESETCONTENT);
}

int Control::AppendLine(const std::string& text) const {
    if (Hwnd() == nullptr) return -1;
    LRESULT index =
        Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return -1;
    Send(LB_SETCURSEL, static_cast<WPARAM>(index));  // also scrolls the new line into view
    return static_cast<int>(index);
}

int Control::RowCount() const {
    if (Hwnd() == nullptr) return 0;
    return static_cast<int>(Send(LVM_GETITEMCOUNT));
}

std::string Control::CellText(int row, int column) const {
    if (Hwnd() == nullptr || row < 0 || row >= RowCount() || column < 0) return {};
    return ListViewCell(Hwnd(), row, column);
}

int Control::InsertRow(int row, const std::string& text, int image) const {
    if (Hwnd() == nullptr) return -1;
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = std::max(0, row);
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void Control::SetCellText(int row, int column, const std::string& text) const {
    if (Hwnd() == nullptr) return;
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::vector<int> Control::SelectedRows() const {
    std::vector<int> rows;
    if (Hwnd() == nullptr) return rows;
    int row = -1;
    for (;;) {
        row = static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0 || (!rows.empty() && row <= rows.back())) break;
        rows.push_back(row);
    }
    return rows;
}

void Control::DeleteRow(int row) const {
    if (Hwnd() != nullptr) Send(LVM_DELETEITEM, static_cast<WPARAM>(row));
}

void Control::DeleteAllRows() const {
    if (Hwnd() != nullptr) Send(LVM_DELETEALLITEMS);
}

void Control::SetPictureBytes(const std::vector<unsigned char>& bytes) const {
    if (window_ == nullptr) return;
    ControlState& state = StateOf(window_, index_);
    state.picture =
        detail::Picture::Decode(bytes.data(), bytes.size(), Desc().kind == ControlKind::PictureBox);
    detail::UpdateAnimation(state);
    window_->impl().SurfaceChanged(state);
}

void Control::ClearPicture() const {
    if (window_ == nullptr) return;
    ControlState& state = StateOf(window_, index_);
    state.picture.reset();
    detail::UpdateAnimation(state);
    window_->impl().SurfaceChanged(state);
}

void Control::SetBackColour(COLORREF colour) const {
    if (window_ == nullptr) return;
    ControlState& state = StateOf(window_, index_);
    state.backColour = colour;
    window_->impl().SurfaceChanged(state);
}

COLORREF Control::BackColour() const {
    return window_ != nullptr ? StateOf(window_, index_).backColour : CLR_INVALID;
}

bool Control::PlayAnimation() const {
    return window_ != nullptr && StateOf(window_, index_).playAnimation;
}

void Control::SetPlayAnimation(bool on) const {
    if (window_ == nullptr) return;
    ControlState& state = StateOf(window_, index_);
    state.playAnimation = on;
    detail::UpdateAnimation(state);
}

void Control::SetPeriod(int milliseconds) const {
    if (window_ == nullptr) return;
    ControlState& state = StateOf(window_, index_);
    state.period = std::max(0, milliseconds);
    window_->impl().ApplyTimer(state);
}

int Control::Period() const { return window_ != nullptr ? StateOf(window_, index_).period : 0; }

COLORREF Control::Colour() const {
    return window_ != nullptr ? StateOf(window_, index_).colour : 0;
}

void Control::SetColour(COLORREF colour) const {
    if (window_ == nullptr) return;
    StateOf(window_, index_).colour = colour;
    if (HWND hwnd = Hwnd()) InvalidateRect(hwnd, nullptr, FALSE);
}

std::vector<std::string> Control::OpenFiles(bool multiSelect) const {
    if (window_ == nullptr) return {};
    OpenFileRequest request;
    request.owner = window_->Hwnd();
    request.title = StateOf(window_, index_).text;
    request.filter = Desc().filter != nullptr ? Desc().filter : "";
    request.multiSelect = multiSelect;
    request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return Modal().ChooseFilesToOpen(request);
}

}  // namespace forms
