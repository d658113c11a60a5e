// Command ids to handlers, and the list's context menu.
#pragma once
#include <windows.h>

class KelvoraFrame;

LRESULT DispatchCommand(KelvoraFrame& frame, HWND window, WPARAM wParam, LPARAM lParam);
void ShowContextMenu(KelvoraFrame& frame, POINT at);
