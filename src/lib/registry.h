// Exported registry helpers: App Paths, uninstall entries, shared DLL counts and file types.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Results are registry error codes (0 = ERROR_SUCCESS), or 1 when a required string argument is
// null or empty. Keys are created and changed with full access; pure reads ask for read access
// only. Strings are stored as REG_SZ with their terminating NUL. Output buffers hold 260 bytes and
// are left empty when the value cannot be read. No function deletes a key that has subkeys.

// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\<fileName>: default = fullPath,
// "Path" = its folder.
LONG WINAPI CreateAppPath(LPCSTR fileName, LPCSTR fullPath);
LONG WINAPI GetRegistAppPath(LPCSTR fileName, LPSTR path);
LONG WINAPI DeleteAppPath(LPCSTR fileName);
// HKLM\SOFTWARE\<first>\<second>\<third>.
LONG WINAPI CreateLocalMachineReg(LPCSTR first, LPCSTR second, LPCSTR third);
LONG WINAPI DeleteLocalMachineReg(LPCSTR first, LPCSTR second, LPCSTR third);
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<entry>.
LONG WINAPI CreateUninstallReg(LPCSTR entry, LPCSTR displayName, LPCSTR uninstallString);
LONG WINAPI DeleteUninstallReg(LPCSTR entry);
// The user's Programs and SendTo folders and the Program Files folder.
LONG WINAPI GetStartMenu(LPSTR path);
LONG WINAPI GetProgramFiles(LPSTR path);
LONG WINAPI GetSendToFolder(LPSTR path);
// Reference counts under HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs. Counting
// down from 1 (or from a stored 0) removes the value.
LONG WINAPI CountUpSharedDLLs(LPCSTR filePath);
LONG WINAPI CountDownSharedDLLs(LPCSTR filePath);
DWORD WINAPI GetCountSharedDLLs(LPCSTR filePath);
LONG WINAPI DeleteValueSharedDLLs(LPCSTR filePath);
// File types below HKEY_CLASSES_ROOT: ext -> className, className\DefaultIcon = "icon,index".
LONG WINAPI RegistExt(LPCSTR ext, LPCSTR className, LPCSTR iconFile, int iconIndex);
// className\shell\<verb>\<subKey> = command.
LONG WINAPI RegistExtAction(LPCSTR className, LPCSTR verb, LPCSTR subKey, LPCSTR command);
// Deletes ext, then className (which fails while className has subkeys).
LONG WINAPI UnRegistExt(LPCSTR ext, LPCSTR className);
// The first component of a key path (the whole path without a backslash).
void WINAPI GetRegistClassName(LPCSTR keyPath, LPSTR className);
// "."ext -> class (the first component of commandKey), class = description, commandKey = command.
LONG WINAPI RegistShellKey(LPCSTR ext, LPCSTR description, LPCSTR commandKey, LPCSTR command);
// Deletes "."ext and the class named by commandKey's first component (only when it has no subkeys).
LONG WINAPI UnregistShellKey(LPCSTR ext, LPCSTR commandKey);

#ifdef __cplusplus
}
#endif
