// Entry point of every test program: the form runtime is up, and the modal seam records instead
// of showing anything.
#include <gtest/gtest.h>

#include "forms/runtime/form.h"
#include "tests/support/modal_recorder.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    forms::InitRuntime(GetModuleHandleA(nullptr));
    forms::SetModalSeam(&testing_support::Recorder());
    int result = RUN_ALL_TESTS();
    forms::SetModalSeam(nullptr);
    forms::ShutdownRuntime();
    return result;
}
