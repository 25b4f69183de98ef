// The program's two GDI+ start-ups, each with its own token.
//
// The canvas layer's start-up is made on the first creating use of a canvas (and when the main
// window is created) while its token is still zero, and is never shut down, so every GDI+ object
// the canvas layer and its wrappers make stays valid for the life of the process. The main window
// makes its own start-up when it is created and shuts it down when it is destroyed.
#pragma once

#include <windows.h>

// Starts GDI+ for the canvas layer unless its token is already set; a failed start-up leaves the
// token zero, so the next call tries again. True when the canvas layer's token is set.
bool EnsureCanvasGdiplus();

// The canvas layer's token: 0 until a start-up succeeded.
ULONG_PTR CanvasGdiplusToken();

// A start-up of its own for the main window: version 1, no debug callback, nothing suppressed.
// Returns the token, or 0 when GDI+ could not be started (or is not complete on this system).
ULONG_PTR StartWindowGdiplus();

// Shuts down the start-up of `token`; a token of 0 does nothing.
void ShutdownGdiplus(ULONG_PTR token);
