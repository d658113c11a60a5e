// The list of paths handed to DragDropStart and HDropClipCopy, and the CF_HDROP block built from it.
#pragma once
#include <windows.h>

#include <cstddef>

// A caller-owned block: a 32-bit count followed by count slots of kDragFileSlot bytes, each holding
// a NUL-terminated path. Only the header is declared; the slots follow it in the same block.
struct DragFileList {
    INT32 count;
};

constexpr size_t kDragFileSlot = MAX_PATH;

// Bytes a list with room for slots paths takes.
constexpr size_t DragFileListSize(size_t slots) { return sizeof(INT32) + slots * kDragFileSlot; }

inline char* DragFileSlot(DragFileList* list, size_t index) {
    return reinterpret_cast<char*>(list) + sizeof(INT32) + index * kDragFileSlot;
}
inline const char* DragFileSlot(const DragFileList* list, size_t index) {
    return reinterpret_cast<const char*>(list) + sizeof(INT32) + index * kDragFileSlot;
}

// Stores path (cut to 259 bytes at a character boundary) in slot count and counts it. The block
// must have room for one more slot.
void AppendDragFile(DragFileList* list, const char* path);

// The CF_HDROP block for the listed paths: a DROPFILES header (pFiles 20, point 0, fNC 1, fWide 0)
// followed by each path with its NUL and a closing NUL, in a movable, shareable global block.
// Each slot is read only within its 260 bytes; a path without a NUL there, or longer than 259
// bytes, is cut to 259 bytes at a character boundary. Null for an empty list or when memory fails.
HGLOBAL BuildHDrop(const DragFileList* list);
