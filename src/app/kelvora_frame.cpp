#include "app/kelvora_frame.h"

#include <ole2.h>

#include "app/main_window.h"
#include "app/maintenance.h"
#include "lib/services/proc_boundary.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

KelvoraFrame::KelvoraFrame(HINSTANCE instance) : instance_(instance) {
    OleInitialize(nullptr);  // the drag source needs OLE; a failure only disables dragging
    pmessage_ = std::make_unique<PMessage>(instance_);
    environ_ = std::make_unique<Environ>(instance_);

    if (environ_->GetXpUpdate() == 0) FirstRunCleanup(instance_, *environ_);
    RepairUninstallIcon(instance_);

    ActivateExistingInstanceOrCreate();
    // Loaded only now, so the window's creation runs without accelerators.
    accelerators_ = LoadAcceleratorsA(instance_, "ACCFRAME");
}

KelvoraFrame::~KelvoraFrame() {
    // Normally the window is gone by now; if not, it goes while its object can still handle its
    // last messages, and a cut that outlived it ends with that object.
    if (window_ && IsWindow(window_->Window())) DestroyWindow(window_->Window());
    window_.reset();
    pmessage_.reset();
    environ_.reset();  // writes ListFont, Extent and Main
    OleUninitialize();
}

void KelvoraFrame::ActivateExistingInstanceOrCreate() {
    char className[65] = "";
    char title[81] = "";
    LoadStringA(instance_, IDS_CLASSNAME, className, sizeof className);
    LoadStringA(instance_, IDS_TITLE, title, sizeof title);

    if (HWND existing = FindWindowA(className, nullptr)) {
        HWND target = GetLastActivePopup(existing);
        if (!target) target = existing;
        BringWindowToTop(target);
        SetForegroundWindow(target);
        if (IsIconic(existing)) ShowWindow(existing, SW_RESTORE);
        return;
    }
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = sizeof(LONG_PTR);  // the KelvoraFrame pointer
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconA(instance_, "Icon");
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = className;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);

    int rect[4];
    environ_->GetWindowRect(rect);
    if (!CreateWindowExA(WS_EX_ACCEPTFILES, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect[0], rect[1],
                         rect[2], rect[3], nullptr, nullptr, instance_, this)) {
        window_.reset();
    }
}

LRESULT CALLBACK KelvoraFrame::MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* frame = reinterpret_cast<KelvoraFrame*>(GetWindowLongPtrA(window, 0));
    if (!frame) {
        if (message != WM_CREATE) return DefWindowProcA(window, message, wParam, lParam);
        frame = static_cast<KelvoraFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(frame));
    }
    return GuardedMessage(DefWindowProcA, window, message, wParam, lParam, [&]() -> LRESULT {
        if (!frame->window_) {
            if (message != WM_CREATE) return DefWindowProcA(window, message, wParam, lParam);
            frame->window_ =
                std::make_unique<MainWindow>(frame->instance_, window, *frame->environ_, *frame->pmessage_);
        }
        return frame->window_->Dispatch(message, wParam, lParam);
    });
}

void KelvoraFrame::Dispatch(MSG& msg) {
    if (!TranslateAcceleratorA(window_ ? window_->Window() : nullptr, accelerators_, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int KelvoraFrame::Run(int showCommand) {
    ShowWindow(window_->Window(), showCommand);
    UpdateWindow(window_->Window());
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}
