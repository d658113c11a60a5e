// Watches the message boxes and modal dialogs that the code under test opens on this thread,
// records what they show and answers them as the test asked.
#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testing_support {
namespace {

DialogDriver* current = nullptr;
constexpr UINT kRunAnswer = WM_APP + 1;
constexpr char kHelperClass[] = "KelvoraTestDialogDriver";

// The text of a message box is the static control with id 0xFFFF; its icon is control 0x14 on
// Windows and 1088 under Wine.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconIds[] = {0x14, 1088};

UINT IconStyle(HWND box) {
    HWND iconControl = nullptr;
    for (int id : kMessageIconIds) {
        if (!iconControl) iconControl = GetDlgItem(box, id);
    }
    if (!iconControl) return 0;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(iconControl, STM_GETICON, 0, 0));
    if (!icon) return 0;
    struct Known {
        LPCSTR id;
        UINT style;
    };
    const Known known[] = {{IDI_HAND, MB_ICONHAND},
                           {IDI_QUESTION, MB_ICONQUESTION},
                           {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                           {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const Known& k : known) {
        if (LoadIconA(nullptr, k.id) == icon) return k.style;
    }
    return 0xFFFFFFFF;  // an icon, but not one of the system's
}

UINT ButtonStyle(const std::vector<int>& ids) {
    auto has = [&](int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    if (has(IDABORT) && has(IDRETRY) && has(IDIGNORE)) return MB_ABORTRETRYIGNORE;
    if (has(IDYES) && has(IDNO)) return has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    if (has(IDRETRY) && has(IDCANCEL)) return MB_RETRYCANCEL;
    if (has(IDOK) && has(IDCANCEL)) return MB_OKCANCEL;
    return MB_OK;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM param) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    int kind = style & 0x0F;
    if (lstrcmpiA(cls, "Button") == 0 && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)) {
        reinterpret_cast<std::vector<int>*>(param)->push_back(GetDlgCtrlID(child));
    }
    return TRUE;
}

}  // namespace

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

DialogDriver::DialogDriver() {
    previous_ = current;
    current = this;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HelperProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHelperClass;
    RegisterClassA(&wc);
    helper_ = CreateWindowExA(0, kHelperClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (helper_) DestroyWindow(helper_);
    current = previous_;
    for (const ShownBox& box : shown_) {
        if (!box.expected) ADD_FAILURE() << "unexpected box: caption [" << box.caption << "] text [" << box.text << "]";
    }
    if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " expected box(es) never appeared";
}

void DialogDriver::Expect(Answer answer) { answers_.push_back(std::move(answer)); }

void DialogDriver::ExpectPress(int buttonId) {
    Expect([buttonId](HWND dialog) { Press(dialog, buttonId); });
}

bool DialogDriver::WaitForShown(size_t n, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (shown_.size() < n && GetTickCount() - start < timeoutMs) PumpMessages(10);
    return shown_.size() >= n;
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
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::string();
}

LRESULT CALLBACK DialogDriver::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    // After a dialog closes an activation with a null window also arrives: skip it.
    if (code == HCBT_ACTIVATE && wParam && current) current->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogDriver::OnActivate(HWND window) {
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0) return;
    if (std::find(seen_.begin(), seen_.end(), window) != seen_.end()) return;
    seen_.push_back(window);
    // Everything else happens outside the hook, once the box's own loop pumps messages.
    PostMessageA(helper_, kRunAnswer, reinterpret_cast<WPARAM>(window), 0);
}

void DialogDriver::RunAnswer(HWND window) {
    if (!IsWindow(window)) return;
    ShownBox box;
    box.window = window;
    box.caption = WindowText(window);
    box.text = ItemText(window, kMessageTextId);
    box.windowStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EnumChildWindows(window, CollectButton, reinterpret_cast<LPARAM>(&box.buttonIds));
    if (GetDlgItem(window, kMessageTextId)) box.messageBoxStyle = ButtonStyle(box.buttonIds) | IconStyle(window);
    if (answers_.empty()) {
        box.expected = false;
        shown_.push_back(box);
        auto has = [&](int id) { return GetDlgItem(window, id) != nullptr; };
        if (has(IDCANCEL)) Press(window, IDCANCEL);
        else if (has(IDOK)) Press(window, IDOK);
        else PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
    shown_.push_back(box);
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    answer(window);
}

LRESULT CALLBACK DialogDriver::HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunAnswer && current) {
        current->RunAnswer(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace testing_support
