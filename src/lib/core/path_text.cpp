#include "lib/core/path_text.h"

#include "lib/core/byte_text.h"

namespace pathtext {

size_t FolderOf(const char* path, char* out) {
    ptrdiff_t last = bytetext::LastOf(path, '\\', '\\');
    size_t len = last < 0 ? 0 : bytetext::FitLength(path, PathCap(static_cast<size_t>(last) + 1));
    return bytetext::CopyPrefix(out, path, len);
}

size_t FileNameOf(const char* path, char* out) {
    ptrdiff_t last = bytetext::LastOf(path, '\\', ':');
    return bytetext::CopyFit(out, path + last + 1, bytetext::kPathBytes - 1);
}

}  // namespace pathtext
