// The about box (dialog 2000) with its web link, which opens the maker's page in the default browser.
#include "app/about_box.h"

#include <shellapi.h>

#include <cstring>

#include "resources/resource_ids.h"

namespace {

// The box is modal: the link procedure finds the object through the first pointer, set when it
// is made; the dialog procedure through the second, set at WM_INITDIALOG.
DlgAbout* constructed = nullptr;
DlgAbout* shown = nullptr;

constexpr char kLinkFace[] = "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ Ｐゴシック

}  // namespace

DlgAbout::DlgAbout(HINSTANCE instance) : instance_(instance), background_(GetSysColor(COLOR_BTNFACE)) {
    constructed = this;
    linkCursor_ = LoadCursorA(instance, "CURSOR");
    LoadStringA(instance, IDS_WEBPAGE, linkText_, sizeof linkText_);
    LOGFONTA font = {};
    font.lfHeight = 12;
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = 1;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    std::memcpy(font.lfFaceName, kLinkFace, sizeof kLinkFace);
    linkFont_.Reset(CreateFontIndirectA(&font));
}

DlgAbout::~DlgAbout() {
    if (constructed == this) constructed = nullptr;
    if (shown == this) shown = nullptr;
}

INT_PTR DlgAbout::Show(HWND owner) {
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    INT_PTR result =
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, DialogProc, reinterpret_cast<LPARAM>(this));
    shown = nullptr;
    return result;
}

INT_PTR CALLBACK DlgAbout::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        shown = reinterpret_cast<DlgAbout*>(lParam);
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        SetWindowTextA(link, shown->linkText_);
        shown->previousLinkProc_ =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
        return TRUE;
    }
    if (!shown) return FALSE;
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: EndDialog(dialog, 1); return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    case IDC_ABOUT_LINK: shown->OpenLink(dialog); return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK DlgAbout::LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
    DlgAbout* self = constructed;
    if (!self || !self->previousLinkProc_) return DefWindowProcA(link, message, wParam, lParam);
    switch (message) {
    case WM_SETCURSOR:
        // Only this control shows the hand; the static class keeps its arrow everywhere else.
        if (self->linkCursor_) {
            SetCursor(self->linkCursor_);
            return TRUE;
        }
        break;
    case WM_PAINT: self->PaintLink(link); break;  // the control's own painting finds nothing left to draw
    }
    return CallWindowProcA(self->previousLinkProc_, link, message, wParam, lParam);
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
