#include "cut/log_cut_dialog.h"

#include <commctrl.h>

#include <cstdio>

#include "cut/cut_engine.h"
#include "lib/services/dialog_slot.h"
#include "lib/services/progress_bar_ex.h"
#include "resources/resource_ids.h"

namespace {
DialogSlot<LogCutDialog> slot;  // one progress dialog at a time
}

HWND LogCutDialog::Show(HINSTANCE instance, HWND owner) {
    dialog_ = slot.Create(instance, "CutIndBox", owner, DlgProc, *this);
    return dialog_;
}

void LogCutDialog::Close() {
    if (dialog_) DestroyWindow(dialog_);
    dialog_ = nullptr;
    bar_ = nullptr;
}

void LogCutDialog::SetRange(unsigned minimum, unsigned long long maximumBytes, unsigned step) {
    unit_ = ProgressUnit(maximumBytes);
    progressbar::SetRange(bar_, static_cast<int>(minimum), static_cast<int>(maximumBytes / unit_),
                          static_cast<int>(step));
}

void LogCutDialog::SetPosition(unsigned long long bytes) {
    if (bar_) SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(bytes / unit_), 0);
}

void LogCutDialog::SetFile(const char* path, int placeCount) {
    if (!dialog_) return;
    char count[16];
    std::snprintf(count, sizeof count, "%4d", placeCount);
    SetDlgItemTextA(dialog_, IDC_CUT_FILENAME, path);
    SetDlgItemTextA(dialog_, IDC_CUT_COUNT, count);
}

void LogCutDialog::SetKind(const char* name) {
    if (dialog_) SetDlgItemTextA(dialog_, IDC_CUT_KIND, name);
}

void LogCutDialog::SetCount(int placeCount) {
    if (dialog_) SetDlgItemInt(dialog_, IDC_CUT_COUNT, static_cast<UINT>(placeCount), TRUE);
}

INT_PTR CALLBACK LogCutDialog::DlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return slot.Dispatch(dialog, message, wParam, lParam, Handle);
}

INT_PTR LogCutDialog::Handle(LogCutDialog& self, HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        int r[4];
        progressbar::ItemRect(dialog, IDC_CUT_BARFRAME, r);
        self.bar_ = progressbar::CreateEx(dialog, r[0], r[1], r[2], r[3], IDC_CUT_BAR);
        return TRUE;
    }
    case WM_COMMAND:
        if (wParam == IDCANCEL) {
            self.RequestStop();
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
