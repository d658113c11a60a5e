// The about box (dialog 2000) with its web link, which opens the maker's page in the default browser.
#pragma once
#include <windows.h>

#include "lib/core/owned.h"

class DlgAbout {
public:
    explicit DlgAbout(HINSTANCE instance);
    DlgAbout(const DlgAbout&) = delete;
    DlgAbout& operator=(const DlgAbout&) = delete;

    // The modal box owned by owner: 1 for 了解 (Enter), 0 for Escape or the close box.
    INT_PTR Show(HWND owner);
    // The font the link is painted in: 12 pixels high at 96 DPI, scaled to the box's DPI.
    HFONT LinkFont() const { return linkFont_.Get(); }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Handle(DlgAbout& self, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam);
    void OpenLink(HWND dialog) const;
    void PaintLink(HWND link) const;
    void MakeLinkFont(UINT dpi);

    char linkText_[261] = "";
    OwnedFont linkFont_;
    HCURSOR linkCursor_ = nullptr;  // a resource cursor: shared, never destroyed
    HINSTANCE instance_;
    COLORREF background_;
};

// Command 26.
void ShowAboutBox(HINSTANCE instance, HWND owner);
