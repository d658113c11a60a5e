// The main window's commands that show the entry and option dialogs, and what the list does after them.
#pragma once

class KelvoraFrame;

namespace dialog_commands {

void AddEntry(KelvoraFrame& frame);      // 12
void EditEntry(KelvoraFrame& frame);     // 13
void Options(KelvoraFrame& frame);       // 22
void DateMacros(KelvoraFrame& frame);    // 24

}  // namespace dialog_commands
