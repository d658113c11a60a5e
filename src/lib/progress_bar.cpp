#include "lib/progress_bar.h"

#include <commctrl.h>

#include "lib/services/progress_bar_ex.h"

extern "C" {

HWND WINAPI CreateProgressBar(HWND parent, int x, int y, int width, int height, int id) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    return CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

HWND WINAPI CreateProgressBarEx(HWND parent, int x, int y, int width, int height, int id) {
    return progressbar::CreateEx(parent, x, y, width, height, id);
}

int WINAPI SetProgressBar(HWND bar, int minimum, int maximum, int step) {
    progressbar::SetRange(bar, minimum, maximum, step);
    return 0;
}

void WINAPI GetDlgItemRect(HWND dialog, int id, int rect[4]) { progressbar::ItemRect(dialog, id, rect); }

}  // extern "C"
