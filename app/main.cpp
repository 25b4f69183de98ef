// The program's entry: start the form runtime, build the program-wide objects, show the main
// window and run until it is destroyed. The program reads no command line.
#include <windows.h>

#include "app/main_window.h"
#include "app/program_state.h"
#include "forms/runtime/form.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    forms::InitRuntime(instance);
    ConstructProgramObjects();
    forms::AtExit(CleanUpAtEndOfRun);
    {
        MainWindow mainWindow;
        // Without a window nothing could ever end the message loop.
        if (mainWindow.Create(/*quitOnDestroy=*/true)) forms::RunMessageLoop();
    }
    forms::ShutdownRuntime();
    return 0;
}
