// Path helpers that ask the system: drive numbers, product names, long path names, multi-select results.
#include <cstring>

#include "lib/core/byte_text.h"
#include "lib/core/owned.h"
#include "lib/strings_paths.h"

using bytetext::CopyFit;
using bytetext::CopyPrefix;
using bytetext::FitLength;
using bytetext::IsDoubleByte;
using bytetext::kPathBytes;

namespace {

// The work string of GetLongPathNameBn: appends are cut to its capacity at character boundaries.
class LongPathBuilder {
public:
    static constexpr size_t kBytes = 520;
    explicit LongPathBuilder(char* text) : text_(text) {}
    void Append(const char* part, size_t len) {
        size_t room = kBytes - 1 - len_;
        size_t take = FitLength(part, len < room ? len : room);
        memcpy(text_ + len_, part, take);
        len_ += take;
        text_[len_] = '\0';
    }
    // Appends the long name of the first len bytes of path; nothing when it cannot be found.
    void AppendFoundName(const char* path, size_t len) {
        if (len == 0 || len >= kPathBytes) return;
        char prefix[kPathBytes];
        CopyPrefix(prefix, path, len);
        WIN32_FIND_DATAA found;
        OwnedFind find(FindFirstFileA(prefix, &found));
        if (find) Append(found.cFileName, strlen(found.cFileName));
    }

private:
    char* text_;
    size_t len_ = 0;
};

}  // namespace

extern "C" {

int WINAPI GetDriveNumber(LPSTR path) {
    if (!path) return -1;
    CharUpperA(path);
    char oem[kPathBytes];
    CopyFit(oem, path, kPathBytes - 1);
    CharToOemA(oem, oem);
    return oem[0] && oem[1] == ':' ? static_cast<unsigned char>(oem[0]) - 64 : -1;
}

int WINAPI GetProductName(LPCSTR fileName, LPSTR out, int max) {
    size_t limit = max < 0 ? 0 : static_cast<size_t>(max);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &ignored);
    if (size) {
        OwnedLocal block(LocalAlloc(LPTR, size));
        if (block && GetFileVersionInfoA(fileName, 0, size, block.Get())) {
            static const char* const kQueries[] = {
                "\\StringFileInfo\\041103A4\\ProductName",  // Japanese, code page 932
                "\\StringFileInfo\\041104B0\\ProductName",  // Japanese, Unicode
                "\\StringFileInfo\\040904E4\\ProductName",  // US English, code page 1252
                "\\StringFileInfo\\040904B0\\ProductName",  // US English, Unicode
            };
            for (const char* query : kQueries) {
                void* value = nullptr;
                UINT len = 0;
                if (VerQueryValueA(block.Get(), query, &value, &len) && value) {
                    // len counts characters and may include the NUL; the text itself is terminated.
                    size_t text = strnlen(static_cast<const char*>(value), len);
                    CopyPrefix(out, static_cast<const char*>(value),
                               FitLength(static_cast<const char*>(value), text < limit ? text : limit));
                    return 1;
                }
            }
        }
    }
    char name[kPathBytes];
    GetFileName(fileName, name);
    GetFileNameOnly(name, name);
    CopyFit(out, name, limit);
    return 0;
}

int WINAPI GetLongPathNameBn(LPCSTR path, LPSTR out, int size) {
    OwnedHeapBlock work(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, LongPathBuilder::kBytes));
    if (!work) return 0;
    char* text = static_cast<char*>(work.Get());
    LongPathBuilder builder(text);
    for (size_t i = 0;;) {
        if (IsDoubleByte(path + i)) {
            i += 2;
            continue;
        }
        char c = path[i];
        if (c == '\0') {
            builder.AppendFoundName(path, i);
            break;
        }
        if (c == ':') {
            // The drive, its colon and the root backslash after it are kept as they are.
            if (path[i + 1] == '\0') {
                builder.Append(path, i + 1);
                break;
            }
            builder.Append(path, i + 2);
            i += 2;
            continue;
        }
        if (c == '\\') {
            builder.AppendFoundName(path, i);
            builder.Append("\\", 1);
        }
        ++i;
    }
    if (size <= 0) return 0;
    return static_cast<int>(CopyFit(out, text, static_cast<size_t>(size) - 1));
}

int WINAPI GetMultiFileCount(LPCSTR list) {
    if (!list || !list[0]) return 0;
    int count = 0;
    for (size_t i = 0; i < kPathBytes; ++i) {
        if (list[i]) continue;
        ++count;
        if (i + 1 < kPathBytes && !list[i + 1]) break;
    }
    return count;
}

int WINAPI GetMultiSelectFileInfo(LPCSTR buffer, LPSTR dir, LPSTR files) {
    size_t first = 0;
    while (first < kPathBytes && buffer[first]) ++first;
    if (first == kPathBytes) {
        dir[0] = '\0';
        files[0] = '\0';
        return 0;
    }
    // A single path of 259 bytes ends at position 259; the dialog's empty name after it lies
    // just past the first 260 bytes.
    if (!buffer[first + 1]) {
        GetPathName(buffer, dir);
        GetFileName(buffer, files);
        return 1;
    }
    CopyPrefix(dir, buffer, first);
    // Only names that end below position 260 of the buffer are taken; the list ends in an empty name.
    size_t kept = first + 1;
    for (size_t i = first + 1; i < kPathBytes && buffer[i]; ++i) {
        size_t end = i;
        while (end < kPathBytes && buffer[end]) ++end;
        if (end == kPathBytes) break;
        kept = end + 1;
        i = end;
    }
    size_t len = kept - (first + 1);
    memcpy(files, buffer + first + 1, len);
    files[len] = '\0';
    if (len == 0) files[1] = '\0';
    return GetMultiFileCount(files);
}

}  // extern "C"
