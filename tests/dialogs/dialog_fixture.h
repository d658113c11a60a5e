// A real Kelvora main window over a prepared index file and registry, for driving its dialogs.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/html_help.h"
#include "app/kelvora_frame.h"
#include "dialog_driver.h"
#include "loglist/log_entry.h"
#include "test_env.h"

namespace dialog_tests {

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
void WriteLog(const std::string& path, const FILETIME& local);
ULONGLONG LocalNowValue();

class FrameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the index with entries (log file name, browser, list name) and starts the program.
    void Start(const std::string& index, int sortList = 0);
    void Stop();
    void Command(int id);
    void Key(UINT message, WPARAM key, LPARAM lParam = 0);
    void ClickToolbar(int id);
    // Opens the list's context menu and picks the item with the given command through the keyboard.
    void ContextMenu(UINT command);

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

}  // namespace dialog_tests
