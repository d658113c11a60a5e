// Exported byte-string and path helpers, safe for Shift-JIS double-byte characters.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Unless a size is given, every output is a path buffer of MAX_PATH (260) bytes: a longer result
// is cut to 259 bytes at a character boundary. A double-byte character is never split and neither
// of its bytes is taken for a separator. Lengths are byte counts of the output.

// 1 when p is the lead byte of a double-byte character whose second byte is neither 0 nor 0xFF.
int WINAPI IsMultiByteChar(LPCSTR p);

// Copies src up to the delimiter, the end or max bytes; dst holds max + 1 bytes.
int WINAPI lstrxcpy(LPSTR dst, LPCSTR src, int delimiter, int max);
// Copies src without trailing spaces, at most limit + 1 bytes; dst holds limit + 2 bytes.
int WINAPI lstrcpyspc(LPSTR dst, LPCSTR src, int limit);
// As lstrcpyspc, trimming trailing '0' characters ("1.500" gives "1.5").
int WINAPI lstrcpyzc(LPSTR dst, LPCSTR src, int limit);
// Copies one argument: up to a space outside double quotes (quotes are kept), the end or max
// bytes; dst holds max + 1 bytes.
int WINAPI StringArgCopy(LPSTR dst, LPCSTR src, int max);
// Splits at the first space: program gets what is before it, param what is after it.
void WINAPI GetFileParam(LPCSTR commandLine, LPSTR program, LPSTR param);
// "x y" and "left top right bottom": signed decimal fields of up to 8 bytes, one space apart.
// A missing field is 0.
void WINAPI GetPointData(LPCSTR text, POINT* point);
void WINAPI GetRectData(LPCSTR text, RECT* rect);
// Upper-cases path in place; 1 for "A:...", 3 for "C:..."; -1 without a drive letter.
int WINAPI GetDriveNumber(LPSTR path);

// The folder with its trailing backslash; empty when there is no backslash. out may be path.
int WINAPI GetPathName(LPCSTR path, LPSTR out);
// What follows the last backslash or colon; the whole path when there is none.
int WINAPI GetFileName(LPCSTR path, LPSTR out);
// Everything before the last dot anywhere in the path; the whole path when there is no dot.
int WINAPI GetPathNameOnly(LPCSTR path, LPSTR out);
// What follows the last dot, without it; empty when there is no dot.
int WINAPI GetFileNameExt(LPCSTR path, LPSTR out);
// GetPathNameOnly for a bare file name.
int WINAPI GetFileNameOnly(LPCSTR path, LPSTR out);
// drive (3 bytes) is "X:" only when the path starts with one, else empty; dir runs from there up
// to and including the last backslash (empty without one); name and ext are split at the last
// dot after that backslash (ext empty without one). Null outputs are skipped.
void WINAPI SplitPath(LPCSTR path, LPSTR drive, LPSTR dir, LPSTR name, LPSTR ext);
// A line with a double quote starts with a quoted program; otherwise the program ends at the first
// space. params, which may be null, gets what follows the program and one separator.
void WINAPI SeparatePath(LPCSTR commandLine, LPSTR program, LPSTR params);
// Wraps src in double quotes unless it holds one (src is cut to 257 bytes for that).
void WINAPI SetSeparateSymbol(LPCSTR src, LPSTR dst);
// Removes the enclosing double quotes of a string that holds one.
void WINAPI DelSeparateSymbol(LPCSTR src, LPSTR dst);
// ProductName of the file's version resource (Japanese, then US English), else the file's base
// name without extension; out holds max + 1 bytes. Nonzero when the version resource gave it.
int WINAPI GetProductName(LPCSTR fileName, LPSTR out, int max);
// Arguments separated by spaces outside double quotes; two spaces in a row hold an empty
// argument; a single trailing space adds none.
int WINAPI GetCountArgument(LPCSTR commandLine);
// The argument of that index, quotes kept; empty when there is no such argument. Always 1.
int WINAPI GetArgumentFileName(LPCSTR commandLine, int index, LPSTR out);
// The path with each component in its long form (a component that cannot be found is left out);
// out holds size bytes. 0 when no work memory could be had.
int WINAPI GetLongPathNameBn(LPCSTR path, LPSTR out, int size);
// For the multi-select Open dialog's buffer (only its first 260 bytes are looked at, and the byte
// after a NUL at 259): 0 when it has no NUL there; 1 for a single full path, also one of 259
// bytes (dir gets its folder, files its name); else dir gets the folder, files the list of
// complete names (NUL-separated, ending in an empty name) and the result is their number.
int WINAPI GetMultiSelectFileInfo(LPCSTR buffer, LPSTR dir, LPSTR files);
// Names in a list of NUL-terminated names ending in an empty name, within its first 260 bytes.
int WINAPI GetMultiFileCount(LPCSTR list);

#ifdef __cplusplus
}
#endif
