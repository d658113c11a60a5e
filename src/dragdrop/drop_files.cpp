// Files dropped on the main window become entries, each through its own add dialog.
#include "dragdrop/drop_files.h"

#include "app/kelvora_frame.h"
#include "dragdrop/dd_add_list_dialog.h"
#include "dragdrop/drag_drop.h"
#include "loglist/list_commands.h"
#include "resources/resource_ids.h"

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

LRESULT OnDropFiles(KelvoraFrame& frame, HWND window, HDROP drop) {
    OwnedHDrop released(drop);
    BringToFront(window);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    POINT at = {};
    if (!DragQueryPoint(drop, &at)) return 0;
    for (UINT i = 0; i < count; ++i) {
        // A longer name would be cut into the name of another file: it is refused instead.
        if (DragQueryFileA(drop, i, nullptr, 0) >= MAX_PATH) {
            frame.Messages().ShowMessageByIds(window, IDS_CAP_ADDLIST, IDS_ERR_DROPPATHLONG, MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        char path[MAX_PATH] = "";
        if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
        AddDroppedFile(frame, window, path);
    }
    return 0;
}

INT_PTR AddDroppedFile(KelvoraFrame& frame, HWND window, const char* path) {
    ListMenu* list = frame.List();
    if (!list || list->LoadFailed()) return 0;  // the entry could not be written back
    DlgDDAddList dialog(window, *list, frame.Settings(), frame.Messages(), path);
    INT_PTR result = dialog.Open();
    list_commands::FinishEntryDialog(frame, result == 1);
    return result;
}
