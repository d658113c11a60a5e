// Parsing, formatting, reading and writing of the index table file.
#include "loglist/index_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "lib/file_reader.h"
#include "lib/numbers.h"
#include "lib/owned.h"
#include "lib/strings_paths.h"
#include "settings/environ.h"

namespace {

constexpr int kReaderLineMax = 256;   // the most FileGetString hands out at once
constexpr size_t kKeptLineMax = 4096;  // a hand-made line longer than this loses its tail
constexpr DWORD kReaderBlockSize = 8192;
constexpr int kSeenTimeFieldSize = 32;

// Drops a lead byte left alone at the end of a copied text; returns the new length.
int DropHalfCharacter(char* text, int length) {
    int i = 0;
    while (i < length) {
        if (IsDBCSLeadByte(static_cast<BYTE>(text[i]))) {
            if (i + 1 >= length) {
                text[i] = '\0';
                return i;
            }
            i += 2;
        } else {
            ++i;
        }
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

// One whole line, joined from the reader's pieces: a piece shorter than the maximum ends it.
void ReadWholeLine(HTEXTFILE reader, std::string* line) {
    line->clear();
    char piece[kReaderLineMax + 1];
    size_t got;
    do {
        piece[0] = '\0';
        FileGetString(piece, kReaderLineMax, reader);
        got = std::strlen(piece);
        if (line->size() < kKeptLineMax) line->append(piece, std::min(got, kKeptLineMax - line->size()));
    } while (got == kReaderLineMax && !FileEof(reader) && !FileError(reader));
}

class ReaderCloser {
public:
    explicit ReaderCloser(HTEXTFILE reader) : reader_(reader) {}
    ~ReaderCloser() { FileClose(reader_); }
    ReaderCloser(const ReaderCloser&) = delete;
    ReaderCloser& operator=(const ReaderCloser&) = delete;

private:
    HTEXTFILE reader_;
};

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
    entry->FileTime = FILETIME{};
    entry->FileSize = 0;
    char name[MAX_PATH];
    ExpandDateMacros(entry->LogFileName, name, macros);
    // Asking for the attributes opens nothing that a writer could refuse: a log that another
    // program holds open, with any share mode, still shows its date and size.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return;
    }
    FILETIME local;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local)) entry->FileTime = local;
    entry->FileSize = data.nFileSizeLow;
}

bool ReadIndexFile(const char* path, const DateMacroTexts& macros, const IndexEntryConsumer& consumer) {
    HTEXTFILE reader = FileOpen(path, "rt", kReaderBlockSize);
    if (!reader) return false;
    ReaderCloser closer(reader);
    std::string line;
    for (;;) {
        ReadWholeLine(reader, &line);
        if (FileError(reader)) return false;
        bool atEnd = FileEof(reader) != 0;
        // The reader reports the end together with a last line that has no CR LF.
        if (atEnd && line.empty()) return true;
        LogEntry entry;
        ParseIndexLine(line.c_str(), &entry);
        RefreshFileStatus(&entry, macros);
        if (consumer(entry) < 0) return false;
        if (atEnd) return true;
    }
}

bool WriteIndexFile(const char* path, int count, const IndexEntrySource& fetch) {
    if (count < 0) return false;
    std::string text;
    LogEntry entry;
    for (int i = 0; i < count; ++i) {
        if (!fetch(i, &entry)) return false;
        text += FormatIndexLine(entry);
    }
    OwnedFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!file) return false;
    if (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size()) {
            return false;
        }
    }
    return CloseHandle(file.Release()) != 0;
}

bool WriteIndexFile(const char* path, const std::vector<LogEntry>& entries) {
    if (entries.size() > static_cast<size_t>(INT_MAX)) return false;
    return WriteIndexFile(path, static_cast<int>(entries.size()), [&entries](int index, LogEntry* out) {
        *out = entries[static_cast<size_t>(index)];
        return true;
    });
}

const char* IndexPathForWrite(Environ& settings) {
    if (settings.GetIndex()[0] == '\0') {
        char path[MAX_PATH];
        BuildDefaultIndexPath(settings.Instance(), path);
        settings.SetIndex(path);
    }
    return settings.GetIndex();
}
