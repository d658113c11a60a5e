// Keys of the system's registry that the program and the exported helpers both touch.
#pragma once
#include <windows.h>

namespace regkeys {

// Below HKEY_LOCAL_MACHINE: one sub-key per installed program, named by its entry.
constexpr char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Deletes the sub-key name of root\parent (one without sub-keys of its own). The result of
// opening parent; whether name was there and went is not told.
LONG DeleteSubKey(HKEY root, const char* parent, const char* name);

}  // namespace regkeys
