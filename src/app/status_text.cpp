#include "app/status_text.h"

#include <cstdio>

StatusTexts FormatStatusTexts(const LogEntry& entry, const DateMacroTexts& macros) {
    StatusTexts out;
    char name[MAX_PATH];
    ExpandDateMacros(entry.LogFileName, name, macros);
    out.file = std::string("\x81\x74 ") + name;  // 》 and a space
    char text[64];
    std::snprintf(text, sizeof text, "%10lu", static_cast<unsigned long>(entry.FileSize));
    out.size = text;
    SYSTEMTIME t;
    // FileTime already holds local time.
    if (entry.FileTime.dwHighDateTime != 0 && FileTimeToSystemTime(&entry.FileTime, &t)) {
        std::snprintf(text, sizeof text, " %04d/%02d/%02d", t.wYear, t.wMonth, t.wDay);
        out.date = text;
        std::snprintf(text, sizeof text, "  %02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
        out.time = text;
    } else {
        out.date = " ****/**/**";
        out.time = "   **:**:**";
    }
    return out;
}
