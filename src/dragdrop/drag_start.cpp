// The main window's rule for starting a drag of the selected entry out of the list.
#include "dragdrop/drag_start.h"

#include "app/kelvora_frame.h"
#include "dragdrop/drag_drop.h"
#include "lib/owned.h"
#include "loglist/date_macros.h"
#include "loglist/list_menu.h"

int VisibleRowAt(LPARAM position, LRESULT itemHeight) {
    if (itemHeight <= 0) return -1;
    return static_cast<int>(HIWORD(position) / itemHeight);
}

DragStartStep DecideDragStart(WPARAM keys, int pressedRow, int currentRow) {
    if (keys != MK_LBUTTON || currentRow < 0) return DragStartStep::PassOn;
    // No pixel threshold: crossing into another row is the gesture.
    return currentRow == pressedRow ? DragStartStep::Stay : DragStartStep::Start;
}

LRESULT StartDragOnMouseMove(KelvoraFrame& frame, HWND window, WPARAM keys, LPARAM position) {
    ListMenu* list = frame.List();
    if (!list) return 0;
    int row = VisibleRowAt(position, SendMessageA(list->Control(), LB_GETITEMHEIGHT, 0, 0));
    switch (DecideDragStart(keys, frame.PressedRow(), row)) {
    case DragStartStep::PassOn: return 0;
    case DragStartStep::Stay: return -1;
    case DragStartStep::Start: break;
    }
    int selected = list->GetSelection();
    LogEntry entry;
    if (selected < 0 || list->GetEntry(selected, &entry) < 0) return 0;
    char path[MAX_PATH];
    ExpandDateMacros(entry.LogFileName, path, frame.Settings());
    OwnedLocal block(LocalAlloc(LPTR, DragFileListSize(1)));
    if (!block) return 0;
    auto* files = static_cast<DragFileList*>(static_cast<void*>(block.Get()));
    AppendDragFile(files, path);
    CallDragDropStart(window, files);
    return 0;
}
