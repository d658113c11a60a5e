// The application object: OLE, the start-up in its order with the maintenance, the settings and the
// message table, the main window's class and its single window, the accelerators and the message loop.
#pragma once
#include <windows.h>

#include <memory>

class Environ;
class MainWindow;
class PMessage;

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

    // This process made the main window: no other instance was running.
    bool Created() const { return window_ != nullptr; }
    // The main window, from its creation until this object ends; null when there is none.
    MainWindow* Window() const { return window_.get(); }
    Environ& Settings() { return *environ_; }

private:
    // The class's window procedure: the window's extra bytes hold this object, which holds the
    // window's MainWindow.
    static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ActivateExistingInstanceOrCreate();

    HINSTANCE instance_;
    HACCEL accelerators_ = nullptr;
    std::unique_ptr<Environ> environ_;
    std::unique_ptr<PMessage> pmessage_;
    std::unique_ptr<MainWindow> window_;
};
