// What the user meets of a running window, for the window tests.
#include "window_probe.h"

#include <gtest/gtest.h>

#include "lib/core/owned.h"
#include "resources/resource_ids.h"

namespace testing_support {
namespace {

ShownMenu* watching = nullptr;
char choice = 0;
int ticks = 0;

void CALLBACK MenuTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowA("#32768", nullptr);
    const bool shown = window && IsWindowVisible(window);
    if (!watching) {  // a choice that did not end the menu
        if (shown) EndMenu();
        return;
    }
    if (!shown && ++ticks < 200) return;
    HMENU menu = shown ? reinterpret_cast<HMENU>(SendMessageA(window, 0x01E1, 0, 0)) : nullptr;  // MN_GETHMENU
    GetWindowRect(window, &watching->rect);
    watching->items = MenuItems(menu);
    watching = nullptr;
    // The menu's own loop takes the typed key from the queue, whichever window it was posted to.
    if (shown && choice) {
        PostMessageA(window, WM_CHAR, static_cast<WPARAM>(choice), 0);
    } else {
        EndMenu();
    }
}

CommandRecorder* recording = nullptr;

// The pixels of rect, row by row, copied from the screen at once: GetPixel on a window asks the
// display for every pixel.
std::vector<COLORREF> Capture(HWND window, const RECT& rect) {
    UpdateWindow(window);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    WindowDC screen(window);
    OwnedBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC memory = CreateCompatibleDC(screen.Get());
    {
        SelectGuard select(memory, bitmap.Get());
        BitBlt(memory, 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
    }
    DeleteDC(memory);
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    const auto* bgr = static_cast<const BYTE*>(bits);
    for (size_t i = 0; bgr && i < pixels.size(); ++i) pixels[i] = RGB(bgr[4 * i + 2], bgr[4 * i + 1], bgr[4 * i]);
    return pixels;
}

}  // namespace

std::vector<std::string> MenuItems(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        items.push_back(GetSubMenu(menu, i) ? text : id ? std::to_string(id) + " " + text : "-");
        for (const std::string& item : MenuItems(GetSubMenu(menu, i))) items.push_back(item);
    }
    return items;
}

ShownMenu WatchMenu(const std::function<void()>& open, char choose) {
    ShownMenu menu;
    watching = &menu;
    choice = choose;
    ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, MenuTick);
    open();
    KillTimer(nullptr, timer);
    watching = nullptr;
    EXPECT_FALSE(menu.items.empty()) << "no menu";
    return menu;
}

CommandRecorder::CommandRecorder(HWND window)
    : window_(window),
      previous_(reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CommandRecorder::Record)))) {
    recording = this;
}

CommandRecorder::~CommandRecorder() {
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    recording = nullptr;
}

LRESULT CALLBACK CommandRecorder::Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND || LOWORD(wParam) == IDC_LIST) {
        return CallWindowProcA(recording->previous_, window, message, wParam, lParam);
    }
    recording->commands_.push_back(LOWORD(wParam));
    return 0;
}

FileDialogAnswer fileDialog;

BOOL WINAPI AnswerFileDialog(LPOPENFILENAMEA ofn) {
    fileDialog.shown = ofn->lpstrTitle;
    for (const char* f = ofn->lpstrFilter; *f; f += lstrlenA(f) + 1) fileDialog.shown.append("|").append(f);
    if (fileDialog.file.empty()) return FALSE;
    lstrcpynA(ofn->lpstrFile, fileDialog.file.c_str(), ofn->nMaxFile);
    return TRUE;
}

TEXTMETRICA FontMetrics(HWND window) {
    WindowDC dc(window);
    SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics;
}

std::set<COLORREF> ColoursIn(HWND window, const RECT& rect) {
    const std::vector<COLORREF> pixels = Capture(window, rect);
    return std::set<COLORREF>(pixels.begin(), pixels.end());
}

int FirstInkColumn(HWND window, const RECT& rect, COLORREF background) {
    const std::vector<COLORREF> pixels = Capture(window, rect);
    const int width = rect.right - rect.left;
    int first = -1;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int x = static_cast<int>(i % width);
        if (pixels[i] != background && (first < 0 || x < first)) first = x;
    }
    return first < 0 ? -1 : rect.left + first;
}

}  // namespace testing_support
