// Entry point of every test program: the form runtime is up, and the modal seam records instead
// of showing anything.
#include <gtest/gtest.h>

#include <cstdio>

#include "forms/runtime/form.h"
#include "tests/support/modal_recorder.h"

namespace {

// A crash ends the test program at once with a message, instead of waiting for a debugger.
LONG WINAPI ReportCrashAndExit(EXCEPTION_POINTERS* info) {
    fprintf(stderr, "test program crashed: exception 0x%08lX at %p\n",
            info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ReportCrashAndExit);
    testing::InitGoogleTest(&argc, argv);
    forms::InitRuntime(GetModuleHandleA(nullptr));
    forms::SetModalSeam(&testing_support::Recorder());
    int result = RUN_ALL_TESTS();
    forms::SetModalSeam(nullptr);
    forms::ShutdownRuntime();
    return result;
}
