// The start-up maintenance on a prepared prefix: old files beside the executable, the old
// uninstall entry, the installer's DisplayIcon and the XpUpdate setting that runs it once.
#include "app/maintenance.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "lib/core/owned.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "test_env.h"

namespace {

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string ExecutablePath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

TEST(Maintenance, FirstRunRemovesTheOldFilesAndEntryAndIsRecordedAtExit) {
    testing_support::DeleteProgramSettings();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const std::string folder = ExecutablePath().substr(0, ExecutablePath().rfind('\\') + 1);
    const char* const oldFiles[] = {"Kelvora.hlp", "Kelvora.cnt", "Kelvora.GID", "Qarnel.exe", "Kelvora.isl"};
    for (const char* name : oldFiles) ASSERT_TRUE(testing_support::WriteFileBytes(folder + name, "old"));
    ASSERT_TRUE(testing_support::WriteFileBytes(folder + "Kelvora.txt", "kept"));
    OwnedKey old;
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kUninstall + "Kelvora").c_str(), "DisplayName", REG_SZ, "x", 2), 0);
    {
        Environ settings(instance);
        ASSERT_EQ(settings.GetXpUpdate(), 0);
        FirstRunCleanup(instance, settings);
        for (const char* name : oldFiles) EXPECT_FALSE(testing_support::ReadFileBytes(folder + name) == "old") << name;
        EXPECT_EQ(testing_support::ReadFileBytes(folder + "Kelvora.txt"), "kept");
        EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kUninstall + "Kelvora").c_str(), 0, KEY_READ, old.Put()),
                  ERROR_SUCCESS);
    }
    EXPECT_EQ(Environ(instance).GetXpUpdate(), 1);  // the next start does not run it again
    DeleteFileA((folder + "Kelvora.txt").c_str());
    testing_support::DeleteProgramSettings();
}

TEST(Maintenance, TheInstallersIconIsFilledOnlyWhenPresentAndEmpty) {
    char code[64];
    LoadStringA(GetModuleHandleA(nullptr), IDS_PRODUCTCODE, code, sizeof code);
    const std::string key = kUninstall + code;
    const std::string exe = ExecutablePath();
    // The stored value before (null: none) and after the repair.
    const std::pair<const char*, std::string> cases[] = {
        {"", exe}, {"C:\\other\\icon.ico,0", "C:\\other\\icon.ico,0"}, {nullptr, "<none>"}};
    for (const auto& [before, after] : cases) {
        OwnedKey k;
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, key.c_str(), k.Put()), ERROR_SUCCESS);
        if (before)
            RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), "DisplayIcon", REG_SZ, before, lstrlenA(before) + 1);
        RepairUninstallIcon(GetModuleHandleA(nullptr));
        char data[MAX_PATH] = "<none>";
        DWORD size = sizeof data;
        RegQueryValueExA(k.Get(), "DisplayIcon", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
        EXPECT_EQ(std::string(data, before ? size : 7), after + '\0');  // stored with its NUL
        k.Reset();
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    RepairUninstallIcon(GetModuleHandleA(nullptr));  // without the entry nothing is created
    OwnedKey none;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, none.Put()), ERROR_SUCCESS);
}

}  // namespace
