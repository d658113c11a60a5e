// A real Kelvora main window over a prepared index file and registry, started and closed in-process.
#include "frame_fixture.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "lib/owned.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"

namespace testing_support {
namespace {

HWND WINAPI RecordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data) {
    const HH_POPUP* popup = command == HH_DISPLAY_TEXT_POPUP ? reinterpret_cast<const HH_POPUP*>(data) : nullptr;
    HelpCalls().push_back({file ? file : "", command, popup ? popup->idString : 0, popup ? popup->pt : POINT{}});
    EXPECT_TRUE(!popup || (popup->cbStruct == sizeof(HH_POPUP) && !popup->pszText));  // the text from the help file
    return nullptr;
}

struct MenuWatch { UINT command; int ticks; ShownMenu menu; };
MenuWatch* watching = nullptr;

void CALLBACK MenuTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!watching || watching->menu.shown) return;
    HWND window = FindWindowA("#32768", nullptr);
    ShownMenu& shown = watching->menu;
    if (!window || !IsWindowVisible(window)) {
        if (++watching->ticks > 200) EndMenu();  // never wait for ever
        return;
    }
    shown.shown = true;
    GetWindowRect(window, &shown.rect);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, 0x01E1, 0, 0));  // MN_GETHMENU
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        shown.texts.push_back(text);
        shown.ids.push_back(GetMenuItemID(menu, i));
    }
    auto item = std::find(shown.ids.begin(), shown.ids.end(), watching->command);
    if (!watching->command || item == shown.ids.end()) {
        EndMenu();  // nothing to pick
        return;
    }
    for (auto i = shown.ids.begin(); i <= item; ++i) {
        if (*i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);  // the arrow keys skip separators
    }
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
}

void CALLBACK WindowStuck(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    ADD_FAILURE() << "the main window did not close within ten seconds";
    PostQuitMessage(0);
}

}  // namespace

std::vector<HelpCall>& HelpCalls() {
    static std::vector<HelpCall> calls;  // reached before any test runs, so not a plain global
    return calls;
}

std::string IndexLine(const std::string& log, const std::string& browser, const std::string& name,
                      const FILETIME& seen) {
    return log + "," + browser + "," + name + "," + std::to_string(seen.dwLowDateTime) + "," +
           std::to_string(seen.dwHighDateTime) + "\r\n";
}

FILETIME LocalFileTime(WORD year, WORD month, WORD day) {
    const SYSTEMTIME s = {year, month, 0, day, 12, 0, 0, 0};
    FILETIME t;
    SystemTimeToFileTime(&s, &t);
    return t;
}

void WriteLog(const std::string& path, const FILETIME& local, const std::string& content) {
    FILETIME utc;
    LocalFileTimeToFileTime(&local, &utc);
    OwnedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(file && WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                SetFileTime(file.Get(), nullptr, nullptr, &utc)) << path;
}

ShownMenu WatchMenu(const std::function<void()>& open, UINT command) {
    MenuWatch watch = {command, 0, {}};
    watching = &watch;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, MenuTick);
    open();
    PumpMessages();
    KillTimer(nullptr, timer);
    watching = nullptr;
    EXPECT_TRUE(watch.menu.shown) << "no menu";
    return watch.menu;
}

void FrameTest::SetUp() {
    DeleteProgramSettings();
    HelpCalls().clear();
    previousHelp_ = SetHtmlHelpHook(RecordHelp);
    BuildDefaultIndexPath(GetModuleHandleA(nullptr), indexPath_);  // in the data folder, which must exist
    SHCreateDirectoryExA(nullptr, std::string(indexPath_, std::strrchr(indexPath_, '\\')).c_str(), nullptr);
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

void FrameTest::Start(const std::string& index) {
    ASSERT_TRUE(WriteFileBytes(indexPath_, index));
    StartProgram();
}

void FrameTest::StartProgram() {
    frame_ = std::make_unique<KelvoraFrame>(GetModuleHandleA(nullptr));
    ASSERT_TRUE(frame_->Created() && frame_->List());
    list_ = frame_->List();
    PumpMessages();
}

void FrameTest::Stop() {
    if (!frame_) return;
    PostMessageA(frame_->MainWindow(), WM_CLOSE, 0, 0);
    UINT_PTR timer = SetTimer(nullptr, 0, 10000, WindowStuck);
    frame_->Run(SW_SHOWNORMAL);
    KillTimer(nullptr, timer);
    frame_.reset();
    list_ = nullptr;
}

void FrameTest::Command(int id) {
    SendMessageA(frame_->MainWindow(), WM_COMMAND, id, 0);
    PumpMessages();
}

void FrameTest::Key(UINT message, WPARAM key, LPARAM lParam) {
    MSG msg = {list_->Control(), message, key, lParam, 0, {}};
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

ShownMenu FrameTest::ContextMenu(UINT command) {
    HWND list = list_->Control();
    return WatchMenu([this, list] { SendMessageA(frame_->MainWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1); }, command);
}

std::vector<ShownBox> FrameTest::Answer(int command, const DialogDriver::Answer& answer) {
    DialogDriver driver;
    driver.Expect(answer);
    Command(command);
    return driver.Shown();
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

std::string FrameTest::Started(size_t lines) const {
    std::string log = ReadFileBytes(browserLog_);
    for (int i = 0; i < 100 && static_cast<size_t>(std::count(log.begin(), log.end(), '\n')) < lines; ++i) {
        Sleep(50);
        log = ReadFileBytes(browserLog_);
    }
    return log;
}

}  // namespace testing_support
