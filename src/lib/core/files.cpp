#include "lib/core/files.h"

#include <windows.h>

#include <cstring>

#include "lib/core/byte_text.h"
#include "lib/core/owned.h"

namespace fileops {

bool Exists(const char* name) {
    WIN32_FIND_DATAA found;
    OwnedFind find(FindFirstFileA(name, &found));
    return static_cast<bool>(find);
}

bool IsFolder(const char* path) {
    if (!path || !path[0] || strlen(path) >= MAX_PATH) return false;
    char current[MAX_PATH];
    DWORD len = GetCurrentDirectoryA(MAX_PATH, current);
    if (len == 0 || len >= MAX_PATH) return false;  // could not be set back afterwards
    if (!SetCurrentDirectoryA(path)) return false;
    SetCurrentDirectoryA(current);
    return true;
}

bool CreateFolders(const char* path) {
    if (!path || strlen(path) >= MAX_PATH) return false;
    char work[MAX_PATH];
    size_t len = bytetext::CopyFit(work, path, MAX_PATH - 1);
    if (len > 0 && bytetext::LastOf(work, '\\', '\\') == static_cast<ptrdiff_t>(len) - 1) work[--len] = '\0';
    for (size_t i = 0; i < len;) {
        if (bytetext::IsDoubleByte(work + i)) {
            i += 2;  // a second byte 0x5C is not a backslash
            continue;
        }
        if (work[i] == ':') {
            i += 2;  // the drive's root backslash is never created
            continue;
        }
        if (work[i] == '\\') {
            work[i] = '\0';
            CreateDirectoryA(work, nullptr);
            work[i] = '\\';
        }
        ++i;
    }
    return CreateDirectoryA(work, nullptr) != FALSE;
}

}  // namespace fileops
