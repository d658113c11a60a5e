#include "loglist/live_list.h"

#include <algorithm>
#include <cstring>

#include "loglist/date_macros.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"

namespace {

// The date is checked at least this often: a timer may sleep through midnight with the machine.
constexpr DWORD kLongestDayCheckMs = 15 * 60 * 1000;

// '#', '$' and '%' are never the second byte of a double-byte character.
bool HasDateMacros(const char* name) { return std::strpbrk(name, "#$%") != nullptr; }

}  // namespace

LiveList::LiveList(HWND window, UINT message, UINT_PTR timer, ListMenu& list, Environ& settings)
    : window_(window), timer_(timer), list_(list), settings_(settings), watch_(window, message) {
    // The texts were set to today when the settings were read: that is the day they stand for.
    if (settings_.GetMacroAuto()) settings_.SetMacrosToDate(day_.Mark());
}

LiveList::~LiveList() {
    watch_.Stop();
    KillTimer(window_, timer_);
}

void LiveList::Follow() { Hand(TakeUpNewDay()); }

bool LiveList::CheckDay() {
    ArmTimer();
    if (!TakeUpNewDay()) return false;
    Hand(true);
    return true;
}

bool LiveList::TakeChanges() {
    const std::vector<WatchedLog> changes = watch_.TakeChanges();
    if (changes.empty()) return false;
    if (list_.Revision() != revision_) IndexRows(false);
    const int selected = list_.GetSelection();
    bool selectedChanged = false;
    for (const WatchedLog& change : changes) {
        const auto log = logs_.find(change.path);
        if (log == logs_.end()) continue;
        for (int row : log->second.rows) {
            if (list_.SetFileStatus(row, change.status) && row == selected) selectedChanged = true;
        }
    }
    return selectedChanged;
}

void LiveList::Hand(bool fresh) {
    IndexRows(fresh);
    std::vector<WatchedLog> logs;
    logs.reserve(logs_.size());
    for (const auto& [path, log] : logs_) logs.push_back({path, log.status});
    watch_.SetLogs(std::move(logs));
    if (started_) return;
    started_ = true;
    watch_.Start();  // without a worker the rows show what the loads read
    ArmTimer();
}

void LiveList::IndexRows(bool fresh) {
    logs_.clear();
    revision_ = list_.Revision();
    const int count = list_.GetEntryCount();
    LogEntry entry;
    char path[MAX_PATH];
    for (int i = 0; i < count; ++i) {
        if (list_.GetEntry(i, &entry) < 0 || ExpandDateMacros(entry.LogFileName, path, settings_) == 0) continue;
        Log& log = logs_[path];
        if (log.rows.empty()) log.status = {entry.FileTime, entry.FileSize};
        // The worker reads such a log at once: the row still shows the log of the day before.
        if (fresh && HasDateMacros(entry.LogFileName)) log.status = kUnknownStatus;
        log.rows.push_back(i);
    }
}

bool LiveList::TakeUpNewDay() {
    if (!settings_.GetMacroAuto() || !day_.Changed()) return false;
    settings_.SetMacrosToDate(day_.Mark());
    return true;
}

void LiveList::ArmTimer() { SetTimer(window_, timer_, std::min(day_.MsUntilMidnight(), kLongestDayCheckMs), nullptr); }
