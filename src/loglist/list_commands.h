// The main window's commands that act on the log list, and the list-side steps they share.
#pragma once
#include <windows.h>

#include <string>

class KelvoraFrame;

namespace list_commands {

void OpenIndexFile(KelvoraFrame& frame);                 // 11
void DeleteSelected(KelvoraFrame& frame);                // 14
void LaunchSelected(KelvoraFrame& frame, bool editor);   // 17 browser, 18 editor
void Sort(KelvoraFrame& frame, int order);               // 19, 20, 21
void ShowHelp(KelvoraFrame& frame);                      // 25
// Writes the list, reads it again and selects the same row number (refresh, and after option dialogs).
void RewriteAndReload(KelvoraFrame& frame);
// After an entry dialog: when it was confirmed and the list could be written, reload it.
void FinishEntryDialog(KelvoraFrame& frame, bool confirmed);
// Loads the list of the current Index, selects row 0 and shows it in the status bar.
bool LoadAndSelectFirst(KelvoraFrame& frame);

// The help file beside the program: its folder joined with the file name, without a doubled backslash.
void HelpFilePath(char out[MAX_PATH]);
// The current local time as a FILETIME, as SeenTime is stored.
FILETIME LocalNow();
// A file name as the one parameter of a started program: quoted when it holds a blank and is
// not quoted already, so that "C:\My Logs\app.log" does not reach it as two arguments.
std::string ProgramArgument(const char* fileName);

}  // namespace list_commands
