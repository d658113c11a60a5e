// Following log files: each change reaches the user-interface thread for its path with the status
// the list would read, folders that cannot be watched are checked periodically, and replacing the
// set or stopping leaves nothing behind.
#include "loglist/log_watch.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "lib/core/owned.h"
#include "test_env.h"

using namespace testing_support;

namespace {

constexpr UINT kChanged = WM_APP + 21;
OwnedHandle gate(CreateEventA(nullptr, TRUE, FALSE, nullptr));  // opened: slow reads may go on

LogWatchOptions Quick(FileStatus (*readStatus)(const char*) = ReadFileStatus) {  // a check every 100 ms
    return LogWatchOptions{100, 250, 300, readStatus};
}

FileStatus GatedStatus(const char* path) {  // a share that does not answer until the gate opens
    WaitForSingleObject(gate.Get(), 5000);
    return ReadFileStatus(path);
}

std::vector<WatchedLog> AsListed(const std::vector<std::string>& paths) {
    std::vector<WatchedLog> logs;
    for (const std::string& path : paths) logs.push_back({path, ReadFileStatus(path.c_str())});
    return logs;
}

bool ChangedPosted(HWND window, UINT remove = PM_REMOVE) {
    MSG msg;
    return PeekMessageA(&msg, window, kChanged, kChanged, remove) != FALSE;
}

// The change of path was reported with the status the list would read for it now.
testing::AssertionResult ReportedAsOnDisk(const std::map<std::string, FileStatus>& changes, const std::string& path) {
    const auto change = changes.find(path);
    if (change != changes.end() && SameStatus(change->second, ReadFileStatus(path.c_str())))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << path << (change == changes.end() ? " was not reported" : " differs");
}

class LogWatchTest : public testing::Test {
protected:
    ~LogWatchTest() override {
        watch_.reset();
        DestroyWindow(window_);
    }

    // Follows logs with the statuses the list read for them and waits until the watch stands.
    void Follow(const std::vector<WatchedLog>& logs, const LogWatchOptions& options = Quick(), bool settle = true) {
        watch_ = std::make_unique<LogWatch>(window_, kChanged, options);
        watch_->SetLogs(logs);
        ASSERT_TRUE(watch_->Start());
        if (settle) {
            ASSERT_TRUE(WaitUntil([this] { return watch_->Counts().settled; }));
        }
    }

    // The changes posted within ms, by path; returns as soon as count paths have come.
    std::map<std::string, FileStatus> Changes(DWORD ms, size_t count = 1) {
        std::map<std::string, FileStatus> changes;
        for (const ULONGLONG end = GetTickCount64() + ms; changes.size() < count;) {
            if (ChangedPosted(window_)) {
                for (const WatchedLog& change : watch_->TakeChanges()) changes[change.path] = change.status;
                continue;
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= end) break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
        }
        return changes;
    }

    std::string Folder(const std::string& name) {
        CreateDirectoryA(temp_.File(name).c_str(), nullptr);
        return temp_.File(name + "\\");
    }

    TempFolder temp_;  // removed once the watch has let go of it
    HWND window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::unique_ptr<LogWatch> watch_;
};

TEST_F(LogWatchTest, ReportsOnlyWhatDiffersFromTheStatusesTheListAlreadyHas) {
    const std::string current = Folder("logs") + "current.log", stale = temp_.File("logs\\stale.log");
    ASSERT_TRUE(WriteFileBytes(current, "line\r\n") && WriteFileBytes(stale, "line\r\n"));
    Follow({{current, ReadFileStatus(current.c_str())}, {stale, FileStatus{}}});
    auto changes = Changes(500, 2);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(ReportedAsOnDisk(changes, stale));
}

TEST_F(LogWatchTest, LogsOfOneFolderShareOneWatchWhateverTheLetterCase) {
    Folder("Logs");
    Follow(AsListed({temp_.File("Logs\\a.log"), temp_.File("LOGS\\b.log"), temp_.File("logs\\c.log")}));
    EXPECT_EQ(watch_->Counts().folders, 1);
    EXPECT_EQ(watch_->Counts().watched, 1);
}

TEST_F(LogWatchTest, MoreFoldersThanOneWaitHoldsAreAllWatched) {
    std::vector<std::string> logs;
    for (int i = 0; i < 70; ++i) logs.push_back(Folder("f" + std::to_string(i)) + "a.log");
    Follow(AsListed(logs));
    EXPECT_EQ(watch_->Counts().watched, 70);
    for (const std::string& log : logs) WriteFileBytes(log, "line\r\n");
    EXPECT_EQ(Changes(2000, logs.size()).size(), logs.size());
}

TEST_F(LogWatchTest, AMissingFolderIsCheckedPeriodicallyUntilItStandsAndIsThenWatched) {
    const std::string log = temp_.File("later\\app.log");
    Follow(AsListed({log}));
    EXPECT_EQ(watch_->Counts().polled, 1);
    WriteFileBytes(Folder("later") + "app.log", "first\r\n");
    EXPECT_TRUE(ReportedAsOnDisk(Changes(2000), log));
    EXPECT_TRUE(WaitUntil([this] { return watch_->Counts().watched == 1; }));
}

TEST_F(LogWatchTest, AFolderThatDisappearsFallsBackToThePeriodicCheck) {
    const std::string log = Folder("gone") + "app.log";
    ASSERT_TRUE(WriteFileBytes(log, "line\r\n"));
    Follow(AsListed({log}));
    ASSERT_EQ(watch_->Counts().watched, 1);
    DeleteFileA(log.c_str());
    RemoveDirectoryA(temp_.File("gone").c_str());
    EXPECT_TRUE(ReportedAsOnDisk(Changes(2000), log));
    EXPECT_TRUE(WaitUntil([this] { return watch_->Counts().polled == 1; }));
}

TEST_F(LogWatchTest, AChangeDroppedWithTheOldSetIsReadAgainForALogStillListed) {
    const std::string log = Folder("logs") + "app.log";
    ASSERT_TRUE(WriteFileBytes(log, "line\r\n"));
    const std::vector<WatchedLog> stale = {{log, {{1, 1}, 1}}};
    Follow(stale);  // the worker finds the log written and tells it
    ASSERT_TRUE(ChangedPosted(window_, PM_NOREMOVE));
    watch_->SetLogs(stale);  // rows that have not taken the change yet
    EXPECT_TRUE(ReportedAsOnDisk(Changes(2000), log));
}

// The cases: the change of the old log waits to be taken, or the worker is still reading the old log.
TEST_F(LogWatchTest, ReplacingTheLogsDropsTheChangesOfTheOldOnes) {
    const std::string old = Folder("old") + "app.log", kept = Folder("new") + "app.log";
    for (bool waiting : {true, false}) {
        SCOPED_TRACE(waiting ? "waiting" : "being read");
        ASSERT_TRUE(WriteFileBytes(old, "line\r\n") && WriteFileBytes(kept, "line\r\n"));
        Follow({{old, FileStatus{}}}, Quick(waiting ? ReadFileStatus : GatedStatus), waiting);
        Sleep(50);
        watch_->SetLogs({{kept, FileStatus{}}});
        SetEvent(gate.Get());
        auto changes = Changes(2000);
        ResetEvent(gate.Get());
        EXPECT_EQ(changes.count(old), 0u);
        EXPECT_EQ(changes.count(kept), 1u);
    }
}

TEST_F(LogWatchTest, StopReturnsInTimeFromAWorkerCaughtInAShareAndNothingIsPostedAfter) {
    const int workers = LogWatch::RunningWorkers();
    std::vector<WatchedLog> logs;
    for (int i = 0; i < 200; ++i) logs.push_back({temp_.File(std::to_string(i) + ".log"), {{1, 1}, 1}});
    Follow(logs, Quick(GatedStatus), false);
    Sleep(50);  // the worker waits for the share to answer
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(watch_->Stop());
    EXPECT_LT(GetTickCount64() - start, 1000u);
    SetEvent(gate.Get());
    EXPECT_TRUE(WaitUntil([workers] { return LogWatch::RunningWorkers() == workers; }));
    ResetEvent(gate.Get());
    EXPECT_FALSE(ChangedPosted(window_));
}

}  // namespace
