// Small helpers shared by the test programs: paths of the build, the program's registry key,
// temporary folders and files.
#include "test_env.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>

namespace testing_support {

std::string UnixToWindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out) {
        if (c == '/') c = '\\';
    }
    return out;
}

std::string EnvPath(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? UnixToWindowsPath(value) : std::string();
}

void DeleteProgramSettings() { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brisnel\\Kelvora"); }

bool ReadProgramValue(const char* subKey, const char* name, DWORD* type, std::string* data) {
    std::string path = std::string("Software\\Brisnel\\Kelvora\\") + subKey;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[4096];
    DWORD size = sizeof buffer;
    LONG result = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return false;
    data->assign(buffer, size);
    return true;
}

void WriteProgramValue(const char* subKey, const char* name, DWORD type, const void* data, DWORD size) {
    std::string path = std::string("Software\\Brisnel\\Kelvora\\") + subKey;
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

DWORD ProgramDword(const char* subKey, const char* name) {
    DWORD type = 0;
    std::string data;
    if (!ReadProgramValue(subKey, name, &type, &data) || data.size() != sizeof(DWORD)) return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(data.data());
}

std::string ProgramText(const char* subKey, const char* name) {
    DWORD type = 0;
    std::string data;
    return ReadProgramValue(subKey, name, &type, &data) ? data.c_str() : "<missing>";
}

void WriteProgramDword(const char* subKey, const char* name, DWORD value) {
    WriteProgramValue(subKey, name, REG_DWORD, &value, sizeof value);
}

void WriteProgramText(const char* subKey, const char* name, const std::string& text) {
    WriteProgramValue(subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

TempFolder::TempFolder() {
    static unsigned counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%skvtest-%lu-%u\\", temp, GetCurrentProcessId(), ++counter);
    path_ = name;
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    std::string from = path_.substr(0, path_.size() - 1);
    from.push_back('\0');  // the list of names ends with a double NUL
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
    CloseHandle(file);
    return out;
}

}  // namespace testing_support
