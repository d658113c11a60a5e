#include "loglist/file_status.h"

FileStatus ReadFileStatus(const char* path) {
    FileStatus status;
    // Asking for the attributes opens nothing that a writer could refuse: a log that another
    // program holds open, with any share mode, still shows its date and size.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return status;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return status;
    FILETIME local;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local)) status.time = local;
    status.size = data.nFileSizeLow;
    return status;
}
