// Command ids to handlers, and the list's context menu.
#include "app/commands.h"

#include "app/about_box.h"
#include "app/kelvora_frame.h"
#include "cut/cut_commands.h"
#include "dialogs/dialog_commands.h"
#include "lib/core/owned.h"
#include "loglist/list_commands.h"
#include "resources/resource_ids.h"

namespace {

// Commands that change the list or what the list file will hold.
bool ChangesList(WORD command) {
    switch (command) {
    case IDM_ADDLIST: case IDM_EDITLIST: case IDM_DELETELIST: case IDM_CUT: case IDM_BROWSER: case IDM_EDITOR:
    case IDM_SORTNAME: case IDM_SORTNEW: case IDM_SORTOLD: return true;
    }
    return false;
}

}  // namespace

LRESULT DispatchCommand(KelvoraFrame& frame, HWND window, WPARAM wParam, LPARAM lParam) {
    // After a load that failed nothing can be written back, so a change would be lost at exit:
    // these commands wait until a load succeeds (F5 or opening a list), whatever sends them.
    if (ChangesList(LOWORD(wParam)) && frame.List().LoadFailed()) return 0;
    // A key and its menu item act alike: the notification code is not looked at.
    switch (LOWORD(wParam)) {
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
    case IDM_OPENLIST: list_commands::OpenIndexFile(frame); return 0;
    case IDM_DELETELIST: list_commands::DeleteSelected(frame); return 0;
    case IDM_BROWSER: list_commands::LaunchSelected(frame, false); return 0;
    case IDM_EDITOR: list_commands::LaunchSelected(frame, true); return 0;
    case IDM_SORTNAME: list_commands::Sort(frame, 0); return 0;
    case IDM_SORTNEW: list_commands::Sort(frame, 1); return 0;
    case IDM_SORTOLD: list_commands::Sort(frame, 2); return 0;
    case IDM_HELP: list_commands::ShowHelp(frame); return 0;
    case IDM_REFRESH: list_commands::RewriteAndReload(frame); return 0;
    case IDM_CUT: frame.Cut().Start(); return 0;
    case IDM_CUTDONE: frame.Cut().Finish(); return 0;
    case IDM_CUTOPTION: frame.Cut().Options(); return 0;
    case IDM_ADDLIST: dialog_commands::AddEntry(frame); return 0;
    case IDM_EDITLIST: dialog_commands::EditEntry(frame); return 0;
    case IDM_OPTION: dialog_commands::Options(frame); return 0;
    case IDM_DATEMACRO: dialog_commands::DateMacros(frame); return 0;
    case IDM_ABOUT: ShowAboutBox(frame.Instance(), window); return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

void ShowContextMenu(KelvoraFrame& frame, POINT at) {
    struct Item {
        UINT text;  // 0: separator
        UINT command;
    };
    const Item items[] = {
        {IDS_CTX_OPEN, IDM_BROWSER},     {IDS_CTX_EDIT, IDM_EDITOR},           {0, 0},
        {IDS_CTX_ADDLIST, IDM_ADDLIST},  {IDS_CTX_EDITLIST, IDM_EDITLIST},     {IDS_CTX_DELETELIST, IDM_DELETELIST},
        {0, 0},                          {IDS_CTX_CUT, IDM_CUT},
    };
    OwnedMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (const Item& item : items) {
        if (item.text == 0) {
            AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        char text[257] = "";
        LoadStringA(frame.Instance(), item.text, text, sizeof text);
        AppendMenuA(menu.Get(), MF_STRING, item.command, text);
    }
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, frame.Window(), nullptr);
}
