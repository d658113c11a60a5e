// The main window: routes each message of the class "Kelvora" to its handler.
#pragma once
#include <windows.h>

class KelvoraFrame;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class MainWindow {
public:
    MainWindow(KelvoraFrame& frame, HWND window) : frame_(frame), window_(window) {}
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnCreate();
    void OnSize(WPARAM type, LPARAM size);
    void OnClose();
    void OnDestroy();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    void RememberWindowRect();

    KelvoraFrame& frame_;
    HWND window_;
};
