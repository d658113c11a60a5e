// The installer Kelvora-<version>-setup.exe and its uninstaller, run as a user runs them: files,
// shortcut and uninstall entry in place, the installed program repairing the entry at start-up,
// the user's data kept by the uninstaller, and no change while Kelvora runs. Every wait is bounded.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "resources/resource_ids.h"
#include "resources/version.h"
#include "sjis.h"
#include "test_env.h"

using namespace testing_support;

namespace {

constexpr DWORD kWaitMs = 30000;  // a silent installation takes about 2 s under Wine

class Process {
public:
    explicit Process(std::string commandLine) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
    }
    ~Process() {
        if (!info_.hProcess) return;
        TerminateProcess(info_.hProcess, 1);  // one that has ended already is left as it is
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // The exit code, or STILL_ACTIVE when the process has not ended within the wait.
    DWORD Wait() const {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, kWaitMs) == WAIT_OBJECT_0) GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    // The process's top-level window of that class, waited for; null when none comes.
    HWND WindowOf(const char* className) const {
        for (DWORD waited = 0; waited < kWaitMs; waited += 50, Sleep(50)) {
            for (HWND w = FindWindowExA(nullptr, nullptr, className, nullptr); w;
                 w = FindWindowExA(nullptr, w, className, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == info_.dwProcessId) return w;
            }
        }
        return nullptr;
    }

private:
    PROCESS_INFORMATION info_ = {};
};

DWORD RunToEnd(const std::string& commandLine) { return Process(commandLine).Wait(); }

std::string Folder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ShortcutTarget(const std::string& link) {
    char path[MAX_PATH] = "";
    CoInitialize(nullptr);
    IShellLinkA* shell = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shell))) &&
        SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(std::wstring(link.begin(), link.end()).c_str(), STGM_READ))) {  // an ASCII path
        shell->GetPath(path, MAX_PATH, nullptr, 0);
    }
    if (file) file->Release();
    if (shell) shell->Release();
    CoUninitialize();
    return path;
}

class InstallerTest : public testing::Test {
protected:
    void SetUp() override {
        setup_ = "\"" + EnvPath("KELVORA_SETUP") + "\" ";
        char code[64] = "";
        ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_PRODUCTCODE, code, sizeof code), 0);
        entryKey_ = std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + code;
        folder_ = Folder(CSIDL_PROGRAM_FILES) + "\\Brisnel\\Kelvora";
        shortcut_ = Folder(CSIDL_COMMON_PROGRAMS) + "\\Kelvora.lnk";
        // Wine would turn the Start-menu shortcut into a desktop entry in the Linux home folder.
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "winemenubuilder.exe", REG_SZ, "", 1);
        TearDown();
    }
    // Takes away what an installation leaves, without its uninstaller.
    void TearDown() override {
        for (const char* name : {"Kelvora.exe", "Kelvora.chm", "Uninstall.exe"})
            DeleteFileA((folder_ + "\\" + name).c_str());
        RemoveDirectoryA(folder_.c_str());
        RemoveDirectoryA(folder_.substr(0, folder_.rfind('\\')).c_str());
        DeleteFileA(shortcut_.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, entryKey_.c_str());
        DeleteProgramSettings();  // a first start without a list shows no message box
    }
    // The uninstall entry's values by name: texts as they are, numbers as "dword:<n>".
    std::map<std::string, std::string> Entry() const {
        std::map<std::string, std::string> entry;
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, entryKey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return entry;
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, size = sizeof data, type = 0;
        for (DWORD i = 0; RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &size) == ERROR_SUCCESS; ++i) {
            entry[name] = type == REG_DWORD ? "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data))
                                            : std::string(reinterpret_cast<char*>(data), size ? size - 1 : 0);
            nameSize = sizeof name, size = sizeof data;
        }
        RegCloseKey(key);
        return entry;
    }
    std::string setup_, entryKey_, folder_, shortcut_;
};

TEST_F(InstallerTest, SilentInstallPutsEverythingInPlaceAndTheProgramRepairsItsEntry) {
    ASSERT_EQ(0u, RunToEnd(setup_ + "/S"));
    const std::string exe = folder_ + "\\Kelvora.exe";
    const std::string built = EnvPath("KELVORA_EXE");
    EXPECT_EQ(ReadFileBytes(built), ReadFileBytes(exe));
    EXPECT_EQ(ReadFileBytes(built.substr(0, built.rfind('\\')) + "\\Kelvora.chm"),
              ReadFileBytes(folder_ + "\\Kelvora.chm"));
    EXPECT_EQ(exe, ShortcutTarget(shortcut_));
    const std::string uninstaller = "\"" + folder_ + "\\Uninstall.exe\"";
    const double kilobytes = (ReadFileBytes(exe).size() + ReadFileBytes(folder_ + "\\Kelvora.chm").size() +
                              ReadFileBytes(folder_ + "\\Uninstall.exe").size()) /
                             1024.0;
    auto entry = Entry();
    const std::string size = entry["EstimatedSize"];
    entry.erase("EstimatedSize");
    // clang-format off
    EXPECT_EQ((std::map<std::string, std::string>{
                  {"DisplayName", "Kelvora"}, {"DisplayVersion", KELVORA_VERSION_TEXT}, {"Publisher", "Brisnel"},
                  {"DisplayIcon", exe}, {"InstallLocation", folder_}, {"UninstallString", uninstaller},
                  {"QuietUninstallString", uninstaller + " /S"}, {"NoModify", "dword:1"}, {"NoRepair", "dword:1"}}),
              entry);
    // clang-format on
    EXPECT_NEAR(kilobytes, std::stod(size.substr(std::strlen("dword:"))), 1.0) << size;

    // The installed program, started from its shortcut, fills in an emptied DisplayIcon.
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_LOCAL_MACHINE, entryKey_.c_str(), "DisplayIcon", REG_SZ, "", 1));
    Process kelvora("\"" + ShortcutTarget(shortcut_) + "\"");
    HWND window = kelvora.WindowOf("Kelvora");
    ASSERT_NE(nullptr, window) << "the installed Kelvora opened no window";
    EXPECT_EQ(exe, Entry()["DisplayIcon"]);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, kelvora.Wait());
}

TEST_F(InstallerTest, SilentUninstallRemovesProgramShortcutAndEntryAndKeepsTheUsersData) {
    TempFolder temp;  // a chosen folder, with a blank in its name as in the default one
    const std::string chosen = temp.Path() + "My Tools\\Kelvora";
    ASSERT_EQ(0u, RunToEnd(setup_ + "/S /D=" + chosen));
    ASSERT_TRUE(Exists(chosen + "\\Kelvora.exe"));
    EXPECT_FALSE(Exists(folder_));
    EXPECT_EQ(chosen, Entry()["InstallLocation"]);

    const std::string data = Folder(CSIDL_LOCAL_APPDATA) + "\\Brisnel\\Kelvora\\";
    const std::string list = data + "Kelvora.dat", listBytes = "C:\\logs\\app.log,C:\\v.exe,app,0,0\r\n";
    SHCreateDirectoryExA(nullptr, data.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(list, listBytes));
    WriteProgramText("Main", "Index", list);

    // The uninstaller hands its work to a copy of itself and ends at once.
    ASSERT_EQ(0u, RunToEnd(Entry()["QuietUninstallString"]));
    WaitUntil([&] { return !Exists(chosen) && Entry().empty(); }, 0, kWaitMs);
    EXPECT_FALSE(Exists(chosen));
    EXPECT_TRUE(Entry().empty());
    EXPECT_FALSE(Exists(shortcut_));
    EXPECT_TRUE(Exists(temp.Path() + "My Tools"));  // not a folder of the installation
    EXPECT_EQ(listBytes, ReadFileBytes(list));
    EXPECT_EQ(list, ProgramText("Main", "Index"));
    DeleteFileA(list.c_str());
}

TEST_F(InstallerTest, InstallWhileKelvoraRunsIsRefusedAndChangesNothing) {
    ASSERT_EQ(0u, RunToEnd(setup_ + "/S"));
    Process kelvora("\"" + folder_ + "\\Kelvora.exe\"");
    HWND window = kelvora.WindowOf("Kelvora");
    ASSERT_NE(nullptr, window);
    const auto entry = Entry();
    const std::string exe = ReadFileBytes(folder_ + "\\Kelvora.exe");

    // With its window the installer says why, in Japanese, and ends without installing.
    Process shown(setup_);
    HWND box = shown.WindowOf("#32770");
    ASSERT_NE(nullptr, box) << "the installer showed no message";
    char text[512] = "";  // the box exists before its text does
    WaitUntil([&] { return GetDlgItemTextA(box, 0xFFFF, text, sizeof text) != 0; }, 0, kWaitMs);
    EXPECT_EQ(0u, std::string(text).find(Sjis(u8"Kelvora が実行中です。"))) << text;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(2u, shown.Wait());

    TempFolder temp;  // silent, into another folder: refused too, and that folder is not made
    EXPECT_EQ(2u, RunToEnd(setup_ + "/S /D=" + temp.Path() + "Kelvora"));
    EXPECT_FALSE(Exists(temp.Path() + "Kelvora"));
    EXPECT_EQ(entry, Entry());
    EXPECT_EQ(exe, ReadFileBytes(folder_ + "\\Kelvora.exe"));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, kelvora.Wait());
}

}  // namespace
