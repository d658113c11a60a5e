// The application object: start-up, the single main window, the message loop and the shutdown.
#pragma once
#include <windows.h>

#include <memory>

#include "cut/cut_commands.h"
#include "loglist/command_host.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

class KelvoraFrame final : public CommandHost {
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
    HWND MainWindow() const { return mainWindow_; }
    HWND Toolbar() const { return toolbar_; }
    HWND StatusBar() const { return statusBar_; }
    void SetList(std::unique_ptr<ListMenu> list) { listMenu_ = std::move(list); }

    bool HasList() const { return listMenu_ != nullptr; }

    // What the commands of the lower layers reach through CommandHost.
    HINSTANCE Instance() const override { return instance_; }
    HWND Window() const override { return mainWindow_; }
    ListMenu& List() override { return *listMenu_; }
    Environ& Settings() override { return *environ_; }
    const PMessage& Messages() const override { return *pmessage_; }
    void RefreshStatusBar() override;

    CutCommands& Cut() { return cut_; }

    void SetMainWindow(HWND w) { mainWindow_ = w; }
    void SetToolbar(HWND w) { toolbar_ = w; }
    void SetStatusBar(HWND w) { statusBar_ = w; }

    int PressedRow() const { return pressedRow_; }
    void SetPressedRow(int row) { pressedRow_ = row; }

private:
    int ActivateExistingInstanceOrCreate();

    int pressedRow_ = 0;
    int created_ = 0;
    HINSTANCE instance_;
    HACCEL accelerators_ = nullptr;
    HWND mainWindow_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND statusBar_ = nullptr;
    std::unique_ptr<Environ> environ_;
    std::unique_ptr<PMessage> pmessage_;
    std::unique_ptr<ListMenu> listMenu_;
    CutCommands cut_{*this};
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
