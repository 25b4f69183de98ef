// The banner strip across the top of the main window: its web view, created with the window,
// and the page the banner timer writes into it once, half a second after start.
#pragma once

#include <windows.h>

#include "forms/runtime/form.h"
#include "shellutil/html_view.h"

// The strip's place and size in the main window's client area.
constexpr int kBannerLeft = 11;
constexpr int kBannerTop = 26;
constexpr int kBannerWidth = 728;
constexpr int kBannerHeight = 58;

// Gives the view its window in the strip, borderless, showing "about:blank". False when it could
// not be made; the strip then stays empty.
bool CreateBannerView(HtmlView& view, HWND mainWindow);

// The banner timer's handler: stops the timer first, so that it runs once whatever follows, then
// writes the banner page into the view (when there is one).
void WriteBannerOnce(forms::Control timer, HtmlView* view);
