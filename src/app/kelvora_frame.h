// The application object: start-up, the single main window, the message loop and the shutdown.
#pragma once
#include <windows.h>

#include <memory>

#include "loglist/list_menu.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

class LogCutFile;

class KelvoraFrame {
public:
    explicit KelvoraFrame(HINSTANCE instance);  // runs the start-up up to the main window
    ~KelvoraFrame();                            // releases PMessage, writes the settings, ends OLE
    KelvoraFrame(const KelvoraFrame&) = delete;
    KelvoraFrame& operator=(const KelvoraFrame&) = delete;

    // Shows the window and runs the message loop; the exit code of WM_QUIT.
    int Run(int showCommand);
    // One step of the loop for a message already taken from the queue.
    void Dispatch(MSG& msg);

    bool Created() const { return created_ != 0; }
    HINSTANCE Instance() const { return instance_; }
    HWND MainWindow() const { return mainWindow_; }
    HACCEL Accelerators() const { return accelerators_; }
    HWND Toolbar() const { return toolbar_; }
    HWND StatusBar() const { return statusBar_; }
    Environ& Settings() { return *environ_; }
    const PMessage& Messages() const { return *pmessage_; }
    // The list exists from the main window's creation to its destruction.
    ListMenu* List() { return listMenu_.get(); }
    void SetList(std::unique_ptr<ListMenu> list) { listMenu_ = std::move(list); }

    void SetMainWindow(HWND w) { mainWindow_ = w; }
    void SetToolbar(HWND w) { toolbar_ = w; }
    void SetStatusBar(HWND w) { statusBar_ = w; }

    int PressedRow() const { return pressedRow_; }
    void SetPressedRow(int row) { pressedRow_ = row; }
    // The string-line cut between command 15 and command 16, or null.
    LogCutFile* RunningCut() { return runningCut_.get(); }
    void SetRunningCut(std::unique_ptr<LogCutFile> run);
    std::unique_ptr<LogCutFile> TakeRunningCut();
    // CutMode and CutCheck as they were before a running cut changed them.
    int SavedCutMode() const { return savedCutMode_; }
    int SavedCutCheck() const { return savedCutCheck_; }
    void SaveCutChoices(int mode, int check) {
        savedCutMode_ = mode;
        savedCutCheck_ = check;
    }

private:
    int ActivateExistingInstanceOrCreate();

    int pressedRow_ = 0;
    int savedCutMode_ = 0;
    int savedCutCheck_ = 0;
    int created_ = 0;
    HINSTANCE instance_;
    HACCEL accelerators_ = nullptr;
    HWND mainWindow_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    std::unique_ptr<Environ> environ_;
    std::unique_ptr<PMessage> pmessage_;
    std::unique_ptr<ListMenu> listMenu_;
    std::unique_ptr<LogCutFile> runningCut_;
    char className_[65] = "";
    char title_[81] = "";
    DWORD style_ = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    DWORD exStyle_ = WS_EX_ACCEPTFILES;
    int x_ = CW_USEDEFAULT;
    int y_ = CW_USEDEFAULT;
    int width_ = CW_USEDEFAULT;
    int height_ = CW_USEDEFAULT;
    WNDCLASSA windowClass_ = {};
};
