// The main window's cut commands: 15 starts a run, 16 ends it, 23 shows the cut settings.
#pragma once

class KelvoraFrame;

namespace cut_commands {

void StartCut(KelvoraFrame& frame);    // 15
// 16, posted by the worker at its end. Sent while the run still goes on, it stops the run first.
void FinishCut(KelvoraFrame& frame);
void CutOptions(KelvoraFrame& frame);  // 23
// Ends a running cut before the window closes or the session ends: stops it at its next line,
// waits for the worker and puts back CutMode and CutCheck. The list is not reloaded.
void StopCut(KelvoraFrame& frame);

}  // namespace cut_commands
