// The registry helpers on HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT of the test prefix: the bytes
// they store, what they read back, and what they leave after deleting.
#include "lib/registry.h"

#include "exports.h"
#include <shlwapi.h>

#include "lib/core/owned.h"

namespace {

const char kSharedDlls[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kMissing = "<missing>";

bool KeyExists(HKEY root, const std::string& path) {
    OwnedKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// The stored bytes of a value with a letter for its type ("s" string, "d" number), or kMissing.
std::string Stored(HKEY root, const std::string& path, const char* name) {
    OwnedKey key;
    char data[1024];
    DWORD size = sizeof data, type = 0;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS ||
        RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return kMissing;
    return (type == REG_SZ ? "s" : type == REG_DWORD ? "d" : "?") + std::string(data, size);
}
std::string Sz(const std::string& text) { return "s" + text + '\0'; }  // a string stored with its NUL

TEST(Registry, AppPathUninstallEntryAndProductKeysAreWrittenReadAndDeleted) {
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\kvtest.exe";
    ASSERT_EQ(CALL(CreateAppPath, "kvtest.exe", "C:\\Prog\\\x83\x5C\\kvtest.exe"), 0);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, key, nullptr), Sz("C:\\Prog\\\x83\x5C\\kvtest.exe"));
    char path[MAX_PATH], gone[MAX_PATH];  // the Path value, read back
    EXPECT_EQ(CALL(GetRegistAppPath, "kvtest.exe", path) + CALL(DeleteAppPath, "kvtest.exe"), 0);
    EXPECT_EQ(CALL(GetRegistAppPath, "kvtest.exe", gone), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(std::string(path) + "|" + gone, "C:\\Prog\\\x83\x5C\\|");

    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KvTestEntry";
    ASSERT_EQ(CALL(CreateUninstallReg, "KvTestEntry", "Kelvora \x83\x5C", "C:\\uninst.exe /x"), 0);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, entry, "DisplayName"), Sz("Kelvora \x83\x5C"));
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, entry, "UninstallString"), Sz("C:\\uninst.exe /x"));
    EXPECT_EQ(CALL(DeleteUninstallReg, "KvTestEntry") + CALL(DeleteUninstallReg, "KvTestEntry"), 0);  // gone: no error
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry));

    EXPECT_EQ(CALL(CreateAppPath, "", "x.exe") + CALL(GetRegistAppPath, "", path) + CALL(CountDownSharedDLLs, ""), 3);
    EXPECT_EQ(CALL(CreateLocalMachineReg, "KvTest", "", "x") + CALL(RegistExtAction, "c", "", "command", "x"), 2);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTest"));
    // The product keys are deleted from the bottom up to the maker, which stays.
    ASSERT_EQ(CALL(CreateLocalMachineReg, "KvTestMaker", "KvTestProduct", "3.0"), 0);
    EXPECT_EQ(CALL(DeleteLocalMachineReg, "KvTestMaker", "KvTestProduct", "3.0"), 0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTestMaker\\KvTestProduct"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTestMaker"));
    EXPECT_EQ(CALL(DeleteLocalMachineReg, "KvTestMaker", "KvTestProduct", "3.0"), ERROR_FILE_NOT_FOUND);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTestMaker");
}

TEST(Registry, SharedDllCountsGoUpAndDownAndTheLastReferenceRemovesTheValue) {
    const char* dll = "C:\\KvTest\\\x95\x5C.dll";
    EXPECT_EQ(CALL(CountUpSharedDLLs, dll) + CALL(CountUpSharedDLLs, dll), 0);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSharedDlls, dll), std::string("d\x02\0\0\0", 5));
    EXPECT_EQ(CALL(CountDownSharedDLLs, dll), 0);
    EXPECT_EQ(CALL(GetCountSharedDLLs, dll), 1u);
    EXPECT_EQ(CALL(CountDownSharedDLLs, dll) + CALL(GetCountSharedDLLs, dll), 0);
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSharedDlls, dll), kMissing);
    EXPECT_EQ(CALL(CountDownSharedDLLs, dll) + CALL(DeleteValueSharedDLLs, dll), 2 * ERROR_FILE_NOT_FOUND);

    OwnedKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_ALL_ACCESS, key.Put()), ERROR_SUCCESS);
    for (DWORD stored : {0u, 0xFFFFFFFFu}) {  // neither end wraps round
        RegSetValueExA(key.Get(), dll, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
        EXPECT_EQ(stored ? CALL(CountUpSharedDLLs, dll) : CALL(CountDownSharedDLLs, dll), 0);
        EXPECT_EQ(CALL(GetCountSharedDLLs, dll), stored);
    }
    EXPECT_EQ(CALL(DeleteValueSharedDLLs, dll), 0);
}

TEST(Registry, FileTypesAndShellKeysAreRegisteredAndRemovedWithoutTheirSubkeys) {
    ASSERT_EQ(CALL(RegistExt, ".kvtst", "kvtstfile", "C:\\x.exe", -2), 0);
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, ".kvtst", nullptr), Sz("kvtstfile"));
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "kvtstfile\\DefaultIcon", nullptr), Sz("C:\\x.exe,-2"));
    ASSERT_EQ(CALL(RegistExtAction, "kvtstfile", "open", "command", "notepad.exe \"%1\""), 0);
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "kvtstfile\\shell\\open\\command", nullptr), Sz("notepad.exe \"%1\""));
    EXPECT_NE(CALL(UnRegistExt, ".kvtst", "kvtstfile"), 0);  // the class still has subkeys: it stays
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".kvtst"));
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "kvtstfile\\shell");
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "kvtstfile\\DefaultIcon");
    EXPECT_EQ(CALL(UnRegistExt, ".kvtst", "kvtstfile"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "kvtstfile"));

    ASSERT_EQ(CALL(RegistShellKey, "kvsh", "Kv \x83\x5C", "kvshfile\\shell\\open\\command", "kv.exe \"%1\""), 0);
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, ".kvsh", nullptr), Sz("kvshfile"));
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "kvshfile", nullptr), Sz("Kv \x83\x5C"));
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "kvshfile\\shell\\open\\command", nullptr), Sz("kv.exe \"%1\""));
    EXPECT_EQ(CALL(UnregistShellKey, "kvsh", "kvshfile\\shell\\open\\command"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".kvsh"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "kvshfile\\shell\\open\\command"));  // it has subkeys
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "kvshfile");
}

TEST(Registry, WellKnownFoldersAreReadWithinAPathBuffer) {
    const char* folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    char out[MAX_PATH + 16];
    for (const std::string& value : {std::string(400, 'x'), std::string("C:\\users\\kv\\SendTo")}) {
        const auto size = static_cast<DWORD>(value.size() + 1);
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, folders, "SendTo", REG_SZ, value.c_str(), size), ERROR_SUCCESS);
        memset(out, 0x7F, sizeof out);
        bool fits = value.size() < MAX_PATH;
        EXPECT_EQ(CALL(GetSendToFolder, out), fits ? ERROR_SUCCESS : ERROR_MORE_DATA);
        EXPECT_EQ(std::string(out), fits ? value : "");
        EXPECT_EQ(std::string(out + MAX_PATH, 16), std::string(16, 0x7F));
    }
    EXPECT_EQ(CALL(GetProgramFiles, out) + CALL(GetStartMenu, out + 100), 0);
    EXPECT_TRUE(out[0] && out[100]);
}

}  // namespace
