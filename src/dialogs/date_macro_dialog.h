// The date macro dialog DTMACROBOX: the year, month and day that '#', '$' and '%' stand for.
#pragma once
#include <windows.h>

class Environ;

// One showing of the dialog; Environ changes only on 設定.
struct DateMacroDialog {
    HINSTANCE instance;
    HWND owner;
    Environ* settings;

    INT_PTR OnInit(HWND dialog);
    void Store(HWND dialog);
};

// Runs the dialog over settings, owned by owner: 1 after 設定, 0 after 取消.
INT_PTR ShowDateMacroDialog(HWND owner, Environ& settings);
