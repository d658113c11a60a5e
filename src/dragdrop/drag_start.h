// The main window's rule for starting a drag of the selected entry out of the list.
#pragma once
#include <windows.h>

#include "lib/core/seam.h"

class CommandHost;
struct DragFileList;

// Where a drag goes: DragDropStart, the system's modal drag and drop; tests record it instead.
using DragStarter = void(WINAPI*)(HWND window, DragFileList* list);
extern Seam<DragStarter> dragStartSeam;

// What a mouse move over the list means for a drag.
enum class DragStartStep {
    PassOn,  // not a drag gesture: default processing
    Stay,    // still in the pressed row: nothing, not even default processing
    Start,   // left button alone into another row: drag the selected entry
};

// The visible row under a list-client position; -1 when the row height is unknown.
int VisibleRowAt(LPARAM position, LRESULT itemHeight);

// The rule over plain data: keys are the move's wParam, rows count visible rows from the top.
DragStartStep DecideDragStart(WPARAM keys, int pressedRow, int currentRow);

// WM_MOUSEMOVE of the main window (as the list forwards it), pressedRow being the visible row of
// the last left-button press: -1 while the pointer stays in the pressed row, 0 otherwise (then
// default processing runs). When the rule says so, hands the selected entry's log file, its date
// macros expanded, to the drag.
LRESULT StartDragOnMouseMove(CommandHost& host, int pressedRow, WPARAM keys, LPARAM position);
