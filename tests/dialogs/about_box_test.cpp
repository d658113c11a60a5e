// The about box: how it ends, its web link and the link's cursor.
#include <gtest/gtest.h>

#include "app/about_box.h"
#include "frame_fixture.h"
#include "resources/resource_ids.h"
#include "sjis.h"

using namespace testing_support;

namespace {

struct ShellCall {
    HWND owner;
    std::string verb, file, directory;
    bool noParameters;
    INT show;
};
std::vector<ShellCall> shellCalls;

HINSTANCE WINAPI RecordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    shellCalls.push_back({owner, verb ? verb : "", file ? file : "", directory ? directory : "", parameters == nullptr,
                          show});
    return reinterpret_cast<HINSTANCE>(42);
}

class AboutBoxTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        shellCalls.clear();
        previous_ = SetLinkShellHook(RecordShell);
        Start("");
    }
    void TearDown() override {
        SetLinkShellHook(previous_);
        FrameTest::TearDown();
    }
    INT_PTR ShowAbout(DialogDriver::Answer answer) {
        DialogDriver driver;
        driver.Expect(std::move(answer));
        DlgAbout about(GetModuleHandleA(nullptr));
        INT_PTR result = about.Show(frame_->MainWindow());
        EXPECT_EQ(1u, driver.Shown().size());
        if (!driver.Shown().empty()) {
            EXPECT_EQ(Sjis(u8"バージョン情報"), driver.Shown()[0].caption);
        }
        return result;
    }
    ShellExecuteFunction previous_ = nullptr;
};

struct KeyCase {
    const char* name;
    UINT message;
    WPARAM key;
    INT_PTR result;
};

class AboutEndTest : public AboutBoxTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(AboutEndTest, EndsWithItsResult) {
    INT_PTR result = ShowAbout([](HWND dialog) {
        if (GetParam().message == WM_SYSCOMMAND) PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        else PostMessageA(GetFocus(), GetParam().message, GetParam().key, 0);
    });
    EXPECT_EQ(GetParam().result, result);
    EXPECT_TRUE(shellCalls.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, AboutEndTest,
                         testing::Values(KeyCase{"Enter", WM_KEYDOWN, VK_RETURN, 1},
                                         KeyCase{"Escape", WM_KEYDOWN, VK_ESCAPE, 0},
                                         KeyCase{"CloseBox", WM_SYSCOMMAND, 0, 0}),
                         [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST_F(AboutBoxTest, EachClickOnTheLinkOpensThePageAndTheBoxStays) {
    bool openAfterClicks = false;
    std::string linkText;
    INT_PTR result = ShowAbout([&](HWND dialog) {
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        linkText = DialogDriver::WindowText(link);
        for (int i = 0; i < 2; ++i) {
            SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
            SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        }
        PumpMessages(20);
        openAfterClicks = IsWindow(dialog) != FALSE;  // and the result below is 了解's, not the link's
        DialogDriver::Press(dialog, IDOK);
    });
    EXPECT_EQ(1, result);
    EXPECT_TRUE(openAfterClicks);
    char page[261] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_WEBPAGE, page, sizeof page);
    EXPECT_EQ(page, linkText);
    ASSERT_EQ(2u, shellCalls.size());
    for (const ShellCall& call : shellCalls) {
        EXPECT_EQ("open", call.verb);
        EXPECT_EQ(page, call.file);
        EXPECT_TRUE(call.noParameters);
        EXPECT_EQ(".", call.directory);
        EXPECT_EQ(SW_SHOWNORMAL, call.show);
    }
}

BOOL CALLBACK FirstPlainStatic(HWND child, LPARAM out) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0 || GetDlgCtrlID(child) == IDC_ABOUT_LINK) return TRUE;
    if (GetWindowTextLengthA(child) == 0) return TRUE;  // the frame and the icon
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
}

TEST_F(AboutBoxTest, OnlyTheLinkShowsTheHandCursor) {
    HCURSOR overLink = nullptr, overText = nullptr;
    ShowAbout([&](HWND dialog) {
        HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
        HWND text = nullptr;
        EnumChildWindows(dialog, FirstPlainStatic, reinterpret_cast<LPARAM>(&text));
        SetCursor(nullptr);
        SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overLink = GetCursor();
        SendMessageA(text, WM_SETCURSOR, reinterpret_cast<WPARAM>(text), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        overText = GetCursor();
        DialogDriver::Press(dialog, IDOK);
    });
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "CURSOR");
    ASSERT_NE(nullptr, hand);
    EXPECT_EQ(hand, overLink);
    EXPECT_NE(hand, overText);
}

TEST_F(AboutBoxTest, MenuCommandShowsTheBox) {
    DialogDriver driver;
    driver.ExpectPress(IDOK);
    ASSERT_NE(static_cast<UINT>(-1), GetMenuState(GetMenu(frame_->MainWindow()), IDM_ABOUT, MF_BYCOMMAND));
    Command(IDM_ABOUT);
    ASSERT_EQ(1u, driver.Shown().size());
    EXPECT_EQ(Sjis(u8"バージョン情報"), driver.Shown()[0].caption);
}

}  // namespace
