#include "dragdrop/drag_file_list.h"

#include <shlobj.h>

#include <cstdint>
#include <cstring>

#include "lib/core/byte_text.h"
#include "lib/core/owned.h"

namespace {

constexpr size_t kMaxPathLength = kDragFileSlot - 1;

// The longest start of a slot that fits 259 bytes; never looks past the slot.
size_t SlotPathLength(const char* slot) { return bytetext::FitLength(slot, kMaxPathLength); }

}  // namespace

void AppendDragFile(DragFileList* list, const char* path) {
    char* slot = DragFileSlot(list, static_cast<size_t>(list->count));
    bytetext::CopyFit(slot, path, kMaxPathLength);
    ++list->count;
}

HGLOBAL BuildHDrop(const DragFileList* list) {
    if (!list || list->count <= 0) return nullptr;
    const size_t count = static_cast<size_t>(list->count);
    // Sized for exactly these names, so the closing NUL always lies inside the block.
    size_t size = sizeof(DROPFILES) + 1;
    for (size_t i = 0; i < count; ++i) {
        size_t length = SlotPathLength(DragFileSlot(list, i)) + 1;
        if (size > SIZE_MAX - length) return nullptr;
        size += length;
    }
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size));
    if (!block) return nullptr;
    {
        GlobalLockGuard<BYTE> bytes(block.Get());
        if (!bytes) return nullptr;
        DROPFILES header = {};
        header.pFiles = sizeof(DROPFILES);
        header.fNC = TRUE;
        header.fWide = FALSE;
        memcpy(bytes.Get(), &header, sizeof header);
        char* names = reinterpret_cast<char*>(bytes.Get() + sizeof(DROPFILES));
        for (size_t i = 0; i < count; ++i) {
            const char* slot = DragFileSlot(list, i);
            size_t length = SlotPathLength(slot);
            memcpy(names, slot, length);
            names[length] = '\0';
            names += length + 1;
        }
        *names = '\0';
    }
    return block.Release();
}
