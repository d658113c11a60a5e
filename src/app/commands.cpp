#include "app/commands.h"

#include "app/about_box.h"
#include "cut/cut_commands.h"
#include "dialogs/dialog_commands.h"
#include "lib/core/owned.h"
#include "loglist/command_host.h"
#include "loglist/list_commands.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"

namespace {

// Commands that change the list or what the list file will hold.
bool ChangesList(WORD command) {
    switch (command) {
    case IDM_ADDLIST:
    case IDM_EDITLIST:
    case IDM_DELETELIST:
    case IDM_CUT:
    case IDM_BROWSER:
    case IDM_EDITOR:
    case IDM_SORTNAME:
    case IDM_SORTNEW:
    case IDM_SORTOLD: return true;
    }
    return false;
}

}  // namespace

LRESULT DispatchCommand(CommandHost& host, CutCommands& cut, WPARAM wParam, LPARAM lParam) {
    // After a load that failed nothing can be written back, so a change would be lost at exit:
    // these commands wait until a load succeeds (F5 or opening a list), whatever sends them.
    if (ChangesList(LOWORD(wParam)) && host.List().LoadFailed()) return 0;
    // A key and its menu item act alike: the notification code is not looked at.
    switch (LOWORD(wParam)) {
    case IDM_EXIT: SendMessageA(host.Window(), WM_CLOSE, 0, 0); return 0;
    case IDM_OPENLIST: list_commands::OpenIndexFile(host); return 0;
    case IDM_DELETELIST: list_commands::DeleteSelected(host); return 0;
    case IDM_BROWSER: list_commands::LaunchSelected(host, false); return 0;
    case IDM_EDITOR: list_commands::LaunchSelected(host, true); return 0;
    case IDM_SORTNAME: list_commands::Sort(host, 0); return 0;
    case IDM_SORTNEW: list_commands::Sort(host, 1); return 0;
    case IDM_SORTOLD: list_commands::Sort(host, 2); return 0;
    case IDM_HELP: list_commands::ShowHelp(host); return 0;
    case IDM_REFRESH: list_commands::RewriteAndReload(host); return 0;
    case IDM_CUT: cut.Start(); return 0;
    case IDM_CUTDONE: cut.Finish(); return 0;
    case IDM_CUTOPTION: cut.Options(); return 0;
    case IDM_ADDLIST: dialog_commands::AddEntry(host); return 0;
    case IDM_EDITLIST: dialog_commands::EditEntry(host); return 0;
    case IDM_OPTION: dialog_commands::Options(host); return 0;
    case IDM_DATEMACRO: dialog_commands::DateMacros(host); return 0;
    case IDM_ABOUT: ShowAboutBox(host.Instance(), host.Window()); return 0;
    }
    return DefWindowProcA(host.Window(), WM_COMMAND, wParam, lParam);
}

void ShowContextMenu(HINSTANCE instance, HWND window, POINT at) {
    struct Item {
        UINT text;  // 0: separator
        UINT command;
    };
    const Item items[] = {
        {IDS_CTX_OPEN, IDM_BROWSER},      {IDS_CTX_EDIT, IDM_EDITOR},           {0, 0}, {IDS_CTX_ADDLIST, IDM_ADDLIST},
        {IDS_CTX_EDITLIST, IDM_EDITLIST}, {IDS_CTX_DELETELIST, IDM_DELETELIST}, {0, 0}, {IDS_CTX_CUT, IDM_CUT},
    };
    OwnedMenu menu(CreatePopupMenu());
    if (!menu) return;
    for (const Item& item : items) {
        if (item.text == 0) {
            AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        char text[257] = "";
        LoadStringA(instance, item.text, text, sizeof text);
        AppendMenuA(menu.Get(), MF_STRING, item.command, text);
    }
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}
