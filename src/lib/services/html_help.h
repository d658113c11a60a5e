// HTML Help, loaded from hhctrl.ocx on first use.
#pragma once
#include <windows.h>

#include "lib/core/seam.h"

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HWND CallHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

// Where CallHtmlHelp goes; tests record the calls instead.
extern Seam<HtmlHelpFunction> htmlHelpSeam;
