#include "loglist/display.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "lib/core/byte_text.h"
#include "settings/environ.h"

namespace {

constexpr int kColumnStepStops = 32;
constexpr char kFullWidthSpace[] = "\x81\x40";

// Appends text to a row text of kDisplayTextSize bytes, whole characters only. With tabsFromBars,
// single-byte '|' becomes TAB; a double-byte character's second byte is never looked at.
void Append(char* out, int* length, const char* text, bool tabsFromBars) {
    for (const char* p = text; *p != '\0';) {
        const int width = static_cast<int>(bytetext::CharBytes(p));
        if (width == 0) return;  // half a character
        if (*length + width > kDisplayTextSize - 1) return;
        if (width == 1 && tabsFromBars && *p == '|') {
            out[(*length)++] = '\t';
        } else {
            std::memcpy(out + *length, p, static_cast<size_t>(width));
            *length += width;
        }
        p += width;
        out[*length] = '\0';
    }
}

int Compare64(ULONGLONG a, ULONGLONG b) { return a < b ? -1 : a > b ? 1 : 0; }

}  // namespace

DisplayOptions DisplayOptionsOf(const Environ& settings) {
    return {settings.GetDispMark(), settings.GetDispDate(), settings.GetMarkChar()};
}

bool IsUnread(const LogEntry& entry) { return FileTimeValue(entry.SeenTime) < FileTimeValue(entry.FileTime); }

int BuildDisplayText(LogEntry* entry, const DisplayOptions& options) {
    char* out = entry->DisplayText;
    int length = 0;
    out[0] = '\0';
    if (options.dispMark) {
        const char* mark = kFullWidthSpace;
        if (IsUnread(*entry) && options.markChar && options.markChar[0] != '\0') mark = options.markChar;
        Append(out, &length, mark, false);
        Append(out, &length, "\t", false);
    }
    if (options.dispDate) {
        char date[16] = "**/**";
        SYSTEMTIME st;
        if (entry->FileTime.dwHighDateTime != 0 && FileTimeToSystemTime(&entry->FileTime, &st)) {
            std::snprintf(date, sizeof date, "%02u/%02u", static_cast<unsigned>(st.wMonth),
                          static_cast<unsigned>(st.wDay));
        }
        Append(out, &length, date, false);
        Append(out, &length, "\t", false);
    }
    char name[kListNameSize];
    lstrcpynA(name, entry->ListName, kListNameSize);
    Append(out, &length, name, true);
    return length;
}

int BuildDisplayText(LogEntry* entry, const Environ& settings) {
    return BuildDisplayText(entry, DisplayOptionsOf(settings));
}

int CompareEntries(const LogEntry& a, const LogEntry& b, int sortList) {
    switch (sortList) {
    case 0: {
        int order = lstrcmpiA(a.ListName, b.ListName);
        return order < 0 ? -1 : order > 0 ? 1 : 0;
    }
    case 1: return Compare64(FileTimeValue(b.FileTime), FileTimeValue(a.FileTime));
    default: return Compare64(FileTimeValue(a.FileTime), FileTimeValue(b.FileTime));
    }
}

int CompareEntries(const LogEntry& a, const LogEntry& b, const Environ& settings) {
    return CompareEntries(a, b, settings.GetSortList());
}

int ComputeColumnStops(int averageCharWidth, int tabStop, int dispMark, int dispDate, int* stops) {
    auto clamp = [](long long v) { return static_cast<int>(v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v); };
    long long width = averageCharWidth;
    int count = 0;
    if (dispMark) stops[count++] = clamp(3 * width);
    if (dispDate) stops[count++] = clamp((dispMark ? 10 : 7) * width);
    long long last = count > 0 ? stops[count - 1] : 0;
    long long step = static_cast<long long>(tabStop < 0 ? 0 : tabStop) * width;
    for (int k = 1; k <= kColumnStepStops; ++k) stops[count++] = clamp(last + k * step);
    return count;
}

void ComputeColumnStops(Environ& settings, int averageCharWidth) {
    int stops[Environ::kMaxColumnStops];
    int count = ComputeColumnStops(averageCharWidth, settings.GetTabStop(), settings.GetDispMark(),
                                   settings.GetDispDate(), stops);
    settings.SetColumnStops(stops, count);
}
