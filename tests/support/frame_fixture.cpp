// A real Kelvora main window over a prepared index file and registry, started and closed in-process.
#include "frame_fixture.h"

#include <shlobj.h>
#include <gtest/gtest.h>

#include "lib/html_help.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"

namespace testing_support {

std::vector<HelpCall>& HelpCalls() {
    static std::vector<HelpCall> calls;
    return calls;
}

HWND WINAPI RecordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data) {
    HelpCall call = {file ? file : "", command, 0, {}};
    if (command == HH_DISPLAY_TEXT_POPUP && data) {
        const HH_POPUP* popup = reinterpret_cast<const HH_POPUP*>(data);
        call.popupId = popup->idString;
        call.at = popup->pt;
        EXPECT_EQ(static_cast<int>(sizeof(HH_POPUP)), popup->cbStruct);
        EXPECT_EQ(nullptr, popup->pszText);
        EXPECT_EQ(static_cast<COLORREF>(-1), popup->clrForeground);
        EXPECT_EQ(static_cast<COLORREF>(-1), popup->clrBackground);
        EXPECT_EQ(-1, popup->rcMargins.left);
        EXPECT_EQ(-1, popup->rcMargins.bottom);
    }
    HelpCalls().push_back(call);
    return nullptr;
}

std::string IndexLine(const std::string& log, const std::string& browser, const std::string& name,
                      const FILETIME& seen) {
    return log + "," + browser + "," + name + "," + std::to_string(seen.dwLowDateTime) + "," +
           std::to_string(seen.dwHighDateTime) + "\r\n";
}

FILETIME LocalFileTime(WORD year, WORD month, WORD day) {
    SYSTEMTIME s = {};
    s.wYear = year;
    s.wMonth = month;
    s.wDay = day;
    s.wHour = 12;
    FILETIME t;
    SystemTimeToFileTime(&s, &t);
    return t;
}

void WriteLog(const std::string& path, const FILETIME& local, const std::string& content) {
    ASSERT_TRUE(WriteFileBytes(path, content));
    FILETIME utc;
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    SetFileTime(file, nullptr, nullptr, &utc);
    CloseHandle(file);
}

ULONGLONG LocalNowValue() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME t;
    SystemTimeToFileTime(&now, &t);
    return FileTimeValue(t);
}

void FrameTest::SetUp() {
    DeleteProgramSettings();
    HelpCalls().clear();
    previousHelp_ = SetHtmlHelpHook(RecordHelp);
    BuildDefaultIndexPath(GetModuleHandleA(nullptr), indexPath_);
    char folder[MAX_PATH];
    BuildDataFolder(GetModuleHandleA(nullptr), folder);
    SHCreateDirectoryExA(nullptr, folder, nullptr);
    browserLog_ = logs_.File("started.txt");
    SetEnvironmentVariableA("KELVORA_BROWSER_LOG", browserLog_.c_str());
    browser_ = EnvPath("KELVORA_FAKE_BROWSER");
}

void FrameTest::TearDown() {
    Stop();
    DeleteFileA(indexPath_);
    SetHtmlHelpHook(previousHelp_);
    DeleteProgramSettings();
}

void FrameTest::Start(const std::string& index, int sortList) {
    ASSERT_TRUE(WriteFileBytes(indexPath_, index));
    StartProgram(sortList);
}

void FrameTest::StartProgram(int sortList) {
    DWORD order = sortList;
    WriteProgramValue("Main", "SortList", REG_DWORD, &order, sizeof order);
    frame_ = std::make_unique<KelvoraFrame>(GetModuleHandleA(nullptr));
    ASSERT_TRUE(frame_->Created());
    ASSERT_NE(nullptr, frame_->List());
    list_ = frame_->List();
    PumpMessages();
}

void FrameTest::Stop() {
    if (!frame_) return;
    PostMessageA(frame_->MainWindow(), WM_CLOSE, 0, 0);
    frame_->Run(SW_SHOWNORMAL);
    frame_.reset();
    list_ = nullptr;
}

void FrameTest::Command(int id) {
    SendMessageA(frame_->MainWindow(), WM_COMMAND, id, 0);
    PumpMessages();
}

void FrameTest::Key(UINT message, WPARAM key, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = list_->Control();
    msg.message = message;
    msg.wParam = key;
    msg.lParam = lParam;
    frame_->Dispatch(msg);
    PumpMessages();
}

void FrameTest::ClickToolbar(int id) {
    HWND toolbar = frame_->Toolbar();
    LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, id, 0);
    ASSERT_GE(index, 0) << "no toolbar button for " << id;
    RECT r = {};
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(toolbar, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

namespace {

// Walks the open popup menu with the arrow keys to the item of a command and presses Enter.
struct MenuPicker {
    UINT command = 0;
    bool done = false;
    int ticks = 0;
};
MenuPicker* picker = nullptr;

void CALLBACK PickTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!picker || picker->done) return;
    HWND window = FindWindowA("#32768", nullptr);
    if (!window || !IsWindowVisible(window)) {
        if (++picker->ticks > 200) EndMenu();
        return;
    }
    picker->done = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, 0x01E1, 0, 0));  // MN_GETHMENU
    int downs = 0;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == 0) continue;  // separators are skipped by the arrow keys
        ++downs;
        if (id == picker->command) break;
    }
    for (int i = 0; i < downs; ++i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

void FrameTest::ContextMenu(UINT command) {
    MenuPicker pick;
    pick.command = command;
    picker = &pick;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, PickTick);
    SendMessageA(frame_->MainWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list_->Control()), -1);
    PumpMessages();
    KillTimer(nullptr, timer);
    picker = nullptr;
    EXPECT_TRUE(pick.done) << "no context menu";
}

std::vector<std::string> FrameTest::Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < list_->GetEntryCount(); ++i) names.push_back(Row(i).ListName);
    return names;
}

LogEntry FrameTest::Row(int i) const {
    LogEntry e;
    list_->GetEntry(i, &e);
    return e;
}

std::vector<std::string> FrameTest::History() const {
    std::vector<std::string> items;
    for (int i = 0; i < 20; ++i) {
        DWORD type = 0;
        std::string data;
        if (!ReadProgramValue("BrowseList", ("Browse" + std::to_string(i)).c_str(), &type, &data)) break;
        items.push_back(data.c_str());  // the value is 260 bytes; the text ends at its NUL
    }
    return items;
}

void FrameTest::WriteHistory(const std::vector<std::string>& browsers) {
    for (size_t i = 0; i < browsers.size(); ++i) {
        char value[MAX_PATH] = {};
        lstrcpynA(value, browsers[i].c_str(), sizeof value);
        WriteProgramValue("BrowseList", ("Browse" + std::to_string(i)).c_str(), REG_SZ, value, sizeof value);
    }
}

}  // namespace testing_support
