#include "app/maintenance.h"

#include <cstdio>

#include "lib/core/files.h"
#include "lib/core/owned.h"
#include "lib/core/path_text.h"
#include "lib/core/registry_keys.h"
#include "lib/services/program_files.h"
#include "resources/resource_ids.h"
#include "settings/environ.h"

namespace {
const char kDisplayIcon[] = "DisplayIcon";
}

void FirstRunCleanup(HINSTANCE instance, Environ& settings) {
    char folder[MAX_PATH];
    if (ModuleFilePath(nullptr, folder)) {
        pathtext::FolderOf(folder, folder);
        static const UINT kOldFiles[] = {IDS_OLD_HLP, IDS_OLD_CNT, IDS_OLD_GID, IDS_OLD_QARNEL, IDS_OLD_ISL};
        for (UINT id : kOldFiles) {
            char name[MAX_PATH];
            if (LoadStringA(instance, id, name, sizeof name) <= 0) continue;
            char path[MAX_PATH];
            int n = snprintf(path, sizeof path, "%s%s", folder, name);
            if (n < 0 || n >= static_cast<int>(sizeof path)) continue;  // a cut name could match another file
            if (fileops::Exists(path)) DeleteFileA(path);
        }
    }
    char entry[MAX_PATH];
    if (LoadStringA(instance, IDS_CLASSNAME, entry, sizeof entry) > 0)
        regkeys::DeleteSubKey(HKEY_LOCAL_MACHINE, regkeys::kUninstall, entry);
    settings.SetXpUpdate(1);
}

void RepairUninstallIcon(HINSTANCE instance) {
    char productCode[64];
    if (LoadStringA(instance, IDS_PRODUCTCODE, productCode, sizeof productCode) <= 0) return;
    char keyPath[MAX_PATH];
    snprintf(keyPath, sizeof keyPath, "%s\\%s", regkeys::kUninstall, productCode);
    OwnedKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) return;

    char icon[MAX_PATH];
    DWORD type = 0;
    DWORD size = sizeof icon;
    if (RegQueryValueExA(key.Get(), kDisplayIcon, nullptr, &type, reinterpret_cast<BYTE*>(icon), &size) !=
        ERROR_SUCCESS) {
        return;  // absent, or longer than a path: not ours to repair
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return;
    if (size > 0 && icon[0] != '\0') return;

    char exe[MAX_PATH];
    if (!ModuleFilePath(nullptr, exe)) return;
    RegSetValueExA(key.Get(), kDisplayIcon, 0, REG_SZ, reinterpret_cast<const BYTE*>(exe),
                   static_cast<DWORD>(lstrlenA(exe) + 1));
}
