// The date and size of a log file as the list shows them.
#pragma once
#include <windows.h>

struct FileStatus {
    FILETIME time = {};  // last write, local time; 0 when missing
    DWORD size = 0;      // low 32 bits
};

inline bool SameStatus(const FileStatus& a, const FileStatus& b) {
    return a.time.dwLowDateTime == b.time.dwLowDateTime && a.time.dwHighDateTime == b.time.dwHighDateTime &&
           a.size == b.size;
}

// The status of the file at path (date macros already replaced), also while another program holds
// it open; 0 and 0 when it is missing, a folder or cannot be looked at.
FileStatus ReadFileStatus(const char* path);
