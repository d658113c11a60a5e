// HTML Help, loaded from hhctrl.ocx on first use. Tests replace the entry point to record calls.
#pragma once
#include <windows.h>

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HWND CallHtmlHelp(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
// Routes every later CallHtmlHelp to fn (null puts the real one back); returns the previous hook.
HtmlHelpFunction SetHtmlHelpHook(HtmlHelpFunction fn);
