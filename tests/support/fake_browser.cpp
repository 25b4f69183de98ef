#include "tests/support/fake_browser.h"

#include <cctype>
#include <cwchar>
#include <string>
#include <utility>

namespace testing_support {

namespace {

std::string SystemText(const wchar_t* wide) {
    if (wide == nullptr) return {};
    int length = static_cast<int>(std::wcslen(wide));
    if (length == 0) return {};
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], bytes, nullptr, nullptr);
    return text;
}

bool SameNameIgnoringCase(const std::string& a, const wchar_t* b) {
    std::string other = SystemText(b);
    if (a.size() != other.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(other[i]))) {
            return false;
        }
    }
    return true;
}

std::string Describe(const VARIANT& value) {
    switch (value.vt) {
        case VT_BSTR:
            return "text:" + SystemText(value.bstrVal);
        case VT_BOOL:
            return value.boolVal ? "bool:true" : "bool:false";
        default:
            return "vt:" + std::to_string(value.vt);
    }
}

// The answer of the innermost window: the object marshalled the way a browser hands it out.
LRESULT AnswerWithObject(WPARAM wParam, IUnknown* object) {
    using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    static const LresultFromObjectFunction lresultFromObject = [] {
        HMODULE oleacc = LoadLibraryA("oleacc.dll");
        return oleacc ? reinterpret_cast<LresultFromObjectFunction>(
                            reinterpret_cast<void*>(GetProcAddress(oleacc, "LresultFromObject")))
                      : nullptr;
    }();
    if (lresultFromObject == nullptr) return 0;
    LRESULT answer = lresultFromObject(IID_IDispatch, wParam, object);
    return answer < 0 ? 0 : answer;
}

const char kLevelClass[] = "TuconvFakeBrowserLevel";
const char kHostClass[] = "TuconvFakeBrowserHost";
const char kShallowHostClass[] = "TuconvShallowBrowserHost";

LRESULT CALLBACK LevelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT getObject = RegisterWindowMessageA("WM_HTML_GETOBJECT");
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (message == getObject) {
        int level = static_cast<int>(GetWindowLongPtrA(window, GWLP_USERDATA));
        FakeBrowser().requests.push_back({level, wParam, lParam});
        FakeDocument* document = FakeBrowser().document;
        if (level == 3 && document != nullptr)
            return AnswerWithObject(wParam, &document->Document());
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeLevel(HWND parent, int level) {
    RECT client{};
    GetClientRect(parent, &client);
    return CreateWindowExA(0, kLevelClass, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                           client.bottom, parent, nullptr, GetModuleHandleA(nullptr),
                           reinterpret_cast<void*>(static_cast<LONG_PTR>(level)));
}

template <int Levels>
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        HWND parent = window;
        for (int level = 1; level <= Levels; ++level) parent = MakeLevel(parent, level);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSA level{};
    level.lpfnWndProc = LevelProc;
    level.hInstance = GetModuleHandleA(nullptr);
    level.lpszClassName = kLevelClass;
    RegisterClassA(&level);
    WNDCLASSA host = level;
    host.lpfnWndProc = HostProc<3>;
    host.lpszClassName = kHostClass;
    RegisterClassA(&host);
    WNDCLASSA shallow = level;
    shallow.lpfnWndProc = HostProc<2>;
    shallow.lpszClassName = kShallowHostClass;
    RegisterClassA(&shallow);
}

}  // namespace

const char* FakeBrowserHostClass() {
    RegisterClasses();
    return kHostClass;
}

const char* ShallowBrowserHostClass() {
    RegisterClasses();
    return kShallowHostClass;
}

FakeBrowserState& FakeBrowser() {
    static FakeBrowserState state;
    return state;
}

HWND InnermostChild(HWND host) {
    HWND window = host;
    for (int level = 0; level < 3 && window != nullptr; ++level)
        window = GetWindow(window, GW_CHILD);
    return window;
}

FakeObject::FakeObject(std::string name, std::vector<std::string>* log)
    : name_(std::move(name)), log_(log) {}

FakeObject::Member& FakeObject::Add(const std::string& member) {
    members_.push_back(Member{member});
    return members_.back();
}

void FakeObject::SetObjectProperty(const std::string& member, FakeObject* value) {
    Member& added = Add(member);
    added.object = value;
    added.isObject = true;
}

void FakeObject::SetTextProperty(const std::string& member, const std::wstring& value) {
    Member& added = Add(member);
    added.text = value;
    added.isText = true;
}

void FakeObject::AddMethod(const std::string& member) { Add(member); }

void FakeObject::FailMember(const std::string& member) {
    for (Member& m : members_) {
        if (m.name == member) m.fails = true;
    }
}

HRESULT FakeObject::QueryInterface(REFIID riid, void** out) {
    // Any interface the view may ask a document for is served by IDispatch.
    static const IID htmlDocument = {
        0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, htmlDocument)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeObject::AddRef() { return static_cast<ULONG>(++references_); }

// The owner keeps the object alive; the count only shows what callers forgot to release.
ULONG FakeObject::Release() { return static_cast<ULONG>(--references_); }

HRESULT FakeObject::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT FakeObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    *info = nullptr;
    return E_NOTIMPL;
}

HRESULT FakeObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1) return E_INVALIDARG;
    // Names are matched regardless of case, as a browser's document does.
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (SameNameIgnoringCase(members_[i].name, names[0])) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT FakeObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                           VARIANT* result, EXCEPINFO*, UINT*) {
    if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return DISP_E_MEMBERNOTFOUND;
    const Member& member = members_[static_cast<std::size_t>(id - 1)];
    const bool property = member.isObject || member.isText;
    if (property) {
        log_->push_back(name_ + "." + member.name);
        if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
        if (member.fails || result == nullptr) return E_FAIL;
        if (member.isObject) {
            result->vt = VT_DISPATCH;
            result->pdispVal = member.object;
            if (member.object) member.object->AddRef();
        } else {
            result->vt = VT_BSTR;
            result->bstrVal = SysAllocString(member.text.c_str());
        }
        return S_OK;
    }
    std::string call = name_ + "." + member.name + "(";
    for (UINT i = 0; i < parameters->cArgs; ++i) {
        if (i > 0) call += ",";
        call += Describe(parameters->rgvarg[parameters->cArgs - 1 - i]);
    }
    call += ")";
    log_->push_back(call);
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    return member.fails ? E_FAIL : S_OK;
}

FakeDocument::FakeDocument()
    : document_(std::make_unique<FakeObject>("document", &log)),
      window_(std::make_unique<FakeObject>("window", &log)),
      history_(std::make_unique<FakeObject>("history", &log)),
      element_(std::make_unique<FakeObject>("element", &log)),
      location_(std::make_unique<FakeObject>("location", &log)) {
    for (const char* method : {"open", "write", "close", "execCommand"}) {
        document_->AddMethod(method);
    }
    document_->SetObjectProperty("parentWindow", window_.get());
    document_->SetObjectProperty("documentElement", element_.get());
    document_->SetObjectProperty("location", location_.get());
    window_->AddMethod("navigate");
    window_->SetObjectProperty("history", history_.get());
    history_->AddMethod("forward");
    history_->AddMethod("back");
    element_->SetTextProperty("outerHTML", L"<html><body>\u6986\u96c0</body></html>");
    location_->AddMethod("reload");
}

FakeDocument::~FakeDocument() {
    if (FakeBrowser().document == this) FakeBrowser().document = nullptr;
}

bool FakeDocument::AllReleased() const {
    for (const auto* object : {&document_, &window_, &history_, &element_, &location_}) {
        if ((*object)->ExtraReferences() != 0) return false;
    }
    return true;
}

}  // namespace testing_support
