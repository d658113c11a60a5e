// The dialogs' answer to WM_HELP: an HTML Help text popup from popup.txt of the help file, topic = control id.
#pragma once
#include <windows.h>

#include <cstddef>

// True when id is one of the count ids of table.
bool IsInHelpTable(int id, const int* table, size_t count);

// The help source of the popups: the program's folder, the help file name and "::/popup.txt".
// Empty when the path would not fit out.
void BuildPopupSource(HINSTANCE instance, char out[MAX_PATH + 32]);

// For a request on a control of the table, asks HTML Help for the popup numbered by that control
// id at the mouse position and answers TRUE; FALSE (nothing shown) for any other control.
INT_PTR ContextHelpPopup(HWND dialog, const HELPINFO* info, const int* table, size_t count);

template <size_t N>
INT_PTR ContextHelpPopup(HWND dialog, const HELPINFO* info, const int (&table)[N]) {
    return ContextHelpPopup(dialog, info, table, N);
}
