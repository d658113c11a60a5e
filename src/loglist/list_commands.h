// The main window's commands that act on the log list, and the steps that every command which
// changes the list ends with.
#pragma once
#include <windows.h>

class CommandHost;

namespace list_commands {

void OpenIndexFile(CommandHost& host);                // 11
void DeleteSelected(CommandHost& host);               // 14
void LaunchSelected(CommandHost& host, bool editor);  // 17 browser, 18 editor
void Sort(CommandHost& host, int order);              // 19, 20, 21
void ShowHelp(CommandHost& host);                     // 25

// The tail of every command that changes the list: writes it to the index file, reads it again,
// follows the logs of the rows, selects row (a row number: the same position, whatever entry now
// stands there) and shows it in the status bar. After a failed write the rows hold the only copy of
// their changes, so they are not read over; after a failed load there is nothing to keep and the
// load is tried again.
void RewriteAndReload(CommandHost& host, int row);
// The same with the row selected now.
void RewriteAndReload(CommandHost& host);
// Loads the list of the current Index, follows the logs of its rows, selects row 0 and shows it in
// the status bar.
bool LoadAndSelectFirst(CommandHost& host);

}  // namespace list_commands
