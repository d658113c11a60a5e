// Exported file helpers: the block-buffered line reader and the file and folder checks.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// An open reader. The value is a fixed global memory block that holds the record and its buffer;
// callers only keep it and hand it back, and FileClose releases it.
typedef struct TextFileReader* HTEXTFILE;

// mode is "rt" (a line ends at CR or CR LF, neither is stored) or "rb" (a line ends after LF,
// which is stored), in any letter case. The file is opened for reading without sharing. A block
// size of 0 (an empty file opened with its own size) reads in blocks of 8192 bytes. Null when the
// mode is unknown, the file cannot be opened or there is no memory for the block.
HTEXTFILE WINAPI FileOpen(LPCSTR fileName, LPCSTR mode, DWORD blockSize);
// Nonzero when the file was closed; 0 for a null reader.
BOOL WINAPI FileClose(HTEXTFILE reader);
// Reads the next line, or the next count bytes of a longer line, into out, which holds count + 1
// bytes. The call that runs out of data returns what it collected and sets the end state.
// Always 1.
int WINAPI FileGetString(LPSTR out, int count, HTEXTFILE reader);
// The next byte (0..255); 0 at the end of the file and, in text mode, for a line end.
int WINAPI FileGetChar(HTEXTFILE reader);
// 1 after the data ran out normally.
int WINAPI FileEof(HTEXTFILE reader);
// 65535 after a failed block read, else 0.
int WINAPI FileError(HTEXTFILE reader);

// Low 32 bits of the size; 0 when the file cannot be opened exclusively.
DWORD WINAPI GetFileNameSize(LPCSTR fileName);
// 1 when a file or folder matches the name, which may hold wildcards.
int WINAPI CheckFile(LPCSTR name);
// 1 when the folder exists and can be made the current folder. The current folder of the process
// changes for a moment, so no other thread may depend on it meanwhile.
int WINAPI CheckDirectory(LPCSTR path);
// Creates every missing level of a folder path of at most 259 bytes. Nonzero when this call
// created the last level; 0 when it existed or could not be created, or the path is too long.
BOOL WINAPI CreateClassDirectory(LPCSTR path);

#ifdef __cplusplus
}
#endif
