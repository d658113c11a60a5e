#include "app/about_box.h"

#include <shellapi.h>

#include <cstring>

#include "lib/services/dialog_slot.h"
#include "lib/services/dpi.h"
#include "lib/services/proc_boundary.h"
#include "resources/resource_ids.h"

namespace {

// The dialog procedure finds the box's object here, and so does the link's procedure through its
// parent; the link keeps its own procedure in its user data.
DialogSlot<DlgAbout> slot;

constexpr char kLinkFace[] = "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ Ｐゴシック

}  // namespace

DlgAbout::DlgAbout(HINSTANCE instance) : instance_(instance), background_(GetSysColor(COLOR_BTNFACE)) {
    linkCursor_ = LoadCursorA(instance, "CURSOR");
    LoadStringA(instance, IDS_WEBPAGE, linkText_, sizeof linkText_);
    MakeLinkFont(kDesignDpi);
}

void DlgAbout::MakeLinkFont(UINT dpi) {
    LOGFONTA font = {};
    font.lfHeight = 12;  // at 96 DPI
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = 1;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    std::memcpy(font.lfFaceName, kLinkFace, sizeof kLinkFace);
    font = FontForDpi(font, dpi);
    linkFont_.Reset(CreateFontIndirectA(&font));
}

INT_PTR DlgAbout::Show(HWND owner) {
    return slot.ShowModal(instance_, MAKEINTRESOURCEA(IDD_ABOUT), owner, DialogProc, *this);
}

INT_PTR CALLBACK DlgAbout::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return slot.Dispatch(dialog, message, wParam, lParam, Handle);
}

INT_PTR DlgAbout::Handle(DlgAbout& self, HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_DPICHANGED) {
        // The dialog manager rescales the box and its template's font; the link's font is ours.
        self.MakeLinkFont(LOWORD(wParam));
        InvalidateRect(GetDlgItem(dialog, IDC_ABOUT_LINK), nullptr, TRUE);
        return FALSE;
    }
    if (message == WM_INITDIALOG) {
        self.MakeLinkFont(WindowDpi(dialog));
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        SetWindowTextA(link, self.linkText_);
        SetWindowLongPtrA(link, GWLP_USERDATA, GetWindowLongPtrA(link, GWLP_WNDPROC));
        SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc));
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: EndDialog(dialog, 1); return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case IDC_ABOUT_LINK: self.OpenLink(dialog); return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK DlgAbout::LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(link, GWLP_USERDATA));
    if (!previous) return DefWindowProcA(link, message, wParam, lParam);
    return GuardedMessage(previous, link, message, wParam, lParam, [&]() -> LRESULT {
        const DlgAbout* self = slot.Find(GetParent(link));
        if (self && message == WM_SETCURSOR && self->linkCursor_) {
            // Only this control shows the hand; the static class keeps its arrow everywhere else.
            SetCursor(self->linkCursor_);
            return TRUE;
        }
        if (self && message == WM_PAINT) self->PaintLink(link);  // the control's own painting finds nothing left
        return CallWindowProcA(previous, link, message, wParam, lParam);
    });
}

void DlgAbout::PaintLink(HWND link) const {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(link, &paint);
    if (!dc) return;
    SetBkColor(dc, background_);
    SetTextColor(dc, RGB(0, 0, 255));
    {
        SelectGuard font(dc, linkFont_.Get());
        TextOutA(dc, 0, 0, linkText_, lstrlenA(linkText_));
    }
    EndPaint(link, &paint);
}

void DlgAbout::OpenLink(HWND dialog) const {
    // A page that cannot be opened is not reported: the box just stays open.
    ShellExecuteA(dialog, "open", linkText_, nullptr, ".", SW_SHOWNORMAL);
}

void ShowAboutBox(HINSTANCE instance, HWND owner) {
    DlgAbout about(instance);
    about.Show(owner);
}
