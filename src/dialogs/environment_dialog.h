// The operating environment dialog OPTIONBOX1: list display, sort order, list font, tab width, editor.
#pragma once
#include <windows.h>

class CommandHost;
class Environ;

// The radio button that shows a SortList value: any value past 1 counts as oldest first.
int SortButtonFor(int sortList);
// lfHeight made positive: the list keeps its font by cell height, which is also its row height.
LOGFONTA WithPositiveHeight(const LOGFONTA& font);

// One showing of the dialog; Environ and its list font change only on 設定.
struct EnvironmentDialog {
    HINSTANCE instance;
    Environ& settings;
    COLORREF colour;
    LOGFONTA font;  // as stored: at 96 DPI

    INT_PTR OnInit(HWND dialog);
    void Store(HWND dialog);
    void ChooseFont(HWND dialog);
    void ChooseEditor(HWND dialog);
};

// Runs the dialog over the host's settings: true after 設定, false after 取消.
bool ShowEnvironmentDialog(CommandHost& host);
