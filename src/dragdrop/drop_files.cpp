#include "dragdrop/drop_files.h"

#include "dragdrop/dd_add_list_dialog.h"
#include "dragdrop/drag_drop.h"
#include "loglist/list_commands.h"
#include "loglist/command_host.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/pmessage.h"

namespace {

// So that the dialogs that follow come up in front of whatever the user dropped from.
void BringToFront(HWND window) {
    HWND popup = GetLastActivePopup(window);
    if (!popup) popup = window;
    BringWindowToTop(popup);
    SetForegroundWindow(popup);
    if (IsIconic(popup)) ShowWindow(popup, SW_RESTORE);
}

}  // namespace

LRESULT OnDropFiles(CommandHost& host, HDROP drop) {
    OwnedHDrop released(drop);
    HWND window = host.Window();
    BringToFront(window);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    POINT at = {};
    if (!DragQueryPoint(drop, &at)) return 0;
    for (UINT i = 0; i < count; ++i) {
        // A longer name would be cut into the name of another file: it is refused instead.
        if (DragQueryFileA(drop, i, nullptr, 0) >= MAX_PATH) {
            host.Messages().ShowMessageByIds(window, IDS_CAP_ADDLIST, IDS_ERR_DROPPATHLONG, MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        char path[MAX_PATH] = "";
        if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
        AddDroppedFile(host, path);
    }
    return 0;
}

bool AddDroppedFile(CommandHost& host, const char* path) {
    if (host.List().LoadFailed()) return false;  // the entry could not be written back
    DlgDDAddList dialog(host, path);
    if (!dialog.Open()) return false;
    list_commands::RewriteAndReload(host);
    return true;
}
