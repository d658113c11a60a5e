// The parts of a path name: its folder and its file name, found by the last separator outside
// double-byte characters.
#pragma once
#include <cstddef>

namespace pathtext {

// The folder with its trailing backslash; empty when there is no backslash. out (260 bytes) may be path.
size_t FolderOf(const char* path, char* out);
// What follows the last backslash or colon; the whole path when there is none. out holds 260 bytes.
size_t FileNameOf(const char* path, char* out);
// At most the 259 bytes of text that a path buffer holds.
inline size_t PathCap(size_t len) { return len < 260 ? len : 259; }

}  // namespace pathtext
