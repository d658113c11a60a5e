// The installer Kelvora-<version>-setup.exe and its uninstaller, run in the test session's prefix as a
// user runs them: files, shortcut and uninstall entry in place, the installed program repairing the
// entry at start-up, the user's data kept by the uninstaller, and no change while Kelvora runs.
// Every wait is bounded, so that a hanging installer fails the test within seconds.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "resources/resource_ids.h"
#include "test_env.h"

using namespace testing_support;

namespace {

constexpr DWORD kSetupMs = 30000;   // a silent installation takes about 2 s under Wine
constexpr DWORD kWindowMs = 15000;  // until a started program shows its window
constexpr DWORD kStillRunning = STILL_ACTIVE;

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    for (DWORD waited = 0; !done(); waited += 50) {
        if (waited >= ms) return false;
        Sleep(50);
    }
    return true;
}

class Process {
public:
    explicit Process(std::string commandLine) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
    }
    ~Process() {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    DWORD Id() const { return info_.dwProcessId; }
    // The exit code, or kStillRunning when the process has not ended within ms.
    DWORD Wait(DWORD ms) const {
        DWORD code = kStillRunning;
        if (info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0)
            GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_ = {};
};

DWORD RunToEnd(const std::string& commandLine) { return Process(commandLine).Wait(kSetupMs); }

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND w, LPARAM p) {
    auto* search = reinterpret_cast<WindowSearch*>(p);
    DWORD owner = 0;
    char name[64] = "";
    GetWindowThreadProcessId(w, &owner);
    GetClassNameA(w, name, sizeof name);
    if (owner != search->processId || lstrcmpA(name, search->className) != 0) return TRUE;
    search->found = w;
    return FALSE;
}

// The top-level window of a class that a process shows, or null.
HWND WindowOf(DWORD processId, const char* className) {
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const Process& process, const char* className) {
    HWND w = nullptr;
    WaitUntil([&] { return (w = WindowOf(process.Id(), className)) != nullptr; }, kWindowMs);
    return w;
}

std::string Folder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Values of the uninstall entry by name: texts as they are, numbers as "dword:<n>".
using Entry = std::map<std::string, std::string>;

class InstallerTest : public testing::Test {
protected:
    void SetUp() override {
        setup_ = EnvPath("KELVORA_SETUP");
        ASSERT_FALSE(setup_.empty()) << "KELVORA_SETUP is not set";
        char code[64] = "";
        ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_PRODUCTCODE, code, sizeof code), 0);
        entryKey_ = std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + code;
        folder_ = Folder(CSIDL_PROGRAM_FILES) + "\\Brisnel\\Kelvora";
        shortcut_ = Folder(CSIDL_COMMON_PROGRAMS) + "\\Kelvora.lnk";
        // Wine turns a Start-menu shortcut into a desktop entry in the Linux home folder; the
        // shortcuts of these tests stay inside the prefix.
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(key, "winemenubuilder.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            RegCloseKey(key);
        }
        RemoveInstallation(folder_);
        DeleteProgramSettings();  // a first start without a list shows no message box
    }
    void TearDown() override {
        RemoveInstallation(folder_);
        DeleteProgramSettings();
    }

    // Takes away what an installation leaves, without its uninstaller.
    void RemoveInstallation(const std::string& folder) {
        for (const char* name : {"Kelvora.exe", "Kelvora.chm", "Uninstall.exe"})
            DeleteFileA((folder + "\\" + name).c_str());
        RemoveDirectoryA(folder.c_str());
        RemoveDirectoryA(folder.substr(0, folder.rfind('\\')).c_str());
        DeleteFileA(shortcut_.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, entryKey_.c_str());
    }

    std::string Setup(const std::string& arguments) const { return "\"" + setup_ + "\" " + arguments; }

    Entry ReadEntry() const {
        Entry entry;
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, entryKey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return entry;
        for (DWORD i = 0;; ++i) {
            char name[256];
            BYTE data[1024];
            DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
            if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
            if (type == REG_DWORD && dataSize == 4) {
                entry[name] = "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
            } else {
                entry[name] = std::string(reinterpret_cast<char*>(data), dataSize > 0 ? dataSize - 1 : 0);
            }
        }
        RegCloseKey(key);
        return entry;
    }

    void SetDisplayIcon(const char* text) const {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, entryKey_.c_str(), 0, KEY_SET_VALUE, &key));
        RegSetValueExA(key, "DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
        RegCloseKey(key);
    }

    std::string setup_;
    std::string entryKey_;
    std::string folder_;
    std::string shortcut_;
};

// A text of the installed program's version record.
std::string VersionText(const std::string& exe, const char* name) {
    DWORD handle = 0;
    std::string block(GetFileVersionInfoSizeA(exe.c_str(), &handle), '\0');
    char* text = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\041103A4\\") + name;
    if (block.empty() || !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(block.size()), &block[0]) ||
        !VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
        return std::string();
    return text;
}

std::string ShortcutTarget(const std::string& link) {
    std::string target;
    CoInitialize(nullptr);
    IShellLinkA* shell = nullptr;
    IPersistFile* file = nullptr;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shell))) &&
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide, STGM_READ))) {
        char path[MAX_PATH] = "";
        if (SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0))) target = path;
    }
    if (file) file->Release();
    if (shell) shell->Release();
    CoUninitialize();
    return target;
}

TEST_F(InstallerTest, SilentInstallPutsFilesShortcutAndEveryEntryValueInPlace) {
    ASSERT_EQ(0u, RunToEnd(Setup("/S")));

    const std::string exe = folder_ + "\\Kelvora.exe";
    const std::string built = EnvPath("KELVORA_EXE");
    const std::string builtFolder = built.substr(0, built.rfind('\\') + 1);
    EXPECT_EQ(ReadFileBytes(built), ReadFileBytes(exe));
    EXPECT_EQ(ReadFileBytes(builtFolder + "Kelvora.chm"), ReadFileBytes(folder_ + "\\Kelvora.chm"));
    EXPECT_EQ(exe, ShortcutTarget(shortcut_));

    Entry entry = ReadEntry();
    const std::string uninstaller = "\"" + folder_ + "\\Uninstall.exe\"";
    EXPECT_TRUE(Exists(folder_ + "\\Uninstall.exe"));
    EXPECT_EQ("Kelvora", entry["DisplayName"]);
    EXPECT_EQ(VersionText(exe, "ProductVersion"), entry["DisplayVersion"]);
    EXPECT_EQ(VersionText(exe, "CompanyName"), entry["Publisher"]);
    EXPECT_EQ(exe, entry["DisplayIcon"]);
    EXPECT_EQ(folder_, entry["InstallLocation"]);
    EXPECT_EQ(uninstaller, entry["UninstallString"]);
    EXPECT_EQ(uninstaller + " /S", entry["QuietUninstallString"]);
    EXPECT_EQ("dword:1", entry["NoModify"]);
    EXPECT_EQ("dword:1", entry["NoRepair"]);
    const double kilobytes = (ReadFileBytes(exe).size() + ReadFileBytes(folder_ + "\\Kelvora.chm").size() +
                              ReadFileBytes(folder_ + "\\Uninstall.exe").size()) / 1024.0;
    ASSERT_EQ(0u, entry["EstimatedSize"].rfind("dword:", 0));
    EXPECT_NEAR(kilobytes, std::stod(entry["EstimatedSize"].substr(6)), 1.0);
}

TEST_F(InstallerTest, InstalledProgramFillsInTheEmptiedDisplayIconAtStartUp) {
    ASSERT_EQ(0u, RunToEnd(Setup("/S")));
    SetDisplayIcon("");

    const std::string exe = ShortcutTarget(shortcut_);
    ASSERT_EQ(folder_ + "\\Kelvora.exe", exe);
    Process kelvora("\"" + exe + "\"");
    HWND window = WaitForWindow(kelvora, "Kelvora");
    ASSERT_NE(nullptr, window) << "the installed Kelvora opened no window";
    EXPECT_EQ(exe, ReadEntry()["DisplayIcon"]);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, kelvora.Wait(kWindowMs));
}

TEST_F(InstallerTest, SilentUninstallRemovesProgramShortcutAndEntryAndKeepsTheUsersData) {
    // Installed into a chosen folder, with a blank in its name as in the default one.
    TempFolder temp;
    const std::string chosen = temp.Path() + "My Tools\\Kelvora";
    ASSERT_EQ(0u, RunToEnd(Setup("/S /D=" + chosen)));
    ASSERT_TRUE(Exists(chosen + "\\Kelvora.exe"));
    EXPECT_FALSE(Exists(folder_));
    Entry entry = ReadEntry();
    EXPECT_EQ(chosen, entry["InstallLocation"]);

    const std::string data = Folder(CSIDL_LOCAL_APPDATA) + "\\Brisnel\\Kelvora\\";
    const std::string list = data + "Kelvora.dat";
    const std::string listBytes = "C:\\logs\\app.log,C:\\tools\\viewer.exe,app,0,0\r\n";
    SHCreateDirectoryExA(nullptr, data.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(list, listBytes));
    WriteProgramValue("Main", "Index", REG_SZ, list.c_str(), static_cast<DWORD>(list.size() + 1));

    // The uninstaller hands its work to a copy of itself and ends at once.
    ASSERT_EQ(0u, RunToEnd(entry["QuietUninstallString"]));
    EXPECT_TRUE(WaitUntil([&] { return !Exists(chosen) && ReadEntry().empty(); }, kSetupMs))
        << "the program folder or the uninstall entry is still there";
    EXPECT_FALSE(Exists(shortcut_));
    EXPECT_TRUE(Exists(temp.Path() + "My Tools"));  // not a folder of the installation

    EXPECT_EQ(listBytes, ReadFileBytes(list));
    DWORD type = 0;
    std::string index;
    ASSERT_TRUE(ReadProgramValue("Main", "Index", &type, &index));
    EXPECT_STREQ(list.c_str(), index.c_str());
    DeleteFileA(list.c_str());
}

// File names, sizes and times of the installation, its shortcut and its uninstall entry.
std::map<std::string, std::string> Snapshot(const std::string& folder, const std::string& shortcut,
                                            const Entry& entry) {
    std::map<std::string, std::string> state(entry.begin(), entry.end());
    for (const std::string& pattern : {folder + "\\*", shortcut}) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // "." and ".."
            state[std::string("file:") + found.cFileName] =
                std::to_string(found.nFileSizeLow) + "/" + std::to_string(found.ftLastWriteTime.dwLowDateTime) +
                "/" + std::to_string(found.ftLastWriteTime.dwHighDateTime);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return state;
}

TEST_F(InstallerTest, InstallWhileKelvoraRunsIsRefusedAndChangesNothing) {
    ASSERT_EQ(0u, RunToEnd(Setup("/S")));
    Process kelvora("\"" + folder_ + "\\Kelvora.exe\"");
    HWND window = WaitForWindow(kelvora, "Kelvora");
    ASSERT_NE(nullptr, window);
    const auto before = Snapshot(folder_, shortcut_, ReadEntry());

    // With its window the installer says why, in Japanese, and ends without installing.
    Process shown(Setup(""));
    HWND box = WaitForWindow(shown, "#32770");
    ASSERT_NE(nullptr, box) << "the installer showed no message";
    char text[512] = "";
    // The box exists before its text does.
    WaitUntil([&] { return GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0; }, kWindowMs);
    EXPECT_NE(nullptr, strstr(text, "Kelvora")) << text;
    EXPECT_EQ(nullptr, strchr(text, '?')) << "characters lost on the way to code page 932: " << text;
    const int wide = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    EXPECT_TRUE(wide > 0 && wide < lstrlenA(text) + 1) << "no Japanese text";
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(2u, shown.Wait(kWindowMs));

    // Silent, into another folder: refused too, and that folder is not made.
    TempFolder temp;
    EXPECT_EQ(2u, RunToEnd(Setup("/S /D=" + temp.Path() + "Kelvora")));
    EXPECT_FALSE(Exists(temp.Path() + "Kelvora"));

    EXPECT_EQ(before, Snapshot(folder_, shortcut_, ReadEntry()));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, kelvora.Wait(kWindowMs));
}

}  // namespace
