// The main window: its toolbar, log list and status bar, the routing of each of its messages, and
// the host of the commands. One object for the life of the window, made with it.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "app/toolbar_images.h"
#include "cut/cut_commands.h"
#include "lib/core/owned.h"
#include "loglist/command_host.h"

class Environ;
class ListMenu;
class LiveList;
class PMessage;

class MainWindow final : public CommandHost {
public:
    MainWindow(HINSTANCE instance, HWND window, Environ& settings, const PMessage& messages);
    ~MainWindow();  // a cut that outlived the window ends here, its choices put back
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Toolbar() const { return toolbar_; }
    HWND StatusBar() const { return statusBar_; }
    // The DPI the window's contents are sized for: its monitor's, from its creation and each change.
    UINT Dpi() const { return dpi_; }
    // The run of the cut between commands 15 and 16.
    CutCommands& Cut() { return cut_; }

    HINSTANCE Instance() const override { return instance_; }
    HWND Window() const override { return window_; }
    ListMenu& List() override { return *list_; }
    Environ& Settings() override { return settings_; }
    const PMessage& Messages() const override { return messages_; }
    // Shows the selected entry's file, size, date and time; leaves the texts when nothing is selected.
    void RefreshStatusBar() override;
    void RowsChanged() override;

private:
    void OnCreate();
    void OnSize(UINT message, WPARAM type, LPARAM size);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void ScaleToolbar();
    void ScaleStatusBar();
    void Relayout();
    void OnClose();
    void OnDestroy();
    void ReleaseList();
    void OnEndSession();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(LPARAM lParam);
    void OnLogsOrClock(UINT message, WPARAM wParam);
    void OnContextMenu(LPARAM position);
    LRESULT OnDrop(HDROP drop);
    LRESULT OnMouseMove(WPARAM keys, LPARAM position);
    void OnLeftButtonDown(LPARAM position);
    void RememberWindowRect();
    void SetStatusParts();
    RECT ListRect() const;
    void EnsureDataFolder();
    void RelocateIndexFile();

    HINSTANCE instance_;
    HWND window_;
    Environ& settings_;
    const PMessage& messages_;
    UINT dpi_ = kDesignDpi;
    HWND toolbar_ = nullptr;
    ToolbarImageLists toolbarImages_;  // the pictures at the DPI, while the toolbar shows them
    HWND statusBar_ = nullptr;
    OwnedFont statusFont_;
    // From WM_CREATE until the window closes; commands run only while it is there.
    std::unique_ptr<ListMenu> list_;
    // Keeps the rows on their logs and the date macros on the date, for as long as the list is there.
    std::unique_ptr<LiveList> live_;
    int pressedRow_ = 0;  // the visible list row under the last left-button press
    CutCommands cut_{*this};
};
