// Files dropped on the main window become entries, each through its own add dialog.
#include "dragdrop/drop_files.h"

#include "dragdrop/dd_add_list_dialog.h"
#include "dragdrop/drag_drop.h"
#include "loglist/list_commands.h"
#include "loglist/list_context.h"
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

LRESULT OnDropFiles(ListContext& context, HDROP drop) {
    OwnedHDrop released(drop);
    HWND window = context.Owner();
    BringToFront(window);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    POINT at = {};
    if (!DragQueryPoint(drop, &at)) return 0;
    for (UINT i = 0; i < count; ++i) {
        // A longer name would be cut into the name of another file: it is refused instead.
        if (DragQueryFileA(drop, i, nullptr, 0) >= MAX_PATH) {
            context.Messages().ShowMessageByIds(window, IDS_CAP_ADDLIST, IDS_ERR_DROPPATHLONG, MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        char path[MAX_PATH] = "";
        if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
        AddDroppedFile(context, path);
    }
    return 0;
}

INT_PTR AddDroppedFile(ListContext& context, const char* path) {
    ListMenu* list = context.List();
    if (!list || list->LoadFailed()) return 0;  // the entry could not be written back
    DlgDDAddList dialog(context.Owner(), *list, context.Settings(), context.Messages(), path);
    INT_PTR result = dialog.Open();
    if (result == 1) list_commands::RewriteAndReload(context);
    return result;
}
