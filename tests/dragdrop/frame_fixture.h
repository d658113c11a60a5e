// A real KelvoraFrame over a prepared index file and registry, started and closed in-process.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/html_help.h"
#include "app/kelvora_frame.h"
#include "dialog_driver.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"
#include "test_env.h"

namespace dragdrop_testing {

inline HWND WINAPI NoHelp(HWND, LPCSTR, UINT, DWORD_PTR) { return nullptr; }

inline std::string IndexLine(const std::string& log, const std::string& browser, const std::string& name) {
    return log + "," + browser + "," + name + ",0,0\r\n";
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        testing_support::DeleteProgramSettings();
        previousHelp_ = SetHtmlHelpHook(NoHelp);
        BuildDefaultIndexPath(GetModuleHandleA(nullptr), indexPath_);
        char folder[MAX_PATH];
        BuildDataFolder(GetModuleHandleA(nullptr), folder);
        SHCreateDirectoryExA(nullptr, folder, nullptr);
    }
    void TearDown() override {
        Stop();
        DeleteFileA(indexPath_);
        SetHtmlHelpHook(previousHelp_);
        testing_support::DeleteProgramSettings();
    }

    void WriteIndex(const std::string& content) { ASSERT_TRUE(testing_support::WriteFileBytes(indexPath_, content)); }
    std::string IndexContent() const { return testing_support::ReadFileBytes(indexPath_); }

    void Start() {
        frame_ = std::make_unique<KelvoraFrame>(GetModuleHandleA(nullptr));
        ASSERT_TRUE(frame_->Created());
        ASSERT_NE(nullptr, frame_->List());
        list_ = frame_->List();
        testing_support::PumpMessages();
    }
    // Closes the window as the user does and ends the program object.
    void Stop() {
        if (!frame_) return;
        PostMessageA(frame_->MainWindow(), WM_CLOSE, 0, 0);
        frame_->Run(SW_SHOWNORMAL);
        frame_.reset();
        list_ = nullptr;
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < list_->GetEntryCount(); ++i) {
            LogEntry e;
            list_->GetEntry(i, &e);
            names.push_back(e.ListName);
        }
        return names;
    }
    LogEntry Row(int i) const {
        LogEntry e;
        list_->GetEntry(i, &e);
        return e;
    }
    int RowHeight() const { return static_cast<int>(SendMessageA(list_->Control(), LB_GETITEMHEIGHT, 0, 0)); }

    testing_support::TempFolder logs_;
    char indexPath_[MAX_PATH] = "";
    std::unique_ptr<KelvoraFrame> frame_;
    ListMenu* list_ = nullptr;
    HtmlHelpFunction previousHelp_ = nullptr;
};

}  // namespace dragdrop_testing
