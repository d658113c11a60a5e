// The boundary of the procedures the system calls: an exception that a handler lets out is told once,
// and the procedure answers as for a message it leaves alone.
#include <gtest/gtest.h>

#include <new>

#include "dialog_driver.h"
#include "lib/services/dialog_slot.h"
#include "lib/services/proc_boundary.h"
#include "sjis.h"

using namespace testing_support;

namespace {

const std::string kAbandoned = Sjis(u8"メモリが不足したため、操作を中止しました");

// DefWindowProcA answers WM_GETTEXTLENGTH with the length of the title; this handler throws instead.
LRESULT CALLBACK ThrowingWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return GuardedMessage(DefWindowProcA, w, m, wp, lp, [&]() -> LRESULT {
        if (m == WM_GETTEXTLENGTH) throw std::bad_alloc();
        return DefWindowProcA(w, m, wp, lp);
    });
}

TEST(ProcBoundaryTest, AWindowHandlersExceptionIsToldOnceAndAnsweredAsAMessageLeftAlone) {
    // clang-format off
    const WNDCLASSA wc = {0, ThrowingWindowProc, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr,
                          "KelvoraThrowingWindow"};
    // clang-format on
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "title", 0, 0, 0, 9, 9, nullptr, nullptr, wc.hInstance, nullptr);
    DialogDriver driver;
    LRESULT again = -1;
    driver.Expect([&](HWND box) {
        again = SendMessageA(w, WM_GETTEXTLENGTH, 0, 0);  // a failure while the box shows shows none
        DialogDriver::Press(box, IDOK);
    });
    EXPECT_EQ(5, SendMessageA(w, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(5, again);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(kAbandoned, driver.Shown()[0].text);
    DestroyWindow(w);
}

// A dialog whose handler throws at one message; 取消 ends it with 7.
UINT throwAt = 0;
DialogSlot<int> slot;

INT_PTR ThrowingHandler(int&, HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == throwAt) throw std::bad_alloc();
    if (message != WM_COMMAND || wParam != IDCANCEL) return FALSE;
    EndDialog(dialog, 7);
    return TRUE;
}

INT_PTR CALLBACK ThrowingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return slot.Dispatch(dialog, message, wParam, lParam, ThrowingHandler);
}

TEST(ProcBoundaryTest, ADialogHandlersExceptionIsToldOnceAndOnlyASetUpThatFailedEndsTheDialog) {
    // The message that throws, and the dialog's result.
    const std::pair<UINT, INT_PTR> cases[] = {{WM_APP, 7}, {WM_INITDIALOG, 0}};
    for (const auto& [message, result] : cases) {
        throwAt = message;
        DialogDriver driver;
        if (message == WM_APP) {
            driver.Expect([&](HWND dialog) {
                EXPECT_EQ(0, SendMessageA(dialog, WM_APP, 0, 0));  // FALSE: left alone
                DialogDriver::Press(dialog, IDCANCEL);
            });
        }
        driver.ExpectPress(IDOK);  // the report
        int state = 0;
        EXPECT_EQ(result, slot.ShowModal(GetModuleHandleA(nullptr), "DTMACROBOX", nullptr, ThrowingDialogProc, state));
        EXPECT_EQ(kAbandoned, driver.Shown().back().text) << message;
    }
}

}  // namespace
