// The main window: toolbar, log list and status bar, and the routing of each message of the class "Kelvora".
#pragma once
#include <windows.h>

class KelvoraFrame;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the selected entry's file, size, date and time; leaves the texts when nothing is selected.
void UpdateStatusBar(KelvoraFrame& frame);

class MainWindow {
public:
    MainWindow(KelvoraFrame& frame, HWND window) : frame_(frame), window_(window) {}
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnCreate();
    void OnSize(UINT message, WPARAM type, LPARAM size);
    void OnClose();
    void OnDestroy();
    void ReleaseList();
    void OnEndSession();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(LPARAM lParam);
    void OnContextMenu(LPARAM position);
    LRESULT OnDrop(HDROP drop);
    LRESULT OnMouseMove(WPARAM keys, LPARAM position);
    void OnLeftButtonDown(LPARAM position);
    void RememberWindowRect();
    void SetStatusParts();
    RECT ListRect() const;
    void EnsureDataFolder();
    void RelocateIndexFile();

    KelvoraFrame& frame_;
    HWND window_;
};
