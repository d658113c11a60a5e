#include "lib/services/dialog_slot.h"

bool DialogSlotCore::Refuse() const {
    if (!state_) return false;
    if (window_) {
        SetForegroundWindow(window_);
        BringWindowToTop(window_);
    }
    return true;
}

bool DialogSlotCore::Serves(HWND dialog, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG && state_ && !window_ && lParam == reinterpret_cast<LPARAM>(state_)) {
        window_ = dialog;
    }
    return window_ && dialog == window_;
}

INT_PTR DialogSlotCore::AfterFailure(HWND dialog, UINT message) {
    if (message == WM_INITDIALOG) EndDialog(dialog, 0);
    return FALSE;
}
