#include "dialogs/environment_dialog.h"

#include <cstdlib>
#include <string>

#include "dialogs/context_help.h"
#include "dialogs/dialog_fields.h"
#include "lib/services/common_dialogs.h"
#include "lib/services/dialog_slot.h"
#include "lib/services/dpi.h"
#include "loglist/command_host.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"

namespace {

constexpr int kHelpTable[] = {IDOK,         IDCANCEL,       IDC_BROWSE_EDITOR, IDC_DISPDATE,
                              IDC_DISPMARK, IDC_MARKCHAR,   IDC_SORT_NAME,     IDC_SORT_NEW,
                              IDC_SORT_OLD, IDC_CHOOSEFONT, IDC_EDITORNAME,    IDC_TABSTOP};
constexpr char kFullWidthSpace[] = "\x81\x40";

DialogSlot<EnvironmentDialog> slot;

INT_PTR Handle(EnvironmentDialog& state, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return state.OnInit(dialog);
    case WM_COMMAND:
        // The whole wParam: only clicks and keys match, never a field's notification.
        switch (wParam) {
        case IDOK:
            state.Store(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case IDC_CHOOSEFONT: state.ChooseFont(dialog); return TRUE;
        case IDC_BROWSE_EDITOR: state.ChooseEditor(dialog); return TRUE;
        }
        return FALSE;
    case WM_HELP: return ContextHelpPopup(dialog, reinterpret_cast<const HELPINFO*>(lParam), kHelpTable);
    }
    return FALSE;
}

INT_PTR CALLBACK EnvironmentDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return slot.Dispatch(dialog, message, wParam, lParam, Handle);
}

}  // namespace

int SortButtonFor(int sortList) {
    if (sortList == 0) return IDC_SORT_NAME;
    if (sortList == 1) return IDC_SORT_NEW;
    return IDC_SORT_OLD;
}

LOGFONTA WithPositiveHeight(const LOGFONTA& font) {
    LOGFONTA copy = font;
    copy.lfHeight = std::labs(font.lfHeight);
    return copy;
}

INT_PTR EnvironmentDialog::OnInit(HWND dialog) {
    SetWindowLongPtrA(dialog, GWL_EXSTYLE, GetWindowLongPtrA(dialog, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    CheckDlgButton(dialog, IDC_DISPDATE, settings.GetDispDate() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_DISPMARK, settings.GetDispMark() ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dialog, IDC_MARKCHAR, EM_LIMITTEXT, 2, 0);
    SetDlgItemTextA(dialog, IDC_MARKCHAR, settings.GetMarkChar()[0] ? settings.GetMarkChar() : kFullWidthSpace);
    CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_OLD, SortButtonFor(settings.GetSortList()));
    SendDlgItemMessageA(dialog, IDC_EDITORNAME, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetDlgItemTextA(dialog, IDC_EDITORNAME, settings.GetEditor());
    LOGFONTA stored;
    colour = settings.List().GetListFont(&stored);
    font = WithPositiveHeight(stored);
    SendDlgItemMessageA(dialog, IDC_TABSTOP, EM_LIMITTEXT, 2, 0);
    SetDlgItemInt(dialog, IDC_TABSTOP, static_cast<UINT>(settings.GetTabStop()), FALSE);
    return TRUE;
}

void EnvironmentDialog::Store(HWND dialog) {
    settings.SetDispDate(IsDlgButtonChecked(dialog, IDC_DISPDATE) == BST_CHECKED ? 1 : 0);
    settings.SetDispMark(IsDlgButtonChecked(dialog, IDC_DISPMARK) == BST_CHECKED ? 1 : 0);
    char mark[3];
    ReadField(dialog, IDC_MARKCHAR, mark, sizeof mark);
    settings.SetMarkChar(mark);
    int order = 2;
    if (IsDlgButtonChecked(dialog, IDC_SORT_NAME) == BST_CHECKED)
        order = 0;
    else if (IsDlgButtonChecked(dialog, IDC_SORT_NEW) == BST_CHECKED)
        order = 1;
    settings.SetSortList(order);
    char editor[MAX_PATH];
    ReadField(dialog, IDC_EDITORNAME, editor, sizeof editor);
    settings.SetEditor(editor);
    settings.List().SetListFont(font, colour);
    BOOL numeric = FALSE;
    settings.SetTabStop(static_cast<int>(GetDlgItemInt(dialog, IDC_TABSTOP, &numeric, FALSE)));
}

void EnvironmentDialog::ChooseFont(HWND dialog) {
    // The font dialog shows and answers sizes at the DPI of the screen it is on; the list font is
    // kept as it is meant at 96 DPI.
    const UINT dpi = WindowDpi(dialog);
    LOGFONTA chosen = FontForDpi(font, dpi);
    COLORREF chosenColour = colour;
    if (!ChooseListFont(dialog, &chosen, &chosenColour)) return;
    font = WithPositiveHeight(FontAt96(chosen, dpi));
    colour = chosenColour;
}

void EnvironmentDialog::ChooseEditor(HWND dialog) {
    std::string filter = BuildFilter(instance, {{IDS_FILTER_EXE, "*.exe"}});
    char path[MAX_PATH] = "";
    if (ChooseFileToOpen(dialog, instance, IDS_EDITOR_TITLE, filter, OFN_READONLY, path)) {
        SetDlgItemTextA(dialog, IDC_EDITORNAME, path);
    }
    SetFocus(GetDlgItem(dialog, IDC_EDITORNAME));
}

bool ShowEnvironmentDialog(CommandHost& host) {
    EnvironmentDialog state = {host.Instance(), host.Settings(), 0, {}};
    return slot.ShowModal(host.Instance(), "OPTIONBOX1", host.Window(), EnvironmentDlgProc, state) == 1;
}
