// The program's progress bar of class "ProgressBarEx": a bar that paints itself and writes its
// percentage across its middle, inverted where the bar is filled.
#pragma once
#include <windows.h>

// What a ProgressBarEx of clientWidth pixels shows for its state. An empty range (maximum not above
// minimum) shows 0 % until the position passes the minimum, then 100 %, and never divides by zero.
struct ProgressPaint {
    unsigned percent;
    int fill;  // filled pixels of the (clientWidth - 2)-wide bar layer, 0 .. clientWidth - 2
};
ProgressPaint ComputeProgressPaint(unsigned minimum, unsigned maximum, unsigned position, int clientWidth);

namespace progressbar {

// A visible ProgressBarEx child of parent, or null.
HWND CreateEx(HWND parent, int x, int y, int width, int height, int id);
// Sends the range (16 bits each) and the step to a bar of either kind; nothing for a null window.
void SetRange(HWND bar, int minimum, int maximum, int step);
// rect receives x, y (top-left corner in the dialog's client coordinates), width and height of the
// dialog's item id, which a bar may be laid over; zeros when there is no such item.
void ItemRect(HWND dialog, int id, int rect[4]);

}  // namespace progressbar
