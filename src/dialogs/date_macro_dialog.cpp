#include "dialogs/date_macro_dialog.h"

#include "dialogs/context_help.h"
#include "lib/core/byte_text.h"
#include "lib/services/dialog_slot.h"
#include "loglist/command_host.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"

namespace {

constexpr int kHelpTable[] = {IDOK, IDCANCEL, IDC_MACRO_YEAR, IDC_MACRO_MON, IDC_MACRO_DAY, IDC_MACRO_AUTO};

DialogSlot<DateMacroDialog> slot;

INT_PTR Handle(DateMacroDialog& state, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return state.OnInit(dialog);
    case WM_COMMAND:
        switch (wParam) {  // the whole wParam: only clicks and keys match
        case IDOK:
            state.Store(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    case WM_HELP: return ContextHelpPopup(dialog, reinterpret_cast<const HELPINFO*>(lParam), kHelpTable);
    }
    return FALSE;
}

INT_PTR CALLBACK DateMacroDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return slot.Dispatch(dialog, message, wParam, lParam, Handle);
}

// A field's text, at most the two bytes a macro text keeps, cut on a character boundary.
void ReadMacroField(HWND dialog, int id, char out[3]) {
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    bytetext::CopyToField(out, 3, text);
}

}  // namespace

INT_PTR DateMacroDialog::OnInit(HWND dialog) {
    SetWindowLongPtrA(dialog, GWL_EXSTYLE, GetWindowLongPtrA(dialog, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    const struct {
        int id;
        const char* text;
    } fields[] = {{IDC_MACRO_YEAR, settings.GetMacroYear()},
                  {IDC_MACRO_MON, settings.GetMacroMon()},
                  {IDC_MACRO_DAY, settings.GetMacroDay()}};
    for (const auto& field : fields) {
        SendDlgItemMessageA(dialog, field.id, EM_LIMITTEXT, 2, 0);
        SetDlgItemTextA(dialog, field.id, field.text);
    }
    CheckDlgButton(dialog, IDC_MACRO_AUTO, settings.GetMacroAuto() ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void DateMacroDialog::Store(HWND dialog) {
    char text[3];
    ReadMacroField(dialog, IDC_MACRO_YEAR, text);
    settings.SetMacroYear(text);
    ReadMacroField(dialog, IDC_MACRO_MON, text);
    settings.SetMacroMon(text);
    ReadMacroField(dialog, IDC_MACRO_DAY, text);
    settings.SetMacroDay(text);
    if (IsDlgButtonChecked(dialog, IDC_MACRO_AUTO) == BST_CHECKED) {
        settings.SetMacroAuto(1);
        settings.SetMacrosToToday();
    } else {
        settings.SetMacroAuto(0);
    }
}

bool ShowDateMacroDialog(CommandHost& host) {
    DateMacroDialog state = {host.Settings()};
    return slot.ShowModal(host.Instance(), "DTMACROBOX", host.Window(), DateMacroDlgProc, state) == 1;
}
