#include "shellutil/banner_view.h"

#include <string>

#include "shellutil/shell_rules.h"

bool CreateBannerView(HtmlView& view, HWND mainWindow) {
    return view.Create(mainWindow, std::string(kBlankPage), kBannerLeft, kBannerTop, kBannerWidth,
                       kBannerHeight, /*borderless=*/true);
}

void WriteBannerOnce(forms::Control timer, HtmlView* view) {
    timer.SetPeriod(0);
    if (view != nullptr) view->WriteHtml(BannerPage());
}
