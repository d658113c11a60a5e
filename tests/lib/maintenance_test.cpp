// Tests of the start-up maintenance on a prepared prefix: old files beside the executable, the old
// uninstall entry, the installer's DisplayIcon and the XpUpdate setting.
#include "app/maintenance.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>

#include "lib/owned.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"
#include "test_env.h"

namespace {

const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char* const kOldFiles[] = {"Kelvora.hlp", "Kelvora.cnt", "Kelvora.GID", "Qarnel.exe", "Kelvora.isl"};

std::string ExecutableFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    return s.substr(0, s.rfind('\\') + 1);
}

std::string ExecutablePath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const std::string& path) {
    OwnedKey key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

std::string ProductKey() {
    char code[64];
    LoadStringA(GetModuleHandleA(nullptr), IDS_PRODUCTCODE, code, sizeof code);
    return std::string(kUninstall) + code;
}

class Maintenance : public testing::Test {
protected:
    void SetUp() override {
        hadSettings_ = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Brisnel\\Kelvora", 0, KEY_READ, settings_.Put()) ==
                       ERROR_SUCCESS;
        settings_.Reset();
    }
    void TearDown() override {
        for (const char* name : kOldFiles) DeleteFileA((ExecutableFolder() + name).c_str());
        DeleteFileA((ExecutableFolder() + "Kelvora.txt").c_str());
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kUninstall) + "Kelvora").c_str());
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, ProductKey().c_str());
        if (!hadSettings_) testing_support::DeleteProgramSettings();
    }
    HINSTANCE instance_ = GetModuleHandleA(nullptr);

private:
    bool hadSettings_ = false;
    OwnedKey settings_;
};

TEST_F(Maintenance, FirstRunRemovesTheOldFilesAndEntryAndIsRecordedAtExit) {
    testing_support::DeleteProgramSettings();
    std::string folder = ExecutableFolder();
    for (const char* name : kOldFiles) ASSERT_TRUE(testing_support::WriteFileBytes(folder + name, "old"));
    ASSERT_TRUE(testing_support::WriteFileBytes(folder + "Kelvora.txt", "kept"));
    OwnedKey old;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstall) + "Kelvora").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, old.Put(), nullptr),
              ERROR_SUCCESS);
    old.Reset();

    {
        Environ settings(instance_);
        ASSERT_EQ(settings.GetXpUpdate(), 0);
        FirstRunCleanup(instance_, settings);
        EXPECT_EQ(settings.GetXpUpdate(), 1);
        for (const char* name : kOldFiles) EXPECT_FALSE(Exists(folder + name)) << name;
        EXPECT_TRUE(Exists(folder + "Kelvora.txt"));
        EXPECT_FALSE(KeyExists(std::string(kUninstall) + "Kelvora"));
    }
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(testing_support::ReadProgramValue("Main", "XpUpdate", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(data.data()), 1u);

    // The next start reads 1, so the clean-up is not called again.
    Environ next(instance_);
    EXPECT_EQ(next.GetXpUpdate(), 1);
}

TEST_F(Maintenance, FirstRunWithNothingToRemoveStillRecordsItsRun) {
    Environ settings(instance_);
    settings.SetXpUpdate(0);
    FirstRunCleanup(instance_, settings);
    EXPECT_EQ(settings.GetXpUpdate(), 1);
}

struct IconCase {
    const char* name;
    bool createKey;
    bool createValue;
    const char* value;
    bool expectRepaired;
};

class UninstallIcon : public Maintenance, public testing::WithParamInterface<IconCase> {};

TEST_P(UninstallIcon, IsFilledOnlyWhenPresentAndEmpty) {
    const IconCase& c = GetParam();
    std::string key = ProductKey();
    if (c.createKey) {
        OwnedKey k;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.Put(),
                                  nullptr),
                  ERROR_SUCCESS);
        if (c.createValue)
            RegSetValueExA(k.Get(), "DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(c.value),
                           static_cast<DWORD>(strlen(c.value) + 1));
    }
    RepairUninstallIcon(instance_);

    if (!c.createKey) {
        EXPECT_FALSE(KeyExists(key));
        return;
    }
    OwnedKey k;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, k.Put()), ERROR_SUCCESS);
    char data[MAX_PATH];
    DWORD size = sizeof data;
    DWORD type = 0;
    LONG result = RegQueryValueExA(k.Get(), "DisplayIcon", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    if (!c.createValue) {
        EXPECT_EQ(result, ERROR_FILE_NOT_FOUND);
        return;
    }
    ASSERT_EQ(result, ERROR_SUCCESS);
    std::string expected = c.expectRepaired ? ExecutablePath() : c.value;
    EXPECT_STREQ(data, expected.c_str());
    if (c.expectRepaired) {
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(size, expected.size() + 1);  // stored with its NUL
    }
}

INSTANTIATE_TEST_SUITE_P(Maintenance, UninstallIcon,
                         testing::Values(IconCase{"EmptyValue", true, true, "", true},
                                         IconCase{"OwnValue", true, true, "C:\\other\\icon.ico,0", false},
                                         IconCase{"NoValue", true, false, "", false},
                                         IconCase{"NoKey", false, false, "", false}),
                         [](const testing::TestParamInfo<IconCase>& info) { return std::string(info.param.name); });

}  // namespace
