// The subclass procedure of the log list control.
#pragma once
#include <windows.h>

extern "C" LRESULT WINAPI ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
