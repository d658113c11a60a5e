// A real Kelvora main window over a prepared index file and registry, started and closed in-process,
// for the window tests of every subsystem.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lib/html_help.h"
#include "app/kelvora_frame.h"
#include "dialog_driver.h"
#include "loglist/log_entry.h"
#include "test_env.h"

namespace testing_support {

// HTML Help calls, as the hook saw them.
struct HelpCall {
    std::string file;
    UINT command;
    UINT popupId;  // HH_POPUP idString for text popups
    POINT at;
};
std::vector<HelpCall>& HelpCalls();
HWND WINAPI RecordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data);

std::string IndexLine(const std::string& log, const std::string& browser, const std::string& name,
                      const FILETIME& seen = FILETIME{});
FILETIME LocalFileTime(WORD year, WORD month, WORD day);
// Writes a log file whose last-write time, seen in local time, is the given one.
void WriteLog(const std::string& path, const FILETIME& local, const std::string& content = "log line\r\n");
ULONGLONG LocalNowValue();

class FrameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the index with entries (log file name, browser, list name) and starts the program.
    void Start(const std::string& index, int sortList = 0);
    // Starts the program over whatever index file and settings the test prepared.
    void StartProgram(int sortList = 0);
    void Stop();
    void Command(int id);
    void Key(UINT message, WPARAM key, LPARAM lParam = 0);
    void ClickToolbar(int id);
    // Opens the list's context menu and picks the item with the given command through the keyboard.
    void ContextMenu(UINT command);

    int RowHeight() const { return static_cast<int>(SendMessageA(list_->Control(), LB_GETITEMHEIGHT, 0, 0)); }
    std::vector<std::string> Names() const;
    LogEntry Row(int i) const;
    std::string IndexBytes() const { return testing_support::ReadFileBytes(indexPath_); }
    std::vector<std::string> History() const;
    void WriteHistory(const std::vector<std::string>& browsers);

    testing_support::TempFolder logs_;
    char indexPath_[MAX_PATH] = "";
    std::string browser_;
    std::string browserLog_;
    std::unique_ptr<KelvoraFrame> frame_;
    ListMenu* list_ = nullptr;
    HtmlHelpFunction previousHelp_ = nullptr;
};

}  // namespace testing_support
