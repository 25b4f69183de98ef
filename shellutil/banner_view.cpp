#include "shellutil/banner_view.h"

#include <string>

#include "shellutil/shell_rules.h"

bool CreateBannerView(HtmlView& view, HWND mainWindow) {
    return view.Create(mainWindow, std::string(kBlankPage), kBannerLeft, kBannerTop, kBannerWidth,
                       kBannerHeight, /*borderless=*/true);
}

void WriteBannerOnce(forms::Control timer, HtmlView* view) {
    timer.SetPeriod(0);
    if (view == nullptr) return;
    // A host whose browser hands out no document by now (no browser engine on the machine) would
    // stay an empty white frame over the banner strip; hide it so the window's own strip shows.
    const HWND host = view->HostWindow();
    if (host != nullptr && !view->GetDocument()) ShowWindow(host, SW_HIDE);
    view->WriteHtml(BannerPage());
}
