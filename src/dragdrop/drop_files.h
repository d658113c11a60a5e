// Files dropped on the main window become entries, each through its own add dialog.
#pragma once
#include <windows.h>
#include <shellapi.h>

class CommandHost;

// WM_DROPFILES of the main window: brings it in front, and when the drop landed in the client
// area runs the add dialog for each file in the order the drop lists them. The drop is always
// released.
LRESULT OnDropFiles(CommandHost& host, HDROP drop);

// One dropped file: the add dialog preset with path; after a confirmed dialog the list is written
// to the index file and read back. True when it was confirmed.
bool AddDroppedFile(CommandHost& host, const char* path);
