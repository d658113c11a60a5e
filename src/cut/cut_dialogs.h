// The cut settings dialog OPTIONBOX2 and the confirmation CUTPREBOX shown before each run.
#pragma once
#include <windows.h>

class CommandHost;

// True when 設定 stored CutFile, CutMode, CutCheck and BakFile in the settings; false for 取消.
bool ShowCutOptionsDialog(CommandHost& host);
// True when 開始 stored CutMode and CutCheck in the settings; false for 止める.
bool ShowCutPreDialog(CommandHost& host);

extern "C" INT_PTR CALLBACK CutPreDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
