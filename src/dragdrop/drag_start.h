// The main window's rule for starting a drag of the selected entry out of the list.
#pragma once
#include <windows.h>

class KelvoraFrame;

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

// WM_MOUSEMOVE of the main window (as the list forwards it): -1 while the pointer stays in the
// pressed row, 0 otherwise (then default processing runs); starts the drag when the rule says so.
LRESULT StartDragOnMouseMove(KelvoraFrame& frame, HWND window, WPARAM keys, LPARAM position);
