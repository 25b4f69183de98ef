// Whether a batch run is on the stack, and a close of the main window asked for meanwhile.
//
// A run lets window messages be handled once per picture, so the close button (which the mask
// does not cover) can be clicked while the run still holds the window's controls. The close is
// then only recorded; the run ends at its next picture, and the window is destroyed once the run
// has unwound.
#pragma once

// True while a batch run is active.
bool BatchRunActive();

// Records a close request when a run is active and returns true: the caller then leaves the
// window alone. Returns false, recording nothing, when no run is active.
bool DeferCloseUntilRunEnds();

// True when a close was recorded during the active run.
bool CloseRequestedDuringRun();

// Marks a run active for the scope of the object; the outermost one clears the state again.
class ActiveBatchRun {
  public:
    ActiveBatchRun();
    ~ActiveBatchRun();
    ActiveBatchRun(const ActiveBatchRun&) = delete;
    ActiveBatchRun& operator=(const ActiveBatchRun&) = delete;
};
