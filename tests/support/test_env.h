// Small helpers shared by the test programs: paths of the build, the program's registry key,
// temporary folders and files.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// A Linux path from the environment (KELVORA_EXE, KELVORA_SOURCE_DIR, ...) as Wine sees it.
std::string EnvPath(const char* variable);

// Removes HKEY_CURRENT_USER\Software\Brisnel\Kelvora with everything below it.
void DeleteProgramSettings();
// Reads a value of HKEY_CURRENT_USER\Software\Brisnel\Kelvora\<subKey>; false when it is missing.
bool ReadProgramValue(const char* subKey, const char* name, DWORD* type, std::string* data);
void WriteProgramValue(const char* subKey, const char* name, DWORD type, const void* data, DWORD size);
// The same for a DWORD (a missing one reads as 0xFFFFFFFF) and for a REG_SZ up to its NUL (a missing
// one reads as "<missing>").
DWORD ProgramDword(const char* subKey, const char* name);
void WriteProgramDword(const char* subKey, const char* name, DWORD value);
std::string ProgramText(const char* subKey, const char* name);
void WriteProgramText(const char* subKey, const char* name, const std::string& text);

// A fresh, empty folder under the temporary folder, removed with its files at destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }  // ends in a backslash
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// text written count times over.
std::string Repeat(const std::string& text, int count);

bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// Checks done every few milliseconds until it holds, between the checks dispatching this thread's
// messages that PeekMessage with the flags dispatch (PM_REMOVE at least) takes, if any; false when done
// did not hold within milliseconds.
bool WaitUntil(const std::function<bool()>& done, UINT dispatch = 0, DWORD milliseconds = 3000);
// The file's bytes once it has lines lines, or after five seconds (another process writes it).
std::string ReadFileOnceItHasLines(const std::string& path, size_t lines);

}  // namespace testing_support
