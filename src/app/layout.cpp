#include "app/layout.h"

#include "lib/services/dpi.h"

void StatusBarEdges(int clientWidth, int maxCharWidth, int edges[4]) {
    int w = maxCharWidth / 2;
    edges[0] = clientWidth - 30 * w;
    edges[1] = clientWidth - 20 * w;
    edges[2] = clientWidth - 10 * w;
    edges[3] = clientWidth;
}

RECT ListRectangle(int clientWidth, int clientHeight, int toolbarHeight, int statusHeight, int border) {
    RECT r;
    r.left = 0;
    r.top = toolbarHeight + 2 * border;
    r.right = clientWidth;
    r.bottom = r.top + (clientHeight - toolbarHeight - statusHeight - 4 * border);
    return r;
}

POINT KeyboardMenuPosition(const RECT& listOnScreen, int topIndex, int selected, int itemHeight, UINT dpi) {
    POINT p;
    p.x = listOnScreen.left + (listOnScreen.right - listOnScreen.left) / 2 - ScaleToDpi(150, dpi);
    p.y = listOnScreen.top + itemHeight * (selected - topIndex) + itemHeight / 2;
    return p;
}
