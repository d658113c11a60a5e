#include "loglist/index_file.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "lib/core/byte_text.h"
#include "lib/core/owned.h"
#include "lib/core/path_text.h"
#include "lib/core/text_lines.h"
#include "lib/services/program_files.h"
#include "loglist/file_status.h"
#include "settings/environ.h"

namespace {

constexpr int kSeenTimeFieldSize = 32;
// The longest line the program writes: three whole fields, two ten-digit numbers, four commas, CR LF.
constexpr size_t kLongestIndexLine = kLogFileNameSize + kBrowserNameSize + kListNameSize + 4 + 2 * 10 + 2;
// The largest file a list can fill: as many of the longest lines as a list holds (about 67 MB).
constexpr LONGLONG kIndexFileMax = LONGLONG{kIndexEntryLimit} * kLongestIndexLine;

IndexFileOps fileSystemOps;

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
    int length = DropHalfCharacter(field, static_cast<int>(bytetext::CopyUpTo(field, src, ',', size - 1)));
    const char* p = src + length;
    while (*p != '\0' && *p != ',') p += bytetext::IsDoubleByte(p) ? 2 : 1;
    return *p == ',' ? p + 1 : p;
}

// Nothing, or only spaces, TABs and full-width spaces. Walked from the line's start, so a
// double-byte character other than the full-width space ends the walk at its lead byte.
bool IsBlankLine(const char* line, size_t length) {
    for (size_t i = 0; i < length;) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
        } else if (i + 1 < length && line[i] == '\x81' && line[i + 1] == '\x40') {
            i += 2;
        } else {
            return false;
        }
    }
    return true;
}

// Calls visit(line, length) for each line of text that is not blank, in file order; the visitor
// may overwrite the byte after the line.
template <class Visit>
void ForEachEntryLine(char* text, size_t size, Visit visit) {
    textlines::ForEachLine(text, size, [&](char* line, size_t length) {
        if (!IsBlankLine(line, length)) visit(line, length);
    });
}

// Two commas: the line carries the three text fields.
bool HasTextFields(const char* line, size_t length) {
    const void* comma = std::memchr(line, ',', length);
    if (!comma) return false;
    const char* rest = static_cast<const char*>(comma) + 1;
    return std::memchr(rest, ',', static_cast<size_t>(line + length - rest)) != nullptr;
}

// A whole index file, NUL-terminated, with the number of entries it holds.
struct IndexText {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    int entries = 0;
};

// Reads the file whole, opened so that nobody writes to it meanwhile, into a block taken without
// throwing, and judges whether it is a list and one the program can hold.
IndexRead ReadIndexText(const char* path, IndexText* text) {
    OwnedFile file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size)) return IndexRead::Unreadable;
    if (size.QuadPart > kIndexFileMax) return IndexRead::TooLong;
    text->size = static_cast<size_t>(size.QuadPart);
    text->bytes.reset(new (std::nothrow) char[text->size + 1]);
    if (!text->bytes) return IndexRead::Unreadable;
    DWORD got = 0;
    if (text->size && (!ReadFile(file.Get(), text->bytes.get(), static_cast<DWORD>(text->size), &got, nullptr) ||
                       got != text->size)) {
        return IndexRead::Unreadable;
    }
    text->bytes[text->size] = '\0';
    if (std::memchr(text->bytes.get(), '\0', text->size)) return IndexRead::NotAList;
    bool fields = false;
    int entries = 0;
    ForEachEntryLine(text->bytes.get(), text->size, [&](const char* line, size_t length) {
        ++entries;
        fields = fields || HasTextFields(line, length);
    });
    if (entries > kIndexEntryLimit) return IndexRead::TooLong;
    if (entries > 0 && !fields) return IndexRead::NotAList;
    text->entries = entries;
    return IndexRead::Read;
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
        entry->SeenTime.dwLowDateTime = bytetext::FirstNumber(low);
        entry->SeenTime.dwHighDateTime = bytetext::FirstNumber(p);
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
    for (const char* p = text; *p != '\0'; p += bytetext::IsDoubleByte(p) ? 2 : 1) {
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

bool IndexEntries::Reset(int count) {
    entries_.reset();
    count_ = 0;
    if (count <= 0) return true;
    entries_.reset(new (std::nothrow) LogEntry[count]);
    if (!entries_) return false;
    count_ = count;
    return true;
}

IndexRead ReadIndexFile(const char* path, const DateMacroTexts& macros, IndexEntries* entries) {
    entries->Reset(0);
    IndexText text;
    IndexRead read = ReadIndexText(path, &text);
    if (read != IndexRead::Read) return read;
    if (!entries->Reset(text.entries)) return IndexRead::Unreadable;
    int i = 0;
    ForEachEntryLine(text.bytes.get(), text.size, [&](char* line, size_t length) {
        line[length] = '\0';  // the line end, or the NUL after the last line
        LogEntry& entry = (*entries)[i++];
        ParseIndexLine(line, &entry);
        RefreshFileStatus(&entry, macros);
    });
    return IndexRead::Read;
}

IndexRead CheckIndexFile(const char* path) {
    IndexText text;
    return ReadIndexText(path, &text);
}

Seam<IndexFileOps*> indexFileOpsSeam(&fileSystemOps);

bool IndexFileOps::Write(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool IndexFileOps::Flush(HANDLE file) { return FlushFileBuffers(file) != 0; }

bool IndexFileOps::Replace(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool WriteIndexFile(const char* path, int count, const IndexEntrySource& fetch) {
    if (count < 0 || count > kIndexEntryLimit) return false;
    // Room for the longest lines, taken without throwing: the list may be as large as a list gets.
    std::unique_ptr<char[]> text(count ? new (std::nothrow) char[count * kLongestIndexLine] : nullptr);
    if (count && !text) return false;
    size_t size = 0;
    LogEntry entry;
    for (int i = 0; i < count; ++i) {
        if (!fetch(i, &entry)) return false;
        const std::string line = FormatIndexLine(entry);
        std::memcpy(text.get() + size, line.data(), line.size());
        size += line.size();
    }
    // The new list goes to a file of its own beside the old one and takes its place only once it
    // stands whole on the disk, so a failure at any step leaves the old file as it was.
    char folder[MAX_PATH] = "";
    pathtext::FolderOf(path, folder);
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder[0] ? folder : ".", "KV", 0, temp)) return false;
    IndexFileOps& ops = *indexFileOpsSeam.Current();
    bool written;
    {
        OwnedFile file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        written = file && (size == 0 || ops.Write(file.Get(), text.get(), static_cast<DWORD>(size))) &&
                  ops.Flush(file.Get()) && CloseHandle(file.Release());
    }
    if (written && ops.Replace(temp, path)) return true;
    DeleteFileA(temp);
    return false;
}

const char* IndexPathForWrite(Environ& settings) {
    if (settings.GetIndex()[0] == '\0') {
        char path[MAX_PATH];
        FreeIndexPath(settings.Instance(), path);
        settings.SetIndex(path);
    }
    return settings.GetIndex();
}
