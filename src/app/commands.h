// Command ids to their handlers, and the list's context menu.
#pragma once
#include <windows.h>

class CommandHost;
class CutCommands;

// WM_COMMAND of the main window for a command id; ids it does not know get default processing.
LRESULT DispatchCommand(CommandHost& host, CutCommands& cut, WPARAM wParam, LPARAM lParam);
// The list's context menu at a screen position, owned by window; the choice arrives as a command.
void ShowContextMenu(HINSTANCE instance, HWND window, POINT at);
