// Watches the message boxes and dialogs that the code under test opens on this thread, records what
// they show and answers them as the test asked.
#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <map>

namespace testing_support {
namespace {

DialogDriver* current = nullptr;
HWND helper = nullptr;
constexpr UINT kRunAnswer = WM_APP + 1;
constexpr DWORD kBoxLimitMs = 10000;

std::map<HWND, DWORD> openBoxes;  // since when

// The text of a message box is the static control 0xFFFF; its icon is control 0x14 on Windows and
// 1088 under Wine. Only the buttons of the box's type exist.
UINT MessageBoxStyle(HWND box) {
    auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    UINT style = has(IDABORT)   ? MB_ABORTRETRYIGNORE
                 : has(IDYES)   ? (has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO)
                 : has(IDRETRY) ? MB_RETRYCANCEL
                                : (has(IDCANCEL) ? MB_OKCANCEL : MB_OK);
    HWND iconControl = GetDlgItem(box, has(0x14) ? 0x14 : 1088);
    HICON icon = reinterpret_cast<HICON>(SendMessageA(iconControl, STM_GETICON, 0, 0));
    const std::pair<LPCSTR, UINT> known[] = {{IDI_HAND, MB_ICONHAND},
                                             {IDI_QUESTION, MB_ICONQUESTION},
                                             {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                             {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& k : known) {
        if (LoadIconA(nullptr, k.first) == icon) return style | k.second;
    }
    return icon ? 0xFFFFFFFF : style;  // an icon, but not one of the system's
}

void CloseStaleBoxes() {
    for (auto& [box, since] : openBoxes) {
        if (!IsWindow(box) || GetTickCount() - since < kBoxLimitMs) continue;
        ADD_FAILURE() << "box [" << DialogDriver::WindowText(box) << "] still open after 10 s: closed";
        since = GetTickCount();
        EndDialog(box, IDCANCEL);
    }
}

void Watch(HWND window) {
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0) return;
    for (auto i = openBoxes.begin(); i != openBoxes.end();) i = IsWindow(i->first) ? std::next(i) : openBoxes.erase(i);
    // Everything else happens outside the hook, once the box's own loop pumps messages.
    if (openBoxes.emplace(window, GetTickCount()).second) {
        PostMessageA(helper, kRunAnswer, reinterpret_cast<WPARAM>(window), 0);
    }
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    // After a dialog closes an activation with a null window also arrives: skip it.
    if (code == HCBT_ACTIVATE && wParam) Watch(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunAnswer)
        DialogDriver::OnBoxShown(reinterpret_cast<HWND>(wParam));
    else if (message == WM_TIMER)
        CloseStaleBoxes();
    else
        return DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

}  // namespace

void WatchBoxes() {
    // clang-format off
    const WNDCLASSA wc = {0, HelperProc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr,
                          "KelvoraTestBoxWatch"};
    // clang-format on
    RegisterClassA(&wc);
    helper = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetTimer(helper, 1, 250, nullptr);
    SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());  // for the life of the program
}

void PumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds) Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

DialogDriver::DialogDriver() : previous_(current) { current = this; }

DialogDriver::~DialogDriver() {
    current = previous_;
    if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " expected box(es) never appeared";
}

void DialogDriver::Expect(Answer answer) { answers_.push_back(std::move(answer)); }

void DialogDriver::ExpectPress(int id) {
    Expect([id](HWND dialog) { Press(dialog, id); });
}

void DialogDriver::Press(HWND dialog, int buttonId) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

std::string DialogDriver::WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string DialogDriver::ItemText(HWND dialog, int id) {
    return GetDlgItem(dialog, id) ? WindowText(GetDlgItem(dialog, id)) : "";
}

void DialogDriver::OnBoxShown(HWND window) {
    if (!IsWindow(window)) return;
    const ShownBox box = {WindowText(window), ItemText(window, 0xFFFF),
                          GetDlgItem(window, 0xFFFF) ? MessageBoxStyle(window) : 0};
    if (current) current->shown_.push_back(box);
    if (!current || current->answers_.empty()) {
        ADD_FAILURE() << "unexpected box: caption [" << box.caption << "] text [" << box.text << "]";
        Press(window, GetDlgItem(window, IDCANCEL) ? IDCANCEL : IDOK);
        return;
    }
    Answer answer = std::move(current->answers_.front());
    current->answers_.pop_front();
    answer(window);
}

}  // namespace testing_support
