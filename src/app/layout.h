// Geometry of the main window's children and of the keyboard-opened context menu.
#pragma once
#include <windows.h>

// Right edges of the four status bar parts for a client width and the status font's widest character.
void StatusBarEdges(int clientWidth, int maxCharWidth, int edges[4]);
// The list between the toolbar (height toolbarHeight) and the status bar, in client coordinates.
RECT ListRectangle(int clientWidth, int clientHeight, int toolbarHeight, int statusHeight, int border);
// Where a context menu asked for with the keyboard opens: 150 pixels (at 96 DPI) left of the list's
// centre, at the vertical middle of the selected row (above the list when nothing is selected).
POINT KeyboardMenuPosition(const RECT& listOnScreen, int topIndex, int selected, int itemHeight, UINT dpi);
