// The main window's cut commands: 15 starts a run, 16 ends it, 23 shows the cut settings.
#pragma once

class KelvoraFrame;

namespace cut_commands {

void StartCut(KelvoraFrame& frame);    // 15
void FinishCut(KelvoraFrame& frame);   // 16, posted by the worker
void CutOptions(KelvoraFrame& frame);  // 23

}  // namespace cut_commands
