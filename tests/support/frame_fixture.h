// A real Kelvora main window over a prepared index file and registry, started and closed in-process,
// for the window tests of every subsystem.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/kelvora_frame.h"
#include "app/main_window.h"
#include "dialog_driver.h"
#include "lib/services/html_help.h"
#include "loglist/list_menu.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "sjis.h"
#include "test_env.h"
#include "window_probe.h"

namespace testing_support {

// HTML Help calls, as the hook saw them; a text popup's HH_POPUP idString and pt as popupId and at.
struct HelpCall {
    std::string file;
    UINT command, popupId;
    POINT at;
};
extern std::vector<HelpCall> helpCalls;
HWND WINAPI RecordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data);

std::string IndexLine(const std::string& log, const std::string& browser, const std::string& name,
                      const FILETIME& seen = FILETIME{});
FILETIME LocalFileTime(WORD year, WORD month, WORD day);
// Writes a log file whose last-write time, seen in local time, is the given one.
void WriteLog(const std::string& path, const FILETIME& local, const std::string& content = "log line\r\n");
// Stores date macro texts that stay as they are at a start (MacroAuto off).
void WriteMacroTexts(const char* year, const char* month, const char* day);

class FrameTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the index with entries (log file name, browser, list name) and starts the program.
    void Start(const std::string& index);
    // Starts the program over whatever index file and settings the test prepared.
    void StartProgram();
    // Closes the window as the user does; one still open after ten seconds, or an exit code other
    // than 0, fails the test.
    void Stop();
    void Command(int id);
    // Sends command, runs fill on the dialog it opens and ends that with button; what the boxes showed.
    std::vector<ShownBox> Answer(int command, int button, const DialogDriver::Answer& fill);

    // The running program's main window.
    MainWindow& Main() const { return *frame_->Window(); }
    int RowHeight() const { return static_cast<int>(SendMessageA(list_->Control(), LB_GETITEMHEIGHT, 0, 0)); }
    std::vector<std::string> Names() const;
    // The status bar's four parts: the log file, its size, date and time.
    std::vector<std::string> Status() const;
    LogEntry Row(int i) const;
    std::string IndexBytes() const { return ReadFileBytes(indexPath_); }
    // The greyed commands: menu items by their id, toolbar buttons by their id + 100, the popup 起動 as 2.
    std::vector<UINT> Greyed() const;
    // The fake browser's record (one command line per start) once it has a line, or after five seconds.
    std::string Started() const;
    // Every row's text, one a line.
    std::string RowTexts() const;
    // The user's ways to a command: a message to the list as the message loop takes it (accelerators
    // first), an entry of the list's context menu chosen by its access key.
    void TypeKey(UINT message, WPARAM key, LPARAM flags = 0);
    void ChooseInContextMenu(char accessKey);

    // For every window test: closing the window calls HTML Help too.
    Seam<HtmlHelpFunction>::Override help_{htmlHelpSeam, RecordHelp};
    TempFolder logs_;
    char indexPath_[MAX_PATH] = "";
    std::string browser_, browserLog_;
    std::unique_ptr<KelvoraFrame> frame_;
    ListMenu* list_ = nullptr;
};

}  // namespace testing_support
