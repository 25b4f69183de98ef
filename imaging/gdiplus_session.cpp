#include "imaging/gdiplus_session.h"

#include "imaging/gdiplus_api.h"

namespace {

ULONG_PTR canvasToken = 0;

ULONG_PTR Startup() {
    if (!gdip::Available()) return 0;
    ULONG_PTR token = 0;
    const gdip::StartupInput input;
    if (gdip::Table().GdiplusStartup(&token, &input, nullptr) != gdip::kOk) return 0;
    return token;
}

}  // namespace

bool EnsureCanvasGdiplus() {
    if (canvasToken == 0) canvasToken = Startup();
    return canvasToken != 0;
}

ULONG_PTR CanvasGdiplusToken() { return canvasToken; }

ULONG_PTR StartWindowGdiplus() { return Startup(); }

void ShutdownGdiplus(ULONG_PTR token) {
    if (token != 0) gdip::Table().GdiplusShutdown(token);
}
