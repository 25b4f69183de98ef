// A stand-in for the browser a web view hosts: a host window class whose window holds three
// nested child windows, the innermost answering "WM_HTML_GETOBJECT" with a scripted document
// object (through LresultFromObject, as a browser does). The document and the objects reached
// from it record every member called on them, so tests see what the view asked for.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// The window class of the fake host; registered on first use.
const char* FakeBrowserHostClass();

// A host whose windows go fewer levels deep than a browser's (two): no document can be found.
const char* ShallowBrowserHostClass();

// One automation object: members are called by name; calls are appended to a shared log as
// "<object>.<member>(<arguments>)", each argument written as its type and value ("text:...",
// "bool:true"), property reads as "<object>.<member>". Texts arrive as UTF-16 and are logged as
// system text.
class FakeObject : public IDispatch {
  public:
    FakeObject(std::string name, std::vector<std::string>* log);
    virtual ~FakeObject() = default;

    // A property that hands out another object, or a text.
    void SetObjectProperty(const std::string& member, FakeObject* value);
    void SetTextProperty(const std::string& member, const std::wstring& value);
    // A method that answers; every other name is unknown to the object.
    void AddMethod(const std::string& member);
    // Makes a member's calls fail (after being logged).
    void FailMember(const std::string& member);

    // References held beyond the owner's own.
    LONG ExtraReferences() const { return references_ - 1; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override;

  private:
    struct Member {
        std::string name;
        FakeObject* object = nullptr;
        std::wstring text;
        bool isObject = false;
        bool isText = false;
        bool fails = false;
    };
    Member& Add(const std::string& member);

    std::string name_;
    std::vector<std::string>* log_;
    std::vector<Member> members_;
    LONG references_ = 1;
};

// The document with everything the web view reaches: "open", "write", "Close", "execCommand",
// "parentWindow" (a window with "navigate" and "history" with "forward" and "back"),
// "documentElement" (with the text "outerHTML") and "location" (with "reload").
class FakeDocument {
  public:
    FakeDocument();
    ~FakeDocument();
    FakeDocument(const FakeDocument&) = delete;
    FakeDocument& operator=(const FakeDocument&) = delete;

    FakeObject& Document() { return *document_; }
    FakeObject& Element() { return *element_; }
    // Whether every object is back to its owner's one reference.
    bool AllReleased() const;

    // What was called, in order.
    std::vector<std::string> log;

  private:
    std::unique_ptr<FakeObject> document_, window_, history_, element_, location_;
};

// The document the fake host's innermost window hands out (null: it answers 0), and what the
// innermost windows were asked: one entry per "WM_HTML_GETOBJECT" received, naming the level
// (3 the innermost) with its wParam and lParam.
struct FakeBrowserState {
    FakeDocument* document = nullptr;
    struct Request {
        int level;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Request> requests;
};
FakeBrowserState& FakeBrowser();

// The window three levels under a fake host (the browser window), or null.
HWND InnermostChild(HWND host);

}  // namespace testing_support
