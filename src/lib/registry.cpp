#include "lib/registry.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "lib/core/byte_text.h"
#include "lib/core/owned.h"
#include "lib/core/path_text.h"
#include "lib/core/registry_keys.h"

namespace {

const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char kSharedDlls[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr LONG kEmptyArgument = 1;

bool Missing(const char* s) { return !s || !s[0]; }

// A key path built from a format; false when it does not fit.
class KeyPath {
public:
    bool Format(const char* format, ...) {
        va_list args;
        va_start(args, format);
        int n = vsnprintf(text_, sizeof text_, format, args);
        va_end(args);
        return n >= 0 && static_cast<size_t>(n) < sizeof text_;
    }
    const char* Get() const { return text_; }

private:
    char text_[1024];
};

LONG Create(HKEY root, const char* path, OwnedKey& key) {
    return RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.Put(),
                           nullptr);
}

LONG Open(HKEY root, const char* path, REGSAM access, OwnedKey& key) {
    return RegOpenKeyExA(root, path, 0, access, key.Put());
}

// Strings are stored with their NUL, so that readers that trust the stored length get a terminated string.
LONG SetString(HKEY key, const char* name, const char* text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(strlen(text) + 1));
}

// Reads a string value into a 260-byte buffer, always terminated; empty when it cannot be read.
LONG GetString(HKEY key, const char* name, char* out) {
    DWORD type = 0;
    DWORD size = MAX_PATH - 1;
    LONG result = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &size);
    if (result == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) result = ERROR_UNSUPPORTED_TYPE;
    if (result != ERROR_SUCCESS) size = 0;
    out[size] = '\0';
    return result;
}

LONG ReadStringValue(HKEY root, const char* path, const char* name, char* out) {
    out[0] = '\0';
    OwnedKey key;
    LONG result = Open(root, path, KEY_READ, key);
    if (result != ERROR_SUCCESS) return result;
    return GetString(key.Get(), name, out);
}

// The stored count of a shared file; false when there is none.
bool ReadCount(HKEY key, const char* path, DWORD* count, LONG* result) {
    DWORD type = 0;
    DWORD size = sizeof *count;
    *result = RegQueryValueExA(key, path, nullptr, &type, reinterpret_cast<BYTE*>(count), &size);
    if (*result == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof *count)) *result = ERROR_UNSUPPORTED_TYPE;
    return *result == ERROR_SUCCESS;
}

LONG WriteCount(HKEY key, const char* path, DWORD count) {
    return RegSetValueExA(key, path, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
}

}  // namespace

extern "C" {

LONG WINAPI CreateAppPath(LPCSTR fileName, LPCSTR fullPath) {
    if (Missing(fileName) || !fullPath) return kEmptyArgument;
    KeyPath path;
    if (!path.Format("%s\\%s", kAppPaths, fileName)) return ERROR_BUFFER_OVERFLOW;
    OwnedKey key;
    LONG result = Create(HKEY_LOCAL_MACHINE, path.Get(), key);
    if (result != ERROR_SUCCESS) return result;
    char folder[MAX_PATH];
    pathtext::FolderOf(fullPath, folder);
    SetString(key.Get(), nullptr, fullPath);
    SetString(key.Get(), "Path", folder);
    return ERROR_SUCCESS;
}

LONG WINAPI GetRegistAppPath(LPCSTR fileName, LPSTR out) {
    out[0] = '\0';
    if (Missing(fileName)) return kEmptyArgument;
    KeyPath path;
    if (!path.Format("%s\\%s", kAppPaths, fileName)) return ERROR_BUFFER_OVERFLOW;
    return ReadStringValue(HKEY_LOCAL_MACHINE, path.Get(), "Path", out);
}

LONG WINAPI DeleteAppPath(LPCSTR fileName) {
    if (Missing(fileName)) return kEmptyArgument;
    return regkeys::DeleteSubKey(HKEY_LOCAL_MACHINE, kAppPaths, fileName);
}

LONG WINAPI CreateLocalMachineReg(LPCSTR first, LPCSTR second, LPCSTR third) {
    if (Missing(first) || Missing(second) || Missing(third)) return kEmptyArgument;
    KeyPath path;
    if (!path.Format("SOFTWARE\\%s\\%s\\%s", first, second, third)) return ERROR_BUFFER_OVERFLOW;
    OwnedKey key;
    return Create(HKEY_LOCAL_MACHINE, path.Get(), key);
}

LONG WINAPI DeleteLocalMachineReg(LPCSTR first, LPCSTR second, LPCSTR third) {
    if (Missing(first) || Missing(second) || Missing(third)) return kEmptyArgument;
    KeyPath path;
    if (!path.Format("SOFTWARE\\%s\\%s", first, second)) return ERROR_BUFFER_OVERFLOW;
    regkeys::DeleteSubKey(HKEY_LOCAL_MACHINE, path.Get(), third);
    if (!path.Format("SOFTWARE\\%s", first)) return ERROR_BUFFER_OVERFLOW;
    OwnedKey key;
    LONG result = Open(HKEY_LOCAL_MACHINE, path.Get(), KEY_ALL_ACCESS, key);
    if (result != ERROR_SUCCESS) return result;
    return RegDeleteKeyA(key.Get(), second);
}

LONG WINAPI CreateUninstallReg(LPCSTR entry, LPCSTR displayName, LPCSTR uninstallString) {
    if (Missing(entry) || !displayName || !uninstallString) return kEmptyArgument;
    KeyPath path;
    if (!path.Format("%s\\%s", regkeys::kUninstall, entry)) return ERROR_BUFFER_OVERFLOW;
    OwnedKey key;
    LONG result = Create(HKEY_LOCAL_MACHINE, path.Get(), key);
    if (result != ERROR_SUCCESS) return result;
    SetString(key.Get(), "DisplayName", displayName);
    SetString(key.Get(), "UninstallString", uninstallString);
    return ERROR_SUCCESS;
}

LONG WINAPI DeleteUninstallReg(LPCSTR entry) {
    if (Missing(entry)) return kEmptyArgument;
    return regkeys::DeleteSubKey(HKEY_LOCAL_MACHINE, regkeys::kUninstall, entry);
}

LONG WINAPI GetStartMenu(LPSTR out) { return ReadStringValue(HKEY_CURRENT_USER, kShellFolders, "Programs", out); }

LONG WINAPI GetProgramFiles(LPSTR out) {
    return ReadStringValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", out);
}

LONG WINAPI GetSendToFolder(LPSTR out) { return ReadStringValue(HKEY_CURRENT_USER, kShellFolders, "SendTo", out); }

LONG WINAPI CountUpSharedDLLs(LPCSTR filePath) {
    if (Missing(filePath)) return kEmptyArgument;
    OwnedKey key;
    LONG result = Create(HKEY_LOCAL_MACHINE, kSharedDlls, key);
    if (result != ERROR_SUCCESS) return result;
    DWORD count = 0;
    LONG readResult;
    if (!ReadCount(key.Get(), filePath, &count, &readResult)) count = 0;
    if (count != MAXDWORD) ++count;  // a count that cannot grow stays at its maximum rather than wrap to 0
    return WriteCount(key.Get(), filePath, count);
}

LONG WINAPI CountDownSharedDLLs(LPCSTR filePath) {
    if (Missing(filePath)) return kEmptyArgument;
    OwnedKey key;
    LONG result = Open(HKEY_LOCAL_MACHINE, kSharedDlls, KEY_ALL_ACCESS, key);
    if (result != ERROR_SUCCESS) return result;
    DWORD count = 0;
    if (!ReadCount(key.Get(), filePath, &count, &result)) return result;
    // A stored 0 is taken as the last reference; subtracting would wrap to 4294967295.
    if (count <= 1) return RegDeleteValueA(key.Get(), filePath);
    WriteCount(key.Get(), filePath, count - 1);
    return ERROR_SUCCESS;
}

DWORD WINAPI GetCountSharedDLLs(LPCSTR filePath) {
    if (Missing(filePath)) return 0;
    OwnedKey key;
    if (Open(HKEY_LOCAL_MACHINE, kSharedDlls, KEY_READ, key) != ERROR_SUCCESS) return 0;
    DWORD count = 0;
    LONG result;
    return ReadCount(key.Get(), filePath, &count, &result) ? count : 0;
}

LONG WINAPI DeleteValueSharedDLLs(LPCSTR filePath) {
    if (Missing(filePath)) return kEmptyArgument;
    OwnedKey key;
    LONG result = Open(HKEY_LOCAL_MACHINE, kSharedDlls, KEY_ALL_ACCESS, key);
    if (result != ERROR_SUCCESS) return result;
    return RegDeleteValueA(key.Get(), filePath);
}

LONG WINAPI RegistExt(LPCSTR ext, LPCSTR className, LPCSTR iconFile, int iconIndex) {
    if (Missing(ext) || Missing(className) || !iconFile) return kEmptyArgument;
    {
        OwnedKey key;
        if (Create(HKEY_CLASSES_ROOT, ext, key) == ERROR_SUCCESS) SetString(key.Get(), nullptr, className);
    }
    OwnedKey classKey;
    LONG result = Create(HKEY_CLASSES_ROOT, className, classKey);
    if (result != ERROR_SUCCESS) return result;
    OwnedKey iconKey;
    result = Create(classKey.Get(), "DefaultIcon", iconKey);
    if (result != ERROR_SUCCESS) return result;
    KeyPath icon;
    if (!icon.Format("%s,%d", iconFile, iconIndex)) return ERROR_BUFFER_OVERFLOW;
    SetString(iconKey.Get(), nullptr, icon.Get());
    return ERROR_SUCCESS;
}

LONG WINAPI RegistExtAction(LPCSTR className, LPCSTR verb, LPCSTR subKey, LPCSTR command) {
    if (Missing(className) || Missing(verb) || Missing(subKey) || !command) return kEmptyArgument;
    KeyPath path;
    if (!path.Format("%s\\shell\\%s\\%s", className, verb, subKey)) return ERROR_BUFFER_OVERFLOW;
    OwnedKey key;
    LONG result = Create(HKEY_CLASSES_ROOT, path.Get(), key);
    if (result != ERROR_SUCCESS) return result;
    SetString(key.Get(), nullptr, command);
    return ERROR_SUCCESS;
}

LONG WINAPI UnRegistExt(LPCSTR ext, LPCSTR className) {
    if (Missing(ext) || Missing(className)) return kEmptyArgument;
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ext);
    return RegDeleteKeyA(HKEY_CLASSES_ROOT, className);
}

void WINAPI GetRegistClassName(LPCSTR keyPath, LPSTR className) {
    ptrdiff_t slash = bytetext::FirstOf(keyPath, '\\');
    size_t len = slash < 0 ? strlen(keyPath) : static_cast<size_t>(slash);
    bytetext::CopyPrefix(className, keyPath, bytetext::FitLength(keyPath, len < MAX_PATH ? len : MAX_PATH - 1));
}

LONG WINAPI RegistShellKey(LPCSTR ext, LPCSTR description, LPCSTR commandKey, LPCSTR command) {
    if (Missing(ext) || !description || Missing(commandKey) || !command) return kEmptyArgument;
    char className[MAX_PATH];
    GetRegistClassName(commandKey, className);
    KeyPath extKey;
    if (!extKey.Format(".%s", ext)) return ERROR_BUFFER_OVERFLOW;
    {
        OwnedKey key;
        if (Create(HKEY_CLASSES_ROOT, extKey.Get(), key) == ERROR_SUCCESS) SetString(key.Get(), nullptr, className);
    }
    {
        OwnedKey key;
        if (Create(HKEY_CLASSES_ROOT, className, key) == ERROR_SUCCESS) SetString(key.Get(), nullptr, description);
    }
    OwnedKey key;
    LONG result = Create(HKEY_CLASSES_ROOT, commandKey, key);
    if (result != ERROR_SUCCESS) return result;
    SetString(key.Get(), nullptr, command);
    return ERROR_SUCCESS;
}

LONG WINAPI UnregistShellKey(LPCSTR ext, LPCSTR commandKey) {
    if (Missing(ext) || Missing(commandKey)) return kEmptyArgument;
    KeyPath extKey;
    if (!extKey.Format(".%s", ext)) return ERROR_BUFFER_OVERFLOW;
    char className[MAX_PATH];
    GetRegistClassName(commandKey, className);
    // The keys are deleted right below the root; a sub-key named "\" would not name the root.
    RegDeleteKeyA(HKEY_CLASSES_ROOT, extKey.Get());
    if (className[0]) RegDeleteKeyA(HKEY_CLASSES_ROOT, className);
    return ERROR_SUCCESS;
}

}  // extern "C"
