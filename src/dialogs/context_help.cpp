#include "dialogs/context_help.h"

#include <htmlhelp.h>

#include <cstdio>

#include "lib/services/html_help.h"
#include "lib/services/program_files.h"

bool IsInHelpTable(int id, const int* table, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (table[i] == id) return true;
    }
    return false;
}

void BuildPopupSource(HINSTANCE instance, char out[MAX_PATH + 32]) {
    char file[MAX_PATH];
    HelpFilePath(instance, file);
    int written = std::snprintf(out, MAX_PATH + 32, "%s::/popup.txt", file);
    if (!file[0] || written < 0 || written >= MAX_PATH + 32) out[0] = '\0';
}

INT_PTR ContextHelpPopup(HWND dialog, const HELPINFO* info, const int* table, size_t count) {
    if (!info || !IsInHelpTable(info->iCtrlId, table, count)) return FALSE;
    // The help file sits beside the program that owns the dialog's parent, not beside a loaded module.
    HWND parent = GetParent(dialog);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent ? parent : dialog, GWLP_HINSTANCE));
    char source[MAX_PATH + 32];
    BuildPopupSource(instance, source);

    HH_POPUP popup = {};
    popup.cbStruct = sizeof popup;
    popup.idString = static_cast<UINT>(info->iCtrlId);
    popup.pt = info->MousePos;
    popup.clrForeground = static_cast<COLORREF>(-1);
    popup.clrBackground = static_cast<COLORREF>(-1);
    popup.rcMargins = {-1, -1, -1, -1};
    CallHtmlHelp(dialog, source, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup));
    return TRUE;
}
