// Small helpers shared by the test programs: paths of the build, the program's registry key,
// temporary folders and files.
#include "test_env.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace testing_support {
namespace {
std::string ProgramKey(const char* subKey) { return std::string("Software\\Brisnel\\Kelvora\\") + subKey; }
}  // namespace

std::string EnvPath(const char* variable) {
    std::string path = std::getenv(variable) ? std::getenv(variable) : "";
    if (path.empty() || path[0] != '/') return path;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

void DeleteProgramSettings() { SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brisnel\\Kelvora"); }

bool ReadProgramValue(const char* subKey, const char* name, DWORD* type, std::string* data) {
    char buffer[4096];
    DWORD size = sizeof buffer;
    if (SHGetValueA(HKEY_CURRENT_USER, ProgramKey(subKey).c_str(), name, type, buffer, &size)) return false;
    data->assign(buffer, size);
    return true;
}

void WriteProgramValue(const char* subKey, const char* name, DWORD type, const void* data, DWORD size) {
    SHSetValueA(HKEY_CURRENT_USER, ProgramKey(subKey).c_str(), name, type, data, size);
}

DWORD ProgramDword(const char* subKey, const char* name) {
    DWORD type = 0;
    std::string data;
    if (!ReadProgramValue(subKey, name, &type, &data) || data.size() != sizeof(DWORD)) return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(data.data());
}

void WriteProgramDword(const char* subKey, const char* name, DWORD value) {
    WriteProgramValue(subKey, name, REG_DWORD, &value, sizeof value);
}

std::string ProgramText(const char* subKey, const char* name) {
    DWORD type = 0;
    std::string data;
    return ReadProgramValue(subKey, name, &type, &data) ? data.c_str() : "<missing>";
}

void WriteProgramText(const char* subKey, const char* name, const std::string& text) {
    WriteProgramValue(subKey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

TempFolder::TempFolder() {
    static unsigned counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    path_ = temp + ("kvtest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\");
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string Repeat(const std::string& text, int count) {
    std::string result;
    while (count-- > 0) result += text;
    return result;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WaitUntil(const std::function<bool()>& done, UINT dispatch, DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); !done(); Sleep(5)) {
        if (GetTickCount() - start > milliseconds) return false;
        MSG msg;
        while (dispatch && PeekMessageA(&msg, nullptr, 0, 0, dispatch)) DispatchMessageA(&msg);
    }
    return true;
}

std::string ReadFileOnceItHasLines(const std::string& path, size_t lines) {
    std::string text;
    const auto hasLines = [&] {
        text = ReadFileBytes(path);
        return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) >= lines;
    };
    WaitUntil(hasLines, 0, 5000);
    return text;
}

}  // namespace testing_support
