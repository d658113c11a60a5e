// Parsing, formatting, reading and writing of the index table file.
#include "loglist/index_file.h"

#include <cstdio>
#include <cstring>

#include "lib/byte_text.h"
#include "lib/numbers.h"
#include "lib/owned.h"
#include "lib/strings_paths.h"
#include "loglist/file_status.h"
#include "settings/environ.h"

namespace {

constexpr int kSeenTimeFieldSize = 32;
constexpr LONGLONG kIndexFileMax = 64 << 20;  // far beyond any list: 10,000 entries take about 1 MB

IndexFileOps fileSystemOps;
IndexFileOps* indexFileOps = &fileSystemOps;

// Drops a lead byte left alone at the end of a copied text; returns the new length.
int DropHalfCharacter(char* text, int length) {
    for (int i = 0; i < length;) {
        const size_t width = bytetext::CharBytes(text + i);
        if (width == 0) {
            text[i] = '\0';
            return i;
        }
        i += static_cast<int>(width);
    }
    return length;
}

// Copies the field at src into a buffer of size bytes; returns where the next field starts.
const char* TakeField(const char* src, char* field, int size) {
    int length = DropHalfCharacter(field, lstrxcpy(field, src, ',', size - 1));
    const char* p = src + length;
    while (*p != '\0' && *p != ',') p += IsMultiByteChar(p) ? 2 : 1;
    return *p == ',' ? p + 1 : p;
}

// The whole file, opened so that nobody writes to it meanwhile. False when it cannot be opened
// or read, or is larger than any list.
bool ReadWholeFile(const char* path, std::string* text) {
    OwnedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kIndexFileMax) return false;
    text->resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    return text->empty() ||
           (ReadFile(file.Get(), &(*text)[0], static_cast<DWORD>(text->size()), &got, nullptr) && got == text->size());
}

}  // namespace

void ParseIndexLine(const char* line, LogEntry* entry) {
    *entry = LogEntry{};
    const char* p = TakeField(line, entry->LogFileName, kLogFileNameSize);
    p = TakeField(p, entry->BrowserName, kBrowserNameSize);
    p = TakeField(p, entry->ListName, kListNameSize);
    char low[kSeenTimeFieldSize];
    p = TakeField(p, low, kSeenTimeFieldSize);
    if (*p != '\0') {  // the high half is the whole rest of the line
        entry->SeenTime.dwLowDateTime = AsciiToDWord(low);
        entry->SeenTime.dwHighDateTime = AsciiToDWord(p);
    }
}

std::string FormatIndexLine(const LogEntry& entry) {
    std::string line;
    line.append(entry.LogFileName, strnlen(entry.LogFileName, kLogFileNameSize));
    line += ',';
    line.append(entry.BrowserName, strnlen(entry.BrowserName, kBrowserNameSize));
    line += ',';
    line.append(entry.ListName, strnlen(entry.ListName, kListNameSize));
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, ",%lu,%lu\r\n", static_cast<unsigned long>(entry.SeenTime.dwLowDateTime),
                  static_cast<unsigned long>(entry.SeenTime.dwHighDateTime));
    line += numbers;
    return line;
}

bool IsStorableIndexField(const char* text) {
    for (const char* p = text; *p != '\0'; p += IsMultiByteChar(p) ? 2 : 1) {
        if (*p == ',') return false;
    }
    return true;
}

void RefreshFileStatus(LogEntry* entry, const DateMacroTexts& macros) {
    char name[MAX_PATH];
    ExpandDateMacros(entry->LogFileName, name, macros);
    const FileStatus status = ReadFileStatus(name);
    entry->FileTime = status.time;
    entry->FileSize = status.size;
}

bool ReadIndexFile(const char* path, const DateMacroTexts& macros, const IndexEntryConsumer& consumer) {
    std::string text;
    if (!ReadWholeFile(path, &text)) return false;
    // A line ends at CR LF, a lone CR or a lone LF: a list edited or copied elsewhere may carry
    // any of them, and reading its lines as one would lose all but the first at the next write.
    std::string line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        line.assign(text, start, end - start);
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        LogEntry entry;
        ParseIndexLine(line.c_str(), &entry);
        RefreshFileStatus(&entry, macros);
        if (consumer(entry) < 0) return false;
    }
    return true;
}

bool IndexFileOps::Write(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool IndexFileOps::Flush(HANDLE file) { return FlushFileBuffers(file) != 0; }

bool IndexFileOps::Replace(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

IndexFileOps* SetIndexFileOps(IndexFileOps* ops) {
    IndexFileOps* previous = indexFileOps;
    indexFileOps = ops ? ops : &fileSystemOps;
    return previous;
}

bool WriteIndexFile(const char* path, int count, const IndexEntrySource& fetch) {
    if (count < 0) return false;
    std::string text;
    LogEntry entry;
    for (int i = 0; i < count; ++i) {
        if (!fetch(i, &entry)) return false;
        text += FormatIndexLine(entry);
    }
    if (text.size() > static_cast<size_t>(kIndexFileMax)) return false;
    // The new list goes to a file of its own beside the old one and takes its place only once it
    // stands whole on the disk, so a failure at any step leaves the old file as it was.
    char folder[MAX_PATH] = "";
    GetPathName(path, folder);
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder[0] ? folder : ".", "KV", 0, temp)) return false;
    IndexFileOps& ops = *indexFileOps;
    bool written;
    {
        OwnedFile file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        written = file && (text.empty() || ops.Write(file.Get(), text.data(), static_cast<DWORD>(text.size()))) &&
                  ops.Flush(file.Get()) && CloseHandle(file.Release());
    }
    if (written && ops.Replace(temp, path)) return true;
    DeleteFileA(temp);
    return false;
}

void FreeIndexPath(HINSTANCE instance, char out[MAX_PATH]) {
    BuildDefaultIndexPath(instance, out);
    if (!out[0] || GetFileAttributesA(out) == INVALID_FILE_ATTRIBUTES) return;
    char taken[MAX_PATH];
    lstrcpynA(taken, out, MAX_PATH);
    // The number goes before the extension of the file name (a dot in a folder name is none).
    const char* name = std::strrchr(taken, '\\');
    const char* dot = std::strrchr(name ? name : taken, '.');
    const int stem = static_cast<int>(dot ? dot - taken : std::strlen(taken));
    for (int n = 2; n < 1000; ++n) {
        int length = std::snprintf(out, MAX_PATH, "%.*s%d%s", stem, taken, n, taken + stem);
        if (length < 0 || length >= MAX_PATH) break;
        if (GetFileAttributesA(out) == INVALID_FILE_ATTRIBUTES) return;
    }
    out[0] = '\0';
}

const char* IndexPathForWrite(Environ& settings) {
    if (settings.GetIndex()[0] == '\0') {
        char path[MAX_PATH];
        FreeIndexPath(settings.Instance(), path);
        settings.SetIndex(path);
    }
    return settings.GetIndex();
}
