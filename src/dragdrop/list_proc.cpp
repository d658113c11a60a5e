#include "dragdrop/list_proc.h"

#include "lib/services/proc_boundary.h"
#include "resources/resource_ids.h"

// The control's own procedure is kept in the control's user data, which the program owns. Every
// message to the list passes here: the user data is read in-process, where a window property would
// cost a round trip to the Wine server for each message (three times the load of a long list).
void SubclassList(HWND list) {
    SetWindowLongPtrA(list, GWLP_USERDATA, GetWindowLongPtrA(list, GWLP_WNDPROC));
    SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc));
}

namespace {

LRESULT Handle(WNDPROC previous, HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = GetParent(list);

    switch (message) {
    case WM_KEYDOWN:
        if (wParam != VK_RETURN) break;
        return SendMessageA(parent, WM_COMMAND, IDM_BROWSER, lParam);
    case WM_LBUTTONDBLCLK: return SendMessageA(parent, WM_COMMAND, IDM_BROWSER, lParam);
    case WM_LBUTTONDOWN: SendMessageA(parent, message, wParam, lParam); break;
    case WM_MOUSEMOVE: return SendMessageA(parent, message, wParam, lParam);
    case WM_RBUTTONUP: {
        LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
        if (height > 0) {
            LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
            LRESULT before = SendMessageA(list, LB_GETCURSEL, 0, 0);
            LRESULT row = SendMessageA(list, LB_SETCURSEL, HIWORD(lParam) / height + top, 0);
            // LB_SETCURSEL tells nobody: the status bar learns of the new row as after a click.
            if (row != LB_ERR && row != before) {
                SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(list));
            }
        }
        break;
    }
    }
    return CallWindowProcA(previous, list, message, wParam, lParam);
}

}  // namespace

extern "C" LRESULT WINAPI ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_USERDATA));
    if (!previous) return DefWindowProcA(list, message, wParam, lParam);
    return GuardedMessage(previous, list, message, wParam, lParam,
                          [&] { return Handle(previous, list, message, wParam, lParam); });
}
