// The application object: the main window with its title, menu and accelerators, the window
// rectangle it remembers, the settings written at exit and the single running instance.
#include "app/kelvora_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/html_help.h"
#include "dialog_driver.h"
#include "resources/resource_ids.h"
#include "sjis.h"
#include "test_env.h"

using testing_support::DeleteProgramSettings;
using testing_support::DialogDriver;
using testing_support::EnvPath;
using testing_support::PumpMessages;
using testing_support::ReadProgramValue;
using testing_support::Sjis;

namespace {

HWND WINAPI NoHelp(HWND, LPCSTR, UINT, DWORD_PTR) { return nullptr; }

class KelvoraFrameTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteProgramSettings();
        previousHelp_ = SetHtmlHelpHook(NoHelp);
    }
    void TearDown() override {
        SetHtmlHelpHook(previousHelp_);
        DeleteProgramSettings();
    }
    // Closes the window the way the user does and runs the loop until it ends.
    static int CloseAndRun(KelvoraFrame& frame) {
        PostMessageA(frame.MainWindow(), WM_CLOSE, 0, 0);
        return frame.Run(SW_SHOWNORMAL);
    }
    HtmlHelpFunction previousHelp_ = nullptr;
};

std::string MenuText(HMENU menu, UINT position) {
    char text[128] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(KelvoraFrameTest, OpensOneTitledWindowWithTheMenuBar) {
    KelvoraFrame frame(GetModuleHandleA(nullptr));
    ASSERT_TRUE(frame.Created());
    HWND w = frame.MainWindow();
    ASSERT_TRUE(IsWindow(w));
    EXPECT_EQ(Sjis(u8"Ｋｅｌｖｏｒａ"), DialogDriver::WindowText(w));
    char cls[64];
    GetClassNameA(w, cls, sizeof cls);
    EXPECT_STREQ("Kelvora", cls);
    EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(&frame, reinterpret_cast<KelvoraFrame*>(GetWindowLongPtrA(w, 0)));

    HMENU menu = GetMenu(w);
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(5, GetMenuItemCount(menu));
    const char* popups[] = {u8"ファイル(&F)", u8"編集(&E)", u8"起動(&B)", u8"オプション(&O)", u8"ヘルプ(&H)"};
    for (UINT i = 0; i < 5; ++i) EXPECT_EQ(Sjis(popups[i]), MenuText(menu, i));
    HMENU edit = GetSubMenu(menu, 1);
    EXPECT_EQ(5, GetMenuItemCount(edit));
    EXPECT_EQ(IDM_ADDLIST, static_cast<int>(GetMenuItemID(edit, 0)));
    EXPECT_EQ(IDM_CUT, static_cast<int>(GetMenuItemID(edit, 4)));
    EXPECT_EQ(Sjis(u8"文字列カット(&C)"), MenuText(edit, 4));
    HMENU options = GetSubMenu(menu, 3);
    EXPECT_EQ(IDM_DATEMACRO, static_cast<int>(GetMenuItemID(options, 0)));
    EXPECT_EQ(IDM_CUTOPTION, static_cast<int>(GetMenuItemID(options, 3)));

    EXPECT_EQ(0, CloseAndRun(frame));
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(KelvoraFrameTest, AcceleratorTableHoldsTheFifteenKeys) {
    KelvoraFrame frame(GetModuleHandleA(nullptr));
    ASSERT_NE(nullptr, frame.Accelerators());
    ACCEL keys[32];
    ASSERT_EQ(15, CopyAcceleratorTableA(frame.Accelerators(), keys, 32));
    struct Key {
        BYTE virt;
        WORD key;
        WORD cmd;
    };
    const Key expected[15] = {
        {FALT, 'a', IDM_ADDLIST},        {FALT, 'A', IDM_ADDLIST},           {FALT, 'e', IDM_EDITLIST},
        {FALT, 'E', IDM_EDITLIST},       {FALT, 'd', IDM_DELETELIST},        {FALT, 'D', IDM_DELETELIST},
        {FALT, 'c', IDM_CUT},            {FALT, 'C', IDM_CUT},               {0, 2, IDM_BROWSER},
        {0, 2, IDM_BROWSER},      {0, 5, IDM_EDITOR},          {0, 5, IDM_EDITOR},
        {FVIRTKEY, VK_INSERT, IDM_ADDLIST}, {FVIRTKEY, VK_DELETE, IDM_DELETELIST}, {FVIRTKEY, VK_F5, IDM_REFRESH},
    };
    for (int i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].virt, keys[i].fVirt & (FVIRTKEY | FALT | FCONTROL | FSHIFT));
        EXPECT_EQ(expected[i].key, keys[i].key);
        EXPECT_EQ(expected[i].cmd, keys[i].cmd);
    }
    CloseAndRun(frame);
}

TEST_F(KelvoraFrameTest, RemembersMovesAndResizesButNotMinimising) {
    KelvoraFrame frame(GetModuleHandleA(nullptr));
    HWND w = frame.MainWindow();
    ShowWindow(w, SW_SHOWNORMAL);
    MoveWindow(w, 40, 50, 600, 400, TRUE);
    PumpMessages();
    int rect[4];
    frame.Settings().GetWindowRect(rect);
    EXPECT_EQ(40, rect[0]);
    EXPECT_EQ(50, rect[1]);
    EXPECT_EQ(600, rect[2]);
    EXPECT_EQ(400, rect[3]);

    ShowWindow(w, SW_MINIMIZE);
    PumpMessages(100);
    int after[4];
    frame.Settings().GetWindowRect(after);
    EXPECT_EQ(0, memcmp(rect, after, sizeof rect));
    CloseAndRun(frame);
}

TEST_F(KelvoraFrameTest, ExitWritesTheSettingsAndTheNextStartUsesTheRectangle) {
    {
        KelvoraFrame frame(GetModuleHandleA(nullptr));
        MoveWindow(frame.MainWindow(), 30, 35, 500, 300, TRUE);
        PumpMessages();
        CloseAndRun(frame);
    }
    DWORD type;
    std::string data;
    ASSERT_TRUE(ReadProgramValue("Main", "WindowRect", &type, &data));
    EXPECT_EQ(16u, data.size());
    EXPECT_TRUE(ReadProgramValue("Extent", "CutCheck", &type, &data));
    EXPECT_TRUE(ReadProgramValue("ListFont", "LogFont", &type, &data));

    KelvoraFrame frame(GetModuleHandleA(nullptr));
    RECT r;
    GetWindowRect(frame.MainWindow(), &r);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(35, r.top);
    EXPECT_EQ(500, r.right - r.left);
    EXPECT_EQ(300, r.bottom - r.top);
    CloseAndRun(frame);
}

TEST_F(KelvoraFrameTest, ExitCommandClosesTheWindow) {
    KelvoraFrame frame(GetModuleHandleA(nullptr));
    PostMessageA(frame.MainWindow(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(0, frame.Run(SW_SHOWNORMAL));
    EXPECT_FALSE(IsWindow(frame.MainWindow()));
}

// ---- a second process ----

struct Process {
    PROCESS_INFORMATION info = {};
    bool Start(const std::string& exe) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info) != 0;
    }
    DWORD Wait(DWORD ms) {
        if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
    ~Process() {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

BOOL CALLBACK CollectKelvoraWindow(HWND w, LPARAM p) {
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpA(cls, "Kelvora") == 0) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

std::vector<HWND> KelvoraWindows() {
    std::vector<HWND> found;
    EnumWindows(CollectKelvoraWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(KelvoraFrameTest, SecondStartActivatesTheFirstAndExitsWithZero) {
    const std::string exe = EnvPath("KELVORA_EXE");
    ASSERT_FALSE(exe.empty()) << "KELVORA_EXE is not set";
    Process first;
    ASSERT_TRUE(first.Start(exe));
    HWND w = nullptr;
    for (int i = 0; i < 200 && !w; ++i) {
        Sleep(50);
        std::vector<HWND> windows = KelvoraWindows();
        if (!windows.empty()) w = windows[0];
    }
    ASSERT_NE(nullptr, w) << "the first instance opened no window";
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    EXPECT_EQ(first.info.dwProcessId, owner);

    Process second;
    ASSERT_TRUE(second.Start(exe));
    EXPECT_EQ(0u, second.Wait(10000));
    std::vector<HWND> windows = KelvoraWindows();
    ASSERT_EQ(1u, windows.size());
    EXPECT_EQ(w, windows[0]);

    PostMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, first.Wait(10000));
    EXPECT_TRUE(KelvoraWindows().empty());
    DWORD type;
    std::string data;
    EXPECT_TRUE(ReadProgramValue("Main", "XpUpdate", &type, &data));
}

}  // namespace
