// The date macro dialog DTMACROBOX: the year, month and day that '#', '$' and '%' stand for.
#pragma once
#include <windows.h>

class CommandHost;
class Environ;

// One showing of the dialog; Environ changes only on 設定.
struct DateMacroDialog {
    Environ& settings;

    INT_PTR OnInit(HWND dialog);
    void Store(HWND dialog);
};

// Runs the dialog over the host's settings: true after 設定, false after 取消.
bool ShowDateMacroDialog(CommandHost& host);
