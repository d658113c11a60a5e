#include "lib/file_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lib/core/byte_scan.h"
#include "lib/core/files.h"
#include "lib/core/owned.h"

struct TextFileReader {
    HANDLE file;
    int end;        // the data ran out or a read failed; never cleared
    int lastBlock;  // a block read gave less than a full block
    int textMode;
    WORD error;  // 0xFFFF after a failed read
    DWORD blockSize;
    DWORD count;  // bytes of the current block
    DWORD pos;    // next byte to hand out; the block is used up at count
    char buffer[1];
};

namespace {

constexpr DWORD kDefaultBlock = 8192;
constexpr WORD kReadFailed = 0xFFFF;

// Reads the next block; false when no byte came (end of data or a failed read).
bool Fill(TextFileReader* r) {
    if (r->end) return false;
    if (r->lastBlock) {
        r->end = 1;
        return false;
    }
    DWORD got = 0;
    if (!ReadFile(r->file, r->buffer, r->blockSize, &got, nullptr)) {
        r->end = 1;
        r->error = kReadFailed;
        return false;
    }
    if (got < r->blockSize) r->lastBlock = 1;
    if (got == 0) {
        r->end = 1;
        return false;
    }
    r->count = got;
    r->pos = 0;
    return true;
}

}  // namespace

extern "C" {

HTEXTFILE WINAPI FileOpen(LPCSTR fileName, LPCSTR mode, DWORD blockSize) {
    int textMode;
    if (lstrcmpiA(mode, "rt") == 0)
        textMode = 1;
    else if (lstrcmpiA(mode, "rb") == 0)
        textMode = 0;
    else
        return nullptr;
    // A zero block would end every file at its first read, whatever it holds.
    if (blockSize == 0) blockSize = kDefaultBlock;
    if (blockSize > SIZE_MAX - offsetof(TextFileReader, buffer)) return nullptr;

    // Fixed memory, so the handle is the record's address and no call has to lock it.
    OwnedGlobal block(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, offsetof(TextFileReader, buffer) + blockSize));
    if (!block) return nullptr;
    OwnedFile file(CreateFileA(fileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;

    auto* reader = static_cast<TextFileReader*>(block.Get());
    reader->file = file.Release();
    reader->textMode = textMode;
    reader->blockSize = blockSize;
    return static_cast<HTEXTFILE>(block.Release());
}

BOOL WINAPI FileClose(HTEXTFILE reader) {
    if (!reader) return FALSE;
    OwnedGlobal block(static_cast<HGLOBAL>(reader));
    return CloseHandle(reader->file);
}

int WINAPI FileGetString(LPSTR out, int count, HTEXTFILE r) {
    if (!r) {
        out[0] = '\0';
        return 1;
    }
    DWORD limit = count < 0 ? 0 : static_cast<DWORD>(count);
    DWORD stored = 0;
    const char stop = r->textMode ? '\r' : '\n';
    while (stored < limit) {
        if (r->pos >= r->count && !Fill(r)) break;
        const char* p = r->buffer + r->pos;
        DWORD avail = r->count - r->pos;
        DWORD want = limit - stored < avail ? limit - stored : avail;
        const char* hit = bytescan::FindByte(p, want, stop);
        if (!hit) {
            memcpy(out + stored, p, want);
            stored += want;
            r->pos += want;
            continue;
        }
        DWORD take = static_cast<DWORD>(hit - p);
        if (!r->textMode) ++take;  // binary mode keeps the LF
        memcpy(out + stored, p, take);
        stored += take;
        r->pos += static_cast<DWORD>(hit - p) + 1;
        // Text mode: an LF right after the CR belongs to the line end, even across a block boundary.
        if (r->textMode && (r->pos < r->count || Fill(r)) && r->buffer[r->pos] == '\n') ++r->pos;
        break;
    }
    out[stored] = '\0';
    return 1;
}

int WINAPI FileGetChar(HTEXTFILE reader) {
    char c[2];
    FileGetString(c, 1, reader);
    return static_cast<unsigned char>(c[0]);
}

// A null reader reads as failed, so that a caller's loop stops at its error check.
int WINAPI FileEof(HTEXTFILE reader) { return reader && reader->end && reader->error == 0 ? 1 : 0; }

int WINAPI FileError(HTEXTFILE reader) {
    if (!reader) return kReadFailed;
    return reader->end ? reader->error : 0;
}

DWORD WINAPI GetFileNameSize(LPCSTR fileName) {
    OwnedFile file(CreateFileA(fileName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
    DWORD size = GetFileSize(file.Get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

int WINAPI CheckFile(LPCSTR name) { return fileops::Exists(name) ? 1 : 0; }

int WINAPI CheckDirectory(LPCSTR path) { return fileops::IsFolder(path) ? 1 : 0; }

BOOL WINAPI CreateClassDirectory(LPCSTR path) { return fileops::CreateFolders(path) ? TRUE : FALSE; }

}  // extern "C"
