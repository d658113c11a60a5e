// Whether a file or folder is there, and making a folder with every level above it.
#pragma once

namespace fileops {

// True when a file or folder matches the name, which may hold wildcards.
bool Exists(const char* name);
// True when the folder exists and can be made the current folder. The current folder of the
// process changes for a moment, so no other thread may depend on it meanwhile.
bool IsFolder(const char* path);
// Creates every missing level of a folder path of at most 259 bytes. True when this call created
// the last level; false when it existed or could not be created, or the path is too long.
bool CreateFolders(const char* path);

}  // namespace fileops
