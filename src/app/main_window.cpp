// The main window: routes each message of the class "Kelvora" to its handler.
#include "app/main_window.h"

#include <htmlhelp.h>

#include "app/html_help.h"
#include "app/kelvora_frame.h"
#include "resources/resource_ids.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* frame = reinterpret_cast<KelvoraFrame*>(GetWindowLongPtrA(window, 0));
    if (!frame) {
        if (message != WM_CREATE) return DefWindowProcA(window, message, wParam, lParam);
        frame = static_cast<KelvoraFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(frame));
        frame->SetMainWindow(window);
    }
    return MainWindow(*frame, window).Dispatch(message, wParam, lParam);
}

LRESULT MainWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_MOVE:
        if (!IsIconic(window_)) RememberWindowRect();
        return 0;
    case WM_SIZE: OnSize(wParam, lParam); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_COMMAND: return OnCommand(wParam, lParam);
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::OnCreate() {}

void MainWindow::OnSize(WPARAM type, LPARAM) {
    if (type == SIZE_MINIMIZED) return;
    RememberWindowRect();
}

void MainWindow::RememberWindowRect() {
    RECT r;
    if (!::GetWindowRect(window_, &r)) return;
    const int rect[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    frame_.Settings().SetWindowRect(rect);
}

void MainWindow::OnClose() {
    CallHtmlHelp(window_, nullptr, HH_CLOSE_ALL, 0);
    DestroyWindow(window_);
}

void MainWindow::OnDestroy() { PostQuitMessage(0); }

LRESULT MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDM_EXIT: SendMessageA(window_, WM_CLOSE, 0, 0); return 0;
    }
    return DefWindowProcA(window_, WM_COMMAND, wParam, lParam);
}
