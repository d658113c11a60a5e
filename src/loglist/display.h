// The row text of a log entry, the order of rows and the column stops of the list text.
#pragma once
#include <windows.h>

#include "loglist/log_entry.h"

class Environ;

struct DisplayOptions {
    int dispMark;          // nonzero: unread-mark column
    int dispDate;          // nonzero: update-date column
    const char* markChar;  // MarkChar as stored; empty or null shows a full-width space
};

DisplayOptions DisplayOptionsOf(const Environ& settings);

// The log file was written after the user last opened it: SeenTime < FileTime as unsigned 64-bit
// numbers. A missing file (FileTime 0) is never unread.
bool IsUnread(const LogEntry& entry);

// Composes entry->DisplayText: the mark column and a TAB, the date column ("MM/DD" of FileTime, or
// "**/**" without one) and a TAB, each only when shown, then ListName with every single-byte '|'
// turned into a TAB. A list name that does not fit is cut at a character boundary. Returns the
// length of the text.
int BuildDisplayText(LogEntry* entry, const DisplayOptions& options);
int BuildDisplayText(LogEntry* entry, const Environ& settings);

// Negative when a comes before b. SortList 0: ListName, case-insensitive under the user's locale;
// 1: newest FileTime first; 2 and any other value: oldest FileTime first. Ties give 0.
int CompareEntries(const LogEntry& a, const LogEntry& b, int sortList);
int CompareEntries(const LogEntry& a, const LogEntry& b, const Environ& settings);

// The stops for drawing row text, in pixels from the row's left edge, from the list font's
// average character width: the fixed stops of the shown columns (mark 3, date 7, both 3 and 10
// widths), then 32 stops TabStop widths apart. stops holds Environ::kMaxColumnStops entries; the
// count is returned. A negative TabStop counts as 0; positions are kept within int.
int ComputeColumnStops(int averageCharWidth, int tabStop, int dispMark, int dispDate, int* stops);
// The same from the settings' display options and TabStop, stored into settings. The list needs
// stops before it draws its first row, also when the start-up load failed.
void ComputeColumnStops(Environ& settings, int averageCharWidth);
