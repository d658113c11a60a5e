// The subclass procedure of the log list control: Enter and double click open the selected log,
// presses and moves go to the main window (which starts drags), a right click selects its row.
#pragma once
#include <windows.h>

// Puts ListProc in front of the control's own procedure.
void SubclassList(HWND list);

// Outside a subclassed control it answers as DefWindowProcA does.
extern "C" LRESULT WINAPI ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
