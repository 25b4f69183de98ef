// The main window: its form, its creation sequence, its event handlers and its end.
#pragma once

#include <windows.h>

#include "forms/runtime/form.h"

class MainWindow {
  public:
    // Binds every handler; the window itself is made by Create.
    MainWindow();
    // Destroys the window if it still exists.
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window centred on the screen; its creation handler shapes it, starts GDI+,
    // accepts dropped files, loads the settings and runs the option rules. With quitOnDestroy the
    // message loop ends when the window is destroyed. False when the window could not be made.
    bool Create(bool quitOnDestroy);
    void Destroy();

    forms::Window& Form() { return form_; }
    HWND Hwnd() const { return form_.Hwnd(); }

  private:
    void BindHandlers();
    void RunCreationSequence();
    void OnDestroying();

    forms::Window form_;
};

// The main window while it exists, otherwise null.
MainWindow* TheMainWindow();

// The main window's replacement window procedure: WM_DROPFILES goes to the picture list's drop
// handling (result 0), every other message to the procedure it replaced.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The corners' ellipse, in pixels.
constexpr int kMainWindowCornerEllipse = 12;
