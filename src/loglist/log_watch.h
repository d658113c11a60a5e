// Following the log files of the list while it is open: a worker thread waits for change
// notifications on the folders of the logs (checking the logs of folders it cannot watch every
// few seconds instead) and hands the logs whose date or size changed to the user-interface thread.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "lib/core/owned.h"
#include "loglist/file_status.h"

// A log to follow, by its path with the date macros replaced, and the status the list shows for
// it; as a change, the status the log has now.
struct WatchedLog {
    std::string path;
    FileStatus status;
};

// The status of a log that the list has not read yet (its name changed with the date, say): the
// worker reads such a log at once and always tells it. No file has this status.
constexpr FileStatus kUnknownStatus = {{0xFFFFFFFF, 0xFFFFFFFF}, 0xFFFFFFFF};

struct LogWatchOptions {
    DWORD pollMs = 10000;     // the check of logs whose folder cannot be watched
    DWORD settleMs = 250;     // a burst of writes is read once, this long after its first write
    DWORD stopWaitMs = 2000;  // the longest Stop waits for a worker caught in a slow file system call
    FileStatus (*readStatus)(const char* path) = ReadFileStatus;
};

struct LogWatchCounts {
    int folders = 0;
    int watched = 0;       // followed through change notifications
    int polled = 0;        // checked every pollMs
    bool settled = false;  // the latest set is taken up, and nothing waits to be read
};

class LogWatch {
public:
    // message is posted to window, with no parameters, when changes wait to be taken.
    LogWatch(HWND window, UINT message, const LogWatchOptions& options = {});
    ~LogWatch();  // Stop
    LogWatch(const LogWatch&) = delete;
    LogWatch& operator=(const LogWatch&) = delete;

    // Starts the worker; false when it cannot run (the list then shows what the last load read).
    bool Start();
    // Replaces the logs followed (several may share a path). Changes of the old set that were not
    // taken yet are dropped; a log of the new set among them is read again against its new status.
    // Waits for no file system call.
    void SetLogs(std::vector<WatchedLog> logs);
    // The changes waiting, each log once with its latest status.
    std::vector<WatchedLog> TakeChanges();
    // Asks the worker to end, without waiting for it. From here on nothing is posted or taken.
    void Interrupt();
    // Ends the worker. It waits at most stopWaitMs, false when the worker was still in a file system
    // call then: that worker ends by itself once the call returns. From here on nothing is posted.
    bool Stop();

    LogWatchCounts Counts() const;
    // Workers of all watches whose threads have not ended yet.
    static int RunningWorkers();

private:
    struct Shared;
    class Worker;
    static DWORD WINAPI WorkerProc(void* worker);

    LogWatchOptions options_;
    std::shared_ptr<Shared> shared_;  // with the worker, which may outlive this object after Stop
    OwnedHandle thread_;
};
