// The about box: how it ends, its web link and the link's cursor.
#include <gtest/gtest.h>

#include "app/about_box.h"
#include "frame_fixture.h"
#include "resources/resource_ids.h"
#include "sjis.h"

using namespace testing_support;

namespace {

std::vector<std::string> shellCalls;

HINSTANCE WINAPI RecordShell(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    shellCalls.push_back(std::string(verb) + " " + file + " " + (parameters ? parameters : "-") + " " + directory +
                         " " + std::to_string(show));
    return reinterpret_cast<HINSTANCE>(42);
}

BOOL CALLBACK FirstPlainStatic(HWND child, LPARAM out) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0 || GetDlgCtrlID(child) == IDC_ABOUT_LINK || GetWindowTextLengthA(child) == 0) {
        return TRUE;  // not the frame, the icon or the link
    }
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
}

using AboutBoxTest = FrameTest;

TEST_F(AboutBoxTest, EndsWithItsResultAndItsLinkOpensThePageAsOftenAsItIsClicked) {
    ShellExecuteFunction previous = SetLinkShellHook(RecordShell);
    shellCalls.clear();
    Start("");
    const std::pair<UINT, WPARAM> ends[] = {{WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_ESCAPE}, {WM_SYSCOMMAND, SC_CLOSE}};
    std::vector<INT_PTR> results;
    for (const auto& end : ends) {
        DialogDriver driver;
        driver.Expect([&](HWND dialog) { PostMessageA(end.first == WM_SYSCOMMAND ? dialog : GetFocus(), end.first, end.second, 0); });
        DlgAbout about(GetModuleHandleA(nullptr));
        results.push_back(about.Show(frame_->MainWindow()));
        ASSERT_EQ(1u, driver.Shown().size());
        EXPECT_EQ(Sjis(u8"バージョン情報"), driver.Shown()[0].caption);
    }
    EXPECT_EQ((std::vector<INT_PTR>{1, 0, 0}), results);
    EXPECT_TRUE(shellCalls.empty());

    std::string linkText;
    HCURSOR overLink = nullptr, overText = nullptr;
    bool open = false;
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK), text = nullptr;
        linkText = DialogDriver::WindowText(link);
        for (int i = 0; i < 2; ++i) {
            SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        }
        PumpMessages(20);
        open = IsWindow(dialog) != FALSE;
        EnumChildWindows(dialog, FirstPlainStatic, reinterpret_cast<LPARAM>(&text));
        SetCursor(nullptr);
        SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overLink = GetCursor();
        SendMessageA(text, WM_SETCURSOR, reinterpret_cast<WPARAM>(text), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overText = GetCursor();
        DialogDriver::Press(dialog, IDOK);
    });
    Command(IDM_ABOUT);
    SetLinkShellHook(previous);
    EXPECT_TRUE(open);
    char page[261] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_WEBPAGE, page, sizeof page);
    EXPECT_EQ(page, linkText);
    EXPECT_EQ(std::vector<std::string>(2, std::string("open ") + page + " - . " + std::to_string(SW_SHOWNORMAL)), shellCalls);
    const HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "CURSOR");
    ASSERT_NE(nullptr, hand);
    EXPECT_EQ(hand, overLink);
    EXPECT_NE(hand, overText);
}

}  // namespace
