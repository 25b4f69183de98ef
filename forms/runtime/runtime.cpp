// Start-up and shut-down of the form runtime, its message loop, embedded resources and the
// pictures it decodes from them.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <map>
#include <set>

#include "forms/runtime/form.h"
#include "forms/runtime/runtime_internal.h"
#include "imaging/gdiplus_api.h"

namespace forms {
namespace {

struct Runtime {
    HINSTANCE instance = nullptr;
    bool initialised = false;
    ULONG_PTR gdiplusToken = 0;
    bool oleStarted = false;
    GdiFont font;
    ATOM linkAtom = 0;  // property of a control window: its ControlState
    ATOM formAtom = 0;  // property of a form window: its Window::Impl
    std::vector<std::function<void()>> cleanups;
    std::map<std::string, std::shared_ptr<detail::Picture>> pictures;  // null: no such resource
    std::set<Window::Impl*> liveWindows;
};

Runtime& TheRuntime() {
    static Runtime runtime;
    return runtime;
}

// The face the program's controls use: 宋体 at 12 pixels, the usual face of Chinese dialogs.
HFONT MakeControlFont() {
    LOGFONTA face{};
    face.lfHeight = -12;
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = GB2312_CHARSET;
    face.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(face.lfFaceName, "宋体", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&face);
    if (font != nullptr) return font;
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectA(&metrics.lfMessageFont);
}

// The program's first icon, for the windows' title bar and taskbar button; the system's
// application icon when the program has none.
struct IconRequest {
    int size;
    HICON icon;
};

BOOL CALLBACK LoadFirstIcon(HMODULE module, LPCSTR, LPSTR name, LONG_PTR request) {
    auto* wanted = reinterpret_cast<IconRequest*>(request);
    wanted->icon = static_cast<HICON>(
        LoadImageA(module, name, IMAGE_ICON, wanted->size, wanted->size, LR_DEFAULTCOLOR));
    return FALSE;  // the first icon group only (its name lives only during this call)
}

HICON ProgramIcon(HINSTANCE instance, int size) {
    IconRequest request{size, nullptr};
    EnumResourceNamesA(instance, RT_GROUP_ICON, LoadFirstIcon,
                       reinterpret_cast<LONG_PTR>(&request));
    return request.icon != nullptr ? request.icon : LoadIconA(nullptr, IDI_APPLICATION);
}

void RegisterFormClass(HINSTANCE instance) {
    WNDCLASSEXA form{};
    form.cbSize = sizeof(form);
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            auto* impl = static_cast<Window::Impl*>(create->lpCreateParams);
            if (impl != nullptr) {
                impl->hwnd = hwnd;
                SetPropA(hwnd, MAKEINTATOM(TheRuntime().formAtom), impl);
            }
        }
        Window::Impl* impl = detail::FormOf(hwnd);
        if (impl == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
        try {
            return impl->Procedure(message, wParam, lParam);
        } catch (...) {
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    };
    form.hInstance = instance;
    form.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    form.hbrBackground = nullptr;  // the window paints its own background
    form.hIcon = ProgramIcon(instance, GetSystemMetrics(SM_CXICON));
    form.hIconSm = ProgramIcon(instance, GetSystemMetrics(SM_CXSMICON));
    form.lpszClassName = detail::kFormClass;
    RegisterClassExA(&form);
}

}  // namespace

namespace detail {

HINSTANCE Instance() { return TheRuntime().instance; }
HFONT ControlFont() { return TheRuntime().font.Get(); }
bool RuntimeGdiplusRunning() { return TheRuntime().gdiplusToken != 0; }

ControlState* StateOf(HWND control) {
    if (control == nullptr || TheRuntime().linkAtom == 0) return nullptr;
    return static_cast<ControlState*>(GetPropA(control, MAKEINTATOM(TheRuntime().linkAtom)));
}

void Attach(HWND control, ControlState* state) {
    SetPropA(control, MAKEINTATOM(TheRuntime().linkAtom), state);
}

void Detach(HWND control) { RemovePropA(control, MAKEINTATOM(TheRuntime().linkAtom)); }

Window::Impl* FormOf(HWND form) {
    if (form == nullptr || TheRuntime().formAtom == 0) return nullptr;
    return static_cast<Window::Impl*>(GetPropA(form, MAKEINTATOM(TheRuntime().formAtom)));
}

void DetachForm(HWND form) { RemovePropA(form, MAKEINTATOM(TheRuntime().formAtom)); }

std::shared_ptr<Picture> ResourcePicture(const char* name) {
    if (name == nullptr || *name == '\0') return nullptr;
    auto& cache = TheRuntime().pictures;
    auto found = cache.find(name);
    if (found != cache.end()) return found->second;
    std::vector<unsigned char> bytes = ResourceBytes(name);
    std::shared_ptr<Picture> picture = Picture::Decode(bytes.data(), bytes.size(), false);
    if (RuntimeGdiplusRunning()) cache[name] = picture;  // remember a missing one too
    return picture;
}

std::shared_ptr<Picture> ResourceAnimation(const char* name) {
    if (name == nullptr || *name == '\0') return nullptr;
    std::vector<unsigned char> bytes = ResourceBytes(name);
    return Picture::Decode(bytes.data(), bytes.size(), true);
}

void RegisterLiveWindow(Window::Impl* impl) { TheRuntime().liveWindows.insert(impl); }
void UnregisterLiveWindow(Window::Impl* impl) { TheRuntime().liveWindows.erase(impl); }

void DispatchOne(MSG& message) {
    if (PreTranslate(message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

}  // namespace detail

bool InitRuntime(HINSTANCE instance) {
    Runtime& runtime = TheRuntime();
    if (runtime.initialised) return true;
    runtime.instance = instance != nullptr ? instance : GetModuleHandleA(nullptr);

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    HRESULT ole = OleInitialize(nullptr);
    runtime.oleStarted = SUCCEEDED(ole);

    if (gdip::Available()) {
        gdip::StartupInput input;
        ULONG_PTR token = 0;
        if (gdip::Table().GdiplusStartup(&token, &input, nullptr) == gdip::kOk)
            runtime.gdiplusToken = token;
    }

    runtime.linkAtom = GlobalAddAtomA("TuconvForms.Control");
    runtime.formAtom = GlobalAddAtomA("TuconvForms.Form");
    if (!runtime.font) runtime.font.Reset(MakeControlFont());  // windows still alive may use it
    RegisterFormClass(runtime.instance);
    detail::RegisterControlClasses(runtime.instance);
    runtime.initialised = true;
    return runtime.linkAtom != 0 && runtime.formAtom != 0;
}

void ShutdownRuntime() {
    Runtime& runtime = TheRuntime();
    if (!runtime.initialised) return;
    runtime.initialised = false;

    // The program's clean-ups, last registered first, each once.
    std::vector<std::function<void()>> cleanups;
    cleanups.swap(runtime.cleanups);
    for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) detail::Guarded(*it);

    // Every picture goes before GDI+ does; a window still alive then paints without them.
    std::vector<Window::Impl*> live(runtime.liveWindows.begin(), runtime.liveWindows.end());
    for (Window::Impl* impl : live) impl->ReleasePictures();
    runtime.pictures.clear();
    if (runtime.gdiplusToken != 0) {
        gdip::Table().GdiplusShutdown(runtime.gdiplusToken);
        runtime.gdiplusToken = 0;
    }
    if (runtime.oleStarted) {
        OleUninitialize();
        runtime.oleStarted = false;
    }
}

void AtExit(std::function<void()> cleanup) {
    if (cleanup) TheRuntime().cleanups.push_back(std::move(cleanup));
}

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return -1;
        detail::DispatchOne(message);
    }
}

void ProcessPendingMessages() {
    // Bounded, so that a window that never validates its paint cannot hold the caller for good.
    constexpr int kMostMessages = 10000;
    MSG message{};
    for (int handled = 0;
         handled < kMostMessages && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (message.message == WM_QUIT) {
            // The loop that owns the quit request must still see it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        detail::DispatchOne(message);
    }
}

std::vector<unsigned char> ResourceBytes(const char* name) {
    if (name == nullptr || *name == '\0') return {};
    HMODULE module =
        TheRuntime().instance != nullptr ? TheRuntime().instance : GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const auto* data =
        static_cast<const unsigned char*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (data == nullptr || size == 0) return {};
    return std::vector<unsigned char>(data, data + size);
}

}  // namespace forms
