// The application object: start-up, the single main window, the message loop and the shutdown.
#include "app/kelvora_frame.h"

#include <ole2.h>

#include "app/main_window.h"
#include "app/maintenance.h"
#include "resources/resource_ids.h"

KelvoraFrame::KelvoraFrame(HINSTANCE instance) : instance_(instance) {
    OleInitialize(nullptr);  // the drag source needs OLE; a failure only disables dragging
    pmessage_ = std::make_unique<PMessage>(instance_);
    environ_ = std::make_unique<Environ>(instance_);

    if (environ_->GetXpUpdate() == 0) FirstRunCleanup(instance_, *environ_);
    RepairUninstallIcon(instance_);

    LoadStringA(instance_, IDS_CLASSNAME, className_, sizeof className_);
    LoadStringA(instance_, IDS_TITLE, title_, sizeof title_);

    int rect[4];
    environ_->GetWindowRect(rect);
    x_ = rect[0];
    y_ = rect[1];
    width_ = rect[2];
    height_ = rect[3];

    windowClass_.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass_.lpfnWndProc = MainWindowProc;
    windowClass_.cbClsExtra = 0;
    windowClass_.cbWndExtra = sizeof(LONG_PTR);  // the KelvoraFrame pointer
    windowClass_.hInstance = instance_;
    windowClass_.hIcon = LoadIconA(instance_, "Icon");
    windowClass_.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass_.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass_.lpszMenuName = className_;
    windowClass_.lpszClassName = className_;

    created_ = ActivateExistingInstanceOrCreate();
    // Loaded only now, so the window's creation runs without accelerators.
    accelerators_ = LoadAcceleratorsA(instance_, "ACCFRAME");
}

KelvoraFrame::~KelvoraFrame() {
    // Normally the window is gone by now; if not, it must not outlive the object it points to.
    if (mainWindow_ && IsWindow(mainWindow_)) DestroyWindow(mainWindow_);
    cut_.Stop();  // ended with the window, unless there never was one
    pmessage_.reset();
    environ_.reset();  // writes ListFont, Extent and Main
    OleUninitialize();
}

void KelvoraFrame::RefreshStatusBar() { UpdateStatusBar(*this); }

int KelvoraFrame::ActivateExistingInstanceOrCreate() {
    if (HWND existing = FindWindowA(className_, nullptr)) {
        HWND target = GetLastActivePopup(existing);
        if (!target) target = existing;
        BringWindowToTop(target);
        SetForegroundWindow(target);
        if (IsIconic(existing)) ShowWindow(existing, SW_RESTORE);
        return 0;
    }
    RegisterClassA(&windowClass_);
    HWND w = CreateWindowExA(exStyle_, className_, title_, style_, x_, y_, width_, height_, nullptr, nullptr,
                             instance_, this);
    if (!w) return 0;
    mainWindow_ = w;
    return 1;
}

void KelvoraFrame::Dispatch(MSG& msg) {
    if (!TranslateAcceleratorA(mainWindow_, accelerators_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int KelvoraFrame::Run(int showCommand) {
    ShowWindow(mainWindow_, showCommand);
    UpdateWindow(mainWindow_);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}
