// The web view on its own: its host window, finding the browser's document and every document
// operation, driven against a fake browser (a host class whose innermost window hands out a
// recording document) and, for the quiet failure without a browser engine, the real host.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shellutil/html_view.h"
#include "tests/support/fake_browser.h"

using testing_support::FakeBrowser;
using testing_support::FakeBrowserHostClass;
using testing_support::FakeDocument;
using testing_support::InnermostChild;

namespace {

// A plain top-level window to hold views, destroyed with its children at the end.
class ParentWindow {
  public:
    ParentWindow() {
        static const char* const kClass = [] {
            WNDCLASSA parent{};
            parent.lpfnWndProc = DefWindowProcA;
            parent.hInstance = GetModuleHandleA(nullptr);
            parent.lpszClassName = "TuconvViewParent";
            RegisterClassA(&parent);
            return "TuconvViewParent";
        }();
        hwnd_ = CreateWindowExA(0, kClass, "parent", WS_POPUP | WS_VISIBLE, 40, 40, 750, 560,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~ParentWindow() { DestroyWindow(hwnd_); }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;
    HWND Get() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

RECT PlaceInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectPlace(HWND window, int x, int y, int width, int height) {
    RECT rect = PlaceInParent(window);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

int ChildCount(HWND parent) {
    int count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TitleOf(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// Visible top-level windows of every process: a dialog popping up shows here.
std::vector<HWND> VisibleTopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

class HtmlViewTest : public testing::Test {
  protected:
    void SetUp() override { FakeBrowser() = {}; }
    void TearDown() override { FakeBrowser() = {}; }

    // A view on the fake browser, created at the banner's place, borderless.
    HtmlView& CreatedView(const char* hostClass = FakeBrowserHostClass()) {
        view_.emplace(hostClass);
        EXPECT_TRUE(
            view_->Create(parent_.Get(), std::string("about:blank"), 11, 26, 728, 58, true));
        return *view_;
    }

    // The same, with the document the fake browser hands out.
    HtmlView& ViewWithDocument() {
        FakeBrowser().document = &document_;
        return CreatedView();
    }

    ParentWindow parent_;
    FakeDocument document_;
    std::optional<HtmlView> view_;
};

// ---------------------------------------------------------------------------------------------
// Construction and the host window.

TEST(HtmlViewConstruction, GivesTheChildStyleAndNoWindows) {
    HtmlView view;
    EXPECT_EQ(view.WindowStyle(), 0x50300000u) << "WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL";
    EXPECT_EQ(view.HostWindow(), nullptr);
    EXPECT_EQ(view.BrowserWindow(), nullptr);
}

TEST_F(HtmlViewTest, CreateMakesTheHostWindowAsAsked) {
    struct Case {
        const char* name;
        std::optional<std::string> address;
        std::optional<bool> borderless;  // nothing: left out
        const char* title;
        bool clientEdge;
    } cases[] = {
        {"address given, borderless", std::string("http://example.com/banner"), true,
         "http://example.com/banner", false},
        {"address left out", std::nullopt, true, "about:blank", false},
        {"an empty address is an address", std::string(), true, "", false},
        {"with a border", std::string("about:blank"), false, "about:blank", true},
        {"border left out", std::string("about:blank"), std::nullopt, "about:blank", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HtmlView view(FakeBrowserHostClass());
        bool created = c.borderless
                           ? view.Create(parent_.Get(), c.address, 11, 26, 728, 58, *c.borderless)
                           : view.Create(parent_.Get(), c.address, 11, 26, 728, 58);
        ASSERT_TRUE(created);
        HWND host = view.HostWindow();
        ASSERT_TRUE(IsWindow(host));
        EXPECT_EQ(GetParent(host), parent_.Get());
        EXPECT_EQ(ClassOf(host), FakeBrowserHostClass());
        EXPECT_EQ(TitleOf(host), c.title);
        LONG style = GetWindowLongA(host, GWL_STYLE);
        EXPECT_EQ(style & 0x50300000, 0x50300000);
        EXPECT_EQ((GetWindowLongA(host, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, c.clientEdge);
        EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(host, GWLP_HINSTANCE)),
                  GetModuleHandleA(nullptr));
        ExpectPlace(host, 11, 26, 728, 58);
        DestroyWindow(host);
    }
}

TEST_F(HtmlViewTest, CreateWithoutAParentFails) {
    HtmlView view(FakeBrowserHostClass());
    EXPECT_FALSE(view.Create(nullptr, std::string("about:blank"), 11, 26, 728, 58, true));
    EXPECT_EQ(view.HostWindow(), nullptr);
}

TEST_F(HtmlViewTest, CreateASecondTimeReturnsFalseAndCreatesNothing) {
    HtmlView& view = CreatedView();
    HWND first = view.HostWindow();
    ParentWindow otherParent;
    EXPECT_FALSE(view.Create(parent_.Get(), std::string("about:blank"), 0, 0, 100, 100, true));
    EXPECT_FALSE(view.Create(otherParent.Get(), std::nullopt, 0, 0, 100, 100));
    EXPECT_EQ(view.HostWindow(), first);
    EXPECT_EQ(ChildCount(parent_.Get()), 1);
    EXPECT_EQ(ChildCount(otherParent.Get()), 0);
    ExpectPlace(first, 11, 26, 728, 58);
}

TEST_F(HtmlViewTest, WithAnUnknownHostClassCreateFailsQuietly) {
    HtmlView view("TuconvNoSuchHostClass");
    EXPECT_FALSE(view.Create(parent_.Get(), std::nullopt, 11, 26, 728, 58, true));
    EXPECT_EQ(view.HostWindow(), nullptr);
    EXPECT_EQ(ChildCount(parent_.Get()), 0);
    view.WriteHtml("<html></html>");
    EXPECT_TRUE(FakeBrowser().requests.empty());
}

// The system's own browser host. Without a browser engine (as under Wine here) no document can
// be had: writing does nothing, at once, and nothing pops up.
TEST_F(HtmlViewTest, TheSystemHostShowsAnAddressAndWritingNeverPromptsOrHangs) {
    std::vector<HWND> before = VisibleTopLevelWindows();
    HtmlView view;
    ASSERT_TRUE(view.Create(parent_.Get(), std::string("about:blank"), 11, 26, 728, 58, true))
        << "the browser host class \"AtlAxWin\" is registered";
    EXPECT_EQ(ClassOf(view.HostWindow()), "AtlAxWin");
    ExpectPlace(view.HostWindow(), 11, 26, 728, 58);
    view.WriteHtml("<html><body>Loading...</body></html>");
    ComPtr<IDispatch> document = view.GetDocument();
    if (document) {
        SCOPED_TRACE("a browser engine is present");
        EXPECT_NE(view.GetHtml().find("Loading..."), std::string::npos);
    } else {
        SCOPED_TRACE("no browser engine");
        EXPECT_EQ(view.GetHtml(), "");
    }
    EXPECT_EQ(VisibleTopLevelWindows(), before) << "no window appeared";
}

// ---------------------------------------------------------------------------------------------
// Finding the document.

TEST_F(HtmlViewTest, TheDocumentComesFromTheThirdWindowDown) {
    HtmlView& view = ViewWithDocument();
    {
        ComPtr<IDispatch> document = view.GetDocument();
        ASSERT_TRUE(document);
        EXPECT_EQ(document.Get(), static_cast<IDispatch*>(&document_.Document()));
    }
    EXPECT_EQ(view.BrowserWindow(), InnermostChild(view.HostWindow()));
    ASSERT_EQ(FakeBrowser().requests.size(), 1u);
    EXPECT_EQ(FakeBrowser().requests[0].level, 3);
    EXPECT_EQ(FakeBrowser().requests[0].wParam, 0u);
    EXPECT_EQ(FakeBrowser().requests[0].lParam, 0);

    // The browser window is kept; the document is asked for again each time.
    HWND browser = view.BrowserWindow();
    EXPECT_TRUE(view.GetDocument());
    EXPECT_EQ(view.BrowserWindow(), browser);
    EXPECT_EQ(FakeBrowser().requests.size(), 2u);
    EXPECT_TRUE(document_.AllReleased());
}

TEST_F(HtmlViewTest, ABrowserWindowThatAnswersNothingGivesNoDocument) {
    HtmlView& view = CreatedView();  // the fake browser has no document to hand out
    EXPECT_FALSE(view.GetDocument());
    ASSERT_EQ(FakeBrowser().requests.size(), 1u);
    EXPECT_EQ(FakeBrowser().requests[0].level, 3);
}

TEST_F(HtmlViewTest, AShallowHostGivesNoDocumentAndIsNotAsked) {
    FakeBrowser().document = &document_;
    HtmlView& view = CreatedView(testing_support::ShallowBrowserHostClass());
    EXPECT_FALSE(view.GetDocument());
    EXPECT_EQ(view.BrowserWindow(), nullptr);
    EXPECT_TRUE(FakeBrowser().requests.empty());
}

// Without a host window the search must not start from the desktop: a top-level window with a
// browser's depth, first in line, is never asked.
TEST_F(HtmlViewTest, AViewWithoutAWindowAsksNoWindow) {
    FakeBrowser().document = &document_;
    HWND decoy =
        CreateWindowExA(WS_EX_TOPMOST, FakeBrowserHostClass(), "decoy", WS_POPUP | WS_VISIBLE, 0, 0,
                        50, 50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(decoy, nullptr);
    SetWindowPos(decoy, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    HtmlView view(FakeBrowserHostClass());
    EXPECT_FALSE(view.GetDocument());
    view.WriteHtml("<p>x</p>");
    view.Navigate("about:blank");
    EXPECT_EQ(view.GetHtml(), "");
    EXPECT_TRUE(FakeBrowser().requests.empty());
    EXPECT_TRUE(document_.log.empty());
    DestroyWindow(decoy);
}

// ---------------------------------------------------------------------------------------------
// Document operations.

TEST_F(HtmlViewTest, WriteHtmlOpensWritesTheTextAndCloses) {
    HtmlView& view = ViewWithDocument();
    view.WriteHtml("<p>榆雀</p>\r\n<p>图片</p>");
    EXPECT_EQ(document_.log,
              (std::vector<std::string>{"document.open()",
                                        "document.write(text:<p>榆雀</p>\r\n<p>图片</p>)",
                                        "document.close()"}));
    EXPECT_TRUE(document_.AllReleased());
}

TEST_F(HtmlViewTest, WriteHtmlClosesEvenWhenWritingFails) {
    document_.Document().FailMember("write");
    HtmlView& view = ViewWithDocument();
    view.WriteHtml("<p>x</p>");
    EXPECT_EQ(document_.log,
              (std::vector<std::string>{"document.open()", "document.write(text:<p>x</p>)",
                                        "document.close()"}));
    EXPECT_TRUE(document_.AllReleased());
}

TEST_F(HtmlViewTest, EachOperationCallsItsMembers) {
    struct Case {
        const char* name;
        std::function<std::string(HtmlView&)> run;  // returns the operation's text, if any
        std::vector<std::string> calls;
        std::string result;
    } cases[] = {
        {"Navigate",
         [](HtmlView& v) {
             v.Navigate("http://example.com/a?b=1");
             return std::string();
         },
         {"document.parentWindow", "window.navigate(text:http://example.com/a?b=1)"}},
        {"ExecCommand with the command alone",
         [](HtmlView& v) {
             v.ExecCommand("Refresh");
             return std::string();
         },
         {"document.execCommand(text:Refresh)"}},
        {"ExecCommand with the user interface flag",
         [](HtmlView& v) {
             v.ExecCommand("SelectAll", true);
             return std::string();
         },
         {"document.execCommand(text:SelectAll,bool:true)"}},
        {"ExecCommand with all three",
         [](HtmlView& v) {
             v.ExecCommand("FontName", false, std::string("宋体"));
             return std::string();
         },
         {"document.execCommand(text:FontName,bool:false,text:宋体)"}},
        {"ExecCommand with a value but no flag",
         [](HtmlView& v) {
             v.ExecCommand("FontSize", std::nullopt, std::string("3"));
             return std::string();
         },
         {"document.execCommand(text:FontSize,bool:false,text:3)"}},
        {"GetHtml",
         [](HtmlView& v) { return v.GetHtml(); },
         {"document.documentElement", "element.outerHTML"},
         "<html><body>榆雀</body></html>"},
        {"Forward",
         [](HtmlView& v) {
             v.Forward();
             return std::string();
         },
         {"document.parentWindow", "window.history", "history.forward()"}},
        {"Back",
         [](HtmlView& v) {
             v.Back();
             return std::string();
         },
         {"document.parentWindow", "window.history", "history.back()"}},
        {"Reload",
         [](HtmlView& v) {
             v.Reload();
             return std::string();
         },
         {"document.location", "location.reload()"}},
    };
    HtmlView& view = ViewWithDocument();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        document_.log.clear();
        EXPECT_EQ(c.run(view), c.result);
        EXPECT_EQ(document_.log, c.calls);
        EXPECT_TRUE(document_.AllReleased());
    }
}

TEST_F(HtmlViewTest, AMissingLinkEndsTheChainQuietly) {
    document_.Document().FailMember("parentWindow");
    HtmlView& view = ViewWithDocument();
    view.Navigate("about:blank");
    view.Back();
    EXPECT_EQ(document_.log,
              (std::vector<std::string>{"document.parentWindow", "document.parentWindow"}));
    EXPECT_TRUE(document_.AllReleased());
}

// ---------------------------------------------------------------------------------------------
// Window operations.

TEST_F(HtmlViewTest, MoveKeepsWhatIsLeftOut) {
    HtmlView& view = CreatedView();
    HWND host = view.HostWindow();
    view.Move(100, std::nullopt, 300);
    ExpectPlace(host, 100, 26, 300, 58);
    view.Move(std::nullopt, 40, std::nullopt, 20);
    ExpectPlace(host, 100, 40, 300, 20);
    view.Move();
    ExpectPlace(host, 100, 40, 300, 20);
    EXPECT_EQ(view.GetWidth(), 300);
    EXPECT_EQ(view.GetHeight(), 20);
}

TEST_F(HtmlViewTest, FitToParentFillsTheParentsClientArea) {
    HtmlView& view = CreatedView();
    RECT client{};
    GetClientRect(parent_.Get(), &client);
    view.FitToParent();
    ExpectPlace(view.HostWindow(), 0, 0, client.right, client.bottom);
    EXPECT_EQ(view.GetWidth(), client.right);
    EXPECT_EQ(view.GetHeight(), client.bottom);
}

TEST_F(HtmlViewTest, ShowHideAndTopMost) {
    HtmlView& view = CreatedView();
    HWND host = view.HostWindow();
    view.Hide();
    EXPECT_FALSE(IsWindowVisible(host));
    view.Show();
    EXPECT_TRUE(IsWindowVisible(host));

    // A sibling put above the view stays there until the view is brought to the top.
    HWND sibling = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                   parent_.Get(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(GetWindow(parent_.Get(), GW_CHILD), sibling);
    view.SetTopMost();
    EXPECT_EQ(GetWindow(parent_.Get(), GW_CHILD), host);
    ExpectPlace(host, 11, 26, 728, 58);
}

TEST_F(HtmlViewTest, WindowOperationsWithoutAWindowDoNothing) {
    HtmlView view(FakeBrowserHostClass());
    view.Move(1, 2, 3, 4);
    view.FitToParent();
    view.SetTopMost();
    view.Show();
    view.Hide();
    view.ExecCommand("Refresh");
    view.Forward();
    view.Back();
    view.Reload();
    EXPECT_EQ(view.GetWidth(), 0);
    EXPECT_EQ(view.GetHeight(), 0);
    EXPECT_EQ(view.HostWindow(), nullptr);
    EXPECT_EQ(ChildCount(parent_.Get()), 0);
}

}  // namespace
