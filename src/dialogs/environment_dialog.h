// The operating environment dialog OPTIONBOX1: list display, sort order, list font, tab width, editor.
#pragma once
#include <windows.h>

class Environ;

// The radio button that shows a SortList value: any value past 1 counts as oldest first.
int SortButtonFor(int sortList);
// lfHeight made positive: the list keeps its font by cell height, which is also its row height.
LOGFONTA WithPositiveHeight(const LOGFONTA& font);

// One showing of the dialog; Environ and its list font change only on 設定.
struct EnvironmentDialog {
    HINSTANCE instance;
    HWND owner;
    COLORREF colour;
    LOGFONTA font;
    Environ* settings;

    INT_PTR OnInit(HWND dialog);
    void Store(HWND dialog);
    void ChooseFont(HWND dialog);
    void ChooseEditor(HWND dialog);
};

// Runs the dialog over settings, owned by owner: 1 after 設定, 0 after 取消.
INT_PTR ShowEnvironmentDialog(HWND owner, Environ& settings);
