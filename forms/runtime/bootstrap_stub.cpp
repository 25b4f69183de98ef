// Temporary: lets the build and test pipeline run before the form runtime lands.
#include "forms/runtime/form.h"
#include "forms/runtime/modal.h"

namespace forms {
bool InitRuntime(HINSTANCE) { return true; }
void ShutdownRuntime() {}
namespace {
ModalSeam* g_seam = nullptr;
}
void SetModalSeam(ModalSeam* seam) { g_seam = seam; }
}  // namespace forms
