// Tests of the registry helpers on HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT of the test prefix.
#include "lib/registry.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>

#include "lib/owned.h"

namespace {

const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char kSharedDlls[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

bool KeyExists(HKEY root, const std::string& path) {
    OwnedKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// The raw stored bytes of a value, or "<missing>".
std::string RawValue(HKEY root, const std::string& path, const char* name, DWORD* type = nullptr) {
    OwnedKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return "<missing>";
    char data[1024];
    DWORD size = sizeof data;
    DWORD t = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &t, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return "<missing>";
    if (type) *type = t;
    return std::string(data, size);
}

// A stored string with its NUL, as the helpers write it.
std::string Stored(const std::string& text) { return text + '\0'; }

TEST(Registry, AppPathIsCreatedReadAndDeleted) {
    const std::string key = std::string(kAppPaths) + "kvtest.exe";
    ASSERT_EQ(CreateAppPath("kvtest.exe", "C:\\Prog\\" "\x83\x5C" "\\kvtest.exe"), 0);
    DWORD type = 0;
    EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, key, nullptr, &type), Stored("C:\\Prog\\\x83\x5C\\kvtest.exe"));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, key, "Path"), Stored("C:\\Prog\\\x83\x5C\\"));
    char path[MAX_PATH];
    EXPECT_EQ(GetRegistAppPath("kvtest.exe", path), 0);
    EXPECT_STREQ(path, "C:\\Prog\\\x83\x5C\\");
    EXPECT_EQ(DeleteAppPath("kvtest.exe"), 0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    EXPECT_EQ(GetRegistAppPath("kvtest.exe", path), ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(path, "");
}

TEST(Registry, EmptyArgumentsGiveOneAndWriteNothing) {
    char out[MAX_PATH];
    EXPECT_EQ(CreateAppPath("", "C:\\x.exe"), 1);
    EXPECT_EQ(CreateAppPath(nullptr, "C:\\x.exe"), 1);
    EXPECT_EQ(GetRegistAppPath("", out), 1);
    EXPECT_EQ(CreateLocalMachineReg("KvTest", "", "x"), 1);
    EXPECT_EQ(CountDownSharedDLLs(""), 1);
    EXPECT_EQ(RegistExtAction("c", "", "command", "x"), 1);
    EXPECT_EQ(UnregistShellKey("x", ""), 1);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTest"));
}

TEST(Registry, LocalMachineKeyChainIsCreatedAndDeletedFromTheBottom) {
    ASSERT_EQ(CreateLocalMachineReg("KvTestMaker", "KvTestProduct", "3.0"), 0);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTestMaker\\KvTestProduct\\3.0"));
    EXPECT_EQ(DeleteLocalMachineReg("KvTestMaker", "KvTestProduct", "3.0"), 0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTestMaker\\KvTestProduct"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTestMaker"));
    EXPECT_EQ(DeleteLocalMachineReg("KvTestMaker", "KvTestProduct", "3.0"), ERROR_FILE_NOT_FOUND);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KvTestMaker");
    EXPECT_EQ(DeleteLocalMachineReg("KvTestMaker", "KvTestProduct", "3.0"), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, UninstallEntryIsWrittenAndRemoved) {
    const std::string key = std::string(kUninstall) + "KvTestEntry";
    ASSERT_EQ(CreateUninstallReg("KvTestEntry", "Kelvora \x83\x5C", "C:\\uninst.exe /x"), 0);
    EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, key, "DisplayName"), Stored("Kelvora \x83\x5C"));
    EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, key, "UninstallString"), Stored("C:\\uninst.exe /x"));
    EXPECT_EQ(DeleteUninstallReg("KvTestEntry"), 0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key));
    EXPECT_EQ(DeleteUninstallReg("KvTestEntry"), 0);  // an absent entry is not an error of the parent's open
}

TEST(Registry, SharedDllCountsGoUpAndDown) {
    const char* dll = "C:\\KvTest\\\x95\x5C.dll";
    DeleteValueSharedDLLs(dll);
    EXPECT_EQ(GetCountSharedDLLs(dll), 0u);
    EXPECT_EQ(CountUpSharedDLLs(dll), 0);
    EXPECT_EQ(CountUpSharedDLLs(dll), 0);
    EXPECT_EQ(GetCountSharedDLLs(dll), 2u);
    DWORD type = 0;
    EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kSharedDlls, dll, &type).size(), 4u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(CountDownSharedDLLs(dll), 0);
    EXPECT_EQ(GetCountSharedDLLs(dll), 1u);
    EXPECT_EQ(CountDownSharedDLLs(dll), 0);
    EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kSharedDlls, dll), "<missing>");
    EXPECT_EQ(CountDownSharedDLLs(dll), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteValueSharedDLLs(dll), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, SharedDllCountNeverWraps) {
    const char* dll = "C:\\KvTest\\wrap.dll";
    OwnedKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                              nullptr),
              ERROR_SUCCESS);
    DWORD zero = 0;
    RegSetValueExA(key.Get(), dll, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    EXPECT_EQ(CountDownSharedDLLs(dll), 0);  // a stored 0 is the last reference, not 4294967295
    EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kSharedDlls, dll), "<missing>");
    DWORD most = MAXDWORD;
    RegSetValueExA(key.Get(), dll, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&most), sizeof most);
    EXPECT_EQ(CountUpSharedDLLs(dll), 0);
    EXPECT_EQ(GetCountSharedDLLs(dll), MAXDWORD);
    EXPECT_EQ(DeleteValueSharedDLLs(dll), 0);
}

TEST(Registry, FileTypeWithIconAndVerb) {
    ASSERT_EQ(RegistExt(".kvtst", "kvtstfile", "C:\\x.exe", 1), 0);
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, ".kvtst", nullptr), Stored("kvtstfile"));
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, "kvtstfile\\DefaultIcon", nullptr), Stored("C:\\x.exe,1"));
    ASSERT_EQ(RegistExtAction("kvtstfile", "open", "command", "notepad.exe \"%1\""), 0);
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, "kvtstfile\\shell\\open\\command", nullptr), Stored("notepad.exe \"%1\""));

    // The class key still has subkeys, and no helper deletes a tree.
    EXPECT_NE(UnRegistExt(".kvtst", "kvtstfile"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".kvtst"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "kvtstfile"));
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "kvtstfile\\shell");
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "kvtstfile\\DefaultIcon");
    ASSERT_EQ(RegistExt(".kvtst", "kvtstfile2", "C:\\y.exe", -2), 0);
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, "kvtstfile2\\DefaultIcon", nullptr), Stored("C:\\y.exe,-2"));
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "kvtstfile2\\DefaultIcon");
    EXPECT_EQ(UnRegistExt(".kvtst", "kvtstfile2"), 0);
    EXPECT_EQ(UnRegistExt(".kvtst", "kvtstfile"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "kvtstfile"));
}

TEST(Registry, ShellKeyRegistersExtensionClassAndCommand) {
    ASSERT_EQ(RegistShellKey("kvsh", "Kv \x83\x5C", "kvshfile\\shell\\open\\command", "kv.exe \"%1\""), 0);
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, ".kvsh", nullptr), Stored("kvshfile"));
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, "kvshfile", nullptr), Stored("Kv \x83\x5C"));
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, "kvshfile\\shell\\open\\command", nullptr), Stored("kv.exe \"%1\""));
    EXPECT_EQ(UnregistShellKey("kvsh", "kvshfile\\shell\\open\\command"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".kvsh"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "kvshfile\\shell\\open\\command"));  // it has subkeys
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "kvshfile\\shell");
    EXPECT_EQ(UnregistShellKey("kvsh", "kvshfile\\shell\\open\\command"), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "kvshfile"));
}

TEST(Registry, ClassNameIsTheFirstComponent) {
    struct {
        const char* path;
        const char* expected;
    } cases[] = {{"txtfile\\shell\\open", "txtfile"},
                 {"txtfile", "txtfile"},
                 {"\x83\x5C" "file\\shell", "\x83\x5C" "file"},
                 {"\\x", ""},
                 {"", ""}};
    for (const auto& c : cases) {
        char out[MAX_PATH];
        GetRegistClassName(c.path, out);
        EXPECT_STREQ(out, c.expected) << c.path;
    }
}

TEST(Registry, WellKnownFoldersAreRead) {
    OwnedKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    std::string saved = RawValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                 "SendTo");
    const char sendTo[] = "C:\\users\\kv\\SendTo";
    RegSetValueExA(key.Get(), "SendTo", 0, REG_SZ, reinterpret_cast<const BYTE*>(sendTo), sizeof sendTo);
    char out[MAX_PATH];
    EXPECT_EQ(GetSendToFolder(out), 0);
    EXPECT_STREQ(out, sendTo);
    // A value too long for a path buffer is not read past the buffer.
    std::string tooLong(400, 'x');
    RegSetValueExA(key.Get(), "SendTo", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()),
                   static_cast<DWORD>(tooLong.size() + 1));
    char guarded[MAX_PATH + 16];
    memset(guarded, 0x7F, sizeof guarded);
    EXPECT_EQ(GetSendToFolder(guarded), ERROR_MORE_DATA);
    EXPECT_STREQ(guarded, "");
    for (size_t i = MAX_PATH; i < sizeof guarded; ++i) EXPECT_EQ(guarded[i], 0x7F);
    if (saved == "<missing>")
        RegDeleteValueA(key.Get(), "SendTo");
    else
        RegSetValueExA(key.Get(), "SendTo", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.data()),
                       static_cast<DWORD>(saved.size()));

    char programFiles[MAX_PATH];
    EXPECT_EQ(GetProgramFiles(programFiles), 0);
    EXPECT_STRNE(programFiles, "");
}

}  // namespace
