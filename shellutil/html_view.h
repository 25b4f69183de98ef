// The banner's web view: a browser control hosted in a child window of class "AtlAxWin", and
// its HTML document driven through the document's automation members.
//
// Everything degrades quietly: without the host library the class is not registered and Create
// fails; without a browser engine the document cannot be had and the document operations do
// nothing. Window operations on a view that was never created do nothing either.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>

#include "shellutil/com_ptr.h"

// The host window's class, registered by AtlAxWinInit: a window of it given an address as its
// window name hosts a web browser control opened on that address.
extern const char* const kBrowserHostClass;
// The address a view opens when none is given.
extern const char* const kBlankPage;

class HtmlView {
  public:
    // Registers the host window class (AtlAxWinInit of atl.dll, bound at run time; its result
    // is not tested). `hostClass` names the window class Create uses; tests give their own.
    explicit HtmlView(const char* hostClass = kBrowserHostClass);
    // The host window goes with its parent; nothing else is held.
    virtual ~HtmlView() = default;
    HtmlView(const HtmlView&) = delete;
    HtmlView& operator=(const HtmlView&) = delete;

    // Creates the host window at (x, y), width × height in the parent's client area, opened on
    // `address` (kBlankPage when left out), with a client edge unless `borderless`. False when
    // the view already has its window, the parent is null or the window cannot be made.
    virtual bool Create(HWND parent, const std::optional<std::string>& address, int x, int y,
                        int width, int height, bool borderless = false);
    // The document's window navigates to `address`.
    virtual void Navigate(const std::string& address);
    // Moves and sizes the host window (repainting); a value left out keeps the current one.
    virtual void Move(std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt,
                      std::optional<int> width = std::nullopt,
                      std::optional<int> height = std::nullopt);
    // The document's "execCommand" with the command and, when given, the other two arguments.
    virtual void ExecCommand(const std::string& command,
                             std::optional<bool> showUserInterface = std::nullopt,
                             const std::optional<std::string>& value = std::nullopt);
    // The browser's HTML document, asked of its innermost window with "WM_HTML_GETOBJECT";
    // empty when it cannot be had. Waits at most one second for the browser's answer.
    virtual ComPtr<IDispatch> GetDocument();
    // Replaces the document's content: "open", "write" of the text, "Close".
    virtual void WriteHtml(const std::string& html);
    // The "outerHTML" of the document's "documentElement"; "" when it cannot be had.
    virtual std::string GetHtml();
    // Fills the parent's client area.
    virtual void FitToParent();
    virtual void Forward();
    virtual void Back();
    virtual void Reload();
    // Size of the host window's window rectangle; 0 without a window.
    virtual int GetWidth();
    virtual int GetHeight();
    // Above all windows that are not topmost, keeping position and size.
    virtual void SetTopMost();
    virtual void Show();
    virtual void Hide();

    HWND HostWindow() const { return hostWindow_; }
    HWND BrowserWindow() const { return browserWindow_; }
    DWORD WindowStyle() const { return windowStyle_; }

  private:
    const char* hostClass_;
    DWORD windowStyle_;
    HWND hostWindow_ = nullptr;
    HWND browserWindow_ = nullptr;
};

// The style of the host window: WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL.
constexpr DWORD kHtmlViewWindowStyle = 0x50300000;
// The longest the view waits for the browser window's answer, in milliseconds.
constexpr UINT kDocumentAnswerTimeout = 1000;
