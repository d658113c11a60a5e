// The list while the main window is open: the date, size and unread mark of each row follow its log
// file, and with automatic date macros the names follow the local date, without a command. The
// index file is not written for this.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "loglist/log_watch.h"
#include "loglist/macro_day.h"

class Environ;
class ListMenu;

class LiveList {
public:
    // message is posted to window when logs changed (TakeChanges takes them); timer is the id of
    // the window's timer that checks the date at the next midnight.
    LiveList(HWND window, UINT message, UINT_PTR timer, ListMenu& list, Environ& settings);
    ~LiveList();  // stops the worker and the timer
    LiveList(const LiveList&) = delete;
    LiveList& operator=(const LiveList&) = delete;

    // The rows were read, added or deleted: their logs are followed from the statuses the rows show.
    // The first call starts the worker and the timer.
    void Follow();
    // Into the rows, in place, what the posted message announced; true when the selected row changed.
    bool TakeChanges();
    // The timer, or the clock was set: with automatic date macros a new local date becomes the
    // macro texts' and the logs the names now stand for are read. True when the texts changed.
    bool CheckDay();
    // Before the list is written at the close: nothing changes the rows any more. The worker is
    // waited for when this object ends.
    void Interrupt() { watch_.Interrupt(); }

private:
    struct Log {
        FileStatus status;
        std::vector<int> rows;
    };
    // The logs of the rows to the watch; with fresh, those of names with date macros are read anew.
    void Hand(bool fresh);
    // The rows by the path of their log, with the status they show, or unknown (fresh, as above).
    void IndexRows(bool fresh);
    // With automatic date macros, a local date the texts do not stand for yet becomes theirs.
    bool TakeUpNewDay();
    void ArmTimer();

    HWND window_;
    UINT_PTR timer_;
    ListMenu& list_;
    Environ& settings_;
    LogWatch watch_;
    MacroDay day_;
    bool started_ = false;
    std::unordered_map<std::string, Log> logs_;
    unsigned revision_ = 0;  // of the rows logs_ was made from
};
