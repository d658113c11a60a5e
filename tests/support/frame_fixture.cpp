// A real Kelvora main window over a prepared index file and registry, started and closed in-process.
#include "frame_fixture.h"

#include <shlobj.h>

#include <cstring>

#include "lib/core/owned.h"
#include "lib/services/program_files.h"

namespace testing_support {
namespace {

void CALLBACK WindowStuck(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    ADD_FAILURE() << "the main window did not close within ten seconds";
    PostQuitMessage(0);
}

}  // namespace

std::vector<HelpCall> helpCalls;

HWND WINAPI RecordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data) {
    const auto* popup = command == HH_DISPLAY_TEXT_POPUP ? reinterpret_cast<const HH_POPUP*>(data) : nullptr;
    helpCalls.push_back({file ? file : "", command, popup ? popup->idString : 0, popup ? popup->pt : POINT{}});
    EXPECT_TRUE(!popup || (popup->cbStruct == sizeof(HH_POPUP) && !popup->pszText));  // the text from the file
    return nullptr;
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
    ASSERT_TRUE(WriteFileBytes(path, content));
    OwnedFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file && SetFileTime(file.Get(), nullptr, nullptr, &utc)) << path;
}

void WriteMacroTexts(const char* year, const char* month, const char* day) {
    WriteProgramDword("Main", "MacroAuto", 0);
    WriteProgramText("Main", "MacroYear", year);
    WriteProgramText("Main", "MacroMon", month);
    WriteProgramText("Main", "MacroDay", day);
}

void FrameTest::SetUp() {
    DeleteProgramSettings();
    helpCalls.clear();
    BuildDefaultIndexPath(GetModuleHandleA(nullptr), indexPath_);  // in the data folder, which must exist
    SHCreateDirectoryExA(nullptr, std::string(indexPath_, std::strrchr(indexPath_, '\\')).c_str(), nullptr);
    browserLog_ = logs_.File("started.txt");
    SetEnvironmentVariableA("KELVORA_BROWSER_LOG", browserLog_.c_str());
    browser_ = EnvPath("KELVORA_FAKE_BROWSER");
}

void FrameTest::TearDown() {
    Stop();
    DeleteFileA(indexPath_);
    DeleteProgramSettings();
}

void FrameTest::Start(const std::string& index) {
    ASSERT_TRUE(WriteFileBytes(indexPath_, index));
    StartProgram();
}

void FrameTest::StartProgram() {
    frame_ = std::make_unique<KelvoraFrame>(GetModuleHandleA(nullptr));
    ASSERT_TRUE(frame_->Created());
    list_ = &Main().List();
    PumpMessages();
}

void FrameTest::Stop() {
    if (!frame_) return;
    PostMessageA(Main().Window(), WM_CLOSE, 0, 0);
    UINT_PTR timer = SetTimer(nullptr, 0, 10000, WindowStuck);
    EXPECT_EQ(0, frame_->Run(SW_SHOWNORMAL)) << "the exit code";
    KillTimer(nullptr, timer);
    frame_.reset();
    list_ = nullptr;
}

void FrameTest::Command(int id) {
    SendMessageA(Main().Window(), WM_COMMAND, id, 0);
    PumpMessages();
}

std::vector<ShownBox> FrameTest::Answer(int command, int button, const DialogDriver::Answer& fill) {
    DialogDriver driver;
    driver.Expect([&](HWND dialog) {
        fill(dialog);
        DialogDriver::Press(dialog, button);
    });
    Command(command);
    return driver.Shown();
}

std::vector<std::string> FrameTest::Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < list_->GetEntryCount(); ++i) names.push_back(Row(i).ListName);
    return names;
}

std::vector<std::string> FrameTest::Status() const {
    std::vector<std::string> parts(4, std::string(512, '\0'));
    for (int i = 0; i < 4; ++i) {
        SendMessageA(Main().StatusBar(), SB_GETTEXTA, i, reinterpret_cast<LPARAM>(&parts[i][0]));
        parts[i].resize(parts[i].find('\0'));
    }
    return parts;
}

std::vector<UINT> FrameTest::Greyed() const {
    HMENU menu = GetMenu(Main().Window());
    std::vector<UINT> greyed;
    if (GetMenuState(menu, 2, MF_BYPOSITION) & MF_GRAYED) greyed.push_back(2);
    for (UINT id = IDM_EXIT; id <= IDM_REFRESH; ++id) {
        const UINT item = GetMenuState(menu, id, MF_BYCOMMAND);
        const LRESULT button = SendMessageA(Main().Toolbar(), TB_GETSTATE, id, 0);
        if (item != static_cast<UINT>(-1) && (item & MF_GRAYED)) greyed.push_back(id);
        if (button != -1 && !(button & TBSTATE_ENABLED)) greyed.push_back(id + 100);
    }
    return greyed;
}

LogEntry FrameTest::Row(int i) const {
    LogEntry e;
    list_->GetEntry(i, &e);
    return e;
}

std::string FrameTest::Started() const { return ReadFileOnceItHasLines(browserLog_, 1); }

std::string FrameTest::RowTexts() const {
    std::string texts;
    for (int i = 0; i < list_->GetEntryCount(); ++i) texts += Row(i).DisplayText + std::string("\n");
    return texts;
}

void FrameTest::TypeKey(UINT message, WPARAM key, LPARAM flags) {
    MSG msg = {list_->Control(), message, key, flags, 0, {}};
    frame_->Dispatch(msg);
    PumpMessages();
}

void FrameTest::ChooseInContextMenu(char accessKey) {
    const auto list = reinterpret_cast<WPARAM>(list_->Control());
    WatchMenu([&] { SendMessageA(Main().Window(), WM_CONTEXTMENU, list, -1); }, accessKey);
    PumpMessages();
}

}  // namespace testing_support
