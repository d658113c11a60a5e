#include "dragdrop/drag_start.h"

#include "dragdrop/drag_drop.h"
#include "dragdrop/drag_file_list.h"
#include "lib/core/owned.h"
#include "loglist/date_macros.h"
#include "loglist/command_host.h"
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

Seam<DragStarter> dragStartSeam(DragDropStart);

LRESULT StartDragOnMouseMove(CommandHost& host, int pressedRow, WPARAM keys, LPARAM position) {
    ListMenu& list = host.List();
    int row = VisibleRowAt(position, SendMessageA(list.Control(), LB_GETITEMHEIGHT, 0, 0));
    switch (DecideDragStart(keys, pressedRow, row)) {
    case DragStartStep::PassOn: return 0;
    case DragStartStep::Stay: return -1;
    case DragStartStep::Start: break;
    }
    int selected = list.GetSelection();
    LogEntry entry;
    if (selected < 0 || list.GetEntry(selected, &entry) < 0) return 0;
    char path[MAX_PATH];
    ExpandDateMacros(entry.LogFileName, path, host.Settings());
    OwnedLocal block(LocalAlloc(LPTR, DragFileListSize(1)));
    if (!block) return 0;
    auto* files = static_cast<DragFileList*>(static_cast<void*>(block.Get()));
    AppendDragFile(files, path);
    dragStartSeam.Current()(host.Window(), files);
    return 0;
}
