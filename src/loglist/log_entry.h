// One row of the log list: the persisted fields of an index table file line and the derived ones.
#pragma once
#include <windows.h>

constexpr int kLogFileNameSize = MAX_PATH;
constexpr int kBrowserNameSize = MAX_PATH;
constexpr int kListNameSize = 128;
constexpr int kDisplayTextSize = 128;

// Times are FILETIME values in local time, compared as unsigned 64-bit numbers.
struct LogEntry {
    char LogFileName[kLogFileNameSize] = {};  // may hold date macro characters
    char BrowserName[kBrowserNameSize] = {};
    char ListName[kListNameSize] = {};        // a single-byte '|' is a column break
    char DisplayText[kDisplayTextSize] = {};  // derived: BuildDisplayText
    FILETIME SeenTime = {};                   // 0 = never opened through the list
    FILETIME FileTime = {};                   // derived: 0 when the log file cannot be opened
    DWORD FileSize = 0;                       // derived: low 32 bits
};

inline ULONGLONG FileTimeValue(const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
