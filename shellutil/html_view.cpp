#include "shellutil/html_view.h"

#include <utility>
#include <vector>

#include "shellutil/automation.h"

const char* const kBrowserHostClass = "AtlAxWin";
const char* const kBlankPage = "about:blank";

namespace {

using automation::CallMethod;
using automation::GetObjectProperty;
using automation::Variant;

// IHTMLDocument, the interface the browser window hands its document out as.
const IID kHtmlDocumentInterface = {
    0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using ObjectFromLresultFunction = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);

// An exported function of `module` as the given type; null when it is missing.
template <typename Function>
Function BoundFunction(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// A library of the system directory, never one lying beside the program or in the current
// directory. It stays loaded for the rest of the run.
HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::string path = std::string(folder, length) + "\\" + name;
    return LoadLibraryA(path.c_str());
}

void RegisterBrowserHostClass() {
    static const AtlAxWinInitFunction init =
        BoundFunction<AtlAxWinInitFunction>(LoadSystemLibrary("atl.dll"), "AtlAxWinInit");
    if (init != nullptr) init();
}

ObjectFromLresultFunction BoundObjectFromLresult() {
    static const ObjectFromLresultFunction bound = BoundFunction<ObjectFromLresultFunction>(
        LoadSystemLibrary("oleacc.dll"), "ObjectFromLresult");
    return bound;
}

// The first child of the first child of the first child of `host`: where the browser keeps its
// document. Null when any level is missing (a null parent would mean the desktop's windows).
HWND InnermostWindow(HWND host) {
    HWND window = host;
    for (int level = 0; level < 3 && window != nullptr; ++level) {
        window = FindWindowExA(window, nullptr, nullptr, nullptr);
    }
    return window;
}

// The window's place in its parent's client area.
RECT PlaceInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

HtmlView::HtmlView(const char* hostClass)
    : hostClass_(hostClass), windowStyle_(kHtmlViewWindowStyle) {
    RegisterBrowserHostClass();
}

bool HtmlView::Create(HWND parent, const std::optional<std::string>& address, int x, int y,
                      int width, int height, bool borderless) {
    if (hostWindow_ != nullptr || parent == nullptr) return false;
    const std::string start = address.value_or(kBlankPage);
    const DWORD exStyle = borderless ? 0 : WS_EX_CLIENTEDGE;
    hostWindow_ = CreateWindowExA(exStyle, hostClass_, start.c_str(), windowStyle_, x, y, width,
                                  height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    return hostWindow_ != nullptr;
}

void HtmlView::Navigate(const std::string& address) {
    ComPtr<IDispatch> document = GetDocument();
    ComPtr<IDispatch> window = GetObjectProperty(document.Get(), L"parentWindow");
    std::vector<Variant> arguments;
    arguments.push_back(Variant::Text(address));
    CallMethod(window.Get(), L"navigate", std::move(arguments));
}

void HtmlView::Move(std::optional<int> x, std::optional<int> y, std::optional<int> width,
                    std::optional<int> height) {
    if (hostWindow_ == nullptr) return;
    const RECT now = PlaceInParent(hostWindow_);
    MoveWindow(hostWindow_, x.value_or(now.left), y.value_or(now.top),
               width.value_or(now.right - now.left), height.value_or(now.bottom - now.top), TRUE);
}

void HtmlView::ExecCommand(const std::string& command, std::optional<bool> showUserInterface,
                           const std::optional<std::string>& value) {
    ComPtr<IDispatch> document = GetDocument();
    if (!document) return;
    std::vector<Variant> arguments;
    arguments.push_back(Variant::Text(command));
    // The arguments are positional: a value given alone still needs the flag before it.
    if (showUserInterface || value) {
        arguments.push_back(Variant::Bool(showUserInterface.value_or(false)));
    }
    if (value) arguments.push_back(Variant::Text(*value));
    CallMethod(document.Get(), L"execCommand", std::move(arguments));
}

ComPtr<IDispatch> HtmlView::GetDocument() {
    if (browserWindow_ == nullptr) browserWindow_ = InnermostWindow(hostWindow_);
    if (browserWindow_ == nullptr) return {};
    const UINT getObject = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    DWORD_PTR answer = 0;
    if (getObject == 0 ||
        !SendMessageTimeoutA(browserWindow_, getObject, 0, 0, SMTO_ABORTIFHUNG,
                             kDocumentAnswerTimeout, &answer) ||
        answer == 0) {
        return {};
    }
    ObjectFromLresultFunction objectFromLresult = BoundObjectFromLresult();
    if (objectFromLresult == nullptr) return {};
    void* object = nullptr;
    if (FAILED(
            objectFromLresult(static_cast<LRESULT>(answer), kHtmlDocumentInterface, 0, &object)) ||
        object == nullptr) {
        return {};
    }
    // IHTMLDocument derives from IDispatch.
    return ComPtr<IDispatch>(static_cast<IDispatch*>(object));
}

void HtmlView::WriteHtml(const std::string& html) {
    ComPtr<IDispatch> document = GetDocument();
    if (!document) return;
    CallMethod(document.Get(), L"open");
    std::vector<Variant> arguments;
    arguments.push_back(Variant::Text(html));
    CallMethod(document.Get(), L"write", std::move(arguments));
    CallMethod(document.Get(), L"Close");
}

std::string HtmlView::GetHtml() {
    ComPtr<IDispatch> document = GetDocument();
    ComPtr<IDispatch> root = GetObjectProperty(document.Get(), L"documentElement");
    return automation::GetTextProperty(root.Get(), L"outerHTML");
}

void HtmlView::FitToParent() {
    if (hostWindow_ == nullptr) return;
    RECT client{};
    GetClientRect(GetParent(hostWindow_), &client);
    MoveWindow(hostWindow_, 0, 0, client.right - client.left, client.bottom - client.top, TRUE);
}

void HtmlView::Forward() {
    ComPtr<IDispatch> document = GetDocument();
    ComPtr<IDispatch> window = GetObjectProperty(document.Get(), L"parentWindow");
    ComPtr<IDispatch> history = GetObjectProperty(window.Get(), L"history");
    CallMethod(history.Get(), L"forward");
}

void HtmlView::Back() {
    ComPtr<IDispatch> document = GetDocument();
    ComPtr<IDispatch> window = GetObjectProperty(document.Get(), L"parentWindow");
    ComPtr<IDispatch> history = GetObjectProperty(window.Get(), L"history");
    CallMethod(history.Get(), L"back");
}

void HtmlView::Reload() {
    ComPtr<IDispatch> document = GetDocument();
    ComPtr<IDispatch> location = GetObjectProperty(document.Get(), L"location");
    CallMethod(location.Get(), L"reload");
}

int HtmlView::GetWidth() {
    RECT rect{};
    if (hostWindow_ == nullptr || !GetWindowRect(hostWindow_, &rect)) return 0;
    return rect.right - rect.left;
}

int HtmlView::GetHeight() {
    RECT rect{};
    if (hostWindow_ == nullptr || !GetWindowRect(hostWindow_, &rect)) return 0;
    return rect.bottom - rect.top;
}

void HtmlView::SetTopMost() {
    if (hostWindow_ == nullptr) return;
    SetWindowPos(hostWindow_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void HtmlView::Show() {
    if (hostWindow_ != nullptr) ShowWindow(hostWindow_, SW_SHOW);
}

void HtmlView::Hide() {
    if (hostWindow_ != nullptr) ShowWindow(hostWindow_, SW_HIDE);
}
