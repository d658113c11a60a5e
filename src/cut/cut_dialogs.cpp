#include "cut/cut_dialogs.h"

#include <commdlg.h>

#include <string>

#include "dialogs/context_help.h"
#include "dialogs/dialog_fields.h"
#include "lib/services/common_dialogs.h"
#include "lib/services/dialog_slot.h"
#include "lib/services/program_files.h"
#include "loglist/command_host.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

namespace {

constexpr int kOptionHelp[] = {
    IDOK,        IDCANCEL,      IDC_CUTFILE,     IDC_CUT_EDIT,   IDC_CUT_BROWSE, IDC_CUT_SELECTED,
    IDC_CUT_ALL, IDC_CUT_CHECK, IDC_CUT_NOCHECK, IDC_CUT_BAKFILE};

// The state of a showing is the window it is shown for.
DialogSlot<CommandHost> optionSlot;
DialogSlot<CommandHost> preSlot;

void CheckChoices(HWND dialog, const Environ& settings) {
    CheckRadioButton(dialog, IDC_CUT_SELECTED, IDC_CUT_ALL,
                     settings.Cut().GetCutMode() ? IDC_CUT_ALL : IDC_CUT_SELECTED);
    CheckRadioButton(dialog, IDC_CUT_CHECK, IDC_CUT_NOCHECK,
                     settings.Cut().GetCutCheck() ? IDC_CUT_CHECK : IDC_CUT_NOCHECK);
}

void StoreChoices(HWND dialog, Environ& settings) {
    settings.Cut().SetCutMode(IsDlgButtonChecked(dialog, IDC_CUT_ALL) == BST_CHECKED ? 1 : 0);
    settings.Cut().SetCutCheck(IsDlgButtonChecked(dialog, IDC_CUT_CHECK) == BST_CHECKED ? 1 : 0);
}

void BrowseCutFile(HWND dialog, CommandHost& host) {
    std::string filter =
        BuildFilter(host.Instance(), {{IDS_CUTFILE_FILTER_TXT, "*.txt"}, {IDS_CUTFILE_FILTER_ALL, "*.*"}});
    char file[MAX_PATH] = "";
    if (ChooseFileToOpen(dialog, host.Instance(), IDS_CAP_CUTFILE, filter, OFN_EXPLORER, file)) {
        SetDlgItemTextA(dialog, IDC_CUTFILE, file);
    }
    // The focus goes back to the field, which now shows the chosen file.
    SetFocus(GetDlgItem(dialog, IDC_CUTFILE));
}

void EditCutFile(HWND dialog, CommandHost& host) {
    const char* editor = host.Settings().GetEditor();
    if (!editor[0]) {
        host.Messages().ShowMessage(dialog, kMsgNoEditor);
        return;
    }
    char file[MAX_PATH];
    ReadField(dialog, IDC_CUTFILE, file, sizeof file);
    if (!file[0]) {
        host.Messages().ShowMessage(dialog, kMsgNoCutFile);
        return;
    }
    if (!StartProgram(dialog, editor, file)) host.Messages().ShowMessage(dialog, kMsgEditorFailed);
}

INT_PTR InitOptions(HWND dialog, CommandHost& host) {
    SetWindowLongPtrA(dialog, GWL_EXSTYLE, GetWindowLongPtrA(dialog, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    SendDlgItemMessageA(dialog, IDC_CUTFILE, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetDlgItemTextA(dialog, IDC_CUTFILE, host.Settings().Cut().GetCutFile());
    CheckChoices(dialog, host.Settings());
    CheckDlgButton(dialog, IDC_CUT_BAKFILE, host.Settings().GetBakFile() ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void StoreOptions(HWND dialog, CommandHost& host) {
    char file[MAX_PATH];
    ReadField(dialog, IDC_CUTFILE, file, sizeof file);
    host.Settings().Cut().SetCutFile(file);
    StoreChoices(dialog, host.Settings());
    host.Settings().SetBakFile(IsDlgButtonChecked(dialog, IDC_CUT_BAKFILE) == BST_CHECKED ? 1 : 0);
}

INT_PTR HandleOptions(CommandHost& host, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return InitOptions(dialog, host);
    case WM_HELP: return ContextHelpPopup(dialog, reinterpret_cast<const HELPINFO*>(lParam), kOptionHelp);
    case WM_COMMAND:
        switch (wParam) {
        case IDOK:
            StoreOptions(dialog, host);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        case IDC_CUT_BROWSE: BrowseCutFile(dialog, host); return TRUE;
        case IDC_CUT_EDIT: EditCutFile(dialog, host); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK OptionBox2DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return optionSlot.Dispatch(dialog, message, wParam, lParam, HandleOptions);
}

INT_PTR HandlePre(CommandHost& host, HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: CheckChoices(dialog, host.Settings()); return TRUE;
    case WM_COMMAND:
        switch (wParam) {
        case IDOK:
            StoreChoices(dialog, host.Settings());
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

extern "C" INT_PTR CALLBACK CutPreDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return preSlot.Dispatch(dialog, message, wParam, lParam, HandlePre);
}

bool ShowCutOptionsDialog(CommandHost& host) {
    return optionSlot.ShowModal(host.Instance(), "OptionBox2", host.Window(), OptionBox2DlgProc, host) == 1;
}

bool ShowCutPreDialog(CommandHost& host) {
    return preSlot.ShowModal(host.Instance(), "CutPreBox", host.Window(), CutPreDlgProc, host) == 1;
}
