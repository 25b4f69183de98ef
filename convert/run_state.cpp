#include "convert/run_state.h"

namespace {

struct RunState {
    int depth = 0;
    bool closeRequested = false;
};

RunState& State() {
    static RunState state;
    return state;
}

}  // namespace

bool BatchRunActive() { return State().depth > 0; }

bool DeferCloseUntilRunEnds() {
    if (!BatchRunActive()) return false;
    State().closeRequested = true;
    return true;
}

bool CloseRequestedDuringRun() { return BatchRunActive() && State().closeRequested; }

ActiveBatchRun::ActiveBatchRun() { ++State().depth; }

ActiveBatchRun::~ActiveBatchRun() {
    if (--State().depth == 0) State().closeRequested = false;
}
