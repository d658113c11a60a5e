// The copies, trims and splits of path names; command_line.cpp and file_names.cpp hold the rest.
#include "lib/strings_paths.h"

#include <cstring>

#include "lib/core/byte_text.h"
#include "lib/core/path_text.h"

using bytetext::CopyFit;
using bytetext::CopyPrefix;
using bytetext::FitLength;
using bytetext::IsDoubleByte;
using bytetext::kPathBytes;
using bytetext::LastOf;
using pathtext::PathCap;

// Copies src up to NUL, max bytes or the first single-byte character for which stop answers true;
// a double-byte character is copied whole or not at all and never shown to stop.
template <class Stop>
static int CopyUntil(LPSTR dst, LPCSTR src, int max, Stop stop) {
    int i = 0;
    while (i < max && src[i]) {
        if (IsDoubleByte(src + i)) {
            if (i + 2 > max) break;
            dst[i] = src[i];
            dst[i + 1] = src[i + 1];
            i += 2;
            continue;
        }
        if (stop(src[i])) break;
        dst[i] = src[i];
        ++i;
    }
    dst[i] = '\0';
    return i;
}

extern "C" {

int WINAPI IsMultiByteChar(LPCSTR p) { return IsDoubleByte(p) ? 1 : 0; }

int WINAPI lstrxcpy(LPSTR dst, LPCSTR src, int delimiter, int max) {
    return static_cast<int>(bytetext::CopyUpTo(dst, src, static_cast<char>(delimiter), max < 0 ? 0 : max));
}

// Copies src without its trailing run of pad bytes, at most limit + 1 bytes.
static int CopyTrimmed(LPSTR dst, LPCSTR src, int limit, char pad) {
    size_t keep = 0;
    for (size_t i = 0; src[i];) {
        if (IsDoubleByte(src + i)) {
            i += 2;
            keep = i;
        } else {
            if (src[i] != pad) keep = i + 1;
            ++i;
        }
    }
    size_t max = limit < 0 ? 0 : static_cast<size_t>(limit) + 1;
    return static_cast<int>(CopyPrefix(dst, src, FitLength(src, keep < max ? keep : max)));
}

int WINAPI lstrcpyspc(LPSTR dst, LPCSTR src, int limit) { return CopyTrimmed(dst, src, limit, ' '); }

int WINAPI lstrcpyzc(LPSTR dst, LPCSTR src, int limit) { return CopyTrimmed(dst, src, limit, '0'); }

int WINAPI StringArgCopy(LPSTR dst, LPCSTR src, int max) {
    bool quoted = false;
    return CopyUntil(dst, src, max, [&quoted](char c) {
        if (c == '"') quoted = !quoted;
        return c == ' ' && !quoted;
    });
}

void WINAPI GetFileParam(LPCSTR commandLine, LPSTR program, LPSTR param) {
    ptrdiff_t space = bytetext::FirstOf(commandLine, ' ');
    if (space < 0) {
        CopyFit(program, commandLine, kPathBytes - 1);
        param[0] = '\0';
        return;
    }
    CopyPrefix(program, commandLine, FitLength(commandLine, PathCap(static_cast<size_t>(space))));
    CopyFit(param, commandLine + space + 1, kPathBytes - 1);
}

// Reads count space-separated numbers of at most 8 bytes each; fields missing at the end are 0.
static void ReadNumberFields(LPCSTR text, LONG* fields, int count) {
    const char* p = text;
    for (int k = 0; k < count; ++k) {
        char field[9];
        int len = lstrxcpy(field, p, ' ', 8);
        fields[k] = bytetext::ParseLong(field);
        p += len;
        if (*p) ++p;  // the separator; never the end of the text
    }
}

void WINAPI GetPointData(LPCSTR text, POINT* point) {
    LONG v[2];
    ReadNumberFields(text, v, 2);
    point->x = v[0];
    point->y = v[1];
}

void WINAPI GetRectData(LPCSTR text, RECT* rect) {
    LONG v[4];
    ReadNumberFields(text, v, 4);
    rect->left = v[0];
    rect->top = v[1];
    rect->right = v[2];
    rect->bottom = v[3];
}

int WINAPI GetPathName(LPCSTR path, LPSTR out) { return static_cast<int>(pathtext::FolderOf(path, out)); }

int WINAPI GetFileName(LPCSTR path, LPSTR out) { return static_cast<int>(pathtext::FileNameOf(path, out)); }

int WINAPI GetPathNameOnly(LPCSTR path, LPSTR out) {
    ptrdiff_t dot = LastOf(path, '.', '.');
    size_t len = dot < 0 ? strlen(path) : static_cast<size_t>(dot);
    return static_cast<int>(CopyPrefix(out, path, FitLength(path, PathCap(len))));
}

int WINAPI GetFileNameOnly(LPCSTR path, LPSTR out) { return GetPathNameOnly(path, out); }

int WINAPI GetFileNameExt(LPCSTR path, LPSTR out) {
    ptrdiff_t dot = LastOf(path, '.', '.');
    if (dot < 0) return static_cast<int>(CopyPrefix(out, path, 0));
    return static_cast<int>(CopyFit(out, path + dot + 1, kPathBytes - 1));
}

void WINAPI SplitPath(LPCSTR path, LPSTR drive, LPSTR dir, LPSTR name, LPSTR ext) {
    size_t start = 0;
    if (path[0] && !IsDoubleByte(path) && path[1] == ':') start = 2;
    if (drive) CopyPrefix(drive, path, start);

    const char* rest = path + start;
    ptrdiff_t slash = LastOf(rest, '\\', '\\');
    size_t dirLen = slash < 0 ? 0 : static_cast<size_t>(slash) + 1;
    if (dir) CopyPrefix(dir, rest, FitLength(rest, PathCap(dirLen)));

    const char* file = rest + dirLen;
    ptrdiff_t dot = LastOf(file, '.', '.');
    size_t nameLen = dot < 0 ? strlen(file) : static_cast<size_t>(dot);
    if (name) CopyPrefix(name, file, FitLength(file, PathCap(nameLen)));
    if (ext) {
        if (dot < 0)
            ext[0] = '\0';
        else
            CopyFit(ext, file + dot + 1, kPathBytes - 1);
    }
}

}  // extern "C"
