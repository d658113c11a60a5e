// The cut settings dialog OPTIONBOX2 and the confirmation CUTPREBOX shown before each run.
#pragma once
#include <windows.h>

class Environ;
class PMessage;

// The record each showing gets as its creation parameter.
struct CutDialogRecord {
    HINSTANCE instance;
    HWND owner;
    Environ* settings;
    const PMessage* messages;
};

// 1 when 設定 stored CutFile, CutMode, CutCheck and BakFile in settings; 0 for 取消.
int ShowCutOptionsDialog(HINSTANCE instance, HWND owner, Environ& settings, const PMessage& messages);
// 1 when 開始 stored CutMode and CutCheck in settings; 0 for 止める.
int ShowCutPreDialog(HINSTANCE instance, HWND owner, Environ& settings, const PMessage& messages);

extern "C" INT_PTR CALLBACK CutPreDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
