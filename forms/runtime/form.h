// The form runtime: windows built from form descriptions, over real Win32 controls.
//
// A form description lists the window and each control (kind, form name, place, size, texts,
// items, initial state, container, pictures). A forms::Window owns the top-level HWND built from
// it; forms::Control is a thin, non-owning wrapper that code gets by the control's form name.
// Events (click, item selected, key pressed, left mouse pressed, colour changed, timer, created,
// about to be destroyed) are dispatched to handlers bound by form name; one control's events can
// be redirected to another control's handlers.
//
// All texts are ANSI texts of the system code page (936 here). No exception leaves a window
// procedure: handlers run inside a catch-all guard.
//
// Among controls of one container, a control declared later lies over the ones declared before
// it, and labels lie under all the others (they take no mouse input: presses go through them).
// Controls keep working when the program replaces a window procedure (SetWindowLongPtrA with
// GWLP_WNDPROC) and forwards to the previous one: the runtime finds its data by window property.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace forms {

enum class ControlKind {
    Label,          // static text; optional background picture; text colour
    PictureButton,  // button drawn from pictures: normal, hover, pressed, disabled
    PictureBox,     // picture (optionally an animated GIF that plays), background colour, container
    ShapeBox,       // a framed rectangle; container
    GroupBox,       // framed caption; container
    CheckBox,
    RadioButton,
    ComboList,      // drop-down list: pick, never type
    Edit,           // one-line edit box
    ListBox,
    ListView,       // report view
    Button,         // standard push button
    ColourPicker,   // swatch of a COLORREF; click chooses another colour
    Timer,          // no window; periodic event
    CommonDialog,   // no window; holds the open-file dialog's filter and title
};

// Style flags of a control description.
enum ControlFlag : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kReadOnly = 1u << 2,   // edit box
    kNumeric = 1u << 3,    // edit box: refuses every typed character but 0-9 and '-'
    kSorted = 1u << 4,     // combo list
    kChecked = 1u << 5,    // check box, radio button
    kGroupStart = 1u << 6, // first radio button of a group
    kAnimate = 1u << 7,    // picture box: play its animated picture
};

struct ListViewColumn {
    const char* caption;
    int width;
};

struct ControlDesc {
    const char* name;                 // form name, for example "按钮_开始转换"
    ControlKind kind;
    int x = 0, y = 0, width = 0, height = 0;  // relative to the container's client area
    const char* container = nullptr;  // form name of the containing control, or null: the window
    const char* text = nullptr;       // caption or initial text
    std::vector<const char*> items;   // combo list / list box items, in order
    int selected = -1;                // initially selected item
    unsigned flags = 0;               // ControlFlag bits
    // Pictures are names of embedded resources (RCDATA, PNG or GIF). A picture button takes
    // picture + "_normal", "_hover", "_pressed", "_disabled" (a missing hover or pressed picture
    // falls back to the normal one; a missing disabled one is the normal one faded); a label
    // takes its background picture from `picture`, drawn at its top left; a picture box shows
    // `picture` at its own size, centred when smaller than the box, and plays it when it is
    // animated and kAnimate is set. A missing resource leaves the control without its picture.
    const char* picture = nullptr;
    COLORREF textColour = 0;          // label, check box and radio button text colour
    // Picture box / label / shape box background, CLR_INVALID: none (what lies behind shows);
    // colour picker: its initial colour (CLR_INVALID: black); list view: its background and
    // text background, with textColour as its text colour (CLR_INVALID: the system's colours).
    COLORREF backColour = CLR_INVALID;
    int interval = 0;                 // timer period in milliseconds (0: stopped)
    DWORD listViewExStyle = 0;        // list view extended styles (LVS_EX_*)
    DWORD extraStyle = 0;             // further window style bits of the control
    std::vector<ListViewColumn> columns;  // list view columns
    const char* filter = nullptr;     // common dialog filter, "desc|patterns|desc|patterns";
                                      // its `text` is the dialog's title (empty: the default)
};

struct FormDesc {
    const char* caption;
    int width, height;          // outer size of the window in pixels
    bool frameless = false;     // no border, no caption: dragged by its own surface
    bool minimizeBox = false;
    bool centred = true;
    bool showInTaskbar = true;
    const char* background = nullptr;  // resource name of the window's background picture
    std::vector<ControlDesc> controls;
};

class Window;

// Non-owning handle on one control of a live window. Cheap to copy.
class Control {
public:
    Control() = default;
    Control(Window* window, int index) : window_(window), index_(index) {}

    explicit operator bool() const { return window_ != nullptr; }
    HWND Hwnd() const;
    const ControlDesc& Desc() const;
    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return SendMessageA(Hwnd(), msg, w, l); }
    void Focus() const { SetFocus(Hwnd()); }

    // Common properties. Setting the checked state by code raises no click; checking a radio
    // button clears the other buttons of its group.
    bool Checked() const;
    void SetChecked(bool on) const;
    bool Disabled() const;
    void SetDisabled(bool off) const;
    bool Visible() const;
    void SetVisible(bool on) const;
    std::string Text() const;
    void SetText(const std::string& text) const;
    int Left() const;                     // relative to the container's client area
    int Top() const;
    void Move(int left, int top) const;   // keeps the size
    void SetTextColour(COLORREF colour) const;  // label
    COLORREF TextColour() const;

    // Combo list (Selected and SetSelected also serve a list box).
    int Selected() const;                 // -1 for none
    void SetSelected(int index) const;    // -1: no selection; raises no event
    int ItemCount() const;                // combo list or list box
    std::string ItemText(int index) const;
    int SelectPrefix(const std::string& prefix) const;  // CB_SELECTSTRING from the top; -1 none
    void AddItem(const std::string& text) const;        // combo list or list box (list box: appends)
    void ClearItems() const;                             // combo list or list box

    // List box.
    int AppendLine(const std::string& text) const;       // appends and selects the new line

    // List view.
    int RowCount() const;
    std::string CellText(int row, int column) const;
    int InsertRow(int row, const std::string& text, int image) const;  // returns the new index
    void SetCellText(int row, int column, const std::string& text) const;
    std::vector<int> SelectedRows() const;               // ascending
    void DeleteRow(int row) const;
    void DeleteAllRows() const;

    // Picture box (a label takes the picture as its background picture).
    // A picture file in memory (PNG, GIF, JPEG, BMP...); bytes that are no picture clear it.
    void SetPictureBytes(const std::vector<unsigned char>& bytes) const;
    void ClearPicture() const;
    void SetBackColour(COLORREF colour) const;
    COLORREF BackColour() const;
    bool PlayAnimation() const;
    void SetPlayAnimation(bool on) const;

    // Timer.
    void SetPeriod(int milliseconds) const;  // 0 stops it
    int Period() const;

    // Colour picker. A click asks Modal().ChooseColour; a new colour is taken and raises the
    // colour-changed event; a cancelled dialog or the same colour changes nothing.
    COLORREF Colour() const;
    void SetColour(COLORREF colour) const;  // raises no event

    // Common dialog: the open-file dialog through Modal(), with the control's filter and title,
    // owned by the window. Full paths of the chosen files; empty when cancelled.
    std::vector<std::string> OpenFiles(bool multiSelect = false) const;

private:
    Window* window_ = nullptr;
    int index_ = -1;
};

// Owner of one top-level window built from a form description. Not copyable.
class Window {
public:
    using Handler = std::function<void()>;
    using KeyHandler = std::function<void(int virtualKey)>;
    using MouseHandler = std::function<void(int x, int y)>;  // client coordinates of the control

    explicit Window(const FormDesc& desc);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Handlers are bound by form name, before or after creation.
    void OnClick(const char* control, Handler handler);
    void OnItemSelected(const char* control, Handler handler);
    void OnKeyPressed(const char* control, KeyHandler handler);
    void OnLeftMouseDown(const char* control, MouseHandler handler);
    void OnColourChanged(const char* control, Handler handler);
    void OnTimer(const char* control, Handler handler);
    void OnCreated(Handler handler);     // after every control exists, before the window shows
    void OnDestroying(Handler handler);  // at WM_DESTROY, while the controls still exist

    // From now on every event of `from` goes to the handlers bound to `to`.
    void Redirect(const char* from, const char* to);

    // Creates the window (shown, centred when the form says so: over its owner when it has one
    // on view, otherwise on the screen) and runs the created handler before showing it.
    // `owner` makes it an owned window. Returns false when the window could not be made (or the
    // created handler destroyed it). A destroyed window can be created again.
    bool Create(HWND owner = nullptr);
    // Creates the window as a modal window of `owner`: the owner is disabled and a nested
    // message loop runs until this window is destroyed; then the owner takes input again and is
    // activated. A WM_QUIT arriving meanwhile destroys this window and is posted again.
    void ShowModal(HWND owner);
    void Destroy();  // DestroyWindow; a main window ends the message loop (see SetQuitOnDestroy)
    void SetQuitOnDestroy(bool on) { quitOnDestroy_ = on; }

    HWND Hwnd() const { return hwnd_; }
    bool Exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }
    // Fails fast on a typo: a debug message, a break when a debugger is attached, and an empty
    // Control, on which every operation does nothing.
    Control operator[](const char* name);
    Control Find(const char* name);        // empty Control when there is none
    const FormDesc& Desc() const { return desc_; }

    int DisplayState() const;              // 0 normal, 2 minimised, 3 maximised
    void SetDisplayState(int state);       // 0 normal, 1 centred, 2 minimised, 3 maximised

    struct Impl;  // runtime internals
    Impl& impl() { return *impl_; }

private:
    friend class Control;
    const FormDesc& desc_;
    HWND hwnd_ = nullptr;
    bool quitOnDestroy_ = false;
    std::unique_ptr<Impl> impl_;
};

// Initialise the runtime (common controls 6, window classes, its GDI+ start-up for pictures).
bool InitRuntime(HINSTANCE instance);
// Shut the runtime down: releases every picture it holds, then its GDI+ token.
void ShutdownRuntime();
// Runs the message loop until WM_QUIT (posted when a quit-on-destroy window is destroyed).
int RunMessageLoop();
// Lets pending messages be handled, then returns.
void ProcessPendingMessages();
// Registers a clean-up to run once at the end of the run (in ShutdownRuntime, in reverse order).
void AtExit(std::function<void()> cleanup);

// The bytes of an embedded resource (RCDATA) of the program, empty when it has none.
std::vector<unsigned char> ResourceBytes(const char* name);

}  // namespace forms
